// The caption bar of a window and the area of it that holds the text, as a pure function of the
// window's styles and state and the system metrics (the Win32 KVXCaptionRects gathers those). The
// form styler paints captions into these rectangles.
#pragma once

#include <cstdint>

#include "framework/core/graphics_values.h"

namespace kvx {

// Flags on entry.
constexpr int kCaptionToTextEnd = 1;   // the caption rectangle ends where the text area ends
constexpr int kCaptionWithIcon = 2;    // the icon area belongs to the caption rectangle
constexpr int kCaptionDialog = 32;     // a dialog-style window
// Flags added on return.
constexpr int kCaptionSmall = 4;
constexpr int kCaptionSysIcon = 8;
constexpr int kCaptionIconic = 16;

struct TKVXCaptionMetrics {
    int CXSize = 0, CYCaption = 0, CXDlgFrame = 0, CYDlgFrame = 0, CXBorder = 0, CYBorder = 0;
    int CXFrame = 0, CYFrame = 0, CYSmCaption = 0, CXSmSize = 0, CXSmIcon = 0;
    // The new window look; under the old one the small metrics fall back to the normal ones.
    bool NewLook = true;
};

struct TKVXCaptionWindow {
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    int Width = 0;
    // The text area is only computed for a window that exists and is visible.
    bool Visible = true;
    bool Iconic = false;
};

void KVXCaptionRectsOf(const TKVXCaptionWindow& window, const TKVXCaptionMetrics& metrics, fw::TRect& captionRect,
                       fw::TRect& textRect, int& flags);

}  // namespace kvx
