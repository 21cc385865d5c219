#include "installer/file_container.h"

#include <functional>

#include "framework/core/format.h"
#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/strutils.h"

namespace inst {

namespace {

void InformOwn(TFileContainer* c, int code) {
    if (TInstallContainer* up = c->Container()) up->InformationEvent(c, code, c);
}

}  // namespace

// ---- TpsFileContainer ---------------------------------------------------------------------------------------

void TpsFileContainer::SetFileContainer(TFileContainer* value) {
    if (fileContainer_ == value) return;
    if (fileContainer_) fileContainer_->RemoveFreeNotification(this);
    fileContainer_ = value;
    if (!value) return;
    value->FreeNotification(this);
    TpsFileContainer* made = value->PathSpecifier();
    value->SetPathSpecifier(this);
    if (made && made != this && !made->InState(fw::csDestroying)) made->Free();
}

void TpsFileContainer::Notification(fw::TComponent* component, fw::TOperation operation) {
    TCustomPathSpecifier::Notification(component, operation);
    if (operation == fw::opRemove && component == fileContainer_) fileContainer_ = nullptr;
}

void TpsFileContainer::SetName(const std::string& newName) {
    if (InState(fw::csLoading) && Owner() && !fw::SameName(newName, Name()))
        if (fw::TComponent* other = Owner()->FindComponent(newName); other && other != this)
            if (dynamic_cast<TpsFileContainer*>(other)) SetUniqueName(other, "nameClash");
    TCustomPathSpecifier::SetName(newName);
}

void TpsFileContainer::Validate(fw::TComponent* component) {
    if (dynamic_cast<TFileContainer*>(component) || dynamic_cast<TCustomInstallFile*>(component))
        throw IEPathSpecifier("A file container cannot reference another file container or group");
}

std::string TpsFileContainer::Description() {
    if (!fileContainer_) return "Path specifier for unknown file container";
    return "Path into which " + fileContainer_->Description() + " will be installed";
}

std::string TpsFileContainer::ShortName() {
    if (!fileContainer_) return "Path specifier for unknown file container";
    return "<" + fileContainer_->Description() + ">";
}

std::string TpsFileContainer::GetPath(fw::TComponent* component) {
    Validate(component);
    return fileContainer_ ? fileContainer_->GetDestPath() : std::string();
}

// ---- TFileContainer -------------------------------------------------------------------------------------------

TFileContainer::TFileContainer(fw::TComponent* owner) : TFileContainer(owner, true) {}

TFileContainer::TFileContainer(fw::TComponent* owner, bool createsSpecifier) : TFileRelated(owner) {
    if (!createsSpecifier) return;
    auto* spec = fw::Make<TpsFileContainer>(owner);
    SetUniqueName(spec, "psFileContainer");
    spec->SetFileContainer(this);
}

void TFileContainer::BeforeDestruction() {
    FreeFiles();
    if (pathSpecifier_ && !pathSpecifier_->InState(fw::csDestroying)) {
        TpsFileContainer* spec = pathSpecifier_;
        pathSpecifier_ = nullptr;
        spec->Free();
    }
    TFileRelated::BeforeDestruction();
}

void TFileContainer::Notification(fw::TComponent* component, fw::TOperation operation) {
    TFileRelated::Notification(component, operation);
    if (operation == fw::opRemove && component == pathSpecifier_) pathSpecifier_ = nullptr;
}

void TFileContainer::FreeFiles() { FreeChildrenOf<TCustomInstallFile>(); }

TCustomInstallFile* TFileContainer::FindFile(const std::string& path) const {
    for (TInstallContainer* c : children_)
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c))
            if (fw::SameText(AddBackslash(f->IncludeFromDir()) + f->FileName(), path)) return f;
    return nullptr;
}

bool TFileContainer::HasNetFiles() const {
    for (TInstallContainer* c : children_)
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c); f && f->Net()) return true;
    return false;
}

