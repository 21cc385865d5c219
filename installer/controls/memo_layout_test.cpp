#include "installer/controls/memo_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace inst {
namespace {

// Every printable character 6 pixels wide, "W" 20, control characters 0.
MemoMetrics Metrics(int textWidth, bool wrap = true) {
    MemoMetrics m;
    for (int c = 32; c < 256; ++c) m.widths[c] = 6;
    m.widths['W'] = 20;
    m.textWidth = textWidth;
    m.wrap = wrap;
    return m;
}

// The row starts of the whole text from position 1.
std::vector<int> Rows(const std::string& text, const MemoMetrics& m) {
    std::vector<int> starts{1};
    for (int pos = 1; pos <= static_cast<int>(text.size());) {
        const MemoRow row = MemoNextRow(text, pos, m);
        if (row.end == TMemoRowEnd::NoProgress || row.end == TMemoRowEnd::TextEnd) break;
        starts.push_back(row.next);
        pos = row.next;
    }
    return starts;
}

TEST(MemoLayout, RowBreaking) {
    struct Case {
        const char* name;
        std::string text;
        int width;
        bool wrap;
        std::vector<int> starts;
        int rowCount;
    };
    const Case cases[] = {
        {"fits: no rows", "hello world", 100, true, {1}, 0},
        {"breaks after the space", "abcd efgh", 40, true, {1, 6}, 1},
        {"overlong word cut before the overflowing character", "abcdefghij", 40, true, {1, 7}, 1},
        {"a character that reaches the width exactly overflows", "abcdef", 36, true, {1, 6}, 1},
        {"the delimiter may be the overflowing character", "abcdef,gh", 42, true, {1, 8}, 1},
        {"a delimiter in the first position is no cut", " bcdefghij", 40, true, {1, 7}, 1},
        {"CR LF ends a row", "ab\r\ncd\r\n", 100, true, {1, 5, 9}, 2},
        {"an empty line is a row", "ab\r\n\r\ncd", 100, true, {1, 5, 7}, 2},
        {"without wrapping a row runs to the line break", "abcdefghijkl\r\nxy", 40, false, {1, 15}, 1},
        {"an over-wide first character still advances", "WWW", 15, true, {1, 2, 3}, 2},
        {"over-wide after a narrow one", "aWb", 15, true, {1, 2, 3}, 2},
        {"a lone CR is an ordinary character", "ab\rcd", 100, true, {1}, 0},
        {"a lone LF is an ordinary character", "ab\ncd\n", 100, true, {1}, 0},
        {"LF CR is no line break", "ab\n\rcd", 100, true, {1}, 0},
        {"control characters take no width", "a\t\tb\x01c", 19, true, {1}, 0},
        {"no text width: no rows", "abc\r\ndef", 0, true, {1}, 0},
        {"negative text width: no rows", "abc\r\ndef", -5, true, {1}, 0},
    };
    for (const Case& c : cases) {
        const MemoMetrics m = Metrics(c.width, c.wrap);
        EXPECT_EQ(Rows(c.text, m), c.starts) << c.name;
        EXPECT_EQ(MemoCountRows(c.text, m).rows, c.rowCount) << c.name;
    }
}

TEST(MemoLayout, HorzMaxComesFromRowsEndingInALineBreak) {
    const MemoMetrics m = Metrics(40, false);
    EXPECT_EQ(MemoCountRows("abcdefghij\r\nxy", m).horzMax, 20);         // 60 - 40
    EXPECT_EQ(MemoCountRows("abc\r\nabcdefghijkl", m).horzMax, 0);       // the last row does not count
    EXPECT_EQ(MemoCountRows("abcdefghij\r\nxy", m, 50).horzMax, 50);     // only grows
    EXPECT_EQ(MemoCountRows("abcdefgh\r\nabcdefghijk\r\n", m).horzMax, 26);
}

TEST(MemoLayout, PreviousRowStepsBackOneRow) {
    const MemoMetrics m = Metrics(40);
    struct Case {
        std::string text;
        int from, want;
    };
    const Case cases[] = {
        {"abcd efgh ijkl", 11, 6},
        {"abcd efgh ijkl", 6, 1},
        {"abcd efgh ijkl", 1, 1},
        {"ab\r\ncd", 5, 1},
        {"ab\r\n\r\ncd", 7, 5},  // the empty line
        {"ab\r\n\r\ncd", 5, 1},
        {"xy\r\nabcd efgh ijkl", 15, 10},
        {"WWW", 3, 2},           // one over-wide character per row
        {"abcd", 200, 1},        // beyond the text: the row of its end
    };
    for (const Case& c : cases) EXPECT_EQ(MemoPreviousRow(c.text, c.from, m), c.want) << c.text << " " << c.from;
    // Without a text width nothing steps forward, and the result still moves back.
    EXPECT_LT(MemoPreviousRow("abc\r\ndef", 6, Metrics(0)), 6);
}

TEST(MemoLayout, RowOfPosition) {
    const MemoMetrics m = Metrics(40);
    struct Case {
        std::string text;
        int pos, row, start;
    };
    const Case cases[] = {
        {"abcd efgh ijkl", 1, 1, 1},   {"abcd efgh ijkl", 5, 1, 1},  {"abcd efgh ijkl", 6, 2, 6},
        {"abcd efgh ijkl", 15, 3, 11}, {"ab\r\ncd", 3, 1, 1},        {"ab\r\ncd", 5, 2, 5},
        {"ab\r\n", 5, 1, 1},           {"", 1, 1, 1},                {"WWW", 3, 3, 3},
    };
    for (const Case& c : cases) {
        const MemoRowOf r = MemoRowOfPosition(c.text, c.pos, m);
        EXPECT_EQ(r.row, c.row) << c.text << " " << c.pos;
        EXPECT_EQ(r.start, c.start) << c.text << " " << c.pos;
    }
}

TEST(MemoLayout, ViewTable) {
    const MemoMetrics m = Metrics(40);
    struct Case {
        const char* name;
        std::string text;
        int top, height, rowHeight;
        std::vector<int> starts;
        bool end;
    };
    const Case cases[] = {
        {"empty text", "", 1, 100, 10, {1, 3}, true},
        {"one row reaching the end: two entries 2 apart", "abc", 1, 100, 10, {1, 6, 8}, true},
        {"rows then the end", "abcd efgh", 1, 100, 10, {1, 6, 12, 14}, true},
        {"a view of two rows", "abcd efgh ijkl mnop", 1, 30, 10, {1, 6, 11}, false},
        {"from a later top", "abcd efgh ijkl mnop", 6, 30, 10, {6, 11, 16}, false},
        {"a row must end above the bottom", "abcd efgh", 1, 10, 10, {1}, false},
        {"row height 0 lays out nothing", "abcd efgh", 1, 100, 0, {1}, false},
        {"no text width lays out nothing", "abcd", 1, 100, 10, {1}, false},
        {"a text ending in CR LF", "ab\r\n", 1, 100, 10, {1, 7, 9}, true},
    };
    for (const Case& c : cases) {
        const MemoMetrics metrics = std::string(c.name) == "no text width lays out nothing" ? Metrics(0) : m;
        const MemoView v = MemoLayoutView(c.text, c.top, c.height, c.rowHeight, metrics);
        EXPECT_EQ(v.rowsInView, static_cast<int>(c.starts.size())) << c.name;
        EXPECT_EQ(std::vector<int>(v.rowStarts.begin(), v.rowStarts.begin() + v.rowsInView), c.starts) << c.name;
        EXPECT_EQ(v.reachedEnd, c.end) << c.name;
    }
}

TEST(MemoLayout, TallViewStopsAtTheTableEnd) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "a\r\n";
    const MemoView v = MemoLayoutView(text, 1, 100000, 10, Metrics(40));
    EXPECT_EQ(v.rowsInView, kMemoRowTable);
    EXPECT_EQ(v.rowStarts[99], 1 + 99 * 3);
    // Indexes of the memo's formulas outside the table are clamped into it.
    EXPECT_EQ(v.At(-1), 1);
    EXPECT_EQ(v.At(v.rowsInView), v.rowStarts[99]);
    EXPECT_EQ(v.At(1000), v.rowStarts[99]);
    // One row of text that ends exactly where the table ends keeps its extra entry inside the table.
    std::string exact;
    for (int i = 0; i < 98; ++i) exact += "a\r\n";
    exact += "a";
    const MemoView e = MemoLayoutView(exact, 1, 100000, 10, Metrics(40));
    EXPECT_EQ(e.rowsInView, kMemoRowTable);
    EXPECT_EQ(e.rowStarts[99], static_cast<int>(exact.size()) + 1 + 2);
    EXPECT_EQ(MemoRowsFitting(100, 0), 0);
    EXPECT_EQ(MemoRowsFitting(100, -3), 0);
    EXPECT_EQ(MemoRowsFitting(95, 10), 9);
}

