// A random-access source over an open archive file, for the header readers that work on
// ReadAtSource. It remembers whether a read failed, so a run can tell a damaged disk from the end of
// the data.
#pragma once

#include <cstdint>
#include <span>

#include "engine/formats/common/read_source.h"
#include "framework/core/platform.h"

namespace engine {

class FileReadSource final : public ReadAtSource {
public:
    FileReadSource(fw::FileHandle handle, uint64_t size) : handle_(handle), size_(size) {}

    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override
    {
        if (offset >= size_ || out.empty())
            return 0;
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
    bool Failed() const { return failed_; }

private:
    fw::FileHandle handle_;
    uint64_t size_;
    bool failed_ = false;
};

// The size of an open file (its end position), or -1.
inline int64_t OpenFileSize(fw::FileHandle handle)
{
    const int64_t size = fw::Fs().Seek(handle, 0, fw::SeekOrigin::End);
    fw::Fs().Seek(handle, 0, fw::SeekOrigin::Begin);
    return size;
}

}  // namespace engine
