#include "engine/lister/older_formats.h"

#include "engine/core/file_routines.h"
#include "engine/core/wildcard.h"
#include "engine/formats/methods/method_names.h"
#include "engine/lister/krenlo.h"

namespace engine {

bool ListOlderFormat(TKrenlo& lister, ReadAtSource& source)
{
    switch (lister.ArcType()) {
    case TArcType::atArc:
    case TArcType::atArcExe:
        ListArc(lister, source, false);
        return true;
    case TArcType::atPak:
    case TArcType::atPakExe:
        ListArc(lister, source, true);
        return true;
    case TArcType::atArj:
    case TArcType::atArjExe:
        ListArj(lister, source);
        return true;
    case TArcType::atBh:
    case TArcType::atBhExe:
        ListBh(lister, source);
        return true;
    case TArcType::atHa:
        ListHa(lister, source);
        return true;
    case TArcType::atLha:
    case TArcType::atLhaExe:
    case TArcType::atLzh:
    case TArcType::atLzhExe:
        ListLha(lister, source);
        return true;
    case TArcType::atZoo:
        ListZoo(lister, source);
        return true;
    default:
        return false;
    }
}

namespace listing {

uint64_t StartOf(const TKrenlo& lister) { return lister.ArcStartPos > 1 ? uint64_t(lister.ArcStartPos - 1) : 0; }

bool Continue(TKrenlo& lister)
{
    if (lister.Aborted())
        return false;
    ProcessMessages();
    return !lister.Aborted();
}

bool Matches(const TKrenlo& lister) { return WildcardMatch(lister.FileSpec(), lister.FileName, true); }

void Report(TKrenlo& k, const EntryFields& f, int64_t offset)
{
    k.Date = f.date;
    k.VersionMadeBy = f.versionMadeBy;
    k.VersionNeeded = f.versionNeeded;
    k.PackedSize = f.packed;
    k.UnpackedSize = f.unpacked;
    k.CRC = f.crc;
    k.Encrypted = f.encrypted;
    k.MethodNum = static_cast<uint16_t>(f.method);
    k.MethodName = MethodNameOf(k.ArcType(), f.method, f.folder);
    if (f.setAttributes) {
        k.InternalAttr = f.internalAttr;
        k.ExternalAttr = f.externalAttr;
    }
    k.DeflateOption = 0;
    k.Ratio = f.ratioPacked >= 0 ? CalcRatio(f.ratioPacked, f.ratioUnpacked) : CalcRatio(f.packed, f.unpacked);
    k.ReportEntry(offset, k.FileCount);
}

void CountAndReport(TKrenlo& k, const EntryFields& f, int64_t offset)
{
    ++k.FileCount;
    k.AddTotals(f.ratioPacked >= 0 ? f.ratioPacked : f.packed, f.ratioUnpacked >= 0 ? f.ratioUnpacked : f.unpacked);
    Report(k, f, offset);
}

void ReportBadChain(TKrenlo& k) { k.ReportError(k.ArchiveFile(), "", "0", 25108); }

}  // namespace listing

}  // namespace engine
