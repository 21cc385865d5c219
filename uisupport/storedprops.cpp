#include "uisupport/storedprops.h"

#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "framework/core/sysutils.h"

namespace uis {

bool SplitCompProp(const std::string& line, std::string& component, std::string& property) {
    const size_t dot = line.find('.');
    if (dot == std::string::npos) {
        component = fw::Trim(line);
        property.clear();
        return false;
    }
    component = fw::Trim(line.substr(0, dot));
    property = fw::Trim(line.substr(dot + 1));
    return !component.empty() && !property.empty();
}

std::string JoinCompProp(const std::string& component, const std::string& property) {
    return component + "." + property;
}

std::string RenameCompProp(const std::string& line, const std::string& newComponent) {
    std::string component, property;
    SplitCompProp(line, component, property);
    return JoinCompProp(newComponent, property);
}

void BindStoredProps(fw::TComponent* owner, fw::TStrings& list, bool resolve) {
    for (int i = list.Count() - 1; i >= 0; --i) {
        std::string component, property;
        if (!SplitCompProp(list.Get(i), component, property)) {
            list.Delete(i);
            continue;
        }
        if (resolve) {
            fw::TComponent* found = owner ? owner->FindComponent(component) : nullptr;
            if (found)
                list.PutObject(i, found);
            else
                list.Delete(i);
        } else if (auto* bound = dynamic_cast<fw::TComponent*>(list.GetObject(i))) {
            list.Put(i, JoinCompProp(bound->Name(), property));  // the object stays with the line
        } else {
            list.Delete(i);
        }
    }
}

namespace {

fw::TComponent* FindLoadedRoot(const std::string& name) { return fw::FindGlobalComponent(name); }

RootFinder g_rootFinder = &FindLoadedRoot;

}  // namespace

fw::TComponent* FindRootByName(const std::string& name) { return g_rootFinder(name); }

void SetRootFinder(RootFinder finder) { g_rootFinder = finder ? finder : &FindLoadedRoot; }

}  // namespace uis
