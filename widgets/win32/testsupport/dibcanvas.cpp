#include "widgets/win32/testsupport/dibcanvas.h"

#include "framework/core/bmp.h"
#include "testing/test_env.h"

namespace kvx::win32::test {

TDibCanvas::TDibCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    canvas_.SetHandle(dc_);
    Fill(fw::clWhite);
}

TDibCanvas::~TDibCanvas() {
    canvas_.SetHandle(nullptr);
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void TDibCanvas::Fill(fw::TColor color) {
    GdiFlush();
    RECT r{0, 0, width_, height_};
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(color)));
    FillRect(dc_, &r, b);
    DeleteObject(b);
}

fw::TColor TDibCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return fw::clNone;
    GdiFlush();
    const uint32_t v = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return static_cast<fw::TColor>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
}

std::vector<fw::TColor> TDibCanvas::Pixels() const {
    std::vector<fw::TColor> out;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.push_back(Pixel(x, y));
    return out;
}

int TDibCanvas::RunOf(int x, int y, fw::TColor color) const {
    int n = 0;
    while (Pixel(x + n, y) == color) ++n;
    return n;
}

void TDibCanvas::SaveBmp(const std::string& path) const {
    fw::BmpImage image;
    image.width = width_;
    image.height = height_;
    image.bitsPerPixel = 24;
    for (fw::TColor c : Pixels())
        image.pixels.push_back(static_cast<uint32_t>(fw::GetRValue(c) << 16 | fw::GetGValue(c) << 8 | fw::GetBValue(c)));
    const std::vector<uint8_t> bytes = fw::EncodeBmp(image, 24);
    mx::test::WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

bool LoadWineBitmapFont() {
    static const int added =
        AddFontResourceExA(mx::test::HostPath("/usr/share/wine/fonts/sserife.fon").c_str(), FR_PRIVATE, nullptr);
    return added > 0;
}

HFONT RasterSansSerif() {
    return CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_RASTER_PRECIS, CLIP_DEFAULT_PRECIS,
                       NONANTIALIASED_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
}

fw::TColor SysColor(fw::TColor color) { return fw::ColorToRGB(color); }

}  // namespace kvx::win32::test
