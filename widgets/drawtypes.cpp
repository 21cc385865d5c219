#include "widgets/drawtypes.h"

namespace kvx {

const fw::IdentTable& KVXColorIdentTable() {
    static const fw::IdentTable table = [] {
        fw::IdentTable t;
        t.hexFallback = true;
        for (const auto& [value, name] : fw::ColorIdents()) t.idents.emplace_back(name, static_cast<int64_t>(value));
        return t;
    }();
    return table;
}

void KVXRegisterDrawTypes() {
    using fw::RegisterEnum;
    RegisterEnum<TKVXBevelStyle>({"bvNone", "bvLowered", "bvRaised", "bvFrameLowered", "bvFrameRaised", "bvNormal", "bvShadow"},
                                 "TKVXBevelStyle");
    RegisterEnum<TKVXBorderStyle>({"lsNone", "lsSingle", "lsLowered", "lsRaised", "lsRaisedspb", "lsLoweredspb",
                                   "lsRaisedExt", "lsLoweredExt", "lsFrameInset", "lsFrameOffset", "lsWindowBorder",
                                   "lsSingleRaised", "lsSingleLowered", "lsDoubleRaised", "lsDoubleLowered"},
                                  "TKVXBorderStyle");
    RegisterEnum<TKVXGradientStyle>({"gstHorizontal", "gstVertical", "gstSquare", "gstElliptic", "gstTopLeft",
                                     "gstTopRight", "gstBottomLeft", "gstBottomRight"},
                                    "TKVXGradientStyle");
    RegisterEnum<TKVXFrameSide>({"fsBottom", "fsLeft", "fsRight", "fsTop"}, "TKVXFrameSide");
    RegisterEnum<TKVXEdgeStyle>({"etRaisedInner", "etRaisedOuter", "etSunkenInner", "etSunkenOuter", "etBump", "etEtched",
                                 "etRaised", "etSunken"},
                                "TKVXEdgeStyle");
    RegisterEnum<TKVXBevelMode>({"bmCustom", "bmStandard", "bmEdge", "bmWindows"}, "TKVXBevelMode");
    RegisterEnum<TKVXShadowStyle>({"hssNone", "hssSolid", "hssTracing"}, "TKVXShadowStyle");
    RegisterEnum<TKVXFillStyle>({"sfNone", "sfBrushBitmap", "sfBrush", "sfBitmap", "sfBitmapList", "sfGradient"},
                                "TKVXFillStyle");
    RegisterEnum<TKVXTileMode>({"tmNone", "tmCenter", "tmStretch", "tmTile"}, "TKVXTileMode");
    RegisterEnum<TKVXFillOption>({"foFillInner", "foQuickDraw", "foGrUseBitmap"}, "TKVXFillOption");
    RegisterEnum<TKVXAlignment>({"agTopLeft", "agTopCenter", "agTopRight", "agCenterLeft", "agCenter", "agCenterRight",
                                 "agBottomLeft", "agBottomCenter", "agBottomRight"},
                                "TKVXAlignment");
    RegisterEnum<TKVXTextArrange>({"taLeft", "taLeftTop", "taRight", "taRightTop", "taTop", "taTopLeft", "taBottom",
                                   "taBottomLeft"},
                                  "TKVXTextArrange");
    RegisterEnum<TKVXArrowPosition>({"apRightText", "apLeftText", "apRightGlyph", "apLeftGlyph"}, "TKVXArrowPosition");
    RegisterEnum<TKVXThreeDStyle>({"tdNone", "tdSunken", "tdRaised", "tdSunkenShadow", "tdRaisedShadow", "tdPColorSunken",
                                   "tdPColorRaised", "tdShadow"},
                                  "TKVXThreeDStyle");
    RegisterEnum<TKVXDisabledStyle>({"dsAuto", "dsStandard", "ds3d", "dsNone"}, "TKVXDisabledStyle");
    RegisterEnum<TKVXGlyphTextFocusStyle>({"fcControl", "fcText", "fcGlyph", "fcGlyphText", "fcNone"},
                                          "TKVXGlyphTextFocusStyle");
    RegisterEnum<TKVXUserButtonStyle>({"ubsAutoDetect", "ubsWin31", "ubsWin40", "ubsTrevik", "ubsTrevikFlat", "ubsFlat",
                                       "ubsFlatUnColored", "ubsNavigator", "ubsExplorer", "ubsExplorerColored"},
                                      "TKVXUserButtonStyle");
    RegisterEnum<TKVXSimpleBevelStyle>({"sbNormal", "sbInset", "sbOffset"}, "TKVXSimpleBevelStyle");
    RegisterEnum<TKVXDirection>({"tdRight", "tdDown", "tdLeft", "tdUp"}, "TKVXDirection");
    RegisterEnum<TKVXShapeType>({"stEllipse", "stRectangle", "stRoundRect", "stDirectUp", "stDirectRight", "stDirectDown",
                                 "stDirectLeft", "stDiamond", "stComb", "stOctagon", "stStar"},
                                "TKVXShapeType");
    RegisterEnum<TKVXSavePixelFormat>({"spfDefault", "spfMono", "spf4bit", "spf8bit"}, "TKVXSavePixelFormat");
    RegisterEnum<TKVXDlgPosition>({"bpCustom", "bpTopLeft", "bpTopCenter", "bpTopRight", "bpCenterLeft", "bpCenter",
                                   "bpCenterRight", "bpBottomLeft", "bpBottomCenter", "bpBottomRight"},
                                  "TKVXDlgPosition");
    RegisterEnum<TKVXDlgPosRel>({"brScreen", "brScreenWorkArea", "brMainForm", "brActiveWindow"}, "TKVXDlgPosRel");
    RegisterEnum<TKVXDlgEffect>({"deNone", "deExplode", "deExplodeExt"}, "TKVXDlgEffect");
}

}  // namespace kvx
