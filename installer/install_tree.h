// The install tree: every node of the install definition derives from TInstallContainer. Children are
// kept sorted by their registered type (groups 500, containers 1000, files 2000, link groups 7000, links
// 8000, registry objects 8500, dialogs 9000), a new node going before the older ones of its type.
//
// Two notification channels tie the tree together:
//   - Broadcast(sender, negative code, param) calls Notify on the direct children of type 2000 and up;
//   - InformationEvent(child, positive code, param) goes from a node to its container and up to the root.
// Parameter objects are made and freed by the sender; receivers never keep them.
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "installer/container_header.h"

namespace inst {

class TCustomPathSpecifier;
class TInstallContainer;
class TInstallRoot;
class TQnfdCompress;
class TCustomInstallFile;

enum class TInstallType { itFull, itDefault, itCompact, itCustom };
using TInstallTypeSet = fw::Set<TInstallType>;

using TInstallContainerNotifyEvent = fw::Event<void(fw::TObject* Sender)>;

// Registered types.
enum : int {
    kTypeGroup = 500,
    kTypeFileContainer = 1000,
    kTypeFile = 2000,
    kTypeLinkGroup = 7000,
    kTypeLink = 8000,
    kTypeRegistry = 8500,
    kTypeDialog = 9000,
};

// Downward notification codes.
enum : int {
    kNotifyProcessing = -999,
    kNotifyFileStatus = -998,
    kNotifyReplacing = -997,
    kNotifyOperationEnded = -996,
    kNotifyBeforeGoodPages = -995,
    kNotifyBeforeBadPages = -994,
    kNotifyChangeDisk = -993,
    kNotifyContainerInstall = -992,
    kNotifyLinkGroupInstall = -991,
    kNotifyBeforeProcess = -990,
    kNotifyAfterProcess = -989,
    kNotifyDownloadStatus = -988,
    kNotifyReboot = -987,
    kNotifyBeforeReadInfo = -984,
    kNotifyAfterReadInfo = -983,
    kNotifyBeforeInstall = -980,
    kNotifyAfterGoodInstall = -979,
    kNotifyAfterBadInstall = -978,
    kNotifyStatusMessage = -974,
    kNotifyEndStatusMessage = -973,
};

// Upward information codes.
enum : int {
    kInfoInstalled = 1001,
    kInfoInstallStarts = 1002,
    kInfoReplacing = 1003,
    kInfoCompressStarts = 1004,
    kInfoCompressEnded = 1005,
    kInfoCopyStarts = 1006,
    kInfoCopyEnded = 1007,
    kInfoInstallProgress = 1008,
    kInfoCompressProgress = 1009,
    kInfoCopyProgress = 1010,
    kInfoNewDisk = 1011,
    kInfoOperationStarts = 1012,
    kInfoOperationEnded = 1013,
    kInfoDownloadProgress = 1014,
    kInfoSkippedByHandler = 1015,
    kInfoKeptExisting = 1016,
};

class TFileStatusParameter : public fw::TObject {
public:
    int32_t BytesDone = 0;
    int32_t FilePercent = 0;
    std::string FileName;
    TlzhFileStats Stats;
    int32_t TotalBytesDone = 0;
    int32_t TotalPercent = 0;
};

class TDownloadStatusParameter : public fw::TObject {
public:
    int32_t ChunkBytes = 0;
    std::string FileName;
    int32_t FileSize = 0;
    int32_t BytesReceived = 0;
    int32_t Percent = 0;  // received / size * 100, rounded; 0 when size is 0
};

class TDiskParameter : public fw::TObject {
public:
    int32_t DiskNumber = 0;
    std::string Path;
};

class TMessageParameter : public fw::TObject {
public:
    std::string Text;
};

// A TList parameter holds TObject pointers; these put them in and take them out.
void ListAdd(fw::TList& list, fw::TObject* object);
fw::TObject* ListItem(const fw::TList& list, int index);

class TInstallContainer : public fw::TComponent {
public:
    explicit TInstallContainer(fw::TComponent* owner);

    bool IsFileRelated() const { return isFileRelated_; }
    const std::vector<TInstallContainer*>& Children() const { return children_; }
    int ChildCount() const { return static_cast<int>(children_.size()); }
    bool Include() const { return include_; }
    void SetInclude(bool v) { include_ = v; }
    bool Processed() const { return processed_; }
    void SetProcessed(bool v) { processed_ = v; }
    uint8_t SelectedInstallType() const { return selectedInstallType_; }
    bool Uninstall() const { return uninstall_; }
    void SetUninstall(bool v) { uninstall_ = v; }
    const std::string& DestDir() const { return destDir_; }
    virtual void SetDestDir(const std::string& value);
    TCustomPathSpecifier* DestDirType() const { return destDirType_; }
    virtual void SetDestDirType(TCustomPathSpecifier* value);
    bool DestDirTypeAssigned() const { return destDirTypeAssigned_; }
    TInstallTypeSet InstallTypes() const { return installTypes_; }
    void SetInstallTypes(TInstallTypeSet v) { installTypes_ = v.Empty() ? TInstallTypeSet{TInstallType::itFull} : v; }
    int Order() const { return order_; }
    void SetOrder(int v) { order_ = v; }

