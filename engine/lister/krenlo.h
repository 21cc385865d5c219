// TKrenlo: the archive lister. Activate walks the headers of ArchiveFile and reports each selected
// entry through OnRead, with the entry's fields in the current-entry members; the totals stay for
// the caller afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/zip_common.h"

namespace engine {

class ReadAtSource;

class TKrenlo : public TZipCommon {
public:
    explicit TKrenlo(fw::TComponent* owner);

    // Sums over the volumes of a multi-volume entry.
    int64_t RunPacked = 0;
    int64_t RunUnpacked = 0;
    // Set when a ZIP archive is listed from its local headers instead of its central directory.
    bool LocalWalk = false;
    // The folder prefix that ARC and PAK folder entries build up.
    std::string ArcFolder;

    bool ShowBlankDirs() const { return showBlankDirs_; }
    void SetShowBlankDirs(bool value) { showBlankDirs_ = value; }

    TOnReadFile OnReadFile;
    TNotifyEvent OnReadBegin;
    TNotifyEvent OnReadEnd;
    TOnTotals OnTotals;

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    // Lists the archive. True when the run got past its preconditions; false when ArchiveFile is
    // empty, another run is in progress or a failure ended the run.
    bool Activate();

    // OnReadBegin, OnRead (Offset, Filenum), OnReadEnd.
    void ReportEntry(int64_t offset, int filenum);
    void AddTotals(int64_t packed, int64_t unpacked);
    // Starts a new entry: FileName := Name from OEM (or, with Utf8, from UTF-8) to ANSI, "\"
    // separators, cut at a NUL; the entry has no comment until its walk reads one.
    void SetEntryName(const std::string& name, bool utf8 = false);

protected:
    ~TKrenlo() override = default;

private:
    void ClearEntryFields();
    void ListZip(ReadAtSource& source);
    bool ListZipCentral(ReadAtSource& source, uint64_t start);
    bool ListZipLocal(ReadAtSource& source, uint64_t start);

    bool showBlankDirs_ = false;
};

// Registers TKrenlo with the framework's reflection (after the engine's own classes).
void RegisterListerClasses();

}  // namespace engine
