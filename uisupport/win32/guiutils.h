// GUI routines of the suite: the background under a windowless control, embossed "disabled" images,
// message and window helpers, text shortening and the suite's two screen cursors.
#pragma once

#include <string>

#include "framework/core/graphics_values.h"
#include "framework/win32/winapi.h"

namespace fw {
class TBitmap;
class TCanvas;
class TControl;
class TCustomImageList;
}  // namespace fw

namespace uis {

// The screen cursors the suite registers at start.
constexpr int crHandCursor = 14000;  // "KYV_HANDCUR"
constexpr int crDragCursor = 14001;  // "KYV_DRAGCUR"
// Registers both with the screen: the program's cursor resources when it carries them, the system's
// hand and size-all cursors otherwise.
void RegisterSuiteCursors();

// Paints into `canvas` what lies under the windowless `control`: the parent's background and painting,
// then the windowless siblings below it, each offset and clipped to itself.
void PaintParentBackground(fw::TControl* control, fw::TCanvas* canvas);

// A new bitmap of the same size showing `bitmap`'s shape embossed: the pixels of `maskColor` (white for
// a monochrome bitmap) are the background; the rest is the shape. The new bitmap is filled with
// `backColor`; with `highlight`, `highlightColor` is painted through the shape one pixel right and down,
// then `shadowColor` through the shape in place. The caller frees the result.
fw::TBitmap* MakeEmbossedBitmap(fw::TBitmap* bitmap, fw::TColor maskColor, fw::TColor backColor, bool highlight,
                                fw::TColor shadowColor, fw::TColor highlightColor);
// With the button face, highlight on, the button shadow and the button highlight colours.
fw::TBitmap* MakeEmbossedBitmapDefault(fw::TBitmap* bitmap, fw::TColor maskColor);
// Draws image `index` of the list embossed the same way at (x, y); the canvas brush colour is kept.
void DrawEmbossedImage(fw::TCustomImageList* images, fw::TCanvas* canvas, int x, int y, int index, bool highlight,
                       fw::TColor shadowColor, fw::TColor highlightColor);

// Removes one pending `message` of the window; a WM_QUIT removed so is posted again with its code.
void DiscardMessage(HWND window, UINT message);
// Moves the rectangle into the primary screen, keeping its size (the left and top edges win).
void FitRectOnScreen(fw::TRect& rect);
// Moves the window (not resizing, activating or reordering it) to the middle of the screen, then into it.
void CentreOnScreen(HWND window);
// The text, or its start and "..." cut to `maxWidth` pixels of the canvas's font.
std::string EllipsizeToWidth(const std::string& text, fw::TCanvas* canvas, int maxWidth);
// The active window belongs to the calling thread.
bool IsOwnActiveWindow();

}  // namespace uis
