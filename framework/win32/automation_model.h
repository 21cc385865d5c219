// What the automation endpoint sees of the program: its roots (forms and data modules), components
// named by dotted paths, their properties as text, their windows, and the system dialog of the GUI
// thread. Everything here runs on the GUI thread.
#pragma once

#include <string>
#include <vector>

#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/automation/protocol.h"
#include "framework/win32/winapi.h"

namespace fw::automation {

// Forms (in creation order), then data modules.
std::vector<TComponent*> Roots();
TComponent* FindRoot(const std::string& name);
// The form or data module a component belongs to (itself for a root).
TComponent* RootOf(TComponent* component);

// "root" or "root.comp[.comp...]": each name after the root is a component owned by the one before.
// Raises fw::Exception with a message for the driver when a name is unknown.
TComponent* ResolveComponent(const std::string& path);

// A property reached by "root[.comp...].prop[.sub...]": the object that holds it and its
// description. A control's Text, Caption, Visible, Enabled, Left, Top, Width and Height are reached
// even when its class publishes none of them.
struct PropertyTarget {
    TComponent* root = nullptr;
    TComponent* component = nullptr;
    TObject* object = nullptr;
    const PropInfo* prop = nullptr;  // null for a control's built-in value (see `builtin`)
    std::string builtin;
};
PropertyTarget ResolveProperty(const std::string& path);
std::string GetPropertyText(const PropertyTarget& target);
// The setter, called as code (not as loading).
void SetPropertyText(const PropertyTarget& target, const std::string& text);

// "root.comp" for a component below a root, "root" for a root.
std::string PathOf(TComponent* component);

// The window of a windowed control whose window exists; null otherwise.
HWND WindowOf(TComponent* component);

// When `root` (or the root above `component`) is disabled by a modal form or a system dialog, the
// name of what disables it ("dlgAsk", or the dialog's caption); "" when user input may reach it.
std::string BlockingModal(TComponent* component);

// The topmost visible system dialog (#32770) of the GUI thread, or null.
HWND FindSystemDialog();
// Caption, static texts, buttons and edits of a system dialog.
std::vector<drive::Row> DescribeDialog(HWND dialog);

// Rows of a list-like component: list-view rows with all columns, list or combo items, memo lines,
// tree nodes indented by two blanks per level, status panels, header sections; then any TStrings
// property (Items, Lines, Strings). Raises when the component has none.
std::vector<drive::Row> ReadRows(TComponent* component);

// The system class behind a window, lower case ("listbox" for a superclassed list box).
std::string SystemClassOf(HWND window);

std::string ToText(bool value);
std::string HexHandle(HWND window);

}  // namespace fw::automation
