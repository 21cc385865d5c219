#include "engine/formats/zoo/zoo_header.h"

#include <array>

#include "engine/formats/common/le_bytes.h"

namespace engine::zoo {

namespace {

std::string Text(const uint8_t* p, size_t n)
{
    size_t len = 0;
    while (len < n && p[len] != 0)
        ++len;
    return std::string(reinterpret_cast<const char*>(p), len);
}

// The stored folder without a root, "." or ".." parts (archivers stored the relative paths they were
// given, "../x" included), ending in "/" when anything is left.
std::string CleanFolder(const std::string& folder)
{
    std::string out, part;
    for (size_t i = 0; i <= folder.size(); ++i) {
        const char c = i < folder.size() ? folder[i] : '/';
        if (c != '/' && c != '\\') {
            part += c;
            continue;
        }
        if (!part.empty() && part != "." && part != "..")
            out += part + "/";
        part.clear();
    }
    return out;
}

}  // namespace

Walker::Start Walker::Begin()
{
    std::array<uint8_t, kArchiveHeaderSize> h{};
    if (!source_.ReadExact(0, h))
        return Start::Short;
    const uint32_t first = Le32(h.data() + 24);
    const uint32_t minus = Le32(h.data() + 28);
    if (uint32_t(first + minus) != 0 || Le32(h.data() + 20) != kTag)
        return Start::BadHeader;
    pos_ = first;
    return Start::Ok;
}

Walker::Step Walker::Next(Entry& e)
{
    std::array<uint8_t, kEntrySize> r{};
    const size_t got = source_.ReadAt(pos_, r);
    if (got < 10 || Le32(r.data()) != kTag)
        return Step::Broken;
    // The terminating entry may be written shorter than a full record.
    if (Le32(r.data() + 6) == 0)
        return Step::End;
    if (got < kEntrySize)
        return Step::Broken;
    e = Entry{};
    e.pos = pos_;
    e.type = r[4];
    e.method = r[5];
    e.next = Le32(r.data() + 6);
    if (e.next == 0)
        return Step::End;
    // A chain that points back would run for ever.
    if (e.next <= pos_)
        return Step::Broken;
    e.dataPos = Le32(r.data() + 10);
    e.dosStamp = Le32(r.data() + 14);
    e.crc = Le16(r.data() + 18);
    e.unpackedSize = Le32(r.data() + 20);
    e.packedSize = Le32(r.data() + 24);
    e.deleted = r[30] != 0;
    std::string name = Text(r.data() + 38, 13);
    if (e.type == 2) {
        // The variable part: the long name first, then the folder.
        const size_t longLength = r[56], folderLength = r[57];
        std::string extra(longLength + folderLength, '\0');
        if (source_.ReadExact(pos_ + kEntrySize, std::span(reinterpret_cast<uint8_t*>(extra.data()), extra.size()))) {
            const std::string longName = Text(reinterpret_cast<const uint8_t*>(extra.data()), longLength);
            const std::string folder =
                CleanFolder(Text(reinterpret_cast<const uint8_t*>(extra.data()) + longLength, folderLength));
            if (!longName.empty())
                name = longName;
            name = folder + name;
        }
    }
    e.name = name;
    pos_ = e.next;
    return Step::Entry;
}

}  // namespace engine::zoo
