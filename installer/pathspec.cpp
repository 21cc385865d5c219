#include "installer/pathspec.h"

#include <algorithm>
#include <typeinfo>

#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/qnfdregistry.h"
#include "installer/shellfolders.h"
#include "installer/strutils.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

// The database engine whose DLL folder psBDEDLL names.
constexpr const char* kEngineName = "Quenford Database Engine";
constexpr const char* kEngineKey = "\\SOFTWARE\\Quenford\\Database Engine";
constexpr const char* kEngineFolder = "Quenford\\Common Files\\BDE";

std::string NameOf(fw::TComponent* c) { return c ? c->Name() : std::string(); }

std::string StripBackslashes(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

template <class T>
void Erase(std::vector<T*>& list, const void* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

TInstallRoot* RequireInstall(fw::TComponent* component) {
    TInstallRoot* root = InstallComponent();
    if (!root)
        throw IEPathSpecifier("There is no TInstall component so the path specifier could not be expanded for %s",
                              {NameOf(component)});
    return root;
}

TInstallObject* RequireObject(fw::TComponent* component, const std::string& specifier) {
    auto* object = dynamic_cast<TInstallObject*>(component);
    if (!object)
        throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                              {NameOf(component), "TInstallObject", specifier});
    return object;
}

}  // namespace

std::vector<TCustomPathSpecifier*>& PathSpecifierList() {
    static std::vector<TCustomPathSpecifier*> list;
    return list;
}

std::vector<TStandardPathSpecifier*>& StandardPathSpecList() {
    static std::vector<TStandardPathSpecifier*> list;
    return list;
}

// ---- Bases ------------------------------------------------------------------------------------------------

TCustomPathSpecifier::TCustomPathSpecifier(fw::TComponent* owner) : fw::TComponent(owner) {
    PathSpecifierList().push_back(this);
}

void TCustomPathSpecifier::BeforeDestruction() {
    Erase(PathSpecifierList(), this);
    fw::TComponent::BeforeDestruction();
}

std::string TCustomPathSpecifier::GetPath(fw::TComponent* component) {
    std::string path;
    if (OnGetPath) OnGetPath(component ? static_cast<fw::TObject*>(component) : this, path);
    return path;
}

TStandardPathSpecifier::TStandardPathSpecifier(fw::TComponent* owner, const char* defaultName)
    : TCustomPathSpecifier(owner), defaultName_(defaultName) {
    StandardPathSpecList().push_back(this);
}

void TStandardPathSpecifier::BeforeDestruction() {
    Erase(StandardPathSpecList(), this);
    TCustomPathSpecifier::BeforeDestruction();
}

std::string TStandardPathSpecifier::GetPath(fw::TComponent* component) {
    Validate(component);
    return StripBackslashes(StandardPath(component));
}

// ---- The plain folders ------------------------------------------------------------------------------------

std::string TpsBDEDLL::Description() { return std::string(kEngineName) + " DLL Path"; }
std::string TpsBDEDLL::ShortName() { return "BDE DLL"; }
std::string TpsBDEDLL::StandardPath(fw::TComponent*) {
    std::string path = ReadRegString(TRootKeys::hkLocalMachine, kEngineKey, "DLLPath", "");
    if (path.empty()) path = AddBackslash(ProgramFilesDir()) + kEngineFolder;
    return Field(path, 1, ";");
}

std::string TpsCommonFiles::Description() { return "Path of the common files directory under the program files directory"; }
std::string TpsCommonFiles::ShortName() { return "Common files"; }
std::string TpsCommonFiles::StandardPath(fw::TComponent*) { return CommonFilesDir(); }

std::string TpsDesktopMenu::Description() { return "Path of the Desktop"; }
std::string TpsDesktopMenu::ShortName() { return "Desktop"; }
std::string TpsDesktopMenu::StandardPath(fw::TComponent*) { return DesktopDir(); }

