// TUnZIP: the extractor of ZIP archives (plain, self-extracting and embedded in an executable). It
// walks the central directory, re-reads each selected entry's local header, settles its password,
// decodes it into a file (Extract) or nowhere (Test) and reports every step through the events of
// its base.
#pragma once

#include <string>

#include "engine/core/un_base.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/zip_records.h"
#include "framework/core/platform.h"

namespace engine {

class TUnZIP : public TUnBase {
public:
    explicit TUnZIP(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;

protected:
    ~TUnZIP() override = default;

private:
    enum class EntryOutcome { Next, EndRun };
    // Handles one selected entry whose local header lies at LocalPos.
    EntryOutcome HandleEntry(fw::FileHandle archive, uint64_t localPos, const zip::LocalHeader& local,
                             zip::CentralEntry& entry);

    std::string password_;  // the current password, kept from entry to entry within a run
};

// Registers TUnZIP with the framework's reflection (after the engine's own classes).
void RegisterUnZipClasses();

}  // namespace engine
