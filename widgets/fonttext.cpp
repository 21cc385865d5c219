#include "widgets/fonttext.h"

#include <memory>
#include <vector>

#include "framework/core/sysutils.h"
#include "widgets/kvxutils.h"

namespace kvx {

void KVXSplitString(const std::string& text, char delimiter, fw::TStringList* list) {
    if (!list) return;
    list->Clear();
    // Positions are counted in full (not in 8 bits), so texts of any length split.
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == delimiter) {
            list->Add(text.substr(start, i - start));
            start = i + 1;
        } else if (i + 1 == text.size()) {
            list->Add(text.substr(start));
        }
    }
}

std::string KVXFontToString(const TKVXFontFields& font) {
    const uint8_t style = font.Style();
    auto flag = [&](uint8_t bit) { return std::string((style & bit) ? "1" : "0"); };
    return KVXJoinStrings({font.Name(), fw::IntToStr(font.Size()), fw::ColorToString(font.Color()), flag(kFontBold),
                           flag(kFontItalic), flag(kFontUnderline), flag(kFontStrikeOut)},
                          ',');
}

void KVXStringToFont(const std::string& text, TKVXFontFields& font) {
    fw::TStringList fields;
    KVXSplitString(text, ',', &fields);
    if (fields.Count() != 7) return;
    font.SetName(fields[0]);
    font.SetSize(fw::StrToIntDef(fields[1], 10));
    font.SetColor(fw::StringToColor(fields[2]));
    font.SetStyle(0);
    static constexpr uint8_t bits[4] = {kFontBold, kFontItalic, kFontUnderline, kFontStrikeOut};
    for (int i = 0; i < 4; ++i)
        if (fw::StrToInt(fields[3 + i]) & 0xFF) font.SetStyle(static_cast<uint8_t>(font.Style() | bits[i]));
}

}  // namespace kvx
