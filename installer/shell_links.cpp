#include "installer/shell_links.h"

#include <algorithm>

#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/file_container.h"
#include "installer/install_file.h"
#include "installer/install_root.h"
#include "installer/metavars.h"
#include "installer/progman.h"
#include "installer/strutils.h"
#include "installer/system.h"
#include "installer/uninstall.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

TMainLinkGroup* g_mainGroup = nullptr;

template <class T>
void Erase(std::vector<T*>& list, const void* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// These checks run before any part of the component is made.
fw::TComponent* OnlyMainGroup(fw::TComponent* owner) {
    if (g_mainGroup) throw IEShellLinkGroup("You can only have one TMainLinkGroup component in your project");
    return owner;
}

fw::TComponent* MainGroupExists(fw::TComponent* owner) {
    if (!g_mainGroup)
        throw IEInstallShellLink(
            "To create a TInstallMainLink you must first have a TMainLinkGroup component in your project");
    return owner;
}

// The text of a failing call of the link object, by its result.
std::string LinkErrorText(const ShellLinkAnswer& answer) {
    switch (static_cast<uint32_t>(answer.result)) {
        case 0x8000FFFFu: return "Indicates an unexpected error occurred";
        case 0x80040110u: return "Indicates this class cannot be created as part of an aggregate";
        case 0x80040154u: return "Indicates that a specified class is not registered in the registration database";
        case 0x8007000Eu: return "Out of memory";
        case 0x80070057u: return "Indicates one or more arguments are invalid";
        case 0: return std::string();
        default: return answer.text;
    }
}

}  // namespace

std::vector<TCustomInstallShellLink*>& ShellLinkList() {
    static std::vector<TCustomInstallShellLink*> list;
    return list;
}

std::vector<TCustomShellLinkGroup*>& ShellLinkGroupList() {
    static std::vector<TCustomShellLinkGroup*> list;
    return list;
}

TMainLinkGroup* MainLinkGroup() { return g_mainGroup; }

// ---- Link groups ----------------------------------------------------------------------------------------------------

TCustomShellLinkGroup::TCustomShellLinkGroup(fw::TComponent* owner) : TInstallObject(owner) {
    ShellLinkGroupList().push_back(this);
}

TCustomShellLinkGroup::~TCustomShellLinkGroup() { Erase(ShellLinkGroupList(), this); }

void TCustomShellLinkGroup::Notify(TInstallContainer*, int code, fw::TObject*) {
    if (code == -969) Process();
}

void TCustomShellLinkGroup::InstallChildren() {
    Broadcast(this, kNotifyLinkGroupInstall, nullptr);
    fw::ForceDirectories(GetDestPath());
    TInstallObject::InstallChildren();
}

void TCustomShellLinkGroup::ContainerDestroyed(TInstallContainer* node) {
    const bool lost = node == Container();
    TInstallObject::ContainerDestroyed(node);
    if (lost && !InState(fw::csDestroying)) Free();
}

TMainLinkGroup::TMainLinkGroup(fw::TComponent* owner) : TCustomShellLinkGroup(OnlyMainGroup(owner)) {
    g_mainGroup = this;
    SetDestDirType(nullptr);
    TInstallRoot* root = InstallComponent();
    SetDestDir(root ? "\\" + root->Information()->ProductName : "\\MainFolderName");
}

TMainLinkGroup::~TMainLinkGroup() {
    if (g_mainGroup == this) g_mainGroup = nullptr;
}

void TMainLinkGroup::SetDestDirType(TCustomPathSpecifier*) {
    TCustomPathSpecifier* menu = nullptr;
    for (TStandardPathSpecifier* s : StandardPathSpecList())
        if (auto* m = dynamic_cast<TpsProgramMenu*>(s)) menu = m;
    TCustomShellLinkGroup::SetDestDirType(menu);
}

void TMainLinkGroup::SetContainer(TInstallContainer* value) {
    const std::string dir = DestDir();
    TCustomShellLinkGroup::SetContainer(value);
    SetDestDir(dir);
}

// ---- Links ----------------------------------------------------------------------------------------------------------

TCustomInstallShellLink::TCustomInstallShellLink(fw::TComponent* owner) : TInstallObject(owner) {
    ShellLinkList().push_back(this);
    if (!IsDefinitionRoot(owner)) return;
    for (TStandardPathSpecifier* s : StandardPathSpecList())
        if (dynamic_cast<TpsObjectLink*>(s)) return;
    auto* spec = fw::Make<TpsObjectLink>(owner);
    SetUniqueName(spec, spec->DefaultName());
}

