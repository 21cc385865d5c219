#include "framework/win32/application.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "framework/core/formtext.h"
#include "framework/core/platform.h"
#include "framework/core/rtti.h"
#include "framework/win32/automation.h"
#include "framework/win32/callback.h"
#include "framework/win32/caption_check.h"
#include "framework/win32/forms.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/loop_services.h"
#include "framework/win32/messages.h"
#include "framework/win32/platform_win32.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_init.h"
#include "framework/win32/threads.h"
#include "framework/win32/timers.h"

namespace fw {

TApplication* Application = nullptr;

namespace {

constexpr const char* kAppWindowClass = "TApplication";

std::atomic<HWND> g_appWindow{nullptr};

bool DefaultHelp(HWND owner, const std::string& helpFile, unsigned command, uintptr_t data) {
    return WinHelpA(owner, helpFile.c_str(), command, data) != FALSE;
}

HelpSeam g_helpSeam = &DefaultHelp;

// Counts a loop or a dispatch for as long as it runs, also when it leaves by an exception.
class DepthGuard {
public:
    explicit DepthGuard(TApplication& app) : app_(app) { app_.BeginLoop(); }
    ~DepthGuard() { app_.EndLoop(); }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    TApplication& app_;
};

// Engine code pumps and asks questions through the host seam; in a program with an application
// object that means the application's loop and message boxes.
class ApplicationHost : public Host {
public:
    explicit ApplicationHost(Host* inner) : inner_(inner) {}
    Host* Inner() const { return inner_; }

    // Work running on another thread pumps and asks on its own.
    void PumpMessages() override {
        if (OnGuiThread())
            Application->ProcessMessages();
        else
            inner_->PumpMessages();
    }
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
        return OnGuiThread() ? Application->MessageBox(text, caption, flags) : inner_->MessageBox(text, caption, flags);
    }
    std::string Title() override { return Application ? Application->Title() : inner_->Title(); }
    void SetTitle(const std::string& title) override {
        if (Application)
            Application->SetTitle(title);
        else
            inner_->SetTitle(title);
    }
    std::string CommandLine() override { return inner_->CommandLine(); }
    std::string ExeName() override { return inner_->ExeName(); }

private:
    static bool OnGuiThread() { return Application && Application->ThreadId() == GetCurrentThreadId(); }

