#include "installer/install_host.h"

#include <algorithm>
#include <utility>

namespace inst {

namespace {
InstallHost* g_host = nullptr;
}  // namespace

InstallHost& AppHost() { return g_host ? *g_host : DefaultNativeInstallHost(); }
void SetInstallHost(InstallHost* host) { g_host = host; }

NativeInstallHost& DefaultNativeInstallHost() {
    static NativeInstallHost host;
    return host;
}

bool NativeInstallHost::SwapActivateHandler(fw::TComponent*, fw::TNotifyEvent& handler) {
    if (!plainForm) return false;
    std::swap(formActivate, handler);
    return true;
}

void NativeInstallHost::Activate() {
    if (formActivate) formActivate(mainForm);
}

bool NativeInstallHost::Terminated() const { return std::find(calls.begin(), calls.end(), "terminate") != calls.end(); }

}  // namespace inst
