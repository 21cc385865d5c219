#include "engine/formats/zoo/zoo_lzw.h"

#include <cstdint>
#include <vector>

namespace engine::zoo {

namespace {

constexpr unsigned kClear = 256;
constexpr unsigned kEnd = 257;
constexpr unsigned kFirstFree = 258;
constexpr int kMaxBits = 13;
constexpr unsigned kTableSize = 1u << kMaxBits;

class BitInput {
public:
    explicit BitInput(ByteInput& in) : in_(in) {}
    // The next code of Width bits; -1 once the input has run out.
    int Get(int width)
    {
        while (count_ < width) {
            const int c = in_.Get();
            if (c < 0)
                return -1;
            bits_ |= uint32_t(c) << count_;
            count_ += 8;
        }
        const int code = int(bits_ & ((1u << width) - 1));
        bits_ >>= width;
        count_ -= width;
        return code;
    }

private:
    ByteInput& in_;
    uint32_t bits_ = 0;
    int count_ = 0;
};

}  // namespace

LzwResult LzwDecode(ByteInput& in, ByteOutput& out)
{
    std::vector<uint16_t> prefix(kTableSize, 0);
    std::vector<uint8_t> suffix(kTableSize, 0);
    std::vector<uint8_t> stack;
    stack.reserve(kTableSize);
    BitInput bits(in);
    int width = 9;
    unsigned maxCode = 512, nextFree = kFirstFree;
    unsigned oldCode = 0;
    uint8_t lastChar = 0;
    while (!out.Failed()) {
        int code = bits.Get(width);
        if (code < 0 || unsigned(code) == kEnd)
            return LzwResult::Ok;
        if (unsigned(code) == kClear) {
            width = 9;
            maxCode = 512;
            nextFree = kFirstFree;
            code = bits.Get(width);
            if (code < 0 || unsigned(code) == kEnd)
                return LzwResult::Ok;
            if (code > 255)
                return LzwResult::Corrupt;
            oldCode = unsigned(code);
            lastChar = uint8_t(code);
            out.Put(lastChar);
            continue;
        }
        const unsigned inCode = unsigned(code);
        unsigned walk = inCode;
        stack.clear();
        if (walk >= nextFree) {
            stack.push_back(lastChar);
            walk = oldCode;
        }
        while (walk > 255) {
            if (stack.size() >= kTableSize || walk >= kTableSize)
                return LzwResult::Corrupt;
            stack.push_back(suffix[walk]);
            walk = prefix[walk];
        }
        lastChar = uint8_t(walk);
        stack.push_back(lastChar);
        for (size_t i = stack.size(); i-- > 0;)
            out.Put(stack[i]);
        if (nextFree < kTableSize) {
            prefix[nextFree] = uint16_t(oldCode);
            suffix[nextFree] = lastChar;
            ++nextFree;
            if (nextFree >= maxCode && width < kMaxBits) {
                ++width;
                maxCode <<= 1;
            }
        }
        oldCode = inCode;
    }
    return LzwResult::Ok;
}

}  // namespace engine::zoo
