#include "widgets/groupcaption.h"

namespace kvx {

using G = TKVXGroupCaptionAlign;
using A = TKVXAlignment;

TKVXGroupSide KVXGroupSide(G align) { return static_cast<TKVXGroupSide>(static_cast<int>(align) / 3); }

int KVXGroupCaptionAngle(G align) {
    switch (KVXGroupSide(align)) {
        case TKVXGroupSide::Left: return 90;
        case TKVXGroupSide::Right: return 270;
        default: return 0;
    }
}

TKVXAlignment KVXGroupTextAlignment(G align) {
    switch (align) {
        case G::gcaTopCenter: return A::agTopCenter;
        case G::gcaTopRight:
        case G::gcaRightTop: return A::agTopRight;
        case G::gcaLeftBottom:
        case G::gcaBottomLeft: return A::agBottomLeft;
        case G::gcaLeftCenter: return A::agCenterLeft;
        case G::gcaBottomCenter: return A::agBottomCenter;
        case G::gcaBottomRight:
        case G::gcaRightBottom: return A::agBottomRight;
        case G::gcaRightCenter: return A::agCenterRight;
        default: return A::agTopLeft;
    }
}

TKVXGroupRects KVXGroupRects(G align, int width, int height, int extent, int captionOffset) {
    int s = 0, e = 0;
    switch (align) {
        case G::gcaTopLeft:
        case G::gcaLeftBottom:
        case G::gcaBottomLeft:
        case G::gcaRightTop: s = captionOffset; break;
        case G::gcaTopRight:
        case G::gcaLeftTop:
        case G::gcaBottomRight:
        case G::gcaRightBottom: e = captionOffset; break;
        default: break;
    }
    const int x = extent, h = extent / 2 - 1;
    switch (KVXGroupSide(align)) {
        case TKVXGroupSide::Top: return {{s, 0, width - e, x}, {0, h, width, height}};
        case TKVXGroupSide::Left: return {{0, e, x, height - s}, {h, 0, width, height}};
        case TKVXGroupSide::Bottom: return {{s, height - x, width - e, height}, {0, 0, width, height - h}};
        case TKVXGroupSide::Right: return {{width - x, s + 2, width, height - e}, {0, 0, width - h, height}};
    }
    return {};
}

TRect KVXGroupWipeRect(G align, const TRect& text) {
    TRect r = text;
    switch (KVXGroupSide(align)) {
        case TKVXGroupSide::Top:
        case TKVXGroupSide::Bottom: r.Left -= 2; break;
        case TKVXGroupSide::Left: r.Bottom += 2; break;
        case TKVXGroupSide::Right: r.Top -= 2; break;
    }
    return r;
}

TRect KVXGroupArrangeRect(G align, const TRect& rect, int extent) {
    TRect r = rect;
    switch (KVXGroupSide(align)) {
        case TKVXGroupSide::Top: r.Top += extent; break;
        case TKVXGroupSide::Left: r.Left += extent; break;
        case TKVXGroupSide::Bottom: r.Bottom -= extent; break;
        case TKVXGroupSide::Right: r.Right -= extent; break;
    }
    return r;
}

}  // namespace kvx
