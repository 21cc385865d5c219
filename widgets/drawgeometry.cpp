#include "widgets/drawgeometry.h"

namespace kvx {

int KVXFrameWidth(TKVXBorderStyle style) {
    switch (style) {
        case TKVXBorderStyle::lsNone: return 0;
        case TKVXBorderStyle::lsSingle:
        case TKVXBorderStyle::lsSingleRaised:
        case TKVXBorderStyle::lsSingleLowered: return 1;
        default: return 2;
    }
}

bool KVXBevelInnerRect(TKVXBevelStyle style, int width, TRect& rect) {
    if (width == 0 || style == TKVXBevelStyle::bvNone || style == TKVXBevelStyle::bvShadow) return false;
    const bool etched = style == TKVXBevelStyle::bvFrameLowered || style == TKVXBevelStyle::bvFrameRaised;
    const int d = etched ? width + 1 : width;
    rect = {rect.Left + d, rect.Top + d, rect.Right - d, rect.Bottom - d};
    return true;
}

std::vector<TKVXSpan> KVXArrowRows(int x, int y, int size, bool pointDown) {
    std::vector<TKVXSpan> rows;
    if (size < 2 || size > 15) return rows;
    if (pointDown) {
        for (int i = 0; i <= size - 2; ++i) rows.push_back({x + i, x + 2 * size - i - 1, y + i});
        rows.push_back({x + size - 1, x + size, y + size - 1});
    } else {
        const int m = x + size / 2;
        for (int i = 0; i < size; ++i) rows.push_back({m - i, m + i + 1, y + i});
    }
    return rows;
}

void KVXAlignRect(TKVXAlignment alignment, const TRect& inner, const TRect& outer, TRect& result) {
    const int w = inner.Width(), h = inner.Height();
    const int W = outer.Width(), H = outer.Height();
    const int a = static_cast<int>(alignment);
    const int row = a / 3, column = a % 3;
    const int dy = row == 0 ? 0 : row == 1 ? (H - h) / 2 : H - h;
    const int dx = column == 0 ? 0 : column == 1 ? (W - w) / 2 : W - w;
    result = {outer.Left + dx, outer.Top + dy, outer.Left + dx + w, outer.Top + dy + h};
}

uint16_t KVXFocusStyleFlags(TKVXGlyphTextFocusStyle focusStyle) {
    switch (focusStyle) {
        case TKVXGlyphTextFocusStyle::fcText: return ktfResultText;
        case TKVXGlyphTextFocusStyle::fcGlyph: return ktfResultGlyph;
        case TKVXGlyphTextFocusStyle::fcGlyphText: return ktfResultUnion;
        default: return 0;
    }
}

uint32_t KVXAlignmentFormat(TKVXAlignment alignment) {
    const int a = static_cast<int>(alignment);
    static constexpr uint32_t rows[3] = {0, kDtVCenter, kDtBottom};
    static constexpr uint32_t columns[3] = {0, kDtCenter, kDtRight};
    return rows[a / 3] | columns[a % 3];
}

TKVXUserButtonStyle KVXResolveButtonStyle(TKVXUserButtonStyle style) {
    return style == TKVXUserButtonStyle::ubsAutoDetect ? TKVXUserButtonStyle::ubsWin40 : style;
}

TKVXButtonLook KVXButtonLook(TKVXUserButtonStyle style, uint16_t flags) {
    const bool bold = (flags & kbfDefault) != 0;
    switch (KVXResolveButtonStyle(style)) {
        case TKVXUserButtonStyle::ubsWin31: return TKVXButtonLook::Classic;
        case TKVXUserButtonStyle::ubsWin40: return bold ? TKVXButtonLook::Bold : TKVXButtonLook::Plain;
        case TKVXUserButtonStyle::ubsTrevik: return bold ? TKVXButtonLook::Outlined : TKVXButtonLook::Plain;
        default: return TKVXButtonLook::Flat;
    }
}

}  // namespace kvx
