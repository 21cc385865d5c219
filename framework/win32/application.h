// The application object: the program's life cycle, its message loops and its exception handling.
//
//   int main() {
//       fw::InitApplication();                 // seams, registrations, the hidden application window
//       Application->Initialize();
//       Application->CreateForm(frmMain);      // the first form becomes MainForm
//       Application->Run();                    // until Terminate or the main form closes
//       fw::DoneApplication();
//   }
//
// Every loop of the GUI thread (Run, HandleMessage, ProcessMessages, ShowModal) passes each message
// to OnMessage before translation and serves the Synchronize requests of worker threads.
//
// The dispatch depth counts the loops and dispatches in progress. Run's own idle point is the only
// place at depth 0 once Run has started; objects handed to QueueFree (a released form) are freed
// there, so nothing is freed under code still running on the stack.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/object.h"
#include "framework/win32/winapi.h"

namespace fw {

class TForm;
class TControl;

// What a hint about to show is made of; OnShowHint and the control (CM_HINTSHOW) may change it.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint CursorPos;       // in the control's client coordinates
    TRect CursorRect;       // moving out of it hides the hint (client coordinates)
    TPoint HintPos;         // screen position of the hint window
    int HintMaxWidth = 0;
    TColor HintColor = 0;
    int ReshowTimeout = 0;  // ms; 0: no reshow
    int HideTimeout = 0;    // ms; the application's HintHidePause by default
    std::string HintStr;
};

using TMessageEvent = Event<void(TObject* Sender, MSG& Msg, bool& Handled)>;
using TExceptionEvent = Event<void(TObject* Sender, Exception& E)>;
using TIdleEvent = Event<void(TObject* Sender, bool& Done)>;
using TShowHintEvent = Event<void(TObject* Sender, std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using THelpEvent = Event<void(TObject* Sender, uint16_t Command, intptr_t Data, bool& CallHelp)>;

// Help commands go through a seam so that tests never start a help viewer.
using HelpSeam = bool (*)(HWND owner, const std::string& helpFile, unsigned command, uintptr_t data);
void SetHelpSeam(HelpSeam seam);

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* owner);

    // ---- life cycle ------------------------------------------------------------------------------
    // Common controls, the automation endpoint. Call once before the first form.
    void Initialize();

    // Constructs a form or data module owned by the application, sets `ref`, loads the form text
    // compiled in for its class, runs Loaded and OnCreate. The first form made this way is MainForm.
    template <class T>
    void CreateForm(T*& ref) {
        T* instance = Make<T>(this);
        ref = instance;
        try {
            FinishCreate(instance);
        } catch (...) {
            ref = nullptr;  // the reader freed the instance
            throw;
        }
    }

    // Shows the main form and loops until Terminated. Returns at once after an early Terminate.
    void Run();
    // Ends every loop: Run returns, modal forms return mrCancel. Sticky; callable from any thread.
    void Terminate();
    bool Terminated() const { return terminated_.load(); }
    // The thread that made the application (the GUI thread).
    DWORD ThreadId() const { return threadId_; }

    // ---- loops -----------------------------------------------------------------------------------
    // Runs every queued message, then returns. WM_QUIT sets Terminated.
    void ProcessMessages();
    // Runs one message, or idles (OnIdle, queued frees at depth 0) and waits for the next one.
    void HandleMessage();
    // Loops and dispatches in progress (0 at Run's idle point).
    int DispatchDepth() const { return depth_; }
    // Frees `object` once the outer loop is idle at depth 0 (a component freed sooner leaves the queue).
    void QueueFree(TObject* object);
    int QueuedFreeCount() const { return static_cast<int>(freeQueue_.size()); }

    // ---- windows ---------------------------------------------------------------------------------
    // The hidden utility window: posting target, owner of message boxes without a form, wake-ups.
    HWND Handle();
    TForm* MainForm() const { return mainForm_; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }
    void Minimize();
    void Restore();
    // The modal forms now looping, innermost last.
    const std::vector<TForm*>& ModalForms() const { return modalStack_; }

    // ---- identity and help ----------------------------------------------------------------------
    std::string Title() const;
    void SetTitle(const std::string& title);
    std::string ExeName() const;
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon);
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& file) { helpFile_ = file; }
    bool HelpContext(int context);
    bool HelpCommand(unsigned command, uintptr_t data);

    // ---- hints ------------------------------------------------------------------------------------
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);  // fires OnHint when it changes
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value) { showHint_ = value; }
    int HintPause() const { return hintPause_; }
    void SetHintPause(int ms) { hintPause_ = ms; }
    int HintShortPause() const { return hintShortPause_; }
    void SetHintShortPause(int ms) { hintShortPause_ = ms; }
    int HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(int ms) { hintHidePause_ = ms; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor color) { hintColor_ = color; }
    // The hint window lives with the hint code, which installs these.
    void HideHint();
    void CancelHint();
    void SetHintHandlers(void (*hide)(), void (*cancel)()) {
        hideHint_ = hide;
        cancelHint_ = cancel;
    }

    // ---- exceptions -------------------------------------------------------------------------------
    // Handles the exception in flight (call inside a catch block): EAbort is silent; otherwise
    // OnException runs, or ShowException when it is not assigned.
    void HandleException(TObject* sender);
    void HandleException(TObject* sender, std::exception_ptr error);
    void ShowException(const Exception& e);

    // ---- other -----------------------------------------------------------------------------------
    // MessageBoxA owned by the active form (or the application window); caption "" means Title.
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags);
    bool UpdateFormatSettings() const { return updateFormatSettings_; }
    void SetUpdateFormatSettings(bool value) { updateFormatSettings_ = value; }

    // Keyboard preprocessing of the loops (menu shortcuts, dialog keys), installed by the keyboard
    // code: true when the message was consumed and must not be translated or dispatched.
    using KeyPreprocessor = bool (*)(MSG& msg);
    void SetKeyPreprocessor(KeyPreprocessor preprocess) { keyPreprocessor_ = preprocess; }
    // Framework work done at every idle point before OnIdle (the actions' OnUpdate).
    using IdleHandler = void (*)();
    void AddIdleHandler(IdleHandler handler) { idleHandlers_.push_back(handler); }

    // ---- events -----------------------------------------------------------------------------------
    TExceptionEvent OnException;
    TNotifyEvent OnHint;
    // A hint is about to show: the handler may change its text (the short part) or refuse it.
    TShowHintEvent OnShowHint;
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    THelpEvent OnHelp;

    // ---- used by the forms ------------------------------------------------------------------------
    void PushModal(TForm* form);
    void PopModal(TForm* form);
    void BeginLoop() { ++depth_; }
    void EndLoop() { --depth_; }
    // A window of this application became active or the last one lost the activation.
    void NoteActivation(bool active);
    // The main form is going away.
    void MainFormDestroyed(TForm* form);