TEST(MemoLayout, RowTextAndAlignment) {
    EXPECT_EQ(MemoRowText("ab\tc\r\nd", 1, 7), "abc");
    EXPECT_EQ(MemoRowText("abc", 2, 10), "bc");
    EXPECT_EQ(MemoRowLeft(TMemoAlignment::taLeftJustify, 3, 43, 24), 3);
    EXPECT_EQ(MemoRowLeft(TMemoAlignment::taRightJustify, 3, 43, 24), 19);
    EXPECT_EQ(MemoRowLeft(TMemoAlignment::taCenter, 3, 43, 24), 11);
    EXPECT_EQ(MemoRowLeft(TMemoAlignment::taCenter, 0, 10, 25), -7);  // truncates toward zero
}

TEST(MemoLayout, HitTest) {
    const MemoMetrics m = Metrics(40);
    const std::string text = "abcd efgh";
    const MemoView v = MemoLayoutView(text, 1, 100, 10, m);  // rows 1 and 6; entries 1, 6, 12, 14
    struct Case {
        int row, x, horz;
        TMemoAlignment align;
        int want;
    };
    const Case cases[] = {
        {0, 0, 0, TMemoAlignment::taLeftJustify, 1},
        {0, 7, 0, TMemoAlignment::taLeftJustify, 2},
        {0, 12, 0, TMemoAlignment::taLeftJustify, 2},   // reaching the next edge counts
        {0, 100, 0, TMemoAlignment::taLeftJustify, 5},  // past the row: before its last character (the space)
        {0, 1, 12, TMemoAlignment::taLeftJustify, 3},   // scrolled by 12 pixels
        {1, 100, 0, TMemoAlignment::taLeftJustify, 10}, // the last row: after the text end
        {1, 0, 0, TMemoAlignment::taLeftJustify, 6},
        {0, 9, 0, TMemoAlignment::taCenter, 1},         // x0 = (40 - 24) / 2 = 8
        {0, 15, 0, TMemoAlignment::taCenter, 2},
        {5, 100, 0, TMemoAlignment::taLeftJustify, 10}, // a row beyond the laid-out ones stays in range
    };
    for (const Case& c : cases)
        EXPECT_EQ(MemoHitRow(text, v, c.row, c.x, c.horz, c.align, 0, 40, m), c.want) << c.row << " " << c.x;
    const MemoView empty = MemoLayoutView("", 1, 100, 10, m);
    EXPECT_EQ(MemoHitRow("", empty, 0, 50, 0, TMemoAlignment::taLeftJustify, 0, 40, m), 1);
}

}  // namespace
}  // namespace inst
