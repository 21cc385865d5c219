#include "widgets/buttongroup.h"

#include <algorithm>

#include "widgets/groupcaption.h"

namespace kvx {

TKVXCheckState KVXToggleState(TKVXCheckState state, bool allowGrayed) {
    switch (state) {
        case TKVXCheckState::Unchecked: return allowGrayed ? TKVXCheckState::Grayed : TKVXCheckState::Checked;
        case TKVXCheckState::Checked: return TKVXCheckState::Unchecked;
        case TKVXCheckState::Grayed: return TKVXCheckState::Checked;
    }
    return TKVXCheckState::Unchecked;
}

int KVXCheckGlyphCell(TKVXCheckState state, int glyphNumber, bool enabled) {
    const int last = std::max(1, glyphNumber) - 1;
    return (enabled ? 0 : 1) + std::min(last, static_cast<int>(state)) * 2;
}

int KVXRadioGlyphCell(bool checked, bool enabled, int stateIndex) {
    const int disabled = enabled ? 0 : 1;
    if (stateIndex != 0) return disabled + 2 * stateIndex - 2;
    return disabled + (checked ? 2 : 0);
}

int32_t KVXCheckGroupValue(const std::vector<bool>& checked) {
    int32_t value = 0;
    const int n = std::min<int>(kKVXCheckGroupBits, static_cast<int>(checked.size()));
    for (int i = 0; i < n; ++i)
        if (checked[static_cast<size_t>(i)]) value |= int32_t{1} << i;
    return value;
}

bool KVXCheckGroupBit(int32_t value, int index) {
    if (value < 0 || index < 0 || index >= kKVXCheckGroupBits) return false;
    return (value & (int32_t{1} << index)) != 0;
}

int KVXClampItemIndex(int index, int count) { return std::max(-1, std::min(index, count - 1)); }

int KVXClampColumns(int columns) { return std::max(1, std::min(columns, 12)); }

int KVXChildHelpContext(TKVXChildHelpContextID mode, int groupContext, int index) {
    switch (mode) {
        case TKVXChildHelpContextID::ciDefault: return 0;
        case TKVXChildHelpContextID::ciSameAsParent: return groupContext;
        case TKVXChildHelpContextID::ciAutoNumbered: return groupContext + index + 1;
    }
    return 0;
}

std::vector<TRect> KVXArrangeButtons(const TKVXButtonArrange& a) {
    std::vector<TRect> bounds;
    if (a.count <= 0) return bounds;
    const int b = a.bevelWidth;
    const int k = std::max(b, a.captionExtent);
    // The frame on every side, and the caption's strip (at least the frame) on the caption's side.
    TRect r = KVXGroupArrangeRect(a.align, TRect{b, b, a.width - b, a.height - b}, k - b);
    r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    const int columns = KVXClampColumns(a.columns);
    const int rows = (a.count + columns - 1) / columns;
    const int columnWidth = (r.Width() - a.itemOffset) / columns;
    const int itemHeight = a.itemHeight >= 0 ? a.itemHeight : (r.Height() - 2) / rows;
    // The offset is the item height modulo the rows: a small shift, not a centring.
    const int top = r.Top + 1 + (itemHeight % rows) / 2;
    bounds.reserve(static_cast<size_t>(a.count));
    for (int i = 0; i < a.count; ++i) {
        const int left = r.Left + (i / rows) * columnWidth + a.itemOffset;
        const int y = top + (i % rows) * itemHeight;
        bounds.push_back(TRect{left, y, left + columnWidth, y + itemHeight});
    }
    return bounds;
}

}  // namespace kvx
