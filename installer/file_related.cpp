#include "installer/file_related.h"

#include "framework/core/format.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_record.h"
#include "installer/install_root.h"
#include "installer/pathspec.h"
#include "installer/qnfdregistry.h"
#include "installer/strutils.h"
#include "installer/winqueries.h"

namespace inst {

namespace {

// Specifiers that name the whole archive path, so ArchiveFile stays empty under them.
bool NamesWholeArchive(TCustomPathSpecifier* s) {
    return dynamic_cast<TpsContainerArchiveFile*>(s) || dynamic_cast<TpsMainArchiveFile*>(s);
}

}  // namespace

TFileRelated::TFileRelated(fw::TComponent* owner) : TInstallObject(owner) { isFileRelated_ = true; }

TDistributeType TFileRelated::Distribution() {
    TInstallRoot* root = InstallComponent();
    return root ? root->DistributeType() : TDistributeType::dtTraditionalNet;
}

void TFileRelated::SetArchiveFile(const std::string& value) {
    archiveFile_ = NamesWholeArchive(archiveFileType_) && !InState(fw::csLoading) ? std::string() : value;
}

void TFileRelated::SetArchiveFileType(TCustomPathSpecifier* value) {
    if (value && !InState(fw::csLoading)) {
        value->Validate(this);
        if (NamesWholeArchive(value)) archiveFile_.clear();
    }
    if (archiveFileType_ == value) return;
    if (archiveFileType_) archiveFileType_->RemoveFreeNotification(this);
    archiveFileType_ = value;
    if (value) value->FreeNotification(this);
}

void TFileRelated::SetNetLocation(TCustomNetInstallLocation* value) {
    if (netLocation_ == value) return;
    if (netLocation_) netLocation_->RemoveFreeNotification(this);
    netLocation_ = value;
    if (value) value->FreeNotification(this);
}

void TFileRelated::Notification(fw::TComponent* component, fw::TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == netLocation_) netLocation_ = nullptr;
    if (component == archiveFileType_) archiveFileType_ = nullptr;
}

void TFileRelated::SetContainer(TInstallContainer* value) {
    if (value == Container()) return;
    TInstallObject::SetContainer(value);
    if (InState(fw::csLoading)) return;
    if (dynamic_cast<TFileRelated*>(value) || dynamic_cast<TCustomInstallGroup*>(value)) {
        SetArchiveFileType(FindSpecifier<TpsContainerArchiveFile>());
        archiveFile_.clear();
    } else if (dynamic_cast<TpsContainerArchiveFile*>(archiveFileType_)) {
        SetArchiveFileType(nullptr);
    }
}

void TFileRelated::Loaded() {
    TInstallObject::Loaded();
    std::string local;
    if (FindLocalArchive(local)) localArchive_ = local;
}

std::string TFileRelated::GetArchivePath() {
    std::string path = archiveFileType_ ? archiveFileType_->GetPath(this) + archiveFile_ : archiveFile_;
    return RemoveBackslash(path);
}

bool TFileRelated::FindLocalArchive(std::string& path) {
    if (fw::Trim(Name()).empty() || InstallRecordKey().empty()) return false;
    const std::string local =
        ReadRegString(TRootKeys::hkLocalMachine, InstallRecordKey() + "\\" + Name(), "LocalFile", "");
    if (fw::Trim(local).empty() || !fw::FileExists(local)) return false;
    path = local;
    return true;
}

void TFileRelated::RememberLocalFile(const std::string& path) {
    if (fw::Trim(Name()).empty() || fw::Trim(path).empty() || InstallRecordKey().empty()) return;
    try {
        WriteRegString(TRootKeys::hkLocalMachine, InstallRecordKey() + "\\" + Name(), "LocalFile", path);
    } catch (const fw::Exception&) {
    }
}

bool TFileRelated::IsDownloaded() {
    std::string local;
    return !fw::Trim(localArchive_).empty() || FindLocalArchive(local);
}

TCustomNetInstallLocation* TFileRelated::EffectiveLocation() {
    if (netLocation_) return netLocation_;
    if (dynamic_cast<TCustomInstallFile*>(this))
        if (auto* files = dynamic_cast<TFileContainer*>(Container()); files && files->NetLocation())
            return files->NetLocation();
    TInstallRoot* root = InstallComponent();
    return root ? root->NetLocation() : nullptr;
}

std::string TFileRelated::NetDirectory() {
    TCustomNetInstallLocation* location = EffectiveLocation();
    if (!location) throw IEFileRel_NoNetLocation("Could not find a net install location for %s", {Name()});
    const TCustomLoginInformation& login = *location->LoginInformation();
    const std::string host = SafeFileName(login.Hostname);
    if (!fw::Trim(login.Directory).empty()) return host + "\\" + SafeFileName(login.Directory);
    return host + "\\" + (login.Protocol == TInternetProtocol::ipFTP ? "FTP Root directory" : "HTTP Root directory");
}

void TFileRelated::Download() {
    std::string remembered;
    if (FindLocalArchive(remembered)) {
        localArchive_ = remembered;
        return;
    }
    TCustomNetInstallLocation* location = EffectiveLocation();
    if (!location) throw fw::Exception(fw::Format("Could not find a net install location for %s", {Name()}));
    if (!TCustomNetInstallLocation::IsLoginComplete(*location->LoginInformation())) {
        if (netLocation_)
            throw IEFileRelated(
                "%s could not install itself because the TNetLocation component's properties, in the NetLocation "
                "property, have not been filled in",
                {Name()});
        throw IEFileRelated(
            "%s could not install itself because the LoginInformation property of the TInstall component has not been "
            "properly filled in",
            {Name()});
    }
    const std::string local = fw::ChangeFileExt(TempFileName(true), ".1");
    localArchive_ = local;
    location->ProgressReceiver.Bind(this, &TFileRelated::DataReceived);
    try {
        location->Download(Name() + ".1", local);
    } catch (...) {
        location->ProgressReceiver.Reset();
        if (DownloadAbortFlag()) throw EAIUserAbort();
        throw;
    }
    location->ProgressReceiver.Reset();
    if (DownloadAbortFlag()) {
        // What came before the abort is not the archive.
        fw::DeleteFile(local);
        localArchive_.clear();
        throw EAIUserAbort();
    }
    RememberLocalFile(local);
}

void TFileRelated::DataReceived(fw::TObject* sender, const std::string& fileName, int32_t bytes, int32_t totalBytes,
                                int32_t fileSize, const void* buffer) {
    TDownloadStatusParameter param;
    param.ChunkBytes = bytes;
    param.FileName = fileName;
    param.FileSize = fileSize;
    param.BytesReceived = totalBytes;
    param.Percent = Percent(totalBytes, fileSize);
    if (OnDataReceived) OnDataReceived(this, fileName, bytes, totalBytes, fileSize, buffer);
    Broadcast(this, kNotifyDownloadStatus, &param);
    if (Container()) Container()->InformationEvent(this, kInfoDownloadProgress, &param);
}

}  // namespace inst
