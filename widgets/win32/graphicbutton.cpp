#include "widgets/win32/graphicbutton.h"

#include "framework/core/exceptions.h"
#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/keyboard.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

using S = TKVXButtonState;

namespace {
constexpr uint16_t kHoverInterval = 100;
}

TKVXBaseGraphicButton::TKVXBaseGraphicButton(TComponent* owner)
    : TKVXBaseControl(owner),
      machine_(*this),
      layout_(std::make_unique<TKVXButtonLayout>()),
      fontFx_(std::make_unique<TKVXFxCaption>()),
      glyph_(std::make_unique<TKVXGlyph>()) {
    // The machine clicks on release; the framework's own click is off.
    SetControlStyle((ControlStyle() & ~(fw::csSetCaption | fw::csClickEvents)) | fw::csCaptureMouse | fw::csOpaque |
                    fw::csDoubleClicks);
    SetBounds(Left(), Top(), 25, 25);
    layout_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXBaseGraphicButton*>(self)->ContentChanged(sender);
    });
    fontFx_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXBaseGraphicButton*>(self)->FontChanged(sender);
    });
    glyph_->OnChange = TNotifyEvent(this, &TKVXBaseGraphicButton::GlyphChanged);
}

TKVXBaseGraphicButton::~TKVXBaseGraphicButton() {
    StopTimer(0);
    StopTimer(1);
    layout_->OnChange.Reset();
    fontFx_->OnChange.Reset();
    glyph_->OnChange.Reset();
}

// ---- properties ---------------------------------------------------------------------------------

void TKVXBaseGraphicButton::SetAllowAllUp(bool value) {
    if (value == machine_.AllowAllUp) return;
    machine_.AllowAllUp = value;
    BroadcastPressed();
}

void TKVXBaseGraphicButton::SetGroupIndex(int value) {
    if (value == machine_.GroupIndex()) return;
    machine_.SetGroupIndex(value);
    BroadcastPressed();
}

void TKVXBaseGraphicButton::SetRepeatingInterval(uint16_t value) {
    if (KVXValidRepeatInterval(value)) repeatingInterval_ = value;
}

void TKVXBaseGraphicButton::SetDropDownMenu(fw::TPopupMenu* value) {
    dropDownMenu_ = value;
    machine_.HasDropDownMenu = value != nullptr;
    if (value) FreeNotification(value);
}

void TKVXBaseGraphicButton::SetDropDownIndent(int value) {
    if (KVXStore(dropDownIndent_, value)) ContentChanged(nullptr);
}

void TKVXBaseGraphicButton::SetDropDownRight(bool value) {
    if (KVXStore(dropDownRight_, value)) ContentChanged(nullptr);
}

void TKVXBaseGraphicButton::SetEnterColor(TColor value) {
    if (KVXStore(enterColor_, value)) ContentChanged(nullptr);
}

void TKVXBaseGraphicButton::SetEnterColorChange(bool value) {
    if (KVXStore(enterColorChange_, value)) ContentChanged(nullptr);
}

void TKVXBaseGraphicButton::SetMultiLine(bool value) {
    if (KVXStore(multiLine_, value)) ContentChanged(nullptr);
}

void TKVXBaseGraphicButton::SetGlyph(fw::TBitmap* value) {
    if (!Loading() && ImageList()) SetImageList(nullptr);
    actionImages_ = nullptr;
    glyph_->SetBitmap(value);
    Invalidate();
}

void TKVXBaseGraphicButton::SetNumGlyphs(int value) {
    if (value == glyph_->NumGlyphs()) return;
    glyph_->SetNumGlyphs(value);
    machine_.NumGlyphs = glyph_->NumGlyphs();
    PaintNow();
}

void TKVXBaseGraphicButton::SetTransparentFlag(bool value) {
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~fw::csOpaque : ControlStyle() | fw::csOpaque);
}

// ---- look ---------------------------------------------------------------------------------------

bool TKVXBaseGraphicButton::UsesParentBackground() {
    TKVXCustomControl* parent = KVXSuiteParent(this);
    return transparent_ && parent && parent->HandleAllocated() && parent->HasBackground();
}

void TKVXBaseGraphicButton::PaintNow() {
    if (!transparent_ || UsesParentBackground())
        Repaint();
    else
        Invalidate();
}

void TKVXBaseGraphicButton::StateRepaint() { PaintNow(); }

bool TKVXBaseGraphicButton::HoverChangesLook() {
    machine_.NumGlyphs = glyph_->NumGlyphs();
    machine_.ShadedGlyph = glyph_->Shaded();
    return glyph_->Shaded() || glyph_->NumGlyphs() > 2 || (machine_.AllowMouseOver && enterColorChange_) ||
           HoverNeedsRepaint();
}

