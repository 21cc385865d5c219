// The keyboard chain: shortcuts, dialog keys and accelerators, ahead of the focused control.
#include "framework/win32/keyboard.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/hints.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_treeview.h"

namespace fw {
namespace {

std::vector<ShortCutHandler>& ShortCutHandlers() {
    static std::vector<ShortCutHandler> handlers;
    return handlers;
}

struct KeyName {
    uint16_t key;
    const char* name;
};
constexpr KeyName kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},   {VK_RETURN, "Enter"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},  {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
};

std::string KeyToText(uint16_t key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.key == key) return k.name;
    return {};
}

// The framework control of a window, or of the nearest parent window that has one (the edit inside a
// combo box belongs to the combo).
TWinControl* OwningControl(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        if (TWinControl* c = FindControl(w)) return c;
        if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD)) break;
    }
    return nullptr;
}

// The key's message goes only to windows of others (the edit inside a combo box answers for the list
// it drops): the system's edit control takes it as a sign that it sits in a dialog box, and a memo
// there types no tabs and turns Escape into WM_CLOSE for its parent.
UINT DialogCode(HWND window, MSG& msg) {
    const LPARAM message = FindControl(window) ? 0 : reinterpret_cast<LPARAM>(&msg);
    return static_cast<UINT>(SendMessageA(window, WM_GETDLGCODE, msg.wParam, message));
}

bool IsDialogKey(WPARAM key) {
    switch (key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL: return true;
        default: return false;
    }
}

// Whether the focused window claims the dialog key itself. Tab belongs to a window only when it asks
// for Tab: a memo wants all keys (the same bit as "wants the message") for Enter, yet Tab leaves it
// unless it wants tabs.
bool ClaimsKey(HWND focus, MSG& msg) {
    const UINT code = DialogCode(focus, msg);
    if (msg.wParam == VK_TAB) return (code & DLGC_WANTTAB) != 0;
    if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return true;
    switch (msg.wParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: return (code & DLGC_WANTARROWS) != 0;
        default: return false;
    }
}

// Arrows within a group of radio buttons: the next or previous radio button of the same parent.
bool MoveInRadioGroup(TWinControl* focused, bool forward) {
    auto* radio = dynamic_cast<TRadioButton*>(focused);
    if (!radio || !radio->Parent()) return false;
    std::vector<TWinControl*> group;
    TWinControl* parent = radio->Parent();
    std::vector<TWinControl*> order;
    parent->GetTabOrderList(order);
    // GetTabOrderList skips unchecked radio buttons (TabStop false): take the parent's children in
    // tab order instead.
    for (int i = 0; i < parent->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(parent->Controls(i)); r && r->CanFocus()) group.push_back(r);
    std::stable_sort(group.begin(), group.end(),
                     [](TWinControl* a, TWinControl* b) { return a->TabOrder() < b->TabOrder(); });
    auto it = std::find(group.begin(), group.end(), focused);
    if (it == group.end() || group.size() < 2) return false;
    size_t index = static_cast<size_t>(it - group.begin());
    index = forward ? (index + 1) % group.size() : (index + group.size() - 1) % group.size();
    auto* next = static_cast<TRadioButton*>(group[index]);
    next->SetFocus();
    next->SetChecked(true);
    return true;
}

bool HandleDialogKey(TForm* form, HWND focus, TWinControl* focused, MSG& msg) {
    if (!IsDialogKey(msg.wParam) || ClaimsKey(focus, msg)) return false;
    const TShiftState shift = KeyDataToShiftState(msg.lParam);
    if (msg.wParam == VK_TAB && !shift.Contains(ssAlt)) {
        if (shift.Contains(ssCtrl)) return false;
        SelectNext(form, focused, !shift.Contains(ssShift));
        return true;
    }
    if (msg.wParam == VK_LEFT || msg.wParam == VK_UP || msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN) {
        if (MoveInRadioGroup(focused, msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN)) return true;
    }
    return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
}

// A printable key belongs to a window that types it: edits, memos, combos and controls that want
// characters. List boxes, list views and tree views want characters only to search their items, so
// there a shifted key stays a shortcut and a plain one searches. A label being edited inside a list
// view or tree view is an edit of its own.
bool TypesKey(HWND focus, TWinControl* focused, uint16_t key, TShiftState shift) {
    if (!IsPrintableKey(key, shift) || !WantsChars(focus)) return false;
    if (!shift.Contains(ssShift) || !focused || !focused->HandleAllocated() || focused->Handle() != focus) return true;
    const bool searchesOnly = dynamic_cast<TCustomListBox*>(focused) || dynamic_cast<TListView*>(focused) ||
                              dynamic_cast<TTreeView*>(focused);
    return !searchesOnly;
}

