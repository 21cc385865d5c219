#include "engine/formats/tar/tar_component.h"

#include <map>
#include <tuple>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/entrystream/entry_stream.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/formats/tar/tar_header.h"
#include "framework/core/rtti.h"

namespace engine {

TUnTAR::TUnTAR(fw::TComponent* owner) : TUnBase(owner) {}

void TUnTAR::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnTAR::ProcessArchive()
{
    RunArchiveWalk(*this, ArcType() == TArcType::atTar, nullptr,
                   [this](fw::FileHandle archive, int64_t size) { Walk(archive, size); });
}

void TUnTAR::Walk(fw::FileHandle archive, int64_t size)
{
    FileReadSource source(archive, uint64_t(size));
    tar::HeaderWalker walker(source, ArcStartPos > 1 ? uint64_t(ArcStartPos - 1) : 0);
    tar::Entry e;
    // Where the data of each regular file lies, for the hard links that name it later.
    std::map<std::string, std::pair<uint64_t, uint64_t>> files;
    while (!Aborted() && walker.Next(e)) {
        ProcessMessages();
        uint64_t dataPos = e.dataPos, dataSize = e.size;
        if (e.IsFile()) {
            files[e.name] = {e.dataPos, e.size};
        } else if (e.IsHardLink()) {
            const auto target = files.find(e.linkName);
            if (target == files.end())
                continue;
            std::tie(dataPos, dataSize) = target->second;
        } else {
            continue;
        }
        if (!Selected(e.name))
            continue;
        const TDateTime date = e.mtimeValid ? UnixToDateTimeNow(e.mtime) : kDosEpoch;
        if (!BeginEntry(e.name, date)) {
            if (SingleEntrySpec())
                break;
            continue;
        }
        OpenEntryOutput();
        CopyData(source, dataPos, dataSize);
        EndEntry(true, !Aborted(), DateTimeToDosDate(date), 0);
        if (SingleEntrySpec())
            break;
    }
}

void TUnTAR::CopyData(FileReadSource& source, uint64_t dataPos, uint64_t size)
{
    bool refused = false;
    const uint64_t copied = CopyToOutput(*this, source, dataPos, size, CrcKind::None, refused);
    if (refused)
        RaiseError(FileName, "", "0", 25136);
    if (copied < size && !Aborted())
        RaiseError(FileName, "", "0", 25236);
}

void RegisterUnTarClasses()
{
    RegisterClasses();
    fw::Class<TUnTAR, TUnBase>("TUnTAR");
}

}  // namespace engine
