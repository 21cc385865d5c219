#include "installer/controls/memo_scroll.h"

#include <algorithm>

namespace inst {

namespace {
int Length(const std::string& text) { return static_cast<int>(text.size()); }
}  // namespace

void MemoScroller::Reset() {
    topPos_ = 1;
    topRow_ = 1;
}

void MemoScroller::TextChanged(const std::string& text) {
    if (topPos_ > Length(text)) Reset();
}

void MemoScroller::Render(const std::string& text) {
    if (topPos_ < 1) topPos_ = 1;
    view_ = MemoLayoutView(text, topPos_, textHeight, rowHeight, metrics);
}

void MemoScroller::ScrollUp(const std::string& text, int rows) {
    if (topPos_ <= 1 || rows <= 0) return;
    int pos = topPos_;
    for (int i = 0; i < rows && pos > 1; ++i) {
        pos = MemoPreviousRow(text, pos, metrics);
        topRow_ = std::max(topRow_ - 1, 1);
    }
    topPos_ = pos;
    Render(text);
}

void MemoScroller::ScrollDown(const std::string& text, int rows) {
    const int n = Length(text);
    const int laidOut = view_.rowsInView - 1;  // rows laid out
    if (rows <= 0) return;
    if (view_.At(view_.rowsInView - 2) >= n && RowsFitting() != laidOut) return;
    int top;
    int stepped = rows;
    if (rows < laidOut) {
        top = view_.At(rows);
    } else {
        top = view_.At(laidOut);
        stepped = laidOut;
        for (; stepped < rows && top <= n; ++stepped) {
            const MemoRow row = MemoNextRow(text, top, metrics);
            if (row.end == TMemoRowEnd::NoProgress || row.next > n) break;
            top = row.next;
        }
    }
    // The entries after the text end lie beyond it: no row starts there.
    if (top > n || top <= topPos_) return;
    topPos_ = top;
    // By the rows actually passed, so that TopRow stays the number of the top row at the text's end.
    topRow_ += stepped;
    Render(text);
}

void MemoScroller::ShowRowOf(const std::string& text, int pos) {
    const MemoRowOf row = MemoRowOfPosition(text, pos, metrics);
    topPos_ = row.start;
    topRow_ = row.row;
    Render(text);
}

int MemoScroller::CursorRow(int cursor) const {
    for (int i = 0; i < view_.rowsInView - 1 && i + 1 < kMemoRowTable; ++i)
        if (view_.rowStarts[i] <= cursor && cursor < view_.rowStarts[i + 1]) return i;
    return -1;
}

int MemoScroller::BringIntoView(const std::string& text, int cursor) {
    cursor = std::max(cursor, 1);
    if (cursor < topPos_) {
        ShowRowOf(text, cursor);
        if (cursor < topPos_) ScrollUp(text, 1);
    } else if (!view_.reachedEnd && cursor >= view_.At(view_.rowsInView - 1)) {
        // The entry after the last laid-out row starts a row that is not shown: a cursor at it is out
        // of view too. The row just below the view scrolls in by one row; a cursor further down
        // becomes the top row.
        const int below = view_.At(view_.rowsInView - 1);
        const MemoRow row = MemoNextRow(text, below, metrics);
        if (cursor < row.next || row.end == TMemoRowEnd::TextEnd)
            ScrollDown(text, 1);
        if (cursor >= view_.At(view_.rowsInView - 1) && !view_.reachedEnd) ShowRowOf(text, cursor);
    }
    return cursor;
}

void MemoScroller::VerticalBar(const std::string& text, TScrollCode code, int position) {
    switch (code) {
        case TScrollCode::scLineUp: ScrollDown(text, 1); break;
        case TScrollCode::scLineDown: ScrollUp(text, 1); break;
        case TScrollCode::scPageUp: ScrollDown(text, view_.rowsInView - 2); break;
        case TScrollCode::scPageDown: ScrollUp(text, view_.rowsInView - 1); break;
        case TScrollCode::scPosition: {
            // Position rows forward from the text start.
            int top = 1, stepped = 0;
            for (; stepped < position && top <= Length(text); ++stepped) {
                const MemoRow row = MemoNextRow(text, top, metrics);
                if (row.end == TMemoRowEnd::NoProgress || row.next > Length(text)) break;
                top = row.next;
            }
            topPos_ = top;
            topRow_ = std::max(stepped, 1);
            Render(text);
            break;
        }
        default: break;
    }
}

int MemoScroller::PageUp(const std::string& text, int cursor) {
    const int r = std::max(CursorRow(cursor), 0);
    const int column = cursor - view_.At(r);
    ScrollUp(text, view_.rowsInView - 2);
    const int length = view_.At(r + 1) - view_.At(r);
    const int target = length < column ? view_.At(r) + length - 1 : view_.At(r) + column;
    return std::clamp(target, 1, Length(text) + 1);
}

int MemoScroller::PageDown(const std::string& text, int cursor) {
    const int r = std::max(CursorRow(cursor), 0);
    const int column = cursor - view_.At(r);
    ScrollDown(text, view_.rowsInView - 2);
    const int k = std::max(std::min(r + 1, view_.rowsInView), 1);
    const int start = view_.At(k - 1);
    if (start >= Length(text)) return std::max(Length(text), 1);
    const int length = view_.At(k) - start;
    const int target = length < column ? start + length - 1 : start + column;
    return std::clamp(target, 1, Length(text) + 1);
}

}  // namespace inst
