#include "engine/formats/lzh/lha_header.h"

#include <array>
#include <vector>

#include "engine/formats/common/le_bytes.h"

namespace engine::lha {

namespace {

bool LeadByte(uint8_t b) { return (b >= 0x80 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFD); }

// Reads the extended headers that start at Pos with the first size given; Limit bounds them (the
// level-2 header's end, or the file's end). Fills the name, folder and attributes; the total size
// read goes to Total. False when a record does not fit.
bool ReadExtended(ReadAtSource& source, uint64_t pos, uint32_t size, uint64_t limit, LhaEntry& e, uint64_t& total,
                  std::string& folder, std::string& extName)
{
    total = 0;
    while (size != 0) {
        if (size < 3 || pos + size > limit)
            return false;
        std::vector<uint8_t> rec(size);
        if (!source.ReadExact(pos, rec))
            return false;
        const std::string data(rec.begin() + 1, rec.end() - 2);
        switch (rec[0]) {
        case 0x01:
            extName = data;
            break;
        case 0x02:
            folder = FolderText(data);
            break;
        case 0x40:
            if (data.size() >= 2)
                e.attr = static_cast<uint8_t>(data[0]);
            break;
        default:
            break;
        }
        total += size;
        pos += size;
        size = Le16(rec.data() + size - 2);
    }
    return true;
}

std::string JoinName(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder + "\\" + name;
}

}  // namespace

std::string DamagePlace(uint64_t pos) { return "at offset " + std::to_string(pos); }

std::string FolderText(const std::string& raw)
{
    std::string out = raw;
    for (size_t i = 0; i < out.size(); ++i) {
        const uint8_t b = static_cast<uint8_t>(out[i]);
        if (LeadByte(b) && i + 1 < out.size()) {
            ++i;  // the trail byte stays as it is
            continue;
        }
        if (b == '/' || b == 0xFF)
            out[i] = '\\';
    }
    auto trimmed = [](uint8_t c) { return c <= ' ' || c == '\\'; };
    size_t a = 0, z = out.size();
    while (a < z && trimmed(static_cast<uint8_t>(out[a])))
        ++a;
    while (z > a && trimmed(static_cast<uint8_t>(out[z - 1])))
        --z;
    return out.substr(a, z - a);
}

uint64_t FirstHeaderPos(ReadAtSource& source, uint64_t start)
{
    std::array<uint8_t, 1> b{};
    if (source.ReadExact(start, b) && b[0] == 0 && start + 128 < source.Size())
        return start + 128;
    return start;
}

HeaderStep ReadHeader(ReadAtSource& source, uint64_t pos, LhaEntry& e)
{
    e = LhaEntry{};
    e.headerPos = pos;
    std::array<uint8_t, 26> h{};
    const size_t got = source.ReadAt(pos, h);
    // A zero size byte is the end mark, unless it is the low byte of a level-2 header's 16-bit size.
    const bool level2 = got >= 26 && h[20] == 2 && Le16(h.data()) >= 26 && h[2] == '-' && h[6] == '-';
    if (got == 0 || (h[0] == 0 && !level2))
        return HeaderStep::End;
    if (got < 22)
        return HeaderStep::Damaged;
    e.headerSizeByte = h[0];
    e.method.assign(reinterpret_cast<const char*>(h.data() + 2), 5);
    e.storedPacked = Le32(h.data() + 7);
    e.size = Le32(h.data() + 11);
    e.stamp = Le32(h.data() + 15);
    e.level = h[20];
    if (e.method[0] != '-' || e.method[4] != '-')
        return HeaderStep::Damaged;
    const uint64_t fileSize = source.Size();
    std::string folder, extName;
    uint64_t extTotal = 0;

    if (e.level == 0 || e.level == 1) {
        e.attr = h[19];
        const uint32_t n = h[21];
        const uint32_t base = h[0] + 2u;  // the whole fixed header
        if (n + (e.level == 1 ? 27u : 24u) > base)
            return HeaderStep::Damaged;
        std::vector<uint8_t> rec(base);
        if (!source.ReadExact(pos, rec))
            return HeaderStep::Damaged;
        const std::string name(rec.begin() + 22, rec.begin() + 22 + n);
        e.crc = Le16(rec.data() + 22 + n);
        if (e.level == 1) {
            const uint32_t first = Le16(rec.data() + base - 2);
            if (!ReadExtended(source, pos + base, first, fileSize, e, extTotal, folder, extName))
                return HeaderStep::Damaged;
            if (extTotal > e.storedPacked)
                return HeaderStep::Damaged;
        }
        // Level-0 names of DOS tools hold "\" already; some tools use 0xFF.
        std::string stored = extName.empty() ? name : extName;
        for (char& c : stored)
            if (static_cast<uint8_t>(c) == 0xFF)
                c = '\\';
        e.name = JoinName(folder, stored);
        e.dataPos = pos + base + extTotal;
        e.packedSize = e.storedPacked - extTotal;
    } else if (e.level == 2) {
        const uint32_t total = Le16(h.data());
        if (total < 26 || got < 26)
            return HeaderStep::Damaged;
        e.crc = Le16(h.data() + 21);
        const uint32_t first = Le16(h.data() + 24);
        if (!ReadExtended(source, pos + 26, first, pos + total, e, extTotal, folder, extName))
            return HeaderStep::Damaged;
        std::string stored = extName;
        for (char& c : stored)
            if (static_cast<uint8_t>(c) == 0xFF)
                c = '\\';
        e.name = JoinName(folder, stored);
        e.dataPos = pos + total;
        e.packedSize = e.storedPacked;
    } else {
        return HeaderStep::Damaged;  // a level this reader does not know: its size cannot be told
    }
    e.nextPos = e.dataPos + e.packedSize;
    if (e.name.empty() && !e.IsFolder())
        return HeaderStep::Damaged;
    return HeaderStep::Entry;
}

}  // namespace engine::lha
