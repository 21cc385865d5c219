#include "widgets/controltypes.h"

namespace kvx {

void KVXRegisterControlTypes() {
    using fw::RegisterEnum;
    RegisterEnum<TKVXButtonState>({"bstUp", "bstDisabled", "bstHot", "bstLatched", "bstDown", "bstValue5", "bstDropped",
                                   "bstLatchedDisabled"},
                                  "TKVXButtonState");
    RegisterEnum<TKVXLabelOption>({"loPathEllipsis", "loEndEllipsis", "loEditControl"}, "TKVXLabelOption");
    RegisterEnum<TKVXJumpModes>({"jmInternet", "jmApplication", "jmNone", "jmCustom"}, "TKVXJumpModes");
    RegisterEnum<TKVXNormalButtonStyle>({"nbsAutoDetect", "nbsWin31", "nbsWin40"}, "TKVXNormalButtonStyle");
    RegisterEnum<TKVXGlyphKind>({"gkCustom", "gkEllipsis", "gkFile", "gkFolder", "gkCalculator", "gkCalender", "gkSearch",
                                 "gkColor", "gkFont"},
                                "TKVXGlyphKind");
    RegisterEnum<TKVXDockPosition>({"dpBottom", "dpLeft", "dpRight", "dpTop"}, "TKVXDockPosition");
    RegisterEnum<TKVXBitmapStyle>({"sbNone", "sbAutosize", "sbCenter", "sbStretch", "sbTile", "sbKeepAspRatio",
                                   "sbKeepWidth", "sbKeepHeight"},
                                  "TKVXBitmapStyle");
    RegisterEnum<TKVXGroupCaptionAlign>({"gcaTopLeft", "gcaTopCenter", "gcaTopRight", "gcaLeftBottom", "gcaLeftCenter",
                                         "gcaLeftTop", "gcaBottomLeft", "gcaBottomCenter", "gcaBottomRight", "gcaRightTop",
                                         "gcaRightCenter", "gcaRightBottom"},
                                        "TKVXGroupCaptionAlign");
    RegisterEnum<TKVXShapeControlMode>({"scmShapeFast", "scmShapeFill", "scmTeethFast", "scmTeethFill"},
                                       "TKVXShapeControlMode");
    RegisterEnum<TKVXShadowFillStyle>({"sfNone", "sfShadow", "sfFullShadow"}, "TKVXShadowFillStyle");
    RegisterEnum<TKVXAnimationStyle>({"asLoop", "asLoopHide", "asLoopReverse", "asRepeat", "asRepeatFirst", "asRepeatHide"},
                                     "TKVXAnimationStyle");
    RegisterEnum<TKVXTimerMode>({"tmGlobalTimer", "tmHiTimer", "tmThreaded"}, "TKVXTimerMode");
    RegisterEnum<TKVXIniUse>({"ioUseLink", "ioUseGlobal", "ioNone"}, "TKVXIniUse");
}

}  // namespace kvx
