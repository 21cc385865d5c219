#include "framework/win32/hooks.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/win32/callback.h"
#include "framework/win32/controls.h"

namespace fw {

namespace {

// The one subclass the framework puts on a window is known by this procedure and this id.
constexpr UINT_PTR kSubclassId = 0x66776B68;  // "fwkh"

struct HookEntry {
    HookId id = 0;
    Hook hook;
    std::function<void()> onDestroyed;
    const TWinControl* control = nullptr;  // set for hooks bound to a control
    HWND window = nullptr;                 // the window it is attached to now, if any
    bool removed = false;
};

using EntryPtr = std::shared_ptr<HookEntry>;
using EntryList = std::vector<EntryPtr>;

struct HookRegistry {
    std::mutex lock;
    HookId lastId = 0;
    std::unordered_map<HookId, EntryPtr> hooks;
    // The hooks of each hooked window, oldest first (ascending ids): the walk runs from the back.
    std::unordered_map<HWND, EntryList> chains;
    std::unordered_map<const TWinControl*, EntryList> controls;
};

HookRegistry& TheRegistry() {
    static HookRegistry* registry = new HookRegistry;  // never freed: hooks may run during program exit
    return *registry;
}

bool IsDestroyMessage(UINT msg) { return msg == WM_DESTROY || msg == WM_NCDESTROY; }

bool OwnsWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

// Puts the entry into the window's chain, installing the subclass when the window has none yet.
// Returns false when the window cannot be subclassed. Called with the registry locked; installing a
// subclass sends no message.
bool AttachLocked(HookRegistry& r, const EntryPtr& entry, HWND window) {
    if (!r.chains.contains(window) && !SetWindowSubclass(window, SubclassProc, kSubclassId, 0)) return false;
    EntryList& hooks = r.chains[window];
    const auto at = std::upper_bound(hooks.begin(), hooks.end(), entry->id,
                                     [](HookId id, const EntryPtr& e) { return id < e->id; });
    hooks.insert(at, entry);
    entry->window = window;
    return true;
}

// Takes the entry out of its window's chain; the subclass goes when the chain is empty. A running walk
// keeps its own copy of the list and skips entries marked removed.
void DetachLocked(HookRegistry& r, HookEntry& entry) {
    HWND window = entry.window;
    entry.window = nullptr;
    if (!window) return;
    const auto found = r.chains.find(window);
    if (found == r.chains.end()) return;
    EntryList& hooks = found->second;
    std::erase_if(hooks, [&](const EntryPtr& e) { return e.get() == &entry; });
    if (!hooks.empty()) return;
    r.chains.erase(found);
    // Only the owning thread may take the subclass off; elsewhere the subclass procedure does it at the
    // window's next message, finding no chain.
    if (OwnsWindow(window)) RemoveWindowSubclass(window, SubclassProc, kSubclassId);
}

// Calls the functions outside the lock, each behind the barrier.
void RunDestroyedCallbacks(std::vector<std::function<void()>>& callbacks) {
    for (auto& callback : callbacks) {
        CallbackBarrierVoid([&] { callback(); });
    }
}

// The window is gone: its own hooks die, hooks bound to a control wait for the control's next window.
void WindowDestroyed(HWND window) {
    HookRegistry& r = TheRegistry();
    std::vector<std::function<void()>> callbacks;
    {
        std::lock_guard guard(r.lock);
        const auto found = r.chains.find(window);
        if (found != r.chains.end()) {
            for (const EntryPtr& entry : found->second) {
                entry->window = nullptr;
                if (entry->control) continue;
                entry->removed = true;
                r.hooks.erase(entry->id);
                if (entry->onDestroyed) callbacks.push_back(std::move(entry->onDestroyed));
            }
            r.chains.erase(found);
        }
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    }
    RunDestroyedCallbacks(callbacks);
}

}  // namespace

// One message's walk through a copy of the window's hook list, newest first.
class HookWalk {
public:
    HookWalk(EntryList hooks) : hooks_(std::move(hooks)), next_(hooks_.size()) {}

    void Run(HookMessage& m) {
        while (next_ > 0) {
            const EntryPtr& entry = hooks_[--next_];
            if (entry->removed) continue;
            CallbackBarrierVoid([&] { entry->hook(m); });
            if (m.Handled) break;
        }
        next_ = 0;
        if (!delivered_ && (!m.Handled || IsDestroyMessage(m.Msg))) {
            delivered_ = true;
            const LRESULT result = DefSubclassProc(m.Window, m.Msg, m.WParam, m.LParam);
            if (!m.Handled) m.Result = result;
        }
    }

