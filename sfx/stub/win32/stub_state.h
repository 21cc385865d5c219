// The extractor program's state: one run, one thread, fixed buffers.
#pragma once

#include <windows.h>

#include "sfx/stub/core/archive_walk.h"
#include "sfx/stub/core/sfx_options.h"

namespace sfx::stub {

extern HINSTANCE gInstance;
extern HANDLE gArchive;              // the program's own file, open for reading for the whole run
extern SfxRunOptions gOptions;
extern WalkState gWalk;              // extraction folder and remembered password
extern char gBrowseFolder[kTextBufferSize];
extern int gOverwriteMode;           // kModeOverwrite, kModeSkip or kModeConfirm
extern HWND gMainDialog;

// Moves a window so that it is centred on the screen, without resizing it.
void CenterWindow(HWND wnd);

// The secondary dialogs.
void AskPasswordDialog(HWND owner, char* buf, uint32_t cap);
bool AskOverwriteDialog(HWND owner, const char* fileName);
INT_PTR SelectFolderDialog(HWND owner);

// Starts the configured program or opens the configured document; only when checked is 1.
void RunAfterExtract(int checked);

// Bounded string helpers (the program carries no C++ library strings).
void CopyText(char* dst, size_t cap, const char* src);
void AppendText(char* dst, size_t cap, const char* src);
void AddBackslash(char* path, size_t cap);
const char* FileNamePart(const char* path);

}  // namespace sfx::stub
