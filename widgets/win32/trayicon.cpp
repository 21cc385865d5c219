#include "widgets/win32/trayicon.h"

#include <cstring>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/menus.h"
#include "framework/win32/utilwindow.h"

namespace kvx::win32 {

namespace {
BOOL DefaultNotify(DWORD message, NOTIFYICONDATAA* data) { return Shell_NotifyIconA(message, data); }
TKVXTrayIcon::NotifySeam g_notify = DefaultNotify;
}  // namespace

void TKVXTrayIcon::SetNotifySeam(NotifySeam seam) { g_notify = seam ? seam : DefaultNotify; }

TKVXTrayIcon::TKVXTrayIcon(TComponent* owner) : TKVXWndProcComponent(owner), icon_(new fw::TIcon()) {
    window_ = fw::AllocateHWnd([this](HWND h, UINT m, WPARAM w, LPARAM l) { return WindowProc(h, m, w, l); });
}

void TKVXTrayIcon::BeforeDestruction() {
    SetEnabled(false);
    hint_.clear();
    Notify(NIM_DELETE);
    fw::DeallocateHWnd(window_);
    window_ = nullptr;
    fw::FreeAndNil(icon_);
    TKVXWndProcComponent::BeforeDestruction();
}

void TKVXTrayIcon::Notify(DWORD message) {
    // The size of the structure this program was built with (the 32-bit figure differs on x64).
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = window_;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayMessage;
    data.hIcon = icon_ && !icon_->Empty() ? icon_->Handle() : nullptr;
    const size_t n = std::min(hint_.size(), kTrayTipLength);
    std::memcpy(data.szTip, hint_.data(), n);
    data.szTip[n] = '\0';
    g_notify(message, &data);  // a refusal changes nothing: the state follows Active
}

void TKVXTrayIcon::SetActive(bool value) {
    if (value == active_) return;
    active_ = value;
    if (InState(fw::csLoading)) return;
    if (value) {
        if (fw::Application) {
            fw::Application->SetShowMainForm(false);
            ShowWindow(fw::Application->Handle(), SW_HIDE);
        }
        Notify(NIM_ADD);
        SetEnabled(true);
        EnableHook();
    } else {
        Notify(NIM_DELETE);
        SetEnabled(false);
    }
}

void TKVXTrayIcon::SetHint(const std::string& value) {
    if (value == hint_ && !InState(fw::csLoading)) return;
    hint_ = value;
    if (active_ && !InState(fw::csLoading)) Notify(NIM_MODIFY);
}

void TKVXTrayIcon::SetIcon(fw::TIcon* value) {
    icon_->Assign(value);
    if (active_ && !InState(fw::csLoading)) Notify(NIM_MODIFY);
}

void TKVXTrayIcon::SetPopUpMenu(fw::TPopupMenu* value) {
    if (value == popUpMenu_) return;
    if (popUpMenu_) popUpMenu_->RemoveFreeNotification(this);
    popUpMenu_ = value;
    if (popUpMenu_) popUpMenu_->FreeNotification(this);
}

void TKVXTrayIcon::Notification(TComponent* component, fw::TOperation operation) {
    TKVXWndProcComponent::Notification(component, operation);
    if (operation == fw::opRemove && component == popUpMenu_) popUpMenu_ = nullptr;
}

void TKVXTrayIcon::Loaded() {
    TKVXWndProcComponent::Loaded();
    if (active_) {
        active_ = false;
        SetActive(true);
    }
}

void TKVXTrayIcon::HideForm() {
    if (auto* form = dynamic_cast<fw::TForm*>(Owner())) form->Hide();
    if (fw::Application) ShowWindow(fw::Application->Handle(), SW_HIDE);
}

void TKVXTrayIcon::HookWndProc(fw::HookMessage& message) {
    if (message.Msg == WM_SYSCOMMAND && active_) {
        const WPARAM command = message.WParam & 0xFFF0;
        if (command == SC_MINIMIZE) {
            message.CallNext();  // the form minimizes first
            HideForm();
            return;
        }
        if (command == SC_CLOSE && NoClose) {
            message.Result = 0;
            message.Handled = true;
            HideForm();
            return;
        }
    }
    TKVXWndProcComponent::HookWndProc(message);
}

LRESULT TKVXTrayIcon::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kTrayMessage) return DefWindowProcA(wnd, msg, wParam, lParam);
    GetCursorPos(&cursor_);
    // WParam carries the icon's identifier, so the mouse message brings no key state.
    const fw::TShiftState shift;
    const fw::TShiftState dbl = fw::TShiftState{fw::ssDouble};
    const int x = cursor_.x;
    const int y = cursor_.y;
    using B = fw::TMouseButton;
    auto down = [&](B button, fw::TShiftState s) {
        if (OnMouseDown) OnMouseDown(this, button, s, x, y);
    };
    auto up = [&](B button) {
        if (OnClick) OnClick(this);
        if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    };
    auto doubleClick = [&](B button) {
        if (OnDblClick) OnDblClick(this);
        down(button, dbl);
    };
    switch (static_cast<UINT>(lParam)) {
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(this, shift, x, y);
        break;
    case WM_LBUTTONDOWN: down(B::mbLeft, shift); break;
    case WM_LBUTTONUP: up(B::mbLeft); break;
    case WM_LBUTTONDBLCLK: doubleClick(B::mbLeft); break;
    case WM_RBUTTONDOWN:
        down(B::mbRight, shift);
        if (popUpMenu_) {
            if (OnPopUp) OnPopUp(this);
            // The menu closes when the user clicks elsewhere only if our window is in front.
            if (fw::Application) {
                SetForegroundWindow(fw::Application->Handle());
                fw::Application->ProcessMessages();
            }
            if (popUpMenu_) {
                popUpMenu_->SetPopupComponent(this);
                popUpMenu_->Popup(x, y);
            }
        }
        break;
    case WM_RBUTTONUP: up(B::mbRight); break;
    case WM_RBUTTONDBLCLK: doubleClick(B::mbRight); break;
    case WM_MBUTTONDOWN: down(B::mbMiddle, shift); break;
    case WM_MBUTTONUP: up(B::mbMiddle); break;
    case WM_MBUTTONDBLCLK: doubleClick(B::mbMiddle); break;
    }
    return 0;
}

}  // namespace kvx::win32
