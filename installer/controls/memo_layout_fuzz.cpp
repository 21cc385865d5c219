// Lays out fuzzed text with fuzzed widths and checks what the memo relies on: every row advances,
// row counting ends, the view stays inside the row table, the previous row lies before its start,
// a hit lands on a cursor position, and scrolling keeps the top of the view inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/controls/memo_layout.h"
#include "installer/controls/memo_scroll.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    inst::MemoMetrics m;
    // The first bytes: text width, row height, view height and wrapping; widths follow from the text.
    m.textWidth = static_cast<int8_t>(data[0]);
    const int rowHeight = data[1] % 16;
    const int height = data[2] * 4;
    m.wrap = (data[3] & 1) != 0;
    for (int c = 32; c < 256; ++c) m.widths[c] = 1 + (c * 7) % 23;
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    const int n = static_cast<int>(text.size());

    int rows = 0;
    for (int pos = 1; pos <= n; ++rows) {
        const inst::MemoRow row = inst::MemoNextRow(text, pos, m);
        if (row.end == inst::TMemoRowEnd::NoProgress) break;
        if (row.next <= pos) std::abort();
        // Stepping back scans a whole line: only the first rows, or long inputs crawl.
        if (pos > 1 && rows < 64 && inst::MemoPreviousRow(text, pos, m) >= pos) std::abort();
        pos = row.next;
    }
    const inst::MemoRowCount count = inst::MemoCountRows(text, m);
    if (count.rows < 0 || count.rows > n) std::abort();
    const inst::MemoView view = inst::MemoLayoutView(text, 1, height, rowHeight, m);
    if (view.rowsInView < 1 || view.rowsInView > inst::kMemoRowTable) std::abort();
    for (int row = -1; row <= view.rowsInView; ++row) {
        const int hit = inst::MemoHitRow(text, view, row, data[2], 0, inst::TMemoAlignment::taCenter, 0, m.textWidth, m);
        if (hit < 1 || hit > n + 1) std::abort();
    }
    const inst::MemoRowOf of = inst::MemoRowOfPosition(text, n + 1, m);
    if (of.start < 1 || of.start > n + 1) std::abort();

    // Scrolling and paging by the text's own bytes as commands: the top stays a position of the text.
    inst::MemoScroller scroller;
    scroller.metrics = m;
    scroller.textHeight = height;
    scroller.rowHeight = rowHeight;
    scroller.Render(text);
    int cursor = 1;
    for (int i = 0; i < n && i < 64; ++i) {
        const uint8_t b = static_cast<uint8_t>(text[i]);
        switch (b % 6) {
            case 0: scroller.ScrollDown(text, b / 6); break;
            case 1: scroller.ScrollUp(text, b / 6); break;
            case 2: scroller.VerticalBar(text, static_cast<inst::TScrollCode>(b / 6 % 9), b / 6); break;
            case 3: cursor = scroller.PageDown(text, cursor); break;
            case 4: cursor = scroller.PageUp(text, cursor); break;
            default: cursor = scroller.BringIntoView(text, 1 + b % (n + 1)); break;
        }
        if (scroller.TopPos() < 1 || scroller.TopPos() > std::max(n, 1)) std::abort();
        if (scroller.RowsInView() < 1 || scroller.RowsInView() > inst::kMemoRowTable) std::abort();
        if (cursor < 1 || cursor > n + 1) std::abort();
    }
    return 0;
}
