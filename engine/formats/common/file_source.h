// A random-access source over an open archive file, for the header readers that work on
// ReadAtSource. It remembers whether a read failed, so a run can tell a damaged disk from the end of
// the data.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "engine/formats/common/read_source.h"
#include "framework/core/platform.h"

namespace engine {

class FileReadSource final : public ReadAtSource {
public:
    FileReadSource(fw::FileHandle handle, uint64_t size) : handle_(handle), size_(size) {}

    uint64_t Size() const override { return size_; }
    // Small reads (header fields, names) are served from one block read ahead, so a walk over a
    // directory costs one system read per block instead of several per record.
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override
    {
        if (offset >= size_ || out.empty())
            return 0;
        if (out.size() >= kBlock)
            return ReadThrough(offset, out);
        if (offset < cacheStart_ || offset + out.size() > cacheStart_ + cacheLength_) {
            cache_.resize(kBlock);
            cacheStart_ = offset;
            cacheLength_ = ReadThrough(offset, {cache_.data(), static_cast<size_t>(std::min<uint64_t>(kBlock, size_ - offset))});
        }
        if (offset < cacheStart_ || offset >= cacheStart_ + cacheLength_)
            return 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(out.size(), cacheStart_ + cacheLength_ - offset));
        std::memcpy(out.data(), cache_.data() + (offset - cacheStart_), n);
        return n;
    }
    bool Failed() const { return failed_; }

private:
    static constexpr size_t kBlock = 65536;

    size_t ReadThrough(uint64_t offset, std::span<uint8_t> out)
    {
        if (fw::Fs().Seek(handle_, static_cast<int64_t>(offset), fw::SeekOrigin::Begin) < 0) {
            failed_ = true;
            return 0;
        }
        const int64_t got = fw::Fs().Read(handle_, out.data(), static_cast<int64_t>(out.size()));
        if (got < 0) {
            failed_ = true;
            return 0;
        }
        return static_cast<size_t>(got);
    }

    fw::FileHandle handle_;
    uint64_t size_;
    bool failed_ = false;
    std::vector<uint8_t> cache_;
    uint64_t cacheStart_ = 0;
    size_t cacheLength_ = 0;
};

// The size of an open file (its end position), or -1.
inline int64_t OpenFileSize(fw::FileHandle handle)
{
    const int64_t size = fw::Fs().Seek(handle, 0, fw::SeekOrigin::End);
    fw::Fs().Seek(handle, 0, fw::SeekOrigin::Begin);
    return size;
}

}  // namespace engine
