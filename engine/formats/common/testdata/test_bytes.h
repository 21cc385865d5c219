// Test helper: reproducible bytes that no archiver can compress, from a seed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace engine::test {

inline std::string Bytes(size_t n, uint32_t seed)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s += char(seed >> 24);
    }
    return s;
}

}  // namespace engine::test
