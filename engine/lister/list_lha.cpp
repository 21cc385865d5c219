// The lister's LHA/LZH walk: header levels 0, 1 and 2 with their extended headers.
#include "engine/core/file_routines.h"
#include "engine/formats/lzh/lha_header.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace engine {

void ListLha(TKrenlo& k, ReadAtSource& source)
{
    using namespace listing;
    k.HeaderLen = 22;
    uint64_t pos = lha::FirstHeaderPos(source, StartOf(k));
    while (Continue(k)) {
        lha::LhaEntry e;
        const lha::HeaderStep step = lha::ReadHeader(source, pos, e);
        if (step == lha::HeaderStep::End)
            break;
        if (step == lha::HeaderStep::Damaged || e.nextPos <= pos) {
            k.ReportError(k.ArchiveFile(), lha::DamagePlace(pos), "0", 25108);
            break;
        }
        k.HeaderPos = int64_t(pos) + 1;
        k.NextPos = int64_t(e.nextPos);
        k.SetEntryName(e.name);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        if (Matches(k)) {
            EntryFields f;
            f.date = e.UnixTime() ? UnixToDateTimeNow(e.stamp) : k.DosDateToDateTime(e.stamp);
            f.packed = std::min<int64_t>(int64_t(e.packedSize), e.size);
            f.unpacked = e.size;
            f.ratioPacked = int64_t(e.packedSize);
            f.ratioUnpacked = e.size;
            f.crc = e.crc;
            f.method = static_cast<uint8_t>(e.MethodLetter());
            f.folder = e.IsFolder();
            f.internalAttr = 32;
            f.externalAttr = e.attr;
            CountAndReport(k, f, int64_t(pos));
        }
        if (e.nextPos > source.Size()) {
            // The data runs past the end: the archive is cut short.
            k.ReportError(k.ArchiveFile(), lha::DamagePlace(pos), "0", 25108);
            break;
        }
        if (e.nextPos == source.Size())
            break;
        pos = e.nextPos;
    }
}

}  // namespace engine
