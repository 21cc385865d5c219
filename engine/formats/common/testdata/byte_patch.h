// Test helper: writes a little-endian number over the bytes of an archive held in a string, for the
// damaged and hostile variants that tests make from good archives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace engine::test {

inline void PutLe32(std::string& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + size_t(i)] = char(value >> (8 * i));
}

}  // namespace engine::test
