// TJexoShellLink keeps the shell views of one form in step. Each view registers its window; when one
// view moves to another folder, asks to select all or refreshes, the link sends the matching message
// to every other registered window, synchronously, and never back to the sender.
//
//   0x680  wParam: the new folder's absolute item-id list (the sender's, valid during the call)
//   0x681  select all (a tree's Ctrl+A, for the lists)
//   0x682  refresh (F5 in a list or tree)
//
// While a folder change is being delivered the link is disabled, so a view that moves its own
// selection in answer starts no second round. The link holds window handles as numbers and sends
// through a seam: the Windows layer installs SendMessage, tests a fake.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace uis {

constexpr unsigned kLinkFolderChanged = 0x680;
constexpr unsigned kLinkSelectAll = 0x681;
constexpr unsigned kLinkRefresh = 0x682;

// The suffix every shell component's Version carries after its class name.
inline std::string ShellVersionOf(const std::string& className) { return className + " V2.0 beta 2"; }

using LinkHandle = uintptr_t;
using LinkSender = std::function<void(LinkHandle window, unsigned msg, uintptr_t wParam)>;

// Installs how link messages are sent (the Windows layer: SendMessageA).
void SetLinkSender(LinkSender sender);

class TJexoShellLink : public fw::TComponent {
public:
    explicit TJexoShellLink(fw::TComponent* owner);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    std::string Version() const { return ShellVersionOf(ClassName()); }

    // Sends 0x680 with `idList` to every view but `sender`, then raises OnChange. Enabled is off while
    // the views are told and on again afterwards, also when a view fails.
    void ChangeFolder(LinkHandle sender, const void* idList);
    void SelectAll(LinkHandle sender);
    void RefreshAll(LinkHandle sender);

    void RegisterView(LinkHandle window);
    void UnregisterView(LinkHandle window);
    const std::vector<LinkHandle>& Views() const { return views_; }

    fw::TNotifyEvent OnChange;

protected:
    ~TJexoShellLink() override = default;

private:
    void SendToOthers(LinkHandle sender, unsigned msg, uintptr_t wParam);

    bool enabled_ = true;
    std::vector<LinkHandle> views_;
};

// Registers TJexoShellLink for form text (after the framework's classes). Calling it again is harmless.
void RegisterShellLinkClass();

}  // namespace uis
