#include "uisupport/win32/kyvhook.h"

#include <algorithm>

#include "framework/core/filer.h"
#include "framework/win32/application.h"
#include "framework/win32/messages.h"
#include "framework/win32/utilwindow.h"

namespace uis {

namespace {

THookList* g_hookList = nullptr;

void ReportHandlerError(fw::TObject* sender) {
    if (fw::Application) fw::Application->HandleException(sender);
}

}  // namespace

// ---- TKyvWindowHook -----------------------------------------------------------------------------

TKyvWindowHook::TKyvWindowHook(fw::TComponent* owner) : TComponent(owner) {}

void TKyvWindowHook::SetActive(bool value) {
    active_ = value;
    if (InState(fw::csLoading)) return;  // Loaded registers
    if (value)
        Register();
    else
        Unregister();
}

void TKyvWindowHook::SetWinControl(fw::TWinControl* value) {
    if (value == control_) return;
    const bool wasActive = active_;
    Unregister();
    if (control_) control_->RemoveFreeNotification(this);
    control_ = value;
    if (control_) control_->FreeNotification(this);
    active_ = wasActive;
    if (active_ && !InState(fw::csLoading)) Register();
}

void TKyvWindowHook::Register() {
    if (!control_ || !active_ || InState(fw::csDestroying) || controlHook_) return;
    THookList* list = THookList::Get(true);
    if (!list) return;
    list->GetControlHook(control_)->Register(this);
}

void TKyvWindowHook::Unregister() {
    TControlHook* hook = controlHook_;
    if (!hook) return;
    hook->Unregister(this);
    // The control hook is freed later from the list's window, so that a message of it still on the
    // stack (this may run inside one of its handlers) finishes first.
    THookList* list = THookList::Get(false);
    if (list && hook->Count() == 0)
        PostMessageA(list->Window(), fw::CM_HOOKLIST_FREEUNUSED, 0, reinterpret_cast<LPARAM>(hook));
}

void TKyvWindowHook::Loaded() {
    TComponent::Loaded();
    if (active_) Register();
}

bool TKyvWindowHook::WatchesOwnerForm() const {
    return control_ && control_ == Owner() && control_->IsForm();
}

bool TKyvWindowHook::IsWinControlStored() const { return control_ && !control_->IsForm(); }

void TKyvWindowHook::DefineProperties(fw::TFiler& filer) {
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        "IsForm",
        [this](fw::TReader& reader) {
            if (reader.ReadBoolean()) {
                if (auto* form = dynamic_cast<fw::TWinControl*>(Owner()); form && form->IsForm()) SetWinControl(form);
            }
        },
        [](fw::TWriter& writer) { writer.WriteBoolean(true); }, WatchesOwnerForm());
}

void TKyvWindowHook::DoAfterMessage(fw::TMessage& msg, bool& handled) {
    if (AfterMessage) AfterMessage(this, msg, handled);
}

void TKyvWindowHook::DoBeforeMessage(fw::TMessage& msg, bool& handled) {
    if (BeforeMessage) BeforeMessage(this, msg, handled);
}

void TKyvWindowHook::Notification(fw::TComponent* component, fw::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == control_ || component == Owner() || !Owner()) SetWinControl(nullptr);
}

void TKyvWindowHook::BeforeDestruction() {
    SetActive(false);
    SetWinControl(nullptr);
    TComponent::BeforeDestruction();
}

// ---- TControlHook -------------------------------------------------------------------------------

TControlHook::~TControlHook() {
    destroying_ = true;
    for (TKyvWindowHook* hook : std::vector<TKyvWindowHook*>(hooks_)) {
        if (hook->controlHook_ == this) hook->controlHook_ = nullptr;
    }
    hooks_.clear();
    Uninstall();
    control_ = nullptr;
}

void TControlHook::Register(TKyvWindowHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
    hook->controlHook_ = this;
    Install();
}

void TControlHook::Unregister(TKyvWindowHook* hook) {
    std::erase(hooks_, hook);
    if (hook->controlHook_ == this) hook->controlHook_ = nullptr;
    if (hooks_.empty()) Uninstall();
}

void TControlHook::Install() {
    if (!control_ || destroying_ || control_->InState(fw::csDestroying | fw::csDesigning)) return;
    HWND window = control_->Handle();
    if (hook_ && window == window_) return;
    Uninstall();
    window_ = window;
    hook_ = fw::AddHook(window, [this](fw::HookMessage& m) { Proc(m); }, [this] {
        hook_ = 0;
        window_ = nullptr;
    });
}

void TControlHook::Uninstall() {
    if (hook_) fw::RemoveHook(hook_);
    hook_ = 0;
    window_ = nullptr;
}

void TControlHook::SetControl(fw::TWinControl* control) {
    Uninstall();
    control_ = control;
    if (!hooks_.empty()) Install();
}

