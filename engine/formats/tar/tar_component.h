// TUnTAR: the extractor of TAR archives. Regular files are copied out (empty ones too), and a hard link
// gets a copy of the file it names; folders, symbolic links, devices and the metadata records that
// only describe other entries produce no files. There is no
// CRC: a completely copied entry passes.
#pragma once

#include "engine/core/file_routines.h"
#include "engine/core/un_base.h"
#include "engine/formats/common/file_source.h"

namespace engine {

class TUnTAR : public TUnBase {
public:
    explicit TUnTAR(fw::TComponent* owner);

    void SetArcType(TArcType value) override;
    // TAR stores Unix times.
    TDateTime DosDateToDateTime(uint32_t stamp) const override { return UnixToDateTimeNow(stamp); }

    void ProcessArchive() override;

protected:
    ~TUnTAR() override = default;

private:
    void Walk(fw::FileHandle archive, int64_t size);
    // Copies Size bytes at DataPos of the archive into the entry's output.
    void CopyData(FileReadSource& source, uint64_t dataPos, uint64_t size);
};

void RegisterUnTarClasses();

}  // namespace engine
