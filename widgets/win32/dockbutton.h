// TKVXDockSpeedButton: a speed button that sits beside a windowed control (typically an edit) as its
// "..." button. It subclasses the control's window to follow its moves, sizes, enabling and showing,
// gives it the focus when pressed, and with ReflectOwnChanges moves the control when it is moved itself.
// GlyphKind picks one of eight built-in 13 x 14 pictures (bitmap resource 16546) or the custom glyph.
//
// The button listens through a hook bound to the control: it can be removed in any order with other
// hooks of the same window, and it stays attached when the control recreates its window.
#pragma once

#include "framework/win32/hooks.h"
#include "widgets/controltypes.h"
#include "widgets/win32/speedbutton.h"

namespace kvx::win32 {

// The resource of the built-in pictures: eight 13 x 14 cells, gkEllipsis to gkFont.
constexpr int kKVXDockGlyphsResource = 16546;

class TKVXDockSpeedButton : public TKVXCustomSpeedButton {
public:
    explicit TKVXDockSpeedButton(TComponent* owner);

    fw::TWinControl* Control() const { return control_; }
    void SetControl(fw::TWinControl* value);
    // Index 0 AdjustDockedSize, 1 Docked, 2 ReflectOwnChanges.
    bool GetFlag(int index) const;
    void SetFlag(int index, bool value);
    bool AdjustDockedSize() const { return adjustDockedSize_; }
    bool Docked() const { return docked_; }
    bool ReflectOwnChanges() const { return reflectOwnChanges_; }
    TKVXDockPosition Position() const { return position_; }
    void SetPosition(TKVXDockPosition value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    void SetGlyphKind(TKVXGlyphKind value);
    bool IsDocked() const { return docked_ && control_; }
    // True while the control's window runs through this button.
    bool Hooked() const { return hook_ != 0; }

    // Bitmap takes the built-in picture of Kind (gkEllipsis to gkFont), 13 x 14.
    static void LoadBuiltInGlyph(fw::TBitmap* bitmap, TKVXGlyphKind kind);

protected:
    ~TKVXDockSpeedButton() override;
    void Loaded() override;
    void BoundsChanged(TKVXBoundsKind kind) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;

private:
    void ControlMessage(UINT msg, WPARAM wParam);
    void UpdateDocking();
    void HookControl();
    void UnhookControl();
    void PlaceBesideControl();
    void MoveControlToButton();
    bool ControlAligned() const;

    bool adjustDockedSize_ = true;
    bool docked_ = true;
    bool reflectOwnChanges_ = true;
    // Set while one side is repositioned, so the other's move does not bounce back.
    bool placing_ = false;
    bool unhooking_ = false;
    fw::HookId hook_ = 0;
    fw::TWinControl* control_ = nullptr;
    TKVXDockPosition position_ = TKVXDockPosition::dpRight;
    int margin_ = 1;
};

}  // namespace kvx::win32
