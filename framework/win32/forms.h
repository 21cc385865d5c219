// Forms: top-level windows loaded from form text, shown modeless or modal, closed through the
// close-query protocol.
//
//   class TfrmAbout : public fw::TForm {
//   public:
//       using TForm::TForm;
//       fw::TButton* btnOk = nullptr;                  // set by name while the form text loads
//       void FormCreate(fw::TObject* Sender);         // bound by name from "OnCreate = FormCreate"
//   };
//   ...
//   auto* about = fw::CreateForm<TfrmAbout>(Application);   // or Application->CreateForm(frmAbout)
//   if (about->ShowModal() == fw::mrOk) ...
//   about->Release();                                 // freed once the outer loop is idle
//
// Closing: Close asks OnCloseQuery, then OnClose(var Action) decides: caNone keeps the form, caHide
// hides it, caFree releases it, caMinimize minimises it. Closing the main form ends the program. A
// modal form closes by getting a ModalResult; its loop runs the same protocol before ShowModal
// returns, and a refusal clears ModalResult so the loop goes on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/winapi.h"

namespace fw {

class TReader;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
constexpr TBorderIcon biSystemMenu = TBorderIcon::biSystemMenu;
constexpr TBorderIcon biMinimize = TBorderIcon::biMinimize;
constexpr TBorderIcon biMaximize = TBorderIcon::biMaximize;
constexpr TBorderIcon biHelp = TBorderIcon::biHelp;

enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
constexpr TFormStyle fsNormal = TFormStyle::fsNormal;
constexpr TFormStyle fsStayOnTop = TFormStyle::fsStayOnTop;

enum class TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
constexpr TPosition poDesigned = TPosition::poDesigned;
constexpr TPosition poDefault = TPosition::poDefault;
constexpr TPosition poDefaultPosOnly = TPosition::poDefaultPosOnly;
constexpr TPosition poDefaultSizeOnly = TPosition::poDefaultSizeOnly;
constexpr TPosition poScreenCenter = TPosition::poScreenCenter;
constexpr TPosition poDesktopCenter = TPosition::poDesktopCenter;
constexpr TPosition poMainFormCenter = TPosition::poMainFormCenter;
constexpr TPosition poOwnerFormCenter = TPosition::poOwnerFormCenter;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
constexpr TWindowState wsNormal = TWindowState::wsNormal;
constexpr TWindowState wsMinimized = TWindowState::wsMinimized;
constexpr TWindowState wsMaximized = TWindowState::wsMaximized;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
constexpr TCloseAction caNone = TCloseAction::caNone;
constexpr TCloseAction caHide = TCloseAction::caHide;
constexpr TCloseAction caFree = TCloseAction::caFree;
constexpr TCloseAction caMinimize = TCloseAction::caMinimize;

// Modal results carry the system's dialog ids.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = IDOK;          // 1
constexpr TModalResult mrCancel = IDCANCEL;  // 2
constexpr TModalResult mrAbort = IDABORT;    // 3
constexpr TModalResult mrRetry = IDRETRY;    // 4
constexpr TModalResult mrIgnore = IDIGNORE;  // 5
constexpr TModalResult mrYes = IDYES;        // 6
constexpr TModalResult mrNo = IDNO;          // 7
constexpr TModalResult mrAll = mrNo + 1;     // 8
constexpr TModalResult mrNoToAll = mrAll + 1;
constexpr TModalResult mrYesToAll = mrNoToAll + 1;
const IdentTable& ModalResultIdents();

using TCloseEvent = Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = Event<void(TObject* Sender, bool& CanClose)>;

// The menus unit attaches a main menu's window menu through this.
class TForm;
using FormMenuHandler = HMENU (*)(TComponent* menu);
void SetFormMenuHandler(FormMenuHandler handler);
// The menus unit takes the form's menu messages (WM_COMMAND from a menu, WM_INITMENUPOPUP,
// WM_MENUSELECT) through this; true when it handled the message.
using FormMenuMessageHandler = bool (*)(TForm* form, TMessage& message);
void SetFormMenuMessageHandler(FormMenuMessageHandler handler);

class TForm : public TWinControl {
public:
    // A form ready for its form text: Application->CreateForm or fw::CreateForm load it. A form
    // built in code (CreateNew) is used as constructed.
    explicit TForm(TComponent* owner);

    template <class T = TForm>
    static T* CreateNew(TComponent* owner) {
        return Make<T>(owner);
    }

