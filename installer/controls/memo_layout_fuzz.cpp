// Lays out fuzzed text with fuzzed widths and checks what the memo relies on: every row advances,
// row counting ends, the view stays inside the row table, the previous row lies before its start,
// and a hit lands on a cursor position.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/controls/memo_layout.h"

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
    return 0;
}
