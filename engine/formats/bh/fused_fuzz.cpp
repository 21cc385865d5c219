// Compresses arbitrary bytes with the Fuse compressor and decodes the result: it must give the input
// back (or the compressor must have given up).
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/lzh_decoder.h"
#include "engine/formats/bh/fused.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t pos = 0;
    std::vector<uint8_t> packed;
    const engine::bh::FuseResult r = engine::bh::FuseEncode(
        [&](uint8_t* buf, size_t n) -> int64_t {
            const size_t k = std::min(n, size - pos);
            if (k)
                std::memcpy(buf, data + pos, k);
            pos += k;
            return int64_t(k);
        },
        [&](const uint8_t* d, size_t n) {
            packed.insert(packed.end(), d, d + n);
            return true;
        });
    if (r.failed || r.unpackable)
        return 0;
    if (packed.size() >= size)
        __builtin_trap();
    std::vector<uint8_t> out;
    mx::codec::SpanSource in(packed);
    mx::codec::VectorSink sink(out);
    if (mx::codec::LzhDecode(in, sink, mx::codec::kLzhZoo, size) != mx::codec::Status::Ok || out.size() != size ||
        (size && std::memcmp(out.data(), data, size) != 0))
        __builtin_trap();
    return 0;
}