    bool IsForm() const override { return true; }
    // A second instance of a form class loads under a free name ("frmAbout_1").
    void SetName(const std::string& newName) override;

    // ---- look and frame ----
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    // Changed in place (SWP_FRAMECHANGED), without re-creating the window.
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState value);
    // Scaled forms are fitted to the screen's resolution when they load (from the PixelsPerInch they
    // were written with).
    bool Scaled() const { return scaled_; }
    void SetScaled(bool value) { scaled_ = value; }
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int value) { pixelsPerInch_ = value; }
    // Streamed client size; applied once the load has set the frame.
    int FormClientWidth() const { return ClientWidth(); }
    void SetFormClientWidth(int value);
    int FormClientHeight() const { return ClientHeight(); }
    void SetFormClientHeight(int value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon);
    // Streamed by form text writers of old; kept without meaning.
    int TextHeight() const { return textHeight_; }
    void SetTextHeight(int value) { textHeight_ = value; }
    bool OldCreateOrder() const { return oldCreateOrder_; }
    void SetOldCreateOrder(bool value) { oldCreateOrder_ = value; }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value) { autoScroll_ = value; }

    // ---- state ----
    // The focused control of this form (the one focused when it was last active).
    TWinControl* ActiveControl() const;
    void SetActiveControl(TWinControl* control);
    TComponent* Menu() const { return menu_; }
    void SetMenu(TComponent* menu);
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& value) { helpFile_ = value; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool Active() const { return active_; }
    bool Modal() const { return modal_; }

    // ---- operations ----
    void Show();
    void Hide();
    // Runs OnCloseQuery, then OnClose and its action. On a modal form: ModalResult = mrCancel.
    void Close();
    // Frees the form once the outer loop is idle.
    void Release();
    // OnCloseQuery's answer.
    virtual bool CloseQuery();
    // Shows the form modal: the thread's other windows are disabled and the form loops until it has
    // a ModalResult that the close protocol accepts. Returns mrCancel once the program terminates.
    int ShowModal();
    void BringToFront();

    // Message handlers by number, for subclasses (WM_GETMINMAXINFO, WM_COPYDATA, private messages):
    // the newest handler for a number runs instead of the form's own handling, and may call
    // InheritedMessage for that.
    template <class F>
    void AddMessageHandler(UINT msg, void (F::*handler)(TMessage&)) {
        F* self = static_cast<F*>(this);
        messageHandlers_.push_back({msg, [self, handler](TMessage& m) { (self->*handler)(m); }});
    }
    void InheritedMessage(TMessage& message);

    // ---- events ----
    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;

    // OnCreate (an exception in it goes to the application's handler), then a deferred Visible.
    void DoCreate() override;
    void ReadState(TReader& reader) override;

protected:
    ~TForm() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    virtual void DoClose(TCloseAction& action);
    virtual void DoShow();
    virtual void DoHide();
    virtual void Activate();
    virtual void Deactivate();

private:
    void FormDispatch(TMessage& message);
    void WMActivate(TMessage& message);
    void WMSysCommand(TMessage& message);
    void CloseModal();
    void ApplyPosition();
    void ApplyBorderIcons();
    void ScaleForm(int multiplier, int divider);
    DWORD FrameStyle() const;
    DWORD FrameExStyle() const;
    void ClientSizeToBounds(int clientWidth, int clientHeight);
    void RestoreFocus();

    struct MessageHandler {
        UINT msg;
        std::function<void(TMessage&)> handler;
    };

    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize};
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    bool scaled_ = true;
    int pixelsPerInch_ = 96;
    int pendingClientWidth_ = -1;
    int pendingClientHeight_ = -1;
    bool keyPreview_ = false;
    HICON icon_ = nullptr;
    int textHeight_ = 13;
    bool oldCreateOrder_ = false;
    bool autoScroll_ = true;
    TWinControl* activeControl_ = nullptr;
    TComponent* menu_ = nullptr;
    std::string helpFile_;
    TModalResult modalResult_ = mrNone;
    bool active_ = false;
    bool modal_ = false;
    bool shown_ = false;          // shown at least once (Position applied)
    bool showAfterCreate_ = false;  // Visible = True in the form text
    std::vector<MessageHandler> messageHandlers_;
};

// Registers TForm and TDataModule with their enumerations (after the control and graphics classes).
void RegisterFormClasses();

}  // namespace fw