    // Walks the message from the newest hook on.
    void Start(HookMessage& m) {
        m.walk_ = this;
        Run(m);
    }

    bool Delivered() const { return delivered_; }

private:
    EntryList hooks_;
    std::size_t next_;
    bool delivered_ = false;
};

LRESULT HookMessage::CallNext() {
    if (walk_ && !walk_->Delivered()) {
        Handled = false;
        walk_->Run(*this);
    }
    Handled = true;
    return Result;
}

namespace {

LRESULT Dispatch(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    HookRegistry& r = TheRegistry();
    EntryList hooks;
    {
        std::lock_guard guard(r.lock);
        const auto found = r.chains.find(window);
        if (found != r.chains.end()) hooks = found->second;
    }
    if (hooks.empty()) {
        // The chain was emptied from another thread: the subclass goes now.
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        return DefSubclassProc(window, msg, wParam, lParam);
    }
    HookWalk walk(std::move(hooks));
    HookMessage m;
    m.Window = window;
    m.Msg = msg;
    m.WParam = wParam;
    m.LParam = lParam;
    walk.Start(m);
    if (msg == WM_NCDESTROY) WindowDestroyed(window);
    return m.Result;
}

LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    FW_CALLBACK_BODY(0, { return Dispatch(window, msg, wParam, lParam); })
}

HookId NewEntry(HookRegistry& r, EntryPtr& entry, Hook hook) {
    entry = std::make_shared<HookEntry>();
    entry->id = ++r.lastId;
    entry->hook = std::move(hook);
    return entry->id;
}

}  // namespace

HookId AddHook(HWND window, Hook hook, std::function<void()> onDestroyed) {
    if (!hook) throw EInvalidOperation("A window hook needs a function");
    if (!window || !IsWindow(window)) throw EInvalidOperation("Cannot hook a window that does not exist");
    if (!OwnsWindow(window)) throw EInvalidOperation("Cannot hook a window of another thread");
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    EntryPtr entry;
    const HookId id = NewEntry(r, entry, std::move(hook));
    entry->onDestroyed = std::move(onDestroyed);
    if (!AttachLocked(r, entry, window)) throw EInvalidOperation("Cannot hook the window");
    r.hooks.emplace(id, entry);
    return id;
}

HookId AddHook(TWinControl& control, Hook hook) {
    if (!hook) throw EInvalidOperation("A window hook needs a function");
    HWND window = nullptr;
    if (control.HandleAllocated()) window = control.Handle();
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    EntryPtr entry;
    const HookId id = NewEntry(r, entry, std::move(hook));
    entry->control = &control;
    if (window && !AttachLocked(r, entry, window)) throw EInvalidOperation("Cannot hook the control's window");
    r.hooks.emplace(id, entry);
    r.controls[&control].push_back(entry);
    return id;
}

bool RemoveHook(HookId id) {
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto found = r.hooks.find(id);
    if (found == r.hooks.end()) return false;
    const EntryPtr entry = found->second;
    r.hooks.erase(found);
    entry->removed = true;
    DetachLocked(r, *entry);
    if (entry->control) {
        const auto owner = r.controls.find(entry->control);
        if (owner != r.controls.end()) {
            std::erase(owner->second, entry);
            if (owner->second.empty()) r.controls.erase(owner);
        }
    }
    return true;
}

std::size_t HookCount(HWND window) {
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto found = r.chains.find(window);
    return found == r.chains.end() ? 0 : found->second.size();
}

void AttachControlHooks(TWinControl& control, HWND window) {
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto owner = r.controls.find(&control);
    if (owner == r.controls.end() || !window) return;
    for (const EntryPtr& entry : owner->second) {
        if (entry->window == window) continue;
        DetachLocked(r, *entry);
        if (!AttachLocked(r, entry, window)) throw EInvalidOperation("Cannot hook the control's window");
    }
}

void ReleaseControlHooks(TWinControl& control) {
    HookRegistry& r = TheRegistry();
    std::lock_guard guard(r.lock);
    const auto owner = r.controls.find(&control);
    if (owner == r.controls.end()) return;
    for (const EntryPtr& entry : owner->second) {
        entry->removed = true;
        r.hooks.erase(entry->id);
        DetachLocked(r, *entry);
    }
    r.controls.erase(owner);
}

ScopedHook& ScopedHook::operator=(ScopedHook&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

void ScopedHook::Reset(HookId id) noexcept {
    const HookId old = id_;
    id_ = id;
    if (old) {
        try {
            RemoveHook(old);
        } catch (...) {
            HandleCallbackException();
        }
    }
}

}  // namespace fw
