#include "framework/win32/callback.h"

#include <string>

#include "framework/win32/winapi.h"

namespace fw {

namespace {

CallbackExceptionHandler g_handler = nullptr;

void WriteToDebugOutput(const std::exception_ptr& error) noexcept {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        OutputDebugStringA((std::string("unhandled exception in a callback: ") + e.what()).c_str());
    } catch (...) {
        OutputDebugStringA("unhandled exception in a callback");
    }
}

}  // namespace

void SetCallbackExceptionHandler(CallbackExceptionHandler handler) noexcept { g_handler = handler; }

void HandleCallbackException() noexcept {
    const std::exception_ptr error = std::current_exception();
    if (!error) return;
    if (!g_handler) {
        WriteToDebugOutput(error);
        return;
    }
    try {
        g_handler(error);
    } catch (...) {
        // A handler that fails itself must not take the process down through a system frame.
        WriteToDebugOutput(std::current_exception());
    }
}

}  // namespace fw
