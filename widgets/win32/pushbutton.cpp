#include "widgets/win32/pushbutton.h"

#include "framework/win32/application.h"
#include "widgets/buttonmachine.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/buttonframe.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

using S = TKVXButtonState;

TKVXCustomButton::TKVXCustomButton(TComponent* owner)
    : fw::TButton(owner),
      layout_(std::make_unique<TKVXButtonLayout>()),
      canvas_(std::make_unique<fw::TCanvas>()),
      glyph_(std::make_unique<TKVXGlyph>()),
      fontFx_(std::make_unique<TKVXFxCaption>()),
      image_(this, [this](TObject*) { UpdateGlyph(); }) {
    SetControlStyle(ControlStyle() | fw::csReplicatable);
    auto changed = [](void* self, TObject* sender) { static_cast<TKVXCustomButton*>(self)->FontChanged(sender); };
    glyph_->OnChange.Bind(this, changed);
    layout_->OnChange.Bind(this, changed);
    fontFx_->OnChange.Bind(this, changed);
    SetBounds(Left(), Top(), 75, 25);
}

TKVXCustomButton::~TKVXCustomButton() {
    StopRepeat();
    glyph_->OnChange.Reset();
    layout_->OnChange.Reset();
    fontFx_->OnChange.Reset();
}

void TKVXCustomButton::CreateParams(fw::TCreateParams& params) {
    fw::TButton::CreateParams(params);
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TKVXCustomButton::SetBounds(int left, int top, int width, int height) {
    const TRect before = BoundsRect();
    fw::TButton::SetBounds(left, top, width, height);
    if (ComponentState() & fw::csLoading) return;
    const TKVXBoundsKind kind = KVXBoundsKind(before, BoundsRect());
    if (kind.Bits() != 0) BoundsChanged(kind);
}

void TKVXCustomButton::SetButtonStyle(bool isDefault) {
    if (isDefault == defaultLook_) return;
    defaultLook_ = isDefault;
    Refresh();
}

void TKVXCustomButton::SetGlyph(fw::TBitmap* value) {
    if (!(ComponentState() & fw::csLoading) && ImageList()) SetImageList(nullptr);
    glyph_->SetBitmap(value);
    Invalidate();
}

void TKVXCustomButton::SetNumGlyphs(int value) {
    if (value == glyph_->NumGlyphs()) return;
    glyph_->SetNumGlyphs(value);
    Invalidate();
}

void TKVXCustomButton::SetMultiLine(bool value) {
    if (value == multiLine_) return;
    multiLine_ = value;
    FontChanged(nullptr);
}

void TKVXCustomButton::SetRepeatingInterval(uint16_t value) {
    if (KVXValidRepeatInterval(value)) repeatingInterval_ = value;
}

void TKVXCustomButton::SetStyle(TKVXNormalButtonStyle value) {
    if (value == style_) return;
    style_ = value;
    Invalidate();
}

void TKVXCustomButton::SetDropDownMenu(fw::TPopupMenu* value) {
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value) value->FreeNotification(this);
}

void TKVXCustomButton::UpdateGlyph() {
    if (image_.NoImage()) {
        glyph_->SetBitmap(nullptr);
    } else {
        fw::TBitmap image;
        ImageList()->GetBitmap(image_.ListIndex(), image_.ImageIndex(), &image);
        glyph_->SetBitmap(&image);
    }
    Invalidate();
}

HPALETTE TKVXCustomButton::GetPalette() { return glyph_->Bitmap()->Empty() ? nullptr : glyph_->Bitmap()->Palette(); }

void TKVXCustomButton::FontChanged(TObject* sender) {
    if (ComponentState() & fw::csLoading) return;
    if (sender == Font() || sender == fontFx_.get()) {
        SetParentFont(false);
        if (fontFx_->Angle() != 0 && !KVXIsTrueTypeFont(Font())) {
            // A raster font cannot turn: a turned caption asks for Arial, a new raster font drops the turn.
            if (sender == fontFx_.get())
                Font()->SetName("Arial");
            else
                fontFx_->SetAngle(0);
            return;
        }
    }
    Invalidate();
}

