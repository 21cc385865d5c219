#include "installer/dialog_placement.h"

#include <cmath>

namespace inst {

namespace {

// Half the screen's extent less half the window's.
int Centre(int screen, int window, PlacementRounding rounding) {
    if (rounding == PlacementRounding::Truncate)
        return static_cast<int>(std::trunc(static_cast<float>(screen) / 2.0f - static_cast<float>(window) / 2.0f));
    // The default rounding mode takes halves to the even neighbour.
    return static_cast<int>(std::nearbyint(static_cast<long double>(screen) / 2.0L - static_cast<long double>(window) / 2.0L));
}

}  // namespace

DialogPlace PlaceDialog(TQuenfordDialogPosition position, int leftOffset, int topOffset, int width, int height,
                        const ScreenArea& screen, PlacementRounding rounding) {
    const int cx = Centre(screen.width, width, rounding);
    const int cy = Centre(screen.height, height, rounding);
    const int right = screen.width - width - leftOffset;
    const int bottom = screen.height - screen.captionHeight - height - topOffset;
    using P = TQuenfordDialogPosition;
    switch (position) {
        case P::qdpCenterLeft: return {leftOffset, cy + topOffset};
        case P::qdpCenter: return {cx + leftOffset, cy + topOffset};
        case P::qdpCenterRight: return {right, cy + topOffset};
        case P::qdpBottomLeft: return {leftOffset, bottom};
        case P::qdpBottomCenter: return {cx + leftOffset, bottom};
        case P::qdpBottomRight: return {right, bottom};
        case P::qdpTopLeft: return {leftOffset, topOffset};
        case P::qdpTopCenter: return {cx + leftOffset, topOffset};
        case P::qdpTopRight: return {right, topOffset};
    }
    return {cx + leftOffset, cy + topOffset};
}

}  // namespace inst
