#include "widgets/win32/spinedit.h"

#include <algorithm>
#include <cmath>

#include "framework/win32/forms.h"
#include "framework/win32/messages.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/framedraw.h"

namespace kvx::win32 {

namespace {

std::function<void()>& BeepHook() {
    static std::function<void()> hook;
    return hook;
}

void Beep() {
    if (BeepHook())
        BeepHook()();
    else
        MessageBeep(0);
}

// The first repeat waits this much longer than the others.
constexpr uint16_t kFirstRepeatDelay = 200;

int Round(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

void KVXSetSpinBeep(std::function<void()> beep) { BeepHook() = std::move(beep); }

// ---- TKVXSpinButton -----------------------------------------------------------------------------

TKVXSpinButton::TKVXSpinButton(TComponent* owner) : fw::TGraphicControl(owner), faces_(std::make_unique<fw::TBitmap>()) {
    SetBounds(0, 0, 20, 20);
    if (KVXApplication) {
        timer_ = KVXApplication->AddTimer(interval_ + kFirstRepeatDelay, TNotifyEvent(this, &TKVXSpinButton::Tick));
        if (timer_ == 0) throw fw::EOutOfResources(texts::SNoTimers);
        TimerItem()->SetEnabled(false);
    }
}

TKVXSpinButton::~TKVXSpinButton() {
    if (timer_ != 0 && KVXApplication) KVXApplication->RemoveTimer(timer_);
}

TKVXTimerItem* TKVXSpinButton::TimerItem() const {
    return timer_ != 0 && KVXApplication ? KVXApplication->GetTimerItem(timer_) : nullptr;
}

void TKVXSpinButton::SetInterval(uint16_t value) {
    if (KVXSpinIntervalValid(value)) interval_ = value;
}

void TKVXSpinButton::SetState(int value) {
    if (state_ == value) return;
    state_ = value;
    Repaint();
}

void TKVXSpinButton::Fire(int half) {
    if (half == 1 && OnTopClick) OnTopClick(this);
    if (half == 2 && OnBottomClick) OnBottomClick(this);
}

void TKVXSpinButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseDown(button, shift, x, y);
    if (button != fw::TMouseButton::mbLeft || !Enabled() || state_ != 0) return;
    const int half = static_cast<int>(KVXSpinHalfAt(x, y, Width(), Height()));
    if (half == 0) return;
    state_ = pressed_ = half;
    tracking_ = true;
    Repaint();
    if (TKVXTimerItem* item = TimerItem()) {
        item->SetInterval(interval_ + kFirstRepeatDelay);
        item->SetEnabled(true);
    }
    Fire(half);
}

void TKVXSpinButton::MouseMove(fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseMove(shift, x, y);
    if (!tracking_) return;
    const bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    const int half = inside ? static_cast<int>(KVXSpinHalfAt(x, y, Width(), Height())) : 0;
    SetState(half == pressed_ ? pressed_ : 0);
}

void TKVXSpinButton::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    fw::TGraphicControl::MouseUp(button, shift, x, y);
    if (button != fw::TMouseButton::mbLeft || !tracking_) return;
    tracking_ = false;
    // Released outside, the state already went back to up; the timer stops either way, since the
    // pressed half no longer follows the mouse.
    if (TKVXTimerItem* item = TimerItem()) item->SetEnabled(false);
    pressed_ = 0;
    if (state_ != 3) SetState(0);
}

void TKVXSpinButton::Tick(TObject*) {
    TKVXTimerItem* item = TimerItem();
    if (!item) return;
    item->SetInterval(interval_);
    if ((state_ != 1 && state_ != 2) || !MouseCapture()) return;
    try {
        Fire(state_);
    } catch (...) {
        item->SetEnabled(false);
        throw;
    }
}

void TKVXSpinButton::Dispatch(fw::TMessage& message) {
    fw::TGraphicControl::Dispatch(message);
    if (message.Msg == fw::CM_ENABLEDCHANGED) {
        if (!Enabled()) {
            tracking_ = false;
            pressed_ = 0;
            if (TKVXTimerItem* item = TimerItem()) item->SetEnabled(false);
        }
        state_ = Enabled() ? 0 : 3;
        Repaint();
    }
}

// One face of Width x Height at face x Width: a button face, the border and the diagonal in the frame
// colour, each triangle bevelled (raised, or sunken when it is the pressed one), and the two arrows.
void TKVXSpinButton::DrawFace(int face) {
    fw::TCanvas* c = faces_->Canvas();
    const int w = Width(), h = Height();
    const int x0 = face * w;
    c->Brush()->SetColor(fw::clBtnFace);
    c->FillRect(fw::Rect(x0, 0, x0 + w, h));
    c->Brush()->SetColor(fw::clWindowFrame);
    c->FrameRect(fw::Rect(x0, 0, x0 + w, h));
    auto line = [&](TColor color, int ax, int ay, int bx, int by) {
        c->Pen()->SetColor(color);
        c->MoveTo(x0 + ax, ay);
        c->LineTo(x0 + bx, by);
    };
    const TColor light = fw::clBtnHighlight, dark = fw::clBtnShadow;
    const bool topDown = face == 1, bottomDown = face == 2;
    // Top triangle: its top and left edges, and the diagonal from its side.
    line(topDown ? dark : light, 1, 1, w - 2, 1);
    line(topDown ? dark : light, 1, 1, 1, h - 2);
    line(topDown ? light : dark, 1, h - 2, w - 2, 1);
    // Bottom triangle: the diagonal from its side, then its bottom and right edges.
    line(bottomDown ? dark : light, 2, h - 2, w - 2, 2);
    line(bottomDown ? light : dark, 1, h - 2, w - 1, h - 2);
    line(bottomDown ? light : dark, w - 2, 1, w - 2, h - 1);
    line(fw::clWindowFrame, 0, h - 1, w, -1);
    const int upX = Round(w / 4.0 - 2) + 1 + (topDown ? 1 : 0);
    const int upY = Round(h / 4.0 - 2) + 1 + (topDown ? 1 : 0);
    const int downX = Round(3 * w / 4.0 - 2) - 1 - (bottomDown ? 1 : 0);
    const int downY = Round(3 * h / 4.0 - 2) - 1 - (bottomDown ? 1 : 0);
    KVXDrawArrow(c, x0 + upX, upY, 3, fw::clBtnText, false, face != 3);
    KVXDrawArrow(c, x0 + downX, downY, 3, fw::clBtnText, true, face != 3);
}

void TKVXSpinButton::BuildFaces() {
    if (faces_->Height() == Height() && faces_->Width() / 4 == Width()) return;
    faces_->SetSize(4 * Width(), Height());
    for (int face = 0; face < 4; ++face) DrawFace(face);
}

void TKVXSpinButton::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    if (state_ == 3) tracking_ = false;
    BuildFaces();
    const int x0 = state_ * Width();
    Canvas()->CopyRect(fw::Rect(0, 0, Width(), Height()), faces_->Canvas(), fw::Rect(x0, 0, x0 + Width(), Height()));
}

