// What the shell views (list, tree, combo) share: their place on a TJexoShellLink, the icon-title
// font, and the send seam that carries link messages between windows.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/win32/controls.h"
#include "uisupport/shell/shelllink.h"
#include "uisupport/shell/win32/shellapi.h"

namespace uis {

// A view's registration with its link. The view's window is what the link knows, so the view
// tells this object when its window is made or goes.
class ViewLink {
public:
    TJexoShellLink* Link() const { return link_; }
    // Unregisters from the old link, registers the view's window (made now) with the new one.
    void Set(fw::TWinControl* view, TJexoShellLink* link);
    // The link is being freed.
    void Forget(fw::TComponent* component);
    void WindowCreated(fw::TWinControl* view);
    void WindowDestroying(fw::TWinControl* view);
    void ChangeFolder(fw::TWinControl* view, LPCITEMIDLIST list);
    void SelectAll(fw::TWinControl* view);
    void RefreshAll(fw::TWinControl* view);

private:
    TJexoShellLink* link_ = nullptr;
};

// Frees the item data that no live item points to any more: items deleted by anyone (the program,
// the control) leave their data behind until the view sweeps it.
template <class Data>
void FreeUnreferenced(std::vector<std::unique_ptr<Data>>& owned, std::vector<void*> live) {
    std::sort(live.begin(), live.end());
    std::erase_if(owned, [&](const std::unique_ptr<Data>& d) {
        return !std::binary_search(live.begin(), live.end(), static_cast<void*>(d.get()));
    });
}

// The system's icon-title font for a view.
void UseIconTitleFont(fw::TWinControl* view);

// Installs SendMessageA as the link's sender (once).
void InstallLinkSender();

}  // namespace uis
