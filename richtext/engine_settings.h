// Engine-wide settings of the rich-text engine and the services it takes from the system. Everything
// the system provides (screen resolution, the beep, system colours, clock texts, message texts) comes
// through RtSystem, which a program or test may replace; the defaults need no system at all.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace rt {

using TColor = uint32_t;  // $00BBGGRR; the high bit marks a system colour index

constexpr char kDefaultDecimalTabChar = '.';
constexpr char kBulletChar = 'l';
constexpr const char* kSymbolFontName = "WingDings";

constexpr const char* kTextWriterClass = "TZrtTextWriter";
constexpr const char* kRtfWriterClass = "TZrtRTFWriter";
constexpr const char* kHtmlWriterClass = "TZrtHTMLWriter";
constexpr const char* kTextReaderClass = "TZrtTextReader";
constexpr const char* kRtfReaderClass = "TZrtRTFReader";
constexpr const char* kHtmlReaderClass = "TZrtHTMLReader";

// Message numbers (identifier 56001 + language offset + n - 1).
enum : int {
    msgInternalError = 12,
    msgOnlyBitmaps = 32,
    msgWriterNotFound = 35,
    msgReaderNotFound = 36,
    msgIncorrectIoClass = 37,
};

struct RtSystem {
    int screenResolution = 96;  // pixels per inch
    std::function<void()> beep;
    // Resolves a system colour (high bit set) to its RGB value.
    std::function<TColor(TColor)> systemColor;
    std::function<std::string()> timeText;  // the current time in the short time format
    std::function<std::string()> dateText;  // the current date in the short date format
    // The string resource with the given identifier, or empty when there is none.
    std::function<std::string(int)> loadString;
    int messageLanguageOffset = 0;
};

// The services in force; tests and programs set them before documents are made.
RtSystem& System();

// Message n of the engine (the built-in English text when the system has no string resource).
std::string Message(int n);
void Beep();
TColor ResolveColor(TColor color);

}  // namespace rt
