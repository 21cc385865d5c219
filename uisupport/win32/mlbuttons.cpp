#include "uisupport/win32/mlbuttons.h"

#include "framework/win32/graphics.h"
#include "uisupport/pixelbuffer.h"
#include "uisupport/win32/bitmaprtns.h"
#include "uisupport/win32/fastbmp.h"
#include "uisupport/win32/waveplayer.h"

namespace uis {

// ---- TmlCustomBitmapButton ----------------------------------------------------------------------

TmlCustomBitmapButton::TmlCustomBitmapButton(fw::TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 90, 30);
    fw::TFont* font = Font();
    font->SetName("Arial");
    font->SetSize(11);
    font->SetStyle({fw::TFontStyle::fsBold, fw::TFontStyle::fsItalic});
    SetTabStop(true);
}

TmlCustomBitmapButton::~TmlCustomBitmapButton() = default;

void TmlCustomBitmapButton::SetBackColor(fw::TColor value) {
    backColor_ = value;
    Invalidate();
}

void TmlCustomBitmapButton::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TmlCustomBitmapButton::SetFace(int index, fw::TBitmap* face) { faces_[index].reset(face); }

void TmlCustomBitmapButton::ClearFaces() {
    for (auto& face : faces_) face.reset();
}

bool TmlCustomBitmapButton::HasFaces() const { return faces_[0] && faces_[1] && faces_[2]; }

int TmlCustomBitmapButton::CurrentFace() const {
    if (!HasFaces()) return -1;
    if (pressState_ == TPressState::psPressed) return 2;
    return hot_ ? 1 : 0;
}

void TmlCustomBitmapButton::SetPressedState(TPressState pressed) {
    if (pressed == pressState_) return;
    pressState_ = pressed;
    Invalidate();
}

void TmlCustomBitmapButton::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    Invalidate();
}

void TmlCustomBitmapButton::Paint() {
    if (!HasFaces()) {
        PaintWithoutFaces();
        if (!HasFaces()) return;
    }
    fw::TBitmap* face = faces_[CurrentFace()].get();
    fw::TCanvas* canvas = Canvas();
    if (!transparent_) {
        canvas->Draw(0, 0, face);
        return;
    }
    // The parent's image first; the face's corner colour lets it show around the shape.
    fw::TBitmap under;
    under.SetSize(Width(), Height());
    PaintParentImage(this, under.Canvas());
    canvas->Draw(0, 0, &under);
    DrawMaskedBitmap(canvas, 0, 0, face->Canvas()->Pixels(0, 0), face);
}

void TmlCustomBitmapButton::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;  // the faces cover the whole button
        return;
    case WM_GETDLGCODE:
        message.Result = DLGC_BUTTON | (message.WParam == VK_RETURN ? DLGC_WANTMESSAGE : 0);
        return;
    case BM_CLICK:  // as a push button answers it: the click of a press and release
        Click();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(message);
        Invalidate();
        return;
    default:
        TCustomControl::Dispatch(message);
    }
}

void TmlCustomBitmapButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    SetPressedState(TPressState::psPressed);
    TCustomControl::MouseDown(button, shift, x, y);
}

void TmlCustomBitmapButton::MouseMove(fw::TShiftState shift, int x, int y) {
    if (pressState_ != TPressState::psNone) {
        const bool inside = fw::PtInRect(ClientRect(), fw::Point(x, y));
        SetPressedState(inside ? TPressState::psPressed : TPressState::psPressedOutside);
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TmlCustomBitmapButton::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    SetPressedState(TPressState::psNone);
    TCustomControl::MouseUp(button, shift, x, y);
}

void TmlCustomBitmapButton::KeyDown(uint16_t& key, fw::TShiftState shift) {
    if (key == VK_RETURN) {
        SetPressedState(TPressState::psPressed);
        Repaint();
        Click();
        SetPressedState(TPressState::psNone);
        key = 0;
        return;
    }
    TCustomControl::KeyDown(key, shift);
}

void TmlCustomBitmapButton::CMMouseEnter(fw::TMessage& message) {
    TCustomControl::CMMouseEnter(message);
    if (message.LParam && reinterpret_cast<fw::TControl*>(message.LParam) != this) return;
    if (pressState_ == TPressState::psPressedOutside) SetPressedState(TPressState::psPressed);
    SetHot(true);
}

void TmlCustomBitmapButton::CMMouseLeave(fw::TMessage& message) {
    TCustomControl::CMMouseLeave(message);
    if (message.LParam && reinterpret_cast<fw::TControl*>(message.LParam) != this) return;
    if (pressState_ == TPressState::psPressed) SetPressedState(TPressState::psPressedOutside);
    SetHot(false);
}

void TmlCustomBitmapButton::Click() {
    if (clickSound_ && hot_) clickSound_->Play();
    if (auto* form = dynamic_cast<fw::TForm*>(fw::GetParentForm(this))) form->SetModalResult(modalResult_);
    TCustomControl::Click();
}

void TmlCustomBitmapButton::Notification(fw::TComponent* component, fw::TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == clickSound_) clickSound_ = nullptr;
    if (component == activeSound_) activeSound_ = nullptr;
}

