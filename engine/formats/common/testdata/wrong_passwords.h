// zip salts every encryption header afresh, and the header's check byte lets a wrong password
// through once in 256 tries. Tests that expect wrong passwords to fail make their archive again
// until none of those passwords passes any entry's check.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "engine/codec/zipcrypt.h"

namespace mx::test {

// True when one of `passwords` passes the header check of an encrypted entry of `zip` (a whole
// archive, comment allowed; flags, time and CRC come from its central directory).
inline bool WrongPasswordPasses(const std::string& zip, const std::vector<std::string>& passwords)
{
    auto u16 = [&](size_t at) { return static_cast<uint16_t>(uint8_t(zip[at]) | uint8_t(zip[at + 1]) << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | uint32_t(u16(at + 2)) << 16); };
    if (zip.size() < 22) return false;
    size_t end = zip.size() - 22;
    while (end > 0 && zip.compare(end, 4, "PK\x05\x06") != 0) --end;
    if (zip.compare(end, 4, "PK\x05\x06") != 0) return false;
    size_t central = u32(end + 16);
    for (unsigned i = 0; i < u16(end + 10) && central + 46 <= zip.size(); ++i) {
        const uint16_t flags = u16(central + 8), time = u16(central + 12);
        const uint32_t crc = u32(central + 16);
        const size_t local = u32(central + 42);
        if ((flags & 1) && local + 30 <= zip.size()) {
            const size_t data = local + 30 + u16(local + 26) + u16(local + 28);
            if (data + codec::ZipCrypto::kHeaderSize <= zip.size()) {
                std::array<uint8_t, codec::ZipCrypto::kHeaderSize> header{};
                std::memcpy(header.data(), zip.data() + data, header.size());
                for (const std::string& password : passwords) {
                    codec::ZipCrypto crypto;
                    if (crypto.CheckPassword(header, flags, password, time, crc)) return true;
                }
            }
        }
        central += 46 + u16(central + 28) + u16(central + 30) + u16(central + 32);
    }
    return false;
}

}  // namespace mx::test