// ---- TKVXCustomSpinEdit -------------------------------------------------------------------------

TKVXCustomSpinEdit::TKVXCustomSpinEdit(TComponent* owner) : fw::TCustomEdit(owner) {
    SetControlStyle(ControlStyle() & ~fw::csSetCaption);
    // The button first: it raises when the timer pool is full, and nothing else is made by then.
    button_ = fw::Make<TKVXSpinButton>(this);
    holder_ = fw::Make<fw::TWinControl>(this);
    holder_->SetBounds(0, 0, Height(), Height());
    holder_->SetParent(this);
    button_->SetParent(holder_);
    button_->OnTopClick = TNotifyEvent(this, &TKVXCustomSpinEdit::TopClick);
    button_->OnBottomClick = TNotifyEvent(this, &TKVXCustomSpinEdit::BottomClick);
    SetText("0");
}

int32_t TKVXCustomSpinEdit::Value() {
    const std::string text = Text();
    const TKVXSpinParse parsed = KVXParseSpinText(text, suffix_, limits_.MinValue);
    if (parsed.text != text) SetText(parsed.text);
    return parsed.value;
}

void TKVXCustomSpinEdit::SetValue(int32_t value) { SetText(KVXSpinText(limits_.Limit(value), suffix_)); }

void TKVXCustomSpinEdit::SetMaxValue(int32_t value) {
    if (limits_.SetMaxValue(value) && Value() > value) SetValue(value);
}

void TKVXCustomSpinEdit::SetMinValue(int32_t value) {
    if (limits_.SetMinValue(value) && Value() < value) SetValue(value);
}

void TKVXCustomSpinEdit::SetSuffix(const std::string& value) {
    if (suffix_ == value) return;
    // Read with the old suffix, shown with the new one.
    const int32_t v = Value();
    suffix_ = value;
    SetValue(v);
}

void TKVXCustomSpinEdit::SetAlignment(fw::TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    RecreateWnd();
}

void TKVXCustomSpinEdit::Step(int32_t step) { SetValue(KVXSpinStep(Value(), step, limits_)); }

void TKVXCustomSpinEdit::StepDown() {
    if (ReadOnly())
        Beep();
    else
        Step(-lineSize_);
}

void TKVXCustomSpinEdit::StepUp() {
    if (ReadOnly())
        Beep();
    else
        Step(lineSize_);
}

bool TKVXCustomSpinEdit::IsValidChar(char key) { return KVXSpinValidChar(key, editorEnabled_); }

