// TZipCommon: the second engine base. It holds the archive file and its detected type, the settings
// that its descendants publish, every event, the members describing the current entry, the error
// reports, the extractors' output-name rule and the multi-volume routines.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/arc_types.h"
#include "engine/core/awk_main.h"
#include "engine/core/events.h"
#include "engine/core/file_attr.h"
#include "engine/core/routines.h"
#include "engine/core/volume_names.h"

namespace fw {
class TStringList;
class TStrings;
}

namespace engine {

class TZipCommon : public TAwkMain {
public:
    explicit TZipCommon(fw::TComponent* owner);

    // ---- published settings ---------------------------------------------------------------------
    std::string About() const { return "(QWD)"; }
    void SetAbout(const std::string&) { about_ = "(QWD)"; }

    const std::string& ArchiveFile() const { return archiveFile_; }
    // Clears the totals. A non-empty value: HeaderPos 1, FileCount 0, "/" read as "\", then SetArcType
    // (type detection in the lister, extractors and tester). An empty one clears the archive, sets
    // ActiveArcComponent to nil and ArcType to atNA. Ignored while this component runs.
    void SetArchiveFile(const std::string& value);

    TArcType ArcType() const { return arcType_; }
    virtual void SetArcType(TArcType value);

    TSetDate SetDateTo() const { return setDateTo_; }
    // Also becomes the engine-wide date setting that every extractor consults.
    void SetSetDateTo(TSetDate value);

    bool RecurseDirs() const { return recurseDirs_; }
    void SetRecurseDirs(bool value) { recurseDirs_ = value; }
    TStoredDirNames StoredDirNames() const { return storedDirNames_; }
    void SetStoredDirNames(TStoredDirNames value) { storedDirNames_ = value; }

    const std::string& ExtractDir() const { return extractDir_; }
    // A non-empty value: "/" read as "\", made absolute, a trailing "\". Empty: the folder of
    // ArchiveFile when an archive is set, else empty.
    void SetExtractDir(const std::string& value);

    TqlvFileAttr* FileAttribute() const { return fileAttribute_; }
    void SetFileAttribute(TqlvFileAttr* value);

    TProgressNotify ProgressNotify() const { return progressNotify_; }
    void SetProgressNotify(TProgressNotify value) { progressNotify_ = value; }

    int ZipCmntBufSize() const { return zipCmntBufSize_; }
    // Clamped to 2000..32767.
    void SetZipCmntBufSize(int value);

    bool UseStoredDirs() const { return useStoredDirs_; }
    void SetUseStoredDirs(bool value) { useStoredDirs_ = value; }

    // The entry mask; never empty ("*.*" selects all).
    const std::string& FileSpec() const { return fileSpec_; }
    void SetFileSpec(const std::string& value);

    // ---- events ---------------------------------------------------------------------------------
    TOnElapsedTime OnElapsedTime;
    TOnError OnError;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TOnBegin OnBegin;
    TOnEnd OnEnd;
    TOnFileExists OnFileExists;
    TOnProgress OnProgress;
    TOnNextVolume OnNextVolume;
    TOnGetPassword OnGetPassword;
    TOnRead OnRead;

    // ---- archive and current entry --------------------------------------------------------------
    std::string CurrentDir;
    int64_t ArcStartPos = 1;
    std::string VolumeID;
    VolumeNaming Volumes;
    std::string VolumeName;
    int64_t HeaderLen = 0;
    int64_t HeaderPos = 1;
    int64_t EndPos = 0;
    int64_t NextPos = 0;
    uint32_t ArchiveDate = 29221;
    int64_t ArchiveSize = 0;
    uint32_t SfxZipOffset = 0;
    bool Encrypted = false;
    int64_t TotalPackedSize = 0;
    int64_t TotalUnpackedSize = 0;
    uint8_t TotalRatio = 0;
    int64_t PackedSize = 0;
    int64_t UnpackedSize = 0;
    uint8_t Ratio = 0;
    std::string FileComment;
    std::string ArchiveComment;
    uint32_t CRC = 0;
    std::string FileName;
    std::string MethodName;
    uint16_t MethodNum = 0;
    TDateTime Date = kDosEpoch;
    uint8_t DeflateOption = 0;
    uint16_t VersionMadeBy = 0;
    uint16_t VersionNeeded = 0;
    uint16_t InternalAttr = 0;
    uint32_t ExternalAttr = 0;

