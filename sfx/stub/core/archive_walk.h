// The extractor's walk over the archive's local headers: once to fill the file list, once more to
// extract the selected entries. Everything the walk shows or touches goes through WalkHost, so the
// same walk runs in the Windows program, in native tests and under the fuzzer.
#pragma once

#include <cstdint>

#include "sfx/stub/core/stub_file.h"

namespace sfx {

inline constexpr uint32_t kFolderBufferSize = 256;   // the "Extract to :" folder, terminator included
inline constexpr uint32_t kNameBufferSize = 258;     // an entry name, terminator included
inline constexpr uint32_t kPasswordBufferSize = 80;  // at most 79 characters
inline constexpr uint32_t kTargetBufferSize = kFolderBufferSize + 1 + kNameBufferSize;
inline constexpr uint32_t kTransferBlock = 32768;

// OverwriteMode values: what happens to a target that exists.
inline constexpr int kModeOverwrite = 0;
inline constexpr int kModeSkip = 1;
inline constexpr int kModeConfirm = 2;

class WalkHost {
public:
    virtual ~WalkHost() = default;

    // The file list.
    virtual void ListClear() = 0;
    virtual void ListAdd(const char* name) = 0;
    virtual int ListCount() = 0;
    // Exact, case-insensitive search starting after index `after` and wrapping; -1 when absent.
    virtual int ListFind(int after, const char* name) = 0;
    virtual bool ListSelected(int index) = 0;
    virtual void ListDeselect(int index) = 0;
    virtual int ListSelectedCount() = 0;

    // Questions to the user. AskPassword fills buf (NUL-terminated, at most cap - 1 characters).
    virtual void AskPassword(char* buf, uint32_t cap) = 0;
    // Asked in the confirm mode about the target's file-name part; true means overwrite. The dialog may
    // change OverwriteMode ("Don't ask again").
    virtual bool AskOverwrite(const char* fileName) = 0;
    virtual int OverwriteMode() = 0;

    // The file system.
    virtual bool PathExists(const char* path) = 0;
    // Creates the folder with every missing parent; true when it exists afterwards.
    virtual bool MakeFolders(const char* folder) = 0;
    // True when `path` names the extractor's own file (which must never be opened for writing).
    virtual bool IsOwnFile(const char* path) = 0;
    virtual bool CreateTarget(const char* path) = 0;
    virtual bool WriteTarget(const void* data, uint32_t n) = 0;
    virtual bool CloseTarget() = 0;
    virtual void RemoveTarget(const char* path) = 0;

    // Feedback: a modal message box, the status line, and one pending window message.
    virtual void Message(const char* text, const char* caption) = 0;
    virtual void Status(const char* text) = 0;
    virtual void Pump() = 0;
};

// State kept across passes for the whole run.
struct WalkState {
    char folder[kFolderBufferSize] = {};      // extraction folder, without a trailing "\"
    char password[kPasswordBufferSize] = {};  // the remembered password
    bool allDone = false;                     // set by an extract pass that left nothing selected
};

// One pass from archiveStart. In list mode the list is filled; in extract mode the selected entries are
// written below state.folder. Entry names that would leave that folder are never written.
void WalkArchive(WalkHost& host, StubFile& file, uint64_t archiveStart, bool listMode, WalkState& state);

// Whether an entry name may be written below the extraction folder: no leading separator, and every
// component follows the engine's output-name rule (no drive or stream colon, no ".." however spelt,
// no device such as "aux .txt" or "CONIN$").
bool IsSafeEntryName(const char* name);

}  // namespace sfx
