// LZW decoding of a GIF frame into index rows.
//
// The string table keeps, per code, its prefix code, last pixel, first pixel and length, so a string
// that fits the rest of its row is written straight into place back to front; only strings that
// cross a row end go through the stack. Every prefix points at a lower code that is defined since the
// last clear code, so chains end and their length is bounded by the table size.
#include <algorithm>
#include <array>
#include <memory>

#include "installer/controls/gif_lzw.h"

namespace inst {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

struct StringTable {
    std::array<uint16_t, kMaxCodes> prefix{};
    std::array<uint8_t, kMaxCodes> suffix{};
    std::array<uint8_t, kMaxCodes> first{};
    std::array<uint16_t, kMaxCodes> length{};
    std::array<uint8_t, kMaxCodes + 1> stack{};
};

// The sub-blocks' payload without their length bytes. A length past the end takes what is there.
std::vector<uint8_t> Payload(std::span<const uint8_t> blocks) {
    std::vector<uint8_t> out;
    out.reserve(blocks.size());
    size_t pos = 0;
    while (pos < blocks.size()) {
        const size_t n = blocks[pos++];
        if (n == 0) break;
        const size_t take = std::min(n, blocks.size() - pos);
        out.insert(out.end(), blocks.begin() + static_cast<std::ptrdiff_t>(pos),
                   blocks.begin() + static_cast<std::ptrdiff_t>(pos + take));
        pos += take;
    }
    return out;
}

// Least-significant bit first over the payload; Read fails once the payload cannot fill a code.
class CodeReader {
public:
    explicit CodeReader(std::span<const uint8_t> data) : data_(data) {}

    bool Read(int bits, uint32_t& code) {
        while (count_ < bits) {
            if (pos_ >= data_.size()) return false;
            buffer_ |= uint64_t{data_[pos_++]} << count_;
            count_ += 8;
        }
        code = static_cast<uint32_t>(buffer_ & ((uint64_t{1} << bits) - 1));
        buffer_ >>= bits;
        count_ -= bits;
        return true;
    }

    size_t Position() const { return pos_; }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

// Where decoded pixels go: rows in natural or interlaced order, dropping whatever follows the last row.
class RowWriter {
public:
    RowWriter(std::vector<uint8_t>& out, int width, int height, bool interlaced)
        : out_(out), width_(static_cast<size_t>(width)), rows_(interlaced ? InterlacedRows(height) : std::vector<int>()),
          height_(height) {
        StartRow();
    }

    bool Done() const { return rowIndex_ >= height_; }

    // Writes `n` pixels that the caller fills back to front from the returned pointer's end, when they
    // fit the current row; null otherwise.
    uint8_t* Span(size_t n) {
        if (Done() || x_ + n > width_) return nullptr;
        uint8_t* p = row_ + x_;
        x_ += n;
        if (x_ == width_) NextRow();
        return p;
    }

    void Put(uint8_t pixel) {
        if (Done()) return;
        row_[x_++] = pixel;
        if (x_ == width_) NextRow();
    }

private:
    void StartRow() {
        if (Done()) return;
        const size_t row = rows_.empty() ? static_cast<size_t>(rowIndex_) : static_cast<size_t>(rows_[static_cast<size_t>(rowIndex_)]);
        row_ = out_.data() + row * width_;
        x_ = 0;
    }
    void NextRow() {
        ++rowIndex_;
        StartRow();
    }

