#include "widgets/glyphlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "widgets/drawgeometry.h"

namespace kvx {

int KVXEffectDepth(TKVXThreeDStyle style, int light, int shadow) {
    switch (style) {
        case TKVXThreeDStyle::tdSunken:
        case TKVXThreeDStyle::tdRaised: return light;
        case TKVXThreeDStyle::tdSunkenShadow:
        case TKVXThreeDStyle::tdRaisedShadow:
        case TKVXThreeDStyle::tdPColorSunken:
        case TKVXThreeDStyle::tdPColorRaised: return light + shadow;
        case TKVXThreeDStyle::tdShadow: return shadow;
        case TKVXThreeDStyle::tdNone: return 0;
    }
    return 0;
}

int KVXEffectCorrection(TKVXThreeDStyle style, int light, int shadow) {
    const int depth = KVXEffectDepth(style, light, shadow);
    return style == TKVXThreeDStyle::tdNone ? 0 : std::max(depth / 2 - 1, 0);
}

TKVXCaptionEffect KVXCaptionEffect(TKVXThreeDStyle style, int l, int s) {
    using C = TKVXPassColor;
    switch (style) {
        case TKVXThreeDStyle::tdNone: return {0, {{0, C::Text}}};
        case TKVXThreeDStyle::tdSunken: return {l, {{l, C::Light}, {-l, C::Text}}};
        case TKVXThreeDStyle::tdRaised: return {l, {{0, C::Light}, {l, C::Text}}};
        case TKVXThreeDStyle::tdSunkenShadow:
        case TKVXThreeDStyle::tdPColorSunken: return {l + s, {{0, C::Shadow}, {l + s, C::Light}, {-l, C::Text}}};
        case TKVXThreeDStyle::tdRaisedShadow:
        case TKVXThreeDStyle::tdPColorRaised: return {l + s, {{l + s, C::Shadow}, {-(l + s), C::Light}, {l, C::Text}}};
        case TKVXThreeDStyle::tdShadow: return {s, {{s, C::Shadow}, {-s, C::Text}}};
    }
    return {};
}

TKVXCaptionLook KVXCaptionLook(TKVXThreeDStyle style, TKVXDisabledStyle disabledStyle, uint16_t flags) {
    TKVXCaptionLook look;
    look.style = style;
    if ((flags & ktfEnabled) || disabledStyle == TKVXDisabledStyle::dsNone) {
        look.brushColor = style == TKVXThreeDStyle::tdPColorSunken || style == TKVXThreeDStyle::tdPColorRaised;
        return look;
    }
    look.grayText = true;
    if (disabledStyle == TKVXDisabledStyle::ds3d ||
        (disabledStyle == TKVXDisabledStyle::dsAuto && (flags & ktf3DDisabled)))
        look.style = TKVXThreeDStyle::tdSunken;
    return look;
}

TPoint KVXRotatedStart(int width, int height, const TRect& bounds, int angle, int correction) {
    const double a = angle * 3.14159265358979323846 / 180.0;
    const int cx = (bounds.Left + bounds.Right) / 2;
    const int cy = (bounds.Top + bounds.Bottom) / 2;
    const double hw = width / 2, hh = height / 2;
    const long x = std::lround(cx - hw * std::cos(a) - hh * std::sin(a));
    const long y = std::lround(cy + hw * std::sin(a) - hh * std::cos(a));
    return {static_cast<int>(x) - correction, static_cast<int>(y) - correction};
}

namespace {

bool SideBySide(TKVXTextArrange a) { return static_cast<int>(a) <= static_cast<int>(TKVXTextArrange::taRightTop); }

TRect Moved(const TRect& r, int dx, int dy) { return fw::OffsetRect(r, dx, dy); }

}  // namespace

TKVXGlyphTextPlan KVXPlanGlyphText(const TKVXGlyphTextInput& in, const TKVXMeasureText& measure) {
    static const TKVXGlyphTextLayout defaultLayout;
    const TKVXGlyphTextLayout& layout = in.layout ? *in.layout : defaultLayout;
    const auto* button = dynamic_cast<const TKVXButtonLayout*>(&layout);
    const bool arrow = button && button->Arrow();

    TKVXGlyphTextPlan plan;
    uint16_t flags = in.flags;
    plan.measureOnly = (flags & ktfMeasureOnly) != 0;
    if (plan.measureOnly) flags |= ktfResultUnion;

    // 1. The two items at the origin.
    TRect g = in.hasGlyph ? TRect{0, 0, in.glyphWidth, in.glyphHeight} : TRect{};
    const int spacing = in.hasText == in.hasGlyph ? layout.Spacing() : 0;
    TRect t{};
    if (in.hasText && measure) {
        const TRect m = measure(std::abs(in.area.Width()));
        t = {0, 0, m.Width(), m.Height()};
    }

    // 3. Room for the arrow beside the text or the glyph.
    const int size = arrow ? button->ArrowSize() : 0;
    const int k = 2 * size - 1;
    const int indent = arrow ? button->ArrowIndent() : 0;
    const TKVXArrowPosition arrowPos = arrow ? button->ArrowPosition() : TKVXArrowPosition::apRightText;
    const bool textArrow = arrowPos == TKVXArrowPosition::apRightText || arrowPos == TKVXArrowPosition::apLeftText;
    if (arrow) {
        if (textArrow)
            t.Right += k + indent;
        else
            g.Right += k + indent;
    }

    // 4 and 5. The block and each item's place in it.
    const TKVXTextArrange arrange = layout.AlignText2Glyph();
    TRect block;
    TPoint tAt, gAt;
    if (SideBySide(arrange)) {
        const int m = std::max(t.Height(), g.Height());
        const int tOff = (m - t.Height()) / 2, gOff = (m - g.Height()) / 2;
        block = {0, 0, t.Width() + spacing + g.Width(), m};
        switch (arrange) {
            case TKVXTextArrange::taLeft: tAt = {0, tOff}, gAt = {t.Width() + spacing, gOff}; break;
            case TKVXTextArrange::taLeftTop: tAt = {0, tOff}, gAt = {t.Width() + spacing, 0}; break;
            case TKVXTextArrange::taRight: tAt = {g.Width() + spacing, tOff}, gAt = {0, gOff}; break;
            default: tAt = {g.Width() + spacing, tOff}, gAt = {0, 0}; break;  // taRightTop
        }
    } else {
        const int m = std::max(t.Width(), g.Width());
        const int tOff = (m - t.Width()) / 2, gOff = (m - g.Width()) / 2;
        block = {0, 0, m, t.Height() + spacing + g.Height()};
        switch (arrange) {
            case TKVXTextArrange::taTop: tAt = {tOff, 0}, gAt = {gOff, t.Height() + spacing}; break;
            case TKVXTextArrange::taTopLeft: tAt = {tOff, 0}, gAt = {0, t.Height() + spacing}; break;
            case TKVXTextArrange::taBottom: tAt = {tOff, g.Height() + spacing}, gAt = {gOff, 0}; break;
            default: tAt = {tOff, g.Height() + spacing}, gAt = {0, 0}; break;  // taBottomLeft
        }
    }
    t = Moved(t, tAt.X, tAt.Y);
    g = Moved(g, gAt.X, gAt.Y);

    // 6. The block aligned in the area; the text stands one pixel right and down of its place.
    if (!(flags & ktfNoAlign)) {
        TRect placed;
        KVXAlignRect(layout.Alignment(), block, in.area, placed);
        t = Moved(t, placed.Left + 1, placed.Top + 1);
        g = Moved(g, placed.Left, placed.Top);
    }
    // 7. A left text arrow goes before the text.
    if (arrow && arrowPos == TKVXArrowPosition::apLeftText) t = Moved(t, indent + k, 0);

    // 8. The format and the layout's offsets.
    plan.format = in.format | kDtWordBreak | kDtExpandTabs;
    if (in.multiLine) plan.format |= KVXAlignmentFormat(layout.Alignment());
    t = Moved(t, layout.OffsetX(), layout.OffsetY());
    g = Moved(g, layout.OffsetX(), layout.OffsetY());

    bool haveResult = false;
    if (flags & ktfResultText) {
        plan.result = fw::InflateRect(t, 1, 1);
        haveResult = true;
    }
    // 11. Text arrows (the glyph moves past a left glyph arrow).
    if (arrow && textArrow) {
        const int y = t.Top + t.Height() / 2 - size / 2;
        const int x = arrowPos == TKVXArrowPosition::apRightText
                          ? (in.multiLine ? t.Right - (size + 1) : t.Right - k - 1)
                          : t.Left - (indent + k);
        plan.arrow = true;
        plan.arrowBeforeGlyph = true;
        plan.arrowAt = {x, y};
    }
    if (arrow && arrowPos == TKVXArrowPosition::apLeftGlyph) g = Moved(g, indent + k, 0);
    // 12 and 13.
    if (flags & ktfResultGlyph) {
        plan.result = g;
        haveResult = true;
    }
    if (flags & ktfResultUnion) {
        TRect u;
        fw::UnionRect(u, g, t);
        plan.result = fw::InflateRect(u, 1, 1);
        haveResult = true;
    }
    // 14. Glyph arrows, centred on the glyph.
    if (arrow && !textArrow) {
        const int y = g.Top + g.Height() / 2 - size / 2;
        const int x = arrowPos == TKVXArrowPosition::apRightGlyph ? g.Right - k : g.Left - (indent + k);
        plan.arrow = true;
        plan.arrowAt = {x, y};
    }
    // 15.
    if (!haveResult) plan.result = fw::InflateRect(in.area, -1, -1);
    if (plan.measureOnly) plan.result = fw::InflateRect(plan.result, 1, 1);
    plan.text = in.hasText ? t : TRect{};
    plan.glyph = in.hasGlyph ? g : TRect{};
    return plan;
}

}  // namespace kvx
