// The monitor's installation, properties, chaining and help calls.
#include "uisupport/win32/helpmonitor.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/hints.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/utilwindow.h"
#include "uisupport/win32/helpmonitor_private.h"
#include "uisupport/win32/kyvhook.h"

namespace uis {

namespace {

TqhlHelpMonitor* g_monitor = nullptr;

constexpr UINT_PTR kRechainTimer = 1;

// The owner of the program's first monitor; a second one is refused.
fw::TComponent* SingleMonitorOwner(fw::TComponent* owner) {
    if (g_monitor) throw EHADisignTimeError("Only one instance of the qhlHelpMonitor is allowed for an entire project");
    return owner;
}

// The application's help file and the program's folder, for the standard-topics file.
void HelpEnvironment(std::string& appHelpFile, std::string& programFolder) {
    appHelpFile = fw::Application ? fw::Application->HelpFile() : std::string();
    programFolder = fw::Application ? fw::ExtractFilePath(fw::Application->ExeName()) : std::string();
}

WNDPROC SystemClassProc(const char* name) {
    WNDCLASSA wc{};
    return GetClassInfoA(nullptr, name, &wc) ? wc.lpfnWndProc : nullptr;
}

// The application's help file, swapped for one call and put back whatever happens.
class HelpFileSwap {
public:
    explicit HelpFileSwap(const std::string& file) : saved_(fw::Application->HelpFile()) {
        fw::Application->SetHelpFile(file);
    }
    ~HelpFileSwap() { fw::Application->SetHelpFile(saved_); }
    HelpFileSwap(const HelpFileSwap&) = delete;
    HelpFileSwap& operator=(const HelpFileSwap&) = delete;

private:
    std::string saved_;
};

}  // namespace

// ---- creation and installation -------------------------------------------------------------------

TqhlHelpMonitor::TqhlHelpMonitor(fw::TComponent* owner)
    : TComponent(SingleMonitorOwner(owner)), captions_(new TStdCaptions), topics_(new TStdHelpTopics) {
    g_monitor = this;
    Install();
    TakeDefaults();
}

TqhlHelpMonitor::~TqhlHelpMonitor() {
    if (g_monitor == this) g_monitor = nullptr;
}

TqhlHelpMonitor* TqhlHelpMonitor::Instance() { return g_monitor; }

void TqhlHelpMonitor::Install() {
    mainForm_ = dynamic_cast<fw::TForm*>(Owner());
    TStdHelpTopics::SetEnvironment(&HelpEnvironment);
    topics_->Resolve();

    popup_ = fw::Make<fw::TPopupMenu>(this);
    auto* item = fw::Make<fw::TMenuItem>(popup_);
    item->SetHelpContext(topic::WhatIsThisPopup);
    item->OnClick = fw::TNotifyEvent(this, &TqhlHelpMonitor::PopupItemClick);
    popup_->Items()->Add(item);

    formHook_ = fw::Make<TKyvWindowHook>(this);
    formHook_->BeforeMessage = THookMessageEvent(this, &TqhlHelpMonitor::FormMessage);

    helpMessage_ = RegisterWindowMessageA("Help Monitor");
    window_ = fw::AllocateHWnd([this](HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        return WindowProc(wnd, msg, wParam, lParam);
    });
    SetTimer(window_, kRechainTimer, 1000, nullptr);

    if (fw::Application) {
        chainedHint_ = fw::Application->OnHint;
        fw::Application->OnHint = fw::TNotifyEvent(this, &TqhlHelpMonitor::DoHint);
        chainedMessage_ = fw::Application->OnMessage;
        fw::Application->OnMessage = fw::TMessageEvent(this, &TqhlHelpMonitor::DoMessage);
    }
    msgFilter_ = SetWindowsHookExA(WH_MSGFILTER, &TqhlHelpMonitor::MsgFilterHook, nullptr, GetCurrentThreadId());

    editProc_ = SystemClassProc("Edit");
    buttonProc_ = SystemClassProc("Button");
    treeViewProc_ = SystemClassProc("SysTreeView32");
    listViewProc_ = SystemClassProc("SysListView32");
    mdiClientProc_ = SystemClassProc("MDICLIENT");
    installed_ = true;
}

void TqhlHelpMonitor::Uninstall() {
    if (!installed_) return;
    installed_ = false;
    if (mode_ == TMode::HelpMode) ExitHelpMode();
    if (mode_ == TMode::CaptionHelpMode) EndCaptionHelpMode();
    mode_ = TMode::Idle;
    RemoveCallWndHook();
    subclass_.Reset();
    if (msgFilter_) UnhookWindowsHookEx(msgFilter_);
    msgFilter_ = nullptr;
    if (window_) {
        KillTimer(window_, kRechainTimer);
        fw::DeallocateHWnd(window_);
        window_ = nullptr;
    }
    if (fw::Application) {
        // The handlers found at creation go back; the status-bar copier was ours and goes with us.
        const fw::TNotifyEvent copier(this, &TqhlHelpMonitor::CopyHintToStatusBar);
        if (fw::Application->OnHint == fw::TNotifyEvent(this, &TqhlHelpMonitor::DoHint))
            fw::Application->OnHint = chainedHint_ == copier ? fw::TNotifyEvent() : chainedHint_;
        if (fw::Application->OnMessage == fw::TMessageEvent(this, &TqhlHelpMonitor::DoMessage))
            fw::Application->OnMessage = chainedMessage_;
    }
    TStdHelpTopics::SetEnvironment(nullptr);
}

void TqhlHelpMonitor::BeforeDestruction() {
    Uninstall();
    if (helpModeButton_ && helpModeButton_->OnClick == fw::TNotifyEvent(this, &TqhlHelpMonitor::HelpButtonClick))
        helpModeButton_->OnClick = nullptr;
    SetWhatIsThisMItem(nullptr);
    for (fw::TControl* button : autoHelpButtons_) {
        button->RemoveFreeNotification(this);
        if (button->OnClick == fw::TNotifyEvent(this, &TqhlHelpMonitor::StdHelpButtonClick)) button->OnClick = nullptr;
    }
    autoHelpButtons_.clear();
    TComponent::BeforeDestruction();
}

// Outside help mode the monitor takes its place again in front of a handler that replaced it.
void TqhlHelpMonitor::Rechain() {
    if (!fw::Application) return;
    const fw::TNotifyEvent hint(this, &TqhlHelpMonitor::DoHint);
    if (fw::Application->OnHint != hint) {
        chainedHint_ = fw::Application->OnHint;
        fw::Application->OnHint = hint;
    }
    const fw::TMessageEvent message(this, &TqhlHelpMonitor::DoMessage);
    if (fw::Application->OnMessage != message) {
        chainedMessage_ = fw::Application->OnMessage;
        fw::Application->OnMessage = message;
    }
}

LRESULT TqhlHelpMonitor::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kRechainTimer) {
        if (mode_ != TMode::HelpMode) Rechain();
        return 0;
    }
    if (msg == WM_QUERYENDSESSION) return 1;
    if (msg == helpMessage_ && helpMessage_) {
        switch (static_cast<helpmsg::Action>(wParam)) {
            case helpmsg::Action::FollowActiveForm: FollowActiveForm(); break;
            case helpmsg::Action::ShowHelp: ShowHelp(); break;
            case helpmsg::Action::F1Wait:
                PostMessageA(window_, helpMessage_, static_cast<WPARAM>(helpmsg::Action::F1Check), 0);
                break;
            case helpmsg::Action::F1Check:
                if (mode_ == TMode::F1Mode) {
                    mode_ = TMode::Idle;
                    HelpF1(GetFocus());
                }
                break;
        }
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// The first help button and status bar of the owner, when none is set.
void TqhlHelpMonitor::TakeDefaults() {
    fw::TComponent* owner = Owner();
    if (!owner) return;
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        fw::TComponent* c = owner->Components(i);
        if (!helpModeButton_) {
            if (auto* button = dynamic_cast<TqhlHelpButton*>(c)) SetHelpModeButton(button);
        }
        if (!statusBar_) {
            if (auto* bar = dynamic_cast<fw::TStatusBar*>(c)) SetStatusBar(bar);
        }
    }
}

