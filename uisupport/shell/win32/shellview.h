// What the shell views (list, tree, combo) share: their place on a TJexoShellLink, the icon-title
// font, and the send seam that carries link messages between windows.
#pragma once

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

// The system's icon-title font for a view.
void UseIconTitleFont(fw::TWinControl* view);

// Installs SendMessageA as the link's sender (once).
void InstallLinkSender();

}  // namespace uis
