// zip salts every encryption header afresh, and the header's check byte lets a wrong password
// through once in 256 tries. Tests that expect wrong passwords to fail make their archive again
// until none of those passwords passes any entry's check.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "engine/codec/zipcrypt.h"
#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"

namespace mx::test {

// True when one of `passwords` passes the header check of an encrypted entry of `zip` (a whole
// archive; flags, time and CRC come from its central directory).
inline bool WrongPasswordPasses(const std::string& zip, const std::vector<std::string>& passwords)
{
    engine::SpanSource source(std::span(reinterpret_cast<const uint8_t*>(zip.data()), zip.size()));
    const engine::zip::DirectoryLocation where = engine::zip::LocateDirectory(source);
    if (where.kind != engine::zip::DirectoryLocation::Kind::Central) return false;
    engine::zip::CentralDirectoryWalker walker(source, where.position);
    engine::zip::CentralEntry entry;
    while (walker.Next(entry) == engine::zip::WalkStep::Entry) {
        const engine::zip::CentralHeader& h = entry.header;
        std::array<uint8_t, engine::zip::LocalHeader::kSize> localBytes{};
        if (!(h.flags & 1) || !source.ReadExact(h.localHeaderOffset, localBytes)) continue;
        const auto local = engine::zip::LocalHeader::Parse(localBytes);
        std::array<uint8_t, codec::ZipCrypto::kHeaderSize> header{};
        if (!local || !source.ReadExact(h.localHeaderOffset + local->DataOffset(), header)) continue;
        for (const std::string& password : passwords) {
            codec::ZipCrypto crypto;
            if (crypto.CheckPassword(header, h.flags, password, h.time, h.crc)) return true;
        }
    }
    return false;
}

}  // namespace mx::test
