#include "engine/formats/zoo/zoo_component.h"

#include "engine/codec/lzh_decoder.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/entrystream/entry_stream.h"
#include "engine/formats/lzh/entry_io.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/formats/zoo/zoo_header.h"
#include "engine/formats/zoo/zoo_lzw.h"
#include "framework/core/rtti.h"

namespace engine {

TUnZOO::TUnZOO(fw::TComponent* owner) : TUnBase(owner) {}

void TUnZOO::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnZOO::ProcessArchive()
{
    Encrypted = false;
    RunArchiveWalk(
        *this, ArcType() == TArcType::atZoo,
        [this](fw::FileHandle archive, int64_t size) {
            FileReadSource source(archive, uint64_t(size));
            zoo::Walker walker(source);
            const zoo::Walker::Start start = walker.Begin();
            if (start != zoo::Walker::Start::Ok)
                RaiseError(ArchiveFile(), "", "0", start == zoo::Walker::Start::Short ? 25236 : 25108);
        },
        [this](fw::FileHandle archive, int64_t size) { Walk(archive, size); });
}

void TUnZOO::Walk(fw::FileHandle archive, int64_t size)
{
    FileReadSource source(archive, uint64_t(size));
    zoo::Walker walker(source);
    walker.Begin();
    zoo::Entry e;
    for (;;) {
        if (Aborted())
            break;
        ProcessMessages();
        const zoo::Walker::Step step = walker.Next(e);
        if (step == zoo::Walker::Step::End)
            break;
        if (step == zoo::Walker::Step::Broken)
            RaiseError(ArchiveFile(), "", "0", 25108);
        if (e.deleted || !Selected(e.name))
            continue;
        const uint32_t stamp = SwapWords(e.dosStamp);
        if (!BeginEntry(e.name, DosDateToDateTime(e.dosStamp))) {
            ++FileCount;  // a declined entry still counts here
            if (SingleEntrySpec())
                break;
            continue;
        }
        // A failing entry ends without its CRC report; the walk goes on.
        try {
            if (e.method > 2)
                RaiseError(FileName, "", "0", 25301);
            OpenEntryOutput();
            if (!SeekTo(archive, e.dataPos))
                RaiseError(ArchiveFile(), "", "0", 25236);
            if (e.method == 0) {
                BeginEntryProgress(e.packedSize);
                CopyStored(archive, e.packedSize, 16);
            } else if (e.method == 1) {
                ByteInput in = ArchiveInput(*this, archive, e.packedSize, 4092);
                ByteOutput out = DecoderOutput(CrcKind::Crc16, 4092);
                zoo::LzwDecode(in, out);
                if (!out.Flush())
                    RaiseError(FileName, "", "0", 25136);
            } else {
                BeginEntryProgress(e.packedSize);
                EntryInput in(*this, archive, EntryCipher::None);
                EntryOutput out(16);
                const mx::codec::Status status = mx::codec::LzhDecode(in, out, mx::codec::kLzhZoo, e.unpackedSize);
                if (const int report = DecodeReport(status, out); report == 25136 || report == 25253)
                    RaiseError(FileName, "", "0", report);
            }
            EndEntry(true, CurrentRun().crc16 == e.crc, stamp, 0);
        } catch (const E_RAISE&) {
            RunContext& run = CurrentRun();
            if (run.outputFile != fw::kInvalidFile) {
                CloseFile(run.outputFile);
                run.outputFile = fw::kInvalidFile;
            }
        }
        if (SingleEntrySpec())
            break;
    }
}

void RegisterUnZooClasses()
{
    RegisterClasses();
    fw::Class<TUnZOO, TUnBase>("TUnZOO");
}

}  // namespace engine
