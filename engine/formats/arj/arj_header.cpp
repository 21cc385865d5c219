#include "engine/formats/arj/arj_header.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/formats/common/le_bytes.h"

namespace engine::arj {

namespace {

// The text from At up to its NUL or the end of the basic header; At moves past the NUL.
std::string TakeString(const std::vector<uint8_t>& basic, size_t& at)
{
    std::string out;
    while (at < basic.size() && basic[at] != 0)
        out += static_cast<char>(basic[at++]);
    ++at;
    return out;
}

}  // namespace

HeaderStep ReadHeader(ReadAtSource& source, uint64_t pos, ArjHeader& h)
{
    h = ArjHeader{};
    h.pos = pos;
    std::array<uint8_t, 4> id{};
    if (!source.ReadExact(pos, id) || id[0] != 0x60 || id[1] != 0xEA)
        return HeaderStep::Damaged;
    const uint32_t basicSize = Le16(id.data() + 2);
    if (basicSize == 0)
        return HeaderStep::End;
    if (basicSize > kMaxBasicSize || basicSize < 30)
        return HeaderStep::Damaged;
    std::vector<uint8_t> basic(basicSize + 4);
    if (!source.ReadExact(pos + 4, basic))
        return HeaderStep::Damaged;
    const uint32_t storedCrc = Le32(basic.data() + basicSize);
    basic.resize(basicSize);
    h.crcOk = mx::codec::Crc32(basic) == storedCrc;
    const uint8_t* b = basic.data();
    h.firstSize = b[0];
    h.version = b[1];
    h.minVersion = b[2];
    h.host = b[3];
    h.flags = b[4];
    h.method = b[5];
    h.fileType = b[6];
    h.modifier = b[7];
    h.dosTime = Le32(b + 8);
    h.packedSize = Le32(b + 12);
    h.size = Le32(b + 16);
    h.crc = Le32(b + 20);
    h.fileMode = Le16(b + 26);
    if (h.firstSize < 30 || h.firstSize > basicSize)
        return HeaderStep::Damaged;
    size_t at = h.firstSize;
    h.name = TakeString(basic, at);
    h.comment = TakeString(basic, at);
    // Extended headers: size, data and CRC each, until a size of 0.
    uint64_t p = pos + 4 + basicSize + 4;
    for (int guard = 0;; ++guard) {
        std::array<uint8_t, 2> size{};
        if (!source.ReadExact(p, size) || guard > 1000)
            return HeaderStep::Damaged;
        p += 2;
        const uint32_t ext = Le16(size.data());
        if (ext == 0)
            break;
        p += ext + 4u;
    }
    h.dataPos = p;
    h.nextPos = p + h.packedSize;
    return HeaderStep::Entry;
}

bool FindMainHeader(ReadAtSource& source, uint64_t start, uint64_t limit, ArjHeader& header)
{
    const uint64_t end = std::min<uint64_t>(source.Size(), start + limit);
    std::vector<uint8_t> window;
    for (uint64_t pos = start; pos + 4 <= end; ++pos) {
        std::array<uint8_t, 2> id{};
        if (source.ReadAt(pos, id) != 2)
            return false;
        if (id[0] != 0x60 || id[1] != 0xEA)
            continue;
        if (ReadHeader(source, pos, header) == HeaderStep::Entry && header.crcOk)
            return true;
    }
    return false;
}

}  // namespace engine::arj
