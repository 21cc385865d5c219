#include "engine/formats/arc/arc_decoders.h"

#include "engine/formats/entrystream/grouped_lzw.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace engine::arc {

namespace {

constexpr uint8_t kRunMarker = 0x90;

// Run-length expansion in front of the output: 0x90 n repeats the last byte n - 1 more times, 0x90 0
// is a literal 0x90.
class RunLengthOutput {
public:
    explicit RunLengthOutput(ByteOutput& out) : out_(out) {}

    void Put(uint8_t c)
    {
        if (!afterMarker_) {
            if (c == kRunMarker) {
                afterMarker_ = true;
            } else {
                last_ = c;
                out_.Put(c);
            }
            return;
        }
        afterMarker_ = false;
        if (c == 0) {
            out_.Put(kRunMarker);
            return;
        }
        for (int n = c; --n > 0;)
            out_.Put(last_);
    }

    // Room for a string written back to front, expanded when committed.
    uint8_t* Reserve(size_t count)
    {
        if (scratch_.size() < count)
            scratch_.resize(count);
        return scratch_.data();
    }
    void Commit(size_t count) { Write(scratch_.data(), count); }

    // Bytes up to the next marker go out in one piece.
    void Write(const uint8_t* data, size_t count)
    {
        while (count > 0) {
            if (afterMarker_) {
                Put(*data++);
                --count;
                continue;
            }
            const auto* marker = static_cast<const uint8_t*>(std::memchr(data, kRunMarker, count));
            const size_t plain = marker ? size_t(marker - data) : count;
            if (plain > 0) {
                out_.Write(data, plain);
                last_ = data[plain - 1];
                data += plain;
                count -= plain;
            }
            if (marker) {
                afterMarker_ = true;
                ++data;
                --count;
            }
        }
    }

private:
    ByteOutput& out_;
    bool afterMarker_ = false;
    uint8_t last_ = 0;
    std::vector<uint8_t> scratch_;
};

// Plain output, with the same interface, for the methods without a run-length step.
class DirectOutput {
public:
    explicit DirectOutput(ByteOutput& out) : out_(out) {}
    void Put(uint8_t c) { out_.Put(c); }
    void Write(const uint8_t* data, size_t count) { out_.Write(data, count); }
    uint8_t* Reserve(size_t count) { return out_.Reserve(count); }
    void Commit(size_t count) { out_.Commit(count); }

private:
    ByteOutput& out_;
};

template <class Out>
void Copy(ByteInput& in, ByteOutput& raw, Out& out)
{
    for (int c; !raw.Failed() && (c = in.Get()) >= 0;)
        out.Put(static_cast<uint8_t>(c));
}

// Squeezed: a node count, the nodes (two signed 16-bit children each), then the bits of the symbols,
// lowest bit of each byte first; symbol 256 ends the data.
DecodeResult Unsqueeze(ByteInput& in, ByteOutput& raw)
{
    RunLengthOutput out(raw);
    const auto get16 = [&in](int& value) {
        const int lo = in.Get();
        const int hi = in.Get();
        if (lo < 0 || hi < 0)
            return false;
        value = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
        return true;
    };
    int count = 0;
    if (!get16(count))
        return DecodeResult::Ok;
    if (count < 0 || count > 256)
        return DecodeResult::BadTree;
    std::vector<std::array<int, 2>> nodes(static_cast<size_t>(count > 0 ? count : 1), {-257, -257});
    for (int i = 0; i < count; ++i)
        if (!get16(nodes[size_t(i)][0]) || !get16(nodes[size_t(i)][1]))
            return DecodeResult::Ok;  // the data ended inside the tree: nothing to decode
    int node = 0;
    while (!raw.Failed()) {
        const int byte = in.Get();
        if (byte < 0)
            return DecodeResult::Ok;
        for (int bit = 0; bit < 8; ++bit) {
            const int child = nodes[size_t(node)][(byte >> bit) & 1];
            if (child >= 0) {
                if (child >= static_cast<int>(nodes.size()))
                    return DecodeResult::BadTree;
                node = child;
                continue;
            }
            const int symbol = -(child + 1);
            if (symbol == 256)
                return DecodeResult::Ok;
            if (symbol > 256)
                return DecodeResult::BadTree;
            out.Put(static_cast<uint8_t>(symbol));
            node = 0;
        }
    }
    return DecodeResult::Ok;
}

// Fixed 12-bit LZW of methods 5 to 7: a hashed string table whose collisions chain to the next free
// slot at least 101 places on.
template <class Out>
class FixedLzw {
public:
    FixedLzw(bool newHash, ByteInput& in, ByteOutput& raw, Out& out) : newHash_(newHash), in_(in), raw_(raw), out_(out)
    {
        for (auto& e : table_)
            e = Entry{};
        for (unsigned c = 0; c < 256; ++c)
            Insert(kNoPred, static_cast<uint8_t>(c));
    }

