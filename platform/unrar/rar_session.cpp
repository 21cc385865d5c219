#include "platform/unrar/rar_session.h"

#include <algorithm>
#include <cstring>

#include "engine/codec/aes.h"
#include "platform/unrar/rar_text.h"

namespace unrar {

namespace {

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

void RarSession::SetPassword(const std::string& value)
{
    if (value != password_)
        keys_.clear();
    password_ = value;
}

const mx::codec::RarAesKey& RarSession::AesKey(const uint8_t* salt)
{
    // Deriving a key takes 2^18 SHA-1 rounds; archives use few salts, so keys are kept by salt.
    const std::string id = salt ? std::string(reinterpret_cast<const char*>(salt), 8) : std::string();
    auto it = keys_.find(id);
    if (it == keys_.end())
        it = keys_.emplace(id, mx::codec::DeriveRarAesKey(ToUtf16(password_), salt)).first;
    return it->second;
}

int RarSession::Open(const std::string& name)
{
    volumes_.clear();
    const int opened = OpenVolume(name);
    if (opened == ERAR_SUCCESS) {
        volumes_.push_back(name);
        volumeIndex_ = 0;
        solidArchive_ = (mainFlags_ & kMainSolid) != 0;
    }
    return opened;
}

int RarSession::OpenVolume(const std::string& name)
{
    Close();
    file_ = std::fopen(name.c_str(), "rb");
    if (!file_)
        return ERAR_EOPEN;
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
    pos_ = marker + 7 + block.headSize;
    endOfSet_ = false;
    return ERAR_SUCCESS;
}

int RarSession::OpenKnownVolume(size_t index)
{
    const int opened = OpenVolume(volumes_[index]);
    if (opened == ERAR_SUCCESS)
        volumeIndex_ = index;
    return opened;
}

int RarSession::NextVolume()
{
    if (!(mainFlags_ & kMainVolume))
        return ERAR_EOPEN;
    if (volumeIndex_ + 1 < volumes_.size())
        return OpenKnownVolume(volumeIndex_ + 1);
    std::string next = NextVolumeName(volumes_[volumeIndex_], (mainFlags_ & kMainNewNumbering) != 0);
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
    volumes_.push_back(next);
    volumeIndex_ = volumes_.size() - 1;
    if (changeVolume) {
        char buffer[kRarVolumeNameSize];
        CopyName(buffer, sizeof buffer, next);
        if (changeVolume(buffer, RAR_VOL_NOTIFY) == 0)
            return ERAR_EOPEN;
    }
    return ERAR_SUCCESS;
}

//  Encrypted headers (main flag 0x0080), every block after the main header:
//    +0   8  salt, in clear
//    +8   n  the header, AES-128-CBC with the key and IV derived from password and salt, padded
//            to whole 16-byte blocks (n = HEAD_SIZE rounded up to 16); the CBC chain restarts
//            for every header. The block's data (if any) follow, encrypted per file as usual.
int RarSession::ReadBlock(uint64_t pos, BlockHeader& block, std::vector<uint8_t>& whole, uint64_t& dataPos)
{
    const uint64_t left = volumeSize_ > pos ? volumeSize_ - pos : 0;
    if (!(mainFlags_ & kMainPassword)) {
        uint8_t fixed[11] = {};
        if (left < 7)
            return ERAR_EREAD;
        const size_t n = size_t(std::min<uint64_t>(left, 11));
        if (ReadAt(pos, fixed, n) != ERAR_SUCCESS)
            return ERAR_EREAD;
        if (ParseBlockHeader(std::span<const uint8_t>(fixed, n), block) != ParseResult::Ok || block.headSize > left)
            return ERAR_BAD_DATA;
        whole.resize(block.headSize);
        if (ReadAt(pos, whole.data(), whole.size()) != ERAR_SUCCESS)
            return ERAR_EREAD;
        dataPos = pos + block.headSize;
        return ERAR_SUCCESS;
    }
    if (password_.empty())
        return ERAR_MISSING_PASSWORD;
    uint8_t salt[8], first[16];
    if (left < 24 || ReadAt(pos, salt, 8) != ERAR_SUCCESS || ReadAt(pos + 8, first, 16) != ERAR_SUCCESS)
        return ERAR_EREAD;
    const mx::codec::RarAesKey& key = AesKey(salt);
    mx::codec::AesCbcDecryptor probe(key.key, key.iv);
    probe.Decrypt(first);
    // A wrong password shows as a header that does not parse or whose CRC fails.
    if (ParseBlockHeader(std::span<const uint8_t>(first, 16), block) != ParseResult::Ok)
        return ERAR_BAD_DATA;
    const uint64_t padded = (uint64_t(block.headSize) + 15) & ~uint64_t(15);
    if (padded > left - 8)
        return ERAR_BAD_DATA;
    whole.resize(size_t(padded));
    if (ReadAt(pos + 8, whole.data(), whole.size()) != ERAR_SUCCESS)
        return ERAR_EREAD;
    mx::codec::AesCbcDecryptor cbc(key.key, key.iv);
    cbc.Decrypt(whole);
    whole.resize(block.headSize);
    dataPos = pos + 8 + padded;
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
        // The smallest block: a generic header, or a salt and one cipher block.
        const uint64_t smallest = (mainFlags_ & kMainPassword) ? 24 : 7;
        const uint64_t left = volumeSize_ > pos_ ? volumeSize_ - pos_ : 0;
        if (left < smallest) {
            // Archives before the end block existed simply end; a volume set goes on when the
            // next volume is there.
            const std::string next = NextVolumeName(volumes_[volumeIndex_], (mainFlags_ & kMainNewNumbering) != 0);
            if ((mainFlags_ & kMainVolume) && (volumeIndex_ + 1 < volumes_.size() || Exists(next))) {
                const int moved = NextVolume();
                if (moved != ERAR_SUCCESS)
                    return moved;
                continue;
            }
            return ERAR_END_ARCHIVE;
        }
        BlockHeader block;
        std::vector<uint8_t> whole;
        uint64_t dataPos = 0;
        const int read = ReadBlock(pos_, block, whole, dataPos);
        if (read != ERAR_SUCCESS)
            return read;
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
        pos_ = dataPos + block.dataSize;
        if (block.type != kFileHead)
            continue;  // comments, recovery records, streams and old sub-blocks
        FileHeader file;
        if (ParseFileHeader(whole, file) != ParseResult::Ok)
            return ERAR_BAD_DATA;
        if (file.flags & kSplitBefore)
            continue;  // the rest of an entry whose start is in an earlier volume
        entry_ = EntryPlace{volumeIndex_, dataPos, file};
        pos_ = dataPos + file.packSize;
        pending_ = true;
        walkEndKnown_ = !(file.flags & kSplitAfter);
        walkEndVolume_ = volumeIndex_;
        walkEndPos_ = pos_;

        // A compressed entry joins the solid stream of the entries before it, or starts a new one.
        entryInStream_ = file.method != 0x30 && !file.IsDirectory();
        if (entryInStream_) {
            const bool lastIs15 = !stream_.empty() && stream_.back().place.header.unpVer <= 15;
            entrySolid_ = file.unpVer <= 15 ? solidArchive_ && lastIs15 : (file.flags & kFileSolid) != 0;
            if (!entrySolid_) {
                stream_.clear();
                decodedUpTo_ = 0;
            }
            stream_.push_back(StreamEntry{entry_, false, {}, false, {}});
        }

        std::memset(&header, 0, offsetof(RARHeaderData, CmtBuf));
        CopyName(header.ArcName, sizeof header.ArcName, volumes_[volumeIndex_]);
        CopyName(header.FileName, sizeof header.FileName, file.wideName.empty() ? file.name : ToOemName(file.wideName, file.name));
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

}  // namespace unrar
