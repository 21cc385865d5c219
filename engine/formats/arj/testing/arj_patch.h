// Test helper: the first file header of an ARJ archive held in a string, and its CRC-32 mended after
// a test has changed fields of its basic header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/codec/crc32.h"
#include "engine/formats/common/testdata/byte_patch.h"

namespace engine::test {

// Where the basic header of the first file header starts: after the main header (id, size, basic
// header, CRC, extended size 0) and the file header's id and size.
inline size_t ArjFirstBasicHeader(const std::string& arj)
{
    const size_t mainSize = uint8_t(arj[2]) | size_t(uint8_t(arj[3])) << 8;
    return 4 + mainSize + 4 + 2 + 4;
}

// Where the basic header of the file header after the one at Basic starts (no extended headers).
inline size_t ArjNextBasicHeader(const std::string& arj, size_t basic)
{
    const size_t size = uint8_t(arj[basic - 2]) | size_t(uint8_t(arj[basic - 1])) << 8;
    const auto u = [&](size_t i) { return uint32_t(uint8_t(arj[basic + i])); };
    const size_t packed = u(12) | u(13) << 8 | u(14) << 16 | u(15) << 24;
    return basic + size + 4 + 2 + packed + 4;
}

// Writes the CRC-32 of the basic header at Basic after it.
inline void MendArjHeaderCrc(std::string& arj, size_t basic)
{
    const size_t size = uint8_t(arj[basic - 2]) | size_t(uint8_t(arj[basic - 1])) << 8;
    PutLe32(arj, basic + size, mx::codec::Crc32({reinterpret_cast<const uint8_t*>(arj.data()) + basic, size}));
}

}  // namespace engine::test
