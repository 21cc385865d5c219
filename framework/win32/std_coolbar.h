// TCoolBar over the system "ReBarWindow32" class: bands, each holding one windowed control (a tool
// bar, a combo box) with an optional text, a width and a line break before it.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

class TCoolBar;

class TCoolBand : public TCollectionItem {
public:
    explicit TCoolBand(TCollection* collection) : TCollectionItem(collection) {}
    TWinControl* Control() const { return control_; }
    void SetControl(TWinControl* value);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int value);
    bool Break() const { return break_; }
    void SetBreak(bool value);
    void Assign(TPersistent* source) override;

private:
    TWinControl* control_ = nullptr;
    std::string text_;
    int width_ = 100;
    int minHeight_ = 25;
    bool break_ = true;
};

class TCoolBands : public TCollection {
public:
    explicit TCoolBands(TCoolBar* bar);
    TCoolBand* Add() { return static_cast<TCoolBand*>(TCollection::Add()); }
    TCoolBand* Items(int index) const { return static_cast<TCoolBand*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCoolBar* bar_;
};

class TCoolBar : public TWinControl {
public:
    explicit TCoolBar(TComponent* owner);
    TCoolBands* Bands() const { return bands_.get(); }
    void SetBands(TCoolBands* value) { bands_->Assign(value); }
    // The band holding `control`, or null.
    TCoolBand* FindBand(TControl* control) const;

protected:
    ~TCoolBar() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Loaded() override;
    void WMPaint(TMessage& message) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TCoolBands;
    void UpdateBands();
    std::unique_ptr<TCoolBands> bands_;
    bool updating_ = false;
};

void RegisterCoolBarClasses();

}  // namespace fw
