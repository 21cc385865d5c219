// The memo's vertical scrolling without a window: the top of the view (TopPos, TopRow), the rows laid
// out from it, scrolling up and down by rows, the vertical bar's events, bringing the cursor into view,
// and the cursor targets of Page Up and Page Down. Every index into the row table goes through
// MemoView::At, so views of one row and views taller than the table stay inside it; counts of rows
// that come out at 0 or below scroll nothing.
#pragma once

#include <string>

#include "installer/controls/memo_layout.h"
#include "installer/controls/scroll_model.h"

namespace inst {

class MemoScroller {
public:
    MemoMetrics metrics;
    int textHeight = 0;
    int rowHeight = 0;

    int TopPos() const { return topPos_; }
    int TopRow() const { return topRow_; }
    const MemoView& View() const { return view_; }
    int RowsInView() const { return view_.rowsInView; }
    // Whole rows the text rectangle holds (0 for a row height of 0).
    int RowsFitting() const { return MemoRowsFitting(textHeight, rowHeight); }

    // Back to the text start (a new text).
    void Reset();
    // TopPos becomes 1 when it lies beyond the text.
    void TextChanged(const std::string& text);
    // Lays out the rows from TopPos.
    void Render(const std::string& text);
    void ScrollUp(const std::string& text, int rows);
    void ScrollDown(const std::string& text, int rows);
    // The top row becomes the row holding Pos.
    void ShowRowOf(const std::string& text, int pos);
    // The view entry holding Cursor (RowStarts[i] <= Cursor < RowStarts[i + 1]), or -1.
    int CursorRow(int cursor) const;
    // Scrolls so that Cursor lies in the view; answers the cursor, made at least 1.
    int BringIntoView(const std::string& text, int cursor);
    // The vertical bar's OnScroll with its position.
    void VerticalBar(const std::string& text, TScrollCode code, int position);
    // Scroll a page and answer where the cursor goes.
    int PageUp(const std::string& text, int cursor);
    int PageDown(const std::string& text, int cursor);

private:
    int topPos_ = 1;
    int topRow_ = 1;
    MemoView view_;
};

}  // namespace inst
