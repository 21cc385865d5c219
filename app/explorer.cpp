#include "app/explorer.h"

#include <cctype>

#include "app/archive_writing.h"

namespace app {

std::string ExplorerPageName(int page) {
    switch (page) {
        case kPageSearch: return "Search";
        case kPageFavorites: return "Favorites";
        case kPageHistory: return "History";
        case kPageFolders: return "Folders";
        default: return "";
    }
}

std::string DriveRoot(char drive) {
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(drive)))) + ":\\";
}

std::string QuickSearchLinePath(const std::string& line) { return FoundLinePath(line, '*'); }

}  // namespace app
