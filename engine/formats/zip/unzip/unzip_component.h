// TUnZIP: the extractor of ZIP archives (plain, self-extracting and embedded in an executable). It
// walks the central directory, re-reads each selected entry's local header, settles its password,
// decodes it into a file (Extract) or nowhere (Test) and reports every step through the events of
// its base.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "engine/codec/inflate.h"
#include "engine/core/un_base.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/zip_records.h"
#include "framework/core/platform.h"

namespace engine {

class TUnZIP : public TUnBase {
public:
    explicit TUnZIP(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;
    // Names with the UTF-8 flag are converted from UTF-8, all others from the OEM code page.
    std::string StoredNameToAnsi(const std::string& name) const override;

protected:
    ~TUnZIP() override = default;

private:
    enum class EntryOutcome { Next, EndRun };
    // The walk over the central directory at Loc; Base is added to stored offsets. A directory that
    // ends before the records its end record counts is reported (25108) after the entries before
    // the damage have been handled.
    void WalkCentralDirectory(fw::FileHandle archive, FileReadSource& source, uint64_t base,
                              const zip::DirectoryLocation& loc, mx::codec::Inflater& inflater);
    // Records [Start, End) as used by one entry; false when it overlaps a range already claimed.
    static bool Claim(std::map<uint64_t, uint64_t>& claimed, uint64_t start, uint64_t end);
    // Handles one selected entry whose local header lies at LocalPos, with the run's decoder.
    EntryOutcome HandleEntry(fw::FileHandle archive, FileReadSource& entries, uint64_t localPos,
                             const zip::LocalHeader& local, zip::CentralEntry& entry, mx::codec::Inflater& inflater);

    std::string password_;  // the current password, kept from entry to entry within a run
    bool utf8Name_ = false;  // the current entry's name carries the UTF-8 flag
};

// Registers TUnZIP with the framework's reflection (after the engine's own classes).
void RegisterUnZipClasses();

}  // namespace engine