void TqhlHelpMonitor::Loaded() {
    TComponent::Loaded();
    TakeDefaults();
    if (helpModeButton_) {
        if (!helpModeButton_->Name().empty()) helpButtonName_ = helpModeButton_->Name();
        helpModeButton_->OnClick = fw::TNotifyEvent(this, &TqhlHelpMonitor::HelpButtonClick);
    }
    topics_->Resolve();
    UpdateStatusBarHandler();
}

void TqhlHelpMonitor::Notification(fw::TComponent* component, fw::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == fw::opInsert) {
        if (component->Owner() != Owner() || InState(fw::csLoading)) return;
        if (!helpModeButton_) {
            if (auto* button = dynamic_cast<TqhlHelpButton*>(component)) SetHelpModeButton(button);
        }
        if (!statusBar_) {
            if (auto* bar = dynamic_cast<fw::TStatusBar*>(component)) SetStatusBar(bar);
        }
        return;
    }
    if (component == helpModeButton_) helpModeButton_ = nullptr;
    if (component == statusBar_) {
        statusBar_ = nullptr;
        if (chainedHint_ == fw::TNotifyEvent(this, &TqhlHelpMonitor::CopyHintToStatusBar)) chainedHint_.Reset();
    }
    if (component == whatIsThisItem_) whatIsThisItem_ = nullptr;
    if (component == dialog_) dialog_ = nullptr;
    if (component == pressed_) pressed_ = nullptr;
    if (component == rightView_) rightView_ = nullptr;
    if (component == hookedForm_) hookedForm_ = nullptr;
    if (component == popup_) popup_ = nullptr;
    if (component == formHook_) formHook_ = nullptr;
    if (component == mainForm_) mainForm_ = nullptr;
    autoHelpButtons_.erase(std::remove(autoHelpButtons_.begin(), autoHelpButtons_.end(), component),
                           autoHelpButtons_.end());
}