void TKVXCustomSpinEdit::CreateParams(fw::TCreateParams& params) {
    fw::TCustomEdit::CreateParams(params);
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    params.Style &= ~(ES_LEFT | ES_RIGHT | ES_CENTER);
    switch (alignment_) {
        case fw::TAlignment::taLeftJustify: params.Style |= ES_LEFT; break;
        case fw::TAlignment::taRightJustify: params.Style |= ES_RIGHT; break;
        case fw::TAlignment::taCenter: params.Style |= ES_CENTER; break;
    }
}

void TKVXCustomSpinEdit::CreateWnd() {
    fw::TCustomEdit::CreateWnd();
    AdjustLayout();
}

int TKVXCustomSpinEdit::MinHeight() {
    HDC dc = GetDC(nullptr);
    TEXTMETRICA system{}, own{};
    GetTextMetricsA(dc, &system);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    GetTextMetricsA(dc, &own);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return KVXSpinMinHeight(own.tmHeight, own.tmHeight, system.tmHeight, GetSystemMetrics(SM_CYBORDER),
                            BorderStyle() == fw::TBorderStyle::bsSingle);
}

void TKVXCustomSpinEdit::SetBounds(int left, int top, int width, int height) {
    if (!InState(fw::csLoading)) height = std::max(height, MinHeight());
    fw::TCustomEdit::SetBounds(left, top, width, height);
}

void TKVXCustomSpinEdit::AdjustLayout() {
    const int minHeight = MinHeight();
    if (Height() < minHeight) {
        // The resize comes back here through WM_SIZE.
        SetHeight(minHeight);
        return;
    }
    const int h = Height();
    // The client edge of a single border takes from the window's height, so the square shrinks by it.
    const int side = Ctl3D() && BorderStyle() == fw::TBorderStyle::bsSingle ? h - 4 * GetSystemMetrics(SM_CYBORDER) : h;
    holder_->SetBounds(Width() - h, 0, side, side);
    button_->SetBounds(0, 0, side, side);
    UpdateEditRect();
}

void TKVXCustomSpinEdit::UpdateEditRect() {
    if (!HandleAllocated()) return;
    SetEditRect(fw::Rect(0, 0, ClientWidth() - button_->Width() - 2, ClientHeight() + 1));
}

void TKVXCustomSpinEdit::WMSize(fw::TMessage& message) {
    fw::TCustomEdit::WMSize(message);
    if (HandleAllocated()) AdjustLayout();
}

void TKVXCustomSpinEdit::DoEnter() {
    // A click places the caret; the keyboard and code select the whole number.
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    fw::TCustomEdit::DoEnter();
}

void TKVXCustomSpinEdit::DoExit() {
    fw::TCustomEdit::DoExit();
    const int32_t v = Value();
    if (!limits_.Inside(v)) SetValue(v);
}

void TKVXCustomSpinEdit::KeyDown(uint16_t& key, fw::TShiftState shift) {
    switch (key) {
        case VK_PRIOR:
            if (!ReadOnly()) Step(pageSize_);
            break;
        case VK_NEXT:
            if (!ReadOnly()) Step(-pageSize_);
            break;
        case VK_UP: StepUp(); break;
        case VK_DOWN: StepDown(); break;
        default: break;
    }
    fw::TCustomEdit::KeyDown(key, shift);
}

void TKVXCustomSpinEdit::KeyPress(char& key) {
    if (!IsValidChar(key)) {
        key = 0;
        Beep();
        return;
    }
    fw::TCustomEdit::KeyPress(key);
    if (key != VK_RETURN && key != VK_ESCAPE) return;
    if (fw::TWinControl* form = fw::GetParentForm(this)) form->Perform(fw::CM_DIALOGKEY, static_cast<unsigned char>(key), 0);
    // The multi-line window would take Enter as a line break.
    if (key == VK_RETURN) key = 0;
}

bool TKVXCustomSpinEdit::DoMouseWheel(fw::TShiftState shift, int wheelDelta, fw::TPoint mousePos) {
    fw::TCustomEdit::DoMouseWheel(shift, wheelDelta, mousePos);
    if (wheelDelta < 0)
        StepDown();
    else if (wheelDelta > 0)
        StepUp();
    return true;
}

void TKVXCustomSpinEdit::Change() {
    if (!InState(fw::csLoading)) fw::TCustomEdit::Change();
}

void TKVXCustomSpinEdit::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case WM_CUT:
        case WM_PASTE:
            // Typing is the only other way in, and it is closed too.
            if (editorEnabled_ && !ReadOnly()) fw::TCustomEdit::Dispatch(message);
            break;
        case fw::CM_ENABLEDCHANGED:
            fw::TCustomEdit::Dispatch(message);
            button_->SetEnabled(Enabled());
            break;
        case WM_SETFONT:
            // A new font resets the formatting rectangle to the whole client area.
            fw::TCustomEdit::Dispatch(message);
            if (HandleAllocated()) AdjustLayout();
            break;
        default: fw::TCustomEdit::Dispatch(message); break;
    }
}

}  // namespace kvx::win32
