// The graphic property objects without device objects of their own: the bevel, the glyph-and-text
// layouts, the 3D and effect captions and the shadow. Controls publish them as sub-properties and point
// their OnChange at a repaint. Every setter stores only a changed value and then notifies; a value out of
// range is refused silently. The objects that own a font, brush, bitmap or palette (gradient, caption,
// shape fill, fill object) live in win32/fillobjects.h and win32/caption.h.
#pragma once

#include <cstdint>

#include "widgets/drawtypes.h"
#include "widgets/kvxclass.h"

namespace fw {
class TCanvas;
}

namespace kvx {

class TKVXBevel : public TKVXObject {
public:
    TKVXBevel();

    TKVXBevelStyle StyleInner() const { return styleInner_; }
    TKVXBevelStyle StyleOuter() const { return styleOuter_; }
    // bvShadow on one side puts it on both; leaving bvShadow on one side leaves the other bvNone.
    void SetStyleInner(TKVXBevelStyle value);
    void SetStyleOuter(TKVXBevelStyle value);
    TKVXBevelWidth WidthInner() const { return widthInner_; }
    TKVXBevelWidth WidthOuter() const { return widthOuter_; }
    void SetWidthInner(TKVXBevelWidth value);  // 0..50
    void SetWidthOuter(TKVXBevelWidth value);
    // Index 0 BorderColor, 1 LightColor, 2 ShadowColor.
    TColor GetColor(int index) const;
    void SetColor(int index, TColor value);
    TColor BorderColor() const { return borderColor_; }
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    TKVXBorderWidth BorderInnerWidth() const { return borderInnerWidth_; }
    void SetBorderInnerWidth(TKVXBorderWidth value);
    TKVXBorderWidth BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(TKVXBorderWidth value);
    TKVXFrameSides BorderSides() const { return borderSides_; }
    void SetBorderSides(TKVXFrameSides value);
    TKVXEdgeStyle EdgeStyle() const { return edgeStyle_; }
    void SetEdgeStyle(TKVXEdgeStyle value);
    TKVXBevelMode Mode() const { return mode_; }
    void SetMode(TKVXBevelMode value);
    // Notifies only while Mode is bmStandard.
    TKVXBorderStyle StandardStyle() const { return standardStyle_; }
    void SetStandardStyle(TKVXBorderStyle value);
    // The owning windowed control lets the system draw the frame of the Windows mode.
    bool SystemFrame() const { return systemFrame_; }
    void SetSystemFrame(bool value);

    // Pixels the bevel takes at the left and top, and at the right and bottom.
    int Extent() const { return extent_; }
    int FarExtent() const { return farExtent_; }
    // Rect less the extents.
    void InnerRect(const TRect& rect, TRect& inner) const;
    // True (once) after Mode went to or from bmWindows under a system frame, and always while the
    // system draws the frame; the windowed panels then recreate their window.
    bool FrameModeChanged();

    // Paints the bevel and returns the rectangle inside it (Win32 only: win32/bevelpaint.cpp).
    void PaintBevel(fw::TCanvas* canvas, const TRect& rect, bool transparent, TRect& inner);

    // Recomputes the extents, then notifies.
    void Change() override;
    void Assign(fw::TPersistent* source) override;

private:
    void ComputeExtents();
    bool ShadowStyle() const { return styleOuter_ == TKVXBevelStyle::bvShadow; }

    TKVXBevelStyle styleInner_ = TKVXBevelStyle::bvNone;
    TKVXBevelStyle styleOuter_ = TKVXBevelStyle::bvNone;
    TKVXBevelWidth widthInner_ = 1;
    TKVXBevelWidth widthOuter_ = 1;
    TColor borderColor_ = fw::clBtnFace;
    TKVXBorderWidth borderInnerWidth_ = 0;
    TKVXBorderWidth borderWidth_ = 0;
    TKVXFrameSides borderSides_{TKVXFrameSide::fsBottom, TKVXFrameSide::fsLeft, TKVXFrameSide::fsRight,
                                TKVXFrameSide::fsTop};
    TKVXEdgeStyle edgeStyle_ = TKVXEdgeStyle::etEtched;
    int extent_ = 0;
    int farExtent_ = 0;
    TColor lightColor_ = fw::clBtnHighlight;
    TKVXBevelMode mode_ = TKVXBevelMode::bmCustom;
    TColor shadowColor_ = fw::clBtnShadow;
    TKVXBorderStyle standardStyle_ = TKVXBorderStyle::lsSingleLowered;
    bool systemFrame_ = false;
    bool frameChanged_ = false;
};

class TKVXGlyphTextLayout : public TKVXObject {
public:
    TKVXGlyphTextLayout() = default;

    TKVXAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXAlignment value);
    TKVXTextArrange AlignText2Glyph() const { return alignText2Glyph_; }
    void SetAlignText2Glyph(TKVXTextArrange value);
    // Index 0 OffsetX, 1 OffsetY.
    int GetOffset(int index) const { return index == 0 ? offsetX_ : offsetY_; }
    void SetOffset(int index, int value);
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);

    void Assign(fw::TPersistent* source) override;

