// TKVXHookComponent watches the window of any windowed control through the control's hook chain
// (it follows the control through RecreateWnd); TKVXFMDrop uses it to take files dropped from the
// shell onto that control.
#pragma once

#include <string>

#include "framework/core/lists.h"
#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"
#include "widgets/kvxclass.h"

namespace fw {
class TWinControl;
}

namespace kvx::win32 {

class TKVXHookComponent : public TKVXComponent {
public:
    explicit TKVXHookComponent(TComponent* owner) : TKVXComponent(owner) {}

    fw::TWinControl* Control() const { return control_; }
    // Unhooks the old control, then hooks the new one (when its window exists).
    void SetControl(fw::TWinControl* value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Hooked() const { return hook_.Id() != 0; }

    void Loaded() override;

protected:
    virtual void HookControl();
    virtual void UnhookControl();
    // Each message of the control's window; set Handled to keep it from the control.
    virtual void HookWndProc(fw::HookMessage& message) {}
    // The control made a new window (RecreateWnd): descendants redo their window's settings.
    virtual void WindowChanged(HWND window) {}

    void Notification(TComponent* component, fw::TOperation operation) override;
    void BeforeDestruction() override;

private:
    HWND Helper();

    fw::TWinControl* control_ = nullptr;
    HWND helper_ = nullptr;
    bool enabled_ = true;
    fw::ScopedHook hook_;
    HWND window_ = nullptr;
};

enum class TKVXCharCase { ccNormal, ccLowerCase, ccUpperCase };

using TKVXFMDragDropEvent = fw::Event<void(TObject* Sender, int fcount, int x, int y, fw::TStrings* FileList)>;

class TKVXFMDrop : public TKVXHookComponent {
public:
    explicit TKVXFMDrop(TComponent* owner) : TKVXHookComponent(owner) {}

    TKVXCharCase CharCase = TKVXCharCase::ccNormal;
    // fcount counts every dropped file; names of 255 characters or more are left out of the list.
    TKVXFMDragDropEvent OnFMDragDrop;

protected:
    void HookControl() override;
    void UnhookControl() override;
    void HookWndProc(fw::HookMessage& message) override;
    void WindowChanged(HWND window) override;
};

}  // namespace kvx::win32
