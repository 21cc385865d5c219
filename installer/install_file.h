// TCustomInstallFile (published as TInstallFile): one file of the product. At build time it is
// compressed from IncludeFromDir\FileName into an archive; at install time it is extracted to
// DestDir below DestDirType under DestName, by its overwrite rule, and then registered as the file
// asks (help file, shared-DLL counter, self-registration) and recorded for the uninstaller.
//
// The new file is always extracted beside the old one under a free temporary name ("name.1", "name.2"
// ...) and then moved over it, so a failed or aborted extraction never costs the user the file in place.
// When the old file is in use the temporary file stays and is moved over it at the next start of the
// system (replacing it); DestName keeps naming the real file throughout.
#pragma once

#include <cstdint>
#include <string>

#include "installer/file_related.h"
#include "installer/versions.h"

namespace fw {
class TStream;
}

namespace inst {

enum class TInstallFileType { iftNormal, iftJustADLL, iftApplicationSpecificDLL, iftVendorSharedDLL, iftSystemWideDLL };
enum class TInstallFileState { ifsNone, ifsCompress, ifsInstall, ifsCopying };

using TInstallFileNotifyEvent = fw::Event<void(fw::TObject* Sender)>;
using TInstallFileStatusEvent = fw::Event<void(fw::TObject* Sender, int FilePercent, int TotalPercent)>;
using TInstallFileNewDiskEvent = fw::Event<void(fw::TObject* Sender, int DiskNumber, std::string& Path)>;

// The 72-byte file-list record ("filelist.lst"), little-endian:
//   +0  int32    uncompressed size
//   +4  double   file date
//   +12 char[40] component name, zero-terminated (at most 39 characters)
//   +52 char[20] file version, zero-terminated (at most 19 characters)
struct FileListRecord {
    static constexpr int kSize = 72;
    static constexpr int kNameField = 40;
    static constexpr int kVersionField = 20;
    int32_t uncompressedSize = 0;
    double fileDate = 0;
    std::string name;
    std::string version;

    // Raises IECustomInstallFile when the name or version does not fit with its terminator.
    void Encode(uint8_t out[kSize]) const;
    void Decode(const uint8_t in[kSize]);
};

class TCustomInstallFile : public TFileRelated {
public:
    static constexpr int kMaxIds = 2000;
    // How many "Files", "Files1", ... keys the uninstall record tries before it gives up.
    static constexpr int kMaxFilesKeys = 100;

    explicit TCustomInstallFile(fw::TComponent* owner);
    // IncludeFromDir and FileName from a path; then the container.
    static TCustomInstallFile* CreateFromPath(fw::TComponent* owner, const std::string& path);
    static TCustomInstallFile* CreateInContainer(fw::TComponent* owner, TInstallContainer* container,
                                                 const std::string& path);

    int RegisteredType() const override { return kTypeFile; }

    bool Existed() const { return existed_; }
    bool InUse() const { return inUse_; }
    bool WillCopy() const { return willCopy_; }
    bool ActiveX() const { return activeX_; }
    virtual void SetActiveX(bool v);
    int32_t CompressedSize() const { return compressedSize_; }
    uint8_t CompressState() const { return compressState_; }
    void SetCompressState(uint8_t v) { compressState_ = v; }
    bool IsNetFile() const { return isNetFile_; }
    void SetIsNetFile(bool v) { isNetFile_ = v; }
    const std::string& CompressedInto() const { return compressedInto_; }
    fw::TDateTime FileDate() const { return fileDate_; }
    void SetFileDate(fw::TDateTime v) { fileDate_ = v; }
    const std::string& DestName() const { return destName_; }
    virtual void SetDestName(const std::string& v);
    const std::string& FileName() const { return fileName_; }
    virtual void SetFileName(const std::string& v);
    TInstallFileType FileType() const { return fileType_; }
    virtual void SetFileType(TInstallFileType v);
    const std::string& IncludeFromDir() const { return includeFromDir_; }
    virtual void SetIncludeFromDir(const std::string& v);
    TOverwriteType OverwriteMode() const { return overwriteMode_; }
    void SetOverwriteMode(TOverwriteType v) { overwriteMode_ = v; }
    bool RegisterAsHelp() const { return registerAsHelp_; }
    void SetRegisterAsHelp(bool v) { registerAsHelp_ = v; }
    bool RunAfterInstall() const { return runAfterInstall_; }
    void SetRunAfterInstall(bool v) { runAfterInstall_ = v; }
    int32_t UncompressedSize() const { return uncompressedSize_; }
    void SetUncompressedSize(int32_t v) { uncompressedSize_ = v; }
    TInstallFileState State() const { return state_; }
    // Runs the operation of the state (compress, install, copy) and leaves the state at ifsNone.
    virtual void SetState(TInstallFileState v);
    int UniqueID() const { return uniqueId_; }
    bool UpdateDLLCounter() const { return updateDLLCounter_; }
    void SetUpdateDLLCounter(bool v) { updateDLLCounter_ = v; }
    const std::string& FileVersion() const { return fileVersion_; }
    void SetFileVersion(const std::string& v) { fileVersion_ = v.substr(0, 20); }
    // The temporary name the file was last extracted under (empty when it went straight in place).
    const std::string& ExtractedAs() const { return extractedAs_; }

