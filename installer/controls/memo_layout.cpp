#include "installer/controls/memo_layout.h"

#include <algorithm>

namespace inst {

namespace {

int Length(const std::string& text) { return static_cast<int>(text.size()); }

// The character at the 1-based Pos.
unsigned char At(const std::string& text, int pos) { return static_cast<unsigned char>(text[pos - 1]); }

bool LineBreakAt(const std::string& text, int pos) {
    return pos >= 1 && pos < Length(text) && At(text, pos) == '\r' && At(text, pos + 1) == '\n';
}

// The start of the logical line holding Pos: after the nearest CR LF pair before it, or 1.
int LineStart(const std::string& text, int pos) {
    for (int i = std::min(pos, Length(text) + 1) - 2; i >= 1; --i)
        if (LineBreakAt(text, i)) return i + 2;
    return 1;
}

}  // namespace

bool IsMemoDelimiter(char c) {
    switch (c) {
        case '\n':
        case '\r':
        case ' ':
        case '!':
        case ',':
        case '.':
        case ';':
        case '?': return true;
        default: return false;
    }
}

int MemoTextWidth(const std::string& text, int from, int count, const MemoMetrics& metrics) {
    const int last = std::min(from + count - 1, Length(text));
    int width = 0;
    for (int i = std::max(from, 1); i <= last; ++i) width += metrics.widths[At(text, i)];
    return width;
}

MemoRow MemoNextRow(const std::string& text, int pos, const MemoMetrics& metrics) {
    const int n = Length(text);
    if (metrics.textWidth <= 0 || pos < 1 || pos > n) return {pos, TMemoRowEnd::NoProgress};
    int sum = 0;
    int lastDelimiter = 0;
    for (int i = pos; i <= n; ++i) {
        if (LineBreakAt(text, i)) return {i + 2, TMemoRowEnd::LineBreak};
        const unsigned char c = At(text, i);
        sum += metrics.widths[c];
        // A delimiter in the row's first position does not count as a place to cut.
        if (i > pos && IsMemoDelimiter(static_cast<char>(c))) lastDelimiter = i;
        if (metrics.wrap && sum >= metrics.textWidth) {
            // After the last delimiter, else before the overflowing character, but never an empty row.
            const int next = lastDelimiter ? lastDelimiter + 1 : std::max(i, pos + 1);
            // A cut at the text end leaves no row after it.
            return {next, next > n ? TMemoRowEnd::TextEnd : TMemoRowEnd::Wrap};
        }
    }
    return {n + 1, TMemoRowEnd::TextEnd};
}

int MemoPreviousRow(const std::string& text, int pos, const MemoMetrics& metrics) {
    if (pos <= 1) return 1;
    pos = std::min(pos, Length(text) + 1);
    int back = pos;
    if (back >= 3 && LineBreakAt(text, back - 2)) back -= 2;
    const int line = LineStart(text, back);
    int best = line;
    for (int start = line; start < pos;) {
        if (start != line && At(text, start) != '\r') best = start;
        const MemoRow row = MemoNextRow(text, start, metrics);
        if (row.end == TMemoRowEnd::NoProgress) break;
        start = row.next;
    }
    return std::min(best, pos - 1);
}

MemoRowCount MemoCountRows(const std::string& text, const MemoMetrics& metrics, int horzMax) {
    MemoRowCount count{0, horzMax};
    for (int start = 1; start <= Length(text);) {
        const MemoRow row = MemoNextRow(text, start, metrics);
        if (row.end == TMemoRowEnd::NoProgress || row.end == TMemoRowEnd::TextEnd) break;
        ++count.rows;
        if (row.end == TMemoRowEnd::LineBreak) {
            const int excess = MemoTextWidth(text, start, row.next - start, metrics) - metrics.textWidth;
            count.horzMax = std::max(count.horzMax, excess);
        }
        start = row.next;
    }
    return count;
}

int MemoRowBreaks(const std::string& text, const MemoMetrics& metrics) { return MemoCountRows(text, metrics).rows; }

MemoRowOf MemoRowOfPosition(const std::string& text, int pos, const MemoMetrics& metrics) {
    MemoRowOf result;
    for (int start = 1; start <= Length(text);) {
        const MemoRow row = MemoNextRow(text, start, metrics);
        result.start = start;
        if (row.end == TMemoRowEnd::NoProgress || row.end == TMemoRowEnd::TextEnd || pos < row.next) break;
        // A text ending in CR LF: the position after it is on the last row, as in the view's table.
        if (row.next > Length(text)) break;
        ++result.row;
        start = row.next;
    }
    return result;
}

int MemoRowsFitting(int height, int rowHeight) { return rowHeight <= 0 || height <= 0 ? 0 : height / rowHeight; }

int MemoView::At(int index) const { return rowStarts[std::clamp(index, 0, kMemoRowTable - 1)]; }

MemoView MemoLayoutView(const std::string& text, int topPos, int textHeight, int rowHeight, const MemoMetrics& metrics) {
    MemoView view;
    const int n = Length(text);
    if (n == 0) {
        view.rowStarts[0] = 1;
        view.rowStarts[1] = 3;
        view.rowsInView = 2;
        view.reachedEnd = true;
        return view;
    }
    if (topPos < 1) topPos = 1;
    view.rowStarts[0] = topPos;
    int entries = 1;
    int rowTop = 0;
    int start = topPos;
    // A row height of 0 lays out nothing; the table's end stops a view taller than 99 rows.
    while (rowHeight > 0 && rowTop < textHeight - rowHeight && start <= n && entries < kMemoRowTable) {
        const MemoRow row = MemoNextRow(text, start, metrics);
        if (row.end == TMemoRowEnd::NoProgress) break;
        view.rowStarts[entries++] = row.next;
        if (row.next > n) {
            view.rowStarts[entries - 1] += 2;
            if (entries < kMemoRowTable) {
                view.rowStarts[entries] = view.rowStarts[entries - 1] + 2;
                ++entries;
            }
        }
        start = row.next;
        rowTop += rowHeight;
    }
    view.rowsInView = entries;
    view.reachedEnd = start > n;
    return view;
}

std::string MemoRowText(const std::string& text, int start, int next) {
    std::string painted;
    const int last = std::min(next - 1, Length(text));
    for (int i = std::max(start, 1); i <= last; ++i)
        if (At(text, i) > 31) painted += static_cast<char>(At(text, i));
    return painted;
}

int MemoRowLeft(TMemoAlignment alignment, int textLeft, int textRight, int rowWidth) {
    switch (alignment) {
        case TMemoAlignment::taRightJustify: return textRight - rowWidth;
        case TMemoAlignment::taCenter: return textLeft + (textRight - textLeft - rowWidth) / 2;
        default: return textLeft;
    }
}

int MemoHitRow(const std::string& text, const MemoView& view, int index, int x, int horzPos, TMemoAlignment alignment,
               int textLeft, int textRight, const MemoMetrics& metrics) {
    const int n = Length(text);
    // A point below the last laid-out row hits that row.
    index = std::min(index, std::max(view.rowsInView - 2, 0));
    const int start = view.At(index);
    // The hit text: the row without its last character (a row ending in CR LF keeps its CR), within
    // the text: the last row's entry lies 2 beyond the text end.
    const int hitLast = std::min(view.At(index + 1) - 2, n);
    const int hitLength = std::max(hitLast - start + 1, 0);
    const int x0 = MemoRowLeft(alignment, textLeft, textRight, MemoTextWidth(text, start, hitLength, metrics));
    int b = hitLength;
    for (int count = 0; count < hitLength; ++count) {
        if (x0 + MemoTextWidth(text, start, count + 1, metrics) >= x + horzPos) {
            b = count;
            break;
        }
    }
    return std::clamp(start + b, 1, n + 1);
}

}  // namespace inst