    TInstallContainerNotifyEvent OnAfterProcess, OnBeforeProcess, OnProcessing;

    virtual int CountFileContainers() const;
    virtual TInstallContainer* FileContainer(int index) const;
    virtual void ContainerDestroyed(TInstallContainer* node);
    virtual void StatusMessage(const std::string& text);
    virtual void InformationEvent(TInstallContainer* child, int code, fw::TObject* param) {}
    virtual void Notify(TInstallContainer* sender, int code, fw::TObject* param) {}
    // The destination: DestDirType's path for this node followed by DestDir, without trailing "\".
    virtual std::string GetDestPath();
    // Raises IEInstallContainer "Class must declare a registered type".
    virtual int RegisteredType() const;
    virtual void AddChild(TInstallContainer* node);
    virtual void Process();
    virtual void InstallChildren();
    virtual bool IsSelected() const;
    virtual void CompleteAfterReboot() {}
    virtual void UpdateAppearance() {}
    virtual void RemoveChild(TInstallContainer* node);
    virtual void WriteUninstallInfo(const std::string& key) {}

    void Broadcast(TInstallContainer* sender, int code, fw::TObject* param);
    void EndStatusMessage();
    TInstallContainer* Child(int index) const;
    template <class T>
    int CountChildrenOf() const {
        int n = 0;
        for (TInstallContainer* c : children_)
            if (dynamic_cast<T*>(c)) ++n;
        return n;
    }
    template <class T>
    T* ChildOf(int index) const {
        int n = 0;
        for (TInstallContainer* c : children_)
            if (auto* t = dynamic_cast<T*>(c))
                if (n++ == index) return t;
        ChildOfError(index, typeid(T).name());
    }
    template <class T>
    void FreeChildrenOf() {
        for (int i = ChildCount() - 1; i >= 0; --i)
            if (i < ChildCount())
                if (auto* t = dynamic_cast<T*>(children_[static_cast<size_t>(i)])) t->Free();
    }
    void SetSelectedInstallType(uint8_t type);

protected:
    ~TInstallContainer() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // The Process steps proper (TInstallObject wraps them in its gate).
    void RunProcessSteps();
    [[noreturn]] void ChildOfError(int index, const std::string& className) const;

    bool isFileRelated_ = false;
    std::vector<TInstallContainer*> children_;

private:
    bool include_ = true;
    bool processed_ = false;
    uint8_t selectedInstallType_ = 0;
    bool uninstall_ = true;
    std::string destDir_;
    TCustomPathSpecifier* destDirType_ = nullptr;
    bool destDirTypeAssigned_ = false;
    TInstallTypeSet installTypes_{TInstallType::itFull, TInstallType::itDefault, TInstallType::itCompact};
    int order_ = -1;
};

class TInstallObject : public TInstallContainer {
public:
    explicit TInstallObject(fw::TComponent* owner) : TInstallContainer(owner) {}

    TInstallContainer* Container() const { return container_; }
    virtual void SetContainer(TInstallContainer* value);
    void Process() override;
    void ContainerDestroyed(TInstallContainer* node) override;

protected:
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // Links the object into value's children (and out of the old container's) and stores it.
    void LinkContainer(TInstallContainer* value);

    TInstallContainer* container_ = nullptr;
};

// The global registries of the running program.
std::vector<TInstallContainer*>& AllContainers();
std::vector<TCustomInstallFile*>& AllInstallFiles();
// Install files whose self-registration failed during the run (retried once after all files).
std::vector<TCustomInstallFile*>& FailedRegistrations();
// The one archive component that reads the main archive (made on first use).
TQnfdCompress& SharedArchive();
// The install component, or null.
TInstallRoot* InstallComponent();
void SetInstallComponent(TInstallRoot* root);

// A root for install definitions read from form text where no form exists (a data module without the
// Windows layer): tools and tests load definitions into one.
class TInstallDefinition : public fw::TComponent {
public:
    explicit TInstallDefinition(fw::TComponent* owner) : fw::TComponent(owner) {}
};

// The owner is a form or a data module: nodes owned by one make sure the standard specifiers exist.
bool IsDefinitionRoot(fw::TComponent* owner);

constexpr const char* kUninstallKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace inst
