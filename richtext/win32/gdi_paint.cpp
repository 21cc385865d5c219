#include "richtext/win32/gdi_paint.h"

#include <vector>

namespace rt {

namespace {

void Fill(HDC dc, int left, int top, int right, int bottom, TColor color) {
    if (right <= left || bottom <= top) return;
    const RECT r{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(ColorRef(color));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

HPEN MakePen(TPenStyle style, int width, TColor color) {
    int gdiStyle = PS_SOLID;
    switch (style) {
        case TPenStyle::psSolid: gdiStyle = PS_SOLID; break;
        case TPenStyle::psDot: gdiStyle = PS_DOT; break;
        case TPenStyle::psDash: gdiStyle = PS_DASH; break;
        case TPenStyle::psDashDot: gdiStyle = PS_DASHDOT; break;
    }
    if (width <= 1 || gdiStyle == PS_SOLID) return CreatePen(gdiStyle, width < 1 ? 1 : width, ColorRef(color));
    // Wide styled lines need a geometric pen; a cosmetic one would draw them solid.
    LOGBRUSH brush{BS_SOLID, ColorRef(color), 0};
    return ExtCreatePen(PS_GEOMETRIC | gdiStyle | PS_ENDCAP_FLAT, static_cast<DWORD>(width), &brush, 0, nullptr);
}

// A line through both of its end points (LineTo leaves the last point out).
void DrawLine(HDC dc, const TPaintOp& op) {
    HPEN pen = MakePen(op.penStyle, op.penWidth, op.color);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, op.left, op.top, nullptr);
    int x = op.right, y = op.bottom;
    if (op.top == op.bottom)
        x += op.right >= op.left ? 1 : -1;
    else if (op.left == op.right)
        y += op.bottom >= op.top ? 1 : -1;
    LineTo(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void Frame(HDC dc, const TPaintOp& op) {
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, op.left, op.top, op.right, op.bottom);
    if (op.kind == TPaintOp::Kind::CrossedRect) {
        MoveToEx(dc, op.left, op.top, nullptr);
        LineTo(dc, op.right, op.bottom);
        MoveToEx(dc, op.right - 1, op.top, nullptr);
        LineTo(dc, op.left - 1, op.bottom);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace

COLORREF ColorRef(TColor color) {
    if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

void ReplayPaintList(HDC dc, const TPaintList& list, TGdiFontCache& fonts, const TObjectPainter& paintObject) {
    if (list.empty()) return;
    const UINT oldAlign = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    const int oldMode = GetBkMode(dc);
    const COLORREF oldText = GetTextColor(dc);
    const COLORREF oldBack = GetBkColor(dc);
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    std::vector<INT> dx;
    for (const TPaintOp& op : list) {
        switch (op.kind) {
            case TPaintOp::Kind::Fill:
                Fill(dc, op.left, op.top, op.right, op.bottom, op.color);
                break;
            case TPaintOp::Kind::Text: {
                SelectObject(dc, fonts.Get(op.font));
                SetTextColor(dc, ColorRef(op.color));
                SetBkColor(dc, ColorRef(op.back));
                SetBkMode(dc, op.opaque ? OPAQUE : TRANSPARENT);
                const RECT r{op.left, op.top, op.right, op.bottom};
                dx.assign(op.advances.begin(), op.advances.end());
                const bool withAdvances = dx.size() == op.text.size() && !dx.empty();
                ExtTextOutA(dc, op.left, op.baseline, ETO_CLIPPED | (op.opaque ? ETO_OPAQUE : 0), &r, op.text.data(),
                            static_cast<UINT>(op.text.size()), withAdvances ? dx.data() : nullptr);
                break;
            }
            case TPaintOp::Kind::Line:
                SetBkMode(dc, TRANSPARENT);  // the gaps of styled lines stay unpainted
                DrawLine(dc, op);
                break;
            case TPaintOp::Kind::Object:
                if (!paintObject || !paintObject(op, dc)) Fill(dc, op.left, op.top, op.right, op.bottom, op.color);
                break;
            case TPaintOp::Kind::Placeholder: {
                Frame(dc, op);
                SelectObject(dc, fonts.Get(op.font));
                SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, 0);
                TEXTMETRICA tm{};
                GetTextMetricsA(dc, &tm);
                const RECT r{op.left + 1, op.top + 1, op.right - 1, op.bottom - 1};
                ExtTextOutA(dc, op.left + 2, op.top + (op.bottom - op.top - tm.tmHeight) / 2, ETO_CLIPPED, &r,
                            op.text.data(), static_cast<UINT>(op.text.size()), nullptr);
                SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
                break;
            }
            case TPaintOp::Kind::CrossedRect:
                Frame(dc, op);
                break;
        }
    }
    SelectObject(dc, oldFont);
    SetBkColor(dc, oldBack);
    SetTextColor(dc, oldText);
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
}

}  // namespace rt
