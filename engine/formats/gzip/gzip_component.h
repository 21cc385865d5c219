// TUnGZIP: the extractor of single-file compressed files: gzip (every member, each checked against its
// own trailer) and Unix compress (.Z). Pack and LZH-compressed files are refused.
#pragma once

#include "engine/core/file_routines.h"
#include "engine/core/un_base.h"
#include "engine/formats/gzip/gzip_header.h"

namespace engine {

class TUnGZIP : public TUnBase {
public:
    explicit TUnGZIP(fw::TComponent* owner);

    void SetArcType(TArcType value) override;
    // gzip stores Unix times.
    TDateTime DosDateToDateTime(uint32_t stamp) const override { return UnixToDateTimeNow(stamp); }

    void ProcessArchive() override;

protected:
    ~TUnGZIP() override = default;

private:
    void Walk(fw::FileHandle archive, int64_t size);
    // Inflates every member from the first one's data on; true when each matched its trailer.
    bool DecodeMembers(fw::FileHandle archive, int64_t size, const gz::Header& first);
    bool DecodeCompress(fw::FileHandle archive, int64_t size);

    gz::Header header_;
};

void RegisterUnGzipClasses();

}  // namespace engine