    TInstallFileNotifyEvent OnAfterCompress, OnAfterCopy, OnAfterInstall, OnBeforeCompress, OnBeforeCopy,
        OnBeforeInstall, OnReplacing;
    TInstallFileStatusEvent OnStatus;
    TInstallFileNewDiskEvent OnNewDisk;

    virtual void RaiseUserAbort();
    virtual void RegisterDLLServer();
    virtual void RegisterEXEServer();
    virtual void PrepareReplace();
    virtual void Compress();
    virtual void Copy();
    virtual void ReadInfoFromArchive();
    virtual void ReadInfoFromFile();
    virtual bool HasOLESelfRegister();
    virtual bool UpdateSharedDLLCount();
    // Registers the installed file as a server (a library's DllRegisterServer, an program's /REGSERVER).
    void SelfRegister();

    void InstallChildren() override;
    void CompleteAfterReboot() override;
    void WriteUninstallInfo(const std::string& key) override;
    void SetDestDir(const std::string& value) override;
    void SetDestDirType(TCustomPathSpecifier* value) override;
    void SetContainer(TInstallContainer* value) override;
    std::string GetArchivePath() override;
    void DefineProperties(fw::TFiler& filer) override;
    void Loaded() override;

    std::string DestPath();
    std::string SourcePath() const;
    bool HasOwnArchive() const;
    void WriteFileListRecord(fw::TStream& stream) const;

protected:
    ~TCustomInstallFile() override;
    void BeforeDestruction() override;

private:
    struct Values;
    // The property rules: every setter but while loading runs them with the one new value.
    void ApplyRules(const Values& next);
    Values Current() const;
    // While a form loads, and while the rules themselves store values, setters only store.
    bool Loading() const { return InState(fw::csLoading) || applying_; }

    void InstallFile();
    void AfterInstallSteps();
    void Extract(TQnfdCompress& archive);
    // Moves the extracted temporary file over the destination, or schedules that for the next start.
    void ReplaceDestination(const std::string& tempPath);
    void ScheduleReplace(const std::string& tempPath);
    void ArchiveStatus(fw::TObject* sender, const TlzhFileStats& stats);
    void ArchiveNewDisk(fw::TObject* sender, int disk, std::string& path);
    void ArchiveAborted(fw::TObject* sender);
    void AttachArchive(TQnfdCompress& archive);
    void DetachArchive(TQnfdCompress& archive);
    std::string DestinationDir();

    bool existed_ = false, inUse_ = false, willCopy_ = false, activeX_ = false;
    int32_t compressedSize_ = 0;
    uint8_t compressState_ = 0;
    bool isNetFile_ = false;
    std::string compressedInto_;
    fw::TDateTime fileDate_ = 0;
    std::string destName_, fileName_;
    TInstallFileType fileType_ = TInstallFileType::iftNormal;
    std::string includeFromDir_;
    TOverwriteType overwriteMode_ = TOverwriteType::owAlways;
    bool registerAsHelp_ = false, runAfterInstall_ = false;
    int32_t uncompressedSize_ = 0;
    TInstallFileState state_ = TInstallFileState::ifsNone;
    int uniqueId_ = -1;
    bool updateDLLCounter_ = false;
    std::string fileVersion_;
    std::string extractedAs_;
    TInstallFileState statusKind_ = TInstallFileState::ifsNone;
    bool applying_ = false;
};

class TInstallFile : public TCustomInstallFile {
public:
    explicit TInstallFile(fw::TComponent* owner) : TCustomInstallFile(owner) {}
};

// The two messages of a file without a destination folder or archive (the file's name fills them).
constexpr const char* kBlankDestination =
    "Cannot compress,copy, or install the following file because it's destination directory is blank. File is :%s";
constexpr const char* kBlankArchive =
    "Cannot either compress or decompress the following file because it's archive file property is blank. File is :%s";

// Adds a path as the next "File"n of "Files" below the product's uninstall key; a key of the series that
// cannot be written passes the entry on to "Files1", "Files2" ... Raises IECustomInstallFile when none
// takes it.
void AddUninstallFileEntry(const std::string& uninstallKey, const std::string& path);

// Appends a line to an order file in the Windows folder ("QnfdCompressOrder.txt",
// "QnfdInstallOrder.txt"). The files are a log: a failure to write them is ignored.
void AppendOrderLine(const char* fileName, const std::string& line);

// The process-wide table of unique ids: the lowest free one is taken, freed again with the file.
int TakeUniqueId();
void ReleaseUniqueId(int id);
bool UniqueIdUsed(int id);
// Forgets every id (for tests that start over).
void ResetUniqueIds();

}  // namespace inst
