// Helpers of the controls' Wine tests: a shown form to place controls on, reading pixels of a window,
// and image lists of known pictures.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/kvximagelist.h"

namespace kvx::win32::test {

// Runs every queued message (paints included).
void Pump();
// Pumps for about Milliseconds (timers need time).
void PumpFor(int milliseconds);
// The pixel of a window's client area as the screen shows it (0x00BBGGRR).
fw::TColor WindowPixel(HWND window, int x, int y);

// A picture of Width x Height whose pixel colour is Color(x, y).
void PaintPicture(fw::TBitmap* bitmap, int width, int height, const std::function<fw::TColor(int, int)>& color);
// An image list owned by Owner with one item of Width x Height images, one per colour function.
TKVXImageList* MakeImageList(fw::TComponent* owner, int width, int height,
                             std::initializer_list<std::function<fw::TColor(int, int)>> images);
// A two-colour checker of Cell x Cell squares.
std::function<fw::TColor(int, int)> Checker(int cell, fw::TColor a, fw::TColor b);

// A fixture with one shown form of 480 x 360 client pixels, shared by the tests of a suite; the
// controls a test puts on it are freed after the test.
class TControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void TearDown() override;
    static inline fw::TForm* form = nullptr;
};

}  // namespace kvx::win32::test
