// TFastBmp: a 24-bit top-down DIB section with direct row access, the fast bitmap behind the media
// buttons' blur.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/win32/winapi.h"
#include "uisupport/pixelbuffer.h"

namespace uis {

class TFastBmp {
public:
    // A blank bitmap of the size.
    TFastBmp(int width, int height);
    // A copy of `bitmap`'s pixels as 24-bit colour.
    explicit TFastBmp(HBITMAP bitmap);
    ~TFastBmp();
    TFastBmp(const TFastBmp&) = delete;
    TFastBmp& operator=(const TFastBmp&) = delete;

    HBITMAP Handle() const { return handle_; }
    int Width() const { return pixels_.Width; }
    int Height() const { return pixels_.Height; }
    size_t Size() const { return TPixelBuffer::RowBytes(pixels_.Width) * static_cast<size_t>(pixels_.Height); }
    // Row 0 is the top row.
    uint8_t* RowAddress(int y) const { return pixels_.Row(y); }
    TPixelBuffer& Pixels() { return pixels_; }
    // Sets the whole pixel block to the device at (x, y).
    void DrawTo(HDC dc, int x, int y) const;
    // Copies the block's size from the device at (x, y) (a bitmap held by a canvas is read so).
    void CopyFrom(HDC dc, int x, int y);
    void BlurBy(int amount) { uis::BlurBy(pixels_, amount); }

private:
    void Create(int width, int height);

    HBITMAP handle_ = nullptr;
    BITMAPINFO info_{};
    TPixelBuffer pixels_;
};

}  // namespace uis