bool TFileContainer::HasSharedNetFiles() {
    if (Distribution() == TDistributeType::dtTraditional) return false;
    for (TInstallContainer* c : children_)
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c); f && f->Net() && f->Include() && !f->NetLocation())
            return true;
    return false;
}

int64_t TFileContainer::SumSizes(bool all, bool recursive) {
    int64_t total = 0;
    for (TInstallContainer* c : children_) {
        if (!all && !c->IsSelected()) continue;
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c))
            total += f->UncompressedSize();
        else if (auto* fc = dynamic_cast<TFileContainer*>(c); fc && recursive)
            total += fc->TotalSize(all);
    }
    return total;
}

int64_t TFileContainer::SumCompressedSizes(bool all) {
    int64_t total = 0;
    for (TInstallContainer* c : children_) {
        if (!all && !c->IsSelected()) continue;
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c))
            total += f->CompressedSize();
        else if (auto* fc = dynamic_cast<TFileContainer*>(c))
            total += fc->SumCompressedSizes(all);
    }
    return total;
}

std::string TFileContainer::LocalArchivePath() {
    if (!fw::Trim(localArchive_).empty() && fw::FileExists(localArchive_)) return localArchive_;
    std::string path;
    if (FindLocalArchive(path)) return path;
    throw IEFileContainer(
        "%s has not yet downloaded the archive file and therefore cannot retrieve the path of the archive file",
        {Name()});
}

void TFileContainer::ReadInfoFromArchive() {
    const std::vector<TInstallContainer*> children = children_;
    for (TInstallContainer* c : children)
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c)) f->ReadInfoFromArchive();
    for (TInstallContainer* c : children)
        if (auto* fc = dynamic_cast<TFileContainer*>(c)) fc->ReadInfoFromArchive();
    SetInfoRead(true);
}

void TFileContainer::ReadInfoFromFiles() {
    const std::vector<TInstallContainer*> children = children_;
    for (TInstallContainer* c : children)
        if (auto* f = dynamic_cast<TCustomInstallFile*>(c)) f->ReadInfoFromFile();
    for (TInstallContainer* c : children)
        if (auto* fc = dynamic_cast<TFileContainer*>(c)) fc->ReadInfoFromFiles();
}

// ---- Events from below ----------------------------------------------------------------------------------------

void TFileContainer::DoNewDisk(TCustomInstallFile* file, TDiskParameter& disk) {
    if (!OnNewDisk) return;
    OnNewDisk(file, disk.DiskNumber, disk.Path);
    file->SetTag(1);
}

void TFileContainer::DoReplacing(TCustomInstallFile* file) {
    if (OnReplacing) OnReplacing(file);
    Broadcast(file, kNotifyReplacing, file);
}

void TFileContainer::DoStatus(TCustomInstallFile* file, TFileStatusParameter& status) {
    if (OnStatus) OnStatus(file, status.FilePercent, status.TotalPercent);
    Broadcast(file, kNotifyFileStatus, &status);
}

void TFileContainer::Totals(TFileStatusParameter& status) {
    const int64_t done = static_cast<int64_t>(bytesDone_) + status.BytesDone;
    status.TotalBytesDone = static_cast<int32_t>(done > INT32_MAX ? INT32_MAX : done);
    status.TotalPercent = Percent(done, totalSize_);
}

namespace {

fw::TList& StatusList(const std::string& name, fw::TObject* param) {
    if (!param) throw IEFileContainer("%s got a nil PO parameter", {name});
    auto* list = dynamic_cast<fw::TList*>(param);
    if (!list) throw IEFileContainer("DoInformationEventControl--PO is not a TList object");
    if (list->Count() < 2) throw IEFileContainer("DoInformationEventControl--Not engouh parameters for status event");
    return *list;
}

TCustomInstallFile* FileParam(const std::string& name, fw::TObject* param) {
    if (!param) throw IEFileContainer("%s got a nil PO parameter", {name});
    auto* file = dynamic_cast<TCustomInstallFile*>(param);
    if (!file) throw IEFileContainer("DoInformationEventControl parameter is not TInstallFile");
    return file;
}

}  // namespace

