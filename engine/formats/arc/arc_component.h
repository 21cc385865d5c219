// TUnARC: the extractor of ARC archives (plain and behind an executable), folder records included.
// PAK archives are refused.
#pragma once

#include "engine/core/un_base.h"

namespace engine {

class TUnARC : public TUnBase {
public:
    explicit TUnARC(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;
    // ARC keeps the date word before the time word.
    TDateTime DosDateToDateTime(uint32_t stamp) const override { return engine::DosDateToDateTime(SwapWords(stamp)); }

    void ProcessArchive() override;

protected:
    ~TUnARC() override = default;

private:
    void Walk(fw::FileHandle archive, int64_t size);
};

void RegisterUnArcClasses();

}  // namespace engine
