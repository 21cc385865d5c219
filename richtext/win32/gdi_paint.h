// Draws a paint list on a GDI device context: fills with FillRect, text runs with ExtTextOutA on the
// baseline with per-character advances (clipped, and opaque where the run fills its background), lines
// with pens of the list's style and width, placeholders as framed rectangles.
#pragma once

#include "framework/win32/winapi.h"

#include <functional>

#include "richtext/paint_list.h"
#include "richtext/win32/gdi_fonts.h"

namespace rt {

// Paints an embedded object into op's rectangle; false leaves it to the replay, which fills the
// rectangle with op.color.
using TObjectPainter = std::function<bool(const TPaintOp& op, HDC dc)>;

// The RGB value of a colour (system colours through GetSysColor).
COLORREF ColorRef(TColor color);

void ReplayPaintList(HDC dc, const TPaintList& list, TGdiFontCache& fonts, const TObjectPainter& paintObject = {});

}  // namespace rt
