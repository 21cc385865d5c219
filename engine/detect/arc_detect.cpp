#include "engine/detect/arc_detect.h"

#include <array>
#include <cctype>
#include <string>

#include "engine/detect/pe_string_table.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/zip_records.h"

namespace engine {

namespace {

using enum TArcType;

bool ReadHead(ReadAtSource& source, uint64_t offset, uint32_t& head) {
    std::array<uint8_t, 4> b{};
    if (!source.ReadExact(offset, b)) return false;
    head = Le32(b.data());
    return true;
}

// The upper-case extension of a file name, with its dot; empty when the name part has none.
std::string UpperExtension(std::string_view fileName) {
    const size_t sep = fileName.find_last_of("\\/:");
    const std::string_view namePart = sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
    const size_t dot = namePart.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(namePart.substr(dot));
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

// Octal digits of the text in order; every other character is passed over.
uint64_t OctalValue(const uint8_t* p, size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) {
        if (p[i] >= '0' && p[i] <= '7') v = v * 8 + (p[i] - '0');
    }
    return v;
}

// A decimal number of digits only; nullopt for an empty or non-numeric text.
std::optional<uint64_t> DecimalValue(const std::string& text) {
    if (text.empty()) return std::nullopt;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    return v;
}

bool IsZipType(TArcType t) { return t == atZip || t == atZipExe || t == atZip250 || t == atZip250Exe; }

// Self-extractors: the archive offsets named by string ids 1 to 4 (at most five digits each).
bool ProbeStringTable(ReadAtSource& source, DetectResult& r) {
    const PeStringTable strings(source);
    if (!strings.Valid()) return false;
    for (uint32_t id = 1; id <= 4; ++id) {
        const auto number = DecimalValue(strings.LoadAnsi(id, 6));
        if (!number || *number >= r.archiveSize) return false;
        uint32_t head = 0;
        if (!ReadHead(source, *number, head)) continue;
        const HeaderMatch m = ArcTypeFromHeader(head, true);
        if (m.arcType == atUnknown) continue;
        r.arcType = m.arcType;
        if (IsZipType(m.arcType)) r.sfxZipOffset = static_cast<uint32_t>(*number);
        r.arcStartPos = m.arcStartPos ? *m.arcStartPos : static_cast<int64_t>(*number) + 1;
        return true;
    }
    return false;
}

// Self-extractors whose archive follows the DOS image (an ARJ header id may sit two bytes further on).
void ProbeDosImageEnd(ReadAtSource& source, DetectResult& r) {
    std::array<uint8_t, 6> mz{};
    if (!source.ReadExact(0, mz)) return;
    // A page count of 0 would put the image end before the file: no archive there.
    const int64_t pages = Le16(mz.data() + 4);
    int64_t d = (pages - 1) * 512 + Le16(mz.data() + 2);
    if (d < 0) return;
    const int64_t size = static_cast<int64_t>(r.archiveSize);
    if (d > 0 && d + 4 < size) {
        std::array<uint8_t, 4> b{};
        if (source.ReadExact(static_cast<uint64_t>(d), b) && b[2] == 0x60 && b[3] == 0xEA) d += 2;
    }
    r.arcStartPos = d + 1;
    uint32_t head = 0;
    if (d + 5 < size && ReadHead(source, static_cast<uint64_t>(d), head)) {
        const HeaderMatch m = ArcTypeFromHeader(head, true);
        r.arcType = m.arcType;
        if (m.arcStartPos) r.arcStartPos = *m.arcStartPos;
    }
}

// Self-extractors with a ZIP archive at the end: an end record in the tail window.
void ProbeZipTail(ReadAtSource& source, DetectResult& r, uint32_t zipCmntBufSize) {
    const int64_t size = static_cast<int64_t>(r.archiveSize);
    int64_t window;
    if (int64_t{zipCmntBufSize} + 23 <= size) {
        window = int64_t{zipCmntBufSize} + 23;
    } else if (zipCmntBufSize == 0) {
        window = 23;
    } else {
        window = size - 76;
    }
    // A window too small for an end record (negative for files under 76 bytes) reads nothing.
    if (window < static_cast<int64_t>(zip::EndRecord::kSize) || size < window) return;
    const auto hit = zip::FindEndRecord(source, static_cast<uint64_t>(window));
    if (!hit) return;
    r.arcType = atZipExe;
    if (hit->record.directoryOffset >= r.archiveSize) return;
    std::array<uint8_t, zip::CentralHeader::kSize> raw{};
    if (!source.ReadExact(hit->record.directoryOffset, raw)) return;
    if (const auto central = zip::CentralHeader::Parse(raw)) r.arcStartPos = central->localHeaderOffset;
}

}  // namespace

HeaderMatch ArcTypeFromHeader(uint32_t head, bool exe) {
    const uint8_t b0 = head & 0xFF, b1 = (head >> 8) & 0xFF, b2 = (head >> 16) & 0xFF, b3 = head >> 24;
    auto pick = [exe](TArcType plain, TArcType behindExe) { return HeaderMatch{exe ? behindExe : plain, {}}; };
    if (b0 == 'P' && b1 == 'K' && !(b2 == 'G' && b3 == '4')) return pick(atZip, atZipExe);
    if (head == 0x50000000) return pick(atZip250, atZip250Exe);
    if (b0 == 'M' && b1 == 'S' && b2 == 'C' && b3 == 'F') return pick(atCab, atUnsupported);
    if (b0 == 'B' && b1 == 'H' && b2 == 5 && b3 == 7) return pick(atBh, atBhExe);
    if (b0 == 'H' && b1 == 'A') return pick(atHa, atUnsupported);
    if (b0 == 0x1F && (b1 == 0x8B || b1 == 0x9D || b1 == 0x9E || b1 == 0x1E || b1 == 0xA0)) {
        return pick(atGZip, atUnsupported);
    }
    if (b0 == 0x60 && b1 == 0xEA) return pick(atArj, atArjExe);
    if (b0 == 'Z' && b1 == 'O') return pick(atZoo, atUnsupported);
    if (b2 == '-' && b3 == 'l') return pick(atLha, atLhaExe);
    if (b0 == 'R' && b1 == 'a') return pick(atRar, atRarExe);
    if (b0 == 0x1A && (b1 == 0x0A || b1 == 0x0B)) return pick(atPak, atPakExe);
    if (b0 == 0x1A && b1 == 0x1E) return pick(atArc, atUnsupported);
    // ARC's first member: 1A and its method. Methods 1 to 7 (stored, packed, squeezed, old crunched)
    // are as much ARC as 8 and 9: the archiver stores small or incompressible first members that way.
    if (b0 == 0x1A && b1 >= 0x01 && b1 <= 0x09) return pick(atArc, atArcExe);
    if (b0 == 0xB7 && (b1 == 0x92 || b1 == 0xDF)) return HeaderMatch{atArcExe, kArcSfxStart};
    return HeaderMatch{atUnknown, {}};
}

bool IsTarArchive(ReadAtSource& source, int64_t& arcStartPos) {
    constexpr uint64_t kBlock = 512;
    constexpr size_t kOffChecksum = 148, kChecksumLen = 8, kOffTypeFlag = 156;
    const uint64_t size = source.Size();
    if (size <= kBlock) return false;
    std::array<uint8_t, kBlock> block{};
    if (!source.ReadExact(0, block)) return false;
    arcStartPos = 1;
    if (block[kOffTypeFlag] == 'V') {
        if (size < 2 * kBlock || !source.ReadExact(kBlock, block)) return false;
        arcStartPos = kBlock + 1;
    }
    uint64_t sum = 0;
    for (size_t i = 0; i < kBlock; ++i) {
        sum += (i >= kOffChecksum && i < kOffChecksum + kChecksumLen) ? uint8_t{' '} : block[i];
    }
    if (sum == OctalValue(block.data() + kOffChecksum, kChecksumLen)) return true;
    arcStartPos = 1;
    return false;
}

DetectResult DetectArcType(ReadAtSource& source, std::string_view fileName, uint32_t zipCmntBufSize) {
    DetectResult r;
    r.archiveSize = source.Size();
    const uint64_t size = r.archiveSize;

    // ZIP first: a local header at the start or at one of the self-extractor offsets.
    uint32_t head = 0;
    if (size > 4 && ReadHead(source, 0, head) && head == zip::kLocalSignature) {
        r.arcType = atZip;
        return r;
    }
    for (const uint64_t offset : kZipSfxOffsets) {
        if (size > offset + 4 && ReadHead(source, offset, head) && head == zip::kLocalSignature) {
            r.arcType = atZipExe;
            r.arcStartPos = static_cast<int64_t>(offset);
            return r;
        }
    }
    r.arcType = atNA;
    if (size <= 5) return r;

    std::array<uint8_t, 6> first{};
    if (!source.ReadExact(0, first)) return r;
    head = Le32(first.data());
    if (!(first[0] == 'M' && first[1] == 'Z')) {
        const HeaderMatch m = ArcTypeFromHeader(head, false);
        r.arcType = m.arcType;
        if (m.arcStartPos) r.arcStartPos = *m.arcStartPos;
        if (r.arcType != atUnknown) return r;
        // No signature: the extension decides (the encoded-file extensions and ".TAR", the first four
        // archive extensions). A name without one may still be a TAR archive.
        const std::string ext = UpperExtension(fileName);
        if (ext == ".UUE" || ext == ".XXE" || ext == ".ENC") {
            r.arcType = atUue;
        } else if (ext.empty() || ext == ".TAR") {
            if (IsTarArchive(source, r.arcStartPos)) r.arcType = atTar;
        }
        return r;
    }

    // An executable: look for an archive behind it.
    r.arcType = atUnknown;
    if (ProbeStringTable(source, r)) return r;
    ProbeDosImageEnd(source, r);
    if (r.arcType == atUnknown) ProbeZipTail(source, r, zipCmntBufSize);
    return r;
}

}  // namespace engine
