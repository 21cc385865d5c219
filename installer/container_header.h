// The records of the installation's archive container ("files.1").
//
// Archive (little-endian; positions are relative to the archive start, which lies at Offset in its
// first file):
//
//   +0  int32  entry count
//   +4  uint8  layout: 0 = header 1, data 1, header 2, data 2 ... in one file;
//                      1 = headers 1..n from +5, then the data of 1..n, running over volume files
//   +5  ...
//
// File header, 172 bytes:
//
//   +0   int32   entry number (1-based among the files added by one call)
//   +4   double  file date (days since 1899-12-30)
//   +12  uint8   end volume (0 in layout 0)          +13 3 bytes padding
//   +16  int32   position of the last data byte, in the end volume
//   +20  uint8   name length (0..100)                +21 100 name characters
//   +121 3 bytes padding
//   +124 int32   position of the next header
//   +128 int32   original size
//   +132 int32   data start, in the start volume
//   +136 int32   compressed size
//   +140 uint8   start volume (0 in layout 0)        +141 3 bytes padding
//   +144 int32   unique id
//   +148 uint8   version length (0..20)              +149 20 version characters
//   +169 3 bytes padding
//
// A length byte beyond its field is clamped to the field.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/core/datetime.h"

namespace fw {
class TStream;
class TStrings;
}  // namespace fw

namespace inst {

constexpr int kFileHeaderSize = 172;
constexpr int kArchivePrefixSize = 5;
constexpr int kMaxHeaderName = 100;
constexpr int kMaxHeaderVersion = 20;

struct TFileHeader {
    int32_t entryNumber = 0;
    fw::TDateTime fileDate = 0;
    uint8_t endVolume = 0;
    int32_t lastDataByte = 0;
    std::string fileName;
    int32_t nextHeader = 0;
    int32_t originalSize = 0;
    int32_t dataStart = 0;
    int32_t compressedSize = 0;
    uint8_t startVolume = 0;
    int32_t uniqueId = 0;
    std::string fileVersion;
    bool loaded = false;  // read from an existing archive, not part of the bytes

    void Encode(uint8_t out[kFileHeaderSize]) const;
    void Decode(const uint8_t in[kFileHeaderSize]);
    // Fills name, date, size and version from the file named by the first ";" field of entry.
    void FillFromFile(const std::string& entry);
    bool IsValid() const;
    void ReadFromStream(fw::TStream& stream);
    void WriteToStream(fw::TStream& stream) const;
};

// Progress of an archive operation, handed to the events.
struct TlzhFileStats {
    uint8_t FilePercent = 0;
    int32_t BytesDone = 0;
    std::string FileName;
    int32_t CompressedSize = 0;
    uint8_t Ratio = 0;
    int32_t OriginalSize = 0;
    TFileHeader Header;
    bool Finished = false;
    uint8_t TotalPercent = 0;
    int32_t TotalBytesDone = 0;
    int32_t TotalCompressedSize = 0;
    uint8_t TotalRatio = 0;
    int32_t TotalOriginalSize = 0;
};

// Reads up to count bytes, going on after short reads; returns the count read.
int64_t ReadFully(fw::TStream& stream, void* buffer, int64_t count);

// The DOS date-time of a header date; 0 for a date no DOS date can hold (also NaN and infinities).
int32_t HeaderDosDate(fw::TDateTime date);

// part / whole * 100, rounded; 0 when the whole is 0.
uint8_t Percent(int64_t part, int64_t whole);

class TFileHeaders {
public:
    int Count() const { return static_cast<int>(headers_.size()); }
    // Raises EQnfdCompress for an index outside the list.
    TFileHeader& FileHeaders(int index);
    // Raises EQnfdCompress "Tried to add an invalid file header" for a blank name.
    void Add(const TFileHeader& header);
    void Clear() {
        headers_.clear();
        byName_.clear();
    }
    // A header per line, numbered 1, 2 ... in list order; without keep the list is cleared first.
    void AddFiles(const fw::TStrings& list, bool keep);
    int IndexOfName(const std::string& name) const;  // ignoring case; -1 when absent

    uint8_t LayoutFlag() const { return layout_; }
    void SetLayoutFlag(uint8_t v) { layout_ = v; }

    // Reads count, layout and headers of the archive at offset. A count that the stream cannot hold
    // and a header chain that does not move forward are refused as corrupt.
    void ReadFromStream(fw::TStream& stream, int64_t offset);
    // Writes count and layout at position 0, and in layout 1 every header after them.
    void WriteToStream(fw::TStream& stream);

    // Totals over the headers: all of them, or only those not read from the archive.
    void InitTotals(TlzhFileStats& stats, bool onlyNew = false) const;
    void SumTotals(TlzhFileStats& stats) const;

private:
    std::vector<TFileHeader> headers_;
    uint8_t layout_ = 0;
    // Upper-cased name -> first index, made on the first look-up after a change.
    mutable std::unordered_map<std::string, int> byName_;
};

}  // namespace inst