// A form with KeyPreview sees the focused control's keys first (OnKeyDown, OnKeyPress); a handler
// that clears the key takes it from the control, one that changes it changes what the control gets.
bool PreviewKey(TForm* form, TWinControl* focused, MSG& msg) {
    if (!form->KeyPreview() || focused == form) return false;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        if (!form->OnKeyDown) return false;
        auto key = static_cast<uint16_t>(msg.wParam);
        form->OnKeyDown(form, key, KeyDataToShiftState(msg.lParam));
        if (key == 0) return true;
        msg.wParam = key;
    } else if (msg.message == WM_CHAR) {
        if (!form->OnKeyPress) return false;
        auto key = static_cast<char>(msg.wParam);
        form->OnKeyPress(form, key);
        if (key == 0) return true;
        msg.wParam = static_cast<unsigned char>(key);
    }
    return false;
}

}  // namespace

void AddShortCutHandler(ShortCutHandler handler) {
    auto& handlers = ShortCutHandlers();
    if (std::find(handlers.begin(), handlers.end(), handler) == handlers.end()) handlers.push_back(handler);
}

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if (key & 0xFF00) return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = TShiftState{};
    if (shortCut & scShift) shift.Include(ssShift);
    if (shortCut & scCtrl) shift.Include(ssCtrl);
    if (shortCut & scAlt) shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string key = KeyToText(shortCut & 0xFF);
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
    TShortCut modifiers = 0;
    std::string rest = text;
    for (;;) {
        if (rest.size() > 6 && SameText(rest.substr(0, 6), "Shift+")) {
            modifiers |= scShift;
            rest.erase(0, 6);
        } else if (rest.size() > 5 && SameText(rest.substr(0, 5), "Ctrl+")) {
            modifiers |= scCtrl;
            rest.erase(0, 5);
        } else if (rest.size() > 4 && SameText(rest.substr(0, 4), "Alt+")) {
            modifiers |= scAlt;
            rest.erase(0, 4);
        } else {
            break;
        }
    }
    for (unsigned key = 8; key < 256; ++key) {
        const std::string name = KeyToText(static_cast<uint16_t>(key));
        if (!name.empty() && SameText(name, rest)) return static_cast<TShortCut>(modifiers | key);
    }
    return scNone;
}

bool IsAccel(unsigned key, const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto c = static_cast<unsigned char>(caption[i + 1]);
        return std::toupper(c) == std::toupper(static_cast<int>(key & 0xFF));
    }
    return false;
}

std::string StripHotkey(const std::string& caption) {
    std::string result;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != '&') {
            result += caption[i];
        } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
            result += '&';
            ++i;
        }
    }
    return result;
}

bool WantsChars(HWND window) {
    if (!window) return false;
    const auto code = static_cast<UINT>(SendMessageA(window, WM_GETDLGCODE, 0, 0));
    return (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) != 0;
}

bool IsPrintableKey(uint16_t key, TShiftState shift) {
    if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return false;
    return MapVirtualKeyA(key, MAPVK_VK_TO_CHAR) >= ' ' && key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE &&
           key != VK_BACK;
}

TWinControl* SelectNext(TWinControl* form, TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    list.erase(std::remove_if(list.begin(), list.end(), [](TWinControl* c) { return !c->CanFocus(); }), list.end());
    if (list.empty()) return nullptr;
    auto it = std::find(list.begin(), list.end(), current);
    TWinControl* next;
    if (it == list.end()) {
        next = forward ? list.front() : list.back();
    } else {
        size_t index = static_cast<size_t>(it - list.begin());
        index = forward ? (index + 1) % list.size() : (index + list.size() - 1) % list.size();
        next = list[index];
    }
    next->SetFocus();
    return next;
}

bool DispatchShortCut(TForm* form, TShortCut shortCut) {
    if (!form || shortCut == scNone) return false;
    for (ShortCutHandler handler : ShortCutHandlers())
        if (handler(form, shortCut)) return true;
    return false;
}

bool PreprocessKey(MSG& msg) {
    HintTrackMessage(msg);
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN && msg.message != WM_CHAR &&
        msg.message != WM_SYSCHAR)
        return false;
    TWinControl* control = OwningControl(msg.hwnd);
    if (!control) return false;
    auto* form = dynamic_cast<TForm*>(GetParentForm(control));
    if (!form || !form->Enabled()) return false;
    HWND focus = GetFocus();
    if (!focus) focus = msg.hwnd;
    TWinControl* focused = OwningControl(focus);

    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        const auto key = static_cast<uint16_t>(msg.wParam);
        if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
        // Escape during a drag cancels the drag, ahead of any Cancel button.
        if (key == VK_ESCAPE) {
            if (TControl* source = DragSource(); source && source->Dragging()) {
                source->EndDrag(false);
                return true;
            }
        }
        const TShiftState shift = KeyDataToShiftState(msg.lParam);
        if (!TypesKey(focus, focused, key, shift) && DispatchShortCut(form, ShortCut(key, shift))) return true;
        if (HandleDialogKey(form, focus, focused, msg)) return true;
        return PreviewKey(form, focused, msg);
    }
    // Characters: Alt+letter, and letters the focused window does not type, go to the accelerators.
    if (PreviewKey(form, focused, msg)) return true;
    if (msg.message == WM_CHAR && WantsChars(focus)) return false;
    if (msg.message == WM_CHAR && (msg.wParam < ' ' || msg.wParam == 127)) return false;
    return form->Perform(CM_DIALOGCHAR, msg.wParam, msg.lParam) != 0;
}

}  // namespace fw
