// The arithmetic of the spin edit, without a window: reading its text (with an optional unit suffix),
// limiting, line and page steps, the characters it accepts, its minimum height and which half of the
// spin button a point falls in.
#pragma once

#include <cstdint>
#include <string>

namespace kvx {

// The limits and steps of a spin edit. MinValue stays below MaxValue: a setter that would break that
// is ignored.
struct TKVXSpinLimits {
    int32_t MinValue = 0;
    int32_t MaxValue = 100;

    // False (nothing changed) unless Value differs and stays above MinValue.
    bool SetMaxValue(int32_t value);
    // False (nothing changed) unless Value differs and stays below MaxValue.
    bool SetMinValue(int32_t value);
    int32_t Limit(int64_t value) const;
    bool Inside(int64_t value) const { return value >= MinValue && value <= MaxValue; }
};

struct TKVXSpinParse {
    int32_t value = 0;
    // The text the edit shows afterwards; equal to the input when it was left alone.
    std::string text;
};

// Reads the number of Text. With a suffix every sign and digit is collected (all else dropped) and
// the text becomes the collection and the suffix; without one the whole text is converted. An empty
// text reads as MinValue; text that is not a 32-bit number reads as MinValue and is replaced by it.
TKVXSpinParse KVXParseSpinText(const std::string& text, const std::string& suffix, int32_t minValue);
// The text for Value: its decimal form and the suffix.
std::string KVXSpinText(int32_t value, const std::string& suffix);
// Value + Step (a line or page step, either sign), worked out in 64 bits and then limited, so steps
// near the ends of the 32-bit range never wrap.
int32_t KVXSpinStep(int32_t value, int32_t step, const TKVXSpinLimits& limits);

// What a key-press character may do: "+", "-", digits and control characters are accepted; without
// EditorEnabled only control characters other than Back (8) are.
bool KVXSpinValidChar(char key, bool editorEnabled);

// The least height of the edit: the text height, a quarter of the smaller of the font and system font
// heights, and four border widths with a single border.
int KVXSpinMinHeight(int textHeight, int fontHeight, int systemFontHeight, int borderHeight, bool singleBorder);

// The halves of the spin button (its state codes).
enum class TKVXSpinHalf : uint8_t { None = 0, Top = 1, Bottom = 2 };
// The diagonal from the bottom-left to the top-right corner splits Width x Height: above it the top
// half, below it the bottom half. A button without height has no halves.
TKVXSpinHalf KVXSpinHalfAt(int x, int y, int width, int height);

// The repeat interval the 50 ms timer pool can serve: a multiple of 50, at least 50.
bool KVXSpinIntervalValid(uint16_t interval);

}  // namespace kvx
