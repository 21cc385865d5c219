// Window hooks: one subclass per window, holding an ordered list of hooks.
//
// Every piece of code that wants to see a window's messages before (or after) the window's own
// procedure adds a hook here instead of replacing the window procedure. The framework installs one
// comctl32 subclass per hooked window; the newest hook sees a message first and may mark it handled
// with a result, and then neither the older hooks nor the window's own procedure see it.
//
//   HookId id = fw::AddHook(form, [](fw::HookMessage& m) {
//       if (m.Msg == WM_GETMINMAXINFO) { LimitSize(m); m.Handled = true; }
//   });
//   ...
//   fw::RemoveHook(id);
//
// - `AddHook(TWinControl&, hook)` stays with the control: it is attached to the control's window
//   whenever the control creates one (RecreateWnd included) until it is removed or the control dies.
// - `AddHook(HWND, hook, onDestroyed)` serves windows the framework does not own; the hook dies with
//   the window, and onDestroyed runs once the window is gone.
// - Removal is safe at any time and in any order, even from inside a running hook (the hook itself or
//   any other). A hook removed while a message is on its way is not called for that message.
// - WM_DESTROY and WM_NCDESTROY always reach the window's own procedure, even when a hook marks them
//   handled, so that the window's owner can always clean up.
// - An exception thrown by a hook goes to the application's exception handler (the callback barrier),
//   and the message goes on to the next hook as if the hook had returned.
// - Hooks are added, removed and run on the thread that owns the window. They see messages in the
//   window's own character set: ANSI for the framework's windows, wide for a Unicode system window.
//
// `TControl::Perform` calls the control's WndProc directly and so passes no hook; messages that come
// through Windows (SendMessageA, PostMessageA, the system itself) pass the hooks first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "framework/win32/winapi.h"

namespace fw {

class TWinControl;
class HookWalk;

// A message on its way through a window's hooks.
struct HookMessage {
    HWND Window = nullptr;
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    // The value the window answers when Handled is set (or after CallNext).
    LRESULT Result = 0;
    // Set by a hook to stop the message: older hooks and the window's own procedure do not see it.
    bool Handled = false;

    // Passes the message on now to the older hooks and the window's own procedure, stores their answer
    // in Result, marks the message handled and returns Result. A hook uses it to act after the window
    // has processed the message. Calling it again returns the stored Result.
    LRESULT CallNext();

private:
    friend class HookWalk;
    HookWalk* walk_ = nullptr;
};

using Hook = std::function<void(HookMessage& message)>;

// Identifies one added hook; 0 is no hook. Ids are never reused.
using HookId = std::uint64_t;

// Adds a hook bound to the control. It is attached to the control's window now when the window
// exists, and to every window the control creates later (AttachControlHooks).
HookId AddHook(TWinControl& control, Hook hook);

// Adds a hook to a window of this thread. It dies with the window: onDestroyed (optional) runs after
// the window received WM_NCDESTROY. Raises EInvalidOperation when the window cannot be hooked (no
// such window, or one of another thread).
HookId AddHook(HWND window, Hook hook, std::function<void()> onDestroyed = {});

// Removes a hook. Returns false when the hook is gone already (removed, or its window destroyed).
bool RemoveHook(HookId id);

// The number of hooks attached to a window now (0 when the window carries no subclass of ours).
std::size_t HookCount(HWND window);

// Called by TWinControl right after it created its window: attaches the control's hooks to it.
void AttachControlHooks(TWinControl& control, HWND window);

// Called by TWinControl when it is destroyed: removes the control's hooks for good.
void ReleaseControlHooks(TWinControl& control);

// Owns one hook and removes it when destroyed. For members of components that hook a window for
// their whole life.
class ScopedHook {
public:
    ScopedHook() = default;
    explicit ScopedHook(HookId id) : id_(id) {}
    ScopedHook(const ScopedHook&) = delete;
    ScopedHook& operator=(const ScopedHook&) = delete;
    ScopedHook(ScopedHook&& other) noexcept : id_(other.Release()) {}
    ScopedHook& operator=(ScopedHook&& other) noexcept;
    ~ScopedHook() { Reset(); }

    HookId Id() const { return id_; }
    explicit operator bool() const { return id_ != 0; }
    // Removes the owned hook (if any) and takes `id` instead.
    void Reset(HookId id = 0) noexcept;
    // Gives up ownership without removing the hook.
    HookId Release() noexcept {
        const HookId id = id_;
        id_ = 0;
        return id;
    }

private:
    HookId id_ = 0;
};

}  // namespace fw
