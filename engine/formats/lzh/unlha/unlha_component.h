// TUnLHA: the extractor of LHA/LZH archives (plain or behind an executable prefix), header levels 0,
// 1 and 2, methods -lh0- (and LArc's stored -lz4-), -lh1-, -lh4-, -lh5- and -lh6-.
#pragma once

#include "engine/core/un_base.h"
#include "framework/core/platform.h"

namespace engine {

namespace lha {
struct LhaEntry;
}

class TUnLHA : public TUnBase {
public:
    explicit TUnLHA(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;

protected:
    ~TUnLHA() override = default;

private:
    void HandleEntry(fw::FileHandle archive, const lha::LhaEntry& entry);
    // Decodes the entry's data into the run's sink; false when the method is not one this extractor reads.
    bool Decode(fw::FileHandle archive, const lha::LhaEntry& entry);
};

// Registers TUnLHA with the framework's reflection (after the engine's own classes).
void RegisterUnLhaClasses();

}  // namespace engine
