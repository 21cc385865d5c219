// Runs arbitrary entries through the recent-files list and the picture list box rules. The first three
// bytes set MaxEntries, MaxLength and the switches; the rest is lines, each added (or, after a leading
// '-', deleted). Checked: the list never exceeds MaxEntries nor holds two entries equal ignoring case
// or a blank one, a shortened text keeps the file name, and a picture is -1 or one of the list's.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/sysutils.h"
#include "widgets/imageboxrules.h"
#include "widgets/kvxutils.h"
#include "widgets/mruentries.h"

namespace {

void CheckList(const fw::TStrings& list, int maxEntries) {
    if (list.Count() > maxEntries) std::abort();
    for (int i = 0; i < list.Count(); ++i) {
        if (kvx::KVXIsBlank(list.Get(i))) std::abort();
        for (int j = i + 1; j < list.Count(); ++j)
            if (fw::SameText(list.Get(i), list.Get(j))) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const int maxEntries = data[0] % 40;
    const int maxLength = data[1];
    const uint8_t switches = data[2];
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

    fw::TStringList list;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (!line.empty() && line[0] == '-')
            kvx::KVXMRUDelete(list, line.substr(1));
        else
            kvx::KVXMRUAdd(list, line, maxEntries);
        CheckList(list, maxEntries);
        start = end + 1;
    }

    const bool fileNameOnly = switches & 1;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string entry = list.Get(i);
        const std::string shown = kvx::KVXMRUDisplayText(entry, maxLength, fileNameOnly, nullptr);
        const std::string name = fw::ExtractFileName(entry);
        if (shown.size() < name.size() || shown.compare(shown.size() - name.size(), name.size(), name) != 0) std::abort();
        const std::string caption = kvx::KVXMRUCaption(i, shown, switches & 2);
        if (caption.size() < shown.size()) std::abort();

        kvx::TKVXImageChoice choice;
        choice.options = kvx::TKVXImageBoxOptions::FromBits(switches >> 2);
        choice.delimiter = static_cast<char>(data[1]);
        choice.defaultItem = static_cast<int8_t>(data[0]);
        choice.pictureCount = (switches >> 4) - 1;
        choice.itemCount = list.Count();
        const int picture = kvx::KVXImageBoxPicture(choice, i, entry);
        if (picture < -1 || (picture >= 0 && picture >= choice.pictureCount)) std::abort();
        const std::string drawn = kvx::KVXImageBoxText(choice.options, choice.delimiter, entry);
        if (entry.compare(0, drawn.size(), drawn) != 0) std::abort();
    }
    return 0;
}
