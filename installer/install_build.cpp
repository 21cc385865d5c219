// TCustomInstall in build mode (-b): files.1 with every file of the tree, setup.1 with the setup
// program and its pre-setup files, the loader as setup.exe, and one self-extracting setup.exe (loader,
// setup.1, files.1 and the extraction record); for net distribution also "filelist.lst". And the
// transfer of a self-extracting installation onto floppy disks (-f), files.1 split into volumes.
#include <algorithm>
#include <memory>
#include <vector>

#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/install.h"
#include "installer/install_file.h"
#include "installer/install_host.h"
#include "installer/pathspec.h"
#include "installer/strutils.h"
#include "installer/translator.h"
#include "installer/uninstall.h"

namespace inst {

namespace {

constexpr int kCopyBlock = 8192;
constexpr uint32_t kMbOk = 0, kMbOkCancel = 1, kMbIconQuestion = 0x20;
constexpr int kIdOk = 1;

void ShowMessage(const std::string& text) { fw::HostSeam().MessageBox(text, fw::HostSeam().Title(), kMbOk); }

// Copies count bytes of source (from its position) to dest in blocks, letting messages run between
// them; the number of bytes the destination took.
int64_t CopyBlocks(fw::TStream& source, fw::TStream& dest, int64_t count) {
    std::vector<uint8_t> block(kCopyBlock);
    int64_t done = 0;
    while (done < count) {
        const int64_t want = std::min<int64_t>(kCopyBlock, count - done);
        const int64_t got = source.Read(block.data(), want);
        if (got <= 0) break;
        const int64_t written = std::max<int64_t>(dest.Write(block.data(), got), 0);
        done += written;
        if (written < got) break;
        fw::HostSeam().PumpMessages();
    }
    return done;
}

// The options of the container build by the distribution type.
int BuildOptions(TDistributeType type) {
    switch (type) {
        case TDistributeType::dtTraditional: return 46;
        case TDistributeType::dtWeb: return 54;
        case TDistributeType::dtTraditionalNet: return 38;
    }
    return 46;
}

}  // namespace

void TCustomInstall::BuildFromBuildInf() {
    try {
        const std::string inf = AddBackslash(GetProgramDir()) + "BUILD.INF";
        if (!fw::FileExists(inf))
            throw IEInstall(
                "Need to have a BUILD.INF file in this directory with the first line specifying the build directory");
        fw::TStringList lines;
        lines.LoadFromFile(inf);
        if (lines.Count() == 0)
            throw IEInstall("Must be 1 line in BUILD.INF. This line should specify the build directory");
        Build(fw::ParamStr(0), lines.Get(0), true);
    } catch (const fw::Exception& e) {
        ShowMessage(e.Message());
    }
}

void TCustomInstall::Build(const std::string& programPath, const std::string& buildDir, bool makeSelfExtractor) {
    if (makeSelfExtractor && !useLoadingProgram_)
        throw IEInstall(
            "Cannot build a stand alone executable if the UseLoadingProgram property of the TInstall is set to False");
    const std::string dir = AddBackslash(buildDir);
    const std::string setupExe = dir + "setup.exe", setup1 = dir + "setup.1", files1 = dir + "files.1";
    PrepareSetupFiles(buildDir, programPath);

    TCustomPathSpecifier* savedType = ArchiveFileType();
    const std::string savedFile = ArchiveFile();
    auto restore = [&] {
        SetArchiveFileType(savedType);
        SetArchiveFile(savedFile);
    };
    try {
        SetArchiveFileType(nullptr);
        SetArchiveFile(files1);
        for (TCustomInstallFile* file : AllInstallFiles()) {
            file->SetCompressState(0);
            file->SetIsNetFile(false);
        }
        Compress(BuildOptions(DistributeType()));
        if (DistributeType() != TDistributeType::dtTraditional) WriteRemoteFileList();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (makeSelfExtractor) BuildSelfExtractingFile(setupExe, setup1, files1);
}

void TCustomInstall::PrepareSetupFiles(const std::string& buildDir, const std::string& programPath) {
    if (!useLoadingProgram_) {
        fw::ForceDirectories(buildDir);
        const std::string target = AddBackslash(buildDir) + fw::ExtractFileName(programPath);
        if (!fw::Fs().CopyFile(programPath, target, false))
            throw IEInstall("Cannot copy the installation application from %s to %s", {programPath, target});
        return;
    }
    try {
        CompressSetupArchive(buildDir, programPath);
    } catch (const EqcDiskFull&) {
        throw IEInstall(
            "The disk that you have specified has been determined to be either too full or is corrupt while trying to "
            "copy the SETUP.1 archive file. You should probably clear all files off of the drive. Minimally, you "
            "should leave enough space on the drive for the SETUP.1 archive file.");
    }
    const std::string library = FindLibraryDirectory(false);
    if (library.empty())
        throw IEInstall(
            "The HKEY_LOCAL_MACHINE | %s key in the registry is either missing or points to an invalid Quenford "
            "directory",
            {kLibraryKey});
    const std::string loader = library + "\\QuenfordLoadProgram.exe";
    if (!fw::FileExists(loader)) throw IEInstall("The loader program %s was not found", {loader});
    const std::string target = RemoveBackslash(buildDir) + "\\setup.exe";
    if (!fw::Fs().CopyFile(loader, target, false))
        throw IEInstall("Cannot copy the loading program from %s to %s", {loader, target});
}

void TCustomInstall::CompressSetupArchive(const std::string& buildDir, const std::string& programPath) {
    if (fw::Trim(programPath).empty()) throw IEInstall("Cannot create setup file. Executable is blank");
    if (!fw::FileExists(programPath)) throw IEInstall("TInstall: Cannot find the executable file %s", {programPath});
    const std::string archive = fw::ExpandFileName(RemoveBackslash(buildDir) + "\\setup.1");
    // Each file is a temporary install file outside the tree; the first one starts the archive afresh.
    // It is read from its own folder, so the entry carries the file's name alone.
    const std::string saved = fw::GetCurrentDir();
    auto add = [&](const std::string& path, bool first) {
        std::unique_ptr<TInstallFile, void (*)(TInstallFile*)> file(fw::Make<TInstallFile>(nullptr),
                                                                    [](TInstallFile* f) { f->Free(); });
        file->SetFileName(fw::ExtractFileName(path));
        file->SetAddToArchive(first ? TlzhCommand::lzcOverwrite : TlzhCommand::lzcOnlyAdd);
        file->SetArchiveFileType(nullptr);
        file->SetArchiveFile(archive);
        if (!first) file->SetNet(false);
        fw::SetCurrentDir(fw::ExtractFileDir(fw::ExpandFileName(path)));
        file->Compress();
    };
    try {
        add(programPath, true);
        for (int i = 0; i < presetupFiles_->Count(); ++i) add(fw::Trim(presetupFiles_->Get(i)), false);
    } catch (...) {
        fw::SetCurrentDir(saved);
        throw;
    }
    fw::SetCurrentDir(saved);
}

void TCustomInstall::WriteRemoteFileList() {
    const std::string dir = RemoveBackslash(fw::ExtractFilePath(GetArchivePath())) + "\\" + NetDirectory();
    fw::ForceDirectories(dir);
    std::vector<TCustomInstallFile*> listed;
    for (TCustomInstallFile* file : AllInstallFiles())
        if (file->CompressState() == 1 || file->CompressState() == 2) listed.push_back(file);
    fw::TFileStream out(dir + "\\filelist.lst", fw::fmCreate);
    const auto count = static_cast<uint32_t>(listed.size());
    const uint8_t countBytes[4] = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                   static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    out.WriteBuffer(countBytes, 4);
    for (TCustomInstallFile* file : listed) file->WriteFileListRecord(out);
}

void TCustomInstall::BuildSelfExtractingFile(const std::string& setupExe, const std::string& setup1,
                                             const std::string& files1) {
    ExtractionRecord record;
    fw::TFileStream exe(setupExe, fw::fmOpenReadWrite | fw::fmShareExclusive);
    exe.Seek(0, fw::soFromEnd);
    auto append = [&](const std::string& path, int32_t& first, int32_t& last) {
        first = static_cast<int32_t>(exe.Position());
        fw::TFileStream part(path, fw::fmOpenRead | fw::fmShareDenyWrite);
        const int64_t size = part.Size();
        if (CopyBlocks(part, exe, size) < size)
            throw IEInstall("Cannot create the self-extracting exe because %s could not be loaded onto %s",
                            {path, setupExe});
        last = static_cast<int32_t>(exe.Position() - 1);
    };
    append(setup1, record.setupStart, record.setupEnd);
    if (fw::FileExists(files1)) append(files1, record.filesStart, record.filesEnd);
    uint8_t bytes[ExtractionRecord::kSize];
    record.Encode(bytes);
    exe.WriteBuffer(bytes, ExtractionRecord::kSize);
}

// ---- Floppies ---------------------------------------------------------------------------------------------------------

void TCustomInstall::FloppyNewDisk(fw::TObject*, int disk, std::string&) {
    AppHost().SetBusyCursor(false);
    const int answer = fw::HostSeam().MessageBox(FormatTranslated("Please insert disk %d", {disk}),
                                                 fw::HostSeam().Title(), kMbOkCancel | kMbIconQuestion);
    AppHost().SetBusyCursor(true);
    if (answer != kIdOk) throw IEInstall("Aborted by user");
}

void TCustomInstall::FloppyStatus(fw::TObject*, const TlzhFileStats&) { fw::HostSeam().PumpMessages(); }

void TCustomInstall::TransferToFloppies(const std::string& drive) {
    AppHost().SetBusyCursor(true);
    fw::HostSeam().PumpMessages();
    bool announced = false;
    try {
        if (!switches_.Has(kSwitchSelfExtract))
            throw IEInstall(
                "Sorry... You can only transfer this installation to floppies through the self-extracting file. Usage "
                "example: setup.exe *TODISK");
        const std::string selfExtractor = GetArchivePath();
        const ExtractionRecord record = ReadExtractionInfo(selfExtractor);
        StatusMessage("Transferring this installation to floppies. Please wait...");
        announced = true;
        {
            // Only read: the file is the loader that is running now.
            fw::TFileStream source(selfExtractor, fw::fmOpenRead | fw::fmShareDenyNone);
            fw::TFileStream loader(drive + "\\setup.exe", fw::fmCreate);
            if (CopyBlocks(source, loader, record.setupStart) < record.setupStart)
                throw IEInstall("Cannot create setup.exe on the A drive. Probably not enough room");
            fw::TFileStream setup(drive + "\\setup.1", fw::fmCreate);
            const int64_t size = static_cast<int64_t>(record.setupEnd) - record.setupStart + 1;
            source.SetPosition(record.setupStart);
            if (CopyBlocks(source, setup, size) < size)
                throw IEInstall("Cannot create setup.1 on the A drive. Probably not enough room");
        }
        if (record.filesStart > 0) {
            TQnfdCompress& archive = SharedArchive();
            archive.OnNewDisk.Bind(this, &TCustomInstall::FloppyNewDisk);
            archive.OnStatus.Bind(this, &TCustomInstall::FloppyStatus);
            auto detach = [&] {
                archive.OnNewDisk.Reset();
                archive.OnStatus.Reset();
            };
            try {
                archive.SetCompressedFile(selfExtractor);
                archive.SetOffset(record.filesStart);
                archive.CopyToVolumes(drive + "\\", "files.1");
            } catch (...) {
                detach();
                throw;
            }
            detach();
        }
    } catch (const fw::Exception& e) {
        ShowMessage(e.Message());
    }
    if (announced) EndStatusMessage();
    AppHost().SetBusyCursor(false);
    AppHost().Terminate();
}

}  // namespace inst
