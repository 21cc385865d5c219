// Data modules: roots of form text that hold only non-visual components (the program's global
// settings, engine components shared by several forms).
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace fw {

class TDataModule : public TComponent {
public:
    // Joins Screen's data modules. Load the form text with Application->CreateForm or
    // fw::LoadRootResource; a module built in code only needs the constructor (CreateNew).
    explicit TDataModule(TComponent* owner);

    // The design-time position streamed in form text; kept, without meaning at run time.
    int Left() const { return left_; }
    void SetLeft(int v) { left_ = v; }
    int Top() const { return top_; }
    void SetTop(int v) { top_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }

    // A second instance of a module class loads under a free name ("dmMain_1").
    void SetName(const std::string& newName) override;

    // OnCreate runs after the load; an exception in it goes to the application's handler.
    void DoCreate() override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

protected:
    ~TDataModule() override;
    void BeforeDestruction() override;

private:
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool oldCreateOrder_ = false;
};

void RegisterDataModuleClasses();

// The name a root being read takes: `name`, or the first "name_N" that neither its owner nor another
// form or data module holds yet.
std::string UniqueRootName(TComponent* root, const std::string& name);

}  // namespace fw
