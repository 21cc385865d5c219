// The multi-column list box's arithmetic: where each field of an item is drawn
// under the header's sections and where its grid lines run, the stored text of
// the column widths and how it is read back, the obsolete streamed section
// strings, and where header and list go for a virtual width.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/core/graphics_values.h"

namespace kvx {

enum class TKVXLBGridLines { glNone, glHorizontal, glVertical, glBoth };

// One field of an item in its cell: drawn at (Left + 2, top + 1), clipped to
// Left..Right.
struct TKVXListCell {
    int Field;
    int Left, Right;
};

struct TKVXListItemLayout {
    // False for an item of blanks: only its background is drawn, without grid
    // lines.
    bool HasText = false;
    // No sections: the whole text at (left + 2, top), clipped to the item.
    bool WholeText = false;
    std::vector<std::string> Fields;
    std::vector<TKVXListCell> Cells;
    // The x of each vertical grid line (one per section), drawn over the whole
    // client height.
    std::vector<int> VertLines;
    // A line along the item's bottom row.
    bool HorzLine = false;
};

// The layout of one item whose rectangle starts at ItemLeft, under sections of
// Widths.
TKVXListItemLayout KVXListItemLayout(const std::string& text, char delimiter, const std::vector<int>& widths,
                                     int itemLeft, TKVXLBGridLines grid);

// Widths a store may hold: wider values are damaged data.
constexpr int kKVXMaxColumnWidth = 32767;
// Columns read from a store at most; the rest of a longer value is ignored.
constexpr int kKVXMaxStoredColumns = 64;

// "80,120,45": the widths in decimal joined by "," (empty for no sections).
std::string KVXColumnWidthsText(const std::vector<int>& widths);
// The widths of a stored value, one per column: a value that is not a width in
// 0..kKVXMaxColumnWidth is empty (its column keeps its width), the list holds
// at most kKVXMaxStoredColumns and ends with its last good value.
std::vector<std::optional<int>> KVXParseColumnWidths(const std::string& text);
// The caption of a column the stored widths add: "S. 2" for index 1.
std::string KVXAddedColumnCaption(int index);

// One string of the obsolete "Sections" data: "\0<width>\0<caption>" or a plain
// caption. The width text runs to the next NUL (the whole rest when there is
// none) and is 75 when it is not a number in 0..kKVXMaxColumnWidth; the section
// is one pixel wider than that.
struct TKVXLegacySection {
    std::string Caption;
    int Width;
};
TKVXLegacySection KVXParseLegacySection(const std::string& text);

// Where header and inner list go. A virtual width above 0 puts the header (when
// visible) at the top, VirtualWidth wide, and the list below it with the
// header's width; the horizontal scroll range is the virtual width. At 0 the
// header is aligned to the top and the list fills the rest.
struct TKVXListArrangement {
    fw::TRect Header;
    fw::TRect List;
    int ScrollRange;
};
TKVXListArrangement KVXArrangeListBox(int virtualWidth, bool headerVisible, int headerHeight, int clientWidth,
                                      int clientHeight);

}  // namespace kvx
