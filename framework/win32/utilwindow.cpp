#include "framework/win32/utilwindow.h"

#include "framework/core/exceptions.h"
#include "framework/win32/callback.h"

namespace fw {

namespace {

constexpr char kClassName[] = "FwUtilWindow";

// What a window holds in GWLP_USERDATA. The method may destroy its own window; the holder is then
// deleted only when the outermost call into it has returned.
struct UtilWindowData {
    TWndMethod method;
    int depth = 0;
    bool destroyed = false;
};

LRESULT CALLBACK UtilWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        auto* data = reinterpret_cast<UtilWindowData*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
        if (!data) return DefWindowProcA(wnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
            data->destroyed = true;
            if (data->depth == 0) delete data;
            return DefWindowProcA(wnd, msg, wParam, lParam);
        }
        if (!data->method) return DefWindowProcA(wnd, msg, wParam, lParam);
        struct Depth {
            UtilWindowData* d;
            explicit Depth(UtilWindowData* data) : d(data) { ++d->depth; }
            ~Depth() {
                if (--d->depth == 0 && d->destroyed) delete d;
            }
        } depth(data);
        return data->method(wnd, msg, wParam, lParam);
    })
}

void RegisterUtilClass() {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, kClassName, &existing)) return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &UtilWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    // A second thread may have registered it in between; that is fine.
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw EOutOfResources("Cannot register the utility window class");
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    RegisterUtilClass();
    HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!wnd) throw EOutOfResources("Cannot create a utility window");
    auto* data = new UtilWindowData{std::move(method)};
    SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    return wnd;
}

void DeallocateHWnd(HWND wnd) {
    if (wnd && IsWindow(wnd)) DestroyWindow(wnd);
}

}  // namespace fw
