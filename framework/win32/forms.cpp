#include "framework/win32/forms.h"

#include <algorithm>

#include "framework/core/filer.h"
#include "framework/win32/application.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"

namespace fw {

namespace {

FormMenuHandler g_menuHandler = nullptr;

// Counts a modal loop for the dispatch depth, also when it leaves by an exception.
class LoopGuard {
public:
    explicit LoopGuard(TApplication* app) : app_(app) { app_->BeginLoop(); }
    ~LoopGuard() { app_->EndLoop(); }
    LoopGuard(const LoopGuard&) = delete;
    LoopGuard& operator=(const LoopGuard&) = delete;

private:
    TApplication* app_;
};

int Scale(int value, int multiplier, int divider) { return MulDiv(value, multiplier, divider); }

void ScaleChildren(TWinControl* parent, int multiplier, int divider) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->SetBounds(Scale(c->Left(), multiplier, divider), Scale(c->Top(), multiplier, divider),
                     Scale(c->Width(), multiplier, divider), Scale(c->Height(), multiplier, divider));
        if (!c->ParentFont()) c->Font()->SetHeight(Scale(c->Font()->Height(), multiplier, divider));
        if (auto* w = dynamic_cast<TWinControl*>(c)) ScaleChildren(w, multiplier, divider);
    }
}

}  // namespace

void SetFormMenuHandler(FormMenuHandler handler) { g_menuHandler = handler; }

namespace {
FormMenuMessageHandler g_menuMessageHandler = nullptr;
}
void SetFormMenuMessageHandler(FormMenuMessageHandler handler) { g_menuMessageHandler = handler; }

const IdentTable& ModalResultIdents() {
    static const IdentTable table{{{"mrNone", mrNone},
                                   {"mrOk", mrOk},
                                   {"mrCancel", mrCancel},
                                   {"mrAbort", mrAbort},
                                   {"mrRetry", mrRetry},
                                   {"mrIgnore", mrIgnore},
                                   {"mrYes", mrYes},
                                   {"mrNo", mrNo},
                                   {"mrAll", mrAll},
                                   {"mrNoToAll", mrNoToAll},
                                   {"mrYesToAll", mrYesToAll}},
                                  false};
    return table;
}

// ---- construction and destruction --------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    if (Screen) Screen->AddForm(this);
}

TForm::~TForm() = default;

void TForm::BeforeDestruction() {
    // From here on the form hears no activation or show events: their handlers may be gone.
    Destroying();
    if (HandleAllocated() && !Parent() && !ParentWindow()) ShowWindow(Handle(), SW_HIDE);
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    if (Screen) Screen->RemoveForm(this);
    if (Application) {
        Application->PopModal(this);
        Application->MainFormDestroyed(this);
    }
    TWinControl::BeforeDestruction();
}

void TForm::SetName(const std::string& newName) {
    TWinControl::SetName(UniqueRootName(this, newName));
}

void TForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == menu_) menu_ = nullptr;
}

void TForm::ReadState(TReader& reader) {
    TWinControl::ReadState(reader);
    // Forms are written at 96 pixels per inch; a scaled form fits itself to the screen before Loaded.
    if (scaled_ && Screen) {
        const int screenPpi = Screen->PixelsPerInch();
        if (pixelsPerInch_ > 0 && pixelsPerInch_ != screenPpi) ScaleForm(screenPpi, pixelsPerInch_);
        pixelsPerInch_ = screenPpi;
    }
}

void TForm::ScaleForm(int multiplier, int divider) {
    DisableAlign();
    if (pendingClientWidth_ >= 0) pendingClientWidth_ = Scale(pendingClientWidth_, multiplier, divider);
    if (pendingClientHeight_ >= 0) pendingClientHeight_ = Scale(pendingClientHeight_, multiplier, divider);
    if (pendingClientWidth_ < 0 && pendingClientHeight_ < 0)
        SetBounds(Left(), Top(), Scale(Width(), multiplier, divider), Scale(Height(), multiplier, divider));
    Font()->SetHeight(Scale(Font()->Height(), multiplier, divider));
    ScaleChildren(this, multiplier, divider);
    EnableAlign();
}

void TForm::Loaded() {
    TWinControl::Loaded();
    if (pendingClientWidth_ >= 0 || pendingClientHeight_ >= 0) {
        ClientSizeToBounds(pendingClientWidth_, pendingClientHeight_);
        pendingClientWidth_ = pendingClientHeight_ = -1;
    }
}

