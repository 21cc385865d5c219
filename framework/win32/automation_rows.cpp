// Rows of list-like components, read from their windows (so they show what the user sees) or, for
// components without one, from their string lists.
#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/lists.h"
#include "framework/win32/automation_model.h"
#include "framework/win32/controls.h"

namespace fw::automation {
namespace {

using drive::Row;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The list kinds, recognised by the system class behind the window or by a class name in the
// component's ancestry.
enum class ListKind { None, ListView, ListBox, ComboBox, Edit, TreeView, StatusBar, Header };

ListKind KindOfName(const std::string& lowerName) {
    struct Token {
        const char* text;
        ListKind kind;
    };
    static constexpr Token tokens[] = {
        {"listview", ListKind::ListView},   {"listbox", ListKind::ListBox},     {"combobox", ListKind::ComboBox},
        {"treeview", ListKind::TreeView},   {"statusbar", ListKind::StatusBar}, {"header", ListKind::Header},
        {"richedit", ListKind::Edit},       {"memo", ListKind::Edit},           {"edit", ListKind::Edit},
    };
    for (const Token& t : tokens)
        if (lowerName.find(t.text) != std::string::npos) return t.kind;
    return ListKind::None;
}

ListKind KindOf(TComponent* component, HWND window) {
    ListKind kind = KindOfName(SystemClassOf(window));
    if (kind != ListKind::None) return kind;
    // A form's class names say what the form is for ("TfrmEditor"), not what its window is.
    if (auto* control = dynamic_cast<TControl*>(component); control && control->IsForm()) return ListKind::None;
    for (const TClassInfo* c = component->ClassInfo(); c; c = c->Parent()) {
        kind = KindOfName(Lower(c->Name()));
        if (kind != ListKind::None) return kind;
    }
    return ListKind::None;
}

std::vector<Row> ListViewRows(HWND window) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(window, LVM_GETHEADER, 0, 0));
    int columns = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    columns = std::max(columns, 1);
    int count = static_cast<int>(SendMessageA(window, LVM_GETITEMCOUNT, 0, 0));
    std::vector<Row> rows;
    for (int item = 0; item < count; ++item) {
        Row row;
        for (int column = 0; column < columns; ++column) {
            char text[1024] = {};
            LVITEMA lv{};
            lv.iSubItem = column;
            lv.pszText = text;
            lv.cchTextMax = sizeof text;
            SendMessageA(window, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
            row.push_back(text);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<Row> IndexedRows(HWND window, UINT countMsg, UINT lengthMsg, UINT textMsg) {
    int count = static_cast<int>(SendMessageA(window, countMsg, 0, 0));
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageA(window, lengthMsg, static_cast<WPARAM>(i), 0));
        std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
        int got = static_cast<int>(
            SendMessageA(window, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<size_t>(std::clamp(got, 0, std::max(length, 0))));
        rows.push_back({text});
    }
    return rows;
}

std::vector<Row> EditRows(HWND window) {
    int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = static_cast<int>(SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
    std::vector<Row> rows;
    if (text.empty()) return rows;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (end == std::string::npos) {
            if (!line.empty()) rows.push_back({line});  // a final line break starts no line
            break;
        }
        rows.push_back({line});
        start = end + 1;
    }
    return rows;
}

void TreeRows(HWND window, HTREEITEM item, int level, std::vector<Row>& rows) {
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(window, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char text[1024] = {};
        TVITEMA tv{};
        tv.mask = TVIF_TEXT | TVIF_HANDLE;
        tv.hItem = item;
        tv.pszText = text;
        tv.cchTextMax = sizeof text;
        SendMessageA(window, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        rows.push_back({std::string(static_cast<size_t>(level) * 2, ' ') + text});
        auto child = reinterpret_cast<HTREEITEM>(
            SendMessageA(window, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        TreeRows(window, child, level + 1, rows);
    }
}

std::vector<Row> StatusRows(HWND window) {
    int parts = static_cast<int>(SendMessageA(window, SB_GETPARTS, 0, 0));
    std::vector<Row> rows;
    for (int i = 0; i < std::max(parts, 1); ++i) {
        int length = LOWORD(SendMessageA(window, SB_GETTEXTLENGTHA, static_cast<WPARAM>(i), 0));
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(window, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        rows.push_back({text});
    }
    return rows;
}

std::vector<Row> HeaderRows(HWND window) {
    int count = static_cast<int>(SendMessageA(window, HDM_GETITEMCOUNT, 0, 0));
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        char text[1024] = {};
        HDITEMA hd{};
        hd.mask = HDI_TEXT | HDI_WIDTH;
        hd.pszText = text;
        hd.cchTextMax = sizeof text;
        SendMessageA(window, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hd));
        rows.push_back({text, std::to_string(hd.cxy)});
    }
    return rows;
}

bool StringsRows(TComponent* component, std::vector<Row>& rows) {
    for (const char* name : {"Items", "Lines", "Strings"}) {
        const PropInfo* prop = FindProp(component, name);
        if (!prop || prop->kind != TypeKind::Object) continue;
        if (auto* strings = dynamic_cast<TStrings*>(GetObjectProp(component, *prop))) {
            for (int i = 0; i < strings->Count(); ++i) rows.push_back({strings->Strings(i)});
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<Row> ReadRows(TComponent* component) {
    if (HWND window = WindowOf(component)) {
        switch (KindOf(component, window)) {
            case ListKind::ListView: return ListViewRows(window);
            case ListKind::ListBox: return IndexedRows(window, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
            case ListKind::ComboBox: return IndexedRows(window, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
            case ListKind::Edit: return EditRows(window);
            case ListKind::TreeView: {
                std::vector<Row> rows;
                auto root = reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_GETNEXTITEM, TVGN_ROOT, 0));
                TreeRows(window, root, 0, rows);
                return rows;
            }
            case ListKind::StatusBar: return StatusRows(window);
            case ListKind::Header: return HeaderRows(window);
            case ListKind::None: break;
        }
    }
    std::vector<Row> rows;
    if (StringsRows(component, rows)) return rows;
    throw Exception(PathOf(component) + " (" + component->ClassName() + ") has no rows");
}

}  // namespace fw::automation
