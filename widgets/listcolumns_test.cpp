#include "widgets/listcolumns.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using G = TKVXLBGridLines;

std::string Show(const std::vector<TKVXListCell>& cells) {
    std::string s;
    for (const auto& c : cells)
        s += std::to_string(c.Field) + ":" + std::to_string(c.Left) + "-" + std::to_string(c.Right) + " ";
    return s;
}

TEST(KVXListColumns, ItemLayouts) {
    struct Case {
        const char* why;
        std::string text;
        std::vector<int> widths;
        G grid;
        int left;
        bool hasText, wholeText, horz;
        std::vector<TKVXListCell> cells;
        std::vector<int> vert;
    };
    auto cells = [](std::initializer_list<TKVXListCell> c) { return std::vector<TKVXListCell>(c); };
    const Case cases[] = {
        {"three fields under two sections: two cells", "a;b;c", {50, 30}, G::glBoth, 0, true, false, true,
         cells({{0, 0, 50}, {1, 51, 81}}), {49, 79}},
        {"three fields under four sections: three cells, four lines", "a;b;c", {50, 30, 20, 10}, G::glVertical,
         0, true, false, false, cells({{0, 0, 50}, {1, 51, 81}, {2, 82, 102}}), {49, 79, 99, 109}},
        {"blanks draw only their background", "  \t ", {50, 30}, G::glBoth, 0, false, false, false, {}, {}},
        {"no sections: the whole text", "a;b", {}, G::glBoth, 0, true, true, true, {}, {}},
        {"horizontal grid only", "x;y", {10, 10}, G::glHorizontal, 4, true, false, true, cells({{0, 4, 14}, {1, 15, 25}}),
         {}},
        {"empty fields keep their cells", ";;z", {10, 10, 10}, G::glNone, 0, true, false, false,
         cells({{0, 0, 10}, {1, 11, 21}, {2, 22, 32}}), {}},
        {"trailing delimiter adds no field", "p;", {10, 10}, G::glNone, 0, true, false, false, cells({{0, 0, 10}}), {}},
    };
    for (const Case& c : cases) {
        const TKVXListItemLayout l = KVXListItemLayout(c.text, ';', c.widths, c.left, c.grid);
        EXPECT_EQ(l.HasText, c.hasText) << c.why;
        EXPECT_EQ(l.WholeText, c.wholeText) << c.why;
        EXPECT_EQ(l.HorzLine, c.horz) << c.why;
        EXPECT_EQ(Show(l.Cells), Show(c.cells)) << c.why;
        EXPECT_EQ(l.VertLines, c.vert) << c.why;
    }
}

TEST(KVXListColumns, StoredWidthsRoundTripAndSkipDamage) {
    EXPECT_EQ(KVXColumnWidthsText({80, 120, 45}), "80,120,45");
    EXPECT_EQ(KVXColumnWidthsText({}), "");
    using W = std::vector<std::optional<int>>;
    const std::optional<int> none;
    struct Case {
        const char* why;
        std::string text;
        W want;
    };
    const Case cases[] = {
        {"plain", "80,120,45", {80, 120, 45}},
        {"empty value", "", {}},
        {"a word keeps its column", "80,wide,45", {80, none, 45}},
        {"negative", "-5,10", {none, 10}},
        {"overflow", "99999999999999999999,10", {none, 10}},
        {"too wide for a column", "40000,10", {none, 10}},
        {"trailing damage adds nothing", "10,x,,", {10}},
        {"only damage", "zz", {}},
        {"blanks around numbers", " 12 , 7", {12, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXParseColumnWidths(c.text), c.want) << c.why;
    // An endless value adds at most the capped number of sections.
    std::string huge;
    for (int i = 0; i < 100000; ++i) huge += "5,";
    EXPECT_EQ(KVXParseColumnWidths(huge).size(), static_cast<size_t>(kKVXMaxStoredColumns));
    EXPECT_EQ(KVXParseColumnWidths(KVXColumnWidthsText({3, 0, kKVXMaxColumnWidth})), (W{3, 0, kKVXMaxColumnWidth}));
    EXPECT_EQ(KVXAddedColumnCaption(1), "S. 2");
    EXPECT_EQ(KVXAddedColumnCaption(2), "S. 3");
}

TEST(KVXListColumns, LegacySections) {
    using namespace std::string_literals;
    struct Case {
        const char* why;
        std::string text;
        std::string caption;
        int width;
    };
    const Case cases[] = {
        {"width and caption", "\0"s "120\0"s "Name", "Name", 121},
        {"plain caption", "Size", "Size", 76},
        {"width not a number", "\0"s "abc\0"s "Date", "Date", 76},
        {"no closing NUL: the scan ends with the string", "\0"s "33", "", 34},
        {"empty width", "\0\0"s "X", "X", 76},
        {"empty string", "", "", 76},
    };
    for (const Case& c : cases) {
        const TKVXLegacySection s = KVXParseLegacySection(c.text);
        EXPECT_EQ(s.Caption, c.caption) << c.why;
        EXPECT_EQ(s.Width, c.width) << c.why;
    }
}

TEST(KVXListColumns, Arrangement) {
    struct Case {
        const char* why;
        int virtualWidth;
        bool headerVisible;
        fw::TRect header, list;
        int range;
    };
    const Case cases[] = {
        {"aligned", 0, true, {0, 0, 200, 25}, {0, 25, 200, 150}, 0},
        {"aligned without header", 0, false, {0, 0, 200, 0}, {0, 0, 200, 150}, 0},
        {"virtual width under the header", 500, true, {0, 0, 500, 25}, {0, 25, 500, 150}, 500},
        {"virtual width without header starts at the top", 500, false, {0, 0, 500, 0}, {0, 0, 500, 150}, 500},
    };
    for (const Case& c : cases) {
        const TKVXListArrangement a = KVXArrangeListBox(c.virtualWidth, c.headerVisible, 25, 200, 150);
        EXPECT_EQ(a.Header, c.header) << c.why;
        EXPECT_EQ(a.List, c.list) << c.why;
        EXPECT_EQ(a.ScrollRange, c.range) << c.why;
    }
}

}  // namespace
}  // namespace kvx
