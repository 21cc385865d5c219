// The lister's HA walk: "HA", the entry count, then entries of a 17-byte header, the path, the name
// and the machine-specific information.
#include <array>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

namespace {

// The NUL-terminated text at Pos (at most 1024 bytes); Pos moves past the NUL. False when the text
// does not end within the file.
bool ReadCString(ReadAtSource& source, uint64_t& pos, std::string& out)
{
    std::array<uint8_t, 1024> buf{};
    const size_t got = source.ReadAt(pos, buf);
    for (size_t i = 0; i < got; ++i)
        if (buf[i] == 0) {
            out.assign(reinterpret_cast<const char*>(buf.data()), i);
            pos += i + 1;
            return true;
        }
    return false;
}

}  // namespace

void ListHa(TKrenlo& k, ReadAtSource& source)
{
    using namespace listing;
    k.HeaderLen = 18;
    uint64_t pos = StartOf(k) + 4;
    while (Continue(k)) {
        std::array<uint8_t, 17> h{};
        if (!source.ReadExact(pos, h))
            break;
        uint64_t p = pos + h.size();
        std::string path, name;
        std::array<uint8_t, 1> mdiLength{};
        if (!ReadCString(source, p, path) || !ReadCString(source, p, name) || !source.ReadExact(p, mdiLength))
            break;
        const uint32_t packed = Le32(h.data() + 1);
        k.HeaderPos = int64_t(pos) + 1;
        // Paths are stored with 0xFF between folders.
        for (char& c : path)
            if (static_cast<uint8_t>(c) == 0xFF)
                c = '\\';
        if (!path.empty() && path.back() != '\\' && path.back() != '/')
            path += '\\';
        k.SetEntryName(path + name);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        if (Matches(k)) {
            EntryFields f;
            f.date = UnixToDateTimeNow(Le32(h.data() + 13));
            f.versionMadeBy = f.versionNeeded = h[0] >> 4;
            f.packed = packed;
            f.unpacked = Le32(h.data() + 5);
            f.crc = Le32(h.data() + 9);
            f.method = h[0] & 0x0F;
            CountAndReport(k, f, int64_t(pos));
        }
        const uint64_t next = p + 1 + mdiLength[0] + uint64_t(packed);
        if (next > source.Size()) {
            ReportBadChain(k);
            break;
        }
        k.NextPos = int64_t(next);
        pos = next;
    }
}

}  // namespace engine
