// TUnZOO: the extractor of ZOO archives: stored entries, ZOO's LZW (method 1) and the static-Huffman
// LZH method (method 2). Deleted entries stay deleted.
#pragma once

#include "engine/core/un_base.h"

namespace engine {

class TUnZOO : public TUnBase {
public:
    explicit TUnZOO(fw::TComponent* owner);

    void SetArcType(TArcType value) override;
    // ZOO keeps the date word before the time word.
    TDateTime DosDateToDateTime(uint32_t stamp) const override { return engine::DosDateToDateTime(SwapWords(stamp)); }

    void ProcessArchive() override;

protected:
    ~TUnZOO() override = default;

private:
    void Walk(fw::FileHandle archive, int64_t size);
};

void RegisterUnZooClasses();

}  // namespace engine
