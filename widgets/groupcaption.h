// Where a group box puts its caption and its frame, without a device. The caption sits on one of the
// four sides, at its start, centre or end; on the left side it reads upwards (90 degrees), on the right
// side downwards (270 degrees). The frame runs through the middle of the caption's line, and the
// children are arranged outside the caption's strip.
#pragma once

#include "widgets/controltypes.h"

namespace kvx {

enum class TKVXGroupSide { Top, Left, Bottom, Right };
TKVXGroupSide KVXGroupSide(TKVXGroupCaptionAlign align);
// 0, 90 or 270 degrees.
int KVXGroupCaptionAngle(TKVXGroupCaptionAlign align);
// The text alignment the caption is drawn with inside its rectangle.
TKVXAlignment KVXGroupTextAlignment(TKVXGroupCaptionAlign align);

struct TKVXGroupRects {
    TRect caption;  // where the caption's text rectangle is computed
    TRect bevel;    // where the frame is painted
};
// For a box of Width x Height whose caption line is Extent high, CaptionOffset from a corner.
TKVXGroupRects KVXGroupRects(TKVXGroupCaptionAlign align, int width, int height, int extent, int captionOffset);
// The area behind the caption's text that is wiped: two pixels more before the text.
TRect KVXGroupWipeRect(TKVXGroupCaptionAlign align, const TRect& text);
// The arrange rectangle less the caption's strip on its side.
TRect KVXGroupArrangeRect(TKVXGroupCaptionAlign align, const TRect& rect, int extent);

}  // namespace kvx
