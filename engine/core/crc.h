// The engine's CRC routines over the codec library's tables. Callers start CRC-32 from 0xFFFFFFFF
// and compare the complement; CRC-16 starts from 0.
#pragma once

#include <cstdint>
#include <span>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"

namespace engine {

inline void UpdateCrc32(const void* data, int64_t len, uint32_t& crc)
{
    if (len > 0)
        mx::codec::UpdateCrc32(std::span<const uint8_t>(static_cast<const uint8_t*>(data), size_t(len)), crc);
}

inline void UpdateCrc16(const void* data, int64_t len, uint16_t& crc)
{
    if (len > 0)
        mx::codec::UpdateCrc16(std::span<const uint8_t>(static_cast<const uint8_t*>(data), size_t(len)), crc);
}

}  // namespace engine
