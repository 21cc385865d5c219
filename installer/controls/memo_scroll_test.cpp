#include "installer/controls/memo_scroll.h"

#include <gtest/gtest.h>

namespace inst {
namespace {

// Lines "line0" .. "line9", each 5 characters plus CR LF: line k starts at 1 + 7k.
std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line" + std::to_string(i) + "\r\n";
    return text;
}
int LineStart(int k) { return 1 + 7 * k; }

MemoScroller Scroller(const std::string& text, int textHeight, int rowHeight = 10) {
    MemoScroller s;
    for (int c = 32; c < 256; ++c) s.metrics.widths[c] = 6;
    s.metrics.textWidth = 100;
    s.textHeight = textHeight;
    s.rowHeight = rowHeight;
    s.Render(text);
    return s;
}

TEST(MemoScroll, ScrollDownAndUpByRows) {
    const std::string text = Lines(10);
    MemoScroller s = Scroller(text, 35);  // three rows: exactly full
    EXPECT_EQ(s.RowsInView(), 4);
    s.ScrollDown(text, 1);
    EXPECT_EQ(s.TopPos(), LineStart(1));
    EXPECT_EQ(s.TopRow(), 2);
    s.ScrollDown(text, 5);  // beyond the laid-out rows: stepped from the row after them
    EXPECT_EQ(s.TopPos(), LineStart(6));
    EXPECT_EQ(s.TopRow(), 7);
    s.ScrollDown(text, 50);  // stops at the last row
    EXPECT_EQ(s.TopPos(), LineStart(9));
    s.ScrollDown(text, 1);  // at the end: nothing
    EXPECT_EQ(s.TopPos(), LineStart(9));
    s.ScrollUp(text, 2);
    EXPECT_EQ(s.TopPos(), LineStart(7));
    s.ScrollUp(text, 100);  // stops at the text start
    EXPECT_EQ(s.TopPos(), 1);
    EXPECT_EQ(s.TopRow(), 1);
}

TEST(MemoScroll, VerticalBarEvents) {
    const std::string text = Lines(10);
    struct Case {
        TScrollCode code;
        int position, top;
    };
    // From a view of three rows at line 4.
    const Case cases[] = {
        {TScrollCode::scLineUp, 0, LineStart(5)},   {TScrollCode::scLineDown, 0, LineStart(3)},
        {TScrollCode::scPageUp, 0, LineStart(6)},   {TScrollCode::scPageDown, 0, LineStart(1)},
        {TScrollCode::scPosition, 2, LineStart(2)}, {TScrollCode::scPosition, 1000, LineStart(9)},
        {TScrollCode::scTrack, 0, LineStart(4)},    {TScrollCode::scEndScroll, 0, LineStart(4)},
    };
    for (const Case& c : cases) {
        MemoScroller s = Scroller(text, 35);
        s.ScrollDown(text, 4);
        s.VerticalBar(text, c.code, c.position);
        EXPECT_EQ(s.TopPos(), c.top) << static_cast<int>(c.code) << " " << c.position;
    }
}

TEST(MemoScroll, LowAndTallViewsStayInsideTheTable) {
    const std::string text = Lines(300);
    for (int height : {0, 5, 12, 15, 100000}) {
        for (int rowHeight : {0, 10}) {
            MemoScroller s = Scroller(text, height, rowHeight);
            EXPECT_GE(s.RowsInView(), 1);
            EXPECT_LE(s.RowsInView(), kMemoRowTable);
            // Paging uses RowsInView - 2 and - 1 rows: from a view of one row that is -1 and 0.
            s.VerticalBar(text, TScrollCode::scPageUp, 0);
            s.VerticalBar(text, TScrollCode::scLineUp, 0);
            s.VerticalBar(text, TScrollCode::scPageDown, 0);
            const int cursor = s.PageDown(text, s.TopPos());
            EXPECT_GE(cursor, 1);
            EXPECT_LE(cursor, static_cast<int>(text.size()) + 1);
            EXPECT_GE(s.PageUp(text, cursor), 1);
            EXPECT_GE(s.TopPos(), 1) << height << " " << rowHeight;
        }
    }
}

TEST(MemoScroll, PagesMoveTheCursorByColumn) {
    const std::string text = Lines(10);
    MemoScroller s = Scroller(text, 45);  // four rows, RowsInView 5: pages of 3 rows
    // Cursor in line 1, column 2: after Page Down the view starts at line 3 and the cursor stays in the
    // second row of the view.
    EXPECT_EQ(s.PageDown(text, LineStart(1) + 2), LineStart(4) + 2);
    EXPECT_EQ(s.TopPos(), LineStart(3));
    EXPECT_EQ(s.PageUp(text, LineStart(4) + 2), LineStart(1) + 2);
    EXPECT_EQ(s.TopPos(), 1);
}

TEST(MemoScroll, BringIntoViewShowsTheCursorsRow) {
    const std::string text = Lines(10);
    MemoScroller s = Scroller(text, 35);
    EXPECT_EQ(s.BringIntoView(text, LineStart(7) + 1), LineStart(7) + 1);
    EXPECT_EQ(s.TopPos(), LineStart(7));
    EXPECT_EQ(s.TopRow(), 8);
    s.BringIntoView(text, LineStart(2));
    EXPECT_EQ(s.TopPos(), LineStart(2));
    // The start of the row right below the view: one row on, not a jump.
    s.BringIntoView(text, LineStart(5));
    EXPECT_EQ(s.TopPos(), LineStart(3));
    EXPECT_EQ(s.TopRow(), 4);
    EXPECT_EQ(s.BringIntoView(text, -4), 1);
    EXPECT_EQ(s.TopPos(), 1);
    s.ScrollDown(text, 3);
    s.TextChanged("short");
    EXPECT_EQ(s.TopPos(), 1);
}

}  // namespace
}  // namespace inst
