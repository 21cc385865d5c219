#include "engine/formats/arc/arc_component.h"

#include <array>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/wildcard.h"
#include "engine/formats/arc/arc_decoders.h"
#include "engine/formats/arc/arc_header.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/entrystream/entry_stream.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

TUnARC::TUnARC(fw::TComponent* owner) : TUnBase(owner) {}

void TUnARC::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnARC::ProcessArchive()
{
    const bool arc = ArcType() == TArcType::atArc || ArcType() == TArcType::atArcExe;
    RunArchiveWalk(*this, arc, nullptr, [this](fw::FileHandle archive, int64_t size) { Walk(archive, size); });
}

void TUnARC::Walk(fw::FileHandle archive, int64_t size)
{
    FileReadSource source(archive, uint64_t(size));
    arc::HeaderWalker walker(source, ArcStartPos > 1 ? uint64_t(ArcStartPos - 1) : 0);
    arc::Header h;
    while (!Aborted() && walker.Next(h)) {
        ProcessMessages();
        if (h.IsFolder() || !WildcardMatch(OemToAnsiPath(h.fullName), FileSpec(), true))
            continue;
        const uint32_t stamp = h.dosStamp;  // date word first, as stored
        // OnBegin numbers this extractor's entries from 0: the count it sees is the entries before.
        --FileCount;
        const bool accepted = BeginEntry(h.fullName, DosDateToDateTime(stamp));
        ++FileCount;
        if (!accepted) {
            if (SingleEntrySpec())
                break;
            continue;
        }
        if (!arc::IsKnownMethod(h.method)) {
            ReportError(FileName, "", "0", 25301);
            EndEntry(false, false, SwapWords(stamp), 0);
        } else {
            bool opened = true;
            try {
                OpenEntryOutput();
            } catch (const E_RAISE&) {
                opened = false;
            }
            if (!opened) {
                ReportError(FileName, "", "0", 25136);
                EndEntry(false, false, SwapWords(stamp), 0);
            } else {
                arc::DecodeResult result = arc::DecodeResult::Ok;
                if (!SeekTo(archive, int64_t(h.dataPos)))
                    RaiseError(FileName, "", "0", 25236);
                ByteInput in = ArchiveInput(*this, archive, h.packedSize);
                ByteOutput out = DecoderOutput(CrcKind::Crc16, 512);
                result = arc::Decode(h.method, in, out);
                const bool written = out.Flush();
                const bool pass = written && result == arc::DecodeResult::Ok && CurrentRun().crc16 == h.crc;
                EndEntry(true, pass, SwapWords(stamp), 0);
                if (!written)
                    RaiseError(FileName, "", "0", 25136);
                switch (result) {
                case arc::DecodeResult::BadTree: RaiseError(FileName, "", "0", 25152);
                case arc::DecodeResult::BadBits: RaiseError(FileName, "", "0", 25134);
                case arc::DecodeResult::StackOverflow: RaiseError(FileName, "", "0", 25136);
                default: break;
                }
            }
        }
        if (SingleEntrySpec())
            break;
    }
}

void RegisterUnArcClasses()
{
    RegisterClasses();
    fw::Class<TUnARC, TUnBase>("TUnARC");
}

}  // namespace engine
