#include "widgets/kvxgraph.h"

#include "framework/core/rtti.h"
#include "widgets/drawgeometry.h"

namespace kvx {

namespace {

bool Etched(TKVXBevelStyle s) { return s == TKVXBevelStyle::bvFrameLowered || s == TKVXBevelStyle::bvFrameRaised; }

}  // namespace

// ---- TKVXBevel ------------------------------------------------------------------------------------

TKVXBevel::TKVXBevel() { ComputeExtents(); }

void TKVXBevel::SetStyleInner(TKVXBevelStyle value) {
    if (value == styleInner_) return;
    const bool wasShadow = styleInner_ == TKVXBevelStyle::bvShadow;
    styleInner_ = value;
    if (value == TKVXBevelStyle::bvShadow)
        styleOuter_ = TKVXBevelStyle::bvShadow;
    else if (wasShadow)
        styleOuter_ = TKVXBevelStyle::bvNone;
    Change();
}

void TKVXBevel::SetStyleOuter(TKVXBevelStyle value) {
    if (value == styleOuter_) return;
    const bool wasShadow = styleOuter_ == TKVXBevelStyle::bvShadow;
    styleOuter_ = value;
    if (value == TKVXBevelStyle::bvShadow)
        styleInner_ = TKVXBevelStyle::bvShadow;
    else if (wasShadow)
        styleInner_ = TKVXBevelStyle::bvNone;
    Change();
}

void TKVXBevel::SetWidthInner(TKVXBevelWidth value) {
    if (value <= kKVXMaxBevelWidth && KVXStore(widthInner_, value)) Change();
}

void TKVXBevel::SetWidthOuter(TKVXBevelWidth value) {
    if (value <= kKVXMaxBevelWidth && KVXStore(widthOuter_, value)) Change();
}

TColor TKVXBevel::GetColor(int index) const {
    return index == 0 ? borderColor_ : index == 1 ? lightColor_ : shadowColor_;
}

void TKVXBevel::SetColor(int index, TColor value) {
    TColor& field = index == 0 ? borderColor_ : index == 1 ? lightColor_ : shadowColor_;
    if (KVXStore(field, value)) Change();
}

void TKVXBevel::SetBorderInnerWidth(TKVXBorderWidth value) {
    if (KVXStore(borderInnerWidth_, value)) Change();
}

void TKVXBevel::SetBorderWidth(TKVXBorderWidth value) {
    if (KVXStore(borderWidth_, value)) Change();
}

void TKVXBevel::SetBorderSides(TKVXFrameSides value) {
    if (KVXStore(borderSides_, value)) Change();
}

void TKVXBevel::SetEdgeStyle(TKVXEdgeStyle value) {
    if (KVXStore(edgeStyle_, value)) Change();
}

void TKVXBevel::SetMode(TKVXBevelMode value) {
    if (value == mode_) return;
    if (systemFrame_ && (value == TKVXBevelMode::bmWindows || mode_ == TKVXBevelMode::bmWindows)) frameChanged_ = true;
    mode_ = value;
    Change();
}

void TKVXBevel::SetStandardStyle(TKVXBorderStyle value) {
    if (KVXStore(standardStyle_, value) && mode_ == TKVXBevelMode::bmStandard) Change();
}

void TKVXBevel::SetSystemFrame(bool value) {
    if (KVXStore(systemFrame_, value)) Change();
}

void TKVXBevel::ComputeExtents() {
    int e = 0;
    switch (mode_) {
        case TKVXBevelMode::bmCustom:
            if (ShadowStyle()) {
                e = widthInner_ + borderInnerWidth_;
            } else {
                e = borderWidth_ + borderInnerWidth_;
                if (styleOuter_ != TKVXBevelStyle::bvNone) e += widthOuter_ + (Etched(styleOuter_) ? 1 : 0);
                if (styleInner_ != TKVXBevelStyle::bvNone) e += widthInner_ + (Etched(styleInner_) ? 1 : 0);
            }
            break;
        case TKVXBevelMode::bmStandard: e = KVXFrameWidth(standardStyle_) + borderInnerWidth_; break;
        case TKVXBevelMode::bmEdge: e = (borderSides_.Empty() ? 0 : 2) + borderInnerWidth_; break;
        case TKVXBevelMode::bmWindows: e = systemFrame_ ? 0 : borderInnerWidth_ + 2; break;
    }
    extent_ = e;
    farExtent_ = mode_ == TKVXBevelMode::bmCustom && ShadowStyle() ? widthInner_ + widthOuter_ + borderInnerWidth_ : e;
}

void TKVXBevel::InnerRect(const TRect& rect, TRect& inner) const {
    inner = {rect.Left + extent_, rect.Top + extent_, rect.Right - farExtent_, rect.Bottom - farExtent_};
}

bool TKVXBevel::FrameModeChanged() {
    const bool changed = frameChanged_ || (mode_ == TKVXBevelMode::bmWindows && systemFrame_);
    frameChanged_ = false;
    return changed;
}

void TKVXBevel::Change() {
    ComputeExtents();
    TKVXObject::Change();
}

void TKVXBevel::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXBevel*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    styleInner_ = s->styleInner_;
    styleOuter_ = s->styleOuter_;
    widthInner_ = s->widthInner_;
    widthOuter_ = s->widthOuter_;
    borderColor_ = s->borderColor_;
    borderInnerWidth_ = s->borderInnerWidth_;
    borderWidth_ = s->borderWidth_;
    borderSides_ = s->borderSides_;
    edgeStyle_ = s->edgeStyle_;
    lightColor_ = s->lightColor_;
    mode_ = s->mode_;
    shadowColor_ = s->shadowColor_;
    standardStyle_ = s->standardStyle_;
    systemFrame_ = s->systemFrame_;
    Change();
}

