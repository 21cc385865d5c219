#include "installer/controls/win32/kyvgraph.h"

#include "framework/core/exceptions.h"
#include "installer/controls/win32/kyvguiutils.h"

namespace inst {

TReductionMethod DefaultMappingMethod = TReductionMethod::rmHistogram;

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

struct SystemDib {
    DibInfoHeader header;
    std::vector<PaletteEntry> palette;
    std::vector<uint8_t> rows;
};

// GetDIBits into a bottom-up DIB of `bits` bits, the palette selected and realized in a memory DC.
bool GetSystemDib(HBITMAP bitmap, HPALETTE palette, int bits, SystemDib& out) {
    BITMAP bm{};
    if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = bm.bmWidth;
    info.header.biHeight = bm.bmHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    out.header = MakeDibHeader(bm.bmWidth, bm.bmHeight, bits);
    out.rows.assign(DibImageSize(out.header), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HPALETTE old = nullptr;
    if (palette) {
        old = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(bm.bmHeight), out.rows.data(),
                                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (old) SelectPalette(dc, old, FALSE);
    DeleteDC(dc);
    if (lines != bm.bmHeight || info.header.biBitCount != bits) return false;
    out.palette.clear();
    for (uint32_t i = 0; i < PaletteCount(out.header); ++i)
        out.palette.push_back({info.colors[i].rgbBlue, info.colors[i].rgbGreen, info.colors[i].rgbRed, 0});
    return true;
}

std::unique_ptr<fw::TMemoryStream> StreamOf(const std::vector<uint8_t>& file) {
    auto s = std::make_unique<fw::TMemoryStream>();
    s->WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    s->SetPosition(0);
    return s;
}

}  // namespace

int PixelFormatColors(fw::TPixelFormat format) {
    switch (format) {
        case fw::TPixelFormat::pf1bit: return 2;
        case fw::TPixelFormat::pf4bit: return 16;
        case fw::TPixelFormat::pf8bit: return 256;
        default: return 0;
    }
}

int PixelFormatBits(fw::TPixelFormat format) {
    switch (format) {
        case fw::TPixelFormat::pf1bit: return 1;
        case fw::TPixelFormat::pf4bit: return 4;
        case fw::TPixelFormat::pf8bit: return 8;
        case fw::TPixelFormat::pf24bit: return 24;
        default: return 0;
    }
}

DibInfoHeader BitmapInfoHeader(HBITMAP bitmap, fw::TPixelFormat format) {
    BITMAP bm{};
    if (!bitmap || GetObjectA(bitmap, sizeof bm, &bm) == 0) return {};
    return MakeDibHeader(bm.bmWidth, bm.bmHeight, PixelFormatBits(format));
}

std::vector<uint8_t> BitmapFileThroughSystem(HBITMAP bitmap, HPALETTE palette, int bits) {
    SystemDib dib;
    if (!GetSystemDib(bitmap, palette, bits, dib)) return {};
    return BuildBitmapFile(dib.header, dib.palette, dib.rows);
}

std::unique_ptr<fw::TMemoryStream> ConvertBitmapToDIB(fw::TBitmap* bitmap, fw::TPixelFormat format, TReductionMethod method) {
    if (!bitmap || !bitmap->HandleAllocated()) throw fw::EInvalidGraphic(kInvalidBitmap);
    if (bitmap->PixelFormat() == format && method != TReductionMethod::rmGrayscale) {
        auto s = std::make_unique<fw::TMemoryStream>();
        bitmap->SaveToStream(*s);
        s->SetPosition(0);
        return s;
    }
    const int bits = PixelFormatBits(format);
    if (bits == 0) ShowNotImplemented();
    // The methods write 8-bit indices: a 24-bit header over them would describe a picture that is not there.
    if (bits == 24) throw fw::EInvalidGraphic(kInvalidBitmap);
    HPALETTE palette = bitmap->Palette();
    HBITMAP handle = bitmap->Handle();
    SystemDib dib;
    if (bits <= 4) {
        if (!GetSystemDib(handle, palette, bits, dib)) ShowNotImplemented();
        return StreamOf(BuildBitmapFile(dib.header, dib.palette, dib.rows));
    }
    if (!GetSystemDib(handle, palette, 24, dib)) ShowNotImplemented();
    return StreamOf(ReducedBitmapFile(std::move(dib.rows), dib.header.width, dib.header.height, method));
}

std::unique_ptr<fw::TMemoryStream> ReduceBitmapColors(fw::TBitmap* bitmap, int colors) {
    fw::TPixelFormat format = fw::TPixelFormat::pf8bit;
    if (colors <= 2)
        format = fw::TPixelFormat::pf1bit;
    else if (colors <= 16)
        format = fw::TPixelFormat::pf4bit;
    else if (colors > 256)
        format = fw::TPixelFormat::pf24bit;
    return ConvertBitmapToDIB(bitmap, format, DefaultMappingMethod);
}

}  // namespace inst
