// The random-access input every header reader works on: a known size and reads at absolute offsets.
// Readers never assume a read returns what they asked for; a short read means the bytes are not there.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace engine {

class ReadAtSource {
public:
    virtual ~ReadAtSource() = default;

    // Total size in bytes.
    virtual uint64_t Size() const = 0;
    // Copies up to out.size() bytes from offset into out and returns the count copied: less than asked
    // at the end of the data or on a read error, 0 when offset lies at or past the end.
    virtual size_t ReadAt(uint64_t offset, std::span<uint8_t> out) = 0;

    // Reads exactly out.size() bytes at offset; false when they are not all there.
    bool ReadExact(uint64_t offset, std::span<uint8_t> out) {
        if (offset > Size() || out.size() > Size() - offset) return false;
        return ReadAt(offset, out) == out.size();
    }
};

// A source over bytes held in memory (fuzzing, tests, buffers already read).
class SpanSource final : public ReadAtSource {
public:
    explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override {
        if (offset >= bytes_.size()) return 0;
        const size_t n = static_cast<size_t>(std::min<uint64_t>(out.size(), bytes_.size() - offset));
        if (n != 0) std::memcpy(out.data(), bytes_.data() + offset, n);
        return n;
    }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace engine