// ---- layouts --------------------------------------------------------------------------------------

void TKVXGlyphTextLayout::SetAlignment(TKVXAlignment value) {
    if (KVXStore(alignment_, value)) Change();
}

void TKVXGlyphTextLayout::SetAlignText2Glyph(TKVXTextArrange value) {
    if (KVXStore(alignText2Glyph_, value)) Change();
}

void TKVXGlyphTextLayout::SetOffset(int index, int value) {
    if (KVXStore(index == 0 ? offsetX_ : offsetY_, value)) Change();
}

void TKVXGlyphTextLayout::SetSpacing(int value) {
    if (KVXStore(spacing_, value)) Change();
}

void TKVXGlyphTextLayout::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXGlyphTextLayout*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    alignment_ = s->alignment_;
    alignText2Glyph_ = s->alignText2Glyph_;
    offsetX_ = s->offsetX_;
    offsetY_ = s->offsetY_;
    spacing_ = s->spacing_;
    Change();
}

void TKVXButtonLayout::SetArrow(bool value) {
    if (KVXStore(arrow_, value)) Change();
}

void TKVXButtonLayout::SetArrowColor(TColor value) {
    if (KVXStore(arrowColor_, value)) Change();
}

void TKVXButtonLayout::SetArrowValue(int index, int value) {
    if (index == 0 && KVXStore(arrowIndent_, value)) Change();
}

void TKVXButtonLayout::SetArrowPosition(TKVXArrowPosition value) {
    if (KVXStore(arrowPosition_, value)) Change();
}

void TKVXButtonLayout::SetArrowSize(TKVXDDArrowSize value) {
    if (value >= 2 && value <= 10 && KVXStore(arrowSize_, value)) Change();
}

void TKVXButtonLayout::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXGlyphTextLayout*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    BeginUpdate();
    SetAlignment(s->Alignment());
    SetAlignText2Glyph(s->AlignText2Glyph());
    SetSpacing(s->Spacing());
    SetOffset(0, s->OffsetX());
    SetOffset(1, s->OffsetY());
    if (auto* b = dynamic_cast<TKVXButtonLayout*>(source)) {
        arrow_ = b->arrow_;
        arrowColor_ = b->arrowColor_;
        arrowIndent_ = b->arrowIndent_;
        arrowPosition_ = b->arrowPosition_;
        arrowSize_ = b->arrowSize_;
    }
    EndUpdate(true);
}

