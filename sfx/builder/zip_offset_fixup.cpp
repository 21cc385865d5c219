#include "sfx/builder/zip_offset_fixup.h"

#include <algorithm>
#include <vector>

namespace sfx {

namespace {

// End of central directory record (22 bytes before the archive comment):
//   0 "PK" 05 06 | 4 disk u16 | 6 cd disk u16 | 8 entries here u16 | 10 entries u16 |
//   12 cd size u32 | 16 cd offset u32 | 20 comment length u16 | 22 comment
constexpr uint32_t kEndSize = 22;
constexpr uint32_t kEndEntries = 10;
constexpr uint32_t kEndCdSize = 12;
constexpr uint32_t kEndCdOffset = 16;
constexpr uint32_t kEndCommentLen = 20;

// Central directory file header (46 bytes before its name, extra field and comment):
//   28 name length u16 | 30 extra length u16 | 32 comment length u16 | 42 local header offset u32
constexpr uint32_t kCentralSize = 46;
constexpr uint32_t kCentralNameLen = 28;
constexpr uint32_t kCentralExtraLen = 30;
constexpr uint32_t kCentralCommentLen = 32;
constexpr uint32_t kCentralLocalOffset = 42;

// ZIP64 end-of-central-directory locator, 20 bytes right before the end record when present.
constexpr uint32_t kZip64LocatorSize = 20;

constexpr uint32_t kTailWindow = 32768;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
bool IsSig(const uint8_t* p, uint8_t a, uint8_t b) { return p[0] == 'P' && p[1] == 'K' && p[2] == a && p[3] == b; }

bool Shifted(uint32_t value, uint32_t shift, uint32_t& out) {
    const uint64_t v = static_cast<uint64_t>(value) + shift;
    if (v > 0xFFFFFFFFu) return false;
    out = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

FixupResult FixEndOfCentralDir(RandomAccess& f, uint32_t shift, bool apply) {
    FixupResult r;
    const uint64_t size = f.Size();
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>(kTailWindow, size));
    std::vector<uint8_t> buf(n);
    const uint64_t bufStart = size - n;
    if (!f.ReadAt(bufStart, buf.data(), n)) return r;

    r.status = FixupStatus::NoEndRecord;
    if (n < kEndSize) return r;
    // A "PK" 05 06 inside an archive comment or inside entry data is no end record: the real one is the
    // record whose comment runs exactly to the end of the file.
    for (uint32_t i = n - kEndSize + 1; i-- > 0;) {
        const uint8_t* e = buf.data() + i;
        if (!IsSig(e, 5, 6) || i + kEndSize + Le16(e + kEndCommentLen) != n) continue;
        r.endRecordPos = bufStart + i;
        if (i >= kZip64LocatorSize && IsSig(e - kZip64LocatorSize, 6, 7)) {
            r.status = FixupStatus::Zip64;
            return r;
        }
        if (Le16(e + kEndEntries) == 0xFFFF || Le32(e + kEndCdSize) == 0xFFFFFFFFu ||
            Le32(e + kEndCdOffset) == 0xFFFFFFFFu) {
            r.status = FixupStatus::Zip64;
            return r;
        }
        uint8_t rec[kEndSize];
        std::copy(e, e + kEndSize, rec);
        uint32_t cd;
        if (!Shifted(Le32(rec + kEndCdOffset), shift, cd)) {
            r.status = FixupStatus::TooLarge;
            return r;
        }
        PutLe32(rec + kEndCdOffset, cd);
        if (apply && !f.WriteAt(r.endRecordPos, rec, kEndSize)) {
            r.status = FixupStatus::IoError;
            return r;
        }
        r.status = FixupStatus::Ok;
        return r;
    }
    return r;
}

FixupResult FixCentralDir(RandomAccess& f, uint32_t shift, bool apply) {
    // Check everything first without writing, then write.
    FixupResult r = FixEndOfCentralDir(f, shift, false);
    if (r.status != FixupStatus::Ok) return r;

    uint8_t end[kEndSize];
    if (!f.ReadAt(r.endRecordPos, end, kEndSize)) {
        r.status = FixupStatus::IoError;
        return r;
    }
    // When applying, the archive already sits `shift` bytes further on; when checking a source archive
    // it sits where its own offsets say.
    const uint64_t placed = apply ? shift : 0;
    std::vector<uint64_t> headers;
    uint64_t p = Le32(end + kEndCdOffset) + placed;
    uint8_t h[kCentralSize];
    while (p + kCentralSize <= r.endRecordPos && f.ReadAt(p, h, kCentralSize) && IsSig(h, 1, 2)) {
        const uint32_t local = Le32(h + kCentralLocalOffset);
        if (local == 0xFFFFFFFFu) {
            r.status = FixupStatus::Zip64;
            return r;
        }
        uint32_t moved;
        if (!Shifted(local, shift, moved)) {
            r.status = FixupStatus::TooLarge;
            return r;
        }
        headers.push_back(p);
        p += kCentralSize + Le16(h + kCentralNameLen) + Le16(h + kCentralExtraLen) + Le16(h + kCentralCommentLen);
    }
    r.entries = static_cast<uint32_t>(headers.size());
    if (!apply) return r;

    if (FixEndOfCentralDir(f, shift, true).status != FixupStatus::Ok) {
        r.status = FixupStatus::IoError;
        return r;
    }
    for (uint64_t pos : headers) {
        if (!f.ReadAt(pos, h, kCentralSize)) {
            r.status = FixupStatus::IoError;
            return r;
        }
        PutLe32(h + kCentralLocalOffset, Le32(h + kCentralLocalOffset) + shift);
        if (!f.WriteAt(pos, h, kCentralSize)) {
            r.status = FixupStatus::IoError;
            return r;
        }
    }
    return r;
}

}  // namespace sfx
