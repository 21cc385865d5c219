// LZW encoding of index rows into a GIF data stream.
//
// Strings are found through a hash table of 17777 slots with linear probing, keyed by (prefix code,
// pixel). A string's hash grows with it: p x 301 + 903 for its first pixel p, then
// ((p + k + 4) x hash) mod 17777 for the k-th pixel. The table starts over (a clear code) before
// code 4095 would be assigned, so codes never need more than 12 bits.
#include <array>
#include <memory>

#include "installer/controls/gif_lzw.h"

namespace inst {

namespace {

constexpr uint32_t kSlots = 17777;
constexpr uint32_t kLastCode = 4093;  // past this the table starts over

struct Slot {
    uint16_t code = 0;  // 0: empty (assigned codes start above the end code)
    uint16_t prefix = 0;
    uint8_t suffix = 0;
};

// Packs codes least-significant bit first into sub-blocks of 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Write(uint32_t code, int bits) {
        buffer_ |= uint64_t{code} << count_;
        count_ += bits;
        while (count_ >= 8) {
            Byte(static_cast<uint8_t>(buffer_));
            buffer_ >>= 8;
            count_ -= 8;
        }
    }

    // The last partial byte, the last sub-block (when there is one) and the terminating 0.
    void Flush() {
        if (count_ > 0) Byte(static_cast<uint8_t>(buffer_));
        buffer_ = 0;
        count_ = 0;
        if (blockLength_ > 0) {
            out_.push_back(static_cast<uint8_t>(blockLength_));
            out_.insert(out_.end(), block_.begin(), block_.begin() + blockLength_);
        }
        blockLength_ = 0;
        out_.push_back(0);
    }

private:
    void Byte(uint8_t b) {
        block_[static_cast<size_t>(blockLength_++)] = b;
        if (blockLength_ == 255) {
            out_.push_back(255);
            out_.insert(out_.end(), block_.begin(), block_.end());
            blockLength_ = 0;
        }
    }

    std::vector<uint8_t>& out_;
    uint64_t buffer_ = 0;
    int count_ = 0;
    std::array<uint8_t, 255> block_{};
    int blockLength_ = 0;
};

}  // namespace

std::vector<uint8_t> EncodeLzw(std::span<const uint8_t> indices, int width, int height, int bitsPerPixel,
                               bool interlaced, const LzwProgress& progress) {
    std::vector<uint8_t> out;
    const int startBits = bitsPerPixel <= 1 ? 3 : bitsPerPixel + 1;
    out.push_back(static_cast<uint8_t>(startBits - 1));
    const uint32_t clear = 1u << (startBits - 1);
    const uint32_t end = clear + 1;
    CodeWriter writer(out);

    auto slots = std::make_unique<std::array<Slot, kSlots>>();
    uint32_t last = end;
    int bits = startBits;
    uint32_t limit = 1u << bits;
    auto restart = [&] {
        slots->fill(Slot{});
        last = end;
        bits = startBits;
        limit = 1u << bits;
    };
    writer.Write(clear, bits);

    bool haveString = false;
    uint32_t prefix = 0;
    uint32_t hash = 0;
    uint32_t length = 0;
    const std::vector<int> order = interlaced ? InterlacedRows(height) : std::vector<int>();
    const size_t w = static_cast<size_t>(width);
    int lastPercent = -1;
    for (int r = 0; r < height; ++r) {
        const size_t y = interlaced ? static_cast<size_t>(order[static_cast<size_t>(r)]) : static_cast<size_t>(r);
        const uint8_t* row = indices.data() + y * w;
        for (size_t x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            if (!haveString) {
                prefix = p;
                hash = p * 301 + 903;
                length = 1;
                haveString = true;
                continue;
            }
            const uint32_t nextHash = (p + length + 1 + 4) * hash % kSlots;
            uint32_t slot = nextHash;
            bool found = false;
            while ((*slots)[slot].code != 0) {
                const Slot& s = (*slots)[slot];
                if (s.prefix == prefix && s.suffix == p) {
                    found = true;
                    break;
                }
                slot = slot == kSlots - 1 ? 0 : slot + 1;
            }
            if (found) {
                prefix = (*slots)[slot].code;
                hash = nextHash;
                ++length;
                continue;
            }
            writer.Write(prefix, bits);
            ++last;
            (*slots)[slot] = {static_cast<uint16_t>(last), static_cast<uint16_t>(prefix), static_cast<uint8_t>(p)};
            prefix = p;
            hash = p * 301 + 903;
            length = 1;
            if (last == limit) {
                ++bits;
                limit <<= 1;
            } else if (last > kLastCode) {
                writer.Write(p, bits);
                writer.Write(clear, bits);
                restart();
                haveString = false;
            }
        }
        if (progress) {
            const int percent = static_cast<int>(static_cast<int64_t>(r + 1) * 100 / height);
            if (percent != lastPercent) progress(lastPercent = percent);
        }
    }
    if (haveString) writer.Write(prefix, bits);
    writer.Write(end, bits);
    writer.Flush();
    return out;
}

}  // namespace inst
