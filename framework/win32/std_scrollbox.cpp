// TScrollBox and its scroll bars.
#include "framework/win32/std_scrollbox.h"

namespace fw {

// ---- TControlScrollBar -----------------------------------------------------------------------------

int TControlScrollBar::ClientSize() const {
    const TRect r = control_->ClientRect();
    return kind_ == TScrollBarKind::sbHorizontal ? r.Width() : r.Height();
}

int TControlScrollBar::Range() const {
    if (autoRange_) control_->CalcAutoRange();
    return range_;
}

int TControlScrollBar::MaxPosition() const { return std::max(Range() - ClientSize(), 0); }

void TControlScrollBar::SetRange(int value) {
    autoRange_ = false;
    range_ = std::max(value, 0);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value) {
    value = std::clamp(value, 0, MaxPosition());
    if (value == position_) return;
    const int delta = position_ - value;
    position_ = value;
    if (kind_ == TScrollBarKind::sbHorizontal)
        control_->ScrollBy(delta, 0);
    else
        control_->ScrollBy(0, delta);
    Update();
}

void TControlScrollBar::SetVisible(bool value) {
    visible_ = value;
    control_->UpdateScrollBars();
}

void TControlScrollBar::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TControlScrollBar*>(source)) {
        range_ = other->range_;
        increment_ = other->increment_;
        visible_ = other->visible_;
        autoRange_ = other->autoRange_;
        SetPosition(other->position_);
        return;
    }
    TPersistent::Assign(source);
}

void TControlScrollBar::Update() {
    if (!control_->HandleAllocated()) return;
    const int bar = kind_ == TScrollBarKind::sbHorizontal ? SB_HORZ : SB_VERT;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    const bool shown = visible_ && range_ > ClientSize();
    info.nMin = 0;
    info.nMax = shown ? range_ - 1 : 0;
    info.nPage = shown ? static_cast<UINT>(ClientSize()) : 0;
    info.nPos = position_;
    if (!shown) info.fMask &= ~static_cast<UINT>(SIF_DISABLENOSCROLL);
    SetScrollInfo(control_->Handle(), bar, &info, TRUE);
    ShowScrollBar(control_->Handle(), bar, shown ? TRUE : FALSE);
}

void TControlScrollBar::ScrollMessage(TMessage& message) {
    // Children may have moved or come since the bars were last set.
    control_->UpdateScrollBars();
    const int page = std::max(ClientSize() * 9 / 10, 1);
    switch (LOWORD(message.WParam)) {
        case SB_LINEUP: SetPosition(position_ - increment_); break;
        case SB_LINEDOWN: SetPosition(position_ + increment_); break;
        case SB_PAGEUP: SetPosition(position_ - page); break;
        case SB_PAGEDOWN: SetPosition(position_ + page); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(control_->Handle(), kind_ == TScrollBarKind::sbHorizontal ? SB_HORZ : SB_VERT, &info);
            SetPosition(info.nTrackPos);
            break;
        }
        case SB_TOP: SetPosition(0); break;
        case SB_BOTTOM: SetPosition(MaxPosition()); break;
        default: break;
    }
    message.Result = 0;
}

// ---- TScrollingWinControl --------------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      horz_(std::make_unique<TControlScrollBar>(this, TScrollBarKind::sbHorizontal)),
      vert_(std::make_unique<TControlScrollBar>(this, TScrollBarKind::sbVertical)) {
    controlStyle_ |= csAcceptsControls;
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_HSCROLL | WS_VSCROLL;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TScrollingWinControl::CreateWindowState() { UpdateScrollBars(); }

void TScrollingWinControl::SetAutoScroll(bool value) {
    autoScroll_ = value;
    // Ranges the children set go with AutoScroll; ranges given by code stay.
    if (!value) {
        if (horz_->autoRange_) horz_->range_ = 0;
        if (vert_->autoRange_) vert_->range_ = 0;
    }
    UpdateScrollBars();
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
    if (dx == 0 && dy == 0) return;
    updating_ = true;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    EnableAlign();
    updating_ = false;
    Invalidate();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (!control || control->Parent() != this) return;
    const TRect client = ClientRect();
    if (control->Left() < 0)
        horz_->SetPosition(horz_->Position() + control->Left());
    else if (control->Left() + control->Width() > client.Width())
        horz_->SetPosition(horz_->Position() + control->Left() + control->Width() - client.Width());
    if (control->Top() < 0)
        vert_->SetPosition(vert_->Position() + control->Top());
    else if (control->Top() + control->Height() > client.Height())
        vert_->SetPosition(vert_->Position() + control->Top() + control->Height() - client.Height());
}

void TScrollingWinControl::CalcAutoRange() {
    if (!autoScroll_) return;
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        right = std::max(right, c->Left() + c->Width() + horz_->position_);
        bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
    }
    if (horz_->autoRange_) horz_->range_ = right;
    if (vert_->autoRange_) vert_->range_ = bottom;
}

void TScrollingWinControl::UpdateScrollBars() {
    if (updating_) return;
    updating_ = true;
    CalcAutoRange();
    updating_ = false;
    // A range that shrank below the position pulls the area back.
    if (horz_->position_ > horz_->MaxPosition()) horz_->SetPosition(horz_->MaxPosition());
    if (vert_->position_ > vert_->MaxPosition()) vert_->SetPosition(vert_->MaxPosition());
    horz_->Update();
    vert_->Update();
}

void TScrollingWinControl::AlignControls(TControl* control, TRect& rect) {
    TWinControl::AlignControls(control, rect);
    UpdateScrollBars();
}

void TScrollingWinControl::WMSize(TMessage& message) {
    TWinControl::WMSize(message);
    UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        // The box's own bars (no scroll-bar control in lParam).
        case WM_HSCROLL:
            if (message.LParam == 0) {
                WMHScroll(message);
                return;
            }
            break;
        case WM_VSCROLL:
            if (message.LParam == 0) {
                WMVScroll(message);
                return;
            }
            break;
        case WM_NCCALCSIZE: WMNCCalcSize(message); return;
        // A child came or went: the area it spans may have changed.
        case CM_CONTROLCHANGE: UpdateScrollBars(); return;
        case WM_NCPAINT: WMNCPaint(message); return;
        default: break;
    }
    TWinControl::Dispatch(message);
}

void TScrollingWinControl::WMHScroll(TMessage& message) { horz_->ScrollMessage(message); }
void TScrollingWinControl::WMVScroll(TMessage& message) { vert_->ScrollMessage(message); }
void TScrollingWinControl::WMNCCalcSize(TMessage& message) { DefaultHandler(message); }
void TScrollingWinControl::WMNCPaint(TMessage& message) { DefaultHandler(message); }

// ---- TScrollBox -------------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    controlStyle_ |= csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

void RegisterScrollBoxClasses() {
    RegisterStdSupport();
    RegisterEnum<TScrollBarKind>({"sbHorizontal", "sbVertical"}, "TScrollBarKind");
    Class<TControlScrollBar, TPersistent>("TControlScrollBar")
        .Prop("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange)
        .Prop("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition)
        .Prop("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement)
        .Prop("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible);
    Class<TScrollingWinControl, TWinControl>("TScrollingWinControl")
        .Prop("HorzScrollBar", &TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar)
        .Prop("VertScrollBar", &TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar)
        .Prop("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll);
    Class<TScrollBox, TScrollingWinControl>("TScrollBox")
        .Prop("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle);
}

}  // namespace fw
