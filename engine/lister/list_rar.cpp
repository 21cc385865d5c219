// RAR (1.5 to 4.x headers): files over the volumes of a set named .rar, .r00, .r01, ... or, when the
// main header says so, set.part1.rar, set.part2.rar, ...; a file split over volumes is listed once,
// from its last part.
#include <algorithm>
#include <array>
#include <memory>

#include "engine/core/file_routines.h"
#include "engine/core/wildcard.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/methods/method_names.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

namespace engine {

namespace {

constexpr uint8_t kFileHeader = 0x74;
constexpr uint8_t kCommentHeader = 0x75;
constexpr uint8_t kEndHeader = 0x7B;
constexpr uint16_t kSplitAfter = 0x02;
constexpr uint16_t kFileComment = 0x08;
constexpr uint16_t kLarge = 0x100;
constexpr uint16_t kUnicode = 0x200;
constexpr uint8_t kStored = 0x30;
constexpr uint16_t kLongBlock = 0x8000;
constexpr uint16_t kMainNewNumbering = 0x10;

// The volume after Path in a set numbered in the name ("set.part01.rar" gives "set.part02.rar", the
// number as wide as before); empty when the name holds no ".partN." number. Number is N + 1.
std::string NextNumberedVolume(const std::string& path, int& number)
{
    const size_t nameAt = path.find_last_of("\\/") + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameAt)
        return {};
    size_t start = dot;
    while (start > nameAt && path[start - 1] >= '0' && path[start - 1] <= '9')
        --start;
    if (start == dot || dot - start > 6 || start < nameAt + 5 || UpperCase(path.substr(start - 5, 5)) != ".PART")
        return {};
    number = std::stoi(path.substr(start, dot - start)) + 1;
    std::string digits = std::to_string(number);
    if (digits.size() < dot - start)
        digits.insert(0, dot - start - digits.size(), '0');
    return path.substr(0, start) + digits + path.substr(dot);
}

// Whether a name (the part the lister shows: up to a NUL) holds UTF-8 text. A name with the Unicode
// flag and no encoded second half is UTF-8; Unix hosts (3; BeOS, 5) store their own names as they
// are, UTF-8 where the system uses it. Anything else is in the OEM code page.
bool Utf8Name(const std::string& name, uint8_t host, uint16_t flags)
{
    const std::string shown = name.substr(0, name.find('\0'));
    if ((flags & kUnicode) && shown.size() == name.size())
        return true;
    if (host != 3 && host != 5)
        return false;
    const std::u32string text = fw::DecodeUtf8(shown);
    return text.size() < shown.size() && text.find(0xFFFD) == std::u32string::npos;
}

// The old-style comment a file header holds after its name (RAR 2.x and before); its text when it is
// stored, nothing when it is packed.
std::string EmbeddedComment(ReadAtSource& source, uint64_t at, uint64_t headerEnd)
{
    std::array<uint8_t, 13> c{};
    if (at + c.size() > headerEnd || !source.ReadExact(at, c) || c[2] != kCommentHeader || c[10] != kStored)
        return {};
    const uint64_t length = std::min<uint64_t>(Le16(c.data() + 7), headerEnd - at - c.size());
    std::string text(size_t(length), '\0');
    text.resize(source.ReadAt(at + c.size(), std::span(reinterpret_cast<uint8_t*>(text.data()), text.size())));
    return text;
}

// Reads the main header after the marker at Start; returns the position after it, or 0.
uint64_t ReadMain(TKrenlo& k, ReadAtSource& source, uint64_t start, uint16_t& flags)
{
    std::array<uint8_t, 13> m{};
    if (!source.ReadExact(start + 7, m))
        k.RaiseError(k.ArchiveFile(), "", "0", 25236);
    flags = Le16(m.data() + 3);
    const uint16_t size = Le16(m.data() + 5);
    if (size != 13)
        k.ArchiveComment = "Archive Comment encrypted...";
    return start + 7 + (size > 13 ? size : 13);
}

}  // namespace

