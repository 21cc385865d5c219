// The entry list of the open archive: the fourteen list columns, one record per listed entry with
// everything the columns and the commands show or use, and the order of two entries by a column.
//
// The list view shows records, it does not hold them: each list item carries the index of its record,
// so sorting the list never parts an item from its entry (the commands reach the entry through the
// item, whatever its position).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/routines.h"

namespace engine {
class TZipCommon;
}

namespace app {

enum class SortKind { Text, Number, Date };

// The columns in the order they are built; the value is the column's identity.
enum ColumnId : int {
    colName, colDate, colPacked, colUnpacked, colRatio, colMethod, colAttribute, colFolder, colFileType,
    colCRC, colFileOffset, colEncrypted, colVolumeId, colComments,
};
inline constexpr int kColumnCount = 14;

struct ColumnDef {
    const char* caption;
    int width;
    SortKind sort;
    // The value of section "View" that shows the column ("TRUE" by default).
    const char* setting;
};
extern const std::array<ColumnDef, kColumnCount> kColumns;

// Which columns are shown, by ColumnId.
using ColumnSet = std::array<bool, kColumnCount>;
ColumnSet AllColumns();

struct EntryRecord {
    std::string name;    // the stored name without its folder: the item's caption
    std::string folder;  // the folder of the stored name with its trailing "\", empty for none
    engine::TDateTime date = 0;
    int64_t packed = 0;
    int64_t unpacked = 0;
    int ratio = 0;
    std::string method;
    uint32_t attr = 0;
    std::string fileType;  // the shell's type name of the entry's file name
    uint32_t crc = 0;
    int64_t offset = 0;
    bool encrypted = false;
    std::string volumeId;
    std::string comment;
};

// The record of the entry that Sender reports now (its current-entry members), listed at Offset.
// FileType is the shell's type name, which only the Windows side can ask for.
EntryRecord RecordFromEntry(const engine::TZipCommon& sender, int64_t offset, const std::string& fileType);

// The text a column shows for the record: dates as "mm-dd-yy hh:mm" with the program's date
// separator, the ratio with "%", the CRC as eight upper-case hexadecimal digits, "Yes"/"No".
std::string ColumnText(const EntryRecord& record, ColumnId column);
// The sub-item texts of the shown columns after the first (the caption is always the name).
std::vector<std::string> SubItemTexts(const EntryRecord& record, const ColumnSet& shown);

// Negative, zero or positive as A sorts before, with or after B by the column: texts ignoring case,
// numbers as 64-bit values, dates by calendar day (the time of day is not compared).
int CompareEntries(const EntryRecord& a, const EntryRecord& b, ColumnId column);

}  // namespace app
