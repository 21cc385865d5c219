// TPanel.
#include "framework/win32/std_panel.h"

#include "framework/win32/caption_check.h"

namespace fw {

void DrawBevel(TCanvas* canvas, TRect& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone) return;
    const TColor topLeft = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
    for (int i = 0; i < width; ++i) {
        if (cut != TBevelCut::bvSpace) {
            canvas->Pen()->SetColor(topLeft);
            canvas->MoveTo(rect.Left, rect.Bottom - 1);
            canvas->LineTo(rect.Left, rect.Top);
            canvas->LineTo(rect.Right - 1, rect.Top);
            canvas->Pen()->SetColor(bottomRight);
            canvas->LineTo(rect.Right - 1, rect.Bottom - 1);
            canvas->LineTo(rect.Left - 1, rect.Bottom - 1);
        }
        rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
    }
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque | csDoubleClicks;
    SetBounds(0, 0, 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int inset = borderWidth_;
    if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
    if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
    rect = Rect(rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset);
}

bool TCustomPanel::MeasureCaption(int& needed, int& room) {
    const std::string caption = Caption();
    if (caption.empty()) return false;
    TRect inside = ClientRect();
    AdjustClientRect(inside);
    needed = CaptionTextWidth(Font()->Handle(), caption, DT_EXPANDTABS);
    room = inside.Width();
    return true;
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(rect);
    DrawBevel(canvas, rect, bevelOuter_, bevelWidth_);
    rect = Rect(rect.Left + borderWidth_, rect.Top + borderWidth_, rect.Right - borderWidth_, rect.Bottom - borderWidth_);
    DrawBevel(canvas, rect, bevelInner_, bevelWidth_);
    const std::string caption = Caption();
    if (!caption.empty()) {
        canvas->SetFont(Font());
        canvas->Brush()->SetColor(Color());
        RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
        flags |= alignment_ == TAlignment::taCenter ? DT_CENTER
                 : alignment_ == TAlignment::taRightJustify ? DT_RIGHT
                                                             : DT_LEFT;
        HDC dc = canvas->Handle();
        SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &r, flags);
    }
    TCustomControl::Paint();
}

void TCustomPanel::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    Invalidate();
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    bevelInner_ = value;
    Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    bevelOuter_ = value;
    Changed();
}

void TCustomPanel::SetBevelWidth(int value) {
    bevelWidth_ = std::max(value, 1);
    Changed();
}

void TCustomPanel::SetBorderWidth(int value) {
    borderWidth_ = std::max(value, 0);
    Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Invalidate();
}

void RegisterPanelClasses() {
    RegisterStdSupport();
    RegisterEnum<TBevelCut>({"bvNone", "bvLowered", "bvRaised", "bvSpace"}, "TBevelCut");
    Class<TCustomPanel, TCustomControl>("TCustomPanel")
        .Prop("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Prop("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Prop("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth)
        .Prop("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth)
        .Prop("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle)
        .Prop("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment);
    Class<TPanel, TCustomPanel>("TPanel");
}

}  // namespace fw