void ListRar(TKrenlo& k, ReadAtSource& first)
{
    k.HeaderLen = 32;
    uint16_t mainFlags = 0;
    uint64_t pos = ReadMain(k, first, k.ArcStartPos > 1 ? uint64_t(k.ArcStartPos - 1) : 0, mainFlags);
    k.ParseVolumeExt(k.ArchiveFile());
    ReadAtSource* source = &first;
    fw::FileHandle volume = fw::kInvalidFile;
    std::unique_ptr<FileReadSource> volumeSource;
    const auto closeVolume = [&] {
        if (volume != fw::kInvalidFile)
            CloseFile(volume);
        volume = fw::kInvalidFile;
    };
    const auto volumeId = [&] {
        return (mainFlags & 3) ? ExtractFileName(k.VolumeName.empty() ? k.ArchiveFile() : k.VolumeName) : "";
    };
    while (!k.Aborted()) {
        ProcessMessages();
        k.HeaderPos = int64_t(pos) + 1;
        std::array<uint8_t, 40> h{};
        const size_t got = source->ReadAt(pos, h);
        if (got < 7)
            break;
        const uint8_t type = h[2];
        const uint16_t flags = Le16(h.data() + 3);
        const uint16_t size = Le16(h.data() + 5);
        if (size < 7 || type == kEndHeader)
            break;
        const uint64_t addSize = (flags & kLongBlock) && got >= 11 ? Le32(h.data() + 7) : 0;
        uint64_t next = pos + size + addSize;
        if (type != kFileHeader) {
            pos = next;
            continue;
        }
        const bool large = (flags & kLarge) != 0;
        const size_t fixed = large ? 40 : 32;
        if (got < fixed || size < fixed)
            break;
        uint64_t packed = Le32(h.data() + 7), unpacked = Le32(h.data() + 11);
        if (large) {
            packed |= uint64_t(Le32(h.data() + 32)) << 32;
            unpacked |= uint64_t(Le32(h.data() + 36)) << 32;
            next = pos + size + packed;
        }
        const uint16_t nameSize = Le16(h.data() + 26);
        std::string name(std::min<size_t>(nameSize, size - fixed), '\0');
        source->ReadAt(pos + fixed, std::span(reinterpret_cast<uint8_t*>(name.data()), name.size()));
        k.SetEntryName(name, Utf8Name(name, h[15], flags));
        if (flags & kFileComment)
            k.FileComment = EmbeddedComment(*source, pos + fixed + name.size(), pos + size);
        if (k.OnReadFile)
            k.OnReadFile(&k, k.FileName);
        const uint32_t attr = Le32(h.data() + 28);
        if (!(flags & kSplitAfter)) {
            k.VolumeID = volumeId();
            k.RunPacked = int64_t(packed);
            k.RunUnpacked = int64_t(unpacked);
            const bool folder = (attr & 0x10) != 0;
            if ((folder && k.ShowBlankDirs()) || WildcardMatch(k.FileSpec(), k.FileName, true)) {
                ++k.FileCount;
                k.AddTotals(k.RunPacked, k.RunUnpacked);
                k.Date = k.DosDateToDateTime(Le32(h.data() + 20));
                k.VersionMadeBy = h[24];
                k.VersionNeeded = 0;
                k.PackedSize = k.RunPacked;
                k.UnpackedSize = k.RunUnpacked;
                k.CRC = Le32(h.data() + 16);
                k.Encrypted = false;
                k.MethodNum = h[25];
                k.MethodName = MethodNameOf(TArcType::atRar, h[25], folder);
                k.InternalAttr = 32;
                k.ExternalAttr = attr;
                k.Ratio = CalcRatio(int64_t(packed), int64_t(unpacked));
                k.ReportEntry(int64_t(pos), k.FileCount);
            }
            k.NextPos = int64_t(next);
            pos = next;
            continue;
        }
        // Continued in the next volume: this part's packed bytes count now; the file's size counts
        // once, with its last part.
        k.VolumeID = volumeId();
        k.AddTotals(int64_t(packed), 0);
        int number = 0;
        std::string path;
        if (mainFlags & kMainNewNumbering)
            path = NextNumberedVolume(k.VolumeName.empty() ? k.ArchiveFile() : k.VolumeName, number);
        if (!path.empty()) {
            number -= 1;  // counted as .r00 is: the second volume is 0
        } else {
            path = k.NextVolumePath(k.ArchiveFile());
            number = k.Volumes.VolumeNumber;
        }
        if (path.empty())
            k.RaiseError(k.ArchiveFile(), "", "0", 25235);
        if (number >= 1000)
            k.RaiseError(k.ArchiveFile(), "", "0", 25250);
        if (!k.FindVolume(path, std::to_string(number - 1)))
            break;
        closeVolume();
        volume = OpenArchiveRead(path);
        if (volume == fw::kInvalidFile)
            k.RaiseError(path, "", "0", 25236);
        k.VolumeName = path;
        const int64_t volumeSize = OpenFileSize(volume);
        volumeSource = std::make_unique<FileReadSource>(volume, uint64_t(volumeSize > 0 ? volumeSize : 0));
        source = volumeSource.get();
        pos = ReadMain(k, *source, 0, mainFlags);
    }
    closeVolume();
}

}  // namespace engine
