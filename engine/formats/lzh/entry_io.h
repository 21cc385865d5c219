// The codecs' view of an entry inside an extractor run: compressed bytes from the open archive
// (counted for the progress report, ARJ-garbled bytes deciphered on the way) and decoded bytes into
// the run's output sink with the entry's CRC kept up to date. Shared by the LHA and ARJ extractors.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/core/un_base.h"
#include "framework/core/platform.h"

namespace engine {

class EntryInput final : public mx::codec::ByteSource {
public:
    // Reads the component's BytesLeft bytes from the archive's current position. Garbled: XOR with
    // the component's GarblePassword from its GarbleIndex on.
    EntryInput(TUnBase& component, fw::FileHandle archive, bool garbled);
    mx::codec::Status Read(std::span<const uint8_t>& block) noexcept override;

private:
    TUnBase& component_;
    fw::FileHandle archive_;
    bool garbled_;
    std::vector<uint8_t> buffer_;
};

class EntryOutput final : public mx::codec::ByteSink {
public:
    // CrcWidth 16 updates the run's CRC-16 register, anything else its CRC-32 register.
    explicit EntryOutput(int crcWidth) : crcWidth_(crcWidth) {}
    mx::codec::Status Write(std::span<const uint8_t> block) noexcept override;
    bool Failed() const { return failed_; }

private:
    int crcWidth_;
    bool failed_ = false;
};

// The report a decoder's result calls for: 25120 damaged data, 25136 a refused write, 25253 no
// memory; 0 when there is nothing to report (the CRC check judges truncated data).
int DecodeReport(mx::codec::Status status, const EntryOutput& output);

}  // namespace engine