void TKVXBaseGraphicButton::DrawCaption(fw::TCanvas* canvas, const TRect& rect) {
    canvas->SetFont(Font());
    const S s = State();
    const bool entered = s == S::bstHot || s == S::bstLatched || s == S::bstDown || s == S::bstDropped || s == S::bstValue5;
    if (entered && machine_.AllowMouseOver && enterColorChange_) canvas->Font()->SetColor(enterColor_);
    const uint16_t flags = ktf3DDisabled | (Enabled() ? ktfEnabled : 0);
    glyph_->DrawGlyph(canvas, Caption(), 0, multiLine_, flags, layout_.get(), s, rect, fontFx_.get());
}

HPALETTE TKVXBaseGraphicButton::GetPalette() { return glyph_->Bitmap()->Empty() ? nullptr : glyph_->Bitmap()->Palette(); }

void TKVXBaseGraphicButton::ImageListChanged(TObject*) {
    if (NoImage()) {
        glyph_->SetBitmap(nullptr);
    } else {
        fw::TBitmap image;
        ImageList()->GetBitmap(ListIndex(), ImageIndex(), &image);
        glyph_->SetBitmap(&image);
    }
    machine_.NumGlyphs = glyph_->NumGlyphs();
    Invalidate();
}

void TKVXBaseGraphicButton::FontChanged(TObject* sender) {
    if (Loading()) return;
    Canvas()->SetFont(Font());
    if (fontFx_->Angle() != 0 && !KVXIsTrueTypeFont(Font())) {
        if (sender == Font())
            fontFx_->SetAngle(0);
        else
            Font()->SetName("Arial");
    }
    ContentChanged(sender);
}

void TKVXBaseGraphicButton::ActionChange(TObject* sender, bool checkDefaults) {
    TKVXBaseControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<fw::TCustomAction*>(sender);
    if (!UsesActionGlyph() || !action) return;
    fw::TCustomImageList* images = action->ActionList() ? action->ActionList()->Images() : nullptr;
    const int index = action->ImageIndex();
    const bool hasImage = images && index >= 0 && index < images->Count();
    switch (KVXActionGlyphUpdate(glyph_->Bitmap()->Empty(), actionImages_ != nullptr,
                                 actionImages_ == images && actionImageIndex_ == index, hasImage)) {
        case TKVXActionGlyph::Keep: break;
        case TKVXActionGlyph::Take: {
            fw::TBitmap image;
            image.SetSize(images->Width(), images->Height());
            image.Canvas()->Brush()->SetColor(fw::clFuchsia);
            image.Canvas()->FillRect({0, 0, images->Width(), images->Height()});
            images->Draw(image.Canvas(), 0, 0, index);
            image.SetTransparentColor(fw::clFuchsia);
            glyph_->SetBitmap(&image);
            actionImages_ = images;
            actionImageIndex_ = index;
            break;
        }
        case TKVXActionGlyph::Clear:
            glyph_->SetBitmap(nullptr);
            actionImages_ = nullptr;
            break;
    }
    machine_.NumGlyphs = glyph_->NumGlyphs();
}

void TKVXBaseGraphicButton::Loaded() {
    TKVXBaseControl::Loaded();
    machine_.NumGlyphs = glyph_->NumGlyphs();
    machine_.Enabled = Enabled();
}

void TKVXBaseGraphicButton::Click() { TKVXBaseControl::Click(); }

// ---- mouse --------------------------------------------------------------------------------------

bool TKVXBaseGraphicButton::PointInButton(int x, int y) { return x >= 0 && x <= Width() && y >= 0 && y <= Height(); }

bool TKVXBaseGraphicButton::PointerInside() {
    POINT p{};
    GetCursorPos(&p);
    const TPoint c = ScreenToClient({p.x, p.y});
    if (machine_.AllowTransparency) return PointInButton(c.X, c.Y);
    return c.X >= 0 && c.X < ClientWidth() && c.Y >= 0 && c.Y <= ClientHeight();
}

void TKVXBaseGraphicButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXBaseControl::MouseDown(button, shift, x, y);
    if (button != fw::mbLeft) return;
    machine_.NumGlyphs = glyph_->NumGlyphs();
    machine_.ShadedGlyph = glyph_->Shaded();
    machine_.MouseDown(x, y);
}

void TKVXBaseGraphicButton::MouseMove(fw::TShiftState shift, int x, int y) {
    if (State() == S::bstDropped) return;
    TKVXBaseControl::MouseMove(shift, x, y);
    machine_.MouseMove(x, y);
}

void TKVXBaseGraphicButton::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (State() == S::bstDropped) return;
    TKVXBaseControl::MouseUp(button, shift, x, y);
    if (button == fw::mbLeft) machine_.MouseUp(x, y);
}

