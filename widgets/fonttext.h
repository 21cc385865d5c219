// Text routines: splitting at a delimiter, and a font written as one line of seven comma-separated
// fields: name, size in points, colour (an identifier such as clRed, else $hex), and "1"/"0" for bold,
// italic, underline and strike-out. A bold 12-point red Arial gives "Arial,12,clRed,1,0,0,0".
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/graphics_values.h"
#include "framework/core/lists.h"

namespace kvx {

// Splits Text at Delimiter into List (cleared first; nothing for a null list): adjacent delimiters give
// an empty item, a delimiter at the very end gives none after it, an empty text gives no item.
void KVXSplitString(const std::string& text, char delimiter, fw::TStringList* list);

// Style bits of a font line, in the order of its fields.
constexpr uint8_t kFontBold = 1;
constexpr uint8_t kFontItalic = 2;
constexpr uint8_t kFontUnderline = 4;
constexpr uint8_t kFontStrikeOut = 8;

// The font a line is read into or written from; the Win32 side adapts the framework's TFont, so each
// setter is the font's own property write with its change notification.
class TKVXFontFields {
public:
    virtual ~TKVXFontFields() = default;
    virtual std::string Name() const = 0;
    virtual int Size() const = 0;
    virtual fw::TColor Color() const = 0;
    virtual uint8_t Style() const = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual void SetSize(int size) = 0;
    virtual void SetColor(fw::TColor color) = 0;
    virtual void SetStyle(uint8_t style) = 0;
};

std::string KVXFontToString(const TKVXFontFields& font);
// A line of exactly seven fields sets, in order, the name, the size (10 when not an integer), the
// colour, the empty style and then each style whose field is a number with a non-zero low byte. Any other
// number of fields leaves the font unchanged. An unknown colour or a non-numeric style field raises
// EConvertError after the fields before it were set.
void KVXStringToFont(const std::string& text, TKVXFontFields& font);

}  // namespace kvx
