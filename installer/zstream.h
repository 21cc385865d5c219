// Compression over zlib: a write-only stream that deflates whatever is written to it into a
// destination stream at the destination's position, and the inflater the archive container reads with.
// Output is zlib's standard format (RFC 1950 header, deflate data, Adler-32 trailer).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/core/streams.h"

namespace inst {

enum class TCompressionLevel { colNone, colFastest, colDefault, colMax };
// 0, 1, Z_DEFAULT_COMPRESSION (-1) and 9.
int ZlibLevel(TCompressionLevel level);

// The two result checks: 0 or more comes back unchanged, a negative result raises fw::Exception "error".
int CCheck(int code);
int DCheck(int code);

struct ZState;

class TCustomZlibStream : public fw::TStream {
public:
    ~TCustomZlibStream() override;
    // Runs once per 64 KiB block written to the destination.
    std::function<void()> OnProgress;

protected:
    explicit TCustomZlibStream(fw::TStream& dest);
    fw::TStream& dest_;
    int64_t destPos_;  // where the next output goes
    std::unique_ptr<ZState> z_;
};

class TCompressionStream : public TCustomZlibStream {
public:
    static constexpr int kBufferSize = 65536;

    TCompressionStream(TCompressionLevel level, fw::TStream& dest);
    // Finishes the stream when Finish was not called; errors are lost then.
    ~TCompressionStream() override;

    int64_t Write(const void* buffer, int64_t count) override;
    // Raises fw::Exception "Invalid stream operation".
    int64_t Read(void* buffer, int64_t count) override;
    // Only Seek(0, soFromCurrent): the bytes written to the stream so far.
    int64_t Seek(int64_t offset, int origin) override;

    // Flushes the rest of the compressed data; raises on a zlib or write failure.
    void Finish();
    int64_t TotalIn() const;
    int64_t TotalOut() const;

private:
    void PutBack();
    void WriteOut(size_t count);

    std::vector<uint8_t> buffer_;
    bool finished_ = false;
};

// zlib results the callers look at.
constexpr int kZStreamEnd = 1;
constexpr int kZNeedDict = 2;
constexpr int kZBufError = -5;

// A zlib inflater over caller-owned buffers. Step returns zlib's result; a Z_BUF_ERROR (-5) only means
// that no progress was possible with the input and output given, so callers that ran out of either
// simply go on.
class Inflater {
public:
    Inflater();
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    void SetInput(const uint8_t* data, size_t size);
    size_t AvailIn() const;
    void SetOutput(uint8_t* data, size_t size);
    size_t AvailOut() const;
    int Step();  // inflate without flushing
    int64_t TotalOut() const;

private:
    std::unique_ptr<ZState> z_;
};

}  // namespace inst
