// Decodes arbitrary blocks into a buffer of the largest block size, then codes the input itself and
// checks that it decodes back.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "widgets/lzrw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kvx::kLZRWMaxBlock + 1) return 0;
    std::vector<uint8_t> in(data, data + size);  // exactly the input's size
    std::vector<uint8_t> out(kvx::kLZRWMaxBlock);
    try {
        kvx::KVXLZRWDecompress(in.data(), out.data(), static_cast<uint32_t>(in.size()), kvx::kLZRWMaxBlock);
    } catch (const kvx::ELZRWError&) {
    }
    if (size <= kvx::kLZRWMaxBlock) {
        const auto n = static_cast<uint32_t>(size);
        std::vector<uint8_t> block(kvx::KVXLZRWDestSize(n));
        const uint32_t packed = kvx::KVXLZRWCompress(in.data(), block.data(), n);
        block.resize(packed);
        std::vector<uint8_t> back(n);
        if (kvx::KVXLZRWDecompress(block.data(), back.data(), packed, n) != n ||
            (n && std::memcmp(back.data(), in.data(), n) != 0))
            std::abort();
    }
    return 0;
}
