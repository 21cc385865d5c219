// TKVXForm: watches the form that owns it. It keeps the form's placement (and, if asked, its colour
// and font) in a settings store and restores it each time the form is shown, holds the form inside
// tracking and maximized limits given in pixels or as fractions of the screen, turns window messages
// into events, takes files dropped from the shell, can fit the controls back to the resolution they
// were designed at and can play an opening effect.
//
// The show and destroy hooks are installed when the component is read from the form text; a
// component made in code must be followed by a form text read (or its form restores nothing).
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "framework/win32/forms.h"
#include "widgets/controltypes.h"
#include "widgets/drawtypes.h"
#include "widgets/formplacement.h"
#include "widgets/inictrl.h"
#include "widgets/win32/fmdrop.h"
#include "widgets/win32/wndproccomponent.h"

namespace kvx::win32 {

using TKVXStandardEvent = fw::Event<void(TObject* Sender, bool& Cancel)>;
using TKVXSendIntegerEvent = fw::Event<void(TObject* Sender, int Value)>;
using TKVXSendStringEvent = fw::Event<void(TObject* Sender, const std::string& Section)>;
using TKVXSizingChangeEvent = fw::Event<void(TObject* Sender, uint16_t xsize, uint16_t ysize, uint16_t flag)>;
using TKVXMaxInfoEvent = fw::Event<void(TObject* Sender, int& xpos, int& ypos, int& MaxWidth, int& MaxHeight)>;
using TKVXMovingEvent = fw::Event<void(TObject* Sender, int x, int y, bool& Cancel)>;
using TKVXTrackInfoEvent = fw::Event<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;

class TKVXForm : public TKVXWndProcComponent {
public:
    // IniKey is the owner's class name without its first letter (TMainForm gives MainForm), "Form"
    // for an owner that is no form.
    explicit TKVXForm(TComponent* owner);

    TKVXCharCase CharCase = TKVXCharCase::ccNormal;
    TKVXIniCtrl* IniLink() const { return iniLink_; }
    void SetIniLink(TKVXIniCtrl* value);
    TKVXIniUse IniUse = TKVXIniUse::ioNone;
    std::string Section = "Common";
    std::string IniKey;
    TKVXFormIniSaveOptions IniSaveOptions{TKVXFormIniSaveOption::soPos, TKVXFormIniSaveOption::soSize,
                                          TKVXFormIniSaveOption::soState};
    bool AcceptFiles() const { return acceptFiles_; }
    void SetAcceptFiles(bool value);
    TKVXDlgEffect Effect = TKVXDlgEffect::deNone;
    TKVXFormOptions Options{TKVXFormOption::foAutoShow};
    int DesignPPI = 96;

    // The limits by TKVXFormLimit index, as written (pixels, or -1 .. -100 for a screen fraction),
    // and in pixels.
    int Limit(int index) const { return limits_.Written(index); }
    void SetLimit(int index, int value);
    int EffectiveLimit(int index) const { return limits_.Effective(index); }
    void ComputeLimits();

    // The store used (none for ioNone, or ioUseLink without a link).
    TKVXIniCtrl* Store() const;
    // "200,flags,showCmd,left,top,right,bottom" of the window now.
    std::string PlacementText();
    // A stored line applied to the window; without a valid one the form is centred (foAutoCenter)
    // and OnNoRestoreData runs.
    void ApplyPlacement(const std::string& text);
    void LoadSettings();
    void SaveSettings();
    // Fits the form's controls back to DesignPPI (at most once).
    void AdaptResolution();

    TNotifyEvent OnAPMResume;
    TNotifyEvent OnAPMCriticalResume;
    TKVXStandardEvent OnAPMSuspendRequest;
    TKVXSendIntegerEvent OnCompacting;
    TKVXSendStringEvent OnDevModeChange;
    TKVXSizingChangeEvent OnDisplayChange;
    TKVXFMDragDropEvent OnFMDragDrop;
    TNotifyEvent OnFontChange;
    TKVXMaxInfoEvent OnMaximizeInfo;
    TNotifyEvent OnMove;
    TKVXMovingEvent OnMoving;
    TNotifyEvent OnPaintIcon;
    TKVXSizingChangeEvent OnSize;
    TKVXSendIntegerEvent OnSpoolerStatus;
    TNotifyEvent OnSysColorChange;
    TKVXTrackInfoEvent OnTrackInfo;
    TNotifyEvent OnTimeChange;
    TKVXSendStringEvent OnIniChange;
    TNotifyEvent OnNoRestoreData;

    void ReadState(fw::TReader& reader) override;


protected:
    void EnableHook() override;
    void DisableHook() override;
    void HookWndProc(fw::HookMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    fw::TForm* Form() const;
    void FormShowHook(TObject* sender);
    void FormDestroyHook(TObject* sender);
    void FitToLimits(fw::TForm* form);
    void MinMaxInfo(MINMAXINFO& info);
    void DroppedFiles(HDROP drop);
    void Power(fw::HookMessage& message);

    TKVXIniCtrl* iniLink_ = nullptr;
    bool acceptFiles_ = false;
    TKVXFormLimits limits_;
    bool adapted_ = false;
    bool shownOnce_ = false;
    TNotifyEvent savedShow_;
    TNotifyEvent savedDestroy_;
};

// Registers TKVXForm and its enumerations for form text. Harmless to repeat.
void KVXRegisterFormPlacementClasses();

}  // namespace kvx::win32
