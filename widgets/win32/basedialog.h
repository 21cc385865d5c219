// TKVXBaseDialog: what the suite's ready-made dialogs share (caption, an extra button, hints,
// placement, display effect, gradient caption and background picture) and ShowDialog, which applies
// those settings to a freshly built form and shows it modally. Each Execute of a descendant builds
// its form from scratch and frees it again, so no window exists between calls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/lists.h"
#include "framework/win32/forms.h"
#include "widgets/drawtypes.h"
#include "widgets/win32/inicomponent.h"

namespace fw {
class TButton;
}

namespace kvx::win32 {

class TKVXBack;
class TKVXFormStyler;

class TKVXBaseDialog : public TKVXContainerComponent {
public:
    explicit TKVXBaseDialog(TComponent* owner);
    ~TKVXBaseDialog() override;

    // False here; the dialogs show themselves.
    virtual bool Execute() { return false; }

    std::string CaptionTitle;
    std::string CustomButton;
    TKVXDlgEffect Effect = TKVXDlgEffect::deNone;
    bool ShowHints = true;
    bool CaptionFill = false;
    uint8_t Colors = 32;
    TKVXDlgPosition Position = TKVXDlgPosition::bpCenter;
    TKVXDlgPosRel RelatePos = TKVXDlgPosRel::brScreen;
    fw::TNotifyEvent OnCustomize;
    fw::TNotifyEvent OnCustomClick;

    fw::TStrings* Hints() const { return hints_.get(); }
    void SetHints(fw::TStrings* value) { hints_->Assign(value); }

protected:
    // Applies the shared settings to Form and shows it modally; its modal result. With a Control the
    // form is placed by that control's screen rectangle instead of RelatePos.
    int ShowDialog(fw::TForm* form, fw::TControl* control, const std::string& defaultCaption, TKVXBack* back,
                   TKVXFormStyler* styler, fw::TButton* extraButton);
    // Hint Index goes to Control when hints are shown and the list has that line.
    void ApplyHint(int index, fw::TControl* control);
    bool HintsWanted() const { return ShowHints && hints_->Count() > 0; }

private:
    std::unique_ptr<fw::TStringList> hints_;
};

// The rectangle of a control on the screen (its window's, or its bounds moved by its parent's origin).
TRect KVXControlScreenRect(fw::TControl* control);

// The dialogs' forms are built in code: a dialog-framed form in "MS Sans Serif" of FontHeight at 96
// pixels per inch, placed by the dialog itself.
fw::TForm* KVXNewDialogForm(TComponent* owner, const char* name, int fontHeight);
// A control named Name on the form, owned by it.
template <class T>
T* KVXAddControl(fw::TForm* form, const char* name) {
    T* control = fw::Make<T>(form);
    control->SetName(name);
    control->SetParent(form);
    return control;
}
// The form's caption styler and background fill, both disabled until ShowDialog decides.
void KVXAddDialogLook(fw::TForm* form, TKVXFormStyler*& styler, TKVXBack*& back);

}  // namespace kvx::win32
