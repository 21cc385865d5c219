// Byte streams with 64-bit positions: the abstract TStream, streams over open file handles, files
// opened by name, and growable memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/platform.h"

namespace fw {

// The stream messages; the file ones take the file name.
constexpr const char* SFOpenError = "Cannot open file %s";
constexpr const char* SFCreateError = "Cannot create file %s";
constexpr const char* SReadError = "Stream read error";
constexpr const char* SWriteError = "Stream write error";

// Seek origins, numbered as the system's.
constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream {
public:
    virtual ~TStream() = default;
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Move up to count bytes; return the count moved (0 at the end, never negative).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position. Origin is soFromBeginning, soFromCurrent or soFromEnd.
    virtual int64_t Seek(int64_t offset, int origin) = 0;

    int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
    virtual int64_t Size();
    // Truncates or extends; raises EStreamError when the stream cannot.
    virtual void SetSize(int64_t size);

    // Move exactly count bytes or raise EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source's position; count 0 copies the whole of source from its start.
    // Returns the count copied.
    int64_t CopyFrom(TStream& source, int64_t count);

    // Little helpers for whole strings of bytes.
    std::string ReadString(int64_t count);
    void WriteString(const std::string& bytes) { WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
};

// A stream over a handle owned by someone else (THandleStream does not close it).
class THandleStream : public TStream {
public:
    explicit THandleStream(FileHandle handle) : handle_(handle) {}
    FileHandle Handle() const { return handle_; }

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    void SetSize(int64_t size) override;

protected:
    FileHandle handle_;
};

// Open modes: one access mode or fmCreate, combined with one share mode.
constexpr uint32_t fmCreate = 0xFFFF;  // create or truncate, read-write
constexpr uint32_t fmOpenRead = 0x0000;
constexpr uint32_t fmOpenWrite = 0x0001;
constexpr uint32_t fmOpenReadWrite = 0x0002;
constexpr uint32_t fmShareCompat = 0x0000;
constexpr uint32_t fmShareExclusive = 0x0010;
constexpr uint32_t fmShareDenyWrite = 0x0020;
constexpr uint32_t fmShareDenyRead = 0x0030;
constexpr uint32_t fmShareDenyNone = 0x0040;

// A file opened by name; closed on destruction. A failed open raises EFOpenError "Cannot open file
// <name>", a failed create EFCreateError "Cannot create file <name>".
class TFileStream : public THandleStream {
public:
    TFileStream(const std::string& fileName, uint32_t mode);
    ~TFileStream() override;
    const std::string& FileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Collects what is written to another stream and hands it on in large pieces. Asking the position
// costs nothing; reading, any other seek and changing the size hand on what is pending first. Once
// the other stream takes fewer bytes than it is given, every later write takes nothing and Flush
// answers false. Whatever is still pending when this stream is destroyed is dropped, so that it never
// touches the other stream then: call Flush once the writing is done.
class TBufferedStream : public TStream {
public:
    explicit TBufferedStream(TStream& target, size_t bufferSize = 262144);

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    int64_t Size() override;
    void SetSize(int64_t size) override;
    // Hands on what is pending; false when the other stream failed to take all that was given.
    bool Flush();

private:
    TStream& target_;
    std::vector<uint8_t> buffer_;
    size_t fill_ = 0;
    int64_t position_;  // of the first pending byte in the other stream
    bool failed_ = false;
};

// A growable block of memory. Memory() stays valid until the next write or SetSize.
class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override;
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    void SetSize(int64_t size) override;

    uint8_t* Memory() { return data_.data(); }
    const std::vector<uint8_t>& Data() const { return data_; }
    void Clear();
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& dest);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

}  // namespace fw
