#include "widgets/mruentries.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "widgets/kvxutils.h"

namespace kvx {

namespace {
constexpr int kWholeEntry = 255;
constexpr int kShortestCut = 13;

int IndexIgnoringCase(const fw::TStrings& entries, const std::string& value) {
    for (int i = 0; i < entries.Count(); ++i)
        if (fw::SameText(entries.Get(i), value)) return i;
    return -1;
}

}  // namespace

bool KVXMRUAdd(fw::TStrings& entries, const std::string& value, int maxEntries) {
    if (KVXIsBlank(value)) return false;
    const int at = IndexIgnoringCase(entries, value);
    if (at >= 0)
        entries.Move(at, 0);
    else
        entries.Insert(0, value);
    KVXMRUTrim(entries, maxEntries);
    return true;
}

bool KVXMRUDelete(fw::TStrings& entries, const std::string& value) {
    const int at = IndexIgnoringCase(entries, value);
    if (at < 0) return false;
    entries.Delete(at);
    return true;
}

bool KVXMRUTrim(fw::TStrings& entries, int maxEntries) {
    bool trimmed = false;
    while (entries.Count() > std::max(maxEntries, 0)) {
        entries.Delete(entries.Count() - 1);
        trimmed = true;
    }
    return trimmed;
}

std::string KVXMRUDisplayText(const std::string& entry, int maxLength, bool fileNameOnly,
                              const TKVXPathExpander& expand) {
    if (fileNameOnly || maxLength < kShortestCut) return fw::ExtractFileName(entry);
    if (maxLength == kWholeEntry || static_cast<int>(entry.size()) <= maxLength) return entry;
    const std::string full = expand ? expand(entry) : entry;
    const std::string folder = fw::ExtractFilePath(full);
    const std::string tail = "\\" + fw::ExtractFileName(full);
    const int room = maxLength - static_cast<int>(tail.size());
    // n runs over the 1-based positions of the folder's backslashes until it reaches the room.
    size_t n = 0;
    while (static_cast<int>(n) < room) {
        const size_t next = folder.find('\\', n);
        if (next == std::string::npos) break;
        n = next + 1;
    }
    return folder.substr(0, n > 3 ? n : 3) + "..." + tail;
}

std::string KVXMRUCaption(int index, const std::string& text, bool showAccel) {
    if (!showAccel) return text;
    if (index < 9) return "&" + std::to_string(index + 1) + " " + text;
    const int code = index + 56;
    // Past code 255 there is no character to give (only lists of 200 entries and more get there).
    if (code > 255) return text;
    return std::string("&") + static_cast<char>(code) + " " + text;
}

}  // namespace kvx