void TControlHook::CallHandlers(bool after, fw::TMessage& msg, bool& handled) {
    if (hooks_.empty() || !control_ || destroying_ || control_->InState(fw::csDestroying)) return;
    // A copy: handlers may unregister watchers (themselves or others) while the walk runs.
    const std::vector<TKyvWindowHook*> walk(hooks_);
    for (auto it = walk.rbegin(); it != walk.rend() && !handled; ++it) {
        TKyvWindowHook* hook = *it;
        if (hook->controlHook_ != this) continue;
        try {
            if (after)
                hook->DoAfterMessage(msg, handled);
            else
                hook->DoBeforeMessage(msg, handled);
        } catch (...) {
            ReportHandlerError(hook);
        }
    }
}

void TControlHook::Proc(fw::HookMessage& message) {
    if (!control_) return;
    fw::TMessage msg{message.Msg, message.WParam, message.LParam, 0};
    bool handled = false;
    if (message.Msg != WM_QUIT) CallHandlers(false, msg, handled);
    if (!handled || message.Msg == WM_DESTROY) {
        message.WParam = msg.WParam;
        message.LParam = msg.LParam;
        try {
            msg.Result = message.CallNext();
        } catch (...) {
            CallHandlers(true, msg, handled);
            throw;
        }
        CallHandlers(true, msg, handled);
    }
    message.Result = msg.Result;
    message.Handled = true;
    if (message.Msg == WM_DESTROY) {
        Uninstall();
        THookList* list = THookList::Get(false);
        // Only the window goes (RecreateWnd): hook the next one once it exists.
        if (list && !destroying_ && control_ && !control_->InState(fw::csDestroying))
            PostMessageA(list->Window(), fw::CM_HOOKLIST_REINSTALL, 0, reinterpret_cast<LPARAM>(this));
    }
}

// ---- THookList ----------------------------------------------------------------------------------

THookList::THookList(fw::TComponent* owner) : TComponent(owner) {
    window_ = fw::AllocateHWnd([this](HWND w, UINT m, WPARAM wp, LPARAM lp) { return WndProc(w, m, wp, lp); });
}

THookList* THookList::Get(bool create) {
    // The application owns the list, so it goes when the program ends; none is made after that.
    if (!g_hookList && create && fw::Application && !fw::Application->InState(fw::csDestroying))
        g_hookList = fw::Make<THookList>(fw::Application);
    return g_hookList;
}

TControlHook* THookList::Find(const fw::TWinControl* control) const {
    for (TControlHook* hook : hooks_)
        if (hook->Control() == control) return hook;
    return nullptr;
}

TControlHook* THookList::GetControlHook(fw::TWinControl* control) {
    if (TControlHook* found = Find(control)) return found;
    auto* hook = new TControlHook(control);
    hooks_.push_back(hook);
    control->FreeNotification(this);
    return hook;
}

bool THookList::Contains(const TControlHook* hook) const {
    return std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
}

void THookList::FreeHook(TControlHook* hook) {
    hook->MarkDestroying();
    std::erase(hooks_, hook);
    delete hook;
}

LRESULT THookList::WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* hook = reinterpret_cast<TControlHook*>(lParam);
    if (msg == fw::CM_HOOKLIST_REINSTALL) {
        try {
            if (Contains(hook)) hook->Install();
        } catch (...) {
            ReportHandlerError(this);
        }
        return 0;
    }
    if (msg == fw::CM_HOOKLIST_FREEUNUSED) {
        try {
            if (Contains(hook) && hook->Count() == 0) FreeHook(hook);
        } catch (...) {
            ReportHandlerError(this);
        }
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void THookList::Notification(fw::TComponent* component, fw::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != fw::opRemove) return;
    // A control going away leaves its hook without a control; the hook itself goes when unused.
    for (TControlHook* hook : hooks_)
        if (hook->Control() == component) hook->SetControl(nullptr);
}

void THookList::BeforeDestruction() {
    if (g_hookList == this) g_hookList = nullptr;
    while (!hooks_.empty()) FreeHook(hooks_.back());
    fw::DeallocateHWnd(window_);
    window_ = nullptr;
    TComponent::BeforeDestruction();
}

void RegisterKyvHookClasses() {
    fw::RegisterClasses();
    fw::Class<TKyvWindowHook, fw::TComponent>("TKyvWindowHook")
        .Prop("Active", &TKyvWindowHook::Active, &TKyvWindowHook::SetActive)
        .Prop("WinControl", &TKyvWindowHook::WinControl, &TKyvWindowHook::SetWinControl)
        .Stored(&TKyvWindowHook::IsWinControlStored)
        .Event("BeforeMessage", &TKyvWindowHook::BeforeMessage)
        .Event("AfterMessage", &TKyvWindowHook::AfterMessage);
}

}  // namespace uis
