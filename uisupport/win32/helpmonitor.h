// TqhlHelpMonitor: context help for a whole program without code in its forms.
//
// It shows status-bar hints for window parts, menu commands and standard buttons; runs a "What's
// This?" help mode (entered by the help-mode button, a menu item or Shift+F1) in which a click on a
// control, a window part or a menu command shows that object's help instead of acting; offers
// right-button "What's This?" popups; answers F1 for the focused control and the selected menu command;
// and serves the caption's help button of dialogs. Contexts come from fixed rules: a windowless
// control's Tag plus TagBase, HelpContext up the parent chain, and standard topics for standard
// buttons and window parts (helpvocab.h). Help is shown through the application's help command, one
// call per request, with the file swapped in for that call.
//
// One monitor exists per program. It chains itself into Application.OnHint and Application.OnMessage
// (calling the handlers it found), takes its place again from a one-second timer when another handler
// replaced it, and puts the found handlers back when it goes. It watches menus through a thread
// message-filter hook, the active form's messages through a window hook, and in help mode the windows
// that receive cursor and command messages through a thread call-window-procedure hook.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/application.h"
#include "framework/win32/controls.h"
#include "framework/win32/hooks.h"
#include "uisupport/helpvocab.h"
#include "uisupport/win32/helpbutton.h"

namespace fw {
class TForm;
class TMenuItem;
class TPopupMenu;
class TStatusBar;
}  // namespace fw

namespace uis {

class TKyvWindowHook;

// How help was asked for: a click in help mode, a right-button request, F1.
enum class TRequestType { rtHelpMode, rtRightButton, rtF1 };

using TOnControlHCEvent = fw::Event<void(fw::TObject* Sender, fw::TControl* Control, TRequestType RequestType,
                                         fw::TPoint MousePos, int& HelpContext, bool& ShowHelp)>;
using TOnMenuItemHCEvent = fw::Event<void(fw::TObject* Sender, fw::TMenuItem* MenuItem, int& HelpContext)>;
using TOnStdMenuItemHCEvent = fw::Event<void(fw::TObject* Sender, int ItemID, bool Enabled, int& HelpContext)>;
using TOnUnknownMenuItemHCEvent =
    fw::Event<void(fw::TObject* Sender, HWND Window, HMENU Menu, int ItemID, int MenuFlags, int& HelpContext)>;
using TOnStdTopicHCEvent = fw::Event<void(fw::TObject* Sender, int& HelpContext)>;
using TOnHelpModeClickEvent = fw::Event<void(fw::TObject* Sender, fw::TControl* Control, bool& CanClick)>;
using TOnHelpModeMouseMoveEvent = fw::Event<void(fw::TObject* Sender, fw::TControl* Control, bool& Break)>;

class TqhlHelpMonitor : public fw::TComponent {
public:
    explicit TqhlHelpMonitor(fw::TComponent* owner);

    enum class TMode { Idle, HelpMode, CaptionHelpMode, F1Mode, RightClickView };

    // ---- properties ----
    TControlFlags ControlFlags() const { return flags_; }
    void SetControlFlags(TControlFlags value) { flags_ = value; }
    const std::string& HelpCursor() const { return helpCursor_; }
    void SetHelpCursor(const std::string& value) { helpCursor_ = value; }
    fw::TControl* HelpModeButton() const { return helpModeButton_; }
    void SetHelpModeButton(fw::TControl* value);
    const std::string& HelpWindowName() const { return helpWindowName_; }
    void SetHelpWindowName(const std::string& value) { helpWindowName_ = value; }
    fw::TStatusBar* StatusBar() const { return statusBar_; }
    void SetStatusBar(fw::TStatusBar* value);
    TStdCaptions* StdCaptions() const { return captions_.get(); }
    void SetStdCaptions(TStdCaptions* value) { captions_->Assign(value); }
    TStdHelpTopics* StdHelpTopics() const { return topics_.get(); }
    void SetStdHelpTopics(TStdHelpTopics* value) { topics_->Assign(value); }
    int TagBase() const { return tagBase_; }
    void SetTagBase(int value) { tagBase_ = value; }
    fw::TMenuItem* WhatIsThisMItem() const { return whatIsThisItem_; }
    void SetWhatIsThisMItem(fw::TMenuItem* value);
    const TStdHints& StdHints() const { return hints_; }

