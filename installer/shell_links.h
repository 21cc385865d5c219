// Shortcuts: link groups (folders below the Programs menu, processed in pass 7000) and links (pass 8000).
// A link is a shell link file (.LNK) made through the shell's link object, an internet shortcut (.URL,
// an ini file), or, on systems without the Start-menu folders, a Program Manager item (progman.h). The
// extension of LinkName tells the kind. Every link records its file in the product's uninstall record.
#pragma once

#include <string>
#include <vector>

#include "installer/install_tree.h"
#include "installer/pathspec.h"

namespace inst {

enum class TMethodType { mtAutoDetect, mtShellLinkInterface, mtProgramManager };

class TCustomShellLinkGroup : public TInstallObject {
public:
    explicit TCustomShellLinkGroup(fw::TComponent* owner);
    int RegisteredType() const override { return kTypeLinkGroup; }
    void Notify(TInstallContainer* sender, int code, fw::TObject* param) override;
    // Makes every missing folder of the destination.
    void InstallChildren() override;
    void ContainerDestroyed(TInstallContainer* node) override;

protected:
    ~TCustomShellLinkGroup() override;
};

// The product's own folder below the Programs menu (one per program); the Start-menu folder page lets
// the user rename it.
class TMainLinkGroup : public TCustomShellLinkGroup {
public:
    explicit TMainLinkGroup(fw::TComponent* owner);
    // Always the Programs menu.
    void SetDestDirType(TCustomPathSpecifier* value) override;
    // Keeps its folder below the Programs menu.
    void SetContainer(TInstallContainer* value) override;

protected:
    ~TMainLinkGroup() override;
};

class TCustomInstallShellLink : public TInstallObject, public ObjectLinkSource {
public:
    // The longest link path the link object saves (its buffer holds the terminator too).
    static constexpr size_t kMaxLinkPath = 259;

    explicit TCustomInstallShellLink(fw::TComponent* owner);
    int RegisteredType() const override { return kTypeLink; }

    bool ComReady() const { return comReady_; }
    uint16_t HotKey() const { return hotKey_; }
    void SetHotKey(uint16_t v) { hotKey_ = v; }
    const std::string& LinkName() const { return linkName_; }
    virtual void SetLinkName(const std::string& value);
    fw::TComponent* ObjectLink() const override { return objectLink_; }
    TInstallContainer* ObjectLinkNode() const { return objectLink_; }
    virtual void SetObjectLink(TInstallContainer* value);
    const std::string& ObjectLocation() const { return objectLocation_; }
    virtual void SetObjectLocation(const std::string& value);
    TCustomPathSpecifier* ObjectLocationType() const { return objectLocationType_; }
    virtual void SetObjectLocationType(TCustomPathSpecifier* value);
    const std::string& Parameters() const { return parameters_; }
    void SetParameters(const std::string& v) { parameters_ = v; }
    TMethodType Method() const { return method_; }
    void SetMethod(TMethodType v) { method_ = v; }

    virtual void EnsureCom();
    virtual void MakeProgramManagerItem();
    virtual void MakeShellLink();
    virtual void MakeInternetShortcut();
    // ObjectLocationType's path for the link followed by ObjectLocation.
    virtual std::string GetTargetPath();
    // The destination with a trailing backslash, then LinkName.
    std::string LinkPath();
    bool IsInternetShortcut() const;

    void Notify(TInstallContainer* sender, int code, fw::TObject* param) override;
    void InstallChildren() override;
    void WriteUninstallInfo(const std::string& key) override;
    void ContainerDestroyed(TInstallContainer* node) override;

protected:
    ~TCustomInstallShellLink() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    // The link's arguments with the meta variables expanded.
    std::string ExpandedArguments();

    bool comReady_ = false;
    uint16_t hotKey_ = 0;
    std::string linkName_;
    TInstallContainer* objectLink_ = nullptr;
    std::string objectLocation_;
    TCustomPathSpecifier* objectLocationType_ = nullptr;
    std::string parameters_;
    TMethodType method_ = TMethodType::mtAutoDetect;
};

class TInstallShellLink : public TCustomInstallShellLink {
public:
    explicit TInstallShellLink(fw::TComponent* owner) : TCustomInstallShellLink(owner) {}
};

// A link in the main folder: always contained by the main link group, below it by its own DestDir.
class TInstallMainLink : public TCustomInstallShellLink {
public:
    explicit TInstallMainLink(fw::TComponent* owner);
    void SetContainer(TInstallContainer* value) override;
};

// The global lists: every link, every link group, and the main link group (or null).
std::vector<TCustomInstallShellLink*>& ShellLinkList();
std::vector<TCustomShellLinkGroup*>& ShellLinkGroupList();
TMainLinkGroup* MainLinkGroup();

}  // namespace inst
