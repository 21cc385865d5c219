// Window placement and the explode effects' outlines, without a device.
#pragma once

#include <vector>

#include "widgets/drawtypes.h"

namespace kvx {

// The top-left corner of a Width x Height window at Position of RefRect, then kept on a screen of
// ScreenWidth x ScreenHeight: a window reaching below the screen goes up to RefRect's bottom edge, one
// reaching past its right edge to RefRect's right edge, and a negative coordinate becomes 0.
TPoint KVXPlacePosition(int width, int height, const TRect& refRect, TKVXDlgPosition position, int screenWidth,
                        int screenHeight);

// Steps of 3 or less become 40, a delay of 0 or less becomes 1.
int KVXEffectSteps(int steps);
int KVXEffectDelay(int delay);

// The effects' pause before each outline: an empty loop counted Delay x 10,000 times on the calling
// thread (a volatile counter, so that no compiler drops it).
void KVXEffectPause(int delay);

// The outlines of one pass of the explode effect: Steps rectangles growing from (X, Y) into Target,
// which is the last one.
std::vector<TRect> KVXExplodeRects(int x, int y, int steps, const TRect& target);

// One pass of the extended effect: with Fly, Steps outlines of StartWidth x StartHeight travelling from
// (X, Y) to the turning point (X + (Target.Left - X) div 2, Target.Bottom); then Steps outlines growing
// from the turning point into Target, which is the last one.
std::vector<TRect> KVXExplodeExtRects(int x, int y, int steps, int startWidth, int startHeight, bool fly,
                                      const TRect& target);

}  // namespace kvx
