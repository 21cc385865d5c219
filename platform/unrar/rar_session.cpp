#include "platform/unrar/rar_session.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "engine/codec/crc32.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/time.h>
#include <ctime>
#endif

namespace unrar {

namespace {

constexpr size_t kBlock = 0x10000;
// Volumes of a set asked for before the library gives up on a callback that keeps answering
// names that do not exist.
constexpr int kMaxAsks = 64;

bool Exists(const std::string& name)
{
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

bool Seek(std::FILE* f, uint64_t pos)
{
#ifdef _WIN32
    return _fseeki64(f, int64_t(pos), SEEK_SET) == 0;
#else
    return fseeko(f, off_t(pos), SEEK_SET) == 0;
#endif
}

void CopyName(char* dest, size_t size, const std::string& text)
{
    const size_t n = std::min(size - 1, text.size());
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}

// Sets an extracted file's time (a local DOS stamp) and its DOS attributes.
void SetFileInfo(const std::string& name, uint32_t dosTime, uint32_t attr)
{
#ifdef _WIN32
    FILETIME local, utc;
    if (DosDateTimeToFileTime(WORD(dosTime >> 16), WORD(dosTime), &local) && LocalFileTimeToFileTime(&local, &utc)) {
        HANDLE h = CreateFileA(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            SetFileTime(h, nullptr, nullptr, &utc);
            CloseHandle(h);
        }
    }
    SetFileAttributesA(name.c_str(), (attr & 0x27) ? (attr & 0x27) : FILE_ATTRIBUTE_NORMAL);
#else
    std::tm tm{};
    tm.tm_year = int((dosTime >> 25) & 0x7F) + 80;
    tm.tm_mon = int((dosTime >> 21) & 0x0F) - 1;
    tm.tm_mday = int((dosTime >> 16) & 0x1F);
    tm.tm_hour = int((dosTime >> 11) & 0x1F);
    tm.tm_min = int((dosTime >> 5) & 0x3F);
    tm.tm_sec = int(dosTime & 0x1F) * 2;
    tm.tm_isdst = -1;
    const time_t t = std::mktime(&tm);
    const timeval times[2] = {{t, 0}, {t, 0}};
    utimes(name.c_str(), times);
    if (attr & 0x01)
        chmod(name.c_str(), 0444);
#endif
}

bool MakeFolder(const std::string& name)
{
#ifdef _WIN32
    return CreateDirectoryA(name.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
#else
    return mkdir(name.c_str(), 0777) == 0 || errno == EEXIST;
#endif
}

}  // namespace

RarSession::~RarSession() { Close(); }

int RarSession::Close()
{
    int result = ERAR_SUCCESS;
    if (file_ && std::fclose(file_) != 0)
        result = ERAR_ECLOSE;
    file_ = nullptr;
    return result;
}

int RarSession::ReadAt(uint64_t pos, void* buffer, size_t count)
{
    if (!Seek(file_, pos))
        return ERAR_EREAD;
    return std::fread(buffer, 1, count, file_) == count ? ERAR_SUCCESS : ERAR_EREAD;
}

int RarSession::Open(const std::string& name) { return OpenVolume(name); }

int RarSession::OpenVolume(const std::string& name)
{
    Close();
    file_ = std::fopen(name.c_str(), "rb");
    if (!file_)
        return ERAR_EOPEN;
    volumeName_ = name;
    std::fseek(file_, 0, SEEK_END);
#ifdef _WIN32
    volumeSize_ = uint64_t(_ftelli64(file_));
#else
    volumeSize_ = uint64_t(ftello(file_));
#endif
    // The marker may follow a self-extractor's code: it is searched in the first 4 MB.
    const uint64_t window = std::min<uint64_t>(volumeSize_, 0x400000);
    std::vector<uint8_t> head(size_t(window), 0);
    if (window == 0 || ReadAt(0, head.data(), head.size()) != ERAR_SUCCESS)
        return ERAR_BAD_ARCHIVE;
    uint64_t marker = UINT64_MAX;
    for (size_t i = 0; i + 7 <= head.size(); ++i) {
        if (std::memcmp(&head[i], kMarker, 7) == 0) {
            marker = i;
            break;
        }
        if (i + 8 <= head.size() && std::memcmp(&head[i], kMarker5, 8) == 0)
            return ERAR_UNKNOWN_FORMAT;
    }
    if (marker == UINT64_MAX)
        return ERAR_BAD_ARCHIVE;
    uint8_t mainHead[13];
    if (ReadAt(marker + 7, mainHead, sizeof mainHead) != ERAR_SUCCESS)
        return ERAR_BAD_ARCHIVE;
    BlockHeader block;
    if (ParseBlockHeader(mainHead, block) != ParseResult::Ok || block.type != kMainHead || block.headSize < 13)
        return ERAR_BAD_ARCHIVE;
    std::vector<uint8_t> whole(block.headSize);
    if (ReadAt(marker + 7, whole.data(), whole.size()) != ERAR_SUCCESS || !HeaderCrcMatches(whole, block))
        return ERAR_BAD_ARCHIVE;
    mainFlags_ = block.flags;
    if (mainFlags_ & kMainPassword)
        return ERAR_MISSING_PASSWORD;  // encrypted headers are not read by this library
    pos_ = marker + 7 + block.headSize;
    endOfSet_ = false;
    return ERAR_SUCCESS;
}

int RarSession::NextVolume()
{
    if (!(mainFlags_ & kMainVolume))
        return ERAR_EOPEN;
    std::string next = NextVolumeName(volumeName_, (mainFlags_ & kMainNewNumbering) != 0);
    for (int asks = 0; !Exists(next); ++asks) {
        if (!changeVolume || asks >= kMaxAsks)
            return ERAR_EOPEN;
        char buffer[kRarVolumeNameSize];
        CopyName(buffer, sizeof buffer, next);
        if (changeVolume(buffer, RAR_VOL_ASK) == 0)
            return ERAR_EOPEN;
        next = buffer;
    }
    const int opened = OpenVolume(next);
    if (opened != ERAR_SUCCESS)
        return opened == ERAR_EOPEN ? ERAR_EOPEN : ERAR_BROKEN_CHAIN;
    if (changeVolume) {
        char buffer[kRarVolumeNameSize];
        CopyName(buffer, sizeof buffer, next);
        if (changeVolume(buffer, RAR_VOL_NOTIFY) == 0)
            return ERAR_EOPEN;
    }
    return ERAR_SUCCESS;
}

int RarSession::ReadHeader(RARHeaderData& header)
{
    if (!file_)
        return ERAR_BAD_ARCHIVE;
    if (pending_) {
        const int skipped = SkipData();
        if (skipped != ERAR_SUCCESS)
            return skipped;
    }
    for (;;) {
        if (endOfSet_)
            return ERAR_END_ARCHIVE;
        uint8_t fixed[11] = {};
        const uint64_t left = volumeSize_ > pos_ ? volumeSize_ - pos_ : 0;
        if (left < 7) {
            // Archives before the end block existed simply end; a volume set goes on when the
            // next volume is there.
            const std::string next = NextVolumeName(volumeName_, (mainFlags_ & kMainNewNumbering) != 0);
            if ((mainFlags_ & kMainVolume) && Exists(next)) {
                const int moved = NextVolume();
                if (moved != ERAR_SUCCESS)
                    return moved;
                continue;
            }
            return ERAR_END_ARCHIVE;
        }
        if (ReadAt(pos_, fixed, size_t(std::min<uint64_t>(left, 11))) != ERAR_SUCCESS)
            return ERAR_EREAD;
        BlockHeader block;
        const ParseResult parsed = ParseBlockHeader(std::span<const uint8_t>(fixed, size_t(std::min<uint64_t>(left, 11))), block);
        if (parsed != ParseResult::Ok || block.headSize > left)
            return ERAR_BAD_DATA;
        std::vector<uint8_t> whole(block.headSize);
        if (ReadAt(pos_, whole.data(), whole.size()) != ERAR_SUCCESS)
            return ERAR_EREAD;
        const uint64_t start = pos_;
        const uint64_t next = start + block.headSize + block.dataSize;
        if (block.type == kEndArc) {
            if (!(block.flags & kEndNextVolume)) {
                endOfSet_ = true;
                return ERAR_END_ARCHIVE;
            }
            const int moved = NextVolume();
            if (moved != ERAR_SUCCESS)
                return moved;
            continue;
        }
        if (!HeaderCrcMatches(whole, block))
            return ERAR_BAD_DATA;
        pos_ = next;
        if (block.type != kFileHead)
            continue;  // comments, recovery records, streams and old sub-blocks
        FileHeader file;
        if (ParseFileHeader(whole, file) != ParseResult::Ok)
            return ERAR_BAD_DATA;
        if (file.flags & kSplitBefore)
            continue;  // the rest of an entry whose start is in an earlier volume
        entry_ = file;
        dataPos_ = start + block.headSize;
        pos_ = dataPos_ + file.packSize;
        pending_ = true;

        std::memset(&header, 0, offsetof(RARHeaderData, CmtBuf));
        CopyName(header.ArcName, sizeof header.ArcName, volumeName_);
        CopyName(header.FileName, sizeof header.FileName, file.name);
        header.Flags = file.flags;
        header.PackSize = unsigned(file.packSize);
        header.UnpSize = unsigned(file.unpSize);
        header.HostOS = file.hostOS;
        header.FileCRC = file.fileCRC;
        header.FileTime = file.fileTime;
        header.UnpVer = file.unpVer;
        header.Method = file.method;
        header.FileAttr = file.attr;
        header.CmtSize = 0;
        header.CmtState = 0;
        return ERAR_SUCCESS;
    }
}

int RarSession::WalkData(bool (*sink)(void*, uint8_t*, size_t), void* ctx, uint32_t& crc)
{
    uint32_t reg = 0xFFFFFFFFu;
    FileHeader part = entry_;
    uint64_t at = dataPos_;
    std::vector<uint8_t> buffer(kBlock);
    for (;;) {
        uint64_t left = part.packSize;
        if (at + left > volumeSize_)
            return ERAR_EREAD;
        while (left > 0) {
            const size_t n = size_t(std::min<uint64_t>(left, kBlock));
            if (ReadAt(at, buffer.data(), n) != ERAR_SUCCESS)
                return ERAR_EREAD;
            mx::codec::UpdateCrc32(std::span<const uint8_t>(buffer.data(), n), reg);
            if (sink && !sink(ctx, buffer.data(), n))
                return ERAR_EWRITE;
            at += n;
            left -= n;
        }
        pos_ = at;
        if (!(part.flags & kSplitAfter))
            break;
        // The entry goes on in the next volume, under a header of its own.
        const int moved = NextVolume();
        if (moved != ERAR_SUCCESS)
            return moved;
        uint8_t fixed[11] = {};
        if (volumeSize_ < pos_ + 11 || ReadAt(pos_, fixed, 11) != ERAR_SUCCESS)
            return ERAR_BROKEN_CHAIN;
        BlockHeader block;
        if (ParseBlockHeader(fixed, block) != ParseResult::Ok || block.type != kFileHead ||
            block.headSize > volumeSize_ - pos_)
            return ERAR_BROKEN_CHAIN;
        std::vector<uint8_t> whole(block.headSize);
        if (ReadAt(pos_, whole.data(), whole.size()) != ERAR_SUCCESS || !HeaderCrcMatches(whole, block) ||
            ParseFileHeader(whole, part) != ParseResult::Ok || !(part.flags & kSplitBefore) || part.name != entry_.name)
            return ERAR_BROKEN_CHAIN;
        at = pos_ + block.headSize;
    }
    pos_ = at;
    crc = ~reg;
    // The last part carries the CRC of the whole entry.
    lastPartCrc_ = part.fileCRC;
    return ERAR_SUCCESS;
}

int RarSession::SkipData()
{
    pending_ = false;
    if (!(entry_.flags & kSplitAfter))
        return ERAR_SUCCESS;
    uint32_t crc = 0;
    return WalkData(nullptr, nullptr, crc);
}

namespace {

struct ExtractContext {
    RarSession* session;
    PROCESSDATAPROC processData;
    std::FILE* out;
    bool writeFailed = false;
};

}  // namespace

int RarSession::ProcessFile(int operation, const char* destPath, const char* destName)
{
    if (!file_ || !pending_)
        return ERAR_BAD_ARCHIVE;
    if (operation == RAR_SKIP || entry_.IsDirectory()) {
        const int skipped = SkipData();
        if (skipped == ERAR_SUCCESS && operation == RAR_EXTRACT && entry_.IsDirectory()) {
            const std::string folder = destName ? destName : (destPath ? destPath : "");
            if (!folder.empty() && !MakeFolder(folder))
                return ERAR_ECREATE;
        }
        return skipped;
    }
    if (entry_.flags & kFileEncrypted) {
        // The handle stays on the entry, so a password set afterwards can retry it.
        if (password.empty())
            return ERAR_MISSING_PASSWORD;
        const int skipped = SkipData();
        return skipped == ERAR_SUCCESS ? ERAR_UNKNOWN_FORMAT : skipped;
    }
    if (entry_.method != 0x30) {
        const int skipped = SkipData();  // compressed data is not decoded by this library
        return skipped == ERAR_SUCCESS ? ERAR_UNKNOWN_FORMAT : skipped;
    }
    pending_ = false;
    std::string outName;
    ExtractContext ctx{this, processData, nullptr};
    if (operation == RAR_EXTRACT) {
        outName = destName ? destName : std::string(destPath ? destPath : "") + entry_.name;
        ctx.out = std::fopen(outName.c_str(), "wb");
        if (!ctx.out) {
            pending_ = true;
            const int skipped = SkipData();
            return skipped == ERAR_SUCCESS ? ERAR_ECREATE : skipped;
        }
    }
    const auto sink = [](void* p, uint8_t* data, size_t size) {
        auto& c = *static_cast<ExtractContext*>(p);
        if (c.out && std::fwrite(data, 1, size, c.out) != size) {
            c.writeFailed = true;
            return false;
        }
        // The caller's answer 0 stops the entry.
        return !c.processData || c.processData(data, int(size)) != 0;
    };
    uint32_t crc = 0;
    const FileHeader first = entry_;
    int result = WalkData(sink, &ctx, crc);
    if (result == ERAR_EWRITE && !ctx.writeFailed)
        result = ERAR_EOPEN;  // stopped by the caller
    if (result == ERAR_SUCCESS && crc != lastPartCrc_)
        result = ERAR_BAD_DATA;
    if (ctx.out) {
        if (std::fclose(ctx.out) != 0 && result == ERAR_SUCCESS)
            result = ERAR_EWRITE;
        if (result == ERAR_SUCCESS)
            SetFileInfo(outName, first.fileTime, first.attr);
        else if (result != ERAR_BAD_DATA)
            std::remove(outName.c_str());
    }
    return result;
}

}  // namespace unrar
