// TKVXBaseGraphicButton: the suite's window-less button. A glyph and a caption laid out by a button
// layout; hot tracking, latching groups, auto-repeat, a drop-down menu and hit testing that can ignore
// see-through pixels, all run by the state machine of widgets/buttonmachine.h, which this class feeds
// with the mouse and the messages. Hover and repeat timers are items of the application's timer pool.
// TKVXCustomSpeedButton and TKVXOfficeButton (speedbutton.h), the dock button and the image-face
// button derive from it.
#pragma once

#include <memory>
#include <string>

#include "framework/win32/menus.h"
#include "widgets/buttonmachine.h"
#include "widgets/win32/glyph.h"
#include "widgets/win32/kvxcontrol.h"

namespace kvx::win32 {

class TKVXBaseGraphicButton : public TKVXBaseControl, private TKVXButtonHost {
public:
    explicit TKVXBaseGraphicButton(TComponent* owner);

    TKVXButtonState State() const { return machine_.State(); }
    TKVXButtonState PrevState() const { return machine_.PrevState(); }
    bool MouseInside() const { return machine_.MouseInside(); }

    bool AllowAllUp() const { return machine_.AllowAllUp; }
    void SetAllowAllUp(bool value);
    bool AllowMouseOver() const { return machine_.AllowMouseOver; }
    void SetAllowMouseOver(bool value) { machine_.AllowMouseOver = value; }
    bool AllowTransparency() const { return machine_.AllowTransparency; }
    void SetAllowTransparency(bool value) { machine_.AllowTransparency = value; }
    int GroupIndex() const { return machine_.GroupIndex(); }
    void SetGroupIndex(int value);
    bool Pressed() const { return machine_.Pressed(); }
    void SetPressed(bool value) { machine_.SetPressed(value); }
    bool RepeatedClick() const { return machine_.RepeatedClick; }
    void SetRepeatedClick(bool value) { machine_.RepeatedClick = value; }
    uint16_t RepeatingInterval() const { return repeatingInterval_; }
    // Only intervals the 50 ms timer pool can serve (multiples of 50); others are refused.
    void SetRepeatingInterval(uint16_t value);
    bool HideHint() const { return machine_.HideHintOnExit; }
    void SetHideHint(bool value) { machine_.HideHintOnExit = value; }

    TKVXButtonLayout* ButtonLayout() const { return layout_.get(); }
    void SetButtonLayout(TKVXButtonLayout* value) { layout_->Assign(value); }
    TKVXFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(TKVXFxCaption* value) { fontFx_->Assign(value); }
    fw::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(fw::TPopupMenu* value);
    int DropDownIndent() const { return dropDownIndent_; }
    void SetDropDownIndent(int value);
    bool DropDownRight() const { return dropDownRight_; }
    void SetDropDownRight(bool value);
    TColor EnterColor() const { return enterColor_; }
    void SetEnterColor(TColor value);
    bool EnterColorChange() const { return enterColorChange_; }
    void SetEnterColorChange(bool value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);

    fw::TBitmap* Glyph() const { return glyph_->Bitmap(); }
    // At run time a set image list is dropped first.
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    TKVXGlyph* GlyphObject() const { return glyph_.get(); }
    bool Transparent() const { return transparent_; }

    TNotifyEvent OnDropDown;

    // Whether form text stores Glyph: not while it comes from an image list.
    virtual bool GlyphStored() const { return !ImageList(); }

    void Click() override;
    void Loaded() override;
    HPALETTE GetPalette() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    // Drops the menu (nothing without one or while it shows).
    void DropDown() { machine_.DropDown(); }

protected:
    ~TKVXBaseGraphicButton() override;

    virtual bool UsesActionGlyph() { return true; }
    virtual void DoClick() override { Click(); }
    virtual bool HoverNeedsRepaint() { return false; }
    // The hit test of a client point; the whole rectangle in the base.
    virtual bool PointInButton(int x, int y) override;
    // The hover timer's tick.
    virtual void CheckMouseLeave() { machine_.CheckMouseLeave(); }

    bool UsesParentBackground() override;
    void ImageListChanged(TObject* sender) override;
    void DoMouseEnter() override;
    void DoMouseExit() override;
    virtual void FontChanged(TObject* sender);
    // Glyph and caption of the current state in Rect.
    void DrawCaption(fw::TCanvas* canvas, const TRect& rect);
    // The state machine, for the descendants that draw or hit-test by state.
    TKVXButtonMachine& Machine() { return machine_; }
    void SetTransparentFlag(bool value);
    // The state's look: paints an opaque button (or one over a parent background) at once.
    void PaintNow();

    void Dispatch(fw::TMessage& message) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    // TKVXButtonHost.
    void StateRepaint() override;
    void StateInvalidate() override { Invalidate(); }
    bool HoverChangesLook() override;
    bool IgnoreStateChanges() override;
    bool ButtonVisible() override { return Visible(); }
    void StartHoverTimer() override;
    void StopHoverTimer() override { StopTimer(0); }
    void StartRepeatTimer() override;
    void StopRepeatTimer() override { StopTimer(1); }
    void MouseEnterEvent() override;
    void MouseExitEvent() override;
    void MouseInsideChanged() override { MouseInsideFlagChanged(); }
    void HideApplicationHint() override;
    bool PointerInside() override;
    int ButtonWidth() override { return ClientWidth(); }
    int ButtonHeight() override { return ClientHeight(); }
    void BroadcastPressed() override;
    void RunDropDownMenu() override;

protected:
    // The mouse-inside flag changed (flat speed buttons repaint).
    virtual void MouseInsideFlagChanged() {}

private:
    void StartTimer(int index, uint16_t interval, TNotifyEvent callback);
    void StopTimer(int index);
    void HoverTick(TObject*) { CheckMouseLeave(); }
    void RepeatTick(TObject*) { machine_.RepeatTick(); }
    void GlyphChanged(TObject*) { ContentChanged(nullptr); }

    TKVXButtonMachine machine_;
    std::unique_ptr<TKVXButtonLayout> layout_;
    std::unique_ptr<TKVXFxCaption> fontFx_;
    std::unique_ptr<TKVXGlyph> glyph_;
    uint16_t repeatingInterval_ = 100;
    fw::TPopupMenu* dropDownMenu_ = nullptr;
    int dropDownIndent_ = 0;
    bool dropDownRight_ = false;
    TColor enterColor_ = fw::clCaptionText;
    bool enterColorChange_ = false;
    bool multiLine_ = false;
    bool transparent_ = false;
    uint16_t timers_[2] = {0, 0};
    // Where the glyph came from when an action gave it (list and index), to keep it on updates.
    TComponent* actionImages_ = nullptr;
    int actionImageIndex_ = -1;
};

}  // namespace kvx::win32
