#include "engine/detect/pe_string_table.h"

#include <algorithm>
#include <array>

#include "engine/formats/common/le_bytes.h"

namespace engine {

namespace {

// DOS header: "MZ", and at 0x3C the offset of the "PE\0\0" signature.
constexpr uint64_t kOffPeOffset = 0x3C;
// COFF file header, after the 4-byte signature.
constexpr uint64_t kCoffSize = 20;
constexpr uint64_t kOffNumberOfSections = 2;
constexpr uint64_t kOffSizeOfOptionalHeader = 16;
// Optional header: magic, and the data directory array.
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint64_t kOffRvaCountPe32 = 92, kOffDirectoriesPe32 = 96;
constexpr uint64_t kOffRvaCountPe32Plus = 108, kOffDirectoriesPe32Plus = 112;
constexpr uint32_t kResourceDirectoryIndex = 2;
// Section header, 40 bytes.
constexpr uint64_t kSectionSize = 40;
constexpr uint64_t kOffVirtualSize = 8, kOffVirtualAddress = 12, kOffRawSize = 16, kOffRawPointer = 20;
// Resource directory: 16-byte head with the named and id entry counts at 12 and 14, then 8-byte
// entries (name or id, offset with the high bit set for a subdirectory). A data entry holds the
// data's RVA and size.
constexpr uint32_t kDirHeadSize = 16, kDirEntrySize = 8;
constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint32_t kRtString = 6;
constexpr uint16_t kMaxSections = 96;

}  // namespace

PeStringTable::PeStringTable(ReadAtSource& source) : source_(source) {
    std::array<uint8_t, 64> dos{};
    if (!source.ReadExact(0, dos) || dos[0] != 'M' || dos[1] != 'Z') return;
    const uint64_t pe = Le32(dos.data() + kOffPeOffset);
    std::array<uint8_t, 4 + kCoffSize> coff{};
    if (!source.ReadExact(pe, coff) || Le32(coff.data()) != 0x00004550) return;
    const uint16_t sectionCount = Le16(coff.data() + 4 + kOffNumberOfSections);
    const uint16_t optionalSize = Le16(coff.data() + 4 + kOffSizeOfOptionalHeader);
    if (sectionCount > kMaxSections) return;
    const uint64_t optional = pe + 4 + kCoffSize;

    std::vector<uint8_t> opt(optionalSize);
    if (optionalSize < 2 || !source.ReadExact(optional, opt)) return;
    const uint16_t magic = Le16(opt.data());
    uint64_t countOff = 0, dirsOff = 0;
    if (magic == kMagicPe32) {
        countOff = kOffRvaCountPe32;
        dirsOff = kOffDirectoriesPe32;
    } else if (magic == kMagicPe32Plus) {
        countOff = kOffRvaCountPe32Plus;
        dirsOff = kOffDirectoriesPe32Plus;
    } else {
        return;
    }
    if (countOff + 4 > opt.size()) return;
    const uint32_t rvaCount = Le32(opt.data() + countOff);
    const uint64_t resDir = dirsOff + uint64_t{kResourceDirectoryIndex} * 8;
    if (rvaCount <= kResourceDirectoryIndex || resDir + 8 > opt.size()) return;
    const uint32_t resRva = Le32(opt.data() + resDir);
    const uint32_t resSize = Le32(opt.data() + resDir + 4);
    if (resRva == 0 || resSize < kDirHeadSize) return;

    const uint64_t table = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        std::array<uint8_t, kSectionSize> s{};
        if (!source.ReadExact(table + i * kSectionSize, s)) return;
        sections_.push_back({Le32(s.data() + kOffVirtualAddress), Le32(s.data() + kOffVirtualSize),
                             Le32(s.data() + kOffRawPointer), Le32(s.data() + kOffRawSize)});
    }
    // Resource data may be shorter on disk than the directory entry says; what lies in the file counts.
    for (uint32_t len = resSize; len >= kDirHeadSize; len = len / 2) {
        if (const auto off = RvaToOffset(resRva, len)) {
            resourceOffset_ = off;
            resourceSize_ = len;
            break;
        }
    }
}

std::optional<uint64_t> PeStringTable::RvaToOffset(uint32_t rva, uint32_t length) const {
    for (const Section& s : sections_) {
        const uint64_t span = std::max(s.virtualSize, s.rawSize);
        if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
        const uint64_t delta = rva - s.virtualAddress;
        // The bytes must lie in the section's raw data and in the file.
        if (delta + length > s.rawSize) return std::nullopt;
        const uint64_t off = uint64_t{s.rawOffset} + delta;
        if (off + length > source_.Size()) return std::nullopt;
        return off;
    }
    return std::nullopt;
}

