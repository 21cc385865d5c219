// The one-line edit's arithmetic: the horizontal scroll that keeps the caret in view, the position
// under a point, and the auto-size height. Widths come from a function, so the rules run without a
// window: W(n) is the width of the first n characters of the text shown.
#pragma once

#include <cstdint>
#include <functional>

namespace kvx {

using TKVXPrefixWidth = std::function<int(int32_t count)>;

struct TKVXCaretScroll {
    int32_t offset;  // the new scroll offset in pixels, 0 or more
    int x;           // the caret's left edge in client coordinates
    bool scrolled;   // the offset changed: the text must be repainted
};

// The text rectangle runs from Left to Right; the caret stands before character CursorPos. Past the
// right edge the text scrolls so the caret stands at Right - Left;
// left of Left it scrolls back so the caret stands at Left.
TKVXCaretScroll KVXScrollToCaret(int32_t cursorPos, int32_t length, int32_t offset, int left, int right,
                                 const TKVXPrefixWidth& width);

// The smallest position whose character's right edge reaches X; Length+1 beyond the last character.
int32_t KVXPosFromX(int x, int32_t length, int32_t offset, int left, const TKVXPrefixWidth& width);

// 5/4 of the line height, plus 5 for the system's frame or twice the bevel's width otherwise.
int KVXEditAutoHeight(int textHeight, bool windowsBevel, int bevelWidth);

}  // namespace kvx