TCustomInstallShellLink::~TCustomInstallShellLink() { Erase(ShellLinkList(), this); }

void TCustomInstallShellLink::Notification(fw::TComponent* component, fw::TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == objectLocationType_) objectLocationType_ = nullptr;
    if (component == objectLink_) objectLink_ = nullptr;
}

void TCustomInstallShellLink::ContainerDestroyed(TInstallContainer* node) {
    const bool lost = node == Container() || node == objectLink_;
    TInstallObject::ContainerDestroyed(node);
    if (node == objectLink_) objectLink_ = nullptr;
    if (lost && !InState(fw::csDestroying)) Free();
}

void TCustomInstallShellLink::Notify(TInstallContainer*, int code, fw::TObject*) {
    if (code == -970) Process();
}

void TCustomInstallShellLink::SetLinkName(const std::string& value) {
    if (InState(fw::csLoading) || fw::Trim(value).empty()) {
        linkName_ = value;
        return;
    }
    const std::string ext = fw::UpperCase(fw::ExtractFileExt(value));
    if (ext == ".URL") {
        SetObjectLink(nullptr);
        linkName_ = value;
    } else if (ext != ".LNK") {
        const std::string previous = fw::UpperCase(fw::ExtractFileExt(linkName_));
        linkName_ = value + (previous.empty() ? ".LNK" : previous);
    } else {
        linkName_ = value;
    }
}

void TCustomInstallShellLink::SetObjectLink(TInstallContainer* value) {
    if (objectLink_ != value) {
        if (objectLink_) objectLink_->RemoveFreeNotification(this);
        objectLink_ = value;
        if (value) value->FreeNotification(this);
    }
    if (InState(fw::csLoading)) return;
    if (!value) {
        SetObjectLocationType(nullptr);
        return;
    }
    SetObjectLocationType(FindSpecifier<TpsObjectLink>());
    objectLocation_.clear();
    if (auto* file = dynamic_cast<TCustomInstallFile*>(value))
        linkName_ = fw::ChangeFileExt(file->DestName(), ".lnk");
    else if (auto* directory = dynamic_cast<TInstallDirectory*>(value))
        linkName_ = directory->Description() + ".lnk";
    else
        linkName_ = value->Name() + ".lnk";
    if (!Container()) SetContainer(value);
}

void TCustomInstallShellLink::SetObjectLocation(const std::string& value) {
    objectLocation_ = dynamic_cast<TpsObjectLink*>(objectLocationType_) ? std::string() : value;
    if (InState(fw::csLoading)) return;
    const std::string name = fw::UpperCase(fw::Trim(linkName_));
    if (!name.empty() && name != ".LNK") return;
    const std::string upper = fw::UpperCase(value);
    // The rest of an address names the shortcut; made safe, so that it stays one file name.
    for (const char* scheme : {"HTTP://", "FTP://"}) {
        const size_t at = upper.find(scheme);
        if (at == std::string::npos) continue;
        linkName_ = SafeFileName(value.substr(at + std::string(scheme).size())) + ".URL";
        return;
    }
    SetLinkName(fw::ChangeFileExt(fw::ExtractFileName(value), ""));
}

void TCustomInstallShellLink::SetObjectLocationType(TCustomPathSpecifier* value) {
    if (value && !InState(fw::csLoading)) value->Validate(this);
    if (objectLocationType_ != value) {
        if (objectLocationType_) objectLocationType_->RemoveFreeNotification(this);
        objectLocationType_ = value;
        if (value) value->FreeNotification(this);
    }
    if (dynamic_cast<TpsObjectLink*>(value)) objectLocation_.clear();
}

std::string TCustomInstallShellLink::GetTargetPath() {
    if (objectLocationType_) return objectLocationType_->GetPath(this) + objectLocation_;
    return RemoveBackslash(objectLocation_);
}

std::string TCustomInstallShellLink::LinkPath() { return AddBackslash(GetDestPath()) + linkName_; }

bool TCustomInstallShellLink::IsInternetShortcut() const {
    return fw::UpperCase(fw::ExtractFileExt(linkName_)) == ".URL";
}

std::string TCustomInstallShellLink::ExpandedArguments() { return ExpandMetaVariables(parameters_, this); }

void TCustomInstallShellLink::EnsureCom() {
    if (comReady_) return;
    const int32_t answer = Sys().InitializeCom();
    // 1: the library was initialised already.
    if (answer != 0 && answer != 1)
        throw IEInstallShellLink("Could not initialize IShellLink with following error code returned: %d", {answer});
    comReady_ = true;
}