// ---- TmlRealTimeButton --------------------------------------------------------------------------

TmlRealTimeButton::TmlRealTimeButton(fw::TComponent* owner) : TmlCustomBitmapButton(owner) { SetTransparent(false); }

void TmlRealTimeButton::SetClickSound(TmlWavePlayer* value) {
    if (clickSound_) clickSound_->RemoveFreeNotification(this);
    clickSound_ = value;
    if (value) value->FreeNotification(this);
}

void TmlRealTimeButton::SetActiveSound(TmlWavePlayer* value) {
    if (activeSound_) activeSound_->RemoveFreeNotification(this);
    activeSound_ = value;
    if (value) value->FreeNotification(this);
}

void TmlRealTimeButton::BuildFaces() {
    if (building_ || Width() <= 0 || Height() <= 0) return;
    building_ = true;
    try {
        SetFace(0, CreateFace(false, false));
        SetFace(1, CreateFace(false, true));
        SetFace(2, CreateFace(true, true));
        if (fw::TBitmap* normal = Face(0)) {
            SetClientWidth(normal->Width());
            SetClientHeight(normal->Height());
        }
    } catch (...) {
        building_ = false;
        throw;
    }
    building_ = false;
}

void TmlRealTimeButton::Loaded() {
    TmlCustomBitmapButton::Loaded();
    BuildFaces();
}

void TmlRealTimeButton::PaintWithoutFaces() { BuildFaces(); }

void TmlRealTimeButton::SetHot(bool hot) {
    const bool becomesHot = hot && !Hot();
    TmlCustomBitmapButton::SetHot(hot);
    if (becomesHot && activeSound_) activeSound_->Play();
}

// A run-time change of the look builds the faces again, so that a page button can change colour.
void TmlRealTimeButton::FacesChanged() {
    if (building_) return;
    ClearFaces();
    Invalidate();
}

void TmlRealTimeButton::CMFontChanged(fw::TMessage& message) {
    TmlCustomBitmapButton::CMFontChanged(message);
    FacesChanged();
}

void TmlRealTimeButton::CMTextChanged(fw::TMessage& message) {
    TmlCustomBitmapButton::CMTextChanged(message);
    FacesChanged();
}

void TmlRealTimeButton::CMColorChanged(fw::TMessage& message) {
    TmlCustomBitmapButton::CMColorChanged(message);
    FacesChanged();
}

void TmlRealTimeButton::Resize() {
    TmlCustomBitmapButton::Resize();
    FacesChanged();
}

// ---- TmlBlurButton ------------------------------------------------------------------------------

TmlBlurButton::TmlBlurButton(fw::TComponent* owner) : TmlRealTimeButton(owner) { SetColor(fw::clBtnFace); }

void TmlBlurButton::SetActiveTextColor(fw::TColor value) {
    activeTextColor_ = value;
    FacesChanged();
}

void TmlBlurButton::SetBevelWidht(int value) {
    bevelWidth_ = value;
    FacesChanged();
}

void TmlBlurButton::SetBlur(bool value) {
    blur_ = value;
    FacesChanged();
}

void TmlBlurButton::SetKind(TmlKind value) {
    kind_ = value;
    FacesChanged();
}

void TmlBlurButton::SetTextColor(fw::TColor value) {
    textColor_ = value;
    FacesChanged();
}