    Host* inner_;
};

ApplicationHost* g_host = nullptr;

void RouteCallbackException(std::exception_ptr error) {
    if (Application) Application->HandleException(nullptr, std::move(error));
}

// Controls show program cursors (ids without a stock shape) registered with Screen.
HCURSOR ResolveProgramCursor(TCursor id) { return Screen ? Screen->ProgramCursor(id) : nullptr; }

void PostWake() {
    if (HWND window = g_appWindow.load()) PostMessageA(window, WM_FW_SYNCWAKE, 0, 0);
}

std::string BaseNameWithoutExtension(const std::string& path) {
    size_t slash = path.find_last_of("\\/:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

// A queued automation answer: a button id ("6") or its name ("Yes"), ignoring case.
int BoxAnswer(const std::string& value) {
    static const std::pair<const char*, int> names[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT},
                                                        {"retry", IDRETRY},   {"ignore", IDIGNORE}, {"yes", IDYES},
                                                        {"no", IDNO},         {"close", IDCLOSE},   {"help", IDHELP},
                                                        {"tryagain", IDTRYAGAIN}, {"continue", IDCONTINUE}};
    if (!value.empty() && value.size() <= 9 && value.find_first_not_of("0123456789") == std::string::npos)
        return std::stoi(value);
    for (const auto& [name, id] : names)
        if (SameName(value, name)) return id;
    return IDOK;
}

struct TaskWindowScan {
    HWND except;
    std::vector<HWND>* list;
};

BOOL CALLBACK DisableTaskWindow(HWND window, LPARAM param) {
    FW_CALLBACK_BODY(TRUE, {
        auto* scan = reinterpret_cast<TaskWindowScan*>(param);
        if (window != scan->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
            scan->list->push_back(window);
            EnableWindow(window, FALSE);
        }
        return TRUE;
    })
}

}  // namespace

void SetHelpSeam(HelpSeam seam) { g_helpSeam = seam ? seam : &DefaultHelp; }

std::vector<HWND> DisableTaskWindows(HWND except) {
    std::vector<HWND> disabled;
    TaskWindowScan scan{except, &disabled};
    EnumThreadWindows(GetCurrentThreadId(), &DisableTaskWindow, reinterpret_cast<LPARAM>(&scan));
    return disabled;
}

void EnableTaskWindows(const std::vector<HWND>& windows) {
    for (HWND window : windows)
        if (IsWindow(window)) EnableWindow(window, TRUE);
}

// ---- TApplication --------------------------------------------------------------------------------

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() = default;

void TApplication::BeforeDestruction() {
    // Queued objects go first: a released form is still owned by the application.
    FreeQueued();
    TComponent::BeforeDestruction();
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        g_appWindow.store(nullptr);
        DestroyWindow(handle_);
        handle_ = nullptr;
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    freeQueue_.erase(std::remove(freeQueue_.begin(), freeQueue_.end(), static_cast<TObject*>(component)),
                     freeQueue_.end());
    if (component == mainForm_) mainForm_ = nullptr;
    if (auto* form = dynamic_cast<TForm*>(component))
        modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), form), modalStack_.end());
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES;
    InitCommonControlsEx(&icc);
    Handle();
    StartAutomationIfEnabled();
}

void TApplication::FinishCreate(TComponent* instance) {
    auto* form = dynamic_cast<TForm*>(instance);
    // Claimed before the load, so that forms made inside the main form's OnCreate stay secondary.
    const bool claimsMain = form && !mainForm_;
    if (claimsMain) {
        mainForm_ = form;
        loadingMain_ = true;
    }
    try {
        LoadRootResource(instance);
    } catch (...) {
        if (claimsMain) {
            mainForm_ = nullptr;
            loadingMain_ = false;
        }
        throw;
    }
    if (claimsMain) loadingMain_ = false;
}

void LoadRootResource(TComponent* root) {
    // A program started for the caption check checks its forms before the first one loads.
    CheckFormCaptionsIfAsked();
    if (!ReadComponentResource(root)) root->DoCreate();
}

