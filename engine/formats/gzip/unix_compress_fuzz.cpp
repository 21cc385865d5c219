// Feeds arbitrary bytes to the Unix compress decoder.
#include <cstdint>
#include <cstring>

#include "engine/formats/gzip/unix_compress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t pos = 0;
    engine::ByteInput in(
        [&](uint8_t* buf, size_t n) {
            const size_t k = std::min(n, size - pos);
            if (k)
                std::memcpy(buf, data + pos, k);
            pos += k;
            return k;
        },
        size, 4096);
    uint64_t total = 0;
    engine::ByteOutput out([&](const uint8_t*, size_t n) {
        total += n;
        return total < (64u << 20);
    });
    engine::UnixDecompress(in, out);
    return 0;
}