    // ---- operations ----
    // The contents (or the finder) of the application's help file; a beep without one.
    void ShowContents();
    // Starts help mode on the active form; false when refused (a beep) or impossible.
    bool EnterHelpMode();
    void ExitHelpMode();
    TMode Mode() const { return mode_; }
    // The main form of help: the monitor's owner.
    fw::TForm* MainHelpForm() const { return mainForm_; }
    // The popup menu of "What's This?" requests.
    fw::TPopupMenu* WhatIsThisPopup() const { return popup_; }

    // ---- events ----
    TOnControlHCEvent OnControlHC;
    TOnMenuItemHCEvent OnMenuItemHC;
    TOnStdMenuItemHCEvent OnStdMenuItemHC;
    TOnUnknownMenuItemHCEvent OnUnknownMenuItemHC;
    TOnStdTopicHCEvent OnStdTopicHC;
    TOnHelpModeClickEvent OnHelpModeClick;
    TOnHelpModeMouseMoveEvent OnHelpModeMouseMove;
    fw::TNotifyEvent OnEnterHelpMode;
    fw::TNotifyEvent OnExitHelpMode;

    // The program's monitor, or null.
    static TqhlHelpMonitor* Instance();

protected:
    ~TqhlHelpMonitor() override;
    void Loaded() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    // The kind of menu being tracked.
    enum class TMenuKind { Unknown, Component, EditMenu, SystemMenu };
    // What runs once the synthesised Alt key has closed the menus.
    enum class TPending { None, ShowHelp, EnterHelpMode, ExitHelpMode };

    // ---- installation (helpmonitor.cpp) ----
    void Install();
    void Uninstall();
    void Rechain();
    void TakeDefaults();
    void UpdateStatusBarHandler();
    LRESULT WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HelpButtonClick(fw::TObject* sender);
    void WhatIsThisItemClick(fw::TObject* sender);
    void PopupItemClick(fw::TObject* sender);
    void CopyHintToStatusBar(fw::TObject* sender);
    void StdHelpButtonClick(fw::TObject* sender);

    // ---- showing help (helpmonitor.cpp) ----
    void ShowHelp();
    void CallHelp(const THelpCall& call);
    void SetPopupPos(POINT screen);
    void ShowWhatIsThis(POINT screen);
    void Beep() const;

    // ---- contexts and hints (helpmonitor_context.cpp) ----
    fw::TForm* ActiveHelpForm() const;
    bool IsHelpModeButton(const fw::TControl* control) const;
    bool OnMainHelpForm(const fw::TControl* control) const;
    // The framework control owning `window` (walking up to a window of ours) and the windowless child at
    // the client point `at` of that control.
    void ControlsAt(HWND window, POINT at, fw::TWinControl*& windowed, fw::TControl*& graphic) const;
    void ControlsAtScreen(POINT screen, fw::TWinControl*& windowed, fw::TControl*& graphic) const;
    // Settles the context of the control (kind_ and context_); false when OnControlHC refused help.
    bool ControlContext(fw::TWinControl* windowed, fw::TControl* graphic, TRequestType request, POINT screen);
    bool FormServesHelpButton(fw::TForm* form) const;
    void SetTopic(int number);
    void SetRealContext(int context);
    void WindowPartContext(HWND window, int hitTest, bool rightButton, POINT screen);
    // The hint for what is at `at` (the cursor when null), or for the selected menu command or mode.
    void UpdateHint(const POINT* at = nullptr);
    std::string ControlHint(fw::TWinControl* windowed, fw::TControl* graphic, POINT screen) const;
    std::string WindowPartHint(HWND window, int hitTest, POINT screen) const;
    std::string MenuHint() const;
    void OutputHint(const std::string& text);
    void DoHint(fw::TObject* sender);
    void FollowActiveForm();

