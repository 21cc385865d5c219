// The lister's ARC and PAK walk: 29-byte entry headers (25 for ARC's oldest method 1), and for ARC
// the folder records of method 30 and their ends (method 31).
#include <array>

#include "engine/core/file_routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

void ListArc(TKrenlo& k, ReadAtSource& source, bool pak)
{
    using namespace listing;
    k.HeaderLen = 29;
    k.ArcFolder.clear();
    uint64_t pos = StartOf(k);
    while (Continue(k)) {
        std::array<uint8_t, 29> h{};
        const size_t got = source.ReadAt(pos, h);
        if (got < 2 || h[0] != 0x1A || h[1] == 0)
            break;
        const uint8_t method = h[1];
        if (!pak && method == 31) {
            // The end of a folder: two bytes; the prefix loses its last folder.
            std::string& folder = k.ArcFolder;
            if (!folder.empty())
                folder.pop_back();
            folder = ExtractFilePath(folder);
            pos += 2;
            continue;
        }
        const uint64_t headerLen = method == 1 ? 25 : 29;
        if (got < headerLen) {
            ReportBadChain(k);  // a header cut short
            break;
        }
        std::string name(reinterpret_cast<const char*>(h.data() + 2), 13);
        const bool folder = !pak && method == 30;
        uint32_t packed = Le32(h.data() + 15);
        uint32_t unpacked = method == 1 ? packed : Le32(h.data() + 25);
        k.HeaderPos = int64_t(pos) + 1;
        k.SetEntryName(name);
        if (folder) {
            k.ArcFolder += k.FileName + "\\";
            k.FileName.clear();
            packed = unpacked = 0;
        }
        k.FileName = k.ArcFolder + k.FileName;
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        EntryFields f;
        f.date = k.DosDateToDateTime(SwapWords(Le32(h.data() + 19)));
        f.packed = packed;
        f.unpacked = unpacked;
        f.crc = Le16(h.data() + 23);
        f.method = method;
        f.folder = folder;
        f.internalAttr = folder ? 16 : 32;
        f.externalAttr = folder ? 16 : 32;
        if (folder ? k.ShowBlankDirs() : Matches(k))
            CountAndReport(k, f, int64_t(pos));
        const uint64_t next = pos + headerLen + packed;
        if (next > source.Size()) {
            ReportBadChain(k);
            break;
        }
        k.NextPos = int64_t(next);
        pos = next;
    }
}

}  // namespace engine
