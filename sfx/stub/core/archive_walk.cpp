#include "sfx/stub/core/archive_walk.h"

#include <cstring>
#include <span>
#include <string_view>

#include "engine/codec/crc32.h"
#include "engine/codec/inflate.h"
#include "engine/codec/zipcrypt.h"
#include "engine/names/output_name_rule.h"

namespace sfx {

namespace {

using mx::codec::ByteSink;
using mx::codec::ByteSource;
using mx::codec::Status;
using mx::codec::ZipCrypto;

// Local file header (30 bytes before the name and the extra field):
//   0 signature u32 | 4 version u16 | 6 flags u16 | 8 method u16 | 10 time u16 | 12 date u16 |
//   14 CRC-32 u32 | 18 compressed size u32 | 22 size u32 | 26 name length u16 | 28 extra length u16
constexpr uint32_t kLocalSize = 30;
constexpr uint32_t kOffFlags = 6;
constexpr uint32_t kOffMethod = 8;
constexpr uint32_t kOffTime = 10;
constexpr uint32_t kOffCrc = 14;
constexpr uint32_t kOffCompressed = 18;
constexpr uint32_t kOffNameLen = 26;
constexpr uint32_t kOffExtraLen = 28;
constexpr uint32_t kDescriptorSize = 16;  // "PK" 07 08, CRC, compressed and uncompressed size

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// The local-header signature is formed at run time so that this program's image holds no copy of its
// four bytes; volatile keeps the compiler from folding the subtraction back into the constant.
const volatile uint32_t gLocalSignaturePlusOne = 0x04034B51u;
constexpr uint32_t kZip250Signature = 0x50000000u;
constexpr uint32_t kDescriptorSignature = 0x08074B50u;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct LocalHeader {
    uint64_t pos = 0;  // where the header starts
    uint16_t flags = 0;
    uint16_t method = 0;
    uint16_t time = 0;
    uint32_t crc = 0;
    uint32_t compressed = 0;
    uint16_t nameLen = 0;
    uint16_t extraLen = 0;
};

// Reads the header at pos, stepping over data descriptors. False at anything else.
bool ReadLocalHeader(StubFile& f, uint64_t pos, LocalHeader& h) {
    const uint32_t localSignature = gLocalSignaturePlusOne - 1;
    for (;;) {
        uint8_t b[kLocalSize];
        if (!f.Seek(pos) || !ReadExact(f, b, kLocalSize)) return false;
        const uint32_t sig = Le32(b);
        if (sig == kDescriptorSignature) {
            pos += kDescriptorSize;
            continue;
        }
        if (sig != localSignature && sig != kZip250Signature) return false;
        h.pos = pos;
        h.flags = Le16(b + kOffFlags);
        h.method = Le16(b + kOffMethod);
        h.time = Le16(b + kOffTime);
        h.crc = Le32(b + kOffCrc);
        h.compressed = Le32(b + kOffCompressed);
        h.nameLen = Le16(b + kOffNameLen);
        h.extraLen = Le16(b + kOffExtraLen);
        return true;
    }
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The file-name part: what follows the last separator.
const char* FileNamePart(const char* path) {
    const char* part = path;
    for (const char* p = path; *p; ++p)
        if (IsSeparator(*p)) part = p + 1;
    return part;
}

// Appends src to dst (capacity cap, NUL included); false when it does not fit.
bool Append(char* dst, uint32_t cap, const char* src) {
    const size_t have = std::strlen(dst);
    const size_t add = std::strlen(src);
    if (have + add + 1 > cap) return false;
    std::memcpy(dst + have, src, add + 1);
    return true;
}

// The compressed bytes of one entry, read in blocks and deciphered as they arrive.
class EntrySource final : public ByteSource {
public:
    EntrySource(StubFile& f, uint64_t remaining, ZipCrypto* crypt) : f_(f), remaining_(remaining), crypt_(crypt) {}
    Status Read(std::span<const uint8_t>& block) noexcept override {
        if (remaining_ == 0) return Status::End;
        const uint32_t want = remaining_ < kTransferBlock ? static_cast<uint32_t>(remaining_) : kTransferBlock;
        const uint32_t got = f_.Read(buf_, want);
        if (got == 0) {
            truncated_ = true;
            return Status::Truncated;
        }
        remaining_ -= got;
        if (crypt_) crypt_->Decrypt(std::span<uint8_t>(buf_, got));
        block = std::span<const uint8_t>(buf_, got);
        return Status::Ok;
    }
    bool Truncated() const { return truncated_; }

private:
    StubFile& f_;
    uint64_t remaining_;
    ZipCrypto* crypt_;
    bool truncated_ = false;
    static uint8_t buf_[kTransferBlock + 2];
};

uint8_t EntrySource::buf_[kTransferBlock + 2];

// The target file, with the running CRC over everything written.
class TargetSink final : public ByteSink {
public:
    explicit TargetSink(WalkHost& host) : host_(host) {}
    Status Write(std::span<const uint8_t> block) noexcept override {
        if (!host_.WriteTarget(block.data(), static_cast<uint32_t>(block.size()))) return Status::OutputFull;
        mx::codec::UpdateCrc32(block, crc_);
        return Status::Ok;
    }
    uint32_t Crc() const { return ~crc_; }

private:
    WalkHost& host_;
    uint32_t crc_ = 0xFFFFFFFFu;
};

// Stored data: copied block by block until the entry's bytes are used up.
Status CopyStoredEntry(EntrySource& in, TargetSink& out) {
    for (;;) {
        std::span<const uint8_t> block;
        const Status st = in.Read(block);
        if (st == Status::End) return Status::Ok;
        if (st != Status::Ok) return st;
        const Status w = out.Write(block);
        if (w != Status::Ok) return w;
    }
}

enum class EntryOutcome { Done, Failed, Truncated, UnknownMethod };

EntryOutcome ExtractData(WalkHost& host, StubFile& f, const LocalHeader& h, uint64_t remaining, ZipCrypto* crypt) {
    EntrySource in(f, remaining, crypt);
    TargetSink out(host);
    Status st;
    if (h.method == kMethodStored) {
        st = CopyStoredEntry(in, out);
    } else if (h.method == kMethodDeflated) {
        st = mx::codec::Inflate(in, out).status;
    } else {
        return EntryOutcome::UnknownMethod;
    }
    if (in.Truncated()) return EntryOutcome::Truncated;
    if (st != Status::Ok || out.Crc() != h.crc) return EntryOutcome::Failed;
    return EntryOutcome::Done;
}

}  // namespace

bool IsSafeEntryName(const char* name) {
    if (!name[0] || IsSeparator(name[0])) return false;
    const char* comp = name;
    for (const char* p = name;; ++p) {
        const char c = *p;
        if (c == '\0' || IsSeparator(c)) {
            // Empty and "." components name the folder itself; every other one follows the engine's
            // output-name rule (no "..", no device, no forbidden character).
            const std::string_view part(comp, static_cast<size_t>(p - comp));
            if (!part.empty() && part != "." && !mx::names::IsWritableComponent(part)) return false;
            if (c == '\0') return true;
            comp = p + 1;
        }
    }
}

void WalkArchive(WalkHost& host, StubFile& f, uint64_t archiveStart, bool listMode, WalkState& state) {
    state.allDone = false;
    bool entryProcessed = false;
    if (!f.Seek(archiveStart)) {
        host.Message("Error reading archive.", "Error in archive ..");
        return;
    }
    if (listMode) host.ListClear();

    int lastFound = -1;
    char name[kNameBufferSize];
    char target[kTargetBufferSize];
    ZipCrypto crypt;  // the keys of the entry being extracted
    LocalHeader h;
    uint64_t pos = archiveStart;
    while (ReadLocalHeader(f, pos, h)) {
        // The next header follows this entry's data; 64-bit arithmetic always moves forward.
        const uint64_t next = h.pos + kLocalSize + h.nameLen + h.extraLen + h.compressed;
        pos = next;

        const uint32_t keep = h.nameLen < kNameBufferSize - 1 ? h.nameLen : kNameBufferSize - 1;
        if (!ReadExact(f, name, keep)) break;
        name[keep] = '\0';
        const bool nameTooLong = h.nameLen > keep;
        if (name[0] == '\0') {
            host.Message("Invalid filename.", "Error in archive ..");
            return;
        }
        if (listMode) {
            host.ListAdd(name);
            continue;
        }

        const int index = host.ListFind(lastFound, name);
        if (index < 0 || !host.ListSelected(index)) continue;
        lastFound = index;
        if (*FileNamePart(name) == '\0') {
            host.ListDeselect(index);  // a folder entry: folders come with the files inside them
            continue;
        }
        // A name that would leave the chosen folder is never written; it stays selected and so counts
        // as not extracted.
        if (nameTooLong || !IsSafeEntryName(name)) {
            entryProcessed = true;
            continue;
        }

        entryProcessed = false;
        uint64_t remaining = h.compressed;
        ZipCrypto* keys = nullptr;
        if (h.flags & kFlagEncrypted) {
            uint8_t header[ZipCrypto::kHeaderSize];
            if (remaining < ZipCrypto::kHeaderSize) continue;  // damaged: no room for the header
            remaining -= ZipCrypto::kHeaderSize;
            if (!f.Seek(h.pos + kLocalSize + h.nameLen + h.extraLen) || !ReadExact(f, header, sizeof header)) {
                break;
            }
            const std::span<const uint8_t, ZipCrypto::kHeaderSize> hs(header);
            bool ok = state.password[0] && crypt.CheckPassword(hs, h.flags, state.password, h.time, h.crc);
            for (int tries = 0; !ok && tries < 3; ++tries) {
                host.AskPassword(state.password, kPasswordBufferSize);
                state.password[kPasswordBufferSize - 1] = '\0';
                ok = crypt.CheckPassword(hs, h.flags, state.password, h.time, h.crc);
            }
            if (!ok) return;  // three wrong answers end the pass quietly
            keys = &crypt;
        }
        entryProcessed = true;

        target[0] = '\0';
        if (!Append(target, sizeof target, state.folder) || !Append(target, sizeof target, "\\") ||
            !Append(target, sizeof target, name))
            continue;

        if (host.PathExists(target)) {
            const int mode = host.OverwriteMode();
            if (mode == kModeSkip) {
                host.ListDeselect(index);
                continue;
            }
            if (mode == kModeConfirm && !host.AskOverwrite(FileNamePart(target))) {
                host.ListDeselect(index);
                continue;
            }
        } else {
            char folder[kTargetBufferSize];
            std::memcpy(folder, target, sizeof folder);
            folder[FileNamePart(folder) - folder - 1] = '\0';
            if (!host.MakeFolders(folder)) {
                host.Message(folder, "Error in directory ..");
                break;
            }
        }

        if (host.IsOwnFile(target) || !host.CreateTarget(target)) {
            host.Message(target, "Can't open the file ..");
            continue;
        }
        char status[kTargetBufferSize + 16] = "Extracting: ";
        Append(status, sizeof status, target);
        host.Status(status);
        host.Pump();

        if (!f.Seek(h.pos + kLocalSize + h.nameLen + h.extraLen + (keys ? ZipCrypto::kHeaderSize : 0))) break;
        const EntryOutcome outcome = ExtractData(host, f, h, remaining, keys);
        if (outcome == EntryOutcome::UnknownMethod) {
            host.Message("Unknown compression type", "Error in extraction ..");
            host.CloseTarget();
            return;
        }
        if (outcome == EntryOutcome::Done) host.ListDeselect(index);
        if (!host.CloseTarget()) host.Message(target, "Cannot close the file ..");
        // A damaged or cut-off entry leaves no file that could pass for the real one.
        if (outcome != EntryOutcome::Done) host.RemoveTarget(target);
        // The archive ended inside this entry: nothing after it can be read.
        if (outcome == EntryOutcome::Truncated) break;
    }

    if (listMode) {
        if (host.ListCount() == 0) host.Message("Can't read archive-header", "Error ..");
        return;
    }
    if (!entryProcessed) return;
    if (host.ListSelectedCount() == 0) {
        host.Message("All files have been extracted.", "Success");
        state.allDone = true;
    } else {
        host.Message("The selected file(s) couldn't be extracted.", "Error");
        host.Status("The selected file(s) couldn't get extracted");
        state.allDone = false;
    }
}

}  // namespace sfx
