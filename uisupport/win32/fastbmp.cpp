#include "uisupport/win32/fastbmp.h"

#include "framework/core/exceptions.h"

namespace uis {

TFastBmp::TFastBmp(int width, int height) { Create(width, height); }

TFastBmp::TFastBmp(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info)) throw fw::EInvalidGraphic("Invalid bitmap");
    Create(info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(pixels_.Height), pixels_.Bits, &info_, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

TFastBmp::~TFastBmp() {
    if (handle_) DeleteObject(handle_);
}

void TFastBmp::Create(int width, int height) {
    if (width <= 0 || height <= 0) throw fw::EInvalidGraphic("Invalid bitmap size");
    BITMAPINFOHEADER& header = info_.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = -height;  // top-down: row 0 is the top row
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    handle_ = CreateDIBSection(screen, &info_, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!handle_ || !bits) throw fw::EOutOfResources("Out of system resources");
    pixels_.Width = width;
    pixels_.Height = height;
    pixels_.Bits = static_cast<uint8_t*>(bits);
}

void TFastBmp::DrawTo(HDC dc, int x, int y) const {
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(pixels_.Width), static_cast<DWORD>(pixels_.Height), 0, 0, 0,
                      static_cast<UINT>(pixels_.Height), pixels_.Bits, &info_, DIB_RGB_COLORS);
}

void TFastBmp::CopyFrom(HDC dc, int x, int y) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, handle_);
    BitBlt(memory, 0, 0, pixels_.Width, pixels_.Height, dc, x, y, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    GdiFlush();
}

}  // namespace uis
