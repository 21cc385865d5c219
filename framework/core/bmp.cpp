#include "framework/core/bmp.h"

#include <algorithm>

#include "framework/core/exceptions.h"

namespace fw {

namespace {

//   BITMAPFILEHEADER (14 bytes)
//   0  "BM"   2  file size u32   6  reserved u16 x2   10  offset of the bits u32
//
//   BITMAPINFOHEADER (40 bytes; V4 = 108 and V5 = 124 extend it, the masks at 40..51 and alpha at 52)
//   0  size u32   4  width i32   8  height i32 (negative: rows top first)   12  planes u16
//   14 bit count u16   16 compression u32   20  image size u32   24/28 resolution   32 colours used u32
//   36 colours important u32
//
//   BITMAPCOREHEADER (12 bytes): 0 size u32, 4 width u16, 6 height u16, 8 planes u16, 10 bit count u16;
//   its colours are 3-byte triples.
constexpr size_t kFileHeader = 14;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

// One colour channel described by a mask: where it sits and how to widen it to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    uint32_t Get(uint32_t v) const {
        if (!mask) return 0;
        const uint32_t raw = (v & mask) >> shift;
        if (bits >= 8) return (raw >> (bits - 8)) & 0xFF;
        // Repeat the bits downwards so that full scale stays full scale (5 bits: v << 3 | v >> 2).
        uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << bits) | raw;
            filled += bits;
        }
        return (out >> (filled - 8)) & 0xFF;
    }
};

Channel MakeChannel(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (!mask) return c;
    while (!((mask >> c.shift) & 1)) ++c.shift;
    while (c.shift + c.bits < 32 && ((mask >> (c.shift + c.bits)) & 1)) ++c.bits;
    return c;
}