void TCustomInstallShellLink::InstallChildren() {
    if (fw::Trim(linkName_).empty())
        throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
    if (objectLink_) {
        // A link to something that was not installed is not made.
        if (!objectLink_->Processed()) return;
        if (dynamic_cast<TUninstallEXE*>(objectLink_)) {
            TInstallRoot* root = InstallComponent();
            if (!root)
                throw IEInstallShellLink("%s cannot perform operation because there is no TInstall component", {Name()});
            parameters_ = fw::Trim(root->Information()->ProductName);
        }
        if (auto* group = dynamic_cast<TCustomShellLinkGroup*>(objectLink_)) fw::ForceDirectories(group->GetDestPath());
    }
    if (IsInternetShortcut()) {
        MakeInternetShortcut();
    } else {
        switch (method_) {
            case TMethodType::mtShellLinkInterface: MakeShellLink(); break;
            case TMethodType::mtProgramManager: MakeProgramManagerItem(); break;
            case TMethodType::mtAutoDetect: {
                const int platform = WindowsPlatform();
                if (platform == 1 || platform == 2)
                    MakeShellLink();
                else
                    MakeProgramManagerItem();
                break;
            }
        }
    }
    TInstallObject::InstallChildren();
}

void TCustomInstallShellLink::MakeShellLink() {
    EnsureCom();
    fw::ForceDirectories(GetDestPath());
    const std::string target = GetTargetPath();
    const std::string path = LinkPath();
    // The link object keeps at most this many characters: a longer path would be saved cut short.
    if (path.size() > kMaxLinkPath)
        throw IEInstallShellLink("The link %s of %s is longer than %d characters and cannot be saved",
                                 {path, Name(), static_cast<int>(kMaxLinkPath)});
    ShellLinkRequest request;
    request.target = target;
    request.arguments = ExpandedArguments();
    request.workingDirectory = RemoveBackslash(fw::ExtractFileDir(target));
    request.hotKey = hotKey_;
    request.linkPath = path;
    const ShellLinkAnswer answer = Sys().SaveShellLink(request);
    if (!answer.created) throw EOleSysError(answer.text);
    if (answer.result != 0)
        throw IEInstallShellLink(
            "The TCustomInstallShellLink %s name could not be installed. The following error was reported %s. Error "
            "code %d",
            {Name(), LinkErrorText(answer), answer.result});
}

void TCustomInstallShellLink::MakeInternetShortcut() {
    fw::ForceDirectories(GetDestPath());
    const std::string path = LinkPath();
    if (!fw::Profiles().WriteString(path, "InternetShortcut", "URL", objectLocation_))
        throw IEInstallShellLink("The internet shortcut %s of %s could not be written", {path, Name()});
    fw::Profiles().Flush(path);
}

void TCustomInstallShellLink::MakeProgramManagerItem() {
    if (!dynamic_cast<TpsProgramMenu*>(DestDirType())) return;
    const std::string group = fw::Trim(fw::ExtractFileName(RemoveBackslash(GetDestPath())));
    if (group.empty())
        throw IEInstallShellLink("The LinkName is blank for %s and therefore could not be installed", {Name()});
    TProgramManager& manager = ProgramManager();
    manager.CreateGroup(group);
    const std::string item = fw::ChangeFileExt(linkName_, "");
    if (manager.FindItem(item) > 0) manager.ReplaceItem(item);
    const std::string target = GetTargetPath();
    manager.AddItem("\"" + target + "\" " + ExpandedArguments(), item, "", 0,
                    "\"" + RemoveBackslash(fw::ExtractFileDir(target)) + "\"", "");
}

void TCustomInstallShellLink::WriteUninstallInfo(const std::string& key) { AddUninstallFileEntry(key, LinkPath()); }

// ---- Main links -------------------------------------------------------------------------------------------------------

TInstallMainLink::TInstallMainLink(fw::TComponent* owner) : TCustomInstallShellLink(MainGroupExists(owner)) {
    LinkContainer(MainLinkGroup());
    for (TStandardPathSpecifier* s : StandardPathSpecList())
        if (auto* dest = dynamic_cast<TpsContainerDestDir*>(s)) TInstallContainer::SetDestDirType(dest);
}

void TInstallMainLink::SetContainer(TInstallContainer* value) {
    if (value != MainLinkGroup())
        throw IEInstallShellLink(
            "The TMainLinkGroup component must be the Container for TInstallMainLink and TSubLinkGroup components");
    TCustomInstallShellLink::SetContainer(value);
}

}  // namespace inst
