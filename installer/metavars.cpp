#include "installer/metavars.h"

#include <cctype>

#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/shellfolders.h"
#include "installer/strutils.h"
#include "installer/translator.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

std::string ContainerPath(fw::TComponent* component) {
    if (!component)
        throw EAICannotExpandContainerDirMV(
            TranslateEnglish("Cannot expand the %c meta variable because the component is Nil"));
    auto* object = dynamic_cast<TInstallObject*>(component);
    if (!object || !object->Container())
        throw EAICannotExpandContainerDirMV(
            TranslateEnglish("Cannot expand the %c meta variable because the Container property is Nil"));
    return object->Container()->GetDestPath();
}

std::string OwnPath(fw::TComponent* component) {
    auto* node = dynamic_cast<TInstallContainer*>(component);
    if (!node)
        throw EAICannotExpandContainerDirMV(
            TranslateEnglish("Cannot expand the %a meta variable because the component is Nil"));
    return node->GetDestPath();
}

std::string InstallPath() {
    TInstallRoot* root = InstallComponent();
    if (!root)
        throw EAICannotExpandInstallDirMV(
            TranslateEnglish("Cannot expand the %i meta variable because there is no TInstall component"));
    return root->GetDestPath();
}

}  // namespace

std::string ExpandMetaVariables(const std::string& path, fw::TComponent* component) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] != '%') {
            out += path[i];
            continue;
        }
        if (++i >= path.size()) break;
        switch (std::tolower(static_cast<unsigned char>(path[i]))) {
            case '%': out += '%'; break;
            case 'a': out += RemoveBackslash(OwnPath(component)); break;
            case 'b': out += RemoveBackslash(ProgramsDir()); break;
            case 'c': out += RemoveBackslash(ContainerPath(component)); break;
            case 'd': out += RemoveBackslash(DesktopDir()); break;
            case 'f': out += RemoveBackslash(CommonFilesDir()); break;
            case 'i': out += RemoveBackslash(InstallPath()); break;
            case 'm': out += RemoveBackslash(StartMenuDir()); break;
            case 'p': out += RemoveBackslash(ProgramFilesDir()); break;
            case 's': out += RemoveBackslash(SystemDir()); break;
            case 'w': out += RemoveBackslash(WindowsDir()); break;
            default: break;
        }
    }
    return out;
}

}  // namespace inst
