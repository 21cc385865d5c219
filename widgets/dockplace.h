// Where a docked button goes beside its control, and where the control goes when the button moves,
// without a window. Margin is the gap between the two; with AdjustSize the button takes the control's
// width (above or below it) or height (left or right of it), and the control the button's.
#pragma once

#include "widgets/controltypes.h"

namespace kvx {

// The button's bounds for the control's bounds and the button's size W x H.
TRect KVXPlaceBesideControl(const TRect& control, int width, int height, TKVXDockPosition position, bool adjustSize,
                            int margin);
// The control's bounds for the button's bounds and the control's size W x H.
TRect KVXMoveControlToButton(const TRect& button, int width, int height, TKVXDockPosition position, bool adjustSize,
                             int margin);

}  // namespace kvx