void TKVXBaseGraphicButton::DoMouseEnter() { machine_.MouseEnter(); }

void TKVXBaseGraphicButton::DoMouseExit() { machine_.MouseExit(); }

void TKVXBaseGraphicButton::MouseEnterEvent() { TKVXBaseControl::DoMouseEnter(); }

void TKVXBaseGraphicButton::MouseExitEvent() { TKVXBaseControl::DoMouseExit(); }

void TKVXBaseGraphicButton::HideApplicationHint() {
    if (fw::Application) fw::Application->HideHint();
}

bool TKVXBaseGraphicButton::IgnoreStateChanges() {
    auto* form = dynamic_cast<fw::TForm*>(Owner());
    if (!form) return false;
    const fw::TFormStyle style = form->FormStyle();
    // GetActiveWindow answers null on the GUI thread while none of the program's windows is active.
    return (style == fw::TFormStyle::fsMDIChild || style == fw::TFormStyle::fsMDIForm) && !GetActiveWindow();
}

// ---- timers -------------------------------------------------------------------------------------

void TKVXBaseGraphicButton::StartTimer(int index, uint16_t interval, TNotifyEvent callback) {
    if (timers_[index] != 0 || !KVXApplication) return;
    const uint16_t ident = KVXApplication->AddTimer(interval, callback);
    if (ident == 0) throw fw::EOutOfResources(texts::SNoTimers);
    timers_[index] = ident;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident)) item->SetEnabled(true);
}

void TKVXBaseGraphicButton::StopTimer(int index) {
    const uint16_t ident = timers_[index];
    if (ident == 0 || !KVXApplication) return;
    timers_[index] = 0;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident)) {
        item->SetEnabled(false);
        item->Callback.Reset();
        KVXApplication->RemoveTimer(ident);
    }
}

void TKVXBaseGraphicButton::StartHoverTimer() {
    StartTimer(0, kHoverInterval, TNotifyEvent(this, &TKVXBaseGraphicButton::HoverTick));
}

void TKVXBaseGraphicButton::StartRepeatTimer() {
    StartTimer(1, repeatingInterval_, TNotifyEvent(this, &TKVXBaseGraphicButton::RepeatTick));
}

// ---- groups and the menu ------------------------------------------------------------------------

void TKVXBaseGraphicButton::BroadcastPressed() {
    if (machine_.GroupIndex() == 0 || !Parent()) return;
    fw::TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        fw::TControl* c = parent->Controls(i);
        if (c != this) c->Perform(fw::CM_BUTTONPRESSED, static_cast<WPARAM>(machine_.GroupIndex()), reinterpret_cast<LPARAM>(this));
    }
}

void TKVXBaseGraphicButton::RunDropDownMenu() {
    if (OnDropDown) OnDropDown(this);
    if (!dropDownMenu_) return;
    const TPoint at = dropDownRight_ ? ClientToScreen({Width(), dropDownIndent_}) : ClientToScreen({dropDownIndent_, Height()});
    dropDownMenu_->SetPopupComponent(this);
    dropDownMenu_->Popup(at.X, at.Y);
    // The click that closed the menu must not press the button again.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, 0x20A, PM_REMOVE)) {
    }
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
}

void TKVXBaseGraphicButton::Notification(TComponent* component, fw::TOperation operation) {
    TKVXBaseControl::Notification(component, operation);
    if (operation == fw::opRemove && component == dropDownMenu_) SetDropDownMenu(nullptr);
}

void TKVXBaseGraphicButton::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_BUTTONPRESSED: {
            auto* sender = dynamic_cast<TKVXBaseGraphicButton*>(reinterpret_cast<fw::TControl*>(message.LParam));
            if (sender && sender != this && static_cast<int>(message.WParam) == machine_.GroupIndex())
                machine_.OtherPressed(sender->Pressed(), sender->AllowAllUp());
            break;
        }
        case fw::CM_ENABLEDCHANGED: machine_.EnabledChanged(Enabled()); break;
        case fw::CM_FONTCHANGED:
            FontChanged(Font());
            if (transparent_)
                PaintNow();
            else
                TKVXBaseControl::Dispatch(message);
            break;
        case fw::CM_TEXTCHANGED: Invalidate(); break;
        case fw::CM_DIALOGCHAR:
            if (fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) && Enabled() && TKVXBaseControl::Visible() &&
                (!Parent() || Parent()->Enabled())) {
                message.Result = 1;
                machine_.NumGlyphs = glyph_->NumGlyphs();
                machine_.Accelerator();
            }
            break;
        case WM_LBUTTONDBLCLK:
            TKVXBaseControl::Dispatch(message);
            if (Pressed()) DblClick();
            break;
        default: TKVXBaseControl::Dispatch(message); break;
    }
}

}  // namespace kvx::win32
