// File containers: a subtree of files and containers under one destination and one archive. A container
// runs one operation over its subtree at a time (compress at build time, install, plain copy), keeps the
// byte totals its progress is computed from, and turns its files' upward events into its own events and
// broadcasts. TInstallGroup and TInstallDirectory are the published kinds; the install component is one
// too.
#pragma once

#include <functional>
#include <string>

#include "installer/file_related.h"
#include "installer/install_file.h"
#include "installer/pathspec.h"

namespace fw {
class TStringList;
}

namespace inst {

class TFileContainer;

// The container's own path specifier: "Path into which <Description> will be installed".
class TpsFileContainer : public TCustomPathSpecifier {
public:
    explicit TpsFileContainer(fw::TComponent* owner) : TCustomPathSpecifier(owner) {}
    TFileContainer* FileContainer() const { return fileContainer_; }
    // A streamed specifier pointing at a container replaces the one the container made for itself.
    void SetFileContainer(TFileContainer* value);
    void Validate(fw::TComponent* component) override;
    std::string Description() override;
    std::string ShortName() override;
    std::string GetPath(fw::TComponent* component) override;
    // A streamed name that clashes with the container's own specifier renames that one ("nameClash").
    void SetName(const std::string& newName) override;

protected:
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    TFileContainer* fileContainer_ = nullptr;
};

using TAfterInstallObjectsEvent = fw::Event<void(fw::TObject* Sender, bool WasAborted)>;

// Compress options.
enum : int {
    coRelocateArchives = 2,
    coForceNetFilesLocal = 8,
    coForceFilesNet = 16,
    coIncludeAll = 32,
};

class TFileContainer : public TFileRelated {
public:
    enum : uint8_t { kOpNone = 0, kOpCompress = 1, kOpInstall = 2, kOpCopy = 3 };

    explicit TFileContainer(fw::TComponent* owner);

    int RegisteredType() const override { return kTypeFileContainer; }

    int32_t TotalSizeField() const { return totalSize_; }
    int32_t BytesDone() const { return bytesDone_; }
    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& v) { description_ = v; }
    uint8_t OperationState() const { return operationState_; }
    bool FireAfterInstallObjects() const { return fireAfterInstallObjects_; }
    void SetFireAfterInstallObjects(bool v) { fireAfterInstallObjects_ = v; }
    TpsFileContainer* PathSpecifier() const { return pathSpecifier_; }
    void SetPathSpecifier(TpsFileContainer* v) { pathSpecifier_ = v; }

    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;
    TInstallFileNotifyEvent OnReplacing;
    TAfterInstallObjectsEvent OnAfterInstallObjects;
    TInstallContainerNotifyEvent OnBeforeInstallObjects;

    virtual bool CreatesPathSpecifier() const { return true; }
    virtual void DoNewDisk(TCustomInstallFile* file, TDiskParameter& disk);
    virtual void DoReplacing(TCustomInstallFile* file);
    virtual void DoStatus(TCustomInstallFile* file, TFileStatusParameter& status);
    virtual int64_t SumSizes(bool all, bool recursive);
    virtual void RunOperation(int kind);
    virtual void Copy();
    virtual void FreeFiles();
    virtual void Compress(int options);
    virtual int64_t SumCompressedSizes(bool all);
    virtual std::string LocalArchivePath();
    int64_t FileSizes(bool all) { return SumSizes(all, false); }
    int64_t TotalSize(bool all) { return SumSizes(all, true); }
    virtual void ReadInfoFromArchive();
    virtual void ReadInfoFromFiles();
    virtual bool HasSharedNetFiles();
    bool HasNetFiles() const;
    TCustomInstallFile* FindFile(const std::string& path) const;

    void InformationEvent(TInstallContainer* child, int code, fw::TObject* param) override;
    void InstallChildren() override;

protected:
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // The install component makes no specifier of its own.
    TFileContainer(fw::TComponent* owner, bool createsSpecifier);

    int32_t totalSize_ = 0;
    int32_t bytesDone_ = 0;
    uint8_t operationState_ = kOpNone;

private:
    // Fills the totals of a status parameter from this container's progress.
    void Totals(TFileStatusParameter& status);
    void HandleStatus(TInstallContainer* child, fw::TObject* param);
    void HandleDone(fw::TObject* param);
    void CompressChild(TFileRelated* child, int options, const std::string& archiveDir);
    // The frame of the build-time operations (copy, compress): events, totals over the files, the
    // operation state and the closing broadcast, also after a failure.
    void BuildOperation(uint8_t kind, bool allSizes, const std::function<void()>& body);

    std::string description_;
    bool fireAfterInstallObjects_ = true;
    TpsFileContainer* pathSpecifier_ = nullptr;
};

class TInstallGroupDialogOptions : public fw::TPersistent {
public:
    TInstallGroupDialogOptions();
    ~TInstallGroupDialogOptions() override;
    bool AllowChangeDir = true;
    bool AllowExcludeInclude = true;
    fw::TStringList* Description() const { return description_; }
    void SetDescription(fw::TStringList* lines);
    bool DisplayDirectory = true;
    void Assign(fw::TPersistent* source) override;

private:
    fw::TStringList* description_;
};

class TCustomInstallGroup : public TFileContainer {
public:
    explicit TCustomInstallGroup(fw::TComponent* owner);
    ~TCustomInstallGroup() override;
    int RegisteredType() const override { return kTypeGroup; }
    TInstallGroupDialogOptions* DialogOptions() const { return dialogOptions_; }
    void SetDialogOptions(TInstallGroupDialogOptions* v) { dialogOptions_->Assign(v); }
    // Only the install component or another group may hold a group (nil: the install component).
    void SetContainer(TInstallContainer* value) override;

private:
    TInstallGroupDialogOptions* dialogOptions_;
};

class TInstallGroup : public TCustomInstallGroup {
public:
    explicit TInstallGroup(fw::TComponent* owner) : TCustomInstallGroup(owner) {}
};

class TInstallDirectory : public TFileContainer {
public:
    explicit TInstallDirectory(fw::TComponent* owner) : TFileContainer(owner) {}
    // Frees, last first, each child file whose source does not exist.
    void RemoveMissingFiles();
};

}  // namespace inst