    DecodeResult Run()
    {
        int code = ReadCode();
        if (code < 0)
            return DecodeResult::Ok;
        unsigned oldCode = unsigned(code);
        uint8_t lastChar = table_[oldCode].follower;
        out_.Put(lastChar);
        std::vector<uint8_t> stack;
        stack.reserve(kTableSize);
        while (!raw_.Failed() && (code = ReadCode()) >= 0) {
            const unsigned newCode = unsigned(code);
            unsigned walk = newCode;
            stack.clear();
            if (!table_[walk].used) {
                stack.push_back(lastChar);
                walk = oldCode;
            }
            while (table_[walk].predecessor != kNoPred) {
                if (stack.size() >= kTableSize - 1)
                    return DecodeResult::StackOverflow;
                stack.push_back(table_[walk].follower);
                walk = table_[walk].predecessor;
            }
            lastChar = table_[walk].follower;
            stack.push_back(lastChar);
            if (freeSlots_ > 0) {
                --freeSlots_;
                Insert(oldCode, lastChar);
            }
            oldCode = newCode;
            for (size_t i = stack.size(); i-- > 0;)
                out_.Put(stack[i]);
        }
        return DecodeResult::Ok;
    }

private:
    static constexpr unsigned kTableSize = 4096;
    static constexpr unsigned kNoPred = 0xFFFF;
    struct Entry {
        bool used = false;
        unsigned next = 0;
        unsigned predecessor = kNoPred;
        uint8_t follower = 0;
    };

    unsigned Hash(unsigned pred, uint8_t c) const
    {
        if (newHash_)
            return ((pred + c) * 15073u) & 0xFFF;
        const uint64_t k = ((pred + c) | 0x800u) & 0xFFFFu;
        return static_cast<unsigned>((k * k) >> 6) & 0xFFF;
    }

    void Insert(unsigned pred, uint8_t c)
    {
        unsigned slot = Hash(pred, c);
        if (table_[slot].used) {
            // The end of the slot's chain, then the first free slot 101 places on.
            for (unsigned guard = 0; table_[slot].next != 0 && guard < kTableSize; ++guard)
                slot = table_[slot].next;
            unsigned probe = (slot + 101) & 0xFFF;
            for (unsigned guard = 0; table_[probe].used; ++guard) {
                if (guard == kTableSize)
                    return;  // the table is full
                probe = (probe + 1) & 0xFFF;
            }
            table_[slot].next = probe;
            slot = probe;
        }
        table_[slot] = Entry{true, 0, pred, c};
    }

    // Two codes from three bytes: b1 b2/high and b2/low b3.
    int ReadCode()
    {
        if (!haveHalf_) {
            const int b1 = in_.Get();
            const int b2 = in_.Get();
            if (b1 < 0 || b2 < 0)
                return -1;
            half_ = b2 & 0x0F;
            haveHalf_ = true;
            return (b1 << 4) | (b2 >> 4);
        }
        haveHalf_ = false;
        const int b3 = in_.Get();
        if (b3 < 0)
            return -1;
        return (half_ << 8) | b3;
    }

    bool newHash_;
    ByteInput& in_;
    ByteOutput& raw_;
    Out& out_;
    std::array<Entry, kTableSize> table_{};
    unsigned freeSlots_ = kTableSize - 256;
    bool haveHalf_ = false;
    int half_ = 0;
};

// Dynamic LZW of methods 8 and 9, the same as Unix compress in block mode.
template <class Out>
DecodeResult DynamicLzw(int maxBits, ByteInput& in, ByteOutput& raw, Out& out)
{
    switch (DecodeGroupedLzw(maxBits, true, in, raw, out)) {
    case LzwResult::BadFirstCode: return DecodeResult::BadTree;
    case LzwResult::StackOverflow: return DecodeResult::StackOverflow;
    default: return DecodeResult::Ok;  // a bad code ends the data; its CRC tells
    }
}

}  // namespace

bool IsKnownMethod(int method) { return method >= 1 && method <= 9; }

DecodeResult Decode(int method, ByteInput& in, ByteOutput& out)
{
    RunLengthOutput rle(out);
    DirectOutput direct(out);
    switch (method) {
    case 1:
    case 2:
        Copy(in, out, direct);
        return DecodeResult::Ok;
    case 3:
        Copy(in, out, rle);
        return DecodeResult::Ok;
    case 4:
        return Unsqueeze(in, out);
    case 5:
        return FixedLzw<DirectOutput>(false, in, out, direct).Run();
    case 6:
        return FixedLzw<RunLengthOutput>(false, in, out, rle).Run();
    case 7:
        return FixedLzw<RunLengthOutput>(true, in, out, rle).Run();
    case 8: {
        const int bits = in.Get();
        if (bits < 0)
            return DecodeResult::Ok;
        if (bits != 12)
            return DecodeResult::BadBits;
        return DynamicLzw(12, in, out, rle);
    }
    case 9:
        return DynamicLzw(13, in, out, direct);
    default:
        return DecodeResult::Unsupported;
    }
}

}  // namespace engine::arc
