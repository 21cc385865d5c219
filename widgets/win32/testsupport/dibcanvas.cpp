#include "widgets/win32/testsupport/dibcanvas.h"

#include "framework/core/bmp.h"
#include "testing/test_env.h"

namespace kvx::win32::test {

TDibCanvas::TDibCanvas(int width, int height) : width_(width), height_(height), surface_(width, height) {
    canvas_.SetHandle(surface_.DC());
    Fill(fw::clWhite);
}

TDibCanvas::~TDibCanvas() { canvas_.SetHandle(nullptr); }

void TDibCanvas::Fill(fw::TColor color) { surface_.Clear(fw::ColorToRGB(color)); }

fw::TColor TDibCanvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return fw::clNone;
    return surface_.Pixel(x, y);
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
