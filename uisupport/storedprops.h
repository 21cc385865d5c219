// The lines of a StoredProps list: "component.property", each carrying the component it names as its
// object once bound. Blanks around either half are ignored; a line without "." or with an empty half
// is invalid.
#pragma once

#include <string>

namespace fw {
class TComponent;
class TStrings;
}  // namespace fw

namespace uis {

// The two trimmed halves; true when both are non-empty.
bool SplitCompProp(const std::string& line, std::string& component, std::string& property);
std::string JoinCompProp(const std::string& component, const std::string& property);
// The line with its component half replaced.
std::string RenameCompProp(const std::string& line, const std::string& newComponent);

// Walks the lines from last to first and deletes the invalid ones. With `resolve`, each valid line gets
// the owner's component of that name as its object, or is deleted when there is none; without it, each
// line with an object is rewritten with the object's current name and the others are deleted.
void BindStoredProps(fw::TComponent* owner, fw::TStrings& list, bool resolve);

// A form, then a data module, of that name (ignoring case); null when none.
fw::TComponent* FindRootByName(const std::string& name);
// How roots are found: the window layer looks at the screen's forms and data modules; the portable
// default looks at the loaded roots.
using RootFinder = fw::TComponent* (*)(const std::string& name);
void SetRootFinder(RootFinder finder);

}  // namespace uis