protected:
    explicit TKVXGlyphTextLayout(TKVXAlignment alignment) : alignment_(alignment) {}

private:
    TKVXAlignment alignment_ = TKVXAlignment::agTopLeft;
    TKVXTextArrange alignText2Glyph_ = TKVXTextArrange::taRight;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int spacing_ = 2;
};

class TKVXButtonLayout : public TKVXGlyphTextLayout {
public:
    TKVXButtonLayout() : TKVXGlyphTextLayout(TKVXAlignment::agCenter) {}

    bool Arrow() const { return arrow_; }
    void SetArrow(bool value);
    TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(TColor value);
    // Index 0 ArrowIndent.
    int GetArrowValue(int index) const { return index == 0 ? arrowIndent_ : 0; }
    void SetArrowValue(int index, int value);
    int ArrowIndent() const { return arrowIndent_; }
    TKVXArrowPosition ArrowPosition() const { return arrowPosition_; }
    void SetArrowPosition(TKVXArrowPosition value);
    TKVXDDArrowSize ArrowSize() const { return arrowSize_; }
    void SetArrowSize(TKVXDDArrowSize value);  // 2..10

    void Assign(fw::TPersistent* source) override;

private:
    bool arrow_ = false;
    TColor arrowColor_ = fw::clBlack;
    int arrowIndent_ = 3;
    TKVXArrowPosition arrowPosition_ = TKVXArrowPosition::apRightText;
    TKVXDDArrowSize arrowSize_ = 3;
};

class TKVX3DCaption : public TKVXObject {
public:
    TKVX3DCaption() = default;

    TKVXDisabledStyle DisabledStyle() const { return disabledStyle_; }
    void SetDisabledStyle(TKVXDisabledStyle value);
    // Index 0 LightDepth, 1 ShadowDepth.
    uint8_t GetDepth(int index) const { return index == 0 ? lightDepth_ : shadowDepth_; }
    void SetDepth(int index, uint8_t value);
    uint8_t LightDepth() const { return lightDepth_; }
    uint8_t ShadowDepth() const { return shadowDepth_; }
    // Index 0 LightColor, 1 ShadowColor.
    TColor GetColor(int index) const { return index == 0 ? lightColor_ : shadowColor_; }
    void SetColor(int index, TColor value);
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }
    TKVXThreeDStyle Style() const { return style_; }
    void SetStyle(TKVXThreeDStyle value);
    // Extra pixels between characters.
    int Tracing() const { return tracing_; }
    void SetTracing(int value);

    void Assign(fw::TPersistent* source) override;

protected:
    // The 3D values of Source, without a notification.
    void Copy3D(const TKVX3DCaption& source);

private:
    TKVXDisabledStyle disabledStyle_ = TKVXDisabledStyle::dsAuto;
    uint8_t lightDepth_ = 1;
    uint8_t shadowDepth_ = 1;
    TColor lightColor_ = fw::clBtnHighlight;
    TColor shadowColor_ = fw::clBtnShadow;
    TKVXThreeDStyle style_ = TKVXThreeDStyle::tdNone;
    int tracing_ = 0;
};

class TKVXFxCaption : public TKVX3DCaption {
public:
    TKVXFxCaption() = default;

    TKVXAngle Angle() const { return angle_; }
    // 360 is stored as 0; values outside 0..360 are refused.
    void SetAngle(TKVXAngle value);
    // Index 0 PosX, 1 PosY: the start of rotated text, relative to its rectangle.
    uint16_t GetPos(int index) const { return index == 0 ? posX_ : posY_; }
    void SetPos(int index, uint16_t value);
    uint16_t PosX() const { return posX_; }
    uint16_t PosY() const { return posY_; }
    // Both positions under the update lock, without a notification.
    void SetPosQuiet(uint16_t x, uint16_t y);

    // A plain 3D caption gives its 3D values only.
    void Assign(fw::TPersistent* source) override;

private:
    TKVXAngle angle_ = 0;
    uint16_t posX_ = 0;
    uint16_t posY_ = 0;
};

class TKVXShadow : public TKVXObject {
public:
    TKVXShadow() = default;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TKVXShadowDepth Depth() const { return depth_; }
    void SetDepth(TKVXShadowDepth value);  // 0..40
    TKVXShadowStyle Style() const { return style_; }
    void SetStyle(TKVXShadowStyle value);

    void Assign(fw::TPersistent* source) override;

private:
    TColor color_ = fw::clBtnShadow;
    TKVXShadowDepth depth_ = 6;
    TKVXShadowStyle style_ = TKVXShadowStyle::hssSolid;
};

// Registers these classes with their published properties (KVXRegisterClasses calls it).
void KVXRegisterGraphClasses();

}  // namespace kvx
