// UUE: one entry, named by the first "begin " line in the file's first 32 KB.
#include <algorithm>
#include <vector>

#include "engine/core/file_routines.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

namespace engine {

void ListUue(TKrenlo& k, ReadAtSource& source)
{
    std::vector<uint8_t> head(size_t(std::min<uint64_t>(source.Size(), 32768)));
    head.resize(source.ReadAt(0, head));
    const std::string text(head.begin(), head.end());
    size_t at = std::string::npos;
    for (size_t p = text.find("begin "); p != std::string::npos; p = text.find("begin ", p + 1))
        if (p == 0 || text[p - 1] == '\n') {
            at = p;
            break;
        }
    if (at == std::string::npos)
        return;
    size_t p = at + 6;
    while (p < text.size() && text[p] != ' ' && text[p] != '\r' && text[p] != '\n')
        ++p;  // the mode
    size_t end = p;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n' && end - p < 256)
        ++end;
    std::string name = text.substr(p, end - p);
    const size_t b = name.find_first_not_of(" \t");
    name = b == std::string::npos ? "" : name.substr(b, name.find_last_not_of(" \t") - b + 1);
    k.FileName = name;
    if (k.OnReadFile)
        k.OnReadFile(&k, k.FileName);
    const int64_t age = FileAge(k.ArchiveFile());
    k.Date = engine::DosDateToDateTime(age > 0 ? uint32_t(age) : 0);
    k.VersionMadeBy = k.VersionNeeded = 0;
    k.PackedSize = k.UnpackedSize = k.TotalPackedSize = k.TotalUnpackedSize = k.ArchiveSize;
    k.CRC = 0;
    k.Encrypted = false;
    k.MethodName.clear();
    k.MethodNum = 0;
    k.InternalAttr = 32;
    k.ExternalAttr = 32;
    k.Ratio = 0;
    k.FileCount = 1;
    k.ReportEntry(0, 1);
}

}  // namespace engine
