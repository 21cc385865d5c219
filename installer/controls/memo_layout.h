// The row layout of the setup program's memo, without a window: breaking the text into rows by a
// 256-entry width table, counting rows, stepping to the next and previous row, finding the row of a
// position, laying out the rows of a view into the 100-entry row table, and hit testing.
//
// Positions are 1-based, as the memo's cursor is. A row ends at a CR LF pair (which belongs to it and
// is never painted), at the text end, or, with wrapping on, where it overflows the text width: after
// the last word delimiter of the row, or before the overflowing character when there is none. Every
// row holds at least one character, so a character wider than the whole text width still advances,
// and a CR or LF that is not part of a CR LF pair is an ordinary character of no width.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace inst {

constexpr int kMemoRowTable = 100;

struct MemoMetrics {
    // Pixel width per character code; codes 0 to 31 stay 0.
    std::array<int32_t, 256> widths{};
    // Text rectangle width; 0 or less counts no rows and steps nothing.
    int textWidth = 0;
    // WordWrap, or an alignment other than left.
    bool wrap = true;
};

enum class TMemoRowEnd { TextEnd, LineBreak, Wrap, NoProgress };

struct MemoRow {
    int next = 1;  // start of the following row
    TMemoRowEnd end = TMemoRowEnd::TextEnd;
};

// LF, CR, space, "!", ",", ".", ";", "?".
bool IsMemoDelimiter(char c);
// The summed widths of Count characters from the 1-based From (clipped to the text).
int MemoTextWidth(const std::string& text, int from, int count, const MemoMetrics& metrics);
// The row starting at Pos.
MemoRow MemoNextRow(const std::string& text, int pos, const MemoMetrics& metrics);
// The start of the row before the one starting at Pos (1 at the text start).
int MemoPreviousRow(const std::string& text, int pos, const MemoMetrics& metrics);

struct MemoRowCount {
    int rows = 0;     // wrap cuts plus CR LF pairs
    int horzMax = 0;  // widest excess of a row ending in CR LF over the text width
};
// Counts the rows of the whole text; HorzMax only grows from the given start value.
MemoRowCount MemoCountRows(const std::string& text, const MemoMetrics& metrics, int horzMax = 0);
// Row breaks of a piece of text laid out from its own start (the memo's insert and delete tracking).
int MemoRowBreaks(const std::string& text, const MemoMetrics& metrics);

struct MemoRowOf {
    int row = 1;    // 1-based
    int start = 1;  // where that row starts
};
// The row holding Pos (a position past the text end belongs to the last row).
MemoRowOf MemoRowOfPosition(const std::string& text, int pos, const MemoMetrics& metrics);

// How many whole rows of RowHeight fit into Height: 0 for a row height of 0 or less.
int MemoRowsFitting(int height, int rowHeight);

// The rows of a view: entry 0 is TopPos, entry i the start of the row after visible row i - 1. A row
// that ends exactly at the text end moves its entry 2 beyond and adds one more 2 beyond that, so that a
// cursor after the last character belongs to the last row.
struct MemoView {
    std::array<int32_t, kMemoRowTable> rowStarts{};
    int rowsInView = 0;     // entries written
    bool reachedEnd = false;
    // The entry at Index clamped into the table: the memo's formulas reach -1 on a view of one row and
    // past 99 on a tall one.
    int At(int index) const;
};
// Lays out the rows from TopPos while a row still ends above the text height; at most the table.
MemoView MemoLayoutView(const std::string& text, int topPos, int textHeight, int rowHeight, const MemoMetrics& metrics);

// The painted characters of the row from Start to Next (codes above 31).
std::string MemoRowText(const std::string& text, int start, int next);

// x0 of a row by alignment: left, right (text right less the row width) or centred.
enum class TMemoAlignment { taLeftJustify, taRightJustify, taCenter };
int MemoRowLeft(TMemoAlignment alignment, int textLeft, int textRight, int rowWidth);

// The text position under the point X of row Index of the view: the smallest count b of the row's
// hit characters (all but its last) whose first b + 1 reach X + HorzPos, limited to the text length.
int MemoHitRow(const std::string& text, const MemoView& view, int index, int x, int horzPos, TMemoAlignment alignment,
               int textLeft, int textRight, const MemoMetrics& metrics);

}  // namespace inst
