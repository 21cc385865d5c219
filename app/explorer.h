// What the explorer bar, the address bar and the quick search decide without windows: the bar's page
// numbers and names, the folder a quick search starts in and the paths of its result lines.
#pragma once

#include <string>

namespace app {

// The explorer bar's pages by number (the main window's ExplorerBarPage; 0 is the hidden bar).
enum ExplorerPage { kPageHidden = 0, kPageSearch = 1, kPageFavorites = 2, kPageHistory = 3, kPageFolders = 4 };

// The notebook page of a bar page: "Search", "Favorites", "History", "Folders" ("" for others).
std::string ExplorerPageName(int page);

// The root folder of a drive letter ('c' or 'C' gives "C:\").
std::string DriveRoot(char drive);

// The path of one quick-search hit, "folder*name*" ("" for a line without the delimiter).
std::string QuickSearchLinePath(const std::string& line);

}  // namespace app
