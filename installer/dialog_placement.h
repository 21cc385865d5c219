// Where a page host or a page dialog goes on the screen: nine places, each with offsets from the
// edge or the centre. The host halves the free width and height in single precision and keeps the
// whole part; a page dialog computes them in extended precision and rounds to the nearest integer,
// halves to even.
#pragma once

namespace inst {

enum class TQuenfordDialogPosition {
    qdpCenterLeft,
    qdpCenter,
    qdpCenterRight,
    qdpBottomLeft,
    qdpBottomCenter,
    qdpBottomRight,
    qdpTopLeft,
    qdpTopCenter,
    qdpTopRight
};

enum class PlacementRounding { Truncate, NearestEven };

struct ScreenArea {
    int width = 0;
    int height = 0;
    int captionHeight = 0;  // the system's caption metric
};

struct DialogPlace {
    int left = 0;
    int top = 0;
    bool operator==(const DialogPlace&) const = default;
};

DialogPlace PlaceDialog(TQuenfordDialogPosition position, int leftOffset, int topOffset, int width, int height,
                        const ScreenArea& screen, PlacementRounding rounding);

}  // namespace inst