// ---- properties ----------------------------------------------------------------------------------

void TqhlHelpMonitor::SetHelpModeButton(fw::TControl* value) {
    if (value == helpModeButton_) return;
    const fw::TNotifyEvent click(this, &TqhlHelpMonitor::HelpButtonClick);
    if (helpModeButton_) {
        helpModeButton_->RemoveFreeNotification(this);
        if (helpModeButton_->OnClick == click) helpModeButton_->OnClick = nullptr;
    }
    helpModeButton_ = value;
    if (!value) {
        helpButtonName_ = "qhlHelpButton";
        return;
    }
    value->FreeNotification(this);
    if (InState(fw::csLoading)) return;
    if (!value->Name().empty()) helpButtonName_ = value->Name();
    value->OnClick = click;
    value->SetHint(hints_.Text(OnMainHelpForm(value) ? hint::HelpButtonMain : hint::HelpButtonOther));
}

void TqhlHelpMonitor::SetStatusBar(fw::TStatusBar* value) {
    if (value == statusBar_) return;
    if (statusBar_) statusBar_->RemoveFreeNotification(this);
    statusBar_ = value;
    if (statusBar_) statusBar_->FreeNotification(this);
    UpdateStatusBarHandler();
}

// A status bar named "qhlStatusBar" with a simple panel shows the hints itself when the program chained
// no handler of its own.
void TqhlHelpMonitor::UpdateStatusBarHandler() {
    if (chainedHint_ || !statusBar_ || InState(fw::csLoading)) return;
    if (fw::SameName(statusBar_->Name(), "qhlStatusBar") && statusBar_->SimplePanel())
        chainedHint_ = fw::TNotifyEvent(this, &TqhlHelpMonitor::CopyHintToStatusBar);
}

void TqhlHelpMonitor::CopyHintToStatusBar(fw::TObject*) {
    if (statusBar_ && fw::Application) statusBar_->SetSimpleText(fw::Application->Hint());
}