fw::TBitmap* TmlBlurButton::CreateFace(bool pressed, bool hot) {
    const int w = Width();
    const int h = Height();
    auto face = std::make_unique<fw::TBitmap>();
    face->SetSize(w, h);
    fw::TCanvas* c = face->Canvas();
    c->SetFont(Font());
    const fw::TColor color = fw::ColorToRGB(Color());
    const int delta = pressed ? -70 : 70;
    const fw::TColor light = AdjustColor(color, delta, delta, delta);
    const fw::TColor dark = AdjustColor(color, -delta, -delta, -delta);
    const auto line = [c](std::initializer_list<fw::TPoint> points) {
        auto p = points.begin();
        c->MoveTo(p->X, p->Y);
        for (++p; p != points.end(); ++p) c->LineTo(p->X, p->Y);
    };

    // The corners outside the shape take BackColor, the shape Color: a transparent button keys on the
    // corner colour, so the face itself stays opaque.
    c->Pen()->SetColor(fw::ColorToRGB(BackColor()));
    c->Brush()->SetColor(fw::ColorToRGB(BackColor()));
    c->FillRect(fw::Rect(-1, -1, w + 1, h + 1));
    c->Brush()->SetColor(color);
    c->Pen()->SetColor(color);
    switch (kind_) {
    case TmlKind::bkRect: c->FillRect(fw::Rect(-1, -1, w + 1, h + 1)); break;
    case TmlKind::bkRoundRect: c->RoundRect(1, 1, w - 1, h, 6, 6); break;
    case TmlKind::bkEllipse: c->RoundRect(0, 0, w + 1, h + 1, h + 1, h + 1); break;
    }

    const int bw = bevelWidth_;
    switch (kind_) {
    case TmlKind::bkRect:
        c->Pen()->SetColor(fw::clBlack);
        c->Rectangle(0, 0, w, h);
        c->Rectangle(1, 1, w - 1, h);
        for (int i = 1; i <= bw; ++i) {
            const int a = i + 1;
            c->Pen()->SetColor(light);
            line({{a, h - a}, {a, a}, {w - a - 1, a}});
            c->Pen()->SetColor(dark);
            line({{w - a - 1, a + 1}, {w - a - 1, h - a}, {a, h - a}});
        }
        break;
    case TmlKind::bkRoundRect:
        c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
        for (int i = 1; i <= bw; ++i) {
            const int a = i + 1;
            c->Pen()->SetColor(light);
            line({{a, h + a - bw - 2}, {a, bw}});
            line({{bw, a}, {w - bw, a}});
            c->Pen()->SetColor(dark);
            line({{w - a, a}, {w - a, h - a}, {a, h - a}});
        }
        c->Pen()->SetColor(fw::clBlack);
        c->RoundRect(1, 1, w - 1, h, 6, 6);
        break;
    case TmlKind::bkEllipse:
        c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
        for (int i = 1; i <= bw; ++i) {
            const int a = i + 1;
            c->Pen()->SetColor(light);
            c->RoundRect(a, a, w, h, h - 2 * a, h - 2 * a);
            c->RoundRect(a, a, w, h, h - a, h - a);
            c->Pen()->SetColor(dark);
            c->RoundRect(1, 1, w - a + 1, h - a + 1, h - 2 * a, h - 2 * a);
            c->RoundRect(1, 1, w - a + 1, h - a + 1, h - a, h - a);
        }
        c->Pen()->SetColor(fw::ColorToRGB(BackColor()));
        c->RoundRect(0, 0, w + 1, h + 1, h + 1, h + 1);
        c->Pen()->SetColor(fw::clBlack);
        c->RoundRect(1, 1, w, h, h - 1, h - 1);
        break;
    }

    if (blur_) {
        TFastBmp fast(w, h);
        fast.CopyFrom(c->Handle(), 0, 0);
        fast.BlurBy(1);
        fast.DrawTo(c->Handle(), 0, 0);
    }

    c->Font()->SetColor(hot ? activeTextColor_ : textColor_);
    c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    fw::TRect r = fw::InflateRect(fw::Rect(0, 0, w, h), -bw, -bw);
    if (pressed) r = fw::OffsetRect(r, 1, 1);
    RECT box{r.Left, r.Top, r.Right, r.Bottom};
    const std::string caption = Caption();
    c->TextExtent(caption);  // selects the font and its colour into the DC
    HDC dc = c->Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    return face.release();
}

void RegisterMediaButtonClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TmlKind>({"bkRect", "bkRoundRect", "bkEllipse"}, "TmlKind");
    fw::Class<TmlCustomBitmapButton, fw::TCustomControl>("TmlCustomBitmapButton")
        .Prop("BackColor", &TmlCustomBitmapButton::BackColor, &TmlCustomBitmapButton::SetBackColor)
        .Idents(fw::ColorIdentTable())
        .Prop("ModalResult", &TmlCustomBitmapButton::ModalResult, &TmlCustomBitmapButton::SetModalResult)
        .Idents(fw::ModalResultIdents())
        .Prop("Transparent", &TmlCustomBitmapButton::Transparent, &TmlCustomBitmapButton::SetTransparent);
    fw::Class<TmlRealTimeButton, TmlCustomBitmapButton>("TmlRealTimeButton")
        .Prop("ClickSound", &TmlRealTimeButton::ClickSound, &TmlRealTimeButton::SetClickSound)
        .Prop("ActiveSound", &TmlRealTimeButton::ActiveSound, &TmlRealTimeButton::SetActiveSound);
    fw::Class<TmlBlurButton, TmlRealTimeButton>("TmlBlurButton")
        .Prop("ActiveTextColor", &TmlBlurButton::ActiveTextColor, &TmlBlurButton::SetActiveTextColor)
        .Idents(fw::ColorIdentTable())
        .Prop("BevelWidht", &TmlBlurButton::BevelWidht, &TmlBlurButton::SetBevelWidht)
        .Prop("Blur", &TmlBlurButton::Blur, &TmlBlurButton::SetBlur)
        .Prop("Kind", &TmlBlurButton::Kind, &TmlBlurButton::SetKind)
        .Prop("TextColor", &TmlBlurButton::TextColor, &TmlBlurButton::SetTextColor)
        .Idents(fw::ColorIdentTable());
}

}  // namespace uis
