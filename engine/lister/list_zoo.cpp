// The lister's ZOO walk: the archive header points at the first directory entry, each entry at the
// next. An entry whose next pointer is 0 closes the chain.
#include <array>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

namespace {

std::string ReadText(ReadAtSource& source, uint64_t pos, size_t length)
{
    std::vector<uint8_t> bytes(length);
    const size_t got = source.ReadAt(pos, bytes);
    return std::string(bytes.begin(), bytes.begin() + long(got));
}

std::string CutAtNul(std::string s)
{
    const size_t nul = s.find('\0');
    return nul == std::string::npos ? s : s.substr(0, nul);
}

}  // namespace

void ListZoo(TKrenlo& k, ReadAtSource& source)
{
    using namespace listing;
    constexpr uint32_t kTag = 0xFDC4A7DC;
    k.HeaderLen = 58;
    const uint64_t start = StartOf(k);
    std::array<uint8_t, 58> a{};
    if (!source.ReadExact(start, a))
        return;
    const uint32_t first = Le32(a.data() + 24);
    if (uint32_t(first + Le32(a.data() + 28)) != 0)
        return;
    if (const uint16_t length = Le16(a.data() + 39))
        k.ArchiveComment = ReadText(source, start + Le32(a.data() + 35), length);
    uint64_t pos = start + first;
    while (Continue(k)) {
        std::array<uint8_t, 58> d{};
        if (!source.ReadExact(pos, d) || Le32(d.data()) != kTag)
            break;
        const int32_t next = static_cast<int32_t>(Le32(d.data() + 6));
        if (next <= 0)
            break;  // the closing entry of the chain
        k.HeaderPos = int64_t(pos) + 1;
        std::string name = CutAtNul(std::string(reinterpret_cast<const char*>(d.data() + 38), 13));
        std::string folder;
        if (d[4] == 2) {
            // The variable part: the long name, then the folder.
            const uint8_t longLength = d[56], folderLength = d[57];
            if (longLength) {
                const std::string longName = CutAtNul(ReadText(source, pos + 58, longLength));
                if (!longName.empty())
                    name = longName;
            }
            if (folderLength) {
                folder = CutAtNul(ReadText(source, pos + 58 + longLength, folderLength));
                if (!folder.empty())
                    folder = ToBackslashes(folder) + "\\";
            }
        }
        k.SetEntryName(folder + name);
        if (const uint16_t length = Le16(d.data() + 36))
            k.FileComment = ReadText(source, start + Le32(d.data() + 32), length);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        if (Matches(k)) {
            EntryFields f;
            f.date = k.DosDateToDateTime(SwapWords(Le32(d.data() + 14)));
            f.versionMadeBy = d[28];
            f.versionNeeded = d[29];
            f.packed = Le32(d.data() + 24);
            f.unpacked = Le32(d.data() + 20);
            f.crc = Le16(d.data() + 18);
            f.method = d[5];
            f.setAttributes = false;
            CountAndReport(k, f, int64_t(pos));
        }
        const uint64_t nextPos = start + uint32_t(next);
        if (nextPos <= pos) {
            ReportBadChain(k);
            break;
        }
        k.NextPos = int64_t(nextPos);
        pos = nextPos;
    }
}

}  // namespace engine
