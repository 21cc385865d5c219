// TKyvWindowHook: sees every message of another control's window before and after the control's own
// window procedure, without the control's cooperation.
//
// Any number of hook components may watch one control: they share one TControlHook per control, which
// puts one hook on the framework's hook chain of the control's window (framework/win32/hooks.h), so the
// hook and any other hook of that window (the widget suite's form hooks) can be removed in any order.
// All control hooks live in the program's THookList, whose hidden window receives two private
// messages: CM_HOOKLIST_REINSTALL (a re-created window is hooked again once it exists) and
// CM_HOOKLIST_FREEUNUSED (a control hook whose last watcher left is freed once no message of it runs).
//
// The component registered last sees each message first; a before-handler that sets Handled keeps the
// message from the earlier ones and from the control's own procedure (WM_DESTROY always goes on). A
// watched form is written to form text as the defined property "IsForm" instead of WinControl.
#pragma once

#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/controls.h"
#include "framework/win32/hooks.h"

namespace uis {

using THookMessageEvent = fw::Event<void(fw::TObject* Sender, fw::TMessage& Msg, bool& Handled)>;

class TControlHook;

class TKyvWindowHook : public fw::TComponent {
public:
    explicit TKyvWindowHook(fw::TComponent* owner);

    // The hook receives messages (true after construction).
    bool Active() const { return active_; }
    void SetActive(bool value);
    // The control whose window is watched.
    fw::TWinControl* WinControl() const { return control_; }
    void SetWinControl(fw::TWinControl* value);

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

    void DefineProperties(fw::TFiler& filer) override;
    void Loaded() override;
    // WinControl is written only when it is set and is not a form (the owner form goes as IsForm).
    bool IsWinControlStored() const;

protected:
    ~TKyvWindowHook() override = default;
    // Fire AfterMessage and BeforeMessage.
    virtual void DoAfterMessage(fw::TMessage& msg, bool& handled);
    virtual void DoBeforeMessage(fw::TMessage& msg, bool& handled);
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void BeforeDestruction() override;

private:
    friend class TControlHook;
    void Register();
    void Unregister();
    bool WatchesOwnerForm() const;

    bool active_ = true;
    fw::TWinControl* control_ = nullptr;
    TControlHook* controlHook_ = nullptr;
};

// The hook of one control, shared by every TKyvWindowHook watching it.
class TControlHook {
public:
    explicit TControlHook(fw::TWinControl* control) : control_(control) {}
    ~TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    fw::TWinControl* Control() const { return control_; }
    int Count() const { return static_cast<int>(hooks_.size()); }
    bool Installed() const { return hook_ != 0; }

    // Adds a watcher once, then installs.
    void Register(TKyvWindowHook* hook);
    // Removes a watcher; the last one leaving uninstalls.
    void Unregister(TKyvWindowHook* hook);
    // Hooks the control's window (made when missing) unless the control or this hook is going away.
    void Install();
    // Takes the hook off the window.
    void Uninstall();
    // Uninstalls, changes the control and installs again when watchers are registered.
    void SetControl(fw::TWinControl* control);
    void MarkDestroying() { destroying_ = true; }

private:
    void Proc(fw::HookMessage& message);
    void CallHandlers(bool after, fw::TMessage& msg, bool& handled);

    fw::TWinControl* control_ = nullptr;
    fw::HookId hook_ = 0;
    HWND window_ = nullptr;
    std::vector<TKyvWindowHook*> hooks_;  // in the order of registration
    bool destroying_ = false;
};

// The program's control hooks (made on first use, freed with the application).
class THookList : public fw::TComponent {
public:
    explicit THookList(fw::TComponent* owner);

    // The list, made when it does not exist yet; null while the program ends.
    static THookList* Get(bool create);
    TControlHook* Find(const fw::TWinControl* control) const;
    // Finds, or makes and binds to the control.
    TControlHook* GetControlHook(fw::TWinControl* control);
    bool Contains(const TControlHook* hook) const;
    int Count() const { return static_cast<int>(hooks_.size()); }
    HWND Window() const { return window_; }

protected:
    ~THookList() override = default;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    LRESULT WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void FreeHook(TControlHook* hook);

    std::vector<TControlHook*> hooks_;
    HWND window_ = nullptr;
};

void RegisterKyvHookClasses();

}  // namespace uis
