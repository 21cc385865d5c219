// The names of a shell drop (WM_DROPFILES) as the suite's components hand them to their events.
#pragma once

#include <functional>
#include <string>

#include "framework/core/lists.h"
#include "framework/win32/winapi.h"

#include <shellapi.h>

namespace kvx::win32 {

// Adds each dropped name shorter than 255 characters to List, passed through Convert; longer names
// are left out. Returns the number of dropped files (longer ones included) and sets Point to the drop
// point in client coordinates when there is one. The drop itself is left for its owner to free.
int KVXReadDrop(HDROP drop, const std::function<std::string(std::string)>& convert, fw::TStrings& list, POINT& point);

}  // namespace kvx::win32
