// What painting a document draws, as a list of device-independent operations: fills, text runs with
// per-character advances, lines, embedded objects and their placeholders. A GDI replay draws the list;
// tests read it.
#pragma once

#include <string>
#include <vector>

#include "richtext/cell_metrics.h"

namespace rt {

enum class TPenStyle { psSolid, psDot, psDash, psDashDot };

struct TPaintOp {
    enum class Kind {
        Fill,         // the rectangle in `color`
        Text,         // `text` from `left` on the baseline, clipped to the rectangle
        Line,         // from (left, top) to (right, bottom) with the pen
        Object,       // an embedded object `reference` paints itself into the rectangle
        Placeholder,  // a 1-pixel black frame with `text` (the object's name) at the left
        CrossedRect,  // a 1-pixel black frame with both diagonals: an object with no name
    };
    Kind kind = Kind::Fill;
    int left = 0, top = 0, right = 0, bottom = 0;
    TColor color = 0;  // fill, pen or text colour; for an object the colour it is painted on
    // Text runs.
    std::string text;
    std::vector<int> advances;
    TCellFont font;
    int baseline = 0;
    bool opaque = true;  // the run's rectangle is filled with `back` first
    TColor back = 0;
    // Lines.
    int penWidth = 1;
    TPenStyle penStyle = TPenStyle::psSolid;
    int reference = 0;  // objects: the object reference number
};

using TPaintList = std::vector<TPaintOp>;

// Where painting goes: the owner replays every finished paint list onto its device.
class IPaintTarget {
public:
    virtual ~IPaintTarget() = default;
    virtual void Draw(const TPaintList& list) = 0;
    // The whole client area is painted next: the device's clip region is removed first.
    virtual void ResetClip() {}
};

}  // namespace rt
