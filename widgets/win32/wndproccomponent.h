// TKVXWndProcComponent: the base of components that watch the window of the form that owns them
// (form message handling, caption painting, form fills, the tray icon). It adds one hook to the
// owner's hook chain (framework/win32/hooks.h), so several components and other code can watch the
// same window and be removed in any order; the hook follows the form through RecreateWnd, and
// WM_DESTROY always reaches the window itself.
#pragma once

#include <cstdint>

#include "framework/win32/hooks.h"
#include "framework/win32/winapi.h"
#include "widgets/kvxclass.h"

namespace fw {
class TWinControl;
}

namespace kvx::win32 {

class TKVXWndProcComponent : public TKVXComponent {
public:
    explicit TKVXWndProcComponent(TComponent* owner);

    // True after construction. Outside loading, True hooks the owner (EnableHook) and False calls
    // DisableHook, which leaves the window hooked.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);

    // The window watched: the owner's (created on demand); 0 without a windowed owner or when the
    // window cannot be made. The framework has no MDI client window, so MDI frames are watched on
    // their own window.
    HWND TargetWindow();
    TComponent* OwnerForm() const { return Owner(); }
    // The owner's window exists and the component is neither loading nor being destroyed.
    bool HookReady() const;
    // 0 ordinary owner, 1 MDI child form, 2 MDI frame form.
    uint8_t OwnerFormStyle() const { return ownerFormStyle_; }

    // Adds the hook; false when there is no target window or a hook exists already.
    bool InstallHook();
    // Removes the hook (always true).
    bool RemoveHook();
    bool Hooked() const { return hook_.Id() != 0; }
    // The watched window received WM_DESTROY and no new window of the owner has spoken since.
    bool Destroyed() const { return destroyed_; }

    void Loaded() override;

protected:
    // When Enabled and not hooked: InstallHook.
    virtual void EnableHook();
    // Descendants undo their own side effects here; the window stays hooked.
    virtual void DisableHook() {}
    // The component's view of each message of the window. The base notes WM_DESTROY (and unhooks an
    // MDI child's form once the message went on); descendants handle what they care about, set
    // message.Handled to keep a message from the window, and call the base for the rest.
    virtual void HookWndProc(fw::HookMessage& message);

    void BeforeDestruction() override;

    // An MDI frame hooks its own window (always so here; kept for descendants that ask for it).
    bool useFrameWindow_ = false;

private:
    void Dispatch(fw::HookMessage& message);

    bool enabled_ = true;
    uint8_t ownerFormStyle_ = 0;
    fw::ScopedHook hook_;
    bool destroyed_ = false;
    HWND destroyedWindow_ = nullptr;
};

}  // namespace kvx::win32
