#include "widgets/listcolumns.h"

#include <algorithm>

#include "framework/core/format.h"
#include "framework/core/sysutils.h"
#include "widgets/fonttext.h"

namespace kvx {

namespace {

bool Vertical(TKVXLBGridLines grid) { return grid == TKVXLBGridLines::glVertical || grid == TKVXLBGridLines::glBoth; }
bool Horizontal(TKVXLBGridLines grid) {
    return grid == TKVXLBGridLines::glHorizontal || grid == TKVXLBGridLines::glBoth;
}

// A width as a store or old form data holds it; nothing for text that is not
// one.
std::optional<int> WidthOf(const std::string& text) {
    int64_t value = 0;
    if (!fw::TryStrToInt64(text, value) || value < 0 || value > kKVXMaxColumnWidth) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

TKVXListItemLayout KVXListItemLayout(const std::string& text, char delimiter, const std::vector<int>& widths,
                                     int itemLeft, TKVXLBGridLines grid) {
    TKVXListItemLayout layout;
    if (fw::Trim(text).empty()) return layout;
    layout.HasText = true;
    layout.HorzLine = Horizontal(grid);
    if (widths.empty()) {
        layout.WholeText = true;
        return layout;
    }
    fw::TStringList fields;
    KVXSplitString(text, delimiter, &fields);
    for (int i = 0; i < fields.Count(); ++i) layout.Fields.push_back(fields[i]);
    // Each cell starts one pixel right of the previous cell's end.
    int left = itemLeft;
    const size_t cells = std::min(layout.Fields.size(), widths.size());
    for (size_t i = 0; i < cells; ++i) {
        const int right = left + widths[i];
        layout.Cells.push_back({static_cast<int>(i), left, right});
        left = right + 1;
    }
    // The grid lines follow the plain sum of the widths, whatever the item holds.
    if (Vertical(grid)) {
        int x = itemLeft;
        for (int width : widths) {
            x += width;
            layout.VertLines.push_back(x - 1);
        }
    }
    return layout;
}

std::string KVXColumnWidthsText(const std::vector<int>& widths) {
    std::string text;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (i) text += ',';
        text += fw::IntToStr(widths[i]);
    }
    return text;
}

std::vector<std::optional<int>> KVXParseColumnWidths(const std::string& text) {
    std::vector<std::optional<int>> widths;
    fw::TStringList values;
    KVXSplitString(text, ',', &values);
    const int count = std::min(values.Count(), kKVXMaxStoredColumns);
    for (int i = 0; i < count; ++i) widths.push_back(WidthOf(fw::Trim(values[i])));
    // Trailing damage would only add sections without a width.
    while (!widths.empty() && !widths.back()) widths.pop_back();
    return widths;
}

std::string KVXAddedColumnCaption(int index) { return fw::Format("S. %d", {index + 1}); }

TKVXLegacySection KVXParseLegacySection(const std::string& text) {
    constexpr int kDefaultWidth = 75;
    if (text.empty() || text[0] != '\0') return {text, kDefaultWidth + 1};
    // The scan stops at the end of the string when the closing NUL is missing.
    const size_t end = text.find('\0', 1);
    const std::string number = text.substr(1, end == std::string::npos ? std::string::npos : end - 1);
    const std::string caption = end == std::string::npos ? std::string() : text.substr(end + 1);
    return {caption, WidthOf(number).value_or(kDefaultWidth) + 1};
}

TKVXListArrangement KVXArrangeListBox(int virtualWidth, bool headerVisible, int headerHeight, int clientWidth,
                                      int clientHeight) {
    TKVXListArrangement a{};
    const int headerBottom = headerVisible ? headerHeight : 0;
    if (virtualWidth <= 0) {
        a.Header = {0, 0, clientWidth, headerBottom};
        a.List = {0, headerBottom, clientWidth, clientHeight};
        a.ScrollRange = 0;
        return a;
    }
    a.ScrollRange = virtualWidth;
    a.Header = {0, 0, virtualWidth, headerBottom};
    a.List = {0, headerBottom, virtualWidth, std::max(clientHeight, headerBottom)};
    return a;
}

}  // namespace kvx