std::string TpsProgramFiles::Description() { return "Path of the program files directory"; }
std::string TpsProgramFiles::ShortName() { return "Program files"; }
std::string TpsProgramFiles::StandardPath(fw::TComponent*) { return ProgramFilesDir(); }

std::string TpsProgramMenu::Description() { return "Path of the Programs folder under the Start Menu"; }
std::string TpsProgramMenu::ShortName() { return "Program menu"; }
std::string TpsProgramMenu::StandardPath(fw::TComponent*) { return ProgramsDir(); }

std::string TpsStartMenu::Description() { return "Path of Start Menu"; }
std::string TpsStartMenu::ShortName() { return "Start menu"; }
std::string TpsStartMenu::StandardPath(fw::TComponent*) { return StartMenuDir(); }

std::string TpsStartupMenu::Description() {
    return "Path of the Startup folder in the Programs folder under the Start Menu";
}
std::string TpsStartupMenu::ShortName() { return "Startup menu"; }
std::string TpsStartupMenu::StandardPath(fw::TComponent*) { return StartupDir(); }

std::string TpsSystem::Description() { return "Path of system directory"; }
std::string TpsSystem::ShortName() { return "System dir"; }
std::string TpsSystem::StandardPath(fw::TComponent*) { return SystemDir(); }

std::string TpsWindow::Description() { return "Path of the Windows directory"; }
std::string TpsWindow::ShortName() { return "Windows dir"; }
std::string TpsWindow::StandardPath(fw::TComponent*) { return WindowsDir(); }

// ---- The tree's folders -----------------------------------------------------------------------------------

void TpsContainerArchiveFile::Validate(fw::TComponent* component) {
    TInstallObject* object = RequireObject(component, DefaultName());
    if (!object->Container())
        throw IEPathSpecifier("Cannot use ddContainerArchiveFile for %s unless you assign a Container",
                              {NameOf(component)});
    if (!dynamic_cast<TFileRelated*>(object->Container()))
        throw IEPathSpecifier(
            "Cannot use the ddContainerArchiveFile path specifier for %s because the Container is not a TFileRelated descendant",
            {NameOf(component)});
}

std::string TpsContainerArchiveFile::StandardPath(fw::TComponent* component) {
    return static_cast<TFileRelated*>(static_cast<TInstallObject*>(component)->Container())->GetArchivePath();
}

void TpsContainerDestDir::Validate(fw::TComponent* component) {
    TInstallObject* object = RequireObject(component, DefaultName());
    if (!object->Container())
        throw IEPathSpecifier("Cannot use ddContainerDestDir for %s unless you assign a Container", {NameOf(component)});
}

std::string TpsContainerDestDir::StandardPath(fw::TComponent* component) {
    return static_cast<TInstallObject*>(component)->Container()->GetDestPath();
}

// How the container of a valid component is described: in full ("Path of the <x> group") or short.
std::string TpsContainerDestDir::Describe(fw::TComponent* component, bool full) {
    try {
        Validate(component);
    } catch (const IEPathSpecifier&) {
        return Description();
    }
    TInstallContainer* container = static_cast<TInstallObject*>(component)->Container();
    if (container == InstallComponent()) return "Main installation directory";
    std::string name = container->Name();
    const char* kind = "group";
    if (auto* files = dynamic_cast<TFileContainer*>(container)) {
        name = files->Description();
        if (!dynamic_cast<TCustomInstallGroup*>(container)) kind = "directory";
    }
    return full ? "Path of the <" + name + "> " + kind : "<" + name + ">";
}

std::string TpsContainerDestDir::DescriptionFor(fw::TComponent* component) { return Describe(component, true); }
std::string TpsContainerDestDir::ShortNameFor(fw::TComponent* component) { return Describe(component, false); }

void TpsInstallSource::Validate(fw::TComponent* component) { RequireInstall(component); }
std::string TpsInstallSource::StandardPath(fw::TComponent*) { return InstallComponent()->SourceDir(); }