void TApplication::Run() {
    running_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{running_};
    if (terminated_ || !mainForm_) return;
    if (showMainForm_) {
        try {
            mainForm_->Show();
        } catch (...) {
            HandleException(this);
        }
    }
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate() {
    if (terminated_.exchange(true)) return;
    if (GetCurrentThreadId() == threadId_)
        PostQuitMessage(0);
    else
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(this, msg, handled);
    if (handled) return true;
    // The keyboard chain dispatches too: a shortcut or an accelerator may run a menu or a modal form.
    DepthGuard guard(*this);
    if (keyPreprocessor_ && keyPreprocessor_(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

void TApplication::ProcessMessages() {
    DepthGuard guard(*this);
    MSG msg;
    while (ProcessMessage(msg)) {
    }
    ServeSynchronize();
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::Idle() {
    bool done = true;
    if (ServeSynchronize()) done = false;
    try {
        for (IdleHandler handler : idleHandlers_) handler();
        if (OnIdle) OnIdle(this, done);
    } catch (...) {
        HandleException(this);
    }
    if (depth_ == 0) FreeQueued();
    if (ServeSynchronize()) done = false;
    if (done && !terminated_) WaitMessage();
}

void TApplication::QueueFree(TObject* object) {
    if (!object) return;
    if (std::find(freeQueue_.begin(), freeQueue_.end(), object) != freeQueue_.end()) return;
    freeQueue_.push_back(object);
    if (auto* component = dynamic_cast<TComponent*>(object)) FreeNotification(component);
    // Wakes the outer loop, so it reaches its idle point and frees.
    PostMessageA(Handle(), WM_FW_QUEUEDFREE, 0, 0);
}

void TApplication::FreeQueued() {
    while (!freeQueue_.empty()) {
        TObject* object = freeQueue_.front();
        freeQueue_.erase(freeQueue_.begin());
        if (auto* component = dynamic_cast<TComponent*>(object)) RemoveFreeNotification(component);
        try {
            object->Free();
        } catch (...) {
            HandleException(this);
        }
    }
}

// ---- the application window -----------------------------------------------------------------------

HWND TApplication::Handle() {
    if (!handle_) CreateHandle();
    return handle_;
}

void TApplication::CreateHandle() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, kAppWindowClass, &existing)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &TApplication::AppWindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kAppWindowClass;
        if (!RegisterClassA(&wc)) throw EOutOfResources("Cannot register the application window class");
    }
    // A hidden top-level window (not message-only): broadcasts and shell notifications reach it.
    handle_ = CreateWindowExA(0, kAppWindowClass, Title().c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
    if (!handle_) throw EOutOfResources("Cannot create the application window");
    SetWindowLongPtrA(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (icon_) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    g_appWindow.store(handle_);
}

LRESULT CALLBACK TApplication::AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (!app) return DefWindowProcA(hwnd, message, wParam, lParam);
        return app->WndProc(message, wParam, lParam);
    })
}

LRESULT TApplication::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_FW_SYNCWAKE:
        ServeSynchronize();
        return 0;
    case WM_FW_QUEUEDFREE:
        return 0;  // only a wake-up: the loop frees at its idle point
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            if (mainForm_) mainForm_->Close();
            return 0;
        }
        break;
    case WM_CLOSE:
        if (mainForm_) mainForm_->Close();
        return 0;
    case WM_QUERYENDSESSION:
        return mainForm_ ? (mainForm_->CloseQuery() ? TRUE : FALSE) : TRUE;
    case WM_ENDSESSION:
        if (wParam) Terminate();
        return 0;
    case WM_ACTIVATEAPP:
        NoteActivation(wParam != 0);
        return 0;
    }
    return DefWindowProcA(handle_, message, wParam, lParam);
}

void TApplication::NoteActivation(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active) {
        if (OnActivate) OnActivate(this);
    } else {
        if (OnDeactivate) OnDeactivate(this);
    }
}

void TApplication::Minimize() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

void TApplication::MainFormDestroyed(TForm* form) {
    if (form != mainForm_) return;
    mainForm_ = nullptr;
    if (loadingMain_) {
        loadingMain_ = false;  // its form text failed: CreateForm raises, the program decides
        return;
    }
    Terminate();
}

void TApplication::PushModal(TForm* form) { modalStack_.push_back(form); }

void TApplication::PopModal(TForm* form) {
    auto it = std::find(modalStack_.rbegin(), modalStack_.rend(), form);
    if (it != modalStack_.rend()) modalStack_.erase(std::next(it).base());
}

// ---- identity, help, hints ------------------------------------------------------------------------

std::string TApplication::Title() const { return titleSet_ ? title_ : BaseNameWithoutExtension(ExeName()); }

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    titleSet_ = true;
    if (handle_) SetWindowTextA(handle_, title.c_str());
}

std::string TApplication::ExeName() const {
    return g_host ? g_host->Inner()->ExeName() : HostSeam().ExeName();
}

