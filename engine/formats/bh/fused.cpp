#include "engine/formats/bh/fused.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <queue>
#include <vector>

namespace engine::bh {

namespace {

constexpr int kDictBits = 13;
constexpr int64_t kDict = 1 << kDictBits;
constexpr int kMaxMatch = 256;
constexpr int kMinMatch = 3;
constexpr int kNC = 510;  // 256 literals, lengths 3 to 256
constexpr int kNP = 14;
constexpr int kNT = 19;
constexpr int kCBit = 9, kPBit = 4, kTBit = 5;
constexpr size_t kBlockBytes = 16384;
constexpr int kMaxChain = 256;
constexpr int kHashBits = 15;

// Code lengths (at most 16) for Count symbols with Freq, and their canonical codes.
struct Code {
    std::vector<uint8_t> length;
    std::vector<uint16_t> code;
    int single = -1;  // the one symbol when fewer than two occur
};

Code BuildCode(const std::vector<uint32_t>& freq)
{
    const int n = int(freq.size());
    Code c;
    c.length.assign(size_t(n), 0);
    c.code.assign(size_t(n), 0);
    std::vector<int> used;
    for (int i = 0; i < n; ++i)
        if (freq[size_t(i)] > 0)
            used.push_back(i);
    if (used.size() < 2) {
        c.single = used.empty() ? 0 : used[0];
        return c;
    }
    // Huffman tree over the used symbols; ties by node number keep the order stable.
    struct Node {
        uint64_t freq;
        int id;
        bool operator>(const Node& o) const { return freq != o.freq ? freq > o.freq : id > o.id; }
    };
    std::priority_queue<Node, std::vector<Node>, std::greater<Node>> heap;
    std::vector<int> parent(size_t(n) * 2, -1);
    for (int s : used)
        heap.push({freq[size_t(s)], s});
    std::vector<int> order;  // symbols in the order they are taken off the heap
    int next = n;
    while (heap.size() > 1) {
        const Node a = heap.top();
        heap.pop();
        const Node b = heap.top();
        heap.pop();
        for (const Node& x : {a, b})
            if (x.id < n)
                order.push_back(x.id);
        parent[size_t(a.id)] = parent[size_t(b.id)] = next;
        heap.push({a.freq + b.freq, next++});
    }
    const int root = heap.top().id;
    std::array<int, 17> count{};
    for (int s : used) {
        int depth = 0;
        for (int x = s; x != root; x = parent[size_t(x)])
            ++depth;
        ++count[size_t(std::min(depth, 16))];
    }
    // Limit the depth to 16: move leaves until the Kraft sum is exact again.
    uint32_t sum = 0;
    for (int k = 1; k <= 16; ++k)
        sum += uint32_t(count[size_t(k)]) << (16 - k);
    while (sum != (1u << 16)) {
        --count[16];
        for (int k = 15; k > 0; --k)
            if (count[size_t(k)] > 0) {
                --count[size_t(k)];
                count[size_t(k + 1)] += 2;
                break;
            }
        --sum;
    }
    // The deepest lengths go to the symbols taken first (the least frequent).
    size_t at = 0;
    for (int k = 16; k > 0; --k)
        for (int j = 0; j < count[size_t(k)]; ++j)
            c.length[size_t(order[at++])] = uint8_t(k);
    std::array<uint16_t, 18> start{};
    for (int k = 1; k <= 16; ++k)
        start[size_t(k + 1)] = uint16_t((start[size_t(k)] + count[size_t(k)]) << 1);
    for (int s = 0; s < n; ++s)
        if (c.length[size_t(s)] > 0)
            c.code[size_t(s)] = start[c.length[size_t(s)]]++;
    return c;
}

class Encoder {
public:
    Encoder(const FuseRead& read, const FuseWrite& write, const FuseProgress& progress)
        : read_(read), write_(write), progress_(progress)
    {
    }