void TFileContainer::HandleStatus(TInstallContainer*, fw::TObject* param) {
    fw::TList& list = StatusList(Name(), param);
    auto* file = dynamic_cast<TCustomInstallFile*>(ListItem(list, 0));
    if (!file) throw IEFileContainer("DoInformationEventControl says bad first parameter");
    auto* status = dynamic_cast<TFileStatusParameter*>(ListItem(list, 1));
    if (!status) throw IEFileContainer("DoInformationEventControl says bad second parameter");
    Totals(*status);
    DoStatus(file, *status);
    if (status->Stats.Finished) bytesDone_ += status->Stats.OriginalSize;
}

void TFileContainer::HandleDone(fw::TObject* param) {
    TCustomInstallFile* file = FileParam(Name(), param);
    TFileStatusParameter status;
    status.BytesDone = file->UncompressedSize();
    status.FilePercent = 100;
    status.FileName = file->FileName();
    Totals(status);
    DoStatus(file, status);
    bytesDone_ += file->UncompressedSize();
}

void TFileContainer::InformationEvent(TInstallContainer* child, int code, fw::TObject* param) {
    if (operationState_ == kOpNone) return;
    switch (code) {
        case kInfoReplacing:
            DoReplacing(FileParam(Name(), param));
            break;
        case kInfoInstallProgress:
        case kInfoCompressProgress:
        case kInfoCopyProgress:
            HandleStatus(child, param);
            break;
        case kInfoNewDisk: {
            fw::TList& list = StatusList(Name(), param);
            auto* file = dynamic_cast<TCustomInstallFile*>(ListItem(list, 0));
            if (!file) throw IEFileContainer("DoInformationEventControl says bad %d parameter", {1});
            auto* disk = dynamic_cast<TDiskParameter*>(ListItem(list, 1));
            if (!disk) throw IEFileContainer("DoInformationEventControl says bad %d parameter", {2});
            DoNewDisk(file, *disk);
            Broadcast(file, kNotifyChangeDisk, &list);
            break;
        }
        case kInfoDownloadProgress: {
            auto* download = dynamic_cast<TDownloadStatusParameter*>(param);
            if (!download)
                throw IEFileContainer("The PO object passed to %s is not a TDownloadStatusParameter object", {Name()});
            if (OnDataReceived)
                OnDataReceived(this, download->FileName, download->ChunkBytes, download->BytesReceived,
                               download->FileSize, nullptr);
            Broadcast(this, kNotifyDownloadStatus, download);
            break;
        }
        case kInfoSkippedByHandler:
        case kInfoKeptExisting:
            HandleDone(param);
            break;
        default:
            break;
    }
    if (TInstallContainer* up = Container()) up->InformationEvent(child, code, param);
}

// ---- Operations ---------------------------------------------------------------------------------------------

void TFileContainer::RunOperation(int kind) {
    try {
        switch (kind) {
            case kOpCompress: Compress(0); break;
            case kOpInstall: Process(); break;
            case kOpCopy: Copy(); break;
            default: break;
        }
    } catch (...) {
        operationState_ = kOpNone;
        throw;
    }
    operationState_ = kOpNone;
}

void TFileContainer::InstallChildren() {
    AppendOrderLine("QnfdInstallOrder.txt", fw::Format("FILECONTAINER: %s", {description_}));
    operationState_ = kOpInstall;
    try {
        std::string local;
        if (FindLocalArchive(local)) localArchive_ = local;
        ReadInfoFromArchive();
        Broadcast(this, kNotifyContainerInstall, nullptr);
        InformOwn(this, kInfoOperationStarts);
        totalSize_ = static_cast<int32_t>(std::min<int64_t>(TotalSize(false), INT32_MAX));
        bytesDone_ = 0;
        if (OnBeforeInstallObjects) OnBeforeInstallObjects(this);
        TFileRelated::InstallChildren();
        InformOwn(this, kInfoOperationEnded);
    } catch (...) {
        operationState_ = kOpNone;
        throw;
    }
    const bool wasAborted = SharedArchive().Abort();
    Broadcast(this, kNotifyOperationEnded, nullptr);
    if (fireAfterInstallObjects_ && OnAfterInstallObjects) OnAfterInstallObjects(this, wasAborted);
    operationState_ = kOpNone;
}

