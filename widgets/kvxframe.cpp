#include "widgets/kvxframe.h"

#include <vector>

#include "framework/core/exceptions.h"
#include "widgets/kvxstreams.h"
#include "widgets/lzrw.h"

namespace kvx {

void KVXCompressToStream(fw::TMemoryStream& source, fw::TStream& dest, int64_t count) {
    const int64_t start = dest.Position();
    dest.SetPosition(start + 4);
    uint32_t total = 0;
    std::vector<uint8_t> input(kKVXFrameBlock);
    std::vector<uint8_t> output(KVXLZRWDestSize(kKVXFrameBlock));
    while (count > 0) {
        const int64_t want = count < kKVXFrameBlock ? count : kKVXFrameBlock;
        const int64_t n = source.Read(input.data(), want);
        if (n <= 0) break;  // the caller promised Count bytes; a shorter source ends the frame there
        const uint32_t length = KVXLZRWCompress(input.data(), output.data(), static_cast<uint32_t>(n));
        KVXWriteInteger(dest, static_cast<int32_t>(length));
        dest.WriteBuffer(output.data(), length);
        total += length + 4;
        count -= n;
    }
    const int64_t end = dest.Position();
    dest.SetPosition(start);
    KVXWriteInteger(dest, static_cast<int32_t>(total));
    dest.SetPosition(end);
}

void KVXDecompressFromStream(fw::TStream& source, fw::TMemoryStream& dest) {
    int64_t remaining = static_cast<uint32_t>(KVXReadInteger(source));
    std::vector<uint8_t> input(kKVXFrameMaxCoded);
    std::vector<uint8_t> output(kKVXFrameBlock);
    int64_t produced = 0;
    while (remaining > 0) {
        if (remaining < 4) throw fw::EReadError("Compressed frame: a block length is cut off");
        const uint32_t length = static_cast<uint32_t>(KVXReadInteger(source));
        if (length < 1 || length > kKVXFrameMaxCoded)
            throw fw::EReadError("Compressed frame: block length " + std::to_string(length) + " out of range");
        if (length + int64_t{4} > remaining) throw fw::EReadError("Compressed frame: a block runs past the frame");
        source.ReadBuffer(input.data(), length);
        uint32_t n = 0;
        try {
            n = KVXLZRWDecompress(input.data(), output.data(), length, kKVXFrameBlock);
        } catch (const ELZRWError& e) {
            throw fw::EReadError("Compressed frame: " + e.Message());
        }
        produced += n;
        if (produced > kKVXFrameMaxOutput) throw fw::EReadError("Compressed frame: too much data");
        dest.WriteBuffer(output.data(), n);
        remaining -= length + int64_t{4};
    }
}

}  // namespace kvx