// ---- captions -------------------------------------------------------------------------------------

void TKVX3DCaption::SetDisabledStyle(TKVXDisabledStyle value) {
    if (KVXStore(disabledStyle_, value)) Change();
}

void TKVX3DCaption::SetDepth(int index, uint8_t value) {
    if (KVXStore(index == 0 ? lightDepth_ : shadowDepth_, value)) Change();
}

void TKVX3DCaption::SetColor(int index, TColor value) {
    if (KVXStore(index == 0 ? lightColor_ : shadowColor_, value)) Change();
}

void TKVX3DCaption::SetStyle(TKVXThreeDStyle value) {
    if (KVXStore(style_, value)) Change();
}

void TKVX3DCaption::SetTracing(int value) {
    if (KVXStore(tracing_, value)) Change();
}

void TKVX3DCaption::Copy3D(const TKVX3DCaption& s) {
    disabledStyle_ = s.disabledStyle_;
    lightDepth_ = s.lightDepth_;
    shadowDepth_ = s.shadowDepth_;
    lightColor_ = s.lightColor_;
    shadowColor_ = s.shadowColor_;
    style_ = s.style_;
    tracing_ = s.tracing_;
}

void TKVX3DCaption::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVX3DCaption*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    Copy3D(*s);
    Change();
}

void TKVXFxCaption::SetAngle(TKVXAngle value) {
    if (value < 0 || value > 360) return;
    if (value == 360) value = 0;
    if (KVXStore(angle_, value)) Change();
}

void TKVXFxCaption::SetPos(int index, uint16_t value) {
    if (KVXStore(index == 0 ? posX_ : posY_, value)) Change();
}

void TKVXFxCaption::SetPosQuiet(uint16_t x, uint16_t y) {
    BeginUpdate();
    SetPos(0, x);
    SetPos(1, y);
    EndUpdate(false);
}

void TKVXFxCaption::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXFxCaption*>(source);
    if (!s) {
        TKVX3DCaption::Assign(source);
        return;
    }
    Copy3D(*s);
    angle_ = s->angle_;
    posX_ = s->posX_;
    posY_ = s->posY_;
    Change();
}

// ---- TKVXShadow -----------------------------------------------------------------------------------

void TKVXShadow::SetColor(TColor value) {
    if (KVXStore(color_, value)) Change();
}

void TKVXShadow::SetDepth(TKVXShadowDepth value) {
    if (value <= kKVXMaxShadowDepth && KVXStore(depth_, value)) Change();
}

void TKVXShadow::SetStyle(TKVXShadowStyle value) {
    if (KVXStore(style_, value)) Change();
}

void TKVXShadow::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXShadow*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    color_ = s->color_;
    depth_ = s->depth_;
    style_ = s->style_;
    Change();
}

// ---- registration ---------------------------------------------------------------------------------