void TFileContainer::BuildOperation(uint8_t kind, bool allSizes, const std::function<void()>& body) {
    operationState_ = kind;
    auto finish = [&] {
        operationState_ = kOpNone;
        Broadcast(this, kNotifyOperationEnded, nullptr);
    };
    try {
        if (OnBeforeProcess) OnBeforeProcess(this);
        if (Include()) {
            InformOwn(this, kInfoOperationStarts);
            ReadInfoFromFiles();
            totalSize_ = static_cast<int32_t>(std::min<int64_t>(TotalSize(allSizes), INT32_MAX));
            bytesDone_ = 0;
            body();
            if (OnAfterProcess) OnAfterProcess(this);
            InformOwn(this, kInfoOperationEnded);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TFileContainer::Copy() {
    BuildOperation(kOpCopy, false, [&] {
        const std::vector<TInstallContainer*> children = children_;
        for (TInstallContainer* c : children)
            if (auto* f = dynamic_cast<TCustomInstallFile*>(c)) f->Copy();
        for (TInstallContainer* c : children)
            if (auto* fc = dynamic_cast<TFileContainer*>(c)) fc->Copy();
    });
}

void TFileContainer::Compress(int options) {
    AppendOrderLine("QnfdCompressOrder.txt", fw::Format("FILECONTAINER: %s", {description_}));
    if ((options & coForceNetFilesLocal) && (options & coForceFilesNet))
        throw IEFileContainer("Cannot pass both coForceNetFilesLocal and coForceFilesNet to Compress");
    BuildOperation(kOpCompress, (options & coIncludeAll) != 0, [&] {
        const std::string archivePath = GetArchivePath();
        const std::string archiveDir = RemoveBackslash(fw::ExtractFileDir(archivePath));
        try {
            localArchive_ = archiveDir + "\\" + NetDirectory() + "\\" + Name() + ".1";
        } catch (const IEFileRel_NoNetLocation&) {
            if (!(options & coForceNetFilesLocal)) throw;
        }
        auto remove = [&](const std::string& path) {
            if (fw::FileExists(path) && !fw::DeleteFile(path))
                throw IEFileContainer("%s cannot delete the archive file %s", {Name(), path});
        };
        if (AddToArchive() == TlzhCommand::lzcOverwrite) remove(fw::ChangeFileExt(archivePath, ".1"));
        bool anyFile = false;
        for (TInstallContainer* c : children_)
            if (dynamic_cast<TCustomInstallFile*>(c)) anyFile = true;
        if ((HasNetFiles() || ((options & coForceFilesNet) && anyFile)) && !localArchive_.empty())
            remove(localArchive_);
        const std::vector<TInstallContainer*> children = children_;
        for (TInstallContainer* c : children)
            if (auto* related = dynamic_cast<TFileRelated*>(c)) CompressChild(related, options, archiveDir);
    });
}

void TFileContainer::CompressChild(TFileRelated* child, int options, const std::string& archiveDir) {
    auto* file = dynamic_cast<TCustomInstallFile*>(child);
    const bool netFile = file && !(options & coForceNetFilesLocal) && (child->Net() || (options & coForceFilesNet));
    const TlzhCommand savedAdd = child->AddToArchive();
    const std::string savedFile = child->ArchiveFile();
    TCustomPathSpecifier* savedType = child->ArchiveFileType();
    const bool savedInclude = child->Include();
    auto restore = [&] {
        child->SetAddToArchive(savedAdd);
        child->SetArchiveFileType(savedType);
        child->SetArchiveFile(savedFile);
        child->SetInclude(savedInclude);
    };
    try {
        if (options & coIncludeAll) child->SetInclude(true);
        auto ownNetArchive = [&] { return archiveDir + "\\" + child->NetDirectory() + "\\" + child->Name() + ".1"; };
        if (netFile) {
            const bool ownLocation = child->NetLocation() != nullptr;
            const std::string path =
                ownLocation || file->HasOwnArchive() ? ownNetArchive() : localArchive_;
            child->SetAddToArchive(ownLocation ? TlzhCommand::lzcOverwrite : TlzhCommand::lzcOnlyAdd);
            child->SetArchiveFileType(nullptr);
            child->SetArchiveFile(path);
            file->SetIsNetFile(true);
        } else if (dynamic_cast<TpsContainerArchiveFile*>(savedType)) {
            child->SetAddToArchive(TlzhCommand::lzcOnlyAdd);
        } else if (dynamic_cast<TpsInstallSource*>(savedType)) {
            TInstallRoot* root = InstallComponent();
            const std::string base = fw::ExtractFilePath(root ? root->GetArchivePath() : GetArchivePath());
            child->SetArchiveFileType(nullptr);
            child->SetArchiveFile(base + savedFile);
            child->SetAddToArchive(TlzhCommand::lzcOverwrite);
        } else if ((options & coRelocateArchives) && !dynamic_cast<TpsMainArchiveFile*>(savedType)) {
            // The part after the drive colon begins with a backslash; a path without a drive is taken as
            // relative to the archive folder.
            const std::string path = child->GetArchivePath();
            std::string rest = path;
            AfterColon(path, rest);
            if (rest.empty() || rest[0] != '\\') rest = "\\" + rest;
            child->SetArchiveFileType(nullptr);
            child->SetArchiveFile(archiveDir + rest);
            child->SetAddToArchive(TlzhCommand::lzcOverwrite);
        }
        if (auto* fc = dynamic_cast<TFileContainer*>(child))
            fc->Compress(options);
        else if (file)
            file->Compress();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

// ---- Groups and directories -------------------------------------------------------------------------------------

TInstallGroupDialogOptions::TInstallGroupDialogOptions() : description_(new fw::TStringList) {}
TInstallGroupDialogOptions::~TInstallGroupDialogOptions() { delete description_; }

void TInstallGroupDialogOptions::SetDescription(fw::TStringList* lines) { description_->Assign(lines); }

void TInstallGroupDialogOptions::Assign(fw::TPersistent* source) {
    if (auto* o = dynamic_cast<TInstallGroupDialogOptions*>(source)) {
        AllowChangeDir = o->AllowChangeDir;
        AllowExcludeInclude = o->AllowExcludeInclude;
        description_->Assign(o->description_);
        DisplayDirectory = o->DisplayDirectory;
        return;
    }
    fw::TPersistent::Assign(source);
}

TCustomInstallGroup::TCustomInstallGroup(fw::TComponent* owner)
    : TFileContainer(owner), dialogOptions_(new TInstallGroupDialogOptions) {}

TCustomInstallGroup::~TCustomInstallGroup() { delete dialogOptions_; }

void TCustomInstallGroup::SetContainer(TInstallContainer* value) {
    if (!value && !InState(fw::csLoading)) value = InstallComponent();
    if (value && !dynamic_cast<TInstallRoot*>(value) && !dynamic_cast<TCustomInstallGroup*>(value))
        throw IEInstallGroup(
            "A TInstallGroup component can only be contained by a TInstall, or another TInstallGroup component");
    TFileContainer::SetContainer(value);
}

void TInstallDirectory::RemoveMissingFiles() {
    for (int i = ChildCount() - 1; i >= 0; --i) {
        if (i >= ChildCount()) continue;
        auto* f = dynamic_cast<TCustomInstallFile*>(Children()[static_cast<size_t>(i)]);
        if (f && !fw::FileExists(f->SourcePath())) f->Free();
    }
}

}  // namespace inst
