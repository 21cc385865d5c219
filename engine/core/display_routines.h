// Display helpers the application uses with the engine's data. The text measure is passed in, so the
// shortening rule is the same everywhere; the window side measures with the window's font.
#pragma once

#include <functional>
#include <string>

namespace engine {

// Fits Path into Width (in the measure's units): while too wide and a drive or folder is left, the
// folder loses its first component behind "...\" ("\...\" turns into "...\" and the drive goes), and
// an empty folder drops the drive. Name and extension always stay.
std::string ShortenPath(const std::string& path, int width, const std::function<int(const std::string&)>& measure);

}  // namespace engine
