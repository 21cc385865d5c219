#include "widgets/spinvalue.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/sysutils.h"

namespace kvx {

namespace {

// The framework's conversion (decimal, "$" or "0x" hexadecimal) without the exception.
bool TryToInt32(const std::string& text, int32_t& value) {
    try {
        value = fw::StrToInt(text);
        return true;
    } catch (const fw::EConvertError&) {
        return false;
    }
}

}  // namespace

bool TKVXSpinLimits::SetMaxValue(int32_t value) {
    if (value == MaxValue || value <= MinValue) return false;
    MaxValue = value;
    return true;
}

bool TKVXSpinLimits::SetMinValue(int32_t value) {
    if (value == MinValue || value >= MaxValue) return false;
    MinValue = value;
    return true;
}

int32_t TKVXSpinLimits::Limit(int64_t value) const {
    return static_cast<int32_t>(std::min<int64_t>(MaxValue, std::max<int64_t>(MinValue, value)));
}

std::string KVXSpinText(int32_t value, const std::string& suffix) { return fw::IntToStr(value) + suffix; }

TKVXSpinParse KVXParseSpinText(const std::string& text, const std::string& suffix, int32_t minValue) {
    std::string number;
    if (suffix.empty()) {
        number = text.empty() ? fw::IntToStr(minValue) : text;
    } else {
        for (char c : text)
            if (c == '+' || c == '-' || (c >= '0' && c <= '9')) number += c;
        if (number.empty()) number = fw::IntToStr(minValue);
    }
    TKVXSpinParse result;
    if (TryToInt32(number, result.value)) {
        result.text = number + suffix;
    } else {
        result.value = minValue;
        result.text = KVXSpinText(minValue, suffix);
    }
    return result;
}

int32_t KVXSpinStep(int32_t value, int32_t step, const TKVXSpinLimits& limits) {
    return limits.Limit(static_cast<int64_t>(value) + step);
}

bool KVXSpinValidChar(char key, bool editorEnabled) {
    const auto c = static_cast<unsigned char>(key);
    if (c < 32) return editorEnabled || c != 8;
    if (!editorEnabled) return false;
    return key == '+' || key == '-' || (key >= '0' && key <= '9');
}

int KVXSpinMinHeight(int textHeight, int fontHeight, int systemFontHeight, int borderHeight, bool singleBorder) {
    return textHeight + std::min(fontHeight, systemFontHeight) / 4 + (singleBorder ? 4 * borderHeight : 0);
}

TKVXSpinHalf KVXSpinHalfAt(int x, int y, int width, int height) {
    if (height <= 0 || width <= 0) return TKVXSpinHalf::None;
    // Y > Height - (Width / Height) * X would tilt the line the wrong way for a button that is not
    // square; the diagonal through (0, Height) and (Width, 0) is Y = Height - (Height / Width) * X.
    const double edge = height - static_cast<double>(height) / width * x;
    return y > edge ? TKVXSpinHalf::Bottom : TKVXSpinHalf::Top;
}

bool KVXSpinIntervalValid(uint16_t interval) { return interval >= 50 && interval % 50 == 0; }

}  // namespace kvx