    FuseResult Run()
    {
        // Every slot -1 (no position yet), set as bytes: the table is cleared for each file.
        head_.resize(size_t(1) << kHashBits);
        std::memset(head_.data(), 0xFF, head_.size() * sizeof head_[0]);
        Fill();
        if (end_ == 0)
            unpackable_ = !failed_;  // nothing to compress
        int64_t i = 0;
        int64_t len1 = 0, dist1 = 0;
        bool have1 = false;
        while (!Stopped() && i < end_) {
            if (!have1)
                FindMatch(i, len1, dist1);
            Insert(i);
            int64_t len2 = 0, dist2 = 0;
            if (i + 1 < end_)
                FindMatch(i + 1, len2, dist2);
            if (len1 >= kMinMatch && len1 >= len2) {
                Output(unsigned(len1 + 253), unsigned(dist1 - 1));
                for (int64_t k = 1; k < len1; ++k)
                    Insert(i + k);
                i += len1;
                have1 = false;
            } else {
                Output(Byte(i), 0);
                i += 1;
                len1 = len2, dist1 = dist2, have1 = true;
            }
            if (blockPos_ > uint64_t(read_total_))
                unpackable_ = true;
            Slide(i);
            if (progress_)
                progress_(uint64_t(i));
        }
        if (!Stopped())
            WriteBlock();
        if (!Stopped())
            PutBits(7, 0);
        if (!Stopped())
            FlushOutput();
        // Output as long as the input is no gain either.
        if (!failed_ && outCount_ >= uint64_t(read_total_))
            unpackable_ = true;
        FuseResult r;
        r.failed = failed_;
        r.unpackable = unpackable_ || failed_;
        r.compressedSize = outCount_;
        r.bytesRead = uint64_t(read_total_);
        return r;
    }

private:
    bool Stopped() const { return unpackable_ || failed_; }

    uint8_t Byte(int64_t pos) const { return buf_[size_t(pos - base_)]; }

    // Reads until the buffer holds the dictionary and the longest match ahead of the position.
    void Fill()
    {
        while (!eof_ && end_ - base_ < 2 * kDict + kMaxMatch) {
            std::array<uint8_t, 8192> chunk{};
            const int64_t got = read_(chunk.data(), chunk.size());
            if (got < 0) {
                failed_ = true;
                return;
            }
            if (got == 0) {
                eof_ = true;
                return;
            }
            buf_.insert(buf_.end(), chunk.begin(), chunk.begin() + got);
            end_ += got;
            read_total_ += got;
        }
    }

    // Drops what lies beyond the dictionary behind the position and reads on.
    void Slide(int64_t pos)
    {
        if (pos - base_ >= 2 * kDict) {
            const int64_t drop = pos - base_ - kDict;
            buf_.erase(buf_.begin(), buf_.begin() + drop);
            base_ += drop;
            prev_.erase(prev_.begin(), prev_.begin() + std::min<int64_t>(drop, int64_t(prev_.size())));
        }
        if (end_ - pos < kMaxMatch + 1)
            Fill();
    }

