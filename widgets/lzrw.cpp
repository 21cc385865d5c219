#include "widgets/lzrw.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kvx {

namespace {

constexpr uint8_t kFlagCompressed = 0x40;
constexpr uint8_t kFlagCopied = 0x80;
constexpr uint32_t kMaxRun = 4095;
constexpr uint32_t kMinRun = 16;
constexpr uint32_t kMaxMatch = 18;
constexpr uint32_t kMaxDistance = 4095;
constexpr uint16_t kEmpty = 0xFFFF;

// The LZRW1 hash of three bytes, in unsigned arithmetic (the product passes 2^31).
inline uint32_t Hash(const uint8_t* p) {
    const uint32_t key = (((static_cast<uint32_t>(p[0]) << 4) ^ p[1]) << 4) ^ p[2];
    return ((key * 40543u) >> 4) & 0x0FFF;
}

[[noreturn]] void Damaged() { throw ELZRWError("LZRW Error!"); }

}  // namespace

uint32_t KVXLZRWCompress(const uint8_t* source, uint8_t* dest, uint32_t size) {
    if (size > kLZRWMaxBlock) throw ELZRWError("LZRW Error!");
    std::array<uint16_t, 4096> table;
    table.fill(kEmpty);

    dest[0] = kFlagCompressed;
    uint32_t controlAt = 1;  // where the current group's control word goes
    uint32_t out = 3;
    uint32_t items = 0;
    uint32_t control = 0;
    uint32_t in = 0;

    while (in < size && out <= size) {
        if (items == 16) {
            dest[controlAt] = static_cast<uint8_t>(control >> 8);
            dest[controlAt + 1] = static_cast<uint8_t>(control);
            controlAt = out;
            out += 2;
            items = 0;
            control = 0;
        }
        ++items;
        control <<= 1;

        const uint8_t value = source[in];
        uint32_t run = 1;
        while (run < kMaxRun && in + run < size && source[in + run] == value) ++run;
        if (run >= kMinRun) {
            dest[out++] = 0;
            dest[out++] = static_cast<uint8_t>((run - kMinRun) >> 8);
            dest[out++] = static_cast<uint8_t>(run - kMinRun);
            dest[out++] = value;
            control |= 1;
            in += run;
            continue;
        }

        // Hash only where three bytes remain: the last two bytes of a block are always literals.
        uint32_t length = 0;
        uint32_t distance = 0;
        if (size - in >= 3) {
            uint16_t& entry = table[Hash(source + in)];
            // Entries are 16-bit positions read as signed: 32,768 and above never match.
            if (entry < 0x8000) {
                distance = in - entry;
                if (distance > 0 && distance <= kMaxDistance) {
                    const uint32_t limit = std::min(kMaxMatch, size - in);
                    while (length < limit && source[entry + length] == source[in + length]) ++length;
                }
            }
            entry = static_cast<uint16_t>(in);
        }
        if (length >= 3) {
            const uint32_t v = distance * 16 + (length - 3);
            dest[out++] = static_cast<uint8_t>(v >> 8);
            dest[out++] = static_cast<uint8_t>(v);
            control |= 1;
            in += length;
        } else {
            dest[out++] = value;
            ++in;
        }
    }
    control <<= (16 - items);
    dest[controlAt] = static_cast<uint8_t>(control >> 8);
    dest[controlAt + 1] = static_cast<uint8_t>(control);

    if (out > size) {
        dest[0] = kFlagCopied;
        if (size) std::memcpy(dest + 1, source, size);
        return size + 1;
    }
    return out;
}

uint32_t KVXLZRWDecompress(const uint8_t* source, uint8_t* dest, uint32_t size, uint32_t capacity) {
    if (size == 0) Damaged();
    if (source[0] == kFlagCopied) {
        const uint32_t n = size - 1;
        if (n > capacity) Damaged();
        if (n) std::memcpy(dest, source + 1, n);
        return n;
    }
    if (source[0] != kFlagCompressed || size < 3) Damaged();

    uint32_t control = (static_cast<uint32_t>(source[1]) << 8) | source[2];
    uint32_t pos = 3;
    uint32_t items = 16;
    uint32_t out = 0;
    while (pos < size) {
        if (items == 0) {
            if (size - pos < 2) Damaged();
            control = (static_cast<uint32_t>(source[pos]) << 8) | source[pos + 1];
            pos += 2;
            items = 16;
            // A control word may close the block: its group then holds no items.
            if (pos == size) break;
        }
        if ((control & 0x8000) == 0) {
            if (out >= capacity) Damaged();
            dest[out++] = source[pos++];
        } else {
            if (size - pos < 2) Damaged();
            const uint32_t v = (static_cast<uint32_t>(source[pos]) << 8) | source[pos + 1];
            const uint32_t offset = v >> 4;
            if (offset != 0) {
                const uint32_t length = (v & 15) + 3;
                if (offset > out || length > capacity - out) Damaged();
                for (uint32_t i = 0; i < length; ++i, ++out) dest[out] = dest[out - offset];
                pos += 2;
            } else {
                if (size - pos < 4) Damaged();
                const uint32_t run = ((static_cast<uint32_t>(source[pos + 1]) << 8) | source[pos + 2]) + kMinRun;
                if (run > kMaxRun || run > capacity - out) Damaged();
                std::memset(dest + out, source[pos + 3], run);
                out += run;
                pos += 4;
            }
        }
        control = (control << 1) & 0xFFFF;
        --items;
    }
    return out;
}

}  // namespace kvx
