#include "widgets/win32/buttonframe.h"

#include "widgets/drawgeometry.h"
#include "widgets/win32/dcstate.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/startup.h"

namespace kvx::win32 {

namespace {

void Fill(fw::TCanvas* canvas, const TRect& rect, TColor color) {
    KVXSolidBrush(canvas, color);
    canvas->FillRect(rect);
}

void FillChecker(fw::TCanvas* canvas, const TRect& rect, TColor color) {
    canvas->Brush()->SetBitmap(KVXCheckerBitmap(color));
    canvas->FillRect(rect);
    canvas->Brush()->SetBitmap(nullptr);
}

void Corners(fw::TCanvas* canvas, const TRect& r) {
    canvas->SetPixels(r.Left, r.Top, fw::clBtnFace);
    canvas->SetPixels(r.Right - 1, r.Top, fw::clBtnFace);
    canvas->SetPixels(r.Left, r.Bottom - 1, fw::clBtnFace);
    canvas->SetPixels(r.Right - 1, r.Bottom - 1, fw::clBtnFace);
}

}  // namespace

bool KVXDrawButtonFrame(fw::TCanvas* canvas, bool solidLatched, TRect& rect, TKVXUserButtonStyle style, uint8_t state,
                        uint16_t flags, TColor color) {
    using U = TKVXUserButtonStyle;
    style = KVXResolveButtonStyle(style);
    const TKVXButtonLook look = KVXButtonLook(style, flags);
    const bool explorer = style == U::ubsExplorer || style == U::ubsExplorerColored;
    const bool pressed = state == kButtonLatched || state == 4 || state == 6 || state == 7;
    HDC dc = canvas->Handle();

    // Background.
    if (!explorer) {
        if (state == kButtonLatched && !(look == TKVXButtonLook::Flat && solidLatched))
            FillChecker(canvas, rect, color);
        else
            Fill(canvas, rect, color);
    }
    // The focus outline.
    if (!pressed && (flags & (kbfFocused | kbfOutline))) {
        KVXEdge(dc, rect, BDR_SUNKENOUTER, BF_SOFT | BF_TOPLEFT | ((flags & kbfMiddle) ? BF_MIDDLE : 0));
        KVXEdge(dc, rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        if (style == U::ubsWin31 && (flags & kbfCorners)) {
            Corners(canvas, rect);
            flags &= static_cast<uint16_t>(~kbfCorners);
        }
        rect = fw::InflateRect(rect, -1, -1);
    }
    TRect k = rect;
    switch (look) {
        case TKVXButtonLook::Classic:
            KVXEdge(dc, rect, BDR_SUNKENOUTER, BF_SOFT | BF_TOPLEFT);
            KVXEdge(dc, rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
            if (flags & kbfCorners) Corners(canvas, rect);
            rect = fw::InflateRect(rect, -1, -1);
            if (pressed) {
                KVXEdge(dc, rect, BDR_SUNKENINNER, BF_TOPLEFT);
            } else {
                KVXEdge(dc, rect, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
                KVXEdge(dc, rect, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
            }
            k = fw::InflateRect(k, -1, -1);
            break;
        case TKVXButtonLook::Bold:
            if (!pressed)
                KVXDrawFrame(canvas, rect, TKVXBorderStyle::lsRaisedspb, BF_RECT);
            else if (flags & kbfSunken)
                KVXEdge(dc, rect, EDGE_SUNKEN, BF_RECT);
            else
                KVXDrawFrame(canvas, rect, TKVXBorderStyle::lsLowered, BF_RECT);
            break;
        case TKVXButtonLook::Plain:
            if (pressed) {
                KVXSolidPen(canvas, fw::clBlack);
                canvas->Rectangle(rect);
                canvas->Pen()->SetColor(0x808080);
                canvas->Rectangle(fw::InflateRect(rect, -1, -1));
                canvas->Pen()->SetColor(fw::clBlack);
            } else if (flags & kbfFocused) {
                KVXEdge(dc, rect, BDR_RAISEDOUTER, BF_ADJUST | BF_SOFT | BF_RECT);
                KVXEdge(dc, rect, BDR_RAISEDINNER, BF_ADJUST | BF_BOTTOMRIGHT);
            } else {
                KVXDrawFrame(canvas, rect, TKVXBorderStyle::lsRaisedspb, 0);
            }
            break;
        case TKVXButtonLook::Flat:
            if ((style == U::ubsTrevikFlat || style == U::ubsNavigator) && (pressed || state == kButtonHot)) {
                canvas->Rectangle(rect);
                rect = fw::InflateRect(rect, -1, -1);
            }
            if (pressed)
                KVXEdge(dc, rect, BDR_SUNKENOUTER, BF_ADJUST | BF_RECT);
            else if (state == kButtonHot)
                KVXEdge(dc, rect, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
            else if (!explorer)
                Fill(canvas, rect, color);
            break;
        case TKVXButtonLook::Outlined:
            KVXSolidPen(canvas, fw::clBlack);
            canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
            canvas->Rectangle(rect);
            if (pressed) {
                canvas->Pen()->SetColor(0x808080);
                canvas->MoveTo(rect.Left + 1, rect.Top + 1);
                canvas->LineTo(rect.Right - 1, rect.Top + 1);
                canvas->MoveTo(rect.Left + 1, rect.Top + 1);
                canvas->LineTo(rect.Left + 1, rect.Bottom - 1);
            } else {
                TRect inner = fw::InflateRect(rect, -1, -1);
                KVXEdge(dc, inner, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
            }
            break;
    }
    if (flags & kbfFocused) {
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
        canvas->DrawFocusRect(fw::InflateRect(k, pressed ? -4 : -3, pressed ? -4 : -3));
    }
    rect = fw::InflateRect(k, -3, -3);
    if (pressed) rect = fw::OffsetRect(rect, 1, 1);
    return true;
}

}  // namespace kvx::win32
