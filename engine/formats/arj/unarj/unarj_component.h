// TUnARJ: the extractor of ARJ archives (plain or behind a self-extractor): methods 0 to 4, garbled
// entries with the password from OnGetPassword, and entries that continue over the volumes of a
// multi-volume set (.ARJ, .A01, .A02 ...), each volume found through OnNextVolume.
#pragma once

#include <memory>
#include <string>

#include "engine/core/un_base.h"
#include "framework/core/platform.h"

namespace engine {

class FileReadSource;

namespace arj {
struct ArjHeader;
}

class TUnARJ : public TUnBase {
public:
    explicit TUnARJ(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;
    // The number of the volume being read (.ARJ 0, .A01 1, ...).
    std::string ReportVolumeID() const override;

protected:
    ~TUnARJ() override;

private:
    enum class Outcome { Next, Extracted, EndRun };
    // Walks the volume that is open, whose archive starts at Start.
    void Walk(uint64_t start);
    Outcome HandleEntry(arj::ArjHeader& header);
    // Asks for the password of a garbled entry; false when there is none (the run is cancelled).
    bool SettlePassword();
    // Decodes one part of the entry (its header's packed size) into the output.
    void DecodePart(const arj::ArjHeader& header, bool garbled);
    // Opens the next volume of the set and reads the header of the entry's next part there.
    bool NextVolume(arj::ArjHeader& part);
    bool OpenVolume(const std::string& path);
    void CloseVolume();

    std::string volumePath_;  // the volume being read
    fw::FileHandle archive_ = fw::kInvalidFile;
    std::unique_ptr<FileReadSource> source_;
};

// Registers TUnARJ with the framework's reflection (after the engine's own classes).
void RegisterUnArjClasses();

}  // namespace engine
