#include "widgets/labeltext.h"

#include <algorithm>

namespace kvx {

namespace {
constexpr uint32_t kAlignFlags[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
constexpr uint32_t kDtEditControl = 0x2000, kDtPathEllipsis = 0x4000, kDtEndEllipsis = 0x8000;
constexpr uint32_t kDtWordBreakExpandTabs = 0x50, kDtNoPrefix = 0x800;

bool Blank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}
}  // namespace

uint32_t KVXLabelTextFlags(TKVXAlignment alignment, TKVXLabelOptions options, bool showAccelChar) {
    uint32_t flags = kAlignFlags[static_cast<int>(alignment)] | kDtWordBreakExpandTabs;
    if (options.Contains(TKVXLabelOption::loPathEllipsis)) flags |= kDtPathEllipsis;
    if (options.Contains(TKVXLabelOption::loEndEllipsis)) flags |= kDtEndEllipsis;
    if (options.Contains(TKVXLabelOption::loEditControl)) flags |= kDtEditControl;
    if (!showAccelChar) flags |= kDtNoPrefix;
    return flags;
}

bool KVXTopRowAlignment(TKVXAlignment alignment) {
    return alignment == TKVXAlignment::agTopLeft || alignment == TKVXAlignment::agTopCenter ||
           alignment == TKVXAlignment::agTopRight;
}

std::string KVXJumpTarget(TKVXJumpModes mode, const std::string& jump, const std::string& text) {
    if (mode != TKVXJumpModes::jmInternet && mode != TKVXJumpModes::jmApplication) return {};
    if (!Blank(jump)) return jump;
    if (mode == TKVXJumpModes::jmInternet && text.find('@') != std::string::npos) return "mailto:" + text;
    return text;
}

TPoint KVXGlyphLabelSize(TPoint text, TPoint glyph, TKVXTextArrange arrange, int spacing, int offsetX, int offsetY) {
    using T = TKVXTextArrange;
    TPoint size = text;
    switch (arrange) {
        case T::taLeft:
        case T::taLeftTop:
        case T::taRight:
        case T::taRightTop:
            size.X += spacing + glyph.X;
            size.Y = std::max(text.Y, glyph.Y);
            break;
        case T::taTop:
        case T::taTopLeft:
        case T::taBottom:
        case T::taBottomLeft:
            size.Y += spacing + glyph.Y;
            size.X = std::max(text.X, glyph.X);
            break;
    }
    return {size.X + offsetX, size.Y + offsetY};
}

}  // namespace kvx
