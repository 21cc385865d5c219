// Files dropped from the shell (WM_DROPFILES after DragAcceptFiles): the names in an HDROP, and the
// DragFinish that every handler owes the system.
//
//   case WM_DROPFILES: {
//       fw::TDropFiles drop(reinterpret_cast<HDROP>(wParam));
//       for (const std::string& name : drop.Names()) AddFile(name);
//       return 0;
//   }  // DragFinish here
#pragma once

#include <string>
#include <vector>

#include "framework/win32/winapi.h"

namespace fw {

class TDropFiles {
public:
    // Takes ownership of `drop`: the destructor calls DragFinish unless Release() was called.
    explicit TDropFiles(HDROP drop);
    ~TDropFiles();
    TDropFiles(const TDropFiles&) = delete;
    TDropFiles& operator=(const TDropFiles&) = delete;

    // The dropped names in the order of the drop, as full paths in the ANSI code page.
    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    // Where the drop happened, in client coordinates of the window; false when it was outside.
    bool InClient() const { return inClient_; }
    POINT Point() const { return point_; }

    // Hands the handle back without freeing it (someone else calls DragFinish).
    HDROP Release();
    // Frees the handle now (DragFinish); the names stay readable.
    void Finish();

private:
    HDROP drop_;
    std::vector<std::string> names_;
    POINT point_{};
    bool inClient_ = false;
};

// The names in `drop`, leaving the handle alone.
std::vector<std::string> DroppedFileNames(HDROP drop);

}  // namespace fw
