// A frame's pixels: decoding its data into index rows and a bitmap file, and encoding a palette
// picture into frame data.
#include <algorithm>

#include "framework/core/exceptions.h"
#include "installer/controls/dibfile.h"
#include "installer/controls/gif_lzw.h"
#include "installer/controls/gif_stream.h"
#include "installer/controls/gif_texts.h"

namespace inst {

GifDecodedFrame DecodeGifFrame(const GifFrame& frame, bool tolerant, const GifProgress& progress) {
    if (!frame.data) throw fw::EInvalidGraphicOperation(kGifCorrupt);
    const GifFrameData& d = *frame.data;
    if (d.bitsPerPixel < 1 || d.bitsPerPixel > 8) throw fw::EInvalidGraphicOperation(kGifWrongColors);
    if (d.width <= 0 || d.height <= 0 || static_cast<int64_t>(d.width) * d.height > kGifMaxFramePixels)
        throw fw::EInvalidGraphicOperation(kGifCorrupt);
    LzwDecodeParams params;
    params.width = d.width;
    params.height = d.height;
    params.bitsPerPixel = d.bitsPerPixel;
    params.interlaced = frame.interlaced;
    params.clampCodeSize = tolerant;
    params.progress = progress;
    LzwDecodeResult r = DecodeLzw(d.stream, params);
    switch (r.status) {
        case LzwStatus::Ok:
        case LzwStatus::Truncated: break;
        case LzwStatus::BadCodeSize:
            if (!tolerant) throw fw::EInvalidGraphicOperation(kGifCodeSize);
            break;
        case LzwStatus::ChainTooLong:
            if (!tolerant) throw fw::EInvalidGraphicOperation(kGifCorrupt);
            break;
    }
    GifDecodedFrame out;
    out.indices = std::move(r.indices);
    out.corrupted = frame.corrupted || r.status != LzwStatus::Ok;
    return out;
}

std::vector<uint8_t> GifFrameBitmapFile(const GifFrame& frame, const GifDecodedFrame& decoded) {
    const GifFrameData& d = *frame.data;
    const int bits = d.bitsPerPixel == 1 ? 1 : d.bitsPerPixel <= 4 ? 4 : 8;
    const DibInfoHeader h = MakeDibHeader(d.width, d.height, bits);
    std::vector<PaletteEntry> palette(size_t{1} << bits);
    for (uint32_t i = 0; i < d.table.count && i < palette.size(); ++i) {
        const GifRgb& c = d.table.entries[i];
        palette[i] = {c.blue, c.green, c.red, 0};
    }
    const size_t stride = ScanLineWidth(static_cast<uint32_t>(d.width * bits));
    const size_t width = static_cast<size_t>(d.width);
    std::vector<uint8_t> rows(stride * static_cast<size_t>(d.height), 0);
    for (int y = 0; y < d.height; ++y) {
        const uint8_t* src = decoded.indices.data() + static_cast<size_t>(y) * width;
        uint8_t* dst = rows.data() + static_cast<size_t>(d.height - 1 - y) * stride;  // bottom row first
        switch (bits) {
            case 8: std::copy(src, src + width, dst); break;
            case 4:
                for (size_t x = 0; x < width; ++x) dst[x / 2] |= static_cast<uint8_t>((src[x] & 15) << (x % 2 ? 0 : 4));
                break;
            default:
                for (size_t x = 0; x < width; ++x) dst[x / 8] |= static_cast<uint8_t>((src[x] & 1) << (7 - x % 8));
                break;
        }
    }
    return BuildBitmapFile(h, palette, rows);
}

std::shared_ptr<GifFrameData> EncodeGifFrame(int width, int height, std::span<const uint32_t> palette,
                                             std::span<const uint8_t> indices, const GifProgress& progress) {
    if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF || palette.size() > 256 ||
        indices.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        throw fw::EInvalidGraphicOperation(kGifEncodingError);
    auto data = std::make_shared<GifFrameData>();
    data->width = width;
    data->height = height;
    // Indices past the palette would collide with the clear code: the table grows (in black) to cover them.
    const uint32_t used = indices.empty() ? 0u : uint32_t{*std::max_element(indices.begin(), indices.end())} + 1;
    data->table.count = std::max(static_cast<uint32_t>(palette.size()), used);
    for (size_t i = 0; i < palette.size(); ++i)
        data->table.entries[i] = {static_cast<uint8_t>(palette[i] >> 16), static_cast<uint8_t>(palette[i] >> 8),
                                  static_cast<uint8_t>(palette[i])};
    data->bitsPerPixel = TableExponent(data->table.count);
    data->stream = EncodeLzw(indices, width, height, data->bitsPerPixel, false, progress);
    return data;
}

}  // namespace inst
