// The owner-drawn scroll bar of the setup program's memo: TKVXScrollBar, a bevelled panel holding two
// arrow buttons and a draggable thumb over a checkered track, with keyboard control, page repeat while
// the mouse is held in the track and a checkered caret in the thumb as its focus mark;
// TKVXScrollBarThumb; and TKVXScrollBarObject, the settings a memo copies into its bars.
//
// The range, position and notifications are the portable ScrollModel's (scroll_model.h); this file
// places the children, paints, and turns mouse, keys and focus into model calls.
#pragma once

#include <memory>

#include "installer/controls/pool_timer.h"
#include "installer/controls/scroll_model.h"
#include "installer/controls/win32/kvx_scroll_spin_button.h"
#include "widgets/win32/fillobjects.h"
#include "widgets/win32/panels.h"

namespace inst::win32 {

using TScrollEvent = fw::Event<void(fw::TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;
enum class TKVXBackStyle { bsDefault, bsUser };

class TKVXScrollBar;

class TKVXScrollBarThumb : public kvx::win32::TKVXCustomBevelPanel {
public:
    TKVXScrollBarThumb(fw::TComponent* owner, TKVXScrollBar* bar);

protected:
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void WMSetFocus(fw::TMessage& message) override;

private:
    TKVXScrollBar* bar_;
};

class TKVXScrollBar : public kvx::win32::TKVXCustomBevelPanel {
public:
    explicit TKVXScrollBar(fw::TComponent* owner);

    TKVXScrollBarKind Kind() const { return kind_; }
    void SetKind(TKVXScrollBarKind value);
    int Min() const { return model_.Min(); }
    void SetMin(int value);
    int Max() const { return model_.Max(); }
    void SetMax(int value);
    int Position() const { return model_.Position(); }
    void SetPosition(int value);
    int SmallChange() const { return model_.SmallChange; }
    void SetSmallChange(int value) { model_.SmallChange = value; }
    int LargeChange() const { return model_.LargeChange; }
    void SetLargeChange(int value) { model_.LargeChange = value; }
    int ThumbLength() const { return model_.ThumbLength(); }
    void SetThumbLength(int value);
    TKVXThumbMode ThumbMode() const { return model_.ThumbMode; }
    void SetThumbMode(TKVXThumbMode value);
    int ButtonWidth() const { return model_.ButtonWidth; }
    void SetButtonWidth(int value);
    kvx::win32::TKVXFillObject* Back() const { return back_.get(); }
    void SetBack(kvx::win32::TKVXFillObject* value) { back_->Assign(value); }
    TKVXBackStyle BackStyle() const { return backStyle_; }
    void SetBackStyle(TKVXBackStyle value);
    bool AllowMousePos() const { return allowMousePos_; }
    void SetAllowMousePos(bool value) { allowMousePos_ = value; }
    // The memo makes its bars unfocusable: the bar and its thumb leave the tab order.
    bool CanFocusBar() const { return canFocus_; }
    void SetCanFocusBar(bool value);

    TScrollEvent OnScroll;

    TKVXScrollSpinButton* FirstButton() const { return first_; }
    TKVXScrollSpinButton* SecondButton() const { return second_; }
    TKVXScrollBarThumb* Thumb() const { return thumb_; }
    uint16_t PageTimerIdent() const { return pageTimer_.Ident(); }

protected:
    ~TKVXScrollBar() override;
    void Loaded() override;
    void Paint() override;
    void Dispatch(fw::TMessage& message) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void WMSetFocus(fw::TMessage& message) override;
    void WMKillFocus(fw::TMessage& message) override;
    void CMEnabledChanged(fw::TMessage& message) override;

private:
    friend class TKVXScrollBarThumb;
    fw::TRect Inner() const;
    void LayoutBar();
    void ShowCaret();
    void TakeFocus();
    void Notify(TScrollCode code);
    void TrackClick(fw::TMouseButton button, fw::TPoint point);
    void PageTick();
    // Along the bar: Y when vertical, X when horizontal.
    int Along(fw::TPoint p) const { return kind_ == TKVXScrollBarKind::skVertical ? p.Y : p.X; }
    void ThumbPressed(fw::TPoint barPoint);
    void ThumbReleased();
    void BuildChecker();
    void ButtonStep(fw::TObject* sender);

    ScrollModel model_;
    TKVXScrollBarKind kind_ = TKVXScrollBarKind::skHorizontal;
    TKVXBackStyle backStyle_ = TKVXBackStyle::bsDefault;
    bool allowMousePos_ = true;
    bool canFocus_ = true;
    bool dragging_ = false;
    fw::TPoint lastDrag_{};
    fw::TPoint lastMouse_{};
    std::unique_ptr<kvx::win32::TKVXFillObject> back_;
    std::unique_ptr<fw::TBitmap> checker_;
    std::unique_ptr<fw::TBitmap> caretBitmap_;
    TKVXScrollSpinButton* first_ = nullptr;
    TKVXScrollSpinButton* second_ = nullptr;
    TKVXScrollBarThumb* thumb_ = nullptr;
    PoolTimer pageTimer_;
};

class TKVXScrollBarObject : public kvx::TKVXObject {
public:
    TKVXScrollBarObject();
    ~TKVXScrollBarObject() override;

    kvx::win32::TKVXFillObject* Back() const { return back_.get(); }
    void SetBack(kvx::win32::TKVXFillObject* value) { back_->Assign(value); }
    kvx::TKVXBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(kvx::TKVXBevel* value) { bevel_->Assign(value); }
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value) { SetAndChange(buttonWidth_, value); }
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value) { SetAndChange(smallChange_, value); }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value) { SetAndChange(largeChange_, value); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { SetAndChange(transparent_, value); }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value) { SetAndChange(ctl3D_, value); }
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool value) { SetAndChange(parentCtl3D_, value); }
    // Stored without a change notification.
    bool AllowMousePos = true;
    TKVXBackStyle BackStyle = TKVXBackStyle::bsDefault;
    // Stored and streamed; never applied to a bar.
    int Cursor = 0;

    void Assign(fw::TPersistent* source) override;
    // Copies the settings into Bar.
    void ApplyTo(TKVXScrollBar* bar) const;

private:
    template <class T>
    void SetAndChange(T& field, T value) {
        if (kvx::KVXStore(field, value)) Change();
    }

    std::unique_ptr<kvx::win32::TKVXFillObject> back_;
    std::unique_ptr<kvx::TKVXBevel> bevel_;
    int buttonWidth_ = 16;
    int smallChange_ = 1;
    int largeChange_ = 10;
    bool transparent_ = false;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
};

}  // namespace inst::win32