void KVXRegisterGraphClasses() {
    using fw::Class;
    const fw::IdentTable& colors = KVXColorIdentTable();
    Class<TKVXBevel, TKVXObject>("TKVXBevel")
        .Prop("BorderColor", 0, &TKVXBevel::GetColor, &TKVXBevel::SetColor)
        .Idents(colors)
        .Prop("BorderInnerWidth", &TKVXBevel::BorderInnerWidth, &TKVXBevel::SetBorderInnerWidth)
        .Prop("BorderSides", &TKVXBevel::BorderSides, &TKVXBevel::SetBorderSides)
        .Prop("BorderWidth", &TKVXBevel::BorderWidth, &TKVXBevel::SetBorderWidth)
        .Prop("EdgeStyle", &TKVXBevel::EdgeStyle, &TKVXBevel::SetEdgeStyle)
        .Prop("LightColor", 1, &TKVXBevel::GetColor, &TKVXBevel::SetColor)
        .Idents(colors)
        .Prop("Mode", &TKVXBevel::Mode, &TKVXBevel::SetMode)
        .Prop("ShadowColor", 2, &TKVXBevel::GetColor, &TKVXBevel::SetColor)
        .Idents(colors)
        .Prop("StandardStyle", &TKVXBevel::StandardStyle, &TKVXBevel::SetStandardStyle)
        .Prop("StyleInner", &TKVXBevel::StyleInner, &TKVXBevel::SetStyleInner)
        .Prop("StyleOuter", &TKVXBevel::StyleOuter, &TKVXBevel::SetStyleOuter)
        .Prop("WidthInner", &TKVXBevel::WidthInner, &TKVXBevel::SetWidthInner)
        .Prop("WidthOuter", &TKVXBevel::WidthOuter, &TKVXBevel::SetWidthOuter);
    Class<TKVXGlyphTextLayout, TKVXObject>("TKVXGlyphTextLayout")
        .Prop("Alignment", &TKVXGlyphTextLayout::Alignment, &TKVXGlyphTextLayout::SetAlignment)
        .Prop("AlignText2Glyph", &TKVXGlyphTextLayout::AlignText2Glyph, &TKVXGlyphTextLayout::SetAlignText2Glyph)
        .Prop("OffsetX", 0, &TKVXGlyphTextLayout::GetOffset, &TKVXGlyphTextLayout::SetOffset)
        .Prop("OffsetY", 1, &TKVXGlyphTextLayout::GetOffset, &TKVXGlyphTextLayout::SetOffset)
        .Prop("Spacing", &TKVXGlyphTextLayout::Spacing, &TKVXGlyphTextLayout::SetSpacing);
    Class<TKVXButtonLayout, TKVXGlyphTextLayout>("TKVXButtonLayout")
        .Prop("Arrow", &TKVXButtonLayout::Arrow, &TKVXButtonLayout::SetArrow)
        .Prop("ArrowColor", &TKVXButtonLayout::ArrowColor, &TKVXButtonLayout::SetArrowColor)
        .Idents(colors)
        .Prop("ArrowIndent", 0, &TKVXButtonLayout::GetArrowValue, &TKVXButtonLayout::SetArrowValue)
        .Prop("ArrowPosition", &TKVXButtonLayout::ArrowPosition, &TKVXButtonLayout::SetArrowPosition)
        .Prop("ArrowSize", &TKVXButtonLayout::ArrowSize, &TKVXButtonLayout::SetArrowSize);
    Class<TKVX3DCaption, TKVXObject>("TKVX3DCaption")
        .Prop("DisabledStyle", &TKVX3DCaption::DisabledStyle, &TKVX3DCaption::SetDisabledStyle)
        .Prop("LightDepth", 0, &TKVX3DCaption::GetDepth, &TKVX3DCaption::SetDepth)
        .Prop("ShadowDepth", 1, &TKVX3DCaption::GetDepth, &TKVX3DCaption::SetDepth)
        .Prop("LightColor", 0, &TKVX3DCaption::GetColor, &TKVX3DCaption::SetColor)
        .Idents(colors)
        .Prop("ShadowColor", 1, &TKVX3DCaption::GetColor, &TKVX3DCaption::SetColor)
        .Idents(colors)
        .Prop("Style", &TKVX3DCaption::Style, &TKVX3DCaption::SetStyle)
        .Prop("Tracing", &TKVX3DCaption::Tracing, &TKVX3DCaption::SetTracing);
    Class<TKVXFxCaption, TKVX3DCaption>("TKVXFxCaption")
        .Prop("Angle", &TKVXFxCaption::Angle, &TKVXFxCaption::SetAngle)
        .Prop("PosX", 0, &TKVXFxCaption::GetPos, &TKVXFxCaption::SetPos)
        .Prop("PosY", 1, &TKVXFxCaption::GetPos, &TKVXFxCaption::SetPos);
    Class<TKVXShadow, TKVXObject>("TKVXShadow")
        .Prop("Color", &TKVXShadow::Color, &TKVXShadow::SetColor)
        .Idents(colors)
        .Prop("Depth", &TKVXShadow::Depth, &TKVXShadow::SetDepth)
        .Prop("Style", &TKVXShadow::Style, &TKVXShadow::SetStyle);
}

}  // namespace kvx