    unsigned Hash(int64_t pos) const
    {
        const uint32_t v = uint32_t(Byte(pos)) << 16 | uint32_t(Byte(pos + 1)) << 8 | Byte(pos + 2);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    void Insert(int64_t pos)
    {
        // prev_ holds, for each position from base_ on, the previous position with the same hash.
        while (int64_t(prev_.size()) < pos - base_ + 1)
            prev_.push_back(-1);
        if (pos + 2 >= end_)
            return;
        const unsigned h = Hash(pos);
        prev_[size_t(pos - base_)] = head_[h];
        head_[h] = pos;
    }

    void FindMatch(int64_t pos, int64_t& bestLen, int64_t& bestDist)
    {
        bestLen = 0;
        bestDist = 0;
        const int64_t limit = std::min<int64_t>(kMaxMatch, end_ - pos);
        if (limit < kMinMatch)
            return;
        int64_t cand = head_[Hash(pos)];
        for (int chain = 0; cand >= 0 && chain < kMaxChain; ++chain) {
            if (cand >= pos || pos - cand > kDict || cand < base_)
                break;
            int64_t n = 0;
            while (n < limit && Byte(cand + n) == Byte(pos + n))
                ++n;
            if (n > bestLen) {
                bestLen = n;
                bestDist = pos - cand;
                if (n == limit)
                    break;
            }
            const int64_t idx = cand - base_;
            cand = idx < int64_t(prev_.size()) ? prev_[size_t(idx)] : -1;
        }
        if (bestLen < kMinMatch)
            bestLen = 0;
    }

    static int PositionCode(unsigned d)
    {
        int bits = 0;
        while (d) {
            ++bits;
            d >>= 1;
        }
        return bits;
    }

    // Queues one item: a literal (c < 256) or a match (c = length + 253, d = distance - 1).
    void Output(unsigned c, unsigned d)
    {
        flagBit_ >>= 1;
        if (flagBit_ == 0) {
            flagBit_ = 0x80;
            if (blockPos_ >= kBlockBytes - 24) {
                WriteBlock();
                if (Stopped())
                    return;
                blockPos_ = 0;
            }
            flagPos_ = blockPos_;
            block_[blockPos_++] = 0;
        }
        block_[blockPos_++] = uint8_t(c);
        ++cFreq_[c];
        if (c >= 256) {
            block_[flagPos_] |= uint8_t(flagBit_);
            block_[blockPos_++] = uint8_t(d >> 8);
            block_[blockPos_++] = uint8_t(d);
            ++pFreq_[size_t(PositionCode(d))];
        }
    }

    void WriteLengths(const std::vector<uint8_t>& len, int n, int countBits, int special)
    {
        while (n > 0 && len[size_t(n - 1)] == 0)
            --n;
        PutBits(countBits, unsigned(n));
        for (int i = 0; i < n;) {
            const int k = len[size_t(i++)];
            if (k <= 6)
                PutBits(3, unsigned(k));
            else
                PutBits(k - 3, (1u << (k - 3)) - 2);
            if (i == special) {
                int zeros = 0;
                while (i < 6 && i < n && len[size_t(i)] == 0) {
                    ++i;
                    ++zeros;
                }
                PutBits(2, unsigned(zeros));
            }
        }
    }

    void WriteBlock()
    {
        uint32_t items = 0;
        for (uint32_t f : cFreq_)
            items += f;
        if (items == 0)
            return;
        const Code c = BuildCode(cFreq_);
        PutBits(16, items);
        if (c.single >= 0) {
            PutBits(kTBit, 0);
            PutBits(kTBit, 0);
            PutBits(kCBit, 0);
            PutBits(kCBit, unsigned(c.single));
        } else {
            int n = kNC;
            while (n > 0 && c.length[size_t(n - 1)] == 0)
                --n;
            // The code-length table's own code, from the runs of the literal-length lengths.
            std::vector<uint32_t> tFreq(kNT, 0);
            for (int i = 0; i < n;) {
                const int k = c.length[size_t(i++)];
                if (k == 0) {
                    int run = 1;
                    while (i < n && c.length[size_t(i)] == 0) {
                        ++i;
                        ++run;
                    }
                    if (run <= 2)
                        tFreq[0] += uint32_t(run);
                    else if (run <= 18)
                        ++tFreq[1];
                    else if (run == 19)
                        ++tFreq[0], ++tFreq[1];
                    else
                        ++tFreq[2];
                } else {
                    ++tFreq[size_t(k + 2)];
                }
            }
            const Code t = BuildCode(tFreq);
            if (t.single >= 0) {
                PutBits(kTBit, 0);
                PutBits(kTBit, unsigned(t.single));
            } else {
                WriteLengths(t.length, kNT, kTBit, 3);
            }
            const auto putT = [&](int sym) {
                if (t.single < 0)
                    PutBits(t.length[size_t(sym)], t.code[size_t(sym)]);
            };
            PutBits(kCBit, unsigned(n));
            for (int i = 0; i < n;) {
                const int k = c.length[size_t(i++)];
                if (k == 0) {
                    int run = 1;
                    while (i < n && c.length[size_t(i)] == 0) {
                        ++i;
                        ++run;
                    }
                    if (run <= 2) {
                        for (int j = 0; j < run; ++j)
                            putT(0);
                    } else if (run <= 18) {
                        putT(1);
                        PutBits(4, unsigned(run - 3));
                    } else if (run == 19) {
                        putT(0);
                        putT(1);
                        PutBits(4, 15);
                    } else {
                        putT(2);
                        PutBits(kCBit, unsigned(run - 20));
                    }
                } else {
                    putT(k + 2);
                }
            }
        }
        const Code p = BuildCode(pFreq_);
        if (p.single >= 0) {
            PutBits(kPBit, 0);
            PutBits(kPBit, unsigned(p.single));
        } else {
            WriteLengths(p.length, kNP, kPBit, -1);
        }
        unsigned flags = 0, bit = 0;
        for (size_t pos = 0; pos < blockPos_ && !Stopped();) {
            if (bit == 0) {
                flags = block_[pos++];
                bit = 0x80;
                if (pos >= blockPos_)
                    break;
            }
            const unsigned sym = block_[pos++];
            if (flags & bit) {
                const unsigned code = sym + 256;
                const unsigned d = unsigned(block_[pos] << 8 | block_[pos + 1]);
                pos += 2;
                if (c.single < 0)
                    PutBits(c.length[code], c.code[code]);
                const int pc = PositionCode(d);
                if (p.single < 0)
                    PutBits(p.length[size_t(pc)], p.code[size_t(pc)]);
                if (pc > 1)
                    PutBits(pc - 1, d & ((1u << (pc - 1)) - 1));
            } else if (c.single < 0) {
                PutBits(c.length[sym], c.code[sym]);
            }
            bit >>= 1;
        }
        std::fill(cFreq_.begin(), cFreq_.end(), 0);
        std::fill(pFreq_.begin(), pFreq_.end(), 0);
    }

    void PutBits(int n, unsigned x)
    {
        for (int i = n - 1; i >= 0 && !Stopped(); --i) {
            bitBuf_ = uint8_t((bitBuf_ << 1) | ((x >> i) & 1));
            if (++bitCount_ == 8) {
                PutByte(bitBuf_);
                bitBuf_ = 0;
                bitCount_ = 0;
            }
        }
    }

    void PutByte(uint8_t b)
    {
        if (outCount_ >= uint64_t(read_total_)) {
            unpackable_ = true;
            return;
        }
        out_.push_back(b);
        ++outCount_;
        if (out_.size() >= 16385)
            FlushOutput();
    }

    void FlushOutput()
    {
        if (!out_.empty() && !write_(out_.data(), out_.size()))
            failed_ = true;
        out_.clear();
    }

    const FuseRead& read_;
    const FuseWrite& write_;
    const FuseProgress& progress_;
    std::vector<uint8_t> buf_;
    int64_t base_ = 0, end_ = 0, read_total_ = 0;
    bool eof_ = false, failed_ = false, unpackable_ = false;
    std::vector<int64_t> head_, prev_;
    std::array<uint8_t, kBlockBytes> block_{};
    size_t blockPos_ = 0, flagPos_ = 0;
    unsigned flagBit_ = 0;
    std::vector<uint32_t> cFreq_ = std::vector<uint32_t>(kNC, 0);
    std::vector<uint32_t> pFreq_ = std::vector<uint32_t>(kNP, 0);
    uint8_t bitBuf_ = 0;
    int bitCount_ = 0;
    std::vector<uint8_t> out_;
    uint64_t outCount_ = 0;
};

}  // namespace

FuseResult FuseEncode(const FuseRead& read, const FuseWrite& write, const FuseProgress& progress)
{
    try {
        return Encoder(read, write, progress).Run();
    } catch (...) {
        FuseResult r;
        r.failed = true;
        r.unpackable = true;
        return r;
    }
}

}  // namespace engine::bh
