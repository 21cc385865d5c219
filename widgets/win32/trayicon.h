// TKVXTrayIcon: an icon with a hint in the taskbar's notification area. It reports mouse actions on
// the icon and, while Active, turns minimizing (and, with NoClose, closing) of its form into hiding
// the form and the application's window. It watches its form through TKVXWndProcComponent and owns a
// hidden window that receives the notification-area messages (callback message WM_USER + 101).
#pragma once

#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/wndproccomponent.h"

namespace fw {
class TIcon;
class TPopupMenu;
}

namespace kvx::win32 {

// The notification-area callback message.
constexpr UINT kTrayMessage = WM_USER + 101;
// The longest tip the notification data carries.
constexpr size_t kTrayTipLength = 63;

class TKVXTrayIcon : public TKVXWndProcComponent {
public:
    // Active is True, but the icon is added only when loading ends (Loaded).
    explicit TKVXTrayIcon(TComponent* owner);

    bool Active() const { return active_; }
    // True: the application does not show its main form at start, its window is hidden, the icon is
    // added and the form watched. False: the icon is removed.
    void SetActive(bool value);
    bool NoClose = false;
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    fw::TIcon* Icon() const { return icon_; }
    void SetIcon(fw::TIcon* value);
    // Shown on a right click (not owned; forgotten when it is freed).
    fw::TPopupMenu* PopUpMenu() const { return popUpMenu_; }
    void SetPopUpMenu(fw::TPopupMenu* value);

    // The window that receives kTrayMessage.
    HWND WindowHandle() const { return window_; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnPopUp;
    fw::TMouseEvent OnMouseDown;
    fw::TMouseEvent OnMouseUp;
    fw::TMouseMoveEvent OnMouseMove;

    void Loaded() override;

    // The call behind NIM_ADD, NIM_MODIFY and NIM_DELETE (tests watch it; the shell by default).
    using NotifySeam = BOOL (*)(DWORD message, NOTIFYICONDATAA* data);
    static void SetNotifySeam(NotifySeam seam);

protected:
    void HookWndProc(fw::HookMessage& message) override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    void Notify(DWORD message);
    void HideForm();
    LRESULT WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool active_ = true;
    std::string hint_;
    fw::TIcon* icon_;
    POINT cursor_{};
    fw::TPopupMenu* popUpMenu_ = nullptr;
    HWND window_ = nullptr;
};

}  // namespace kvx::win32
