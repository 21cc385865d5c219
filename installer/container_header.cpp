#include "installer/container_header.h"

#include <bit>
#include <cstring>

#include "framework/core/format.h"
#include "framework/core/lists.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/strutils.h"
#include "installer/versions.h"

namespace inst {

namespace {

// Field offsets of the file header.
constexpr int kOffEntry = 0, kOffDate = 4, kOffEndVolume = 12, kOffLastByte = 16, kOffName = 20,
              kOffNext = 124, kOffOriginal = 128, kOffDataStart = 132, kOffCompressed = 136,
              kOffStartVolume = 140, kOffUniqueId = 144, kOffVersion = 148;

int32_t Le32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}
void Put32(uint8_t* p, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}
double LeDouble(const uint8_t* p) {
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = u << 8 | p[i];
    return std::bit_cast<double>(u);
}
void PutDouble(uint8_t* p, double v) {
    const auto u = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}
std::string ShortString(const uint8_t* p, int capacity) {
    const int n = p[0] > capacity ? capacity : p[0];
    return std::string(reinterpret_cast<const char*>(p + 1), static_cast<size_t>(n));
}
void PutShortString(uint8_t* p, const std::string& s, int capacity) {
    const size_t n = s.size() > static_cast<size_t>(capacity) ? static_cast<size_t>(capacity) : s.size();
    p[0] = static_cast<uint8_t>(n);
    std::memcpy(p + 1, s.data(), n);
}

}  // namespace

int64_t ReadFully(fw::TStream& stream, void* buffer, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        const int64_t n = stream.Read(static_cast<uint8_t*>(buffer) + done, count - done);
        if (n <= 0) break;
        done += n;
    }
    return done;
}

namespace {

constexpr const char kCorrupt[] =
    "Could not read the file headers for the compressed file. The Archive file could possible be corrupt";

}  // namespace

void TFileHeader::Encode(uint8_t out[kFileHeaderSize]) const {
    std::memset(out, 0, kFileHeaderSize);
    Put32(out + kOffEntry, entryNumber);
    PutDouble(out + kOffDate, fileDate);
    out[kOffEndVolume] = endVolume;
    Put32(out + kOffLastByte, lastDataByte);
    PutShortString(out + kOffName, fileName, kMaxHeaderName);
    Put32(out + kOffNext, nextHeader);
    Put32(out + kOffOriginal, originalSize);
    Put32(out + kOffDataStart, dataStart);
    Put32(out + kOffCompressed, compressedSize);
    out[kOffStartVolume] = startVolume;
    Put32(out + kOffUniqueId, uniqueId);
    PutShortString(out + kOffVersion, fileVersion, kMaxHeaderVersion);
}

void TFileHeader::Decode(const uint8_t in[kFileHeaderSize]) {
    entryNumber = Le32(in + kOffEntry);
    fileDate = LeDouble(in + kOffDate);
    endVolume = in[kOffEndVolume];
    lastDataByte = Le32(in + kOffLastByte);
    fileName = ShortString(in + kOffName, kMaxHeaderName);
    nextHeader = Le32(in + kOffNext);
    originalSize = Le32(in + kOffOriginal);
    dataStart = Le32(in + kOffDataStart);
    compressedSize = Le32(in + kOffCompressed);
    startVolume = in[kOffStartVolume];
    uniqueId = Le32(in + kOffUniqueId);
    fileVersion = ShortString(in + kOffVersion, kMaxHeaderVersion);
}

void TFileHeader::FillFromFile(const std::string& entry) {
    fileName = Field(entry, 1, ";");
    // A cut name would name another file: refuse it.
    if (fileName.size() > kMaxHeaderName)
        throw EQnfdCompress(fw::Format("The file name %s is longer than the %d characters an archive entry holds",
                                       {fileName, kMaxHeaderName}));
    int64_t size = 0;
    try {
        fw::TFileStream file(fileName, fw::fmOpenRead | fw::fmShareDenyNone);
        size = file.Size();
    } catch (const fw::Exception&) {
        throw EQnfdCompress(fw::Format("Cannot open the file %s", {fileName}));
    }
    if (size > INT32_MAX) throw EQnfdCompress(fw::Format("The file %s is too large for the archive", {fileName}));
    const int32_t age = fw::FileAge(fileName);
    fileDate = age == -1 ? 0 : fw::FileDateToDateTime(age);
    originalSize = static_cast<int32_t>(size);
    fileVersion = FileVersionOf(fileName);
    if (fileVersion.size() > kMaxHeaderVersion) fileVersion.resize(kMaxHeaderVersion);
}

bool TFileHeader::IsValid() const { return !fw::Trim(fileName).empty(); }

void TFileHeader::ReadFromStream(fw::TStream& stream) {
    uint8_t bytes[kFileHeaderSize];
    stream.ReadBuffer(bytes, kFileHeaderSize);
    Decode(bytes);
}

void TFileHeader::WriteToStream(fw::TStream& stream) const {
    uint8_t bytes[kFileHeaderSize];
    Encode(bytes);
    stream.WriteBuffer(bytes, kFileHeaderSize);
}

