// TKVXCustomButton: the framework's push button (focusable, default and cancel, modal result) drawn by
// the suite: an owner-drawn window whose every paint draws a button frame in one of three looks and
// the glyph-and-caption layout with a rotatable 3D caption. It adds a picture from a bitmap or an image
// list, auto-repeat while held down, and mouse enter and exit events. TKVXButton publishes it with a
// drop-down menu that opens under the button in the pushed look.
#pragma once

#include <memory>

#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "widgets/controlgeometry.h"
#include "widgets/controltypes.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/glyph.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomButton : public fw::TButton {
public:
    explicit TKVXCustomButton(TComponent* owner);

    TKVXAboutVar About;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnDropDown;

    TKVXButtonLayout* ButtonLayout() const { return layout_.get(); }
    void SetButtonLayout(TKVXButtonLayout* value) { layout_->Assign(value); }
    TKVXFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(TKVXFxCaption* value) { fontFx_->Assign(value); }
    fw::TBitmap* Glyph() const { return glyph_->Bitmap(); }
    // At run time a set image list is dropped first.
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool RepeatedClick() const { return repeatedClick_; }
    void SetRepeatedClick(bool value) { repeatedClick_ = value; }
    uint16_t RepeatingInterval() const { return repeatingInterval_; }
    // The application's timer pool counts in 50 ms: other values are refused.
    void SetRepeatingInterval(uint16_t value);
    TKVXNormalButtonStyle Style() const { return style_; }
    void SetStyle(TKVXNormalButtonStyle value);
    bool HideHint() const { return hideHint_; }
    void SetHideHint(bool value) { hideHint_ = value; }
    fw::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(fw::TPopupMenu* value);
    int DropDownIndent() const { return dropDownIndent_; }
    void SetDropDownIndent(int value) { dropDownIndent_ = value; }
    bool DropDownRight() const { return dropDownRight_; }
    void SetDropDownRight(bool value) { dropDownRight_ = value; }

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    int GetImageValue(int index) const { return image_.GetIndex(index); }
    void SetImageValue(int index, int value) { image_.SetIndex(index, value); }
    bool ImageListStored() const { return image_.ListStored(); }

    // The frame flags and draw state of the last paint (0x03 default look, 0x21 focused, 0x01 else).
    uint16_t LastFrameFlags() const { return lastFrameFlags_; }
    TKVXButtonState DrawState() const { return drawState_; }
    bool Dropped() const { return dropped_; }

    void Click() override;
    // Calls BoundsChanged with what changed (not while loading, not when nothing did).
    void SetBounds(int left, int top, int width, int height) override;
    // Shows the drop-down menu under (or beside) the button in the pushed look, until it closes.
    void DropDown();
    HPALETTE GetPalette() override;

protected:
    ~TKVXCustomButton() override;
    virtual void BoundsChanged(TKVXBoundsKind kind) {}
    virtual void DoClick() { Click(); }
    void CreateParams(fw::TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;
    void Dispatch(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;
    void FontChanged(TObject* sender);

private:
    void UpdateGlyph();
    void RepeatTick(TObject* sender);
    void StopRepeat();

    std::unique_ptr<TKVXButtonLayout> layout_;
    std::unique_ptr<fw::TCanvas> canvas_;
    std::unique_ptr<TKVXGlyph> glyph_;
    fw::TPopupMenu* dropDownMenu_ = nullptr;
    int dropDownIndent_ = 0;
    bool dropDownRight_ = false;
    bool dropped_ = false;
    std::unique_ptr<TKVXFxCaption> fontFx_;
    bool defaultLook_ = false;
    bool mouseInside_ = false;
    bool multiLine_ = false;
    bool repeatedClick_ = false;
    uint16_t repeatingInterval_ = 100;
    TKVXButtonState drawState_ = TKVXButtonState::bstUp;
    TKVXNormalButtonStyle style_ = TKVXNormalButtonStyle::nbsAutoDetect;
    uint16_t repeatTimer_ = 0;
    bool hideHint_ = true;
    uint16_t lastFrameFlags_ = 0;
    TKVXImageLink image_;
};

class TKVXButton : public TKVXCustomButton {
public:
    using TKVXCustomButton::TKVXCustomButton;
};

}  // namespace kvx::win32
