#include "widgets/win32/wndproccomponent.h"

#include "framework/win32/controls.h"
#include "framework/win32/forms.h"

namespace kvx::win32 {

TKVXWndProcComponent::TKVXWndProcComponent(TComponent* owner) : TKVXComponent(owner) {
    if (auto* form = dynamic_cast<fw::TForm*>(owner)) {
        if (form->FormStyle() == fw::TFormStyle::fsMDIChild) ownerFormStyle_ = 1;
        if (form->FormStyle() == fw::TFormStyle::fsMDIForm) ownerFormStyle_ = 2;
    }
}

void TKVXWndProcComponent::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (value)
        EnableHook();
    else
        DisableHook();
}

HWND TKVXWndProcComponent::TargetWindow() {
    auto* control = dynamic_cast<fw::TWinControl*>(Owner());
    if (!control) return nullptr;
    try {
        return control->Handle();
    } catch (const fw::Exception&) {
        return nullptr;
    }
}

bool TKVXWndProcComponent::HookReady() const {
    auto* control = dynamic_cast<fw::TWinControl*>(Owner());
    return control && control->HandleAllocated() && !InState(fw::csLoading | fw::csDestroying);
}

bool TKVXWndProcComponent::InstallHook() {
    if (Hooked() || !TargetWindow()) return false;
    destroyed_ = false;
    destroyedWindow_ = nullptr;
    auto* control = dynamic_cast<fw::TWinControl*>(Owner());
    try {
        hook_.Reset(fw::AddHook(*control, [this](fw::HookMessage& m) { Dispatch(m); }));
    } catch (const fw::Exception&) {
        RemoveHook();
        return false;
    }
    return true;
}

bool TKVXWndProcComponent::RemoveHook() {
    hook_.Reset();
    destroyed_ = false;
    destroyedWindow_ = nullptr;
    return true;
}

void TKVXWndProcComponent::EnableHook() {
    if (enabled_ && !Hooked()) InstallHook();
}

void TKVXWndProcComponent::Dispatch(fw::HookMessage& message) {
    if (destroyed_) {
        // A window of the owner made after the destroyed one (RecreateWnd) is watched again.
        if (message.Window == destroyedWindow_) return;
        destroyed_ = false;
        destroyedWindow_ = nullptr;
    }
    HookWndProc(message);
}

void TKVXWndProcComponent::HookWndProc(fw::HookMessage& message) {
    if (message.Msg != WM_DESTROY) return;
    destroyed_ = true;
    destroyedWindow_ = message.Window;
    if (ownerFormStyle_ == 1) {
        // The child's own procedure still sees its WM_DESTROY; then the component lets go.
        message.CallNext();
        RemoveHook();
    }
}

void TKVXWndProcComponent::Loaded() {
    TKVXComponent::Loaded();
    EnableHook();
}

void TKVXWndProcComponent::BeforeDestruction() {
    RemoveHook();
    TKVXComponent::BeforeDestruction();
}

}  // namespace kvx::win32
