// Pipes for the stream decoders of one entry: the input reads the entry's compressed bytes from the
// open archive (counting progress, ending when the run is cancelled), the output writes into the run's
// output sink and keeps the run's CRC register.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/core/un_base.h"
#include "engine/formats/common/byte_pipe.h"
#include "engine/formats/common/read_source.h"
#include "framework/core/platform.h"

namespace engine {

enum class CrcKind { None, Crc16, Crc32 };

// Reads up to Size bytes from Archive's current position. Component's entry progress is prepared for
// Size and advanced block by block.
ByteInput ArchiveInput(TAwkMain& component, fw::FileHandle archive, uint64_t size, size_t blockSize = 32768);

// Writes into the run's output sink and updates the run's CRC-16 or CRC-32 register over every byte
// the sink took.
ByteOutput DecoderOutput(CrcKind crc, size_t blockSize = 16384);

// Copies Size bytes at Pos of Archive into the run's output sink, block by block, with the entry
// progress of ArchiveInput and the CRC register of Crc. Returns the count copied: fewer when the
// archive ends early, the run is cancelled or the sink refuses (Refused is then true).
uint64_t CopyToOutput(TAwkMain& component, ReadAtSource& archive, uint64_t pos, uint64_t size, CrcKind crc,
                      bool& refused);

// Seeks Archive to Offset; false when the position cannot be reached.
bool SeekTo(fw::FileHandle archive, int64_t offset);
// Reads exactly Count bytes; false on a short read.
bool ReadExact(fw::FileHandle archive, void* buffer, int64_t count);

}  // namespace engine

namespace engine {

// The frame of an extractor's run: the archive and type checks (25243, 25242), opening the archive
// (25235), Prepare (checks that come before OnActivate), the run's start steps, Walk, and the end
// steps, which also follow a failure before it leaves as E_RAISE.
void RunArchiveWalk(TUnBase& component, bool canHandle,
                    const std::function<void(fw::FileHandle archive, int64_t size)>& prepare,
                    const std::function<void(fw::FileHandle archive, int64_t size)>& walk);

}  // namespace engine
