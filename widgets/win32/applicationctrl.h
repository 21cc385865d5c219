// TKVXApplicationCtrl: the design-time face of KVXApplication. Placed on the main form or a data
// module, it carries the suite's and the framework application's settings and copies them over when
// its owner has finished loading.
#pragma once

#include <string>

#include "framework/win32/application.h"
#include "widgets/kvxapplication.h"

namespace fw {
class TIcon;
}

namespace kvx::win32 {

class TKVXApplicationCtrl : public TKVXComponent {
public:
    // Takes the framework application's hint and format settings as its defaults and registers for
    // the edit-mode notification.
    explicit TKVXApplicationCtrl(TComponent* owner);

    std::string Company;
    TKVXApplicationOptions Options{TKVXApplicationOption::aoMouseCtrlActive, TKVXApplicationOption::aoLogAlwaysClear,
                                   TKVXApplicationOption::aoLogHeader, TKVXApplicationOption::aoLogNr};
    std::string Version;
    TKVXLogAction LogMaxAction = TKVXLogAction::laNone;
    int32_t LogMaxsize = -1;
    TKVXPathPrefix LogPrefix = TKVXPathPrefix::ppProgram;
    const std::string& LogName() const { return logName_; }
    // A non-blank name without extension gets ".LOG".
    void SetLogName(const std::string& value);
    uint8_t DlgEffectDelay = 3;
    std::string IniFile;
    TKVXPathPrefix IniPrefix = TKVXPathPrefix::ppWindows;
    std::string RegPath;
    TKVXRegRootKey RegRoot = TKVXRegRootKey::rpCurrentUser;
    TKVXIniTarget IniTarget = TKVXIniTarget::itAuto;
    fw::TColor HintColor;
    int HintPause;
    int HintHidePause;
    int HintShortPause;
    // Given to the framework application when not empty; the control keeps no icon after loading.
    fw::TIcon* Icon() const { return icon_; }
    std::string HelpFile;
    bool ShowHint;
    std::string Title;
    bool UpdateFormatSettings;

    TKVXExceptionEvent OnException;
    TKVXMaxLogSizeEvent OnMaxLogSize;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    fw::THelpEvent OnHelp;
    fw::TIdleEvent OnIdle;
    fw::TMessageEvent OnMessage;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnHint;
    TNotifyEvent OnRestore;
    TNotifyEvent OnEditModeChange;

    void Loaded() override;

protected:
    void BeforeDestruction() override;

private:
    void EditModeChanged(TObject* sender);
    void ApplicationException(TObject* sender, fw::Exception& e);

    std::string logName_;
    fw::TIcon* icon_;
};

}  // namespace kvx::win32