void TKVXCustomButton::DrawItem(const DRAWITEMSTRUCT& item) {
    canvas_->SetHandle(item.hDC);
    TRect r = ClientRect();
    if (!Enabled())
        drawState_ = S::bstDisabled;
    else
        drawState_ = (item.itemState & ODS_SELECTED) || dropped_ ? S::bstDown : S::bstUp;
    lastFrameFlags_ = defaultLook_ ? 0x03 : (item.itemState & ODS_FOCUS) ? 0x21 : 0x01;
    KVXDrawButtonFrame(canvas_.get(), false, r, static_cast<TKVXUserButtonStyle>(style_),
                       static_cast<uint8_t>(drawState_), lastFrameFlags_, Color());
    canvas_->SetFont(Font());
    const uint16_t flags = ktf3DDisabled | (Enabled() ? ktfEnabled : 0);
    glyph_->DrawGlyph(canvas_.get(), Caption(), 0, multiLine_, flags, layout_.get(), drawState_, r, fontFx_.get());
    canvas_->SetHandle(nullptr);
}

void TKVXCustomButton::Click() {
    if (!dropDownMenu_ || dropped_) {
        fw::TButton::Click();
        return;
    }
    if (OnClick) OnClick(this);
    DropDown();
}

void TKVXCustomButton::DropDown() {
    if (!dropDownMenu_ || dropped_) return;
    if (!defaultLook_ && CanFocus()) SetFocus();
    SendMessageA(Handle(), BM_SETSTATE, 1, 0);
    dropped_ = true;
    Refresh();
    if (OnDropDown) OnDropDown(this);
    const TPoint at = dropDownRight_ ? ClientToScreen({Width(), dropDownIndent_}) : ClientToScreen({dropDownIndent_, Height()});
    dropDownMenu_->SetPopupComponent(this);
    dropDownMenu_->Popup(at.X, at.Y);
    // The click that closed the menu must not press the button again.
    MSG msg;
    while (PeekMessageA(&msg, Handle(), WM_MOUSEFIRST, 0x20A, PM_REMOVE)) {
    }
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    dropped_ = false;
    drawState_ = S::bstUp;
    SendMessageA(Handle(), BM_SETSTATE, 0, 0);
    Invalidate();
}

void TKVXCustomButton::RepeatTick(TObject*) {
    if (mouseInside_) DoClick();
}

void TKVXCustomButton::StopRepeat() {
    const uint16_t ident = repeatTimer_;
    repeatTimer_ = 0;
    if (ident == 0 || !KVXApplication) return;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident)) {
        item->Callback.Reset();
        item->SetEnabled(false);
        KVXApplication->RemoveTimer(ident);
    }
}

void TKVXCustomButton::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_MOUSEENTER:
            fw::TButton::Dispatch(message);
            if (drawState_ == S::bstUp && OnMouseEnter) OnMouseEnter(this);
            mouseInside_ = true;
            break;
        case fw::CM_MOUSELEAVE:
            fw::TButton::Dispatch(message);
            if (OnMouseExit) OnMouseExit(this);
            mouseInside_ = false;
            if (hideHint_ && fw::Application) fw::Application->HideHint();
            break;
        case fw::CM_ENABLEDCHANGED:
            fw::TButton::Dispatch(message);
            Invalidate();
            break;
        case fw::CM_FONTCHANGED:
            fw::TButton::Dispatch(message);
            FontChanged(Font());
            break;
        case WM_LBUTTONDBLCLK:
            // A fast second press counts like the first.
            Perform(WM_LBUTTONDOWN, message.WParam, message.LParam);
            message.Result = 0;
            break;
        case WM_LBUTTONDOWN:
            fw::TButton::Dispatch(message);
            if (repeatedClick_ && repeatTimer_ == 0 && KVXApplication) {
                repeatTimer_ = KVXApplication->AddTimer(repeatingInterval_, TNotifyEvent(this, &TKVXCustomButton::RepeatTick));
                if (repeatTimer_ == 0) throw fw::EOutOfResources(texts::SNoTimers);
                if (TKVXTimerItem* item = KVXApplication->GetTimerItem(repeatTimer_)) item->SetEnabled(true);
            }
            break;
        case WM_LBUTTONUP:
            fw::TButton::Dispatch(message);
            if (repeatedClick_) StopRepeat();
            break;
        default: fw::TButton::Dispatch(message); break;
    }
}

void TKVXCustomButton::Notification(TComponent* component, fw::TOperation operation) {
    fw::TButton::Notification(component, operation);
    if (operation == fw::opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
    image_.Notification(component, operation);
}

void TKVXCustomButton::DefineProperties(fw::TFiler& filer) {
    fw::TButton::DefineProperties(filer);
    image_.DefineProperties(filer);
}

}  // namespace kvx::win32
