// The adaptive LZW of Unix compress, which ARC's crunched (method 8) and squashed (method 9) data use
// too: codes of 9 bits growing to MaxBits, read least significant bit first in groups of as many bytes
// as the current width (a width change or a clear skips the rest of the group); in block mode code 256
// clears the table.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/formats/common/byte_pipe.h"

namespace engine {

enum class LzwResult {
    Ok,            // the input ran out
    BadFirstCode,  // the first code is no single byte
    BadCode,       // a code beyond the next free entry
    StackOverflow, // a string longer than the table (a corrupt chain)
    OutputFailed,
};

// Out needs Put(uint8_t); Raw is the ByteOutput behind it, whose failure ends the decode.
template <class Out>
LzwResult DecodeGroupedLzw(int maxBits, bool blockMode, ByteInput& in, ByteOutput& raw, Out& out)
{
    const unsigned tableMax = 1u << maxBits;
    std::vector<uint16_t> prefix(tableMax, 0);
    std::vector<uint8_t> suffix(tableMax, 0);
    for (unsigned c = 0; c < 256; ++c)
        suffix[c] = static_cast<uint8_t>(c);
    int width = 9;
    unsigned maxCode = 511;
    unsigned freeEnt = blockMode ? 257 : 256;
    bool clearPending = false;
    std::array<uint8_t, 16> group{};
    unsigned groupBits = 0, offset = 0;

    const auto getCode = [&]() -> int {
        if (clearPending || offset + unsigned(width) > groupBits || freeEnt > maxCode) {
            // At the largest width the table's size is the limit, so the width stops there (a 9-bit
            // table still moves on to 10-bit codes once full, as gzip reads such files).
            if (freeEnt > maxCode) {
                ++width;
                maxCode = width == maxBits ? tableMax : (1u << width) - 1;
            }
            if (clearPending) {
                width = 9;
                maxCode = 511;
                clearPending = false;
            }
            unsigned got = 0;
            for (int c; got < unsigned(width) && (c = in.Get()) >= 0;)
                group[got++] = static_cast<uint8_t>(c);
            offset = 0;
            groupBits = got * 8;
            if (groupBits < unsigned(width))
                return -1;
        }
        uint32_t code = 0;
        for (int i = 0; i < width; ++i) {
            const unsigned bit = offset + unsigned(i);
            code |= uint32_t((group[bit >> 3] >> (bit & 7)) & 1) << i;
        }
        offset += unsigned(width);
        return static_cast<int>(code);
    };

    int code = getCode();
    if (code < 0)
        return LzwResult::Ok;
    if (code > 255)
        return LzwResult::BadFirstCode;
    unsigned oldCode = unsigned(code);
    uint8_t finChar = static_cast<uint8_t>(code);
    out.Put(finChar);
    std::vector<uint8_t> stack;
    stack.reserve(tableMax);
    while ((code = getCode()) >= 0) {
        if (raw.Failed())
            return LzwResult::OutputFailed;
        if (code == 256 && blockMode) {
            std::fill(prefix.begin(), prefix.begin() + 256, 0);
            clearPending = true;
            freeEnt = 256;
            if ((code = getCode()) < 0)
                break;
        }
        const unsigned inCode = unsigned(code);
        unsigned walk = inCode;
        stack.clear();
        if (walk >= freeEnt) {
            if (walk > freeEnt)
                return LzwResult::BadCode;
            stack.push_back(finChar);
            walk = oldCode;
        }
        while (walk >= 256) {
            if (stack.size() >= tableMax)
                return LzwResult::StackOverflow;
            stack.push_back(suffix[walk]);
            walk = prefix[walk];
        }
        finChar = suffix[walk];
        stack.push_back(finChar);
        for (size_t i = stack.size(); i-- > 0;)
            out.Put(stack[i]);
        if (freeEnt < tableMax) {
            prefix[freeEnt] = static_cast<uint16_t>(oldCode);
            suffix[freeEnt] = finChar;
            ++freeEnt;
        }
        oldCode = inCode;
    }
    return raw.Failed() ? LzwResult::OutputFailed : LzwResult::Ok;
}

}  // namespace engine
