// TMemo: a multi-line edit over the system EDIT class (a TCustomEdit with ES_MULTILINE). Lines reads
// and changes the window's lines in place, so adding a line to a long log costs one line's work;
// MaxLength 0 lifts the window's limit, so a log is never cut.
#pragma once

#include <memory>

#include "framework/win32/std_edit.h"
#include "framework/win32/std_support.h"

namespace fw {

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    ~TMemo() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;

private:
    class MemoLines;
    std::unique_ptr<TStrings> lines_;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    bool wordWrap_ = true;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

void RegisterMemoClasses();

}  // namespace fw