int32_t HeaderDosDate(fw::TDateTime date) {
    // 1980-01-01 and 2108-01-01 as day numbers: the range a DOS date covers.
    if (!(date >= 29221.0 && date < 75970.0)) return 0;
    return fw::DateTimeToFileDate(date);
}

uint8_t Percent(int64_t part, int64_t whole) {
    if (whole <= 0 || part < 0) return 0;
    const int64_t p = (part * 200 + whole) / (2 * whole);  // rounded
    return static_cast<uint8_t>(p > 255 ? 255 : p);
}

// ---- TFileHeaders ----------------------------------------------------------------------------------------

TFileHeader& TFileHeaders::FileHeaders(int index) {
    if (index < 0 || index >= Count())
        throw EQnfdCompress(fw::Format("%d is an invalid TFileHeader index in TFileHeaders.GetFileHeaders", {index}));
    return headers_[static_cast<size_t>(index)];
}

void TFileHeaders::Add(const TFileHeader& header) {
    if (!header.IsValid()) throw EQnfdCompress("Tried to add an invalid file header");
    headers_.push_back(header);
    byName_.clear();
}

void TFileHeaders::AddFiles(const fw::TStrings& list, bool keep) {
    if (!keep) Clear();
    for (int i = 0; i < list.Count(); ++i) {
        TFileHeader h;
        h.FillFromFile(list.Get(i));
        h.entryNumber = i + 1;
        Add(h);
    }
}

int TFileHeaders::IndexOfName(const std::string& name) const {
    // Extraction looks every entry up by name: a map keeps that linear in the archive's size.
    if (byName_.empty() && !headers_.empty())
        for (size_t i = headers_.size(); i-- > 0;) byName_[fw::UpperCase(headers_[i].fileName)] = static_cast<int>(i);
    auto it = byName_.find(fw::UpperCase(name));
    return it == byName_.end() ? -1 : it->second;
}

void TFileHeaders::ReadFromStream(fw::TStream& stream, int64_t offset) {
    Clear();
    uint8_t prefix[kArchivePrefixSize];
    stream.SetPosition(offset);
    if (ReadFully(stream, prefix, kArchivePrefixSize) != kArchivePrefixSize)
        throw EQnfdCompress("Could not read the file header count for the compressed file");
    const int32_t count = Le32(prefix);
    layout_ = prefix[4];
    // Every header takes 172 bytes after the prefix: a larger count cannot be true.
    const int64_t room = stream.Size() - offset - kArchivePrefixSize;
    if (count < 0 || count > room / kFileHeaderSize) throw EQnfdCompress(kCorrupt);
    int64_t p = offset + kArchivePrefixSize;
    for (int32_t i = 0; i < count; ++i) {
        stream.SetPosition(p);
        uint8_t bytes[kFileHeaderSize];
        if (ReadFully(stream, bytes, kFileHeaderSize) != kFileHeaderSize) throw EQnfdCompress(kCorrupt);
        TFileHeader h;
        h.Decode(bytes);
        h.loaded = true;
        Add(h);
        // The next header lies after this one; a chain that stands still or goes back is damaged.
        const int64_t next = offset + static_cast<int64_t>(h.nextHeader);
        if (i + 1 < count && next < p + kFileHeaderSize) throw EQnfdCompress(kCorrupt);
        p = next;
    }
}

void TFileHeaders::WriteToStream(fw::TStream& stream) {
    uint8_t prefix[kArchivePrefixSize];
    Put32(prefix, Count());
    prefix[4] = layout_;
    stream.SetPosition(0);
    if (stream.Write(prefix, kArchivePrefixSize) != kArchivePrefixSize)
        throw EQnfdCompress("Could not write the file headers for the compressed file");
    if (layout_ != 1) return;
    for (TFileHeader& h : headers_) {
        h.nextHeader = static_cast<int32_t>(stream.Position() + kFileHeaderSize);
        uint8_t bytes[kFileHeaderSize];
        h.Encode(bytes);
        if (stream.Write(bytes, kFileHeaderSize) != kFileHeaderSize)
            throw EQnfdCompress("Could not write the file headers for the compressed file");
    }
}

void TFileHeaders::InitTotals(TlzhFileStats& stats, bool onlyNew) const {
    stats.TotalPercent = 0;
    stats.TotalBytesDone = 0;
    stats.TotalCompressedSize = 0;
    stats.TotalRatio = 0;
    stats.TotalOriginalSize = 0;
    int64_t original = 0;
    for (const TFileHeader& h : headers_)
        if (!onlyNew || !h.loaded) original += h.originalSize;
    stats.TotalOriginalSize = static_cast<int32_t>(original > INT32_MAX ? INT32_MAX : original);
}

void TFileHeaders::SumTotals(TlzhFileStats& stats) const {
    int64_t original = 0, compressed = 0;
    for (const TFileHeader& h : headers_) {
        original += h.originalSize;
        compressed += h.compressedSize;
    }
    stats.TotalOriginalSize = static_cast<int32_t>(original > INT32_MAX ? INT32_MAX : original);
    stats.TotalCompressedSize = static_cast<int32_t>(compressed > INT32_MAX ? INT32_MAX : compressed);
    stats.TotalRatio = Percent(compressed, original);
}

}  // namespace inst
