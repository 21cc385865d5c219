// A canvas over a 32-bit top-down DIB section, whose pixels the Wine tests read directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/controls_test_support.h"
#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"

namespace kvx::win32::test {

class TDibCanvas {
public:
    TDibCanvas(int width, int height);
    ~TDibCanvas();
    TDibCanvas(const TDibCanvas&) = delete;
    TDibCanvas& operator=(const TDibCanvas&) = delete;

    fw::TCanvas* Canvas() { return &canvas_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Fill(fw::TColor color);
    // 0x00BBGGRR.
    fw::TColor Pixel(int x, int y) const;
    std::vector<fw::TColor> Pixels() const;
    // The pixels from (X, Y) on to the right that have Color, as a count.
    int RunOf(int x, int y, fw::TColor color) const;
    // A BMP file of the surface (for the test output).
    void SaveBmp(const std::string& path) const;

private:
    int width_, height_;
    fw::testing::DibSurface surface_;
    fw::TCanvas canvas_;
};

// Makes Wine's bitmap font "MS Sans Serif" (package fonts-wine) available to this process; false when
// it is not installed. Its glyphs are not smoothed, so drawn text is exact to the pixel.
bool LoadWineBitmapFont();
// That font at 8 points. The caller owns the handle.
HFONT RasterSansSerif();

// A system colour as the surface holds it.
fw::TColor SysColor(fw::TColor color);

}  // namespace kvx::win32::test
