// Helpers shared by the graphics tests: pixels of a bitmap, and Pillow run from the Unix side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/graphics.h"

namespace gfxtest {

// Pixels of `bitmap` as 0xRRGGBB, rows top first.
std::vector<uint32_t> Rgb(fw::TBitmap& bitmap);
uint32_t RgbAt(fw::TBitmap& bitmap, int x, int y);

// A fresh folder of the running test, as a Windows path and as a Unix path.
struct CaseDir {
    std::string win;
    std::string unix;
};
CaseDir NewCaseDir();

// Runs a shell command on the Unix side and returns its exit code (-1 when it could not be run).
int RunUnix(const CaseDir& dir, const std::string& script);

// Decodes `file` (below dir) with Pillow; fills width, height and "RRGGBB" per pixel, rows top first.
// False with the reason in `error` when Pillow fails or is missing.
bool PillowPixels(const CaseDir& dir, const std::string& file, int& width, int& height, std::vector<uint32_t>& rgb,
                  std::string& error);

}  // namespace gfxtest
