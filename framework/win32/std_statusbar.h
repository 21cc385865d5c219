// TStatusBar over the system "msctls_statusbar32" class: panels with text and width, or one simple
// text across the bar.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

class TStatusBar;

class TStatusPanel : public TCollectionItem {
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    const std::string& Text() const { return text_; }
    void SetText(const std::string& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    void Assign(TPersistent* source) override;

private:
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
};

class TStatusPanels : public TCollection {
public:
    explicit TStatusPanels(TStatusBar* bar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* bar_;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);

    TStatusPanels* Panels() const { return panels_.get(); }
    void SetPanels(TStatusPanels* value) { panels_->Assign(value); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);

protected:
    ~TStatusBar() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;

private:
    friend class TStatusPanels;
    void UpdatePanels();

    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
};

void RegisterStatusBarClasses();

}  // namespace fw
