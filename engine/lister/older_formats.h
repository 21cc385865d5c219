// The lister's walks over the headers of ARC, PAK, ARJ, BH, HA, LHA/LZH and ZOO archives, one file
// each (list_arc.cpp, ...). Every walk ends quietly at a header that fails its own test, and reports
// 25108 when a header would send it backwards or nowhere, so that no archive can make it loop.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/routines.h"

namespace engine {

class ReadAtSource;
class TKrenlo;

// Lists the archive when its type is one of these formats; false for other types.
bool ListOlderFormat(TKrenlo& lister, ReadAtSource& source);

void ListArc(TKrenlo& lister, ReadAtSource& source, bool pak);
void ListArj(TKrenlo& lister, ReadAtSource& source);
void ListBh(TKrenlo& lister, ReadAtSource& source);
void ListHa(TKrenlo& lister, ReadAtSource& source);
void ListLha(TKrenlo& lister, ReadAtSource& source);
void ListZoo(TKrenlo& lister, ReadAtSource& source);

namespace listing {

// The fields one entry reports; the walks fill them from their headers.
struct EntryFields {
    TDateTime date = kDosEpoch;
    uint16_t versionMadeBy = 0;
    uint16_t versionNeeded = 0;
    int64_t packed = 0;
    int64_t unpacked = 0;
    uint32_t crc = 0;
    bool encrypted = false;
    uint32_t method = 0;
    bool folder = false;
    bool setAttributes = true;  // ZOO entries keep the attributes of the entry before
    uint16_t internalAttr = 32;
    uint32_t externalAttr = 32;
    int64_t ratioPacked = -1;  // the sizes the ratio is taken from, when not Packed and Unpacked
    int64_t ratioUnpacked = -1;
};

// The archive's start offset (detection's ArcStartPos is 1-based).
uint64_t StartOf(const TKrenlo& lister);
// Pumps messages; true while the walk may go on (not cancelled).
bool Continue(TKrenlo& lister);
// Whether FileName is selected by FileSpec.
bool Matches(const TKrenlo& lister);
// Fills the current-entry members, counts nothing, and raises ReportEntry with FileCount.
void Report(TKrenlo& lister, const EntryFields& fields, int64_t offset);
// Counts and reports a selected entry: FileCount + 1, the totals, the members.
void CountAndReport(TKrenlo& lister, const EntryFields& fields, int64_t offset);
// The report of a header that does not lead forward.
void ReportBadChain(TKrenlo& lister);

}  // namespace listing

}  // namespace engine
