#include "framework/win32/automation_model.h"

#include <algorithm>
#include <cstdio>

#include "framework/core/exceptions.h"
#include "framework/core/lists.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/controls.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"

namespace fw::automation {
namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return parts;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

constexpr const char* kBuiltins[] = {"Text", "Caption", "Visible", "Enabled", "Left", "Top", "Width", "Height"};

std::string WindowText(HWND window) {
    int length = static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = static_cast<int>(SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::clamp(got, 0, length)));
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

std::string ToText(bool value) { return value ? "1" : "0"; }

std::string HexHandle(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

std::vector<TComponent*> Roots() {
    std::vector<TComponent*> roots;
    if (!Screen) return roots;
    for (TForm* form : Screen->FormList()) roots.push_back(form);
    for (TDataModule* module : Screen->DataModuleList()) roots.push_back(module);
    return roots;
}

TComponent* FindRoot(const std::string& name) {
    for (TComponent* root : Roots())
        if (SameName(root->Name(), name)) return root;
    return nullptr;
}

TComponent* RootOf(TComponent* component) {
    std::vector<TComponent*> roots = Roots();
    for (TComponent* c = component; c; c = c->Owner())
        if (std::find(roots.begin(), roots.end(), c) != roots.end()) return c;
    return nullptr;
}

std::string PathOf(TComponent* component) {
    TComponent* root = RootOf(component);
    std::string path = component->Name();
    for (TComponent* c = component->Owner(); c && root && component != root; c = c->Owner()) {
        path = c->Name() + "." + path;
        if (c == root) break;
    }
    return path;
}

TComponent* ResolveComponent(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    TComponent* c = FindRoot(parts[0]);
    if (!c) throw Exception("no form or data module \"" + parts[0] + "\"");
    for (size_t i = 1; i < parts.size(); ++i) {
        TComponent* next = c->FindComponent(parts[i]);
        if (!next) throw Exception("no component \"" + parts[i] + "\" in " + PathOf(c));
        c = next;
    }
    return c;
}

PropertyTarget ResolveProperty(const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    PropertyTarget t;
    t.root = FindRoot(parts[0]);
    if (!t.root) throw Exception("no form or data module \"" + parts[0] + "\"");
    if (parts.size() < 2) throw Exception("\"" + path + "\" names no property");
    t.component = t.root;
    size_t i = 1;
    // Owned components first, then properties; an Object property leads to its sub-object.
    while (i + 1 < parts.size()) {
        TComponent* next = t.component->FindComponent(parts[i]);
        if (!next) break;
        t.component = next;
        ++i;
    }
    t.object = t.component;
    for (; i < parts.size(); ++i) {
        const PropInfo* prop = FindProp(t.object, parts[i]);
        bool last = i + 1 == parts.size();
        if (!prop) {
            if (last && dynamic_cast<TControl*>(t.object)) {
                for (const char* b : kBuiltins) {
                    if (SameName(parts[i], b)) {
                        t.builtin = b;
                        return t;
                    }
                }
            }
            throw Exception("no property \"" + parts[i] + "\" in " + t.object->ClassName() + " (" + path + ")");
        }
        if (last) {
            t.prop = prop;
            return t;
        }
        if (prop->kind != TypeKind::Object) throw Exception("\"" + parts[i] + "\" has no sub-properties (" + path + ")");
        TObject* sub = GetObjectProp(t.object, *prop);
        if (!sub) throw Exception("\"" + parts[i] + "\" is not set (" + path + ")");
        t.object = sub;
    }
    return t;
}

std::string GetPropertyText(const PropertyTarget& t) {
    if (!t.builtin.empty()) {
        auto* control = static_cast<TControl*>(dynamic_cast<TControl*>(t.object));
        if (t.builtin == "Text" || t.builtin == "Caption") return control->GetText();
        if (t.builtin == "Visible") return control->Visible() ? "True" : "False";
        if (t.builtin == "Enabled") return control->Enabled() ? "True" : "False";
        if (t.builtin == "Left") return std::to_string(control->Left());
        if (t.builtin == "Top") return std::to_string(control->Top());
        if (t.builtin == "Width") return std::to_string(control->Width());
        return std::to_string(control->Height());
    }
    if (t.prop->kind == TypeKind::Object) {
        TObject* sub = GetObjectProp(t.object, *t.prop);
        if (auto* strings = dynamic_cast<TStrings*>(sub)) return strings->Text();
    }
    return GetPropText(t.object, *t.prop, t.root);
}

void SetPropertyText(const PropertyTarget& t, const std::string& text) {
    if (!t.builtin.empty()) {
        auto* control = dynamic_cast<TControl*>(t.object);
        auto number = [&]() {
            int64_t v = 0;
            if (!TextToInt64(text, v)) throw Exception("\"" + text + "\" is not a number");
            return static_cast<int>(v);
        };
        auto boolean = [&]() {
            int index = BooleanNames().IndexOf(text);
            if (index < 0) throw Exception("\"" + text + "\" is not True or False");
            return index == 1;
        };
        if (t.builtin == "Text" || t.builtin == "Caption") control->SetText(text);
        else if (t.builtin == "Visible") control->SetVisible(boolean());
        else if (t.builtin == "Enabled") control->SetEnabled(boolean());
        else if (t.builtin == "Left") control->SetLeft(number());
        else if (t.builtin == "Top") control->SetTop(number());
        else if (t.builtin == "Width") control->SetWidth(number());
        else control->SetHeight(number());
        return;
    }
    if (t.prop->kind == TypeKind::Object) {
        if (auto* strings = dynamic_cast<TStrings*>(GetObjectProp(t.object, *t.prop))) {
            strings->SetText(text);
            return;
        }
    }
    if (t.prop->readOnly) throw Exception("property \"" + t.prop->name + "\" is read-only");
    SetPropText(t.object, *t.prop, text, t.root);
}

HWND WindowOf(TComponent* component) {
    auto* control = dynamic_cast<TWinControl*>(component);
    return control && control->HandleAllocated() ? control->Handle() : nullptr;
}

std::string BlockingModal(TComponent* component) {
    TComponent* root = RootOf(component);
    HWND window = WindowOf(root);
    if (!window || IsWindowEnabled(window)) return {};
    if (Application) {
        const std::vector<TForm*>& modal = Application->ModalForms();
        if (!modal.empty() && modal.back() != root) return modal.back()->Name();
    }
    if (HWND dialog = FindSystemDialog()) return WindowText(dialog);
    return "a disabled window";
}

namespace {

BOOL CALLBACK CollectDialog(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(TRUE, {
        if (IsWindowVisible(window) && ClassNameOf(window) == "#32770") {
            auto* found = reinterpret_cast<std::vector<HWND>*>(param);
            found->push_back(window);
        }
        return TRUE;
    })
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(TRUE, {
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        return TRUE;
    })
}

}  // namespace

HWND FindSystemDialog() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    // Thread windows come topmost first; an enabled one is the innermost (a dialog it opened would
    // have disabled it).
    for (HWND d : dialogs)
        if (IsWindowEnabled(d)) return d;
    return dialogs.empty() ? nullptr : dialogs.front();
}

std::vector<drive::Row> DescribeDialog(HWND dialog) {
    std::vector<drive::Row> rows;
    rows.push_back({"caption", WindowText(dialog)});
    std::vector<HWND> children;
    EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        if (!IsWindowVisible(child)) continue;
        std::string cls = Lower(ClassNameOf(child));
        std::string id = std::to_string(GetDlgCtrlID(child));
        std::string text = WindowText(child);
        if (cls == "static") {
            if (!text.empty()) rows.push_back({"static", id, text});
        } else if (cls == "button") {
            rows.push_back({"button", id, text});
        } else if (cls == "edit") {
            rows.push_back({"edit", id, text});
        } else {
            rows.push_back({"control", id, ClassNameOf(child), text});
        }
    }
    return rows;
}

std::string SystemClassOf(HWND window) {
    char name[256] = {};
    RealGetWindowClassA(window, name, sizeof name);
    return Lower(name);
}

}  // namespace fw::automation