void TApplication::SetIcon(HICON icon) {
    icon_ = icon;
    if (handle_) SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

bool TApplication::HelpContext(int context) {
    return HelpCommand(HELP_CONTEXT, static_cast<uintptr_t>(static_cast<unsigned>(context)));
}

bool TApplication::HelpCommand(unsigned command, uintptr_t data) {
    bool callHelp = true;
    if (OnHelp) OnHelp(this, static_cast<uint16_t>(command), static_cast<intptr_t>(data), callHelp);
    if (!callHelp || helpFile_.empty()) return !callHelp;
    HWND owner = mainForm_ && mainForm_->HandleAllocated() ? mainForm_->Handle() : Handle();
    return g_helpSeam(owner, helpFile_, command, data);
}

void TApplication::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    if (OnHint) OnHint(this);
}

void TApplication::HideHint() {
    if (hideHint_) hideHint_();
}

void TApplication::CancelHint() {
    if (cancelHint_) cancelHint_();
}

// ---- exceptions and message boxes ------------------------------------------------------------------

void TApplication::HandleException(TObject* sender) { HandleException(sender, std::current_exception()); }

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
    if (!error) return;
    auto deliver = [&](Exception& e) {
        if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
        if (OnException)
            OnException(sender ? sender : this, e);
        else
            ShowException(e);
    };
    auto deliverSafely = [&](Exception& e) {
        try {
            deliver(e);
        } catch (const EAbort&) {
        } catch (const Exception& inner) {
            ShowException(inner);
        } catch (const std::exception& inner) {
            ShowException(Exception(inner.what()));
        } catch (...) {
            ShowException(Exception("Unknown exception"));
        }
    };
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        // silent
    } catch (Exception& e) {
        deliverSafely(e);
    } catch (const std::bad_alloc&) {
        EOutOfMemory e("Out of memory");
        deliverSafely(e);
    } catch (const std::exception& e) {
        Exception wrapped(e.what());
        deliverSafely(wrapped);
    } catch (...) {
        Exception wrapped("Unknown exception");
        deliverSafely(wrapped);
    }
}

void TApplication::ShowException(const Exception& e) {
    std::string text = e.Message();
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
    MessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    const std::string title = caption.empty() ? Title() : caption;
    std::string answer;
    if (automation::TakeQueuedAnswer("messagebox", answer, title, text)) return BoxAnswer(answer);
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        owner = Screen->ActiveForm()->Handle();
    if (!owner) owner = Handle();
    HWND active = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    int result = 0;
    {
        DepthGuard guard(*this);
        result = MessageBoxA(owner, text.c_str(), title.c_str(), flags);
    }
    EnableTaskWindows(disabled);
    if (active && IsWindow(active)) SetActiveWindow(active);
    return result;
}

// ---- start and end ---------------------------------------------------------------------------------

TApplication* InitApplication() {
    if (Application) return Application;
    InstallWin32Platform();
    RegisterClasses();
    RegisterFormClasses();
    RegisterThreadClasses();
    RegisterTimerClasses();
    RegisterImageListClasses();
    InitThreads();
    Application = Make<TApplication>(nullptr);
    if (!Screen) Screen = Make<TScreen>(nullptr);
    SetCallbackExceptionHandler(&RouteCallbackException);
    Application->Handle();
    SetMainThreadWaker(&PostWake);
    SetCursorResolver(&ResolveProgramCursor);
    InitStdControls();
    if (!g_host) g_host = new ApplicationHost(&HostSeam());
    SetHost(g_host);
    return Application;
}

void DoneApplication() {
    if (!Application) return;
    CheckFormCaptionsIfAsked();  // a program that ends before loading any form
    SetMainThreadWaker(nullptr);
    SetCursorResolver(nullptr);
    automation::Stop();
    TApplication* app = Application;
    app->Free();
    Application = nullptr;
    if (Screen) {
        TScreen* screen = Screen;
        Screen = nullptr;
        screen->Free();
    }
    SetCallbackExceptionHandler(nullptr);
    // A Terminate leaves WM_QUIT behind; a later application object must not meet it.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (g_host) {
        SetHost(g_host->Inner());
        delete g_host;
        g_host = nullptr;
    }
}

}  // namespace fw
