// The speed button's arithmetic without a device: the layout of glyph and caption, the glyph count of a
// strip, the grey of an inactive glyph, the drop point of its menu and the slots of a glyph list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/graphics_values.h"

namespace uis {

// Where the glyph stands against the caption (the framework's button layout, in its order).
enum class TGlyphSide { Left, Right, Top, Bottom };

struct TSpeedLayoutInput {
    fw::TRect Content;      // what the frame leaves
    int GlyphWidth = 0;     // one cell; 0 x 0 without a glyph
    int GlyphHeight = 0;
    std::string Caption;
    TGlyphSide Side = TGlyphSide::Top;
    int Margin = -1;        // -1 centres
    int Spacing = 1;        // -1 spreads
    bool WordWrap = false;
    bool DrawMark = false;  // the drop-down mark is drawn
    // The extent of `text` drawn centred within `maxWidth` (word-breaking when wordWrap).
    std::function<fw::TPoint(const std::string& text, int maxWidth, bool wordWrap)> Measure;
    // The width of one line of text.
    std::function<int(const std::string& text)> LineWidth;
};

struct TSpeedLayout {
    fw::TPoint Glyph;        // top-left of the glyph
    fw::TRect CaptionRect;   // where the (cut) caption is drawn
    std::string Caption;     // the caption, each line cut with "..." to fit unless WordWrap
    fw::TPoint Mark;         // the drop mark's anchor (see DropMarkRows)
};

TSpeedLayout LayoutSpeedButton(const TSpeedLayoutInput& in);

// One line cut to `maxWidth`: characters are removed from its end and "..." appended until it fits.
std::string CutLineToWidth(const std::string& line, int maxWidth, const std::function<int(const std::string&)>& width);

// The drop mark at (x, y): 7 pixels on row y - 1, 5 on row y, 3 on row y + 1 and 1 on row y + 2, centred
// under each other; each entry is a row's left pixel, its width and its y.
struct TMarkRow {
    int X, Y, Width;
};
std::vector<TMarkRow> DropMarkRows(int x, int y);

// The number of cells of an 80 x 16 style strip: width / height when the width is a whole multiple of the
// height and that is at most 5, 1 when it is more; `current` when the width is no multiple or the strip
// has no height.
int SpeedNumGlyphs(int glyphWidth, int glyphHeight, int current);

// (77 red + 150 green + 29 blue) >> 8.
int GreyLevel(int red, int green, int blue);

enum class TMenuAlign { Left, Right, Center };
enum class TDropPosition { Bottom, Right };
// Where the drop-down menu opens, relative to the button.
fw::TPoint DropPoint(TDropPosition position, TMenuAlign align, int width, int height);

// The used slots of a glyph list: the first free slot is taken, a freed slot is reused later.
class TGlyphSlots {
public:
    // The first free slot, or Count() when all are used (the caller appends an image there).
    int Allocate();
    // Frees a used slot; false when it was not used.
    bool Release(int slot);
    int Count() const { return static_cast<int>(used_.size()); }
    int UsedCount() const { return usedCount_; }
    bool Used(int slot) const { return slot >= 0 && slot < Count() && used_[static_cast<size_t>(slot)]; }

private:
    std::vector<bool> used_;
    int usedCount_ = 0;
};

}  // namespace uis
