#include "uisupport/shell/shelllink.h"

#include <algorithm>

#include "framework/core/rtti.h"

namespace uis {
namespace {

LinkSender& Sender() {
    static LinkSender sender;
    return sender;
}

}  // namespace

void SetLinkSender(LinkSender sender) { Sender() = std::move(sender); }

TJexoShellLink::TJexoShellLink(fw::TComponent* owner) : TComponent(owner) {}

void TJexoShellLink::SendToOthers(LinkHandle sender, unsigned msg, uintptr_t wParam) {
    if (!Sender()) return;
    // A view may unregister while it is told (it is freed): walk a copy.
    const std::vector<LinkHandle> views = views_;
    for (LinkHandle view : views)
        if (view != sender) Sender()(view, msg, wParam);
}

void TJexoShellLink::ChangeFolder(LinkHandle sender, const void* idList) {
    if (!enabled_) return;
    enabled_ = false;
    try {
        SendToOthers(sender, kLinkFolderChanged, reinterpret_cast<uintptr_t>(idList));
    } catch (...) {
        enabled_ = true;
        throw;
    }
    enabled_ = true;
    if (OnChange) OnChange(this);
}

void TJexoShellLink::SelectAll(LinkHandle sender) {
    if (enabled_) SendToOthers(sender, kLinkSelectAll, 0);
}

void TJexoShellLink::RefreshAll(LinkHandle sender) {
    if (enabled_) SendToOthers(sender, kLinkRefresh, 0);
}

void TJexoShellLink::RegisterView(LinkHandle window) {
    if (window && std::find(views_.begin(), views_.end(), window) == views_.end()) views_.push_back(window);
}

void TJexoShellLink::UnregisterView(LinkHandle window) {
    views_.erase(std::remove(views_.begin(), views_.end(), window), views_.end());
}

void RegisterShellLinkClass() {
    fw::Class<TJexoShellLink, fw::TComponent>("TJexoShellLink")
        .Prop("Enabled", &TJexoShellLink::Enabled, &TJexoShellLink::SetEnabled)
        .Prop("Version", &TJexoShellLink::Version)
        .Stored(false)
        .Event("OnChange", &TJexoShellLink::OnChange);
}

}  // namespace uis
