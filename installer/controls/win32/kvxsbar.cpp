#include "installer/controls/win32/kvxsbar.h"

#include <algorithm>

namespace inst::win32 {

using fw::TPoint;
using fw::TRect;
using kvx::TKVXBevelMode;
using kvx::TKVXBorderStyle;
using kvx::TKVXFillStyle;

// ---- TKVXScrollBarThumb -------------------------------------------------------------------------

TKVXScrollBarThumb::TKVXScrollBarThumb(fw::TComponent* owner, TKVXScrollBar* bar)
    : TKVXCustomBevelPanel(owner), bar_(bar) {
    SetControlStyle(ControlStyle() & ~fw::csAcceptsControls);
    Bevel()->SetMode(TKVXBevelMode::bmStandard);
    Bevel()->SetStandardStyle(TKVXBorderStyle::lsRaised);
    SetTabStop(false);
}

void TKVXScrollBarThumb::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    bar_->TakeFocus();
    TKVXCustomBevelPanel::MouseDown(button, shift, x, y);
    if (button == fw::TMouseButton::mbLeft) bar_->ThumbPressed({x + Left(), y + Top()});
}

void TKVXScrollBarThumb::MouseMove(fw::TShiftState shift, int x, int y) {
    TKVXCustomBevelPanel::MouseMove(shift, x, y);
    bar_->MouseMove(shift, x + Left(), y + Top());
}

void TKVXScrollBarThumb::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXCustomBevelPanel::MouseUp(button, shift, x, y);
    if (button == fw::TMouseButton::mbLeft) bar_->ThumbReleased();
}

void TKVXScrollBarThumb::WMSetFocus(fw::TMessage& message) {
    TKVXCustomBevelPanel::WMSetFocus(message);
    // The thumb never keeps the focus.
    bar_->TakeFocus();
}

// ---- TKVXScrollBar ------------------------------------------------------------------------------

TKVXScrollBar::TKVXScrollBar(fw::TComponent* owner)
    : TKVXCustomBevelPanel(owner),
      back_(std::make_unique<kvx::win32::TKVXFillObject>()),
      checker_(std::make_unique<fw::TBitmap>()),
      caretBitmap_(std::make_unique<fw::TBitmap>()),
      pageTimer_(100, [this] { PageTick(); }) {
    SetControlStyle(ControlStyle() & ~fw::csAcceptsControls);
    SetTabStop(true);
    SetColor(fw::clBtnFace);
    back_->SetStyle(TKVXFillStyle::sfBrushBitmap);
    back_->OnChange.Bind(this, [](void* self, fw::TObject*) { static_cast<TKVXScrollBar*>(self)->Invalidate(); });
    model_.OnNotify = [this](TScrollCode code) { Notify(code); };
    BuildChecker();
    first_ = fw::Make<TKVXScrollSpinButton>(this);
    second_ = fw::Make<TKVXScrollSpinButton>(this);
    thumb_ = fw::Make<TKVXScrollBarThumb>(this, this);
    for (TKVXScrollSpinButton* button : {first_, second_}) {
        button->SetParent(this);
        const fw::TNotifyEvent step(this, &TKVXScrollBar::ButtonStep);
        button->OnTopClick = step;
        button->OnBottomClick = step;
        button->OnLeftClick = step;
        button->OnRightClick = step;
    }
    thumb_->SetParent(this);
    Bevel()->SetMode(TKVXBevelMode::bmStandard);
    Bevel()->SetStandardStyle(TKVXBorderStyle::lsSingleLowered);
    SetBounds(Left(), Top(), Width(), 16);
    LayoutBar();
}

TKVXScrollBar::~TKVXScrollBar() { back_->OnChange.Reset(); }

void TKVXScrollBar::BuildChecker() {
    checker_->SetSize(8, 8);
    fw::TCanvas* c = checker_->Canvas();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) c->SetPixels(x, y, (x + y) % 2 == 0 ? fw::clWhite : Color());
}

TRect TKVXScrollBar::Inner() const {
    TRect inner;
    Bevel()->InnerRect(ClientRect(), inner);
    return inner;
}

void TKVXScrollBar::LayoutBar() {
    if (Parent() && Focused() && thumb_->HandleAllocated()) HideCaret(thumb_->Handle());
    const TRect inner = Inner();
    const int bw = model_.ButtonWidth;
    if (kind_ == TKVXScrollBarKind::skVertical) {
        first_->SetBounds(inner.Left, inner.Top, inner.Width(), bw);
        first_->SetSpinButtons(sbUp);
        second_->SetBounds(inner.Left, inner.Bottom - bw, inner.Width(), bw);
        second_->SetSpinButtons(sbDown);
        model_.Layout(inner.Height());
        thumb_->SetBounds(inner.Left, inner.Top + model_.ThumbStart(), inner.Width(), model_.ThumbExtent());
    } else {
        first_->SetBounds(inner.Left, inner.Top, bw, inner.Height());
        first_->SetSpinButtons(sbLeft);
        second_->SetBounds(inner.Right - bw, inner.Top, bw, inner.Height());
        second_->SetSpinButtons(sbRight);
        model_.Layout(inner.Width());
        thumb_->SetBounds(inner.Left + model_.ThumbStart(), inner.Top, model_.ThumbExtent(), inner.Height());
    }
    if (Parent() && Focused()) ShowCaret();
}