    // ---- operations -----------------------------------------------------------------------------
    // Sets FileName for the stored Name (OEM). The extractors' rule keeps the stored folders below
    // ExtractDir (UseStoredDirs) or drops them; a name that would land outside ExtractDir, on a
    // device or nowhere is refused: FileName is cleared and the result is false.
    virtual bool BuildFileName(const std::string& name);
    // A stored name in ANSI with "\" separators: OEM text here; an extractor whose format marks
    // names as UTF-8 converts those instead.
    virtual std::string StoredNameToAnsi(const std::string& name) const;
    virtual TDateTime DosDateToDateTime(uint32_t stamp) const { return engine::DosDateToDateTime(stamp); }

    // Fatal report: OnError (Sender, FN, MsgEx, VolumeID, ECode) when assigned, then E_RAISE with the
    // table text of ECode. Callers pass "0" as VolumeID unless stated otherwise.
    [[noreturn]] void RaiseError(const std::string& fn, const std::string& msgEx, const std::string& volumeID,
                                 int eCode);
    // Non-fatal report: OnError with the name part of FN, unless the running component (or, outside a
    // run, this one) has been cancelled. The run goes on.
    void ReportError(const std::string& fn, const std::string& msgEx, const std::string& volumeID, int eCode);

    // The running context's progress byte from Done of Total, and the progress callback.
    static void UpdateProgress(int64_t done, int64_t total);
    static void RaiseProgress(TZipCommon* component, uint8_t percent);
    // UpdateProgress followed by the run's progress callback.
    static void ReportProgress(int64_t done, int64_t total);

    // Volume routines of the lister and the multi-volume extractors.
    void ParseVolumeExt(const std::string& path) { Volumes.ParseVolumeExt(path); }
    std::string NextVolumePath(const std::string& path) { return Volumes.NextVolumePath(path); }
    // Normalises an OnNextVolume answer: Dir gets FN's folder when FN has one, else Dir's own folder;
    // an empty Dir becomes DefaultDir or the current folder; FN keeps its name; the current folder
    // becomes Dir.
    static void SplitVolumePath(std::string& dir, std::string& fn, const std::string& defaultDir);
    // Asks OnNextVolume for the volume FN until it exists, the handler cancels or the drive is not
    // ready. Without a handler: the report 25172 and false. On success FN is the full path.
    bool FindVolume(std::string& fn, const std::string& volumeID);

    // True while one of this component's runs is in progress.
    bool Running() const { return running_ > 0; }

    // Run bookkeeping for RunScope.
    void BeginRun();
    void EndRun();

    // Starts the stopwatch when OnElapsedTime is assigned; StopStopwatch stops it and reports.
    void StartStopwatch();
    void StopStopwatch();
    // Raises the named required-event report 25270 when Event is unassigned.
    template <class E>
    void RequireEvent(const E& event, const char* name)
    {
        if (!event)
            RaiseError(archiveFile_, name, "0", 25270);
    }

protected:
    ~TZipCommon() override;
    // A running component cannot be freed (the run still uses it): the attempt cancels the run and
    // raises EInvalidOperation. A freed component stops being ActiveArcComponent.
    void BeforeDestruction() override;

    std::string archiveFile_;
    TArcType arcType_ = TArcType::atNA;
    std::string about_;
    TSetDate setDateTo_ = TSetDate::sdOrigDate;
    bool recurseDirs_ = false;
    TStoredDirNames storedDirNames_ = TStoredDirNames::sdRelative;
    std::string extractDir_;
    TqlvFileAttr* fileAttribute_ = nullptr;
    TProgressNotify progressNotify_ = TProgressNotify::Ten;
    int zipCmntBufSize_ = 2000;
    bool useStoredDirs_ = true;
    std::string fileSpec_ = "*.*";

private:
    int running_ = 0;
};

}  // namespace engine
