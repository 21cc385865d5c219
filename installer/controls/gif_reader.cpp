// Reading GIF files into frames (the layouts are drawn in gif_stream.h).
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/core/exceptions.h"
#include "installer/controls/gif_stream.h"
#include "installer/controls/gif_texts.h"
#include "installer/controls/le_bytes.h"

namespace inst {

namespace {

constexpr uint8_t kExtension = '!';
constexpr uint8_t kImage = ',';
constexpr uint8_t kTrailer = ';';
constexpr uint8_t kLabelGraphicControl = 0xF9;
constexpr uint8_t kLabelPlainText = 0x01;
constexpr uint8_t kLabelApplication = 0xFF;
constexpr uint8_t kLabelComment = 0xFE;
constexpr size_t kScreenDescriptorSize = 7;
constexpr size_t kImageDescriptorSize = 9;

// Raised where a block ends early; the reader decides whether that ends the file or fails it.
struct Truncated {};

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    bool AtEnd() const { return pos_ >= data_.size(); }
    size_t Remaining() const { return data_.size() - pos_; }

    bool TryByte(uint8_t& b) {
        if (AtEnd()) return false;
        b = data_[pos_++];
        return true;
    }
    uint8_t Byte() {
        uint8_t b;
        if (!TryByte(b)) throw Truncated{};
        return b;
    }
    std::span<const uint8_t> Bytes(size_t n) {
        if (n > Remaining()) throw Truncated{};
        std::span<const uint8_t> s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // Up to n bytes: what is left when fewer remain.
    std::span<const uint8_t> Some(size_t n) { return Bytes(std::min(n, Remaining())); }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

void ReadTable(ByteReader& in, int exponent, GifColorTable& table) {
    table.count = 1u << exponent;
    std::span<const uint8_t> rgb = in.Bytes(3 * size_t{table.count});
    for (uint32_t i = 0; i < table.count; ++i) table.entries[i] = {rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]};
}

// Data sub-blocks up to the 0 byte, one line each.
std::vector<std::string> ReadLines(ByteReader& in) {
    std::vector<std::string> lines;
    for (uint8_t n = in.Byte(); n != 0; n = in.Byte()) {
        std::span<const uint8_t> s = in.Bytes(n);
        lines.emplace_back(s.begin(), s.end());
    }
    return lines;
}

bool IsLoopingApplication(const std::vector<uint8_t>& fixed) {
    static constexpr char kNetscape[] = "NETSCAPE2.0";
    static constexpr char kAnimExts[] = "ANIMEXTS1.0";
    return fixed.size() == 12 && fixed[0] == 11 &&
           (std::memcmp(fixed.data() + 1, kNetscape, 11) == 0 || std::memcmp(fixed.data() + 1, kAnimExts, 11) == 0);
}

class GifReader {
public:
    GifReader(std::span<const uint8_t> data, bool tolerant) : in_(data), tolerant_(tolerant) {}

    GifFile Read() {
        try {
            ReadHeader();
            ReadBlocks();
        } catch (const Truncated&) {
            // A file cut inside a block: tolerated after a frame, which is then marked corrupted.
            if (!tolerant_ || file_.frames.empty()) throw fw::EReadError(kStreamReadError);
            file_.frames.back().corrupted = true;
        }
        return std::move(file_);
    }

private:
    void ReadHeader() {
        std::span<const uint8_t> h = in_.Bytes(6);
        auto lower = [](uint8_t c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); };
        const std::string version{lower(h[3]), lower(h[4]), lower(h[5])};
        if (h[0] != 'G' || h[1] != 'I' || h[2] != 'F' || (version != "87a" && version != "89a"))
            throw fw::EInvalidGraphicOperation(kGifUnknownVersion);
        file_.version = version == "87a" ? 1 : 2;

        std::span<const uint8_t> d = in_.Bytes(kScreenDescriptorSize);
        file_.screenWidth = Le16(d.data() + 0);
        file_.screenHeight = Le16(d.data() + 2);
        const uint8_t packed = d[4];
        GifScreen& screen = *file_.screen;
        screen.aspect = d[6];
        screen.tableExponent = (packed & 7) + 1;
        screen.colorResolution = ((packed >> 4) & 7) + 1;
        if (packed & 0x80) {
            ReadTable(in_, screen.tableExponent, screen.globalTable);
            if (d[5] < screen.globalTable.count) file_.backgroundColor = ColorOf(screen.globalTable.entries[d[5]]);
        }
    }

    void ReadBlocks() {
        uint8_t b = 0;
        if (!in_.TryByte(b)) return;
        while (b != 0 && b != kTrailer) {
            while (b == kExtension) {
                ReadExtension();
                if (!in_.TryByte(b)) return;
            }
            if (b == kImage) {
                ReadFrame();
                // Padding zeros between blocks are skipped; anything but a block start ends the file.
                do {
                    if (!in_.TryByte(b)) return;
                } while (b == 0);
                if (b != kExtension && b != kImage && b != kTrailer) return;
                continue;
            }
            // Extensions with no image after them: their comments become the file's comment.
            GifScreen& screen = *file_.screen;
            if (!screen.comment.empty() || collected_.empty()) {
                if (b != 0 && b != kTrailer) throw fw::EReadError(kStreamReadError);
            } else {
                for (const GifExtension& e : collected_) {
                    if (e.kind != GifExtensionKind::ekComment) continue;
                    if (!screen.comment.empty()) screen.comment.push_back("\r\n\r\n");
                    screen.comment.insert(screen.comment.end(), e.lines.begin(), e.lines.end());
                }
                collected_.clear();
            }
        }
    }

