// Testing and extracting the pending entry: stored data copied, compressed data decoded, both
// decrypted when the entry is encrypted and checked against the CRC its last part stores.
#include <algorithm>
#include <cstring>

#include "engine/codec/crc32.h"
#include "platform/unrar/rar_session.h"
#include "platform/unrar/rar_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/time.h>
#include <cerrno>
#include <ctime>
#endif

namespace unrar {

using mx::codec::Status;

namespace {

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

// The output of an entry being tested or extracted: the file, then the caller's data callback,
// whose answer 0 stops the entry. Blocks reach the callback in pieces of at most 64 KB.
class EntrySink final : public mx::codec::ByteSink {
public:
    EntrySink(std::FILE* out, PROCESSDATAPROC callback) : out_(out), callback_(callback) {}
    Status Write(std::span<const uint8_t> block) noexcept override
    {
        if (out_ && std::fwrite(block.data(), 1, block.size(), out_) != block.size()) {
            writeFailed = true;
            return Status::OutputFull;
        }
        for (size_t at = 0; callback_ && at < block.size(); at += 0x10000) {
            const size_t n = std::min<size_t>(0x10000, block.size() - at);
            if (callback_(const_cast<uint8_t*>(block.data() + at), int(n)) == 0) {
                stopped = true;
                return Status::Cancelled;
            }
        }
        return Status::Ok;
    }
    bool writeFailed = false;
    bool stopped = false;

private:
    std::FILE* out_;
    PROCESSDATAPROC callback_;
};

class NullSink final : public mx::codec::ByteSink {
public:
    Status Write(std::span<const uint8_t>) noexcept override { return Status::Ok; }
};

// Passes blocks on and keeps the CRC-32 of them.
class CrcSink final : public mx::codec::ByteSink {
public:
    explicit CrcSink(mx::codec::ByteSink& inner) : inner_(inner) {}
    Status Write(std::span<const uint8_t> block) noexcept override
    {
        crc.Update(block);
        return inner_.Write(block);
    }
    mx::codec::Crc32Register crc;

private:
    mx::codec::ByteSink& inner_;
};

bool UnknownSize(const FileHeader& h)
{
    return (h.flags & kLarge) ? h.unpSize == UINT64_MAX : h.unpSize == 0xFFFFFFFFu;
}

// The result code of a codec status.
int ResultOf(Status st)
{
    switch (st) {
    case Status::Ok: return ERAR_SUCCESS;
    case Status::NoMemory: return ERAR_NO_MEMORY;
    case Status::OutputFull: return ERAR_EWRITE;
    case Status::Cancelled: return ERAR_EOPEN;  // the caller stopped the entry
    default: return ERAR_BAD_DATA;
    }
}

}  // namespace

std::unique_ptr<mx::codec::RarDecryptor> RarSession::MakeDecryptor(const FileHeader& h, const std::string& pw)
{
    const uint8_t* salt = h.hasSalt ? h.salt : nullptr;
    if (h.unpVer == 13 || h.unpVer == 15 || h.unpVer == 20 || h.unpVer == 26)
        return mx::codec::RarDecryptor::Make(h.unpVer, pw, {}, salt);
    if (pw == password_)
        return mx::codec::RarDecryptor::MakeAes(AesKey(salt));
    return mx::codec::RarDecryptor::MakeAes(mx::codec::DeriveRarAesKey(ToUtf16(pw), salt));
}

int RarSession::FinishWalk(PackedReader* reader)
{
    if (walkEndKnown_) {
        if (volumeIndex_ != walkEndVolume_) {
            const int opened = OpenKnownVolume(walkEndVolume_);
            if (opened != ERAR_SUCCESS)
                return opened;
        }
        pos_ = walkEndPos_;
        return ERAR_SUCCESS;
    }
    if (!reader || !reader->AtEnd()) {
        PackedReader own(*this, entry_);
        const int skipped = (reader ? *reader : own).SkipRest();
        if (skipped != ERAR_SUCCESS)
            return skipped;
    }
    walkEndKnown_ = true;
    walkEndVolume_ = volumeIndex_;
    walkEndPos_ = pos_;
    return ERAR_SUCCESS;
}

int RarSession::SkipData()
{
    pending_ = false;
    return FinishWalk(nullptr);
}

int RarSession::Unstore(const EntryPlace& place, const std::string& pw, mx::codec::ByteSink& sink, PackedReader& reader)
{
    const FileHeader& h = place.header;
    PackedSource source(reader, (h.flags & kFileEncrypted) ? MakeDecryptor(h, pw) : nullptr);
    CrcSink checked(sink);
    uint64_t left = h.unpSize;
    for (;;) {
        std::span<const uint8_t> block;
        const Status st = source.Read(block);
        if (st == Status::End)
            break;
        if (st != Status::Ok)
            return source.Error() ? source.Error() : ERAR_EREAD;
        const size_t n = size_t(std::min<uint64_t>(left, block.size()));
        if (n) {
            const Status written = checked.Write(block.first(n));
            if (written != Status::Ok)
                return ResultOf(written);
            left -= n;
        }
    }
    return left == 0 && checked.crc.Value() == reader.Part().fileCRC ? ERAR_SUCCESS : ERAR_BAD_DATA;
}

int RarSession::Decode(const EntryPlace& place, bool solid, const std::string& pw, mx::codec::ByteSink& sink,
                       PackedReader& reader)
{
    const FileHeader& h = place.header;
    PackedSource source(reader, (h.flags & kFileEncrypted) ? MakeDecryptor(h, pw) : nullptr);
    CrcSink checked(sink);
    mx::codec::RarUnpackParams params;
    params.version = h.unpVer;
    params.dictionary = h.Dictionary();
    params.solid = solid;
    params.size = UnknownSize(h) ? mx::codec::RarUnpackParams::kUnknownSize : h.unpSize;
    const Status st = unpacker_.Unpack(source, checked, params);
    if (source.Error()) {
        unpacker_.Reset();
        return source.Error();
    }
    if (st != Status::Ok) {
        // A filter program of its own is a format this library does not run.
        if (st == Status::BadData && unpacker_.UnknownFilter())
            return ERAR_UNKNOWN_FORMAT;
        return ResultOf(st);
    }
    // The decoder may stop before the end of the packed data (cipher padding): the CRC is in the
    // last part's header.
    if (!reader.AtEnd()) {
        const int skipped = reader.SkipRest();
        if (skipped != ERAR_SUCCESS)
            return skipped;
    }
    if (checked.crc.Value() == reader.Part().fileCRC)
        return ERAR_SUCCESS;
    // Output that fails its CRC (a wrong password can decode without a fault) leaves a window the
    // next solid entry must not continue.
    unpacker_.Reset();
    return ERAR_BAD_DATA;
}

int RarSession::CatchUp(size_t index)
{
    if (decodedUpTo_ == index && (index == 0 || unpacker_.CanContinue()))
        return ERAR_SUCCESS;
    size_t from = decodedUpTo_;
    if (from > index || (from > 0 && !unpacker_.CanContinue()))
        from = 0;
    // An entry before this one that failed with the password it would get again fails the catch-up
    // at once: damaged data would otherwise be decoded again for every later entry.
    for (size_t k = from; k < index; ++k) {
        const StreamEntry& e = stream_[k];
        if (e.failed && e.failedWith == (e.decoded ? e.password : password_))
            return ERAR_BAD_DATA;
    }
    for (size_t k = from; k < index; ++k) {
        StreamEntry& e = stream_[k];
        const std::string pw = e.decoded ? e.password : password_;
        if ((e.place.header.flags & kFileEncrypted) && pw.empty()) {
            decodedUpTo_ = k;
            return ERAR_BAD_DATA;
        }
        NullSink discard;
        PackedReader reader(*this, e.place);
        const int decoded = Decode(e.place, k > 0, pw, discard, reader);
        if (decoded != ERAR_SUCCESS) {
            decodedUpTo_ = k;
            unpacker_.Reset();
            e.failed = true;
            e.failedWith = pw;
            return decoded;
        }
        e.decoded = true;
        e.password = pw;
        decodedUpTo_ = k + 1;
    }
    return ERAR_SUCCESS;
}

int RarSession::ProcessFile(int operation, const char* destPath, const char* destName)
{
    if (!file_ || !pending_)
        return ERAR_BAD_ARCHIVE;
    const FileHeader h = entry_.header;
    if (operation == RAR_SKIP || h.IsDirectory()) {
        const int skipped = SkipData();
        if (skipped == ERAR_SUCCESS && operation == RAR_EXTRACT && h.IsDirectory()) {
            const std::string folder = destName ? destName : (destPath ? destPath : "");
            if (!folder.empty() && !MakeFolder(folder))
                return ERAR_ECREATE;
        }
        return skipped;
    }
    const bool encrypted = (h.flags & kFileEncrypted) != 0;
    // The handle stays on the entry, so a password set afterwards can retry it.
    if (encrypted && password_.empty())
        return ERAR_MISSING_PASSWORD;
    if (h.method != 0x30 && !mx::codec::RarUnpacker::Supports(h.unpVer)) {
        const int skipped = SkipData();
        return skipped == ERAR_SUCCESS ? ERAR_UNKNOWN_FORMAT : skipped;
    }
    std::string outName;
    std::FILE* out = nullptr;
    if (operation == RAR_EXTRACT) {
        outName = destName ? destName : std::string(destPath ? destPath : "") + h.name;
        out = std::fopen(outName.c_str(), "wb");
        if (!out) {
            const int skipped = SkipData();
            return skipped == ERAR_SUCCESS ? ERAR_ECREATE : skipped;
        }
    }
    EntrySink sink(out, processData);
    PackedReader reader(*this, entry_);
    int result = ERAR_SUCCESS;
    if (h.method == 0x30) {
        result = Unstore(entry_, password_, sink, reader);
    } else {
        const size_t index = stream_.size() - 1;
        result = entrySolid_ ? CatchUp(index) : ERAR_SUCCESS;
        if (result == ERAR_SUCCESS)
            result = Decode(entry_, entrySolid_, password_, sink, reader);
        if (result == ERAR_SUCCESS) {
            stream_[index].decoded = true;
            stream_[index].password = password_;
            decodedUpTo_ = index + 1;
        } else {
            decodedUpTo_ = std::min(decodedUpTo_, index);
            if (result == ERAR_BAD_DATA) {
                stream_[index].failed = true;
                stream_[index].failedWith = password_;
            }
        }
    }
    if (sink.writeFailed)
        result = ERAR_EWRITE;
    else if (sink.stopped)
        result = ERAR_EOPEN;
    const int walked = FinishWalk(&reader);
    if (result == ERAR_SUCCESS)
        result = walked;
    // A wrong password leaves the entry pending: the caller may set another one and try again.
    pending_ = encrypted && result == ERAR_BAD_DATA;
    if (out) {
        if (std::fclose(out) != 0 && result == ERAR_SUCCESS)
            result = ERAR_EWRITE;
        if (result == ERAR_SUCCESS)
            SetFileInfo(outName, h.fileTime, h.attr);
        else if (result != ERAR_BAD_DATA || encrypted)
            std::remove(outName.c_str());  // no half-written file, nor what a wrong key gave
    }
    return result;
}

}  // namespace unrar