void TqhlHelpMonitor::SetWhatIsThisMItem(fw::TMenuItem* value) {
    if (value == whatIsThisItem_) return;
    if (whatIsThisItem_) {
        whatIsThisItem_->RemoveFreeNotification(this);
        whatIsThisItem_->SetShortCut(0);
        whatIsThisItem_->OnClick = nullptr;
        whatIsThisItem_->SetHint("");
        whatIsThisItem_->SetHelpContext(0);
    }
    whatIsThisItem_ = value;
    if (!value) return;
    value->FreeNotification(this);
    if (InState(fw::csLoading) || InState(fw::csDestroying)) return;
    value->SetShortCut(static_cast<fw::TShortCut>(fw::scShift | VK_F1));
    value->OnClick = fw::TNotifyEvent(this, &TqhlHelpMonitor::WhatIsThisItemClick);
    value->SetHint(hints_.Text(hint::WhatIsThisItem));
    value->SetHelpContext(topic::WhatIsThisItem);
}

// ---- handlers of buttons and items ---------------------------------------------------------------

void TqhlHelpMonitor::HelpButtonClick(fw::TObject*) {
    if (mode_ == TMode::HelpMode)
        ExitHelpMode();
    else
        EnterHelpMode();
}

void TqhlHelpMonitor::WhatIsThisItemClick(fw::TObject*) {
    if (mode_ == TMode::HelpMode)
        ExitHelpMode();
    else
        EnterHelpMode();
}

// The "What's This?" popup's item shows the context remembered when the popup opened.
void TqhlHelpMonitor::PopupItemClick(fw::TObject*) {
    kind_ = popupKind_;
    context_ = popupContext_;
    ShowHelp();
}

// A standard Help button without a handler of its own shows its form's context.
void TqhlHelpMonitor::StdHelpButtonClick(fw::TObject* sender) {
    auto* control = dynamic_cast<fw::TControl*>(sender);
    fw::TWinControl* form = control ? fw::GetParentForm(control) : nullptr;
    SetRealContext(form ? form->HelpContext() : 0);
    ShowHelp();
}

// ---- showing help --------------------------------------------------------------------------------

void TqhlHelpMonitor::ShowContents() {
    if (!fw::Application) return;
    const auto call = PlanContentsCall(fw::Application->HelpFile(), helpWindowName_, flags_);
    if (!call) {
        Beep();
        return;
    }
    CallHelp(*call);
}

void TqhlHelpMonitor::ShowHelp() {
    const bool f1 = mode_ == TMode::F1Mode;
    if (mode_ == TMode::CaptionHelpMode) EndCaptionHelpMode();
    if (mode_ == TMode::F1Mode) mode_ = TMode::Idle;
    if (kind_ == TContextKind::None && flags_.Contains(TControlFlag::cfBeepIfNoHelp) && !f1) Beep();
    if (mode_ == TMode::HelpMode && HelpModeEndsAfterHelp()) ExitHelpMode();
    if (!fw::Application) return;

    THelpRequest request;
    request.kind = kind_;
    request.context = context_;
    if (kind_ == TContextKind::None || kind_ == TContextKind::StdTopic) {
        int number = kind_ == TContextKind::None ? 0 : context_;
        if (OnStdTopicHC) OnStdTopicHC(this, number);
        request.kind = TContextKind::StdTopic;
        request.context = number;
    }
    request.flags = flags_;
    fw::TForm* form = ActiveHelpForm();
    request.formHelpFile = form ? form->HelpFile() : std::string();
    request.appHelpFile = fw::Application->HelpFile();
    request.windowName = helpWindowName_;
    request.stdTopicsFile = topics_->Resolve();
    request.offset = topics_->Offset();
    request.interval = topics_->Interval();
    if (const auto call = PlanHelpCall(request)) CallHelp(*call);
}

void TqhlHelpMonitor::CallHelp(const THelpCall& call) {
    HelpFileSwap swap(call.file);
    fw::Application->HelpCommand(call.command, call.data);
}

// The next popup shows at this screen point.
void TqhlHelpMonitor::SetPopupPos(POINT screen) {
    if (!fw::Application || fw::Application->HelpFile().empty()) return;
    fw::Application->HelpCommand(helpcmd::SetPopupPos,
                                 static_cast<uintptr_t>(static_cast<DWORD>(MAKELONG(screen.x, screen.y))));
}

