// Geometry of the frame, bevel, arrow and alignment procedures, without a device.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/drawtypes.h"

namespace kvx {

// The thickness KVXDrawFrame consumes: 0 for lsNone, 1 for lsSingle, lsSingleRaised and lsSingleLowered,
// 2 for every other style.
int KVXFrameWidth(TKVXBorderStyle style);

// What KVXDrawBevel leaves of Rect: false (Rect unchanged) for Width 0, bvNone and bvShadow; the
// etched frames consume Width + 1 on every side, the other styles Width.
bool KVXBevelInnerRect(TKVXBevelStyle style, int width, TRect& rect);

// One horizontal run drawn by MoveTo(X0, Y) and LineTo(X1, Y): pixels X0 .. X1 - 1.
struct TKVXSpan {
    int x0 = 0;
    int x1 = 0;
    int y = 0;
    friend bool operator==(const TKVXSpan&, const TKVXSpan&) = default;
};

// The rows of the drop-down arrow, top first; nothing unless 2 <= Size <= 15. A down arrow starts at X
// (its first row spans X .. X + 2 Size - 2, the tip is the pixel (X + Size - 1, Y + Size - 1)); an up
// arrow is centred on X + Size div 2 with its tip on row Y.
std::vector<TKVXSpan> KVXArrowRows(int x, int y, int size, bool pointDown);

// A rectangle of Inner's size placed in Outer by the alignment.
void KVXAlignRect(TKVXAlignment alignment, const TRect& inner, const TRect& outer, TRect& result);

// The result bits of the glyph-and-text layout that each focus style asks for.
uint16_t KVXFocusStyleFlags(TKVXGlyphTextFocusStyle focusStyle);

// Text-format bits of the system's text drawing, as the layout and caption routines combine them.
constexpr uint32_t kDtCenter = 0x0001;
constexpr uint32_t kDtRight = 0x0002;
constexpr uint32_t kDtVCenter = 0x0004;
constexpr uint32_t kDtBottom = 0x0008;
constexpr uint32_t kDtWordBreak = 0x0010;
constexpr uint32_t kDtSingleLine = 0x0020;
constexpr uint32_t kDtExpandTabs = 0x0040;
constexpr uint32_t kDtCalcRect = 0x0400;
constexpr uint32_t kDtNoPrefix = 0x0800;

// The horizontal and vertical text-format bits of an alignment.
uint32_t KVXAlignmentFormat(TKVXAlignment alignment);

// The looks of KVXDrawButtonFrame.
enum class TKVXButtonLook { Classic, Bold, Plain, Outlined, Flat };
// ubsAutoDetect is ubsWin40 (the new window look is always on).
TKVXUserButtonStyle KVXResolveButtonStyle(TKVXUserButtonStyle style);
TKVXButtonLook KVXButtonLook(TKVXUserButtonStyle style, uint16_t flags);

}  // namespace kvx
