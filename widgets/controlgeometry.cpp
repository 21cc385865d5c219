#include "widgets/controlgeometry.h"

namespace kvx {

TKVXBoundsKind KVXBoundsKind(const TRect& before, const TRect& after) {
    TKVXBoundsKind kind;
    if (before.Width() != after.Width() || before.Height() != after.Height()) kind.Include(TKVXBoundsChange::bcSize);
    if (before.Left != after.Left || before.Top != after.Top) kind.Include(TKVXBoundsChange::bcPosition);
    return kind;
}

TPoint KVXHalfBorder(int width, int height, int clientWidth, int clientHeight) {
    // C++ division truncates towards zero, as the border correction wants.
    return {(width - clientWidth) / 2, (height - clientHeight) / 2};
}

TPoint KVXBackgroundPoint(std::span<const TKVXBackLevel> levels, TPoint point) {
    for (const TKVXBackLevel& level : levels) {
        point.X += level.position.X + level.border.X;
        point.Y += level.position.Y + level.border.Y;
    }
    return point;
}

bool KVXBitmapCovers(const TRect& client, int bitmapWidth, int bitmapHeight) {
    const TRect bitmap{0, 0, bitmapWidth, bitmapHeight};
    auto inside = [&](int x, int y) { return x >= bitmap.Left && x < bitmap.Right && y >= bitmap.Top && y < bitmap.Bottom; };
    return inside(client.Left, client.Top) && inside(client.Right, client.Bottom);
}

TKVXBackCopy KVXParentPanelCopy(const TRect& rect, const TRect& client, const TRect& clipBox, TPoint offset,
                                TPoint panelPosition) {
    if (rect == client) return {clipBox, {clipBox.Left, clipBox.Top}};
    return {rect, {offset.X - panelPosition.X, offset.Y - panelPosition.Y}};
}

}  // namespace kvx
