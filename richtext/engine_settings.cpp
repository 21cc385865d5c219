#include "richtext/engine_settings.h"

#include "richtext/model_types.h"

namespace rt {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    const int64_t product = static_cast<int64_t>(number) * numerator;
    const int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const int64_t absProduct = product < 0 ? -product : product;
    const int64_t absDen = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
    const int64_t q = (absProduct + half) / absDen;
    return static_cast<int>(negative ? -q : q);
}

RtSystem& System() {
    static RtSystem system;
    return system;
}

std::string Message(int n) {
    const RtSystem& s = System();
    if (s.loadString) {
        std::string text = s.loadString(56001 + s.messageLanguageOffset + n - 1);
        if (!text.empty()) return text;
    }
    switch (n) {
        case msgInternalError: return "Internal Error";
        case msgOnlyBitmaps: return "Please use only bitmaps";
        case msgWriterNotFound: return "Text-Writer class not found ";
        case msgReaderNotFound: return "Text-Reader class not found ";
        case msgIncorrectIoClass: return "Incorrect IO Class :";
        default: return {};
    }
}

void Beep() {
    if (System().beep) System().beep();
}

TColor ResolveColor(TColor color) {
    if ((color & 0x80000000u) == 0) return color;
    if (System().systemColor) return System().systemColor(color) & 0xFFFFFFu;
    return 0xFFFFFFu;  // the window colour of a default scheme
}

}  // namespace rt
