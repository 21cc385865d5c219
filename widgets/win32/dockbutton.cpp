#include "widgets/win32/dockbutton.h"

#include "widgets/dockplace.h"
#include "widgets/win32/glyph.h"

namespace kvx::win32 {

namespace {
constexpr int kCellWidth = 13;
}  // namespace

TKVXDockSpeedButton::TKVXDockSpeedButton(TComponent* owner) : TKVXCustomSpeedButton(owner) {
    SetGlyphKind(TKVXGlyphKind::gkEllipsis);
    SetBounds(Left(), Top(), 22, 22);
}

TKVXDockSpeedButton::~TKVXDockSpeedButton() {
    UnhookControl();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = nullptr;
}

void TKVXDockSpeedButton::LoadBuiltInGlyph(fw::TBitmap* bitmap, TKVXGlyphKind kind) {
    try {
        bitmap->LoadFromResourceID(GetModuleHandleA(nullptr), kKVXDockGlyphsResource);
    } catch (const fw::Exception&) {
        // A program built without the suite's resources shows no picture rather than failing.
        bitmap->SetSize(0, 0);
        return;
    }
    const int cell = static_cast<int>(kind) - 1;
    if (cell > 0) {
        const TRect source{cell * kCellWidth, 0, (cell + 1) * kCellWidth, bitmap->Height()};
        bitmap->Canvas()->CopyRect({0, 0, kCellWidth, bitmap->Height()}, bitmap->Canvas(), source);
    }
    bitmap->SetWidth(kCellWidth);
}

void TKVXDockSpeedButton::SetGlyphKind(TKVXGlyphKind value) {
    if (value == glyphKind_) return;
    glyphKind_ = value;
    if (value == TKVXGlyphKind::gkCustom) {
        ImageListChanged(nullptr);
        return;
    }
    fw::TBitmap picture;
    LoadBuiltInGlyph(&picture, value);
    // Set on the glyph itself: the image-list link stays for a later gkCustom.
    GlyphObject()->SetBitmap(&picture);
    SetNumGlyphs(1);
    Invalidate();
}

void TKVXDockSpeedButton::SetControl(fw::TWinControl* value) {
    if (value == control_) return;
    UnhookControl();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = value;
    if (control_) control_->FreeNotification(this);
    UpdateDocking();
}

bool TKVXDockSpeedButton::GetFlag(int index) const {
    switch (index) {
        case 0: return adjustDockedSize_;
        case 1: return docked_;
        default: return reflectOwnChanges_;
    }
}

void TKVXDockSpeedButton::SetFlag(int index, bool value) {
    if (value == GetFlag(index)) return;
    switch (index) {
        case 0:
            adjustDockedSize_ = value;
            if (IsDocked()) PlaceBesideControl();
            break;
        case 1:
            docked_ = value;
            if (value)
                UpdateDocking();
            else if (control_)
                UnhookControl();
            break;
        default:
            reflectOwnChanges_ = value;
            if (value && IsDocked()) MoveControlToButton();
            break;
    }
}

void TKVXDockSpeedButton::SetPosition(TKVXDockPosition value) {
    if (value == position_) return;
    position_ = value;
    if (IsDocked()) PlaceBesideControl();
}

void TKVXDockSpeedButton::SetMargin(int value) {
    if (value == margin_) return;
    margin_ = value;
    if (IsDocked()) PlaceBesideControl();
}

void TKVXDockSpeedButton::Loaded() {
    TKVXCustomSpeedButton::Loaded();
    UpdateDocking();
}

void TKVXDockSpeedButton::UpdateDocking() {
    if (!IsDocked() || Loading()) return;
    placing_ = false;
    HookControl();
    PlaceBesideControl();
}

void TKVXDockSpeedButton::HookControl() {
    if (!IsDocked() || hook_ != 0) return;
    try {
        control_->HandleNeeded();
        hook_ = fw::AddHook(*control_, [this](fw::HookMessage& message) {
            if (unhooking_) return;
            // The control handles the message first; the button follows what it did.
            message.CallNext();
            ControlMessage(message.Msg, message.WParam);
        });
    } catch (...) {
        UnhookControl();
    }
}

void TKVXDockSpeedButton::UnhookControl() {
    unhooking_ = true;
    if (hook_ != 0) fw::RemoveHook(hook_);
    hook_ = 0;
    unhooking_ = false;
}

bool TKVXDockSpeedButton::ControlAligned() const { return control_->Align() != fw::alNone; }

void TKVXDockSpeedButton::PlaceBesideControl() {
    if (placing_ || !control_ || !control_->HandleAllocated() || ControlAligned()) return;
    placing_ = true;
    const TRect control{control_->Left(), control_->Top(), control_->Left() + control_->Width(),
                        control_->Top() + control_->Height()};
    const TRect b = KVXPlaceBesideControl(control, Width(), Height(), position_, adjustDockedSize_, margin_);
    SetBounds(b.Left, b.Top, b.Width(), b.Height());
    placing_ = false;
}

void TKVXDockSpeedButton::MoveControlToButton() {
    if (placing_ || !control_ || ControlAligned()) return;
    placing_ = true;
    const TRect button{Left(), Top(), Left() + Width(), Top() + Height()};
    const TRect c = KVXMoveControlToButton(button, control_->Width(), control_->Height(), position_, adjustDockedSize_,
                                           margin_);
    control_->SetBounds(c.Left, c.Top, c.Width(), c.Height());
    placing_ = false;
}

void TKVXDockSpeedButton::BoundsChanged(TKVXBoundsKind kind) {
    TKVXCustomSpeedButton::BoundsChanged(kind);
    if (reflectOwnChanges_ && IsDocked()) MoveControlToButton();
}

void TKVXDockSpeedButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXCustomSpeedButton::MouseDown(button, shift, x, y);
    if (!IsDocked() || !control_->Visible()) return;
    try {
        control_->SetFocus();
    } catch (...) {
        // A control that cannot take the focus leaves it where it is.
    }
}

void TKVXDockSpeedButton::Notification(TComponent* component, fw::TOperation operation) {
    TKVXCustomSpeedButton::Notification(component, operation);
    if (operation == fw::opRemove && component == control_) SetControl(nullptr);
}

void TKVXDockSpeedButton::DefineProperties(fw::TFiler& filer) {
    TKVXCustomSpeedButton::DefineProperties(filer);
    // Forms of older versions stored AdjustDockedSize under this name.
    filer.DefineProperty("AdjustSize", [this](fw::TReader& reader) { adjustDockedSize_ = reader.ReadBoolean(); },
                         nullptr, false);
}

void TKVXDockSpeedButton::ControlMessage(UINT msg, WPARAM wParam) {
    switch (msg) {
        case WM_DESTROY:
            // A window that is recreated keeps the hook; a control that goes is forgotten now.
            if (control_ && (control_->ComponentState() & fw::csDestroying) != 0) SetControl(nullptr);
            break;
        case WM_MOVE:
        case WM_SIZE: PlaceBesideControl(); break;
        case WM_ENABLE: SetEnabled(wParam != 0); break;
        case WM_SHOWWINDOW:
            if (ComponentState() & fw::csDesigning) break;
            if (wParam == 0) {
                SetVisible(false);
            } else if (!Visible()) {
                PlaceBesideControl();
                SetVisible(true);
            }
            break;
        default: break;
    }
}

}  // namespace kvx::win32
