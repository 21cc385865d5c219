// The exception barrier. Every function that Windows calls back (window, subclass, hook, timer and
// enumeration procedures, sort and dialog callbacks) runs its body inside FW_CALLBACK_BODY: the
// shipped 32-bit build cannot unwind through system frames, so an exception must never leave one.
// The exception goes to the application's handler (OnException, or the message shown; EAbort stays
// silent) and the callback returns its fallback value.
//
//   LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
//       FW_CALLBACK_BODY(0, { return Dispatch(h, m, w, l); })
//   }
//   void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) { FW_CALLBACK_VOID({ Fire(id); }) }
#pragma once

#include <exception>
#include <type_traits>

namespace fw {

// Hands the exception in flight to the installed handler. Call only inside a catch block.
void HandleCallbackException() noexcept;

// The application installs its handler at start; before that, exceptions are written to the debug
// output and dropped.
using CallbackExceptionHandler = void (*)(std::exception_ptr error);
void SetCallbackExceptionHandler(CallbackExceptionHandler handler) noexcept;

template <class R, class F>
auto CallbackBarrier(R fallback, F&& body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        HandleCallbackException();
        return static_cast<decltype(body())>(fallback);
    }
}

template <class F>
void CallbackBarrierVoid(F&& body) noexcept {
    try {
        body();
    } catch (...) {
        HandleCallbackException();
    }
}

}  // namespace fw

// FW_CALLBACK_BODY(fallback, { body }) for callbacks with a result; FW_CALLBACK_VOID({ body }) for
// void ones. The body is a lambda body: it may use the callback's parameters and must return a value
// in the first form.
#define FW_CALLBACK_BODY(fallback, ...) return ::fw::CallbackBarrier((fallback), [&]() __VA_ARGS__);
#define FW_CALLBACK_VOID(...) ::fw::CallbackBarrierVoid([&]() __VA_ARGS__);
