// TCustomInstallFile at build time and the archive's callbacks: compress, copy, the file information,
// progress and disk requests.
#include <cstdio>
#include <memory>

#include "framework/core/format.h"
#include "framework/core/lists.h"
#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/file_container.h"
#include "installer/install_file.h"
#include "installer/install_root.h"
#include "installer/strutils.h"
#include "installer/system.h"
#include "installer/translator.h"

namespace inst {

namespace {

void Inform(TCustomInstallFile* file, int code, fw::TObject* param) {
    if (TInstallContainer* c = file->Container()) c->InformationEvent(file, code, param);
}

constexpr int kIdOk = 1, kMbOkCancel = 1;

}  // namespace

void TCustomInstallFile::AttachArchive(TQnfdCompress& archive) {
    archive.OnAborted.Bind(this, &TCustomInstallFile::ArchiveAborted);
    archive.OnNewDisk.Bind(this, &TCustomInstallFile::ArchiveNewDisk);
    archive.OnStatus.Bind(this, &TCustomInstallFile::ArchiveStatus);
}

void TCustomInstallFile::DetachArchive(TQnfdCompress& archive) {
    archive.OnNewDisk.Reset();
    archive.OnStatus.Reset();
    archive.OnAborted.Reset();
}

void TCustomInstallFile::ArchiveAborted(fw::TObject*) { RaiseUserAbort(); }

void TCustomInstallFile::ArchiveStatus(fw::TObject*, const TlzhFileStats& stats) {
    TFileStatusParameter param;
    param.BytesDone = stats.BytesDone;
    param.FilePercent = stats.FilePercent;
    param.FileName = fileName_;
    param.Stats = stats;
    param.TotalBytesDone = stats.TotalBytesDone;
    param.TotalPercent = stats.TotalPercent;
    if (OnStatus) OnStatus(this, param.FilePercent, param.TotalPercent);
    Broadcast(this, kNotifyFileStatus, &param);
    fw::TList list;
    ListAdd(list, this);
    ListAdd(list, &param);
    const int code = statusKind_ == TInstallFileState::ifsCompress ? kInfoCompressProgress
                     : statusKind_ == TInstallFileState::ifsCopying ? kInfoCopyProgress
                                                                     : kInfoInstallProgress;
    Inform(this, code, &list);
}

void TCustomInstallFile::ArchiveNewDisk(fw::TObject* sender, int disk, std::string& path) {
    SetTag(0);
    TDiskParameter param;
    param.DiskNumber = disk;
    param.Path = fw::ExtractFileDir(GetArchivePath());
    if (OnNewDisk) OnNewDisk(this, disk, param.Path);
    fw::TList list;
    ListAdd(list, this);
    ListAdd(list, &param);
    Broadcast(this, kNotifyChangeDisk, &list);
    Inform(this, kInfoNewDisk, &list);
    if (!OnNewDisk && Tag() == 0) {
        const int answer = fw::HostSeam().MessageBox(FormatTranslated("Please insert disk #%d", {disk}),
                                                     fw::HostSeam().Title(), kMbOkCancel);
        if (answer != kIdOk)
            if (auto* archive = dynamic_cast<TQnfdCompress*>(sender)) archive->SetAbort(true);
    }
    path = param.Path;
    try {
        FindSpecifier<TpsMainArchiveFile>()->SetArchiveDirectory(path);
    } catch (const fw::Exception&) {
    }
}

void TCustomInstallFile::Compress() {
    state_ = TInstallFileState::ifsCompress;
    statusKind_ = TInstallFileState::ifsCompress;
    TQnfdCompress& archive = SharedArchive();
    try {
        if (OnBeforeCompress) OnBeforeCompress(this);
        Inform(this, kInfoCompressStarts, this);
        const std::string path = fw::Trim(GetArchivePath());
        if (path.empty()) throw IECustomInstallFile(kBlankArchive, {fileName_});
        if (Include()) {
            const std::string dir = fw::ExtractFileDir(path);
            if (!dir.empty()) fw::ForceDirectories(dir);
            archive.SetCompressedFile(path);
            AttachArchive(archive);
            archive.OnNewDisk.Reset();
            fw::TStringList files;
            files.Add(SourcePath());
            archive.SetFilesToProcess(&files);
            try {
                archive.Compress(AddToArchive() == TlzhCommand::lzcOnlyAdd, uniqueId_);
            } catch (...) {
                DetachArchive(archive);
                throw;
            }
            DetachArchive(archive);
            AppendOrderLine("QnfdCompressOrder.txt", fw::Format("CompName: %s, File: %s", {Name(), fileName_}));
            compressState_ = 2;
            compressedInto_ = archive.CompressedFile();
            if (OnAfterCompress) OnAfterCompress(this);
            Inform(this, kInfoCompressEnded, this);
        }
    } catch (const fw::EAbort&) {
    } catch (...) {
        archive.SetAbort(true);
        state_ = TInstallFileState::ifsNone;
        Broadcast(this, kNotifyOperationEnded, nullptr);
        throw;
    }
    state_ = TInstallFileState::ifsNone;
    Broadcast(this, kNotifyOperationEnded, nullptr);
}

void TCustomInstallFile::Copy() {
    state_ = TInstallFileState::ifsCopying;
    statusKind_ = TInstallFileState::ifsCopying;
    TQnfdCompress& archive = SharedArchive();
    auto finish = [&] {
        state_ = TInstallFileState::ifsNone;
        Broadcast(this, kNotifyOperationEnded, nullptr);
    };
    try {
        if (OnBeforeCopy) OnBeforeCopy(this);
        Inform(this, kInfoCopyStarts, this);
        if (Include()) {
            const std::string dir = DestinationDir();
            if (dir.empty()) throw IECustomInstallFile(kBlankDestination, {Name()});
            fw::ForceDirectories(dir);
            archive.OnStatus.Bind(this, &TCustomInstallFile::ArchiveStatus);
            try {
                archive.CopyFile(SourcePath(), DestPath());
            } catch (...) {
                archive.OnStatus.Reset();
                throw;
            }
            archive.OnStatus.Reset();
            if (OnAfterCopy) OnAfterCopy(this);
            Inform(this, kInfoCopyEnded, this);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TCustomInstallFile::ReadInfoFromFile() {
    const std::string path = SourcePath();
    int64_t size = 0;
    try {
        fw::TFileStream file(path, fw::fmOpenRead | fw::fmShareDenyNone);
        size = file.Size();
    } catch (const fw::Exception&) {
        throw IECustomInstallFile(
            "Could not open or find the following file when trying to read the Size, Date, and Version :%s", {path});
    }
    const int32_t age = fw::FileAge(path);
    fileDate_ = age == -1 ? 0 : fw::FileDateToDateTime(age);
    uncompressedSize_ = static_cast<int32_t>(size > INT32_MAX ? INT32_MAX : size);
    SetFileVersion(FileVersionOf(path));
}

void TCustomInstallFile::ReadInfoFromArchive() {
    TInstallRoot* root = InstallComponent();
    if (root && root->Running() && InfoRead()) return;
    const TDistributeType d = Distribution();
    std::string path;
    if (d == TDistributeType::dtTraditional || (d == TDistributeType::dtTraditionalNet && !Net())) {
        path = GetArchivePath();
    } else if (HasOwnArchive() && IsDownloaded()) {
        path = GetArchivePath();
    } else {
        auto* files = dynamic_cast<TFileContainer*>(Container());
        if (!files)
            throw IECustomInstallFile(
                "%s cannot perform ReadInfoFromArchive because either no container is assigned or the container is "
                "not TFileContainer",
                {Name()});
        if (!files->IsDownloaded()) return;
        path = files->LocalArchivePath();
    }
    path = fw::Trim(path);
    if (path.empty()) throw IECustomInstallFile(kBlankArchive, {fileName_});
    std::unique_ptr<TQnfdCompress, void (*)(TQnfdCompress*)> own(nullptr, [](TQnfdCompress* c) { c->Free(); });
    TQnfdCompress* archive = nullptr;
    if (root && fw::SameText(path, fw::Trim(root->GetArchivePath()))) {
        archive = &SharedArchive();
    } else {
        own.reset(fw::Make<TQnfdCompress>(nullptr));
        archive = own.get();
    }
    archive->SetCompressedFile(path);
    const int index = archive->GetEntryIndexById(uniqueId_);
    const TlzhFileStats stats = archive->GetFileStats(index);
    // Index 0 also stands for "no such id": the entry must carry this file's id.
    if (stats.Header.uniqueId != uniqueId_)
        throw IECustomInstallFile("The file %s (unique id %d) is not in the archive %s", {Name(), uniqueId_, path});
    compressedSize_ = stats.Header.compressedSize;
    fileDate_ = stats.Header.fileDate;
    uncompressedSize_ = stats.Header.originalSize;
    SetFileVersion(stats.Header.fileVersion);
    SetInfoRead(true);
}

bool TCustomInstallFile::HasOLESelfRegister() {
    std::unique_ptr<VersionQuery> q = Sys().OpenVersionInfo(SourcePath());
    if (!q) return false;
    std::string translation;
    if (!q->Translation(translation) || translation.size() < 4) return false;
    const unsigned lang = static_cast<uint8_t>(translation[0]) | static_cast<uint8_t>(translation[1]) << 8;
    const unsigned cp = static_cast<uint8_t>(translation[2]) | static_cast<uint8_t>(translation[3]) << 8;
    char block[64];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04X%04X\\OLESelfRegister", lang, cp);
    std::string value;
    return q->String(block, value);
}

}  // namespace inst
