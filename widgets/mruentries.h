// The entries of a most-recently-used list and the captions its menu shows, without menus or a store.
// Entries are kept newest first and compared ignoring letter case; the list's owner keeps them in a
// string list of its own and rebuilds its menus after every change these routines report.
#pragma once

#include <functional>
#include <string>

#include "framework/core/lists.h"

namespace kvx {

// Puts Value at the top: an entry equal to it (ignoring case) moves there and keeps its spelling,
// otherwise Value is inserted; then entries past MaxEntries are dropped from the end. A blank Value
// changes nothing (false).
bool KVXMRUAdd(fw::TStrings& entries, const std::string& value, int maxEntries);
// Removes the entry equal to Value ignoring case; false when there is none.
bool KVXMRUDelete(fw::TStrings& entries, const std::string& value);
// Drops entries from the end until at most MaxEntries remain; true when any went.
bool KVXMRUTrim(fw::TStrings& entries, int maxEntries);

// Turns a possibly relative path into a full one (the system's full path name on Windows).
using TKVXPathExpander = std::function<std::string(const std::string&)>;

// The text an entry shows: its file name alone with FileNameOnly or a MaxLength below 13; the whole
// entry with MaxLength 255 or when it fits; otherwise the folder of the full path is cut after the first
// backslash at or past the room the name leaves, and "..." stands for the rest ("C:\Program
// Files\...\file.txt").
std::string KVXMRUDisplayText(const std::string& entry, int maxLength, bool fileNameOnly,
                              const TKVXPathExpander& expand);
// The caption of entry Index (from 0): with accelerators "&1 " .. "&9 ", then "&A ", "&B ", ... (the
// character of code Index + 56) before the text; without, the text alone.
std::string KVXMRUCaption(int index, const std::string& text, bool showAccel);

}  // namespace kvx
