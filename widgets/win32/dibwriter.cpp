#include "widgets/win32/dibwriter.h"

#include <cstring>

#include "framework/core/exceptions.h"
#include "widgets/dibformat.h"
#include "widgets/kvxstreams.h"

namespace kvx::win32 {

namespace {

constexpr const char* SInvalidBitmap = "Bitmap image is not valid";

BITMAP ObjectOf(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || GetObjectA(bitmap, sizeof(bm), &bm) == 0) throw fw::EInvalidGraphic(SInvalidBitmap);
    return bm;
}

int BitsOf(const BITMAP& bm, int code) { return KVXDIBBits(code, bm.bmPlanes * bm.bmBitsPixel); }

}  // namespace

void KVXFillDIBHeader(HBITMAP bitmap, BITMAPINFOHEADER& header, int code) {
    const BITMAP bm = ObjectOf(bitmap);
    const int bits = BitsOf(bm, code);
    std::memset(&header, 0, sizeof(header));
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(KVXDIBImageSize(bm.bmWidth, bm.bmHeight, bits));
}

void KVXDIBSizes(HBITMAP bitmap, int& headerSize, int& imageSize, int code) {
    const BITMAP bm = ObjectOf(bitmap);
    const int bits = BitsOf(bm, code);
    headerSize = KVXDIBHeaderSize(bits);
    imageSize = static_cast<int>(KVXDIBImageSize(bm.bmWidth, bm.bmHeight, bits));
}

bool KVXGetDIBits(HBITMAP bitmap, HPALETTE palette, BITMAPINFO* header, void* bits, int code) {
    KVXFillDIBHeader(bitmap, header->bmiHeader, code);
    HWND focus = GetFocus();
    HDC dc = GetDC(focus);
    HPALETTE oldPalette = nullptr;
    if (palette) {
        oldPalette = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(header->bmiHeader.biHeight), bits, header, DIB_RGB_COLORS);
    if (oldPalette) SelectPalette(dc, oldPalette, FALSE);
    ReleaseDC(focus, dc);
    return lines != 0;
}

std::vector<uint8_t> KVXMakeBMPImage(HBITMAP bitmap, HPALETTE palette, int code) {
    if (!bitmap) throw fw::EInvalidGraphic(SInvalidBitmap);
    int headerSize = 0, imageSize = 0;
    KVXDIBSizes(bitmap, headerSize, imageSize, code);
    std::vector<uint8_t> image(static_cast<size_t>(headerSize) + 14 + static_cast<size_t>(imageSize));
    const auto fileHeader = KVXBMPFileHeader(headerSize, static_cast<uint32_t>(imageSize));
    std::memcpy(image.data(), fileHeader.data(), fileHeader.size());
    auto* info = reinterpret_cast<BITMAPINFO*>(image.data() + 14);
    // A half-filled image must not pass for a picture.
    if (!KVXGetDIBits(bitmap, palette, info, image.data() + 14 + headerSize, code))
        throw fw::EInvalidGraphic(SInvalidBitmap);
    // The system may note the colours it used; the written header keeps the fixed form.
    info->bmiHeader.biClrUsed = 0;
    info->bmiHeader.biClrImportant = 0;
    info->bmiHeader.biXPelsPerMeter = 0;
    info->bmiHeader.biYPelsPerMeter = 0;
    info->bmiHeader.biSizeImage = static_cast<DWORD>(imageSize);
    return image;
}

void KVXWriteBMP(fw::TStream& stream, HBITMAP bitmap, HPALETTE palette, bool withSize, int code) {
    const std::vector<uint8_t> image = KVXMakeBMPImage(bitmap, palette, code);
    if (withSize) KVXWriteInteger(stream, static_cast<int32_t>(image.size()));
    stream.WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
}

void KVXSaveBitmapDepth(fw::TMemoryStream& stream, fw::TBitmap* bitmap, int code) {
    if (!bitmap) throw fw::EInvalidGraphic(SInvalidBitmap);
    if (bitmap->Monochrome()) code = kDibMono;
    KVXWriteBMP(stream, bitmap->Handle(), bitmap->Palette(), false, code);
    stream.SetPosition(0);
}

}  // namespace kvx::win32