    void ReadExtension() {
        const uint8_t label = in_.Byte();
        GifExtension e;
        switch (label) {
            case kLabelGraphicControl: {
                e.kind = GifExtensionKind::ekGraphicControl;
                std::span<const uint8_t> f = in_.Bytes(6);
                e.fixed.assign(f.begin(), f.end());
                collected_.push_back(std::move(e));
                return;
            }
            case kLabelPlainText: {
                // Text drawn over the picture is not kept; what was collected for the next frame goes too.
                collected_.clear();
                in_.Bytes(13);
                ReadLines(in_);
                return;
            }
            case kLabelApplication: {
                std::span<const uint8_t> f = in_.Bytes(12);
                e.fixed.assign(f.begin(), f.end());
                const std::vector<std::string> lines = ReadLines(in_);
                if (IsLoopingApplication(e.fixed) && !lines.empty() && lines[0].size() >= 3 && lines[0][0] == 1) {
                    file_.loopEnabled = true;
                    const int count = static_cast<uint8_t>(lines[0][1]) | static_cast<uint8_t>(lines[0][2]) << 8;
                    file_.loopCount = std::min(count, kGifMaxLoopCount);
                }
                return;
            }
            case kLabelComment:
                e.kind = GifExtensionKind::ekComment;
                e.lines = ReadLines(in_);
                collected_.push_back(std::move(e));
                return;
            default: {
                char text[64];
                std::snprintf(text, sizeof text, kGifUnknownExtension, static_cast<unsigned>(label));
                throw fw::EInvalidGraphicOperation(text);
            }
        }
    }

    void ReadFrame() {
        GifFrame frame;
        auto data = std::make_shared<GifFrameData>();
        const GifScreen& screen = *file_.screen;
        std::span<const uint8_t> d = in_.Bytes(kImageDescriptorSize);
        frame.left = Le16(d.data() + 0);
        frame.top = Le16(d.data() + 2);
        data->width = Le16(d.data() + 4);
        data->height = Le16(d.data() + 6);
        data->packed = d[8];
        frame.interlaced = (data->packed & 0x40) != 0;
        if (data->packed & 0x80) {
            // A local table gives the frame its own depth, whatever the global table holds.
            frame.hasLocalTable = true;
            data->bitsPerPixel = (data->packed & 7) + 1;
            ReadTable(in_, data->bitsPerPixel, data->table);
        } else if (screen.globalTable.count > 0) {
            const uint32_t n = screen.globalTable.count;
            if (n < 2 || n > 256 || (n & (n - 1)) != 0) throw fw::EInvalidGraphicOperation(kGifWrongColors);
            data->bitsPerPixel = TableExponent(n);
            data->table = screen.globalTable;
        }
        if (data->width == 0) data->width = file_.screenWidth;
        if (data->height == 0) data->height = file_.screenHeight;
        if (static_cast<int64_t>(data->width) * data->height > kGifMaxFramePixels)
            throw fw::EInvalidGraphicOperation(kGifCorrupt);
        frame.corrupted = !ReadDataStream(data->stream);
        if (frame.corrupted && !tolerant_) throw fw::EReadError(kStreamReadError);

        for (const GifExtension& e : collected_) {
            if (e.kind != GifExtensionKind::ekGraphicControl) continue;
            const uint8_t packed = e.fixed[1];
            const uint8_t index = e.fixed[4];
            frame.transparentColor =
                (packed & 1) && index < data->table.count ? ColorOf(data->table.entries[index]) : fw::clNone;
            frame.frameDelay = std::max(10 * Le16(e.fixed.data() + 2), frame.frameDelay);
            frame.disposal = (packed >> 2) & 7;
        }
        frame.extensions = std::move(collected_);
        collected_.clear();
        frame.data = std::move(data);
        file_.frames.push_back(std::move(frame));
    }

    // Copies the minimum code size and the sub-blocks. A sub-block cut by the end of the data keeps
    // what is there (its length byte set to match, so the copy stays well-formed) and makes the
    // result false.
    bool ReadDataStream(std::vector<uint8_t>& out) {
        uint8_t b;
        if (!in_.TryByte(b)) return false;
        out.push_back(b);
        for (;;) {
            if (!in_.TryByte(b)) {
                out.push_back(0);
                return false;
            }
            if (b == 0) {
                out.push_back(0);
                return true;
            }
            std::span<const uint8_t> s = in_.Some(b);
            if (!s.empty()) {
                out.push_back(static_cast<uint8_t>(s.size()));
                out.insert(out.end(), s.begin(), s.end());
            }
            if (s.size() < b) {
                out.push_back(0);
                return false;
            }
        }
    }

    ByteReader in_;
    bool tolerant_;
    GifFile file_;
    std::vector<GifExtension> collected_;
};

}  // namespace

int TableExponent(uint32_t count) {
    int n = 1;
    while (n < 8 && (1u << n) < count) ++n;
    return n;
}

fw::TColor ColorOf(const GifRgb& rgb) { return fw::RGB(rgb.red, rgb.green, rgb.blue); }

int FindColor(const GifColorTable& table, fw::TColor color) {
    for (uint32_t i = 0; i < table.count && i < table.entries.size(); ++i)
        if (ColorOf(table.entries[i]) == color) return static_cast<int>(i);
    return -1;
}

GifFile ReadGif(std::span<const uint8_t> data, bool tolerant) { return GifReader(data, tolerant).Read(); }

}  // namespace inst
