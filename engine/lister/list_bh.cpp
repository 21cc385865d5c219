// The lister's BH walk: 37-byte entry headers, each followed by its name and its data.
#include <array>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

void ListBh(TKrenlo& k, ReadAtSource& source)
{
    using namespace listing;
    k.HeaderLen = 37;
    uint64_t pos = StartOf(k);
    while (Continue(k)) {
        std::array<uint8_t, 37> h{};
        if (!source.ReadExact(pos, h) || h[0] != 'B' || h[1] != 'H' || h[2] != 5 || h[3] != 7 ||
            Le16(h.data() + 4) == 0)
            break;
        std::vector<uint8_t> name(h[33]);
        if (!source.ReadExact(pos + h.size(), name))
            break;
        const uint32_t packed = Le32(h.data() + 15);
        k.HeaderPos = int64_t(pos) + 1;
        k.SetEntryName(std::string(name.begin(), name.end()));
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        if (Matches(k)) {
            EntryFields f;
            f.date = k.DosDateToDateTime(Le32(h.data() + 11));
            f.versionMadeBy = h[7];
            f.versionNeeded = h[8];
            f.packed = packed;
            f.unpacked = Le32(h.data() + 19);
            f.crc = Le32(h.data() + 23);
            f.encrypted = (h[9] & 1) != 0;
            f.method = h[10];
            f.internalAttr = Le16(h.data() + 27);
            f.externalAttr = Le16(h.data() + 27);
            CountAndReport(k, f, int64_t(pos));
        }
        const uint64_t next = pos + h.size() + name.size() + packed;
        if (next > source.Size()) {
            ReportBadChain(k);
            break;
        }
        k.NextPos = int64_t(next);
        pos = next;
    }
}

}  // namespace engine
