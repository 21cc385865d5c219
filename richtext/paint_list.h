// What painting a document draws, as a list of device-independent operations: fills, text runs with
// per-character advances, lines and object frames. A GDI replay draws the list; tests read it.
#pragma once

#include <string>
#include <vector>

#include "richtext/cell_metrics.h"

namespace rt {

enum class TPenStyle { psSolid, psDot, psDash, psDashDot };

struct TPaintOp {
    enum class Kind { Fill, Text, Line, ObjectFrame, CrossedRect };
    Kind kind = Kind::Fill;
    int left = 0, top = 0, right = 0, bottom = 0;  // a line runs from (left, top) to (right, bottom)
    TColor color = 0;                               // fill, pen or text colour
    // Text runs.
    std::string text;
    std::vector<int> advances;
    TCellFont font;
    int baseline = 0;
    bool opaque = true;
    TColor back = 0;
    // Lines.
    int penWidth = 1;
    TPenStyle penStyle = TPenStyle::psSolid;
    int reference = 0;  // object frames: the object reference number
};

using TPaintList = std::vector<TPaintOp>;

}  // namespace rt
