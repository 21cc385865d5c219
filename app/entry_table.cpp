#include "app/entry_table.h"

#include <cmath>

#include "engine/core/zip_common.h"
#include "framework/core/datetime.h"
#include "framework/core/format.h"
#include "framework/core/sysutils.h"

namespace app {

const std::array<ColumnDef, kColumnCount> kColumns = {{
    {"Name", 100, SortKind::Text, "cbColName_Checked"},
    {"Date / Time", 90, SortKind::Date, "cbColDate_Checked"},
    {"Packed", 80, SortKind::Number, "cbColPacked_Checked"},
    {"UnPacked", 80, SortKind::Number, "cbColUnpacked_Checked"},
    {"Ratio", 38, SortKind::Number, "cbColRatio_Checked"},
    {"Method", 53, SortKind::Text, "cbColMethod_Checked"},
    {"Attr", 32, SortKind::Number, "cbColAttribute_Checked"},
    {"Folder", 56, SortKind::Text, "cbColFolder_Checked"},
    {"File Type", 100, SortKind::Text, "cbColFileType_Checked"},
    {"CRC", 75, SortKind::Text, "cbColCRC_Checked"},
    {"File Offset", 100, SortKind::Number, "cbColFileOffset_Checked"},
    {"Encrypted", 70, SortKind::Text, "cbColEncrypted_Checked"},
    {"Volumne Id", 200, SortKind::Text, "cbColVolumneId_Checked"},
    {"Comments", 200, SortKind::Text, "cbColComments_Checked"},
}};

ColumnSet AllColumns() {
    ColumnSet all;
    all.fill(true);
    return all;
}

EntryRecord RecordFromEntry(const engine::TZipCommon& sender, int64_t offset, const std::string& fileType) {
    EntryRecord r;
    const std::string& stored = sender.FileName;
    const size_t slash = stored.find_last_of('\\');
    r.name = slash == std::string::npos ? stored : stored.substr(slash + 1);
    r.folder = slash == std::string::npos ? std::string() : stored.substr(0, slash + 1);
    r.date = sender.Date;
    r.packed = sender.PackedSize;
    r.unpacked = sender.UnpackedSize;
    r.ratio = sender.Ratio;
    r.method = sender.MethodName;
    r.attr = sender.ExternalAttr;
    r.fileType = fileType;
    r.crc = sender.CRC;
    r.offset = offset;
    r.encrypted = sender.Encrypted;
    r.volumeId = sender.VolumeID;
    // The comment buffer ends at its first zero.
    r.comment = sender.FileComment.substr(0, sender.FileComment.find('\0'));
    return r;
}

namespace {

std::string TwoDigits(int value) {
    std::string s = std::to_string(value % 100);
    return s.size() < 2 ? "0" + s : s;
}

std::string DateText(engine::TDateTime value) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    fw::DecodeDate(value, year, month, day);
    fw::DecodeTime(value, hour, minute, second, ms);
    const std::string sep(1, fw::FormatSettings.DateSeparator);
    return TwoDigits(month) + sep + TwoDigits(day) + sep + TwoDigits(year) + " " + TwoDigits(hour) + ":" +
           TwoDigits(minute);
}

std::string CrcText(uint32_t crc) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string s(8, '0');
    for (int i = 7; i >= 0; --i, crc >>= 4) s[static_cast<size_t>(i)] = kHex[crc & 15];
    return s;
}

template <class T>
int Order(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The text a text column sorts by (CRC and Encrypted are not among them: they sort as values).
const std::string& TextOf(const EntryRecord& r, ColumnId column) {
    switch (column) {
        case colMethod: return r.method;
        case colFolder: return r.folder;
        case colFileType: return r.fileType;
        case colVolumeId: return r.volumeId;
        case colComments: return r.comment;
        default: return r.name;
    }
}

// The number a number column sorts by.
int64_t NumberOf(const EntryRecord& r, ColumnId column) {
    switch (column) {
        case colPacked: return r.packed;
        case colUnpacked: return r.unpacked;
        case colRatio: return r.ratio;
        case colAttribute: return r.attr;
        case colFileOffset: return r.offset;
        default: return 0;
    }
}

}  // namespace

std::string ColumnText(const EntryRecord& r, ColumnId column) {
    switch (column) {
        case colName: return r.name;
        case colDate: return DateText(r.date);
        case colPacked: return std::to_string(r.packed);
        case colUnpacked: return std::to_string(r.unpacked);
        case colRatio: return std::to_string(r.ratio) + "%";
        case colMethod: return r.method;
        case colAttribute: return std::to_string(r.attr);
        case colFolder: return r.folder;
        case colFileType: return r.fileType;
        case colCRC: return CrcText(r.crc);
        case colFileOffset: return std::to_string(r.offset);
        case colEncrypted: return r.encrypted ? "Yes" : "No";
        case colVolumeId: return r.volumeId;
        case colComments: return r.comment;
    }
    return std::string();
}

std::vector<std::string> SubItemTexts(const EntryRecord& record, const ColumnSet& shown) {
    std::vector<std::string> texts;
    for (int c = colName + 1; c < kColumnCount; ++c)
        if (shown[static_cast<size_t>(c)]) texts.push_back(ColumnText(record, static_cast<ColumnId>(c)));
    return texts;
}

int CompareEntries(const EntryRecord& a, const EntryRecord& b, ColumnId column) {
    switch (kColumns[static_cast<size_t>(column)].sort) {
        case SortKind::Number: return Order(NumberOf(a, column), NumberOf(b, column));
        case SortKind::Date: return Order(std::floor(a.date), std::floor(b.date));
        case SortKind::Text: break;
    }
    // Eight upper-case hexadecimal digits and "No"/"Yes" order as their values do.
    if (column == colCRC) return Order(a.crc, b.crc);
    if (column == colEncrypted) return Order(a.encrypted, b.encrypted);
    return Order(fw::AnsiCompareText(TextOf(a, column), TextOf(b, column)), 0);
}

}  // namespace app