protected:
    ~TApplication() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FinishCreate(TComponent* instance);
    // One message taken and handled; false when the queue was empty.
    bool ProcessMessage(MSG& msg);
    void Idle();
    void FreeQueued();
    void CreateHandle();
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    TForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    std::atomic<bool> terminated_{false};
    DWORD threadId_ = GetCurrentThreadId();
    bool loadingMain_ = false;  // the main form is still loading: a failed load does not end the program
    bool running_ = false;
    bool active_ = false;
    int depth_ = 0;
    std::vector<TObject*> freeQueue_;
    std::vector<TForm*> modalStack_;
    std::string title_;
    bool titleSet_ = false;
    HICON icon_ = nullptr;
    std::string helpFile_;
    std::string hint_;
    bool showHint_ = true;
    int hintPause_ = 500;
    int hintShortPause_ = 50;
    int hintHidePause_ = 2500;
    TColor hintColor_ = clInfoBk;
    void (*hideHint_)() = nullptr;
    void (*cancelHint_)() = nullptr;
    bool updateFormatSettings_ = true;
    KeyPreprocessor keyPreprocessor_ = nullptr;
    std::vector<IdleHandler> idleHandlers_;
};

// The program's application object (null before InitApplication and after DoneApplication).
extern TApplication* Application;

// Installs the Win32 seams, registers the framework's classes, creates Application and Screen and
// routes callback exceptions, Synchronize wake-ups and engine pumping through them. Idempotent.
TApplication* InitApplication();
// Frees the queued objects, the forms and data modules, Screen and Application.
void DoneApplication();

// Loads the form text compiled in for `root`'s class (Loaded, OnCreate); without one, runs only
// OnCreate. On a load error `root` has been freed when this raises.
void LoadRootResource(TComponent* root);

// D9's CreateForm for a form or data module with any owner: constructs, loads the form text of its
// class (Loaded, OnCreate) and returns it. MainForm is not touched.
template <class T>
T* CreateForm(TComponent* owner) {
    T* instance = Make<T>(owner);
    LoadRootResource(instance);
    return instance;
}

// Disables the visible, enabled top-level windows of the calling thread except `except` (a modal
// form or message box is up), and enables them again.
std::vector<HWND> DisableTaskWindows(HWND except);
void EnableTaskWindows(const std::vector<HWND>& windows);

}  // namespace fw