void TForm::DoCreate() {
    try {
        if (OnCreate) OnCreate(this);
    } catch (...) {
        if (!Application) throw;
        Application->HandleException(this);
    }
    if (showAfterCreate_) {
        showAfterCreate_ = false;
        // Visible is already set by the load; only the window has to follow.
        if (Visible())
            Perform(CM_VISIBLECHANGED, 1);
        else
            SetVisible(true);
        BringToFront();
    }
}

// ---- the window ---------------------------------------------------------------------------------------

DWORD TForm::FrameStyle() const {
    bool systemMenu = borderIcons_.Contains(biSystemMenu);
    bool minimize = borderIcons_.Contains(biMinimize);
    bool maximize = borderIcons_.Contains(biMaximize);
    DWORD style = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
        return WS_POPUP;
    case TFormBorderStyle::bsSingle:
        style = WS_CAPTION;
        break;
    case TFormBorderStyle::bsSizeable:
        style = WS_CAPTION | WS_THICKFRAME;
        break;
    case TFormBorderStyle::bsDialog:
        style = WS_POPUP | WS_CAPTION;
        minimize = maximize = false;
        break;
    case TFormBorderStyle::bsToolWindow:
        style = WS_CAPTION;
        minimize = maximize = false;
        break;
    case TFormBorderStyle::bsSizeToolWin:
        style = WS_CAPTION | WS_THICKFRAME;
        minimize = maximize = false;
        break;
    }
    if (systemMenu) {
        style |= WS_SYSMENU;
        if (minimize) style |= WS_MINIMIZEBOX;
        if (maximize) style |= WS_MAXIMIZEBOX;
    }
    return style;
}