void TKVXScrollBar::ShowCaret() {
    if (!thumb_->HandleAllocated()) return;
    // The focus mark: the checker tiled over the thumb less a 1-pixel margin and its bevel's far edge.
    const int w = thumb_->Width() < 3 ? 0 : thumb_->Width() - 3;
    const int h = thumb_->Height() < 3 ? 0 : thumb_->Height() - 3;
    if (w == 0 || h == 0) return;
    caretBitmap_->SetSize(w, h);
    for (int y = 0; y < h; y += 8)
        for (int x = 0; x < w; x += 8) caretBitmap_->Canvas()->Draw(x, y, checker_.get());
    CreateCaret(thumb_->Handle(), caretBitmap_->Handle(), 0, 0);
    SetCaretPos(1, 1);
    ::ShowCaret(thumb_->Handle());
}

void TKVXScrollBar::TakeFocus() {
    if (canFocus_ && !Focused() && CanFocus()) SetFocus();
}

void TKVXScrollBar::Notify(TScrollCode code) {
    int position = model_.Position();
    const TScrollEvent event = OnScroll;
    if (event) event(this, code, position);
    if (position != model_.Position()) SetPosition(position);
}

void TKVXScrollBar::ButtonStep(fw::TObject* sender) {
    TakeFocus();
    if (sender == first_)
        model_.Decrease();
    else
        model_.Increase();
    LayoutBar();
}

void TKVXScrollBar::SetKind(TKVXScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    if (InState(fw::csDesigning) && !Loading()) SetBounds(Left(), Top(), Height(), Width());
    LayoutBar();
}

void TKVXScrollBar::SetMin(int value) {
    if (model_.SetMin(value)) LayoutBar();
}

void TKVXScrollBar::SetMax(int value) {
    if (model_.SetMax(value)) LayoutBar();
}

void TKVXScrollBar::SetPosition(int value) {
    if (model_.SetPosition(value)) LayoutBar();
}

void TKVXScrollBar::SetThumbLength(int value) {
    if (model_.SetThumbLength(value)) LayoutBar();
}

void TKVXScrollBar::SetThumbMode(TKVXThumbMode value) {
    if (value == model_.ThumbMode) return;
    model_.ThumbMode = value;
    LayoutBar();
}

void TKVXScrollBar::SetButtonWidth(int value) {
    if (value == model_.ButtonWidth) return;
    model_.ButtonWidth = value;
    LayoutBar();
}

void TKVXScrollBar::SetBackStyle(TKVXBackStyle value) {
    if (value == backStyle_) return;
    backStyle_ = value;
    Invalidate();
}

void TKVXScrollBar::SetCanFocusBar(bool value) {
    canFocus_ = value;
    SetTabStop(value);
    thumb_->SetTabStop(value);
}

void TKVXScrollBar::Loaded() {
    TKVXCustomBevelPanel::Loaded();
    LayoutBar();
}

void TKVXScrollBar::Paint() {
    TKVXCustomBevelPanel::Paint();
    if (Loading()) return;
    const TRect inner = Inner();
    if (back_->Style() != TKVXFillStyle::sfNone && !Transparent()) {
        if (backStyle_ == TKVXBackStyle::bsUser) {
            back_->FillCanvas(Canvas(), inner, Color());
        } else {
            HBRUSH pattern = CreatePatternBrush(checker_->Handle());
            const RECT r{inner.Left, inner.Top, inner.Right, inner.Bottom};
            FillRect(Canvas()->Handle(), &r, pattern);
            DeleteObject(pattern);
        }
    }
    LayoutBar();
}

void TKVXScrollBar::Dispatch(fw::TMessage& message) {
    TKVXCustomBevelPanel::Dispatch(message);
    if (message.Msg == WM_GETDLGCODE) message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TKVXScrollBar::TrackClick(fw::TMouseButton button, TPoint point) {
    if (button != fw::TMouseButton::mbLeft) {
        model_.OtherClick();
        return;
    }
    pageTimer_.SetEnabled(true);
    const bool vertical = kind_ == TKVXScrollBarKind::skVertical;
    const int from = vertical ? thumb_->Top() : thumb_->Left();
    const int to = from + (vertical ? thumb_->Height() : thumb_->Width());
    if (!model_.TrackClick(Along(point), from, to)) pageTimer_.SetEnabled(false);
    LayoutBar();
}

void TKVXScrollBar::PageTick() { TrackClick(fw::TMouseButton::mbLeft, lastMouse_); }

void TKVXScrollBar::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TakeFocus();
    TKVXCustomBevelPanel::MouseDown(button, shift, x, y);
    lastMouse_ = {x, y};
    TrackClick(button, {x, y});
}

