#include "widgets/editscroll.h"

namespace kvx {

TKVXCaretScroll KVXScrollToCaret(int32_t cursorPos, int32_t length, int32_t offset, int left, int right,
                                 const TKVXPrefixWidth& width) {
    auto caretX = [&](int32_t o) { return length == 0 ? left : width(cursorPos - 1) - o + left; };
    TKVXCaretScroll r{offset, caretX(offset), false};
    if (r.x > right - 2) {
        r.offset = offset + r.x - right + left;
        r.scrolled = true;
    } else if (r.x < left && offset != 0) {
        // Back just far enough for the caret to stand at the left edge.
        r.offset = offset - (left - r.x);
        if (r.offset < 0) r.offset = 0;
        r.scrolled = true;
    }
    r.x = caretX(r.offset);
    return r;
}

int32_t KVXPosFromX(int x, int32_t length, int32_t offset, int left, const TKVXPrefixWidth& width) {
    for (int32_t i = 1; i <= length; ++i)
        if (width(i) - offset + left >= x) return i;
    return length + 1;
}

int KVXEditAutoHeight(int textHeight, bool windowsBevel, int bevelWidth) {
    return textHeight * 5 / 4 + (windowsBevel ? 5 : 2 * bevelWidth);
}

}  // namespace kvx
