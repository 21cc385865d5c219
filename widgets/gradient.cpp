#include "widgets/gradient.h"

#include <cmath>

namespace kvx {

int KVXMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t num = static_cast<int64_t>(a) * b;
    int64_t den = c;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    const int64_t q = num >= 0 ? (num + den / 2) / den : (num - den / 2) / den;
    if (q > INT32_MAX || q < -INT32_MAX) return -1;
    return static_cast<int>(q);
}

void KVXGradientTable(TColor startRGB, TColor endRGB, int count, TKVXColorTable& table) {
    if (count <= 0) return;
    table.clear();
    const int r1 = fw::GetRValue(startRGB), g1 = fw::GetGValue(startRGB), b1 = fw::GetBValue(startRGB);
    const int r2 = fw::GetRValue(endRGB), g2 = fw::GetGValue(endRGB), b2 = fw::GetBValue(endRGB);
    // One colour has no steps between its ends: it is the start colour (MulDiv by 0 would give -1).
    if (count == 1) {
        table.push_back(fw::RGB(r1, g1, b1));
        return;
    }
    const int last = count - 1;
    for (int i = 0; i < count; ++i)
        table.push_back(fw::RGB(r1 + KVXMulDiv(i, r2 - r1, last), g1 + KVXMulDiv(i, g2 - g1, last),
                                b1 + KVXMulDiv(i, b2 - b1, last)));
}

TRect KVXGradientAnchor(TKVXGradientStyle style, int width, int height) {
    switch (style) {
        case TKVXGradientStyle::gstHorizontal:
        case TKVXGradientStyle::gstVertical: return {0, 0, width, height};
        case TKVXGradientStyle::gstSquare:
        case TKVXGradientStyle::gstElliptic: return {width / 2, height / 2, width / 2, height / 2};
        case TKVXGradientStyle::gstTopLeft: return {0, 0, 1, 1};
        case TKVXGradientStyle::gstTopRight: return {width, 1, width + 1, 0};
        case TKVXGradientStyle::gstBottomLeft: return {1, height, 0, height + 1};
        case TKVXGradientStyle::gstBottomRight: return {width, height, width + 1, height + 1};
    }
    return {};
}

std::vector<TKVXGradientFigure> KVXGradientFigures(TKVXGradientStyle style, int width, int height, int count,
                                                   TPoint origin) {
    std::vector<TKVXGradientFigure> out;
    if (width <= 0 || height <= 0 || count < 1) return out;
    const int n = count;
    TRect a = KVXGradientAnchor(style, width, height);
    a = fw::OffsetRect(a, origin.X, origin.Y);
    using K = TKVXFigureKind;
    if (style == TKVXGradientStyle::gstHorizontal) {
        for (int i = 0; i < n; ++i)
            out.push_back({K::Fill, {a.Left + KVXMulDiv(i, width, n), a.Top, a.Left + KVXMulDiv(i + 1, width, n), a.Bottom}, i});
        return out;
    }
    for (int i = n - 1; i >= 0; --i) {
        const int k = i + 1;
        const int mw = KVXMulDiv(k, width, n);
        const int mh = KVXMulDiv(k, height, n);
        switch (style) {
            case TKVXGradientStyle::gstVertical:
                out.push_back({K::Fill, {a.Left, a.Top + KVXMulDiv(i, height, n), a.Right, a.Top + mh}, i});
                break;
            case TKVXGradientStyle::gstSquare: {
                const int dx = mw / 2, dy = mh / 2;
                out.push_back({K::Rectangle, {a.Left - dx, a.Top - dy, a.Left + dx + 2, a.Top + dy + 2}, i});
                break;
            }
            case TKVXGradientStyle::gstElliptic: {
                const int dx = static_cast<int>(std::lround(mw / 1.4));
                const int dy = static_cast<int>(std::lround(mh / 1.4));
                out.push_back({K::Ellipse, {a.Left - dx, a.Top - dy, a.Left + dx, a.Top + dy}, i});
                break;
            }
            case TKVXGradientStyle::gstTopLeft:
                out.push_back({K::Rectangle, {a.Left, a.Top, a.Right + mw, a.Bottom + mh}, i});
                break;
            case TKVXGradientStyle::gstTopRight:
                out.push_back({K::Rectangle, {a.Left - mw, a.Top + mh, a.Right, a.Bottom}, i});
                break;
            case TKVXGradientStyle::gstBottomLeft:
                out.push_back({K::Rectangle, {a.Left + mw, a.Top - mh, a.Right, a.Bottom}, i});
                break;
            case TKVXGradientStyle::gstBottomRight:
                out.push_back({K::Rectangle, {a.Left - mw, a.Top - mh, a.Right, a.Bottom}, i});
                break;
            case TKVXGradientStyle::gstHorizontal: break;
        }
    }
    return out;
}

}  // namespace kvx
