// The adaptive LZW of Unix compress, which ARC's crunched (method 8) and squashed (method 9) data use
// too: codes of 9 bits growing to MaxBits, read least significant bit first in groups of as many bytes
// as the current width (a width change or a clear skips the rest of the group); in block mode code 256
// clears the table.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
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

// Out takes each decoded string in place: Reserve(n) gives room for n bytes, which are written back
// to front, and Commit(n) takes them. Raw is the ByteOutput behind it, whose failure ends the decode.
template <class Out>
LzwResult DecodeGroupedLzw(int maxBits, bool blockMode, ByteInput& in, ByteOutput& raw, Out& out)
{
    const unsigned tableMax = 1u << maxBits;
    std::vector<uint16_t> prefix(tableMax, 0);
    std::vector<uint8_t> suffix(tableMax, 0);
    // The length of each entry's string, so that it is written straight into the output.
    std::vector<uint32_t> length(tableMax, 1);
    for (unsigned c = 0; c < 256; ++c)
        suffix[c] = static_cast<uint8_t>(c);
    // An entry's string never changes until the table is cleared, so each new one is also spelled
    // out once into an arena (the previous string and one byte) while it has room: a code found
    // there is one copy instead of a walk along its chain, one dependent load per byte.
    constexpr uint32_t kNotKept = UINT32_MAX;
    const uint32_t arenaSize = 64 * tableMax;
    std::unique_ptr<uint8_t[]> arena(new uint8_t[arenaSize]);
    uint32_t arenaUsed = 0;
    std::vector<uint32_t> place(tableMax, kNotKept);
    // Writes the string of code X (in the table, or a single byte) to Dst; false when its chain does
    // not end where its length says.
    const auto spell = [&](unsigned x, uint8_t* dst) {
        if (x < 256) {
            *dst = static_cast<uint8_t>(x);
            return true;
        }
        if (place[x] != kNotKept) {
            std::memcpy(dst, arena.get() + place[x], length[x]);
            return true;
        }
        uint8_t* p = dst + length[x];
        unsigned walk = x;
        for (uint32_t n = length[x]; --n > 0;) {
            *--p = suffix[walk];
            walk = prefix[walk];
        }
        *--p = suffix[walk];
        return walk < 256;
    };
    int width = 9;
    unsigned maxCode = 511;
    unsigned freeEnt = blockMode ? 257 : 256;
    bool clearPending = false;
    // A group of up to 16 bytes, and room for the two bytes a code's load may read past it.
    std::array<uint8_t, 16 + 2> group{};
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
            const size_t got = in.Take(group.data(), size_t(width));
            group[got] = group[got + 1] = 0;
            offset = 0;
            groupBits = unsigned(got) * 8;
            if (groupBits < unsigned(width))
                return -1;
        }
        // A code of at most 16 bits starting anywhere in a byte lies within three bytes.
        const unsigned at = offset >> 3;
        const uint32_t bits = uint32_t(group[at]) | uint32_t(group[at + 1]) << 8 | uint32_t(group[at + 2]) << 16;
        offset += unsigned(width);
        return static_cast<int>((bits >> ((offset - unsigned(width)) & 7)) & ((1u << width) - 1));
    };

    int code = getCode();
    if (code < 0)
        return LzwResult::Ok;
    if (code > 255)
        return LzwResult::BadFirstCode;
    unsigned oldCode = unsigned(code);
    uint8_t finChar = static_cast<uint8_t>(code);
    *out.Reserve(1) = finChar;
    out.Commit(1);
    while ((code = getCode()) >= 0) {
        if (raw.Failed())
            return LzwResult::OutputFailed;
        if (code == 256 && blockMode) {
            std::fill(prefix.begin(), prefix.begin() + 256, 0);
            clearPending = true;
            freeEnt = 256;
            arenaUsed = 0;
            if ((code = getCode()) < 0)
                break;
        }
        const unsigned inCode = unsigned(code);
        if (inCode > freeEnt)
            return LzwResult::BadCode;
        // A code not yet in the table is the previous string and its own first byte.
        const bool pending = inCode == freeEnt;
        const uint32_t size = pending ? length[oldCode] + 1 : length[inCode];
        if (size > tableMax)
            return LzwResult::StackOverflow;
        uint8_t* const dst = out.Reserve(size);
        if (!spell(pending ? oldCode : inCode, dst))
            return LzwResult::StackOverflow;
        if (pending)
            dst[size - 1] = dst[0];
        finChar = dst[0];
        out.Commit(size);
        if (freeEnt < tableMax) {
            prefix[freeEnt] = static_cast<uint16_t>(oldCode);
            suffix[freeEnt] = finChar;
            const uint32_t n = length[oldCode] + 1;
            length[freeEnt] = n;
            place[freeEnt] = kNotKept;
            // (The previous string is taken from the arena only when it was kept since the last
            // clear: the code read right after a clear still names a string from before it.)
            const bool oldKept = oldCode < 256 || (place[oldCode] != kNotKept && place[oldCode] <= arenaUsed &&
                                                   length[oldCode] <= arenaUsed - place[oldCode]);
            if (oldKept && n <= arenaSize - arenaUsed) {
                spell(oldCode, arena.get() + arenaUsed);
                arena[arenaUsed + n - 1] = finChar;
                place[freeEnt] = arenaUsed;
                arenaUsed += n;
            }
            ++freeEnt;
        }
        oldCode = inCode;
    }
    return raw.Failed() ? LzwResult::OutputFailed : LzwResult::Ok;
}

}  // namespace engine