    std::vector<uint8_t>& out_;
    size_t width_;
    std::vector<int> rows_;
    int height_;
    int rowIndex_ = 0;
    uint8_t* row_ = nullptr;
    size_t x_ = 0;
};

}  // namespace

std::vector<int> InterlacedRows(int height) {
    std::vector<int> rows;
    rows.reserve(static_cast<size_t>(std::max(height, 0)));
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

LzwDecodeResult DecodeLzw(std::span<const uint8_t> dataStream, const LzwDecodeParams& params) {
    LzwDecodeResult result;
    if (params.width <= 0 || params.height <= 0) return result;
    result.indices.assign(static_cast<size_t>(params.width) * static_cast<size_t>(params.height), 0);
    if (dataStream.empty()) {
        result.status = LzwStatus::Truncated;
        return result;
    }
    int minSize = dataStream[0];
    if (minSize < 2 || minSize > 9) {
        result.status = LzwStatus::BadCodeSize;
        if (!params.clampCodeSize) return result;
        minSize = std::clamp(minSize, 2, 9);
    }
    const std::vector<uint8_t> payload = Payload(dataStream.subspan(1));
    const uint32_t mask = (1u << std::clamp(params.bitsPerPixel, 1, 8)) - 1;
    const uint32_t clear = 1u << minSize;
    const uint32_t end = clear + 1;

    auto table = std::make_unique<StringTable>();
    for (uint32_t c = 0; c < clear; ++c) {
        table->suffix[c] = table->first[c] = static_cast<uint8_t>(c & mask);
        table->length[c] = 1;
    }
    CodeReader reader(payload);
    RowWriter writer(result.indices, params.width, params.height, params.interlaced);

    // Writes the string of `code` (a root, or an entry below nextFree).
    auto emit = [&](uint32_t code) {
        const size_t n = table->length[code];
        if (uint8_t* p = writer.Span(n)) {
            for (size_t i = n; i-- > 0;) {
                p[i] = table->suffix[code];
                code = table->prefix[code];
            }
            return;
        }
        for (size_t i = n; i-- > 0;) {
            table->stack[i] = table->suffix[code];
            code = table->prefix[code];
        }
        for (size_t i = 0; i < n; ++i) writer.Put(table->stack[i]);
    };

    int codeSize = minSize + 1;
    uint32_t limit = 1u << codeSize;
    uint32_t nextFree = clear + 2;
    bool havePrevious = false;
    uint32_t previous = 0;
    int lastPercent = -1;
    const LzwStatus start = result.status;
    result.status = LzwStatus::Truncated;  // unless the end code or the last row comes first
    uint32_t code = 0;
    while (!writer.Done() && reader.Read(codeSize, code)) {
        if (params.progress) {
            const int percent = static_cast<int>(reader.Position() * 100 / payload.size());
            if (percent != lastPercent) params.progress(lastPercent = percent);
        }
        if (code == clear) {
            codeSize = minSize + 1;
            limit = 1u << codeSize;
            nextFree = clear + 2;
            havePrevious = false;
            continue;
        }
        if (code == end) {
            result.status = LzwStatus::Ok;
            break;
        }
        if (!havePrevious) {
            // The first code after a clear code stands for one pixel. A code that is not a root here
            // would name a string of the table before the clear: it is taken as its own root.
            previous = code < clear ? code : code & mask;
            writer.Put(static_cast<uint8_t>(code & mask));
            havePrevious = true;
            continue;
        }
        uint32_t firstOfNew;
        if (code >= nextFree) {
            // Not yet in the table (or beyond it): the previous string plus its own first pixel.
            emit(previous);
            firstOfNew = table->first[previous];
            writer.Put(static_cast<uint8_t>(firstOfNew));
        } else {
            emit(code);
            firstOfNew = table->first[code];
        }
        if (nextFree < kMaxCodes) {
            if (table->length[previous] >= kMaxCodes) {
                result.status = LzwStatus::ChainTooLong;
                return result;
            }
            table->prefix[nextFree] = static_cast<uint16_t>(previous);
            table->suffix[nextFree] = static_cast<uint8_t>(firstOfNew);
            table->first[nextFree] = table->first[previous];
            table->length[nextFree] = static_cast<uint16_t>(table->length[previous] + 1);
            ++nextFree;
            if (nextFree == limit && codeSize < kMaxCodeBits) {
                ++codeSize;
                limit <<= 1;
            }
        }
        previous = code < nextFree ? code : nextFree - 1;
    }
    if (writer.Done() && result.status == LzwStatus::Truncated) result.status = LzwStatus::Ok;
    if (result.status == LzwStatus::Ok && start == LzwStatus::BadCodeSize) result.status = LzwStatus::BadCodeSize;
    if (params.progress && lastPercent != 100) params.progress(100);
    return result;
}

}  // namespace inst
