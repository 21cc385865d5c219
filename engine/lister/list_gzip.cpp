// GZIP, .Z and the other single-file formats: one entry, named by the stored name or the file's own.
#include <array>

#include "engine/core/file_routines.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/gzip/gzip_header.h"
#include "engine/formats/methods/method_names.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

namespace engine {

void ListGzip(TKrenlo& k, ReadAtSource& source)
{
    k.HeaderLen = 10;
    gz::Header h;
    if (!gz::ReadHeader(source, 0, h))
        return;
    const int64_t age = FileAge(k.ArchiveFile());
    if (h.IsGzip()) {
        std::array<uint8_t, 8> trailer{};
        if (source.Size() < h.dataPos + 8 || !source.ReadExact(source.Size() - 8, trailer))
            return;
        k.Date = UnixToDateTimeNow(h.mtime);
        k.CRC = Le32(trailer.data());
        k.UnpackedSize = Le32(trailer.data() + 4);
        k.PackedSize = int64_t(source.Size() - h.dataPos - 8);
        k.Encrypted = (h.flags & gz::kFlagEncrypted) != 0;
        // gzip keeps no folders: only the stored name's name part counts.
        k.SetEntryName(h.hasName ? ExtractFileName(h.name) : gz::NameFromArchive(k.ArchiveFile()));
    } else {
        k.CRC = 0;
        k.Encrypted = false;
        k.PackedSize = k.UnpackedSize = k.ArchiveSize;
        k.Date = engine::DosDateToDateTime(age > 0 ? uint32_t(age) : 0);
        k.SetEntryName(gz::NameFromArchive(k.ArchiveFile()));
    }
    ++k.FileCount;
    if (k.OnReadFile)
        k.OnReadFile(&k, k.FileName);
    const int64_t attr = FileGetAttr(k.ArchiveFile());
    k.ExternalAttr = attr > 0 ? uint32_t(attr) : 0;
    k.InternalAttr = 0;
    k.VersionMadeBy = k.VersionNeeded = 0;
    k.MethodNum = h.magic;
    k.MethodName = MethodNameOf(TArcType::atGZip, h.magic);
    k.AddTotals(k.PackedSize, k.UnpackedSize);
    k.Ratio = CalcRatio(k.PackedSize, k.UnpackedSize);
    k.NextPos = k.ArchiveSize + 1;
    k.ReportEntry(0, k.FileCount);
}

}  // namespace engine
