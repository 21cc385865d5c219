// Little-endian numbers in byte buffers, as the picture file formats store them.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/core/streams.h"

namespace inst {

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }

inline void PutLe16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

// A 32-bit number at the stream's position; a short stream raises EReadError "Stream read error".
inline uint32_t ReadLe32(fw::TStream& stream) {
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return Le32(b);
}
inline void WriteLe32(fw::TStream& stream, uint32_t v) {
    const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                          static_cast<uint8_t>(v >> 24)};
    stream.WriteBuffer(b, 4);
}

}  // namespace inst
