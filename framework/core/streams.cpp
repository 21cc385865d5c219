#include "framework/core/streams.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"

namespace fw {

namespace {

std::string WithName(const char* pattern, const std::string& name) {
    std::string s = pattern;
    const size_t at = s.find("%s");
    return at == std::string::npos ? s : s.replace(at, 2, name);
}

SeekOrigin ToOrigin(int origin) {
    switch (origin) {
        case soFromBeginning: return SeekOrigin::Begin;
        case soFromCurrent: return SeekOrigin::Current;
        case soFromEnd: return SeekOrigin::End;
        default: throw EStreamError("Invalid seek origin");
    }
}

}  // namespace

int64_t TStream::Size() {
    const int64_t pos = Seek(0, soFromCurrent);
    const int64_t end = Seek(0, soFromEnd);
    Seek(pos, soFromBeginning);
    return end;
}

void TStream::SetSize(int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count < 0 || (count != 0 && Read(buffer, count) != count)) throw EReadError(SReadError);
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count < 0 || (count != 0 && Write(buffer, count) != count)) throw EWriteError(SWriteError);
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const int64_t total = count;
    std::vector<char> buffer(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)) + 1);
    while (count > 0) {
        const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

std::string TStream::ReadString(int64_t count) {
    std::string s(static_cast<size_t>(count), '\0');
    ReadBuffer(s.data(), count);
    return s;
}

// ---------------------------------------------------------------------------------------------

TBufferedStream::TBufferedStream(TStream& target, size_t bufferSize)
    : target_(target), buffer_(bufferSize), position_(target.Position()) {}

bool TBufferedStream::Flush() {
    if (fill_ > 0 && !failed_) {
        const int64_t n = target_.Write(buffer_.data(), static_cast<int64_t>(fill_));
        failed_ = n != static_cast<int64_t>(fill_);
        position_ += n;
    }
    fill_ = 0;
    return !failed_;
}

int64_t TBufferedStream::Write(const void* buffer, int64_t count) {
    if (failed_ || count <= 0) return 0;
    if (fill_ + static_cast<size_t>(count) > buffer_.size()) {
        if (!Flush()) return 0;
        // A piece at least as large as the buffer goes on at once.
        if (static_cast<size_t>(count) >= buffer_.size()) {
            const int64_t n = target_.Write(buffer, count);
            position_ += n;
            failed_ = n != count;
            return n;
        }
    }
    std::memcpy(buffer_.data() + fill_, buffer, static_cast<size_t>(count));
    fill_ += static_cast<size_t>(count);
    return count;
}

int64_t TBufferedStream::Read(void* buffer, int64_t count) {
    if (!Flush()) return 0;
    const int64_t n = target_.Read(buffer, count);
    position_ = target_.Position();
    return n;
}

int64_t TBufferedStream::Seek(int64_t offset, int origin) {
    if (offset == 0 && origin == soFromCurrent) return position_ + static_cast<int64_t>(fill_);
    if (!Flush()) return -1;
    position_ = target_.Seek(offset, origin);
    return position_;
}

int64_t TBufferedStream::Size() {
    Flush();
    return target_.Size();
}

void TBufferedStream::SetSize(int64_t size) {
    if (!Flush()) throw EWriteError(SWriteError);
    target_.SetSize(size);
    position_ = target_.Position();
}

// ---------------------------------------------------------------------------------------------

int64_t THandleStream::Read(void* buffer, int64_t count) {
    const int64_t n = Fs().Read(handle_, buffer, count);
    return n < 0 ? 0 : n;
}

int64_t THandleStream::Write(const void* buffer, int64_t count) {
    const int64_t n = Fs().Write(handle_, buffer, count);
    return n < 0 ? 0 : n;
}

int64_t THandleStream::Seek(int64_t offset, int origin) {
    const int64_t r = Fs().Seek(handle_, offset, ToOrigin(origin));
    if (r < 0) throw EStreamError("Stream seek error");
    return r;
}

void THandleStream::SetSize(int64_t size) {
    const int64_t pos = Position();
    if (!Fs().SetSize(handle_, size)) throw EWriteError(SWriteError);
    if (pos > size) Seek(size, soFromBeginning);
}

// ---------------------------------------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, uint32_t mode) : THandleStream(kInvalidFile), fileName_(fileName) {
    FileShare share = FileShare::Compat;
    switch (mode & 0xF0) {
        case fmShareExclusive: share = FileShare::Exclusive; break;
        case fmShareDenyWrite: share = FileShare::DenyWrite; break;
        case fmShareDenyRead: share = FileShare::DenyRead; break;
        case fmShareDenyNone: share = FileShare::DenyNone; break;
        default: break;
    }
    if (mode == fmCreate || (mode & 0xFF00) == 0xFF00) {
        handle_ = Fs().Open(fileName, FileAccess::ReadWrite, mode == fmCreate ? FileShare::Exclusive : share,
                            FileCreate::CreateAlways);
        if (handle_ == kInvalidFile) throw EFCreateError(WithName(SFCreateError, fileName));
        return;
    }
    FileAccess access = FileAccess::Read;
    switch (mode & 0x0F) {
        case fmOpenWrite: access = FileAccess::Write; break;
        case fmOpenReadWrite: access = FileAccess::ReadWrite; break;
        default: break;
    }
    handle_ = Fs().Open(fileName, access, share, FileCreate::OpenExisting);
    if (handle_ == kInvalidFile) throw EFOpenError(WithName(SFOpenError, fileName));
}

TFileStream::~TFileStream() {
    if (handle_ != kInvalidFile) Fs().Close(handle_);
}

// ---------------------------------------------------------------------------------------------

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    const int64_t size = Size();
    if (count <= 0 || position_ >= size) return 0;
    const int64_t n = std::min(count, size - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    const int64_t end = position_ + count;
    if (end > Size()) {
        try {
            data_.resize(static_cast<size_t>(end));
        } catch (const std::bad_alloc&) {
            throw EOutOfMemory("Out of memory while expanding memory stream");
        }
    }
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ = end;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, int origin) {
    int64_t base = 0;
    switch (ToOrigin(origin)) {
        case SeekOrigin::Begin: base = 0; break;
        case SeekOrigin::Current: base = position_; break;
        case SeekOrigin::End: base = Size(); break;
    }
    const int64_t target = base + offset;
    if (target < 0) throw EStreamError("Stream seek error");
    position_ = target;
    return position_;
}

void TMemoryStream::SetSize(int64_t size) {
    if (size < 0) throw EStreamError("Invalid stream size");
    try {
        data_.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory("Out of memory while expanding memory stream");
    }
    position_ = std::min(position_, size);
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const int64_t size = source.Size();
    SetSize(size);
    if (size) source.ReadBuffer(data_.data(), size);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
    if (!data_.empty()) dest.WriteBuffer(data_.data(), Size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

}  // namespace fw