void TpsMainInstall::Validate(fw::TComponent* component) {
    TInstallRoot* root = RequireInstall(component);
    if (component == root) throw IEPathSpecifier("Cannot use the ddMainInstallDir path specifier for a TInstall component");
}
std::string TpsMainInstall::StandardPath(fw::TComponent*) { return InstallComponent()->GetDestPath(); }

void TpsMainArchiveFile::Validate(fw::TComponent* component) { RequireInstall(component); }

std::string TpsMainArchiveFile::StandardPath(fw::TComponent*) {
    TInstallRoot* root = InstallComponent();
    if (root->StartedFromSelfExtractor()) {
        if (fw::Trim(root->SelfExtractName()).empty())
            throw IEInstall(
                "You forgot to pass in the name of the self-extracting executable. Usage example: \"-eSetup.exe\"");
        return AddBackslash(root->SourceDir()) + root->SelfExtractName();
    }
    const std::string dir = fw::Trim(archiveDirectory_).empty() ? root->SourceDir() : archiveDirectory_;
    return AddBackslash(dir) + "files.1";
}

void TpsObjectLink::Validate(fw::TComponent* component) {
    auto* link = dynamic_cast<ObjectLinkSource*>(component);
    if (!link)
        throw IEPathSpecifier("%s must be a %s to use the %s path specifier",
                              {NameOf(component), "TCustomInstallShellLink", DefaultName()});
    if (!link->ObjectLink())
        throw IEPathSpecifier("Cannot use ddObjectLink for %s unless you assign a value to ObjectLink",
                              {NameOf(component)});
}

std::string TpsObjectLink::StandardPath(fw::TComponent* component) {
    fw::TComponent* target = dynamic_cast<ObjectLinkSource*>(component)->ObjectLink();
    if (auto* file = dynamic_cast<TCustomInstallFile*>(target)) return file->DestPath();
    if (auto* node = dynamic_cast<TInstallContainer*>(target)) return node->GetDestPath();
    return std::string();
}

// ---- Lists ------------------------------------------------------------------------------------------------

TStandardPathSpecifier* FindStandardSpecifier(const std::type_info& type) {
    for (TStandardPathSpecifier* s : StandardPathSpecList())
        if (typeid(*s) == type) return s;
    throw IEPathSpecifier("Could not find the path specifier");
}

namespace {

template <class T>
void EnsureOne(fw::TComponent* owner) {
    for (TStandardPathSpecifier* s : StandardPathSpecList())
        if (dynamic_cast<T*>(s)) return;
    T* s = fw::Make<T>(owner);
    try {
        s->SetName(s->DefaultName());
    } catch (const fw::EComponentError&) {
        SetUniqueName(s, s->DefaultName());
    }
}

}  // namespace

void EnsureStandardSpecifiers(fw::TComponent* owner) {
    EnsureOne<TpsBDEDLL>(owner);
    EnsureOne<TpsCommonFiles>(owner);
    EnsureOne<TpsContainerArchiveFile>(owner);
    EnsureOne<TpsContainerDestDir>(owner);
    EnsureOne<TpsDesktopMenu>(owner);
    EnsureOne<TpsInstallSource>(owner);
    EnsureOne<TpsMainInstall>(owner);
    EnsureOne<TpsProgramFiles>(owner);
    EnsureOne<TpsProgramMenu>(owner);
    EnsureOne<TpsStartMenu>(owner);
    EnsureOne<TpsStartupMenu>(owner);
    EnsureOne<TpsSystem>(owner);
    EnsureOne<TpsMainArchiveFile>(owner);
    EnsureOne<TpsWindow>(owner);
}

std::string ExpandPathMacro(const std::string& text, const std::string& path) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) break;
        if (text[i] == 'p' || text[i] == 'P')
            out += path;
        else
            out += text[i];
    }
    return out;
}

}  // namespace inst
