// Test helpers: reproducible bytes from a seed, that no archiver can compress (Bytes) or that every
// archiver compresses well (Text, words and line ends).
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

inline std::string Text(size_t n, uint32_t seed)
{
    static const char* const kWords[] = {"archive ", "entry ", "check ", "volume ", "header ", "data\n"};
    std::string s;
    while (s.size() < n) {
        seed = seed * 1103515245u + 12345u;
        s += kWords[(seed >> 16) % 6];
    }
    s.resize(n);
    return s;
}

}  // namespace engine::test