DWORD TForm::FrameExStyle() const {
    DWORD ex = 0;
    switch (borderStyle_) {
    case TFormBorderStyle::bsDialog:
        ex = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
        ex = WS_EX_TOOLWINDOW;
        break;
    default:
        break;
    }
    // The help button only shows without minimise and maximise boxes.
    if (borderStyle_ != TFormBorderStyle::bsNone && borderIcons_.Contains(biSystemMenu) &&
        borderIcons_.Contains(biHelp) && !(FrameStyle() & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        ex |= WS_EX_CONTEXTHELP;
    return ex;
}

void TForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WindowClass.style |= CS_DBLCLKS;
    // A form placed inside another control or window is a child window.
    if (Parent() || ParentWindow()) return;
    params.Style = FrameStyle() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!Enabled()) params.Style |= WS_DISABLED;
    params.ExStyle = FrameExStyle();
    if (ParentWindow()) {
        params.WndParent = ParentWindow();
    } else if (Application && Application->MainForm() != this) {
        // Secondary forms stay above the main form and share its taskbar button.
        TForm* main = Application->MainForm();
        params.WndParent = main && main->HandleAllocated() ? main->Handle() : Application->Handle();
    } else {
        params.WndParent = nullptr;
        params.ExStyle |= WS_EX_APPWINDOW;
    }
    if (formStyle_ == TFormStyle::fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (!(params.Style & WS_POPUP)) {
        if (position_ == poDefault || position_ == poDefaultPosOnly) params.X = params.Y = CW_USEDEFAULT;
        if (position_ == poDefault || position_ == poDefaultSizeOnly) params.Width = params.Height = CW_USEDEFAULT;
    }
}

void TForm::CreateWnd() {
    TWinControl::CreateWnd();
    HWND window = Handle();
    if (menu_ && g_menuHandler) ::SetMenu(window, g_menuHandler(menu_));
    if (icon_) {
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    }
    // A window made again (RecreateWnd) while the form is shown is shown again.
    if (shown_ && Visible() && !Parent() && !ParentWindow()) ShowWindow(window, SW_SHOWNA);
    if (position_ == poDefault || position_ == poDefaultPosOnly || position_ == poDefaultSizeOnly) {
        // The system chose; the control's bounds follow the window.
        RECT r{};
        GetWindowRect(window, &r);
        SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
}

void TForm::ClientSizeToBounds(int clientWidth, int clientHeight) {
    int frameWidth = 0;
    int frameHeight = 0;
    if (HandleAllocated()) {
        RECT window{}, client{};
        GetWindowRect(const_cast<TForm*>(this)->Handle(), &window);
        GetClientRect(const_cast<TForm*>(this)->Handle(), &client);
        frameWidth = (window.right - window.left) - client.right;
        frameHeight = (window.bottom - window.top) - client.bottom;
    } else {
        RECT r{0, 0, 0, 0};
        DWORD style = Parent() ? WS_CHILD : FrameStyle();
        AdjustWindowRectEx(&r, style, menu_ != nullptr && !Parent(), Parent() ? 0 : FrameExStyle());
        frameWidth = r.right - r.left;
        frameHeight = r.bottom - r.top;
    }
    SetBounds(Left(), Top(), clientWidth >= 0 ? clientWidth + frameWidth : Width(),
              clientHeight >= 0 ? clientHeight + frameHeight : Height());
}

void TForm::SetFormClientWidth(int value) {
    if (InState(csLoading))
        pendingClientWidth_ = value;
    else
        ClientSizeToBounds(value, -1);
}

void TForm::SetFormClientHeight(int value) {
    if (InState(csLoading))
        pendingClientHeight_ = value;
    else
        ClientSizeToBounds(-1, value);
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    if (HandleAllocated() && !InState(csLoading)) RecreateWnd();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    if (value == borderIcons_) return;
    borderIcons_ = value;
    if (HandleAllocated() && !Parent()) ApplyBorderIcons();
}

void TForm::ApplyBorderIcons() {
    HWND window = Handle();
    constexpr DWORD iconBits = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    DWORD style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    style = (style & ~iconBits) | (FrameStyle() & iconBits);
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    DWORD ex = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    ex = (ex & ~static_cast<DWORD>(WS_EX_CONTEXTHELP)) | (FrameExStyle() & WS_EX_CONTEXTHELP);
    SetWindowLongPtrA(window, GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    formStyle_ = value;
    if (HandleAllocated() && !Parent())
        SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetWindowState(TWindowState value) {
    if (value == windowState_) return;
    windowState_ = value;
    if (HandleAllocated() && IsWindowVisible(Handle())) {
        switch (value) {
        case wsMinimized:
            ShowWindow(Handle(), SW_MINIMIZE);
            break;
        case wsMaximized:
            ShowWindow(Handle(), SW_MAXIMIZE);
            break;
        case wsNormal:
            ShowWindow(Handle(), SW_RESTORE);
            break;
        }
    }
}

void TForm::SetIcon(HICON icon) {
    icon_ = icon;
    if (HandleAllocated()) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void TForm::SetMenu(TComponent* menu) {
    if (menu == menu_) return;
    if (menu_) RemoveFreeNotification(menu_);
    menu_ = menu;
    if (menu_) FreeNotification(menu_);
    if (HandleAllocated() && g_menuHandler && !Parent()) ::SetMenu(Handle(), menu_ ? g_menuHandler(menu_) : nullptr);
}

// ---- focus --------------------------------------------------------------------------------------------

TWinControl* TForm::ActiveControl() const {
    if (HandleAllocated() && active_) {
        if (HWND focus = GetFocus()) {
            TWinControl* control = FindControl(focus);
            if (control && control != this && GetParentForm(control) == this) return control;
        }
    }
    return activeControl_;
}

void TForm::SetActiveControl(TWinControl* control) {
    if (control != activeControl_) {
        if (activeControl_) RemoveFreeNotification(activeControl_);
        activeControl_ = control;
        if (activeControl_) FreeNotification(activeControl_);
        if (Screen && Screen->ActiveForm() == this) Screen->ActiveControlChanged();
    }
    if (control && active_ && !InState(csLoading) && control->CanFocus()) control->SetFocus();
}

void TForm::RestoreFocus() {
    if (activeControl_ && activeControl_->CanFocus()) {
        activeControl_->SetFocus();
        return;
    }
    std::vector<TWinControl*> order;
    GetTabOrderList(order);
    for (TWinControl* control : order)
        if (control->TabStop() && control->CanFocus()) {
            control->SetFocus();
            return;
        }
}

// ---- messages -----------------------------------------------------------------------------------------

void TForm::Dispatch(TMessage& message) {
    for (auto it = messageHandlers_.rbegin(); it != messageHandlers_.rend(); ++it) {
        if (it->msg == message.Msg) {
            auto handler = it->handler;  // the handler may add handlers
            handler(message);
            return;
        }
    }
    FormDispatch(message);
}

void TForm::InheritedMessage(TMessage& message) { FormDispatch(message); }

void TForm::FormDispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        if (g_menuMessageHandler && g_menuMessageHandler(this, message)) return;
        break;
    case WM_DESTROY:
        // The menu bar belongs to the menu component, not to the window that goes.
        if (menu_ && HandleAllocated() && !Parent()) ::SetMenu(Handle(), nullptr);
        break;
    case WM_CLOSE:
        Close();
        message.Result = 0;
        return;
    case WM_ACTIVATE:
        WMActivate(message);
        return;
    case WM_SYSCOMMAND:
        WMSysCommand(message);
        return;
    case WM_QUERYENDSESSION:
        message.Result = CloseQuery() ? TRUE : FALSE;
        return;
    case WM_ENDSESSION:
        if (message.WParam && Application) Application->Terminate();
        message.Result = 0;
        return;
    case WM_ACTIVATEAPP:
        if (Application) Application->NoteActivation(message.WParam != 0);
        break;
    case WM_DROPFILES:
        // Nobody took the drop: the shell's memory must still be freed.
        DragFinish(reinterpret_cast<HDROP>(message.WParam));
        message.Result = 0;
        return;
    case WM_SETCURSOR:
        if (Screen && Screen->Cursor() != crDefault) {
            ::SetCursor(Screen->Cursors(Screen->Cursor()));
            message.Result = TRUE;
            return;
        }
        break;
    case CM_FOCUSCHANGED:
        if (auto* control = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.LParam));
            control && control != this && control != activeControl_) {
            if (activeControl_) RemoveFreeNotification(activeControl_);
            activeControl_ = control;
            FreeNotification(control);
            if (Screen && Screen->ActiveForm() == this) Screen->ActiveControlChanged();
        }
        break;
    case WM_SIZE:
        if (!Parent()) {
            if (message.WParam == SIZE_MINIMIZED)
                windowState_ = wsMinimized;
            else if (message.WParam == SIZE_MAXIMIZED)
                windowState_ = wsMaximized;
            else if (message.WParam == SIZE_RESTORED)
                windowState_ = wsNormal;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

void TForm::WMActivate(TMessage& message) {
    TWinControl::Dispatch(message);
    if (LOWORD(message.WParam) != WA_INACTIVE) {
        active_ = true;
        if (Screen) Screen->SetActiveForm(this);
        if (!HIWORD(message.WParam)) RestoreFocus();
        Activate();
    } else {
        // Remember the focused control, to give it back when the form is active again.
        if (HWND focus = GetFocus()) {
            TWinControl* control = FindControl(focus);
            if (control && control != this && GetParentForm(control) == this) {
                if (activeControl_ && activeControl_ != control) RemoveFreeNotification(activeControl_);
                activeControl_ = control;
                FreeNotification(control);
            }
        }
        active_ = false;
        Deactivate();
    }
}

void TForm::WMSysCommand(TMessage& message) {
    const bool isMain = Application && Application->MainForm() == this;
    switch (message.WParam & 0xFFF0) {
    case SC_MINIMIZE:
        if (isMain) {
            Application->Minimize();
            message.Result = 0;
            return;
        }
        break;
    case SC_RESTORE:
        if (isMain && HandleAllocated() && IsIconic(Handle())) {
            Application->Restore();
            message.Result = 0;
            return;
        }
        break;
    case SC_KEYMENU:
        // F10 or Alt alone on a form without a window menu: a tool bar carrying the menu may take it.
        if (!menu_ && message.LParam == 0) {
            TMessage offer{CM_APPSYSCOMMAND, message.WParam, message.LParam, 0};
            Broadcast(offer);
            if (offer.Result) {
                message.Result = 0;
                return;
            }
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

void TForm::CMVisibleChanged(TMessage& message) {
    if (Parent() || ParentWindow()) {
        TWinControl::CMVisibleChanged(message);
        return;
    }
    if (InState(csLoading)) {
        // Visible = True in the form text: shown once OnCreate has run.
        showAfterCreate_ = Visible();
        return;
    }
    if (Visible()) {
        DoShow();
        HWND window = Handle();
        if (!shown_) {
            shown_ = true;
            ApplyPosition();
        }
        int command = SW_SHOWNORMAL;
        if (windowState_ == wsMinimized)
            command = SW_SHOWMINIMIZED;
        else if (windowState_ == wsMaximized)
            command = SW_SHOWMAXIMIZED;
        ShowWindow(window, command);
    } else if (HandleAllocated() && IsWindowVisible(Handle())) {
        DoHide();
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::ApplyPosition() {
    TRect area;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TForm* center = position_ == poMainFormCenter ? (Application ? Application->MainForm() : nullptr)
                                                      : dynamic_cast<TForm*>(Owner());
        if (center && center != this)
            area = center->BoundsRect();
        else
            area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        break;
    }
    default:
        return;
    }
    int left = area.Left + (area.Width() - Width()) / 2;
    int top = area.Top + (area.Height() - Height()) / 2;
    SetBounds(std::max(left, 0), std::max(top, 0), Width(), Height());
}

// ---- showing and closing ------------------------------------------------------------------------------

void TForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TForm::Hide() { SetVisible(false); }

void TForm::BringToFront() {
    if (Parent()) {
        TControl::BringToFront();
        return;
    }
    if (HandleAllocated()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm::DoShow() {
    if (OnShow && !InState(csDestroying)) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide && !InState(csDestroying)) OnHide(this);
}

void TForm::Activate() {
    if (OnActivate && !InState(csDestroying)) OnActivate(this);
}

void TForm::Deactivate() {
    if (OnDeactivate && !InState(csDestroying)) OnDeactivate(this);
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TForm::Release() {
    if (Application)
        Application->QueueFree(this);
    else
        Free();
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone:
        modalResult_ = mrNone;  // refused: the loop goes on
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

int TForm::ShowModal() {
    if (Visible() || modal_ || !Enabled() || Parent())
        throw EInvalidOperation("Cannot make a visible window modal");
    TApplication* app = Application;
    if (!app) throw EInvalidOperation("ShowModal needs the application object");
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();

    modal_ = true;
    app->PushModal(this);
    HWND activeBefore = GetActiveWindow();
    std::vector<HWND> disabled = DisableTaskWindows(nullptr);
    modalResult_ = mrNone;
    auto cleanUp = [&] {
        EnableTaskWindows(disabled);
        if (activeBefore && IsWindow(activeBefore)) SetActiveWindow(activeBefore);
        if (Visible()) Hide();
        app->PopModal(this);
        modal_ = false;
    };
    try {
        Show();
        LoopGuard guard(app);
        for (;;) {
            if (app->Terminated()) {
                // Ending the program: the form still hears the close protocol, but cannot refuse.
                CloseQuery();
                TCloseAction action = caHide;
                DoClose(action);
                if (action == caFree) Release();
                modalResult_ = mrCancel;
                break;
            }
            try {
                app->HandleMessage();
            } catch (...) {
                app->HandleException(this);
            }
            if (modalResult_ != mrNone && !app->Terminated()) {
                CloseModal();
                if (modalResult_ != mrNone) break;
            }
        }
    } catch (...) {
        cleanUp();
        throw;
    }
    cleanUp();
    return modalResult_;
}

// ---- registration -------------------------------------------------------------------------------------

void RegisterFormClasses() {
    RegisterGraphicsClasses();
    RegisterControlClasses();
    RegisterEnum<TFormBorderStyle>({"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                                   "TFormBorderStyle");
    RegisterEnum<TBorderIcon>({"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, "TBorderIcon");
    RegisterEnum<TFormStyle>({"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}, "TFormStyle");
    RegisterEnum<TPosition>({"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                             "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"},
                            "TPosition");
    RegisterEnum<TWindowState>({"wsNormal", "wsMinimized", "wsMaximized"}, "TWindowState");
    RegisterEnum<TCloseAction>({"caNone", "caHide", "caFree", "caMinimize"}, "TCloseAction");

    Class<TForm, TWinControl>("TForm")
        .Prop("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle)
        .Prop("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
        .Prop("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle)
        .Prop("Position", &TForm::Position, &TForm::SetPosition)
        .Prop("WindowState", &TForm::WindowState, &TForm::SetWindowState)
        .Prop("Scaled", &TForm::Scaled, &TForm::SetScaled)
        .Prop("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
        .Prop("ClientWidth", &TForm::FormClientWidth, &TForm::SetFormClientWidth)
        .Prop("ClientHeight", &TForm::FormClientHeight, &TForm::SetFormClientHeight)
        .Prop("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview)
        .Prop("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl)
        .Prop("Menu", &TForm::Menu, &TForm::SetMenu)
        .Prop("HelpFile", &TForm::HelpFile, &TForm::SetHelpFile)
        .Prop("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight)
        .Prop("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder)
        .Prop("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll)
        .Event("OnCreate", &TForm::OnCreate)
        .Event("OnShow", &TForm::OnShow)
        .Event("OnHide", &TForm::OnHide)
        .Event("OnActivate", &TForm::OnActivate)
        .Event("OnDeactivate", &TForm::OnDeactivate)
        .Event("OnCloseQuery", &TForm::OnCloseQuery)
        .Event("OnClose", &TForm::OnClose)
        .Event("OnDestroy", &TForm::OnDestroy);
    RegisterDataModuleClasses();
}

}  // namespace fw