void TKVXScrollBar::MouseMove(fw::TShiftState shift, int x, int y) {
    TKVXCustomBevelPanel::MouseMove(shift, x, y);
    lastMouse_ = {x, y};
    if (!dragging_ || !shift.Contains(fw::TShiftStateItem::ssLeft) || !fw::PtInRect(Inner(), {x, y})) return;
    model_.Drag(Along({x, y}) - Along(lastDrag_));
    lastDrag_ = {x, y};
    LayoutBar();
}

void TKVXScrollBar::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXCustomBevelPanel::MouseUp(button, shift, x, y);
    if (button == fw::TMouseButton::mbLeft) pageTimer_.SetEnabled(false);
}

void TKVXScrollBar::ThumbPressed(TPoint barPoint) {
    if (!allowMousePos_) return;
    dragging_ = true;
    lastDrag_ = barPoint;
}

void TKVXScrollBar::ThumbReleased() {
    if (!dragging_) return;
    dragging_ = false;
    model_.Release();
}

void TKVXScrollBar::KeyDown(uint16_t& key, fw::TShiftState shift) {
    TKVXCustomBevelPanel::KeyDown(key, shift);
    switch (key) {
        case VK_PRIOR: model_.Key(TScrollKey::PageUp); break;
        case VK_NEXT: model_.Key(TScrollKey::PageDown); break;
        case VK_LEFT: model_.Key(TScrollKey::Left); break;
        case VK_UP: model_.Key(TScrollKey::Up); break;
        case VK_RIGHT: model_.Key(TScrollKey::Right); break;
        case VK_DOWN: model_.Key(TScrollKey::Down); break;
        default: return;
    }
    LayoutBar();
}

void TKVXScrollBar::WMSetFocus(fw::TMessage& message) {
    TKVXCustomBevelPanel::WMSetFocus(message);
    if (Loading() || !canFocus_) return;
    LayoutBar();
}

void TKVXScrollBar::WMKillFocus(fw::TMessage& message) {
    TKVXCustomBevelPanel::WMKillFocus(message);
    DestroyCaret();
}

void TKVXScrollBar::CMEnabledChanged(fw::TMessage& message) {
    TKVXCustomBevelPanel::CMEnabledChanged(message);
    thumb_->SetVisible(Enabled());
    first_->SetEnabled(Enabled());
    second_->SetEnabled(Enabled());
}

// ---- TKVXScrollBarObject ------------------------------------------------------------------------

TKVXScrollBarObject::TKVXScrollBarObject()
    : back_(std::make_unique<kvx::win32::TKVXFillObject>()), bevel_(std::make_unique<kvx::TKVXBevel>()) {
    back_->SetStyle(TKVXFillStyle::sfBrush);
    back_->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    back_->Brush()->SetColor(fw::clBlue);
    bevel_->SetMode(TKVXBevelMode::bmStandard);
    bevel_->SetStandardStyle(TKVXBorderStyle::lsSingleLowered);
    back_->OnChange = fw::TNotifyEvent(this, &TKVXScrollBarObject::ChildChanged);
    bevel_->OnChange = fw::TNotifyEvent(this, &TKVXScrollBarObject::ChildChanged);
}

TKVXScrollBarObject::~TKVXScrollBarObject() {
    back_->OnChange.Reset();
    bevel_->OnChange.Reset();
}

void TKVXScrollBarObject::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TKVXScrollBarObject*>(source);
    if (!other) {
        kvx::TKVXObject::Assign(source);
        return;
    }
    back_->Assign(other->back_.get());
    bevel_->Assign(other->bevel_.get());
    transparent_ = other->transparent_;
    ctl3D_ = other->ctl3D_;
    parentCtl3D_ = other->parentCtl3D_;
    buttonWidth_ = other->buttonWidth_;
    largeChange_ = other->largeChange_;
    smallChange_ = other->smallChange_;
    AllowMousePos = other->AllowMousePos;
    BackStyle = other->BackStyle;
}

void TKVXScrollBarObject::ApplyTo(TKVXScrollBar* bar) const {
    bar->SetBack(back_.get());
    bar->SetBevel(bevel_.get());
    bar->SetTransparent(transparent_);
    bar->SetCtl3D(ctl3D_);
    bar->SetParentCtl3D(parentCtl3D_);
    bar->SetButtonWidth(buttonWidth_);
    bar->SetSmallChange(smallChange_);
    bar->SetLargeChange(largeChange_);
    bar->SetAllowMousePos(AllowMousePos);
    bar->SetBackStyle(BackStyle);
}

}  // namespace inst::win32
