#include "widgets/win32/applicationctrl.h"

#include "framework/core/sysutils.h"
#include "framework/win32/graphics.h"

namespace kvx::win32 {

TKVXApplicationCtrl::TKVXApplicationCtrl(TComponent* owner) : TKVXComponent(owner), icon_(new fw::TIcon()) {
    fw::TApplication* app = fw::Application;
    HintColor = app ? app->HintColor() : fw::clInfoBk;
    HintPause = app ? app->HintPause() : 500;
    HintHidePause = app ? app->HintHidePause() : 2500;
    HintShortPause = app ? app->HintShortPause() : 50;
    ShowHint = app ? app->ShowHint() : true;
    UpdateFormatSettings = app ? app->UpdateFormatSettings() : true;
    if (KVXApplication) KVXApplication->OnEditModeChange.Bind(this, &TKVXApplicationCtrl::EditModeChanged);
}

void TKVXApplicationCtrl::BeforeDestruction() {
    if (KVXApplication && KVXApplication->OnEditModeChange.Data() == this) KVXApplication->OnEditModeChange.Reset();
    if (fw::Application && fw::Application->OnException.Data() == this) fw::Application->OnException.Reset();
    fw::FreeAndNil(icon_);
    TKVXComponent::BeforeDestruction();
}

void TKVXApplicationCtrl::SetLogName(const std::string& value) {
    logName_ = !KVXIsBlank(value) && fw::ExtractFileExt(value).empty() ? value + ".LOG" : value;
}

void TKVXApplicationCtrl::EditModeChanged(TObject*) {
    if (OnEditModeChange) OnEditModeChange(this);
}

void TKVXApplicationCtrl::ApplicationException(TObject* sender, fw::Exception& e) {
    if (!KVXApplication) {
        fw::Application->ShowException(e);
        return;
    }
    KVXApplication->HandleException(sender, e, [&] { fw::Application->ShowException(e); });
}

void TKVXApplicationCtrl::Loaded() {
    TKVXComponent::Loaded();
    TKVXApplication* app = KVXApplication;
    if (!app) return;
    app->Options = Options;
    app->Company = Company;
    app->Version = Version;
    app->DlgEffectDelay = DlgEffectDelay;
    app->SetLogPrefix(LogPrefix);
    app->SetLogName(logName_);
    app->LogMaxsize = LogMaxsize;
    app->LogMaxAction = LogMaxAction;

    TKVXIniCtrl* ini = app->IniCtrl();
    ini->SetIniFile(IniFile);
    ini->RegPath = RegPath;
    ini->IniPrefix = IniPrefix;
    ini->RegRoot = RegRoot;
    ini->SetTarget(IniTarget);

    fw::TApplication* fwApp = fw::Application;
    if (!fwApp) return;
    if (Options.Contains(TKVXApplicationOption::aoLogException) || OnException)
        fwApp->OnException.Bind(this, &TKVXApplicationCtrl::ApplicationException);
    if (OnException) app->OnException = OnException;
    if (OnMaxLogSize) app->OnMaxLogSize = OnMaxLogSize;

    if (!HelpFile.empty() && fw::FileExists(HelpFile))
        fwApp->SetHelpFile(HelpFile);
    else
        fwApp->SetHelpFile(fw::ExtractFileName(fwApp->HelpFile()));
    if (!icon_->Empty()) fwApp->SetIcon(CopyIcon(icon_->Handle()));
    fw::FreeAndNil(icon_);
    icon_ = new fw::TIcon();  // the control keeps no icon after loading

    fwApp->SetShowHint(ShowHint);
    if (!Title.empty()) fwApp->SetTitle(Title);
    fwApp->SetHintPause(HintPause);
    fwApp->SetHintColor(HintColor);
    fwApp->SetHintShortPause(HintShortPause);
    fwApp->SetHintHidePause(HintHidePause);
    fwApp->SetUpdateFormatSettings(UpdateFormatSettings);
    if (OnHint) fwApp->OnHint = OnHint;
    if (OnActivate) fwApp->OnActivate = OnActivate;
    if (OnDeactivate) fwApp->OnDeactivate = OnDeactivate;
    if (OnMessage) fwApp->OnMessage = OnMessage;
    if (OnHelp) fwApp->OnHelp = OnHelp;
    if (OnIdle) fwApp->OnIdle = OnIdle;
    if (OnRestore) fwApp->OnRestore = OnRestore;
    if (OnMinimize) fwApp->OnMinimize = OnMinimize;
}

}  // namespace kvx::win32
