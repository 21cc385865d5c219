// The program around the install component: the application object and the main form it runs on.
// The install component reaches them only through this seam. The setup program installs the Win32 host
// (installer/win32); natively a scripted stand-in records what the component asked for.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/exceptions.h"
#include "framework/core/object.h"

namespace inst {

class InstallHost {
public:
    virtual ~InstallHost() = default;

    // The application's main form, or null.
    virtual fw::TComponent* MainForm() = 0;
    // Exchanges the form's activation handler with `handler`; false (and nothing changed) when the
    // component is not a plain form.
    virtual bool SwapActivateHandler(fw::TComponent* form, fw::TNotifyEvent& handler) = 0;
    virtual void MaximizeForm(fw::TComponent* form) = 0;
    // Left := -2 x width, top := -2 x height.
    virtual void MoveFormOffScreen(fw::TComponent* form) = 0;

    // Routes every exception that reaches the application's handler to `handler` (empty: back to the
    // standard handling).
    virtual void RouteExceptions(std::function<void(fw::Exception&)> handler) = 0;
    // Shows an exception the standard way.
    virtual void ShowException(const fw::Exception& e) = 0;
    // Ends the application: every loop returns, Run returns at once.
    virtual void Terminate() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
};

InstallHost& AppHost();
// Installs a host (nullptr: back to the native stand-in). The object must outlive its use.
void SetInstallHost(InstallHost* host);

// The native stand-in: a main form that exists only as a component, activations fired by the test.
class NativeInstallHost : public InstallHost {
public:
    fw::TComponent* mainForm = nullptr;
    // The activation handler of each form the host was given (what the form would call).
    fw::TNotifyEvent formActivate;
    bool plainForm = true;
    // What the component asked for, in order: "maximize", "offscreen", "terminate", "busy", "idle",
    // "show <message>".
    std::vector<std::string> calls;
    std::function<void(fw::Exception&)> exceptionRoute;

    fw::TComponent* MainForm() override { return mainForm; }
    bool SwapActivateHandler(fw::TComponent* form, fw::TNotifyEvent& handler) override;
    void MaximizeForm(fw::TComponent*) override { calls.push_back("maximize"); }
    void MoveFormOffScreen(fw::TComponent*) override { calls.push_back("offscreen"); }
    void RouteExceptions(std::function<void(fw::Exception&)> handler) override { exceptionRoute = std::move(handler); }
    void ShowException(const fw::Exception& e) override { calls.push_back("show " + e.Message()); }
    void Terminate() override { calls.push_back("terminate"); }
    void SetBusyCursor(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }

    // Activates the main form as the system would: its handler runs with the form as sender.
    void Activate();
    bool Terminated() const;
};
NativeInstallHost& DefaultNativeInstallHost();

}  // namespace inst
