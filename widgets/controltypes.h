// The enumerations the suite's controls publish (registered for form text by KVXRegisterControlTypes)
// and the button state every suite button runs on.
#pragma once

#include <cstdint>

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"

namespace kvx {

// A button's look, one byte; buttons keep the current and the previous state. Value 5 is never entered
// by a button; pictures and faces treat it as a hot state.
enum class TKVXButtonState : uint8_t {
    bstUp = 0,
    bstDisabled = 1,
    bstHot = 2,
    bstLatched = 3,
    bstDown = 4,
    bstValue5 = 5,
    bstDropped = 6,
    bstLatchedDisabled = 7
};
constexpr int kKVXButtonStates = 8;

// Labels.
enum class TKVXLabelOption { loPathEllipsis, loEndEllipsis, loEditControl };
using TKVXLabelOptions = fw::Set<TKVXLabelOption>;
enum class TKVXJumpModes { jmInternet, jmApplication, jmNone, jmCustom };

// Buttons.
enum class TKVXNormalButtonStyle { nbsAutoDetect, nbsWin31, nbsWin40 };
enum class TKVXGlyphKind { gkCustom, gkEllipsis, gkFile, gkFolder, gkCalculator, gkCalender, gkSearch, gkColor, gkFont };
enum class TKVXDockPosition { dpBottom, dpLeft, dpRight, dpTop };

// Pictures placed in a control (images, faces).
enum class TKVXBitmapStyle { sbNone, sbAutosize, sbCenter, sbStretch, sbTile, sbKeepAspRatio, sbKeepWidth, sbKeepHeight };

// Group box caption: 0-2 on the top side, 3-5 left, 6-8 bottom, 9-11 right.
enum class TKVXGroupCaptionAlign {
    gcaTopLeft, gcaTopCenter, gcaTopRight, gcaLeftBottom, gcaLeftCenter, gcaLeftTop, gcaBottomLeft, gcaBottomCenter,
    gcaBottomRight, gcaRightTop, gcaRightCenter, gcaRightBottom
};

// Shapes.
enum class TKVXShapeControlMode { scmShapeFast, scmShapeFill, scmTeethFast, scmTeethFill };
enum class TKVXShadowFillStyle { sfNone, sfShadow, sfFullShadow };

// Animation.
enum class TKVXAnimationStyle { asLoop, asLoopHide, asLoopReverse, asRepeat, asRepeatFirst, asRepeatHide };
enum class TKVXTimerMode { tmGlobalTimer, tmHiTimer, tmThreaded };

// Where an ini component finds its settings store.
enum class TKVXIniUse { ioUseLink, ioUseGlobal, ioNone };

// The name tables of these enumerations. Harmless to repeat.
void KVXRegisterControlTypes();

}  // namespace kvx
