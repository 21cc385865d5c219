// The background and frame of push buttons in the ten TKVXUserButtonStyle looks.
#pragma once

#include <cstdint>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"

namespace kvx::win32 {

// Button states the frame knows: 2 hot (flat looks), 3 latched (pressed, checker background unless a flat
// look with SolidLatched), 4, 6 and 7 pressed; any other state is up.
constexpr uint8_t kButtonHot = 2;
constexpr uint8_t kButtonLatched = 3;

// Draws the background (never for the explorer styles) and the frame; flags are the kbf* bits. Rect
// becomes the content rectangle. Always true.
bool KVXDrawButtonFrame(fw::TCanvas* canvas, bool solidLatched, TRect& rect, TKVXUserButtonStyle style, uint8_t state,
                        uint16_t flags, TColor color);

}  // namespace kvx::win32