bool PeStringTable::ReadResource(uint32_t offset, void* out, uint32_t length) const {
    if (uint64_t{offset} + length > resourceSize_) return false;
    return source_.ReadExact(*resourceOffset_ + offset, {static_cast<uint8_t*>(out), length});
}

std::optional<uint32_t> PeStringTable::FindEntry(uint32_t dirOffset, uint32_t id, bool wantDirectory) const {
    std::array<uint8_t, kDirHeadSize> head{};
    if (!ReadResource(dirOffset, head.data(), kDirHeadSize)) return std::nullopt;
    const uint32_t named = Le16(head.data() + 12);
    const uint32_t ids = Le16(head.data() + 14);
    for (uint32_t i = named; i < named + ids; ++i) {
        std::array<uint8_t, kDirEntrySize> e{};
        if (!ReadResource(dirOffset + kDirHeadSize + i * kDirEntrySize, e.data(), kDirEntrySize)) return std::nullopt;
        const uint32_t name = Le32(e.data());
        const uint32_t target = Le32(e.data() + 4);
        if ((name & kSubdirectoryBit) != 0 || name != id) continue;
        if (((target & kSubdirectoryBit) != 0) != wantDirectory) return std::nullopt;
        return target & ~kSubdirectoryBit;
    }
    return std::nullopt;
}

std::optional<uint32_t> PeStringTable::FirstEntry(uint32_t dirOffset, bool wantDirectory) const {
    std::array<uint8_t, kDirHeadSize> head{};
    if (!ReadResource(dirOffset, head.data(), kDirHeadSize)) return std::nullopt;
    const uint32_t count = uint32_t{Le16(head.data() + 12)} + Le16(head.data() + 14);
    if (count == 0) return std::nullopt;
    std::array<uint8_t, kDirEntrySize> e{};
    if (!ReadResource(dirOffset + kDirHeadSize, e.data(), kDirEntrySize)) return std::nullopt;
    const uint32_t target = Le32(e.data() + 4);
    if (((target & kSubdirectoryBit) != 0) != wantDirectory) return std::nullopt;
    return target & ~kSubdirectoryBit;
}

std::optional<std::u16string> PeStringTable::Find(uint32_t id) const {
    if (!Valid() || id > 0xFFFF) return std::nullopt;
    const auto typeDir = FindEntry(0, kRtString, true);
    if (!typeDir) return std::nullopt;
    const auto nameDir = FindEntry(*typeDir, (id >> 4) + 1, true);
    if (!nameDir) return std::nullopt;
    // Neutral language, neutral with default and system sublanguages, then US English and English,
    // then whatever language comes first.
    std::optional<uint32_t> dataEntry;
    for (const uint32_t lang : {0x0000u, 0x0400u, 0x0800u, 0x0409u, 0x0009u}) {
        if ((dataEntry = FindEntry(*nameDir, lang, false))) break;
    }
    if (!dataEntry) dataEntry = FirstEntry(*nameDir, false);
    if (!dataEntry) return std::nullopt;

    std::array<uint8_t, 8> data{};
    if (!ReadResource(*dataEntry, data.data(), 8)) return std::nullopt;
    const uint32_t size = Le32(data.data() + 4);
    // A block holds 16 strings of at most 65535 units each, with their 16-bit lengths.
    constexpr uint32_t kMaxBlock = 16 * 2 * (65535 + 1);
    const auto blockOffset = RvaToOffset(Le32(data.data()), size);
    if (!blockOffset || size > kMaxBlock) return std::nullopt;
    std::vector<uint8_t> block(size);
    if (!source_.ReadExact(*blockOffset, block)) return std::nullopt;

    size_t pos = 0;
    for (uint32_t index = 0; index <= (id & 15); ++index) {
        if (block.size() - pos < 2) return std::nullopt;
        const size_t len = Le16(block.data() + pos);
        pos += 2;
        if (len * 2 > block.size() - pos) return std::nullopt;
        if (index == (id & 15)) {
            if (len == 0) return std::nullopt;  // an empty slot is no string
            std::u16string text(len, u'\0');
            for (size_t i = 0; i < len; ++i) text[i] = static_cast<char16_t>(Le16(block.data() + pos + 2 * i));
            return text;
        }
        pos += len * 2;
    }
    return std::nullopt;
}

namespace {

// The Windows-1252 byte of a UTF-16 unit, "?" where it has none.
char ToAnsi(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string PeStringTable::LoadAnsi(uint32_t id, size_t bufferChars) const {
    std::string out;
    if (bufferChars == 0) return out;
    const auto text = Find(id);
    if (!text) return out;
    for (char16_t c : *text) {
        if (out.size() + 1 >= bufferChars) break;
        out.push_back(ToAnsi(c));
    }
    return out;
}

}  // namespace engine
