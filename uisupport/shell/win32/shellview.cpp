#include "uisupport/shell/win32/shellview.h"

#include "framework/win32/graphics.h"

namespace uis {
namespace {

LinkHandle HandleOf(fw::TWinControl* view) { return reinterpret_cast<LinkHandle>(view->Handle()); }

}  // namespace

void InstallLinkSender() {
    static const bool installed = [] {
        SetLinkSender([](LinkHandle window, unsigned msg, uintptr_t wParam) {
            SendMessageA(reinterpret_cast<HWND>(window), msg, static_cast<WPARAM>(wParam), 0);
        });
        return true;
    }();
    (void)installed;
}

void ViewLink::Set(fw::TWinControl* view, TJexoShellLink* link) {
    if (link == link_) return;
    InstallLinkSender();
    if (link_) {
        if (view->HandleAllocated()) link_->UnregisterView(HandleOf(view));
        view->RemoveFreeNotification(link_);
    }
    link_ = link;
    if (link_) {
        view->FreeNotification(link_);
        link_->RegisterView(HandleOf(view));
    }
}

void ViewLink::Forget(fw::TComponent* component) {
    if (component == link_) link_ = nullptr;
}

void ViewLink::WindowCreated(fw::TWinControl* view) {
    if (link_) link_->RegisterView(HandleOf(view));
}

void ViewLink::WindowDestroying(fw::TWinControl* view) {
    if (link_ && view->HandleAllocated()) link_->UnregisterView(HandleOf(view));
}

void ViewLink::ChangeFolder(fw::TWinControl* view, LPCITEMIDLIST list) {
    if (link_) link_->ChangeFolder(HandleOf(view), list);
}

void ViewLink::SelectAll(fw::TWinControl* view) {
    if (link_) link_->SelectAll(HandleOf(view));
}

void ViewLink::RefreshAll(fw::TWinControl* view) {
    if (link_) link_->RefreshAll(HandleOf(view));
}

void UseIconTitleFont(fw::TWinControl* view) {
    LOGFONTA font{};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0)) return;
    if (HFONT handle = CreateFontIndirectA(&font)) view->Font()->SetHandle(handle);
}

}  // namespace uis
