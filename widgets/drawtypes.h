// The types shared by the suite's drawing procedures and graphic property objects: the enumerations
// that forms stream by name (registered by KVXRegisterDrawTypes) and the flag words the procedures take.
#pragma once

#include <cstdint>

#include "framework/core/graphics_values.h"
#include "framework/core/rtti.h"

namespace kvx {

using fw::TColor;
using fw::TPoint;
using fw::TRect;

// ---- frames, bevels and gradients ---------------------------------------------------------------
enum class TKVXBevelStyle { bvNone, bvLowered, bvRaised, bvFrameLowered, bvFrameRaised, bvNormal, bvShadow };
enum class TKVXBorderStyle {
    lsNone, lsSingle, lsLowered, lsRaised, lsRaisedspb, lsLoweredspb, lsRaisedExt, lsLoweredExt,
    lsFrameInset, lsFrameOffset, lsWindowBorder, lsSingleRaised, lsSingleLowered, lsDoubleRaised, lsDoubleLowered
};
enum class TKVXGradientStyle {
    gstHorizontal, gstVertical, gstSquare, gstElliptic, gstTopLeft, gstTopRight, gstBottomLeft, gstBottomRight
};
// Colour steps of a gradient (2..236 where a property holds it).
using TKVXColorCount = uint8_t;
constexpr int kKVXMinColorCount = 2;
constexpr int kKVXMaxColorCount = 236;

// ---- graphic property objects -------------------------------------------------------------------
enum class TKVXFrameSide { fsBottom, fsLeft, fsRight, fsTop };
using TKVXFrameSides = fw::Set<TKVXFrameSide>;
enum class TKVXEdgeStyle { etRaisedInner, etRaisedOuter, etSunkenInner, etSunkenOuter, etBump, etEtched, etRaised, etSunken };
enum class TKVXBevelMode { bmCustom, bmStandard, bmEdge, bmWindows };
enum class TKVXShadowStyle { hssNone, hssSolid, hssTracing };
enum class TKVXFillStyle { sfNone, sfBrushBitmap, sfBrush, sfBitmap, sfBitmapList, sfGradient };
enum class TKVXTileMode { tmNone, tmCenter, tmStretch, tmTile };
enum class TKVXFillOption { foFillInner, foQuickDraw, foGrUseBitmap };
using TKVXFillOptions = fw::Set<TKVXFillOption>;
using TKVXBevelWidth = uint8_t;   // 0..50
using TKVXBorderWidth = uint8_t;  // 0..255
using TKVXShadowDepth = uint8_t;  // 0..40
using TKVXAngle = int;            // 0..360, where 360 is stored as 0
constexpr int kKVXMaxBevelWidth = 50;
constexpr int kKVXMaxShadowDepth = 40;

// ---- captions and glyph-and-text layout ---------------------------------------------------------
enum class TKVXAlignment {
    agTopLeft, agTopCenter, agTopRight, agCenterLeft, agCenter, agCenterRight, agBottomLeft, agBottomCenter, agBottomRight
};
// Where the text stands relative to the glyph.
enum class TKVXTextArrange { taLeft, taLeftTop, taRight, taRightTop, taTop, taTopLeft, taBottom, taBottomLeft };
enum class TKVXArrowPosition { apRightText, apLeftText, apRightGlyph, apLeftGlyph };
enum class TKVXThreeDStyle {
    tdNone, tdSunken, tdRaised, tdSunkenShadow, tdRaisedShadow, tdPColorSunken, tdPColorRaised, tdShadow
};
enum class TKVXDisabledStyle { dsAuto, dsStandard, ds3d, dsNone };
enum class TKVXGlyphTextFocusStyle { fcControl, fcText, fcGlyph, fcGlyphText, fcNone };
enum class TKVXUserButtonStyle {
    ubsAutoDetect, ubsWin31, ubsWin40, ubsTrevik, ubsTrevikFlat, ubsFlat, ubsFlatUnColored, ubsNavigator, ubsExplorer,
    ubsExplorerColored
};
using TKVXDDArrowSize = uint8_t;  // 2..10

// ---- shapes -------------------------------------------------------------------------------------
enum class TKVXSimpleBevelStyle { sbNormal, sbInset, sbOffset };
// The edge that carries the teeth.
enum class TKVXDirection { tdRight, tdDown, tdLeft, tdUp };
enum class TKVXShapeType {
    stEllipse, stRectangle, stRoundRect, stDirectUp, stDirectRight, stDirectDown, stDirectLeft, stDiamond, stComb,
    stOctagon, stStar
};

// ---- containers and windows ---------------------------------------------------------------------
enum class TKVXSavePixelFormat { spfDefault, spfMono, spf4bit, spf8bit };
enum class TKVXDlgPosition {
    bpCustom, bpTopLeft, bpTopCenter, bpTopRight, bpCenterLeft, bpCenter, bpCenterRight, bpBottomLeft, bpBottomCenter,
    bpBottomRight
};
enum class TKVXDlgPosRel { brScreen, brScreenWorkArea, brMainForm, brActiveWindow };
enum class TKVXDlgEffect { deNone, deExplode, deExplodeExt };

// ---- flag words ---------------------------------------------------------------------------------
// Placement and gradient flags (one word; the bitmap and gradient procedures give the bits one meaning).
constexpr uint16_t kpfClip = 0x0001;        // clip to the destination rectangle
constexpr uint16_t kpfOffscreen = 0x0004;   // gradients: paint an off-screen bitmap, then copy it
constexpr uint16_t kpfCenter = 0x0008;      // centre at natural size
constexpr uint16_t kpfStretch = 0x0010;     // stretch to the destination
constexpr uint16_t kpfTile = 0x0020;        // repeat from the top-left corner
constexpr uint16_t kpfColorMask = 0x0040;   // transparent colour, mask built on the fly
constexpr uint16_t kpfBrushCopy = 0x0080;   // transparent through the canvas's brush copy
constexpr uint16_t kpfGivenMask = 0x0100;   // transparent through a caller's mask
constexpr uint16_t kpfFitHeight = 0x0200;   // with stretch: full height, width in proportion
constexpr uint16_t kpfFitWidth = 0x0400;    // with stretch: full width, height in proportion
constexpr uint16_t kpfFitBoth = 0x0600;     // with stretch: the largest size that fits
constexpr uint16_t kpfPalette = 0x1000;     // select and realize the palette first
// A colour given palette-relative (the system's PALETTERGB marker).
constexpr uint32_t kPaletteRelative = 0x02000000;

// Text flags of the caption and glyph-and-text procedures.
constexpr uint16_t ktfEnabled = 0x0002;       // the control is enabled
constexpr uint16_t ktf3DDisabled = 0x0004;    // the automatic disabled look is 3D
constexpr uint16_t ktfClip = 0x0008;          // clip to the rectangle
constexpr uint16_t ktfShowAccel = 0x0010;     // show accelerator characters (captions)
constexpr uint16_t ktfNoAlign = 0x0020;       // the block stays at the origin
constexpr uint16_t ktfResultText = 0x0040;    // result: the text rectangle grown by 1
constexpr uint16_t ktfResultGlyph = 0x0080;   // result: the glyph rectangle
constexpr uint16_t ktfResultUnion = 0x0100;   // result: glyph and text grown by 1
constexpr uint16_t ktfMeasureOnly = 0x0200;   // nothing is drawn; implies ktfResultUnion

// Button-frame flags.
constexpr uint16_t kbfCorners = 0x0001;   // classic look: corner pixels in the face colour
constexpr uint16_t kbfFocused = 0x0002;   // outline and focus rectangle
constexpr uint16_t kbfDefault = 0x0004;   // the bold (or outlined) look
constexpr uint16_t kbfSunken = 0x0008;    // bold look pressed: a sunken edge
constexpr uint16_t kbfMiddle = 0x0010;    // the outline fills its middle
constexpr uint16_t kbfOutline = 0x0020;   // outline without focus

// Colour identifiers (clRed, clBtnFace, ...; $hex otherwise) for the published colour properties.
const fw::IdentTable& KVXColorIdentTable();

// Registers the name tables of these enumerations (and sets) for form text. Harmless to repeat.
void KVXRegisterDrawTypes();

}  // namespace kvx
