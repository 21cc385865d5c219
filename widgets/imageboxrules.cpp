#include "widgets/imageboxrules.h"

#include "framework/core/sysutils.h"

namespace kvx {

namespace {
constexpr uint32_t kAlignFlags[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
constexpr uint32_t kDtSingleLine = 0x20, kDtExpandTabs = 0x40, kDtNoPrefix = 0x800, kDtRtlReading = 0x20000;

int ValidPicture(int picture, int count) { return picture >= 0 && picture < count ? picture : -1; }
}  // namespace

int KVXImageBoxPicture(const TKVXImageChoice& choice, int index, const std::string& text) {
    if (choice.pictureCount < 0) return -1;
    if (choice.options.Contains(TKVXImageBoxOption::lboImageListOrder))
        return index >= 0 && index < choice.itemCount ? ValidPicture(index, choice.pictureCount) : -1;
    const size_t at = text.find(choice.delimiter);
    if (at == std::string::npos) return ValidPicture(choice.defaultItem, choice.pictureCount);
    int64_t number = 0;
    if (!fw::TryStrToInt64(text.substr(at + 1), number)) return -1;
    return number >= 0 && number < choice.pictureCount ? static_cast<int>(number) : -1;
}

std::string KVXImageBoxText(TKVXImageBoxOptions options, char delimiter, const std::string& text) {
    if (!options.Contains(TKVXImageBoxOption::lboCheckImageNr)) return text;
    return text.substr(0, text.find(delimiter));
}

uint32_t KVXPanelCaptionFlags(TKVXAlignment alignment, bool rightToLeft) {
    const uint32_t flags = kAlignFlags[static_cast<int>(alignment)] | kDtSingleLine | kDtExpandTabs | kDtNoPrefix;
    return rightToLeft ? flags | kDtRtlReading : flags;
}

}  // namespace kvx