    // ---- modes and input (helpmonitor_modes.cpp) ----
    void DoMessage(fw::TObject* sender, MSG& msg, bool& handled);
    bool HelpModeMessage(MSG& msg);
    bool CaptionModeMessage(MSG& msg);
    bool RightButtonMessage(MSG& msg);
    bool KeyMessage(MSG& msg);
    bool StartCaptionHelpMode(HWND window);
    void EndCaptionHelpMode();
    void WatchViewRightClick(MSG& msg, fw::TWinControl* view);
    void ViewMouseUp(fw::TObject* sender, fw::TMouseButton button, fw::TShiftState shift, int x, int y);
    bool IsViewWindow(HWND window) const;
    void FormMessage(fw::TObject* sender, fw::TMessage& msg, bool& handled);
    void FollowFormHook();
    void HelpF1(HWND window);
    void InstallCallWndHook();
    void RemoveCallWndHook();
    void SubclassForHelpMode(HWND window);
    void SubclassProc(fw::HookMessage& message);
    HCURSOR HelpModeCursor(fw::TForm* form) const;
    bool HelpModeEndsAfterHelp() const;
    static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

    // ---- menus (helpmonitor_menus.cpp) ----
    void MenuSelect(HWND owner, UINT item, UINT flags, HMENU menu);
    void ClearMenu();
    fw::TMenuItem* TrackedComponentItem() const;
    bool MenuFilter(MSG& msg);
    bool DialogFilter(MSG& msg);
    void CloseMenusThen(TPending action);
    void RunPending();
    bool TrackedCommandSelected() const;
    static LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam);

    // ---- published state ----
    TControlFlags flags_ = TControlFlags::FromBits(kDefaultControlFlags);
    std::string helpCursor_;
    fw::TControl* helpModeButton_ = nullptr;
    std::string helpWindowName_;
    fw::TStatusBar* statusBar_ = nullptr;
    std::unique_ptr<TStdCaptions> captions_;
    std::unique_ptr<TStdHelpTopics> topics_;
    int tagBase_ = 0;
    fw::TMenuItem* whatIsThisItem_ = nullptr;
    TStdHints hints_;

    // ---- program-wide state ----
    bool installed_ = false;
    fw::TForm* mainForm_ = nullptr;
    TMode mode_ = TMode::Idle;
    fw::TForm* dialog_ = nullptr;          // the form with the caption help icon of this help mode
    HWND captionWindow_ = nullptr;         // the window of caption help mode
    TContextKind kind_ = TContextKind::None;
    int context_ = 0;
    // The tracked menu.
    HWND menuOwner_ = nullptr;
    HMENU menu_ = nullptr;
    UINT menuItem_ = 0;
    UINT menuFlags_ = 0;
    TMenuKind menuKind_ = TMenuKind::Unknown;
    bool menuByMouse_ = false;
    bool menuShown_ = false;               // a menu came up since the right button went down
    TPending pending_ = TPending::None;
    // Chained handlers.
    fw::TNotifyEvent chainedHint_;
    fw::TMessageEvent chainedMessage_;
    std::string lastHint_;
    bool outputting_ = false;
    std::string helpButtonName_ = "qhlHelpButton";
    HWND window_ = nullptr;
    UINT helpMessage_ = 0;
    fw::TPopupMenu* popup_ = nullptr;
    HHOOK msgFilter_ = nullptr;
    HHOOK callWnd_ = nullptr;
    TKyvWindowHook* formHook_ = nullptr;
    fw::TForm* hookedForm_ = nullptr;
    fw::ScopedHook subclass_;
    HWND subclassed_ = nullptr;
    WNDPROC treeViewProc_ = nullptr;
    WNDPROC listViewProc_ = nullptr;
    WNDPROC editProc_ = nullptr;
    WNDPROC buttonProc_ = nullptr;
    WNDPROC mdiClientProc_ = nullptr;
    // Help mode.
    int savedHintPause_ = 0;
    int savedScreenCursor_ = 0;
    HCURSOR helpModeCursor_ = nullptr;
    fw::TControl* pressed_ = nullptr;      // the control a swallowed press in help mode was on
    // Right-button requests on tree and list views.
    fw::TWinControl* rightView_ = nullptr;
    bool rightClickSeen_ = false;
    fw::TMouseEvent savedViewMouseUp_;
    TContextKind popupKind_ = TContextKind::None;  // the context the "What's This?" popup shows
    int popupContext_ = 0;
    // Standard Help buttons given a click handler by cfAutoHelpButton.
    std::vector<fw::TControl*> autoHelpButtons_;
};

void RegisterHelpMonitorClasses();

}  // namespace uis
