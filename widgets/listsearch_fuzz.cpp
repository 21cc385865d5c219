// Arbitrary text through the list box's stored widths, item layout and old section strings, and through
// the file search's mask matching and content test, each checked against its invariants or a slow
// reference. The first byte picks the part and a block size; the rest is the text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "widgets/filesearch.h"
#include "widgets/listcolumns.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Widths(const std::string& text) {
    const std::vector<std::optional<int>> widths = kvx::KVXParseColumnWidths(text);
    Check(widths.size() <= static_cast<size_t>(kvx::kKVXMaxStoredColumns));
    Check(widths.empty() || widths.back().has_value());
    std::vector<int> good;
    for (const auto& w : widths) {
        if (w) Check(*w >= 0 && *w <= kvx::kKVXMaxColumnWidth);
        good.push_back(w.value_or(1));
    }
    for (auto grid : {kvx::TKVXLBGridLines::glNone, kvx::TKVXLBGridLines::glBoth}) {
        const kvx::TKVXListItemLayout l = kvx::KVXListItemLayout(text, ',', good, 3, grid);
        Check(l.Cells.size() <= std::min(l.Fields.size(), good.size()));
        for (const kvx::TKVXListCell& c : l.Cells)
            Check(c.Left <= c.Right && c.Field >= 0 && static_cast<size_t>(c.Field) < l.Fields.size());
        if (l.HasText && grid == kvx::TKVXLBGridLines::glBoth) Check(l.VertLines.size() == good.size());
        if (!l.HasText) Check(l.Cells.empty() && l.VertLines.empty() && !l.HorzLine);
    }
    const kvx::TKVXLegacySection s = kvx::KVXParseLegacySection(text);
    Check(s.Width >= 1 && s.Width <= kvx::kKVXMaxColumnWidth + 1);
}

// Slow matching by table: star[i][j] = name from i matches mask from j.
bool ReferenceGlob(const std::string& name, const std::string& mask) {
    const size_t n = name.size(), m = mask.size();
    std::vector<std::vector<char>> ok(n + 1, std::vector<char>(m + 1, 0));
    ok[n][m] = 1;
    for (size_t j = m; j-- > 0;) ok[n][j] = mask[j] == '*' && ok[n][j + 1];
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (size_t i = n; i-- > 0;)
        for (size_t j = m; j-- > 0;) {
            if (mask[j] == '*')
                ok[i][j] = ok[i][j + 1] || ok[i + 1][j];
            else
                ok[i][j] = (mask[j] == '?' || lower(mask[j]) == lower(name[i])) && ok[i + 1][j + 1];
        }
    return ok[0][0];
}

void Masks(const std::string& text) {
    const size_t cut = text.find('\n');
    if (cut == std::string::npos || text.size() > 200) return;
    const std::string name = text.substr(0, cut), mask = text.substr(cut + 1);
    if (mask == "*.*" || mask == "*.") return;
    Check(kvx::KVXMatchMask(name, mask) == ReferenceGlob(name, mask));
}

class TextReader : public kvx::TKVXFileReader {
public:
    TextReader(const std::string& text, size_t block) : text_(text), block_(block) {}
    int64_t Read(char* buffer, size_t size) override {
        const size_t n = std::min({size, block_, text_.size() - pos_});
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return static_cast<int64_t>(n);
    }

private:
    const std::string& text_;
    size_t block_, pos_ = 0;
};

void Content(const std::string& text, size_t block) {
    const size_t cut = text.find('\x01');
    if (cut == std::string::npos || cut == 0) return;
    const std::string content = text.substr(0, cut), body = text.substr(cut + 1);
    bool want = false;
    size_t start = 0;
    while (start <= body.size() && !want) {
        const size_t end = std::min(body.find('\n', start), body.find('\r', start));
        const std::string line = body.substr(start, end == std::string::npos ? std::string::npos : end - start);
        want = line.find(content) != std::string::npos;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    TextReader reader(body, block);
    Check(kvx::KVXFileContains(reader, content, nullptr) == want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0: Widths(text); break;
        case 1: Masks(text); break;
        default: Content(text, 1 + data[0] / 3); break;
    }
    return 0;
}
