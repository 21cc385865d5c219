// Buffered byte input and output for the stream decoders of the older formats. The input pulls blocks
// through a callback and stops at a byte limit (the entry's compressed size); the output collects bytes
// and hands full blocks to a callback that may refuse them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace engine {

class ByteInput {
public:
    // Fill copies up to Count bytes into Buffer and returns how many it copied (0 at the end).
    using Fill = std::function<size_t(uint8_t* buffer, size_t count)>;

    ByteInput(Fill fill, uint64_t limit, size_t blockSize = 32768)
        : fill_(std::move(fill)), left_(limit), buffer_(blockSize) {}

    // The next byte, or -1 once the limit or the data is used up.
    int Get()
    {
        if (pos_ == end_ && !Refill())
            return -1;
        return buffer_[pos_++];
    }
    // Copies up to Count bytes to Out, as Count calls of Get would; returns how many it copied.
    size_t Take(uint8_t* out, size_t count)
    {
        size_t done = 0;
        while (done < count && (pos_ < end_ || Refill())) {
            const size_t n = std::min(count - done, end_ - pos_);
            std::memcpy(out + done, buffer_.data() + pos_, n);
            pos_ += n;
            done += n;
        }
        return done;
    }
    // Bytes taken by Get so far.
    uint64_t Taken() const { return taken_ - (end_ - pos_); }
    bool AtEnd() { return pos_ == end_ && !Refill(); }

private:
    bool Refill()
    {
        if (left_ == 0 || ended_)
            return false;
        const size_t want = left_ < buffer_.size() ? static_cast<size_t>(left_) : buffer_.size();
        const size_t got = fill_(buffer_.data(), want);
        if (got == 0) {
            ended_ = true;
            return false;
        }
        left_ -= got;
        taken_ += got;
        pos_ = 0;
        end_ = got;
        return true;
    }

    Fill fill_;
    uint64_t left_;
    uint64_t taken_ = 0;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0, end_ = 0;
    bool ended_ = false;
};

class ByteOutput {
public:
    // Sink takes Count bytes; false when it could not (the output then stops taking bytes).
    using Sink = std::function<bool(const uint8_t* data, size_t count)>;

    explicit ByteOutput(Sink sink, size_t blockSize = 16384) : sink_(std::move(sink)), buffer_(blockSize) {}

    void Put(uint8_t byte)
    {
        buffer_[fill_++] = byte;
        ++written_;
        if (fill_ == buffer_.size())
            Flush();
    }
    // As Count calls of Put.
    void Write(const uint8_t* data, size_t count)
    {
        written_ += count;
        while (count > 0) {
            const size_t n = std::min(count, buffer_.size() - fill_);
            std::memcpy(buffer_.data() + fill_, data, n);
            fill_ += n;
            data += n;
            count -= n;
            if (fill_ == buffer_.size())
                Flush();
        }
    }
    // Room for Count bytes written in place, then handed on by Commit: for a producer that writes
    // its bytes back to front.
    uint8_t* Reserve(size_t count)
    {
        if (buffer_.size() - fill_ < count) {
            Flush();
            if (buffer_.size() < count)
                buffer_.resize(count);
        }
        return buffer_.data() + fill_;
    }
    void Commit(size_t count)
    {
        fill_ += count;
        written_ += count;
        if (fill_ == buffer_.size())
            Flush();
    }
    // Hands the pending bytes to the sink; false once any hand-over failed.
    bool Flush()
    {
        if (fill_ > 0 && !failed_ && !sink_(buffer_.data(), fill_))
            failed_ = true;
        fill_ = 0;
        return !failed_;
    }
    bool Failed() const { return failed_; }
    uint64_t Written() const { return written_; }

private:
    Sink sink_;
    std::vector<uint8_t> buffer_;
    size_t fill_ = 0;
    uint64_t written_ = 0;
    bool failed_ = false;
};

}  // namespace engine
