// The labels' text rules without a device: the draw-text flags of a label, where a jump label jumps to,
// and the size of an auto-sized glyph label.
#pragma once

#include <cstdint>
#include <string>

#include "widgets/controltypes.h"

namespace kvx {

// The alignment's flags (DT_CENTER, DT_RIGHT, DT_VCENTER, DT_BOTTOM), the options' ellipsis and
// edit-control flags, word break and tab expansion, and DT_NOPREFIX without accelerator characters.
uint32_t KVXLabelTextFlags(TKVXAlignment alignment, TKVXLabelOptions options, bool showAccelChar);
// True for the three alignments of the top row.
bool KVXTopRowAlignment(TKVXAlignment alignment);

// The target a click opens: Jump as stored when it is not blank; otherwise the label's text, and for
// jmInternet "mailto:" before a text that holds an at sign. Empty for jmNone and jmCustom.
std::string KVXJumpTarget(TKVXJumpModes mode, const std::string& jump, const std::string& text);

// An auto-sized glyph label: the text's size, the glyph's, and the layout's arrangement, spacing and
// offsets give the label's size. A glyph beside the text adds its width and the spacing, one above or
// below adds its height and the spacing; the other dimension is the larger of the two.
TPoint KVXGlyphLabelSize(TPoint text, TPoint glyph, TKVXTextArrange arrange, int spacing, int offsetX, int offsetY);

}  // namespace kvx
