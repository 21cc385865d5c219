// TAR: one entry per regular file (hard links with their own size of 0), long names resolved.
#include "engine/core/file_routines.h"
#include "engine/core/wildcard.h"
#include "engine/formats/tar/tar_header.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

namespace engine {

void ListTar(TKrenlo& k, ReadAtSource& source)
{
    k.HeaderLen = 512;
    tar::HeaderWalker walker(source, k.ArcStartPos > 1 ? uint64_t(k.ArcStartPos - 1) : 0);
    tar::Entry e;
    while (!k.Aborted()) {
        ProcessMessages();
        k.HeaderPos = int64_t(walker.Position()) + 1;
        if (!walker.Next(e))
            break;
        k.NextPos = int64_t(walker.Position());
        k.SetEntryName(e.name);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        if (!(e.IsFile() || e.IsHardLink()) || !WildcardMatch(k.FileSpec(), k.FileName, !k.ShowBlankDirs()))
            continue;
        ++k.FileCount;
        k.AddTotals(int64_t(e.size), int64_t(e.size));
        k.Date = e.mtimeValid ? UnixToDateTimeNow(e.mtime) : kDosEpoch;
        k.PackedSize = k.UnpackedSize = int64_t(e.size);
        k.CRC = e.checksum;
        k.Encrypted = false;
        k.MethodName = "Stored";
        k.MethodNum = 0;
        k.InternalAttr = 0;
        k.ExternalAttr = 0;
        k.VersionMadeBy = k.VersionNeeded = 0;
        k.Ratio = 0;
        k.ReportEntry(int64_t(e.headerPos), k.FileCount);
    }
}

}  // namespace engine