struct Info {
    int64_t width = 0, height = 0;
    bool topDown = false;
    int bpp = 0;
    uint32_t compression = 0;
    size_t headerSize = 0;
    bool core = false;
    uint32_t colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

bool ReadInfo(std::span<const uint8_t> d, Info& info, size_t& after, std::string* error) {
    if (d.size() < 4) return Fail(error, "truncated header");
    const uint32_t size = Le32(d.data());
    if (size == 12) {
        if (d.size() < 12) return Fail(error, "truncated header");
        info.core = true;
        info.width = Le16(d.data() + 4);
        info.height = Le16(d.data() + 6);
        info.bpp = Le16(d.data() + 10);
        info.headerSize = 12;
        if (Le16(d.data() + 8) != 1) return Fail(error, "planes must be 1");
        after = 12;
        return true;
    }
    if (size < 40 || size > 4096 || d.size() < size) return Fail(error, "bad header size");
    info.headerSize = size;
    info.width = static_cast<int32_t>(Le32(d.data() + 4));
    const int32_t h = static_cast<int32_t>(Le32(d.data() + 8));
    info.topDown = h < 0;
    info.height = h < 0 ? -static_cast<int64_t>(h) : h;
    if (Le16(d.data() + 12) != 1) return Fail(error, "planes must be 1");
    info.bpp = Le16(d.data() + 14);
    info.compression = Le32(d.data() + 16);
    info.colorsUsed = Le32(d.data() + 32);
    after = size;
    if (info.compression == kBiBitfields) {
        if (size >= 56) {
            for (int i = 0; i < 4; ++i) info.masks[i] = Le32(d.data() + 40 + 4 * i);
        } else if (size >= 52) {
            for (int i = 0; i < 3; ++i) info.masks[i] = Le32(d.data() + 40 + 4 * i);
        } else {
            // The three masks follow a plain information header.
            if (d.size() < size + 12) return Fail(error, "truncated colour masks");
            for (int i = 0; i < 3; ++i) info.masks[i] = Le32(d.data() + size + 4 * i);
            after = size + 12;
        }
    } else if (size >= 56 && info.bpp == 32) {
        info.masks[3] = Le32(d.data() + 52);  // an alpha mask of a V4/V5 header
    }
    return true;
}

bool DecodeBits(std::span<const uint8_t> d, const Info& info, size_t paletteAt, size_t bitsAt, BmpImage& img,
                std::string* error) {
    if (info.width <= 0 || info.height <= 0 || info.width > 32767 || info.height > 32767)
        return Fail(error, "bad dimensions");
    if (info.width * info.height > kBmpMaxPixels) return Fail(error, "image too large");
    const int bpp = info.bpp;
    const uint32_t comp = info.compression;
    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    if (!(paletted || bpp == 16 || bpp == 24 || bpp == 32)) return Fail(error, "unsupported bit count");
    if (comp == kBiRle8 && bpp != 8) return Fail(error, "RLE8 needs 8 bits per pixel");
    if (comp == kBiRle4 && bpp != 4) return Fail(error, "RLE4 needs 4 bits per pixel");
    if (comp == kBiBitfields && bpp != 16 && bpp != 32) return Fail(error, "bit fields need 16 or 32 bits");
    if (comp > kBiBitfields) return Fail(error, "unsupported compression");
    if ((comp == kBiRle8 || comp == kBiRle4) && info.topDown) return Fail(error, "RLE images are bottom-up");
    if (info.core && comp != kBiRgb) return Fail(error, "core headers are uncompressed");

    const size_t w = static_cast<size_t>(info.width), h = static_cast<size_t>(info.height);
    if (bitsAt > d.size()) return Fail(error, "bits beyond the end");
    const size_t avail = d.size() - bitsAt;
    // A run of two bytes paints at most 255 pixels, so a stream far too short for the picture is
    // refused before the picture is allocated (skips may leave areas unpainted, but no encoder
    // writes a picture that is mostly skipped).
    if ((comp == kBiRle8 || comp == kBiRle4) && w * h > avail * 128 + (size_t{1} << 16))
        return Fail(error, "RLE data too short for the image");
    img.width = static_cast<int>(w);
    img.height = static_cast<int>(h);
    img.bitsPerPixel = bpp;
    img.palette.clear();
    img.indices.clear();
    img.pixels.clear();

    if (paletted) {
        size_t count = info.colorsUsed ? info.colorsUsed : (size_t{1} << bpp);
        if (info.core) count = size_t{1} << bpp;
        if (count > 256) return Fail(error, "too many colours");
        const size_t entry = info.core ? 3 : 4;
        if (paletteAt > d.size() || (d.size() - paletteAt) / entry < count) return Fail(error, "truncated colour table");
        for (size_t i = 0; i < count; ++i) {
            const uint8_t* p = d.data() + paletteAt + i * entry;
            img.palette.push_back((static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0]);
        }
        if (img.palette.empty()) return Fail(error, "empty colour table");
        img.indices.assign(w * h, 0);
    }
    const uint8_t* bits = d.data() + bitsAt;

    if (comp == kBiRle8 || comp == kBiRle4) {
        // Bottom-up: row 0 of the stream is the image's last row.
        size_t x = 0, row = 0, i = 0;
        const bool four = comp == kBiRle4;
        auto put = [&](uint8_t index) {
            if (x < w && row < h) img.indices[(h - 1 - row) * w + x] = index;
            ++x;
        };
        while (row < h) {
            if (i + 2 > avail) break;  // a stream cut short leaves the rest at index 0
            const uint8_t count = bits[i], value = bits[i + 1];
            i += 2;
            if (count > 0) {
                for (int k = 0; k < count && x < w; ++k)
                    put(four ? static_cast<uint8_t>((k & 1) ? (value & 15) : (value >> 4)) : value);
                continue;
            }
            if (value == 0) {  // end of line
                x = 0;
                ++row;
            } else if (value == 1) {  // end of bitmap
                break;
            } else if (value == 2) {  // delta
                if (i + 2 > avail) break;
                x += bits[i];
                row += bits[i + 1];
                i += 2;
            } else {  // absolute run of value pixels, padded to a 16-bit boundary
                const size_t n = value;
                const size_t bytes = four ? (n + 1) / 2 : n;
                if (bytes > avail - i) return Fail(error, "truncated RLE run");
                for (size_t k = 0; k < n; ++k)
                    put(four ? static_cast<uint8_t>((k & 1) ? (bits[i + k / 2] & 15) : (bits[i + k / 2] >> 4)) : bits[i + k]);
                i += (bytes + 1) & ~size_t{1};
            }
        }
    } else {
        const size_t stride = ((w * static_cast<size_t>(bpp) + 31) / 32) * 4;
        // The last row needs only its pixels, not its padding.
        const size_t lastRow = (w * static_cast<size_t>(bpp) + 7) / 8;
        if (avail < stride * (h - 1) + lastRow) return Fail(error, "truncated bits");
        Channel ch[4];
        if (comp == kBiBitfields) {
            for (int c = 0; c < 4; ++c) ch[c] = MakeChannel(info.masks[c]);
        } else if (bpp == 16) {
            ch[0] = MakeChannel(0x7C00);
            ch[1] = MakeChannel(0x03E0);
            ch[2] = MakeChannel(0x001F);
        }
        if (!paletted) img.pixels.assign(w * h, 0);
        for (size_t r = 0; r < h; ++r) {
            const uint8_t* src = bits + r * stride;
            const size_t y = info.topDown ? r : h - 1 - r;
            for (size_t x = 0; x < w; ++x) {
                if (paletted) {
                    const size_t bit = x * static_cast<size_t>(bpp);
                    const uint8_t byte = src[bit / 8];
                    const int shift = 8 - bpp - static_cast<int>(bit % 8);
                    img.indices[y * w + x] = static_cast<uint8_t>((byte >> shift) & ((1 << bpp) - 1));
                } else if (bpp == 24) {
                    const uint8_t* p = src + x * 3;
                    img.pixels[y * w + x] = (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
                } else {
                    uint32_t v;
                    if (bpp == 16) {
                        v = Le16(src + x * 2);
                    } else {
                        v = Le32(src + x * 4);
                        if (comp == kBiRgb) {
                            img.pixels[y * w + x] = v;  // 0xXXRRGGBB already
                            continue;
                        }
                    }
                    img.pixels[y * w + x] = (ch[3].Get(v) << 24) | (ch[0].Get(v) << 16) | (ch[1].Get(v) << 8) | ch[2].Get(v);
                }
            }
        }
    }
    if (paletted) {
        img.pixels.resize(w * h);
        for (size_t i = 0; i < w * h; ++i) {
            const uint8_t index = img.indices[i];
            // An index past the colour table shows as black.
            img.pixels[i] = index < img.palette.size() ? img.palette[index] : 0;
        }
    } else if (img.pixels.empty()) {
        img.pixels.assign(w * h, 0);
    }
    return true;
}

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

bool DecodeDib(std::span<const uint8_t> data, BmpImage& image, std::string* error) {
    Info info;
    size_t after = 0;
    if (!ReadInfo(data, info, after, error)) return false;
    size_t colors = 0;
    if (info.bpp <= 8) {
        const size_t count = info.core ? (size_t{1} << std::min(info.bpp, 8)) : (info.colorsUsed ? info.colorsUsed : (size_t{1} << std::min(info.bpp, 8)));
        colors = std::min<size_t>(count, 256) * (info.core ? 3 : 4);
    } else if (info.colorsUsed && info.colorsUsed <= 256) {
        colors = info.colorsUsed * 4;  // an optional table that true-colour images may carry
    }
    return DecodeBits(data, info, after, after + colors, image, error);
}

bool DecodeBmp(std::span<const uint8_t> data, BmpImage& image, std::string* error) {
    if (data.size() < kFileHeader || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a BMP file");
    const uint32_t offBits = Le32(data.data() + 10);
    const std::span<const uint8_t> dib = data.subspan(kFileHeader);
    Info info;
    size_t after = 0;
    if (!ReadInfo(dib, info, after, error)) return false;
    if (offBits < kFileHeader + after || offBits > data.size()) return Fail(error, "bad offset of the bits");
    return DecodeBits(dib, info, after, offBits - kFileHeader, image, error);
}

BmpImage ReadBmp(std::span<const uint8_t> data) {
    BmpImage image;
    if (!DecodeBmp(data, image)) throw EInvalidGraphic("Bitmap image is not valid");
    return image;
}

std::vector<uint8_t> EncodeBmp(const BmpImage& image, int bitsPerPixel) {
    const int bpp = bitsPerPixel ? bitsPerPixel : image.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) throw EInvalidGraphic("Unsupported bitmap depth");
    if (image.width <= 0 || image.height <= 0 || int64_t{image.width} * image.height > kBmpMaxPixels)
        throw EInvalidGraphic("Invalid bitmap size");
    const size_t w = static_cast<size_t>(image.width), h = static_cast<size_t>(image.height);
    const bool paletted = bpp <= 8;
    if (paletted) {
        if (image.palette.empty() || image.palette.size() > (size_t{1} << bpp) || image.indices.size() != w * h)
            throw EInvalidGraphic("The palette does not fit the bitmap depth");
        for (uint8_t index : image.indices)
            if (index >= image.palette.size()) throw EInvalidGraphic("A pixel's index is outside the palette");
    } else if (image.pixels.size() != w * h) {
        throw EInvalidGraphic("Invalid bitmap size");
    }
    const size_t colors = paletted ? image.palette.size() : 0;
    const size_t stride = ((w * static_cast<size_t>(bpp) + 31) / 32) * 4;
    const size_t offBits = kFileHeader + 40 + colors * 4;
    std::vector<uint8_t> out(offBits + stride * h, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out, 2, static_cast<uint32_t>(out.size()));
    Put32(out, 10, static_cast<uint32_t>(offBits));
    const size_t ih = kFileHeader;
    Put32(out, ih + 0, 40);
    Put32(out, ih + 4, static_cast<uint32_t>(w));
    Put32(out, ih + 8, static_cast<uint32_t>(h));
    Put16(out, ih + 12, 1);
    Put16(out, ih + 14, static_cast<uint32_t>(bpp));
    Put32(out, ih + 16, kBiRgb);
    Put32(out, ih + 20, static_cast<uint32_t>(stride * h));
    Put32(out, ih + 24, 3780);  // 96 dots per inch
    Put32(out, ih + 28, 3780);
    Put32(out, ih + 32, static_cast<uint32_t>(colors));
    for (size_t i = 0; i < colors; ++i) Put32(out, ih + 40 + i * 4, image.palette[i] & 0xFFFFFF);
    for (size_t y = 0; y < h; ++y) {
        uint8_t* row = out.data() + offBits + (h - 1 - y) * stride;  // bottom-up
        for (size_t x = 0; x < w; ++x) {
            if (paletted) {
                const size_t bit = x * static_cast<size_t>(bpp);
                const int shift = 8 - bpp - static_cast<int>(bit % 8);
                row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | (image.indices[y * w + x] << shift));
            } else {
                const uint32_t p = image.pixels[y * w + x];
                uint8_t* dst = row + x * static_cast<size_t>(bpp / 8);
                dst[0] = static_cast<uint8_t>(p);
                dst[1] = static_cast<uint8_t>(p >> 8);
                dst[2] = static_cast<uint8_t>(p >> 16);
                if (bpp == 32) dst[3] = static_cast<uint8_t>(p >> 24);
            }
        }
    }
    return out;
}

}  // namespace fw
