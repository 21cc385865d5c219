// Writes one new ZIP entry from an open source file: the local header and name, for an encrypted
// entry the 12-byte encryption header, then the stored or deflated data. A file that fits the read
// buffer is read, checked and compressed before anything is written, so its header goes out once,
// complete; for a larger one the local header is written again with the CRC and sizes at the end.
// The entry is either complete or reported as failed; the caller then cuts the output back to where
// the entry began.
#pragma once

#include <cstdint>
#include <string>

#include "engine/codec/deflate.h"
#include "engine/core/awk_main.h"
#include "engine/formats/zip/zip_records.h"
#include "framework/core/platform.h"
#include "framework/core/streams.h"

namespace engine::zip {

struct NewEntrySettings {
    bool deflate = true;
    int level = 7;
    std::string password;  // empty: not encrypted
};

enum class NewEntryResult {
    Ok,
    SourceFailed,  // the source could not be read, or it changed while it was read
    WriteFailed,   // the output took fewer bytes than it was given
};

// The CRC-32 (complemented) of a whole open file, read from its start; false when it does not hold
// Size bytes or cannot be read. The file is left at its start.
bool SourceCrc(fw::FileHandle file, int64_t size, uint32_t& crc);

class ZipEntryWriter {
public:
    // Progress goes to Meter (its step and the run's progress callback). Deflater is the compressor
    // the run's entries share.
    ZipEntryWriter(fw::TStream& out, TAwkMain& meter, mx::codec::Deflater& deflater)
        : out_(out), meter_(meter), deflater_(deflater)
    {
    }

    // Writes the entry for Source (Size bytes, modified at DosTime, open at its start) under
    // StoredName (OEM, "/" separators). Header receives the final local header. A source of 4 GB or more is refused as
    // SourceFailed, since its sizes do not fit the records.
    NewEntryResult Write(fw::FileHandle source, int64_t size, const std::string& storedName, uint32_t dosTime,
                         const NewEntrySettings& settings, LocalHeader& header);

    // The complement of the CRC-32 over the bytes the last Write read for the entry's data.
    uint32_t DataCrc() const { return dataCrc_; }

private:
    NewEntryResult WriteWhole(fw::FileHandle source, int64_t size, const std::string& storedName,
                              const NewEntrySettings& settings, LocalHeader& header);

    fw::TStream& out_;
    TAwkMain& meter_;
    mx::codec::Deflater& deflater_;
    uint32_t dataCrc_ = 0;
};

}  // namespace engine::zip
