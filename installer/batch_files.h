// The batch files the installer leaves behind: the clean-up of the loader's temporary folder, which
// starts while the setup program is still ending, and the replacement of a file in use, which the
// system runs once after the next start. Every path is quoted; each batch deletes itself at its end.
#pragma once

#include <string>
#include <vector>

namespace inst {

// The RunOnce value (made unique with 1, 2, ...) that runs a batch replacing files in use.
constexpr const char* kBatchRunOnceName = "QuenfordBatFile";

// Removes the program (trying again for a bounded time while it still runs), its folder when that lies
// inside the temporary folder, and the batch's ".PIF" companion.
std::vector<std::string> CleanupBatchLines(const std::string& programPath, const std::string& programDir,
                                           const std::string& batchPath, const std::string& tempFolder);
// Deletes `oldPath` and moves `newPath` into its place.
std::vector<std::string> ReplaceBatchLines(const std::string& oldPath, const std::string& newPath);
// True when `dir` is a folder below `tempFolder` (not the folder itself), ignoring case.
bool IsInsideFolder(const std::string& dir, const std::string& tempFolder);

}  // namespace inst
