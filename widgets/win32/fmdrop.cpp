#include "widgets/win32/fmdrop.h"

#include "framework/core/sysutils.h"
#include "framework/win32/controls.h"
#include "framework/win32/utilwindow.h"
#include "widgets/win32/droplist.h"

namespace {
constexpr UINT kRecheck = WM_APP + 0x4B1;
}  // namespace

namespace kvx::win32 {

// ---- TKVXHookComponent --------------------------------------------------------------------------

void TKVXHookComponent::SetControl(fw::TWinControl* value) {
    if (value == control_) return;
    UnhookControl();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = value;
    if (control_) {
        control_->FreeNotification(this);
        if (control_->HandleAllocated()) HookControl();
    }
}

void TKVXHookComponent::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value)
        HookControl();
    else
        UnhookControl();
}

void TKVXHookComponent::Loaded() {
    TKVXComponent::Loaded();
    HookControl();
}

void TKVXHookComponent::HookControl() {
    if (!enabled_ || !control_ || Hooked()) return;
    try {
        window_ = control_->Handle();
        hook_.Reset(fw::AddHook(*control_, [this](fw::HookMessage& m) {
            // The hook outlives a RecreateWnd: the first message of a new window says so.
            if (m.Window != window_) {
                window_ = m.Window;
                WindowChanged(m.Window);
            }
            // After RecreateWnd the new window may stay silent for a while: look again once the
            // loop runs.
            if (m.Msg == WM_DESTROY) PostMessageA(Helper(), kRecheck, 0, 0);
            HookWndProc(m);
        }));
    } catch (const fw::Exception&) {
        hook_.Reset();
        window_ = nullptr;
    }
}

HWND TKVXHookComponent::Helper() {
    if (!helper_) {
        helper_ = fw::AllocateHWnd([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg != kRecheck) return DefWindowProcA(h, msg, w, l);
            if (Hooked() && control_ && control_->HandleAllocated() && control_->Handle() != window_) {
                window_ = control_->Handle();
                WindowChanged(window_);
            }
            return 0;
        });
    }
    return helper_;
}

void TKVXHookComponent::UnhookControl() {
    hook_.Reset();
    window_ = nullptr;
}

void TKVXHookComponent::Notification(TComponent* component, fw::TOperation operation) {
    TKVXComponent::Notification(component, operation);
    if (operation == fw::opRemove && component == control_) {
        // The control's hooks die with it.
        hook_.Release();
        window_ = nullptr;
        control_ = nullptr;
    }
}

void TKVXHookComponent::BeforeDestruction() {
    UnhookControl();
    if (helper_) fw::DeallocateHWnd(helper_);
    helper_ = nullptr;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = nullptr;
    TKVXComponent::BeforeDestruction();
}

// ---- TKVXFMDrop ---------------------------------------------------------------------------------

void TKVXFMDrop::HookControl() {
    TKVXHookComponent::HookControl();
    if (Hooked() && Control()) DragAcceptFiles(Control()->Handle(), TRUE);
}

void TKVXFMDrop::UnhookControl() {
    if (Hooked() && Control() && Control()->HandleAllocated() && !InState(fw::csDestroying))
        DragAcceptFiles(Control()->Handle(), FALSE);
    TKVXHookComponent::UnhookControl();
}

void TKVXFMDrop::WindowChanged(HWND window) { DragAcceptFiles(window, TRUE); }

void TKVXFMDrop::HookWndProc(fw::HookMessage& message) {
    if (message.Msg != WM_DROPFILES || !OnFMDragDrop) return;
    auto drop = reinterpret_cast<HDROP>(message.WParam);
    // The handle is ours to free once the event has run, also when the event raises; the control
    // never sees it.
    struct Finish {
        HDROP drop;
        ~Finish() { DragFinish(drop); }
    } finish{drop};
    message.Result = 0;
    message.Handled = true;
    POINT pt{};
    fw::TStringList list;
    const int count = KVXReadDrop(
        drop,
        [this](std::string name) {
            if (CharCase == TKVXCharCase::ccLowerCase) return fw::LowerCase(name);
            if (CharCase == TKVXCharCase::ccUpperCase) return fw::UpperCase(name);
            return name;
        },
        list, pt);
    if (count > 0) OnFMDragDrop(this, count, pt.x, pt.y, &list);
}

}  // namespace kvx::win32
