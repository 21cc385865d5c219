// The rules of the picture list box and the filled panel that need no device: which picture an item
// shows, which part of its text is drawn, and the draw-text flags of a panel caption.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"

namespace kvx {

enum class TKVXImageBoxOption { lboImageListOrder, lboCheckImageNr, lboCalcHeight, lboTransparentImages };
using TKVXImageBoxOptions = fw::Set<TKVXImageBoxOption>;
constexpr TKVXImageBoxOptions kKVXImageBoxDefaultOptions{TKVXImageBoxOption::lboImageListOrder,
                                                         TKVXImageBoxOption::lboCheckImageNr};

// What the list box knows about its items and its image list when it picks a picture.
struct TKVXImageChoice {
    TKVXImageBoxOptions options = kKVXImageBoxDefaultOptions;
    char delimiter = '|';
    int defaultItem = -1;
    // Pictures available (a bitmap list's bitmaps, or the images of the chosen list); -1 when there is
    // no usable image list.
    int pictureCount = -1;
    int itemCount = 0;
};

// The picture item Index shows, or -1. In list order item i shows picture i; otherwise the number after
// the first delimiter picks it, and an item without a delimiter shows the default picture. A number that
// is not one, or names no picture of the list (negative or past its end), gives no picture.
int KVXImageBoxPicture(const TKVXImageChoice& choice, int index, const std::string& text);
// The text drawn for an item: with lboCheckImageNr the part before the first delimiter.
std::string KVXImageBoxText(TKVXImageBoxOptions options, char delimiter, const std::string& text);

// A panel caption: one line, tabs expanded, no accelerator, placed by the alignment (and read right to
// left when asked).
uint32_t KVXPanelCaptionFlags(TKVXAlignment alignment, bool rightToLeft);

}  // namespace kvx
