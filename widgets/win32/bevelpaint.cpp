// The painting half of TKVXBevel (widgets/kvxgraph.h), which needs the device.
#include "framework/win32/graphics.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/dcstate.h"
#include "widgets/win32/framedraw.h"

namespace kvx {

namespace {

UINT EdgeOf(TKVXEdgeStyle style) {
    switch (style) {
        case TKVXEdgeStyle::etRaisedInner: return BDR_RAISEDINNER;
        case TKVXEdgeStyle::etRaisedOuter: return BDR_RAISEDOUTER;
        case TKVXEdgeStyle::etSunkenInner: return BDR_SUNKENINNER;
        case TKVXEdgeStyle::etSunkenOuter: return BDR_SUNKENOUTER;
        case TKVXEdgeStyle::etBump: return EDGE_BUMP;
        case TKVXEdgeStyle::etEtched: return EDGE_ETCHED;
        case TKVXEdgeStyle::etRaised: return EDGE_RAISED;
        case TKVXEdgeStyle::etSunken: return EDGE_SUNKEN;
    }
    return EDGE_ETCHED;
}

UINT SidesOf(TKVXFrameSides sides) {
    UINT flags = 0;
    if (sides.Contains(TKVXFrameSide::fsLeft)) flags |= BF_LEFT;
    if (sides.Contains(TKVXFrameSide::fsTop)) flags |= BF_TOP;
    if (sides.Contains(TKVXFrameSide::fsRight)) flags |= BF_RIGHT;
    if (sides.Contains(TKVXFrameSide::fsBottom)) flags |= BF_BOTTOM;
    return flags;
}

}  // namespace

void TKVXBevel::PaintBevel(fw::TCanvas* canvas, const TRect& rect, bool transparent, TRect& inner) {
    inner = rect;
    if (!canvas || extent_ == 0) return;
    // Border lines: one-pixel rings in BorderColor; a transparent bevel only keeps their room.
    auto lines = [&](int count) {
        for (int i = 0; i < count; ++i) {
            if (!transparent) {
                canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
                canvas->Brush()->SetColor(borderColor_);
                canvas->FrameRect(inner);
            }
            inner = fw::InflateRect(inner, -1, -1);
        }
    };
    switch (mode_) {
        case TKVXBevelMode::bmCustom:
            if (ShadowStyle()) {
                win32::KVXDrawShadowBevel(canvas, inner, lightColor_, shadowColor_, borderColor_, widthOuter_, widthInner_,
                                          transparent);
            } else {
                win32::KVXDrawBevel(canvas, inner, styleOuter_, lightColor_, shadowColor_, widthOuter_);
                lines(borderWidth_);
                win32::KVXDrawBevel(canvas, inner, styleInner_, lightColor_, shadowColor_, widthInner_);
            }
            break;
        case TKVXBevelMode::bmStandard: win32::KVXDrawFrame(canvas, inner, standardStyle_, 0); break;
        case TKVXBevelMode::bmEdge:
            if (!borderSides_.Empty()) {
                RECT r = win32::ToRECT(inner);
                DrawEdge(canvas->Handle(), &r, EdgeOf(edgeStyle_), SidesOf(borderSides_));
                inner = fw::InflateRect(inner, -2, -2);
            }
            break;
        case TKVXBevelMode::bmWindows: win32::KVXDrawFrame(canvas, inner, TKVXBorderStyle::lsLoweredExt, 0); break;
    }
    lines(borderInnerWidth_);
}

}  // namespace kvx
