// What the standard controls share.
#include "framework/win32/std_support.h"

namespace fw {

TOwnerDrawState OwnerDrawState(UINT itemState) {
    TOwnerDrawState state;
    if (itemState & ODS_SELECTED) state.Include(TOwnerDrawStateItem::odSelected);
    if (itemState & ODS_GRAYED) state.Include(TOwnerDrawStateItem::odGrayed);
    if (itemState & ODS_DISABLED) state.Include(TOwnerDrawStateItem::odDisabled);
    if (itemState & ODS_CHECKED) state.Include(TOwnerDrawStateItem::odChecked);
    if (itemState & ODS_FOCUS) state.Include(TOwnerDrawStateItem::odFocused);
    if (itemState & ODS_DEFAULT) state.Include(TOwnerDrawStateItem::odDefault);
    if (itemState & ODS_COMBOBOXEDIT) state.Include(TOwnerDrawStateItem::odComboBoxEdit);
    return state;
}

std::string WindowText(HWND window) {
    const int len = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(std::max(len, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextA(window, text.data(), len + 1), 0)));
    return text;
}

void SetWindowStyleBits(HWND window, LONG_PTR bits, bool on, int which) {
    if (!window) return;
    LONG_PTR style = GetWindowLongPtrA(window, which);
    const LONG_PTR changed = on ? (style | bits) : (style & ~bits);
    if (changed == style) return;
    SetWindowLongPtrA(window, which, changed);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(window, nullptr, TRUE);
}

void RegisterStdSupport() {
    RegisterStdTypes();
    RegisterEnum<TScrollStyle>({"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, "TScrollStyle");
    RegisterEnum<TOwnerDrawStateItem>(
        {"odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused", "odDefault", "odComboBoxEdit"},
        "TOwnerDrawState");
}

}  // namespace fw