// The "What's This?" popup at the point (with cfPopupWhatIsThis), or the help at once.
void TqhlHelpMonitor::ShowWhatIsThis(POINT screen) {
    if (!flags_.Contains(TControlFlag::cfPopupWhatIsThis) || !popup_) {
        ShowHelp();
        return;
    }
    popupKind_ = kind_;
    popupContext_ = context_;
    popup_->Items()->Items(0)->SetCaption(captions_->WhatIsThisCmd());
    OutputHint(hints_.Text(hint::WhatIsThisOffered));
    popup_->Popup(screen.x, screen.y);
    OutputHint("");
}

void TqhlHelpMonitor::Beep() const { MessageBeep(MB_OK); }

void TqhlHelpMonitor::SetTopic(int number) {
    kind_ = number ? TContextKind::StdTopic : TContextKind::None;
    context_ = number;
}

void TqhlHelpMonitor::SetRealContext(int context) {
    kind_ = context ? TContextKind::Real : TContextKind::None;
    context_ = context;
}

bool TqhlHelpMonitor::HelpModeEndsAfterHelp() const {
    if (!flags_.Contains(TControlFlag::cfNonStopHelp)) return true;
    return dialog_ && dialog_ != mainForm_ && !flags_.Contains(TControlFlag::cfDlgAllowNonStop);
}

// ---- registration --------------------------------------------------------------------------------

void RegisterHelpMonitorClasses() {
    RegisterHelpVocabClasses();
    RegisterHelpButtonClasses();
    RegisterKyvHookClasses();
    fw::RegisterEnum<TRequestType>({"rtHelpMode", "rtRightButton", "rtF1"}, "TRequestType");
    fw::Class<TqhlHelpMonitor, fw::TComponent>("TqhlHelpMonitor")
        .Prop("ControlFlags", &TqhlHelpMonitor::ControlFlags, &TqhlHelpMonitor::SetControlFlags)
        .Prop("HelpCursor", &TqhlHelpMonitor::HelpCursor, &TqhlHelpMonitor::SetHelpCursor)
        .Prop("HelpModeButton", &TqhlHelpMonitor::HelpModeButton, &TqhlHelpMonitor::SetHelpModeButton)
        .Prop("HelpWindowName", &TqhlHelpMonitor::HelpWindowName, &TqhlHelpMonitor::SetHelpWindowName)
        .Prop("StatusBar", &TqhlHelpMonitor::StatusBar, &TqhlHelpMonitor::SetStatusBar)
        .Prop("StdCaptions", &TqhlHelpMonitor::StdCaptions, &TqhlHelpMonitor::SetStdCaptions)
        .Prop("StdHelpTopics", &TqhlHelpMonitor::StdHelpTopics, &TqhlHelpMonitor::SetStdHelpTopics)
        .Prop("TagBase", &TqhlHelpMonitor::TagBase, &TqhlHelpMonitor::SetTagBase)
        .Prop("WhatIsThisMItem", &TqhlHelpMonitor::WhatIsThisMItem, &TqhlHelpMonitor::SetWhatIsThisMItem)
        .Prop("Tag", &TqhlHelpMonitor::Tag)
        .Event("OnControlHC", &TqhlHelpMonitor::OnControlHC)
        .Event("OnMenuItemHC", &TqhlHelpMonitor::OnMenuItemHC)
        .Event("OnStdMenuItemHC", &TqhlHelpMonitor::OnStdMenuItemHC)
        .Event("OnUnknownMenuItemHC", &TqhlHelpMonitor::OnUnknownMenuItemHC)
        .Event("OnStdTopicHC", &TqhlHelpMonitor::OnStdTopicHC)
        .Event("OnHelpModeClick", &TqhlHelpMonitor::OnHelpModeClick)
        .Event("OnHelpModeMouseMove", &TqhlHelpMonitor::OnHelpModeMouseMove)
        .Event("OnEnterHelpMode", &TqhlHelpMonitor::OnEnterHelpMode)
        .Event("OnExitHelpMode", &TqhlHelpMonitor::OnExitHelpMode);
}

}  // namespace uis
