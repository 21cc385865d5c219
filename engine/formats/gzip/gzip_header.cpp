#include "engine/formats/gzip/gzip_header.h"

#include <array>

#include "engine/core/routines.h"
#include "engine/formats/common/le_bytes.h"

namespace engine::gz {

namespace {

// Names and comments longer than this are treated as a damaged header.
constexpr uint64_t kMaxText = 1u << 16;

// Steps past a NUL-terminated text at Pos; false when no NUL comes within the limit.
bool SkipText(ReadAtSource& source, uint64_t& pos, std::string* text)
{
    std::array<uint8_t, 256> block{};
    for (uint64_t read = 0; read < kMaxText;) {
        const size_t got = source.ReadAt(pos, block);
        if (got == 0)
            return false;
        for (size_t i = 0; i < got; ++i)
            if (block[i] == 0) {
                if (text)
                    text->append(reinterpret_cast<const char*>(block.data()), i);
                pos += i + 1;
                return true;
            }
        if (text)
            text->append(reinterpret_cast<const char*>(block.data()), got);
        pos += got;
        read += got;
    }
    return false;
}

}  // namespace

bool KnownMagic(uint16_t m) { return m == kGzip || m == kGzipOld || m == kCompress || m == kPack || m == kLzh; }

bool ReadHeader(ReadAtSource& source, uint64_t pos, Header& h)
{
    h = Header{};
    std::array<uint8_t, 10> raw{};
    if (!source.ReadExact(pos, std::span(raw.data(), 2)))
        return false;
    h.magic = Le16(raw.data());
    if (!KnownMagic(h.magic))
        return false;
    if (!h.IsGzip()) {
        h.dataPos = pos;
        return true;
    }
    if (!source.ReadExact(pos, raw))
        return false;
    h.method = raw[2];
    h.flags = raw[3];
    h.mtime = Le32(raw.data() + 4);
    uint64_t p = pos + 10;
    if (h.flags & kFlagExtra) {
        std::array<uint8_t, 2> len{};
        if (!source.ReadExact(p, len))
            return false;
        h.extraLength = Le16(len.data());
        p += 2 + h.extraLength;
    }
    if (h.flags & kFlagName) {
        h.hasName = true;
        if (!SkipText(source, p, &h.name))
            return false;
    }
    if ((h.flags & kFlagComment) && !SkipText(source, p, nullptr))
        return false;
    if (h.flags & kFlagHeaderCrc)
        p += 2;
    if (p > source.Size())
        return false;
    h.dataPos = p;
    return true;
}

std::string NameFromArchive(const std::string& archivePath)
{
    const std::string name = ExtractFileName(archivePath);
    const std::string ext = UpperCase(ExtractFileExt(name));
    const std::string stem = name.substr(0, name.size() - ext.size());
    if (ext == ".TGZ" || ext == ".TAZ")
        return stem + ".tar";
    return stem.empty() ? name : stem;
}

}  // namespace engine::gz
