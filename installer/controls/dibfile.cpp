#include "installer/controls/dibfile.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core/exceptions.h"
#include "installer/controls/le_bytes.h"

namespace inst {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

}  // namespace

uint32_t PaletteCount(const DibInfoHeader& h) {
    if (h.bitCount > 8) return 0;
    const uint32_t full = 1u << h.bitCount;
    return h.clrUsed != 0 && h.clrUsed < full ? h.clrUsed : full;
}

uint32_t DibHeaderSize(const DibInfoHeader& h) {
    if (h.bitCount <= 8) return kInfoHeaderSize + 4 * PaletteCount(h);
    return h.compression == kBiBitfields ? kInfoHeaderSize + 12 : kInfoHeaderSize;
}

uint32_t DibImageSize(const DibInfoHeader& h) {
    return ScanLineWidth(static_cast<uint32_t>(h.width) * h.bitCount) * static_cast<uint32_t>(std::abs(h.height));
}

DibInfoHeader MakeDibHeader(int width, int height, int bitCount) {
    DibInfoHeader h;
    h.width = width;
    h.height = height;
    h.bitCount = static_cast<uint16_t>(bitCount);
    h.sizeImage = DibImageSize(h);
    return h;
}

std::vector<uint8_t> BuildBitmapFile(const DibInfoHeader& h, std::span<const PaletteEntry> palette,
                                     std::span<const uint8_t> bits) {
    const uint32_t colors = PaletteCount(h);
    const uint32_t offBits = kFileHeaderSize + kInfoHeaderSize + 4 * colors;
    const uint32_t image = DibImageSize(h);
    std::vector<uint8_t> out;
    out.reserve(offBits + image);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, offBits + image);
    PutLe32(out, 0);
    PutLe32(out, offBits);
    PutLe32(out, kInfoHeaderSize);
    PutLe32(out, static_cast<uint32_t>(h.width));
    PutLe32(out, static_cast<uint32_t>(h.height));
    PutLe16(out, h.planes);
    PutLe16(out, h.bitCount);
    PutLe32(out, kBiRgb);
    PutLe32(out, image);
    PutLe32(out, static_cast<uint32_t>(h.xPelsPerMeter));
    PutLe32(out, static_cast<uint32_t>(h.yPelsPerMeter));
    PutLe32(out, h.clrUsed);
    PutLe32(out, h.clrImportant);
    for (uint32_t i = 0; i < colors; ++i) {
        const PaletteEntry e = i < palette.size() ? palette[i] : PaletteEntry{0, 0, 0, 0};
        out.push_back(e.blue);
        out.push_back(e.green);
        out.push_back(e.red);
        out.push_back(0);
    }
    const size_t take = std::min<size_t>(bits.size(), image);
    out.insert(out.end(), bits.begin(), bits.begin() + static_cast<std::ptrdiff_t>(take));
    out.resize(offBits + image, 0);
    return out;
}

std::vector<uint8_t> ReducedBitmapFile(std::vector<uint8_t> rows, int width, int height, TReductionMethod method) {
    const ReducedPalette palette = ReduceRows(rows, width, height, method);
    DibInfoHeader h = MakeDibHeader(width, height, 8);
    h.clrUsed = palette.colorsUsed;
    return BuildBitmapFile(h, palette.entries, rows);
}

}  // namespace inst
