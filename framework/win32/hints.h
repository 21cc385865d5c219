// Hints: a control's Hint is "short|long". The short part shows in the hint window when the mouse
// rests on the control for HintPause ms (HintShortPause when moving from one hint to the next) and
// hides after HintHidePause ms; the long part becomes Application.Hint as the mouse enters the control
// (OnHint: a status bar shows it). A control without a hint of its own shows its parent's. Hints show
// only where ShowHint holds (per control, or inherited with ParentShowHint) and Application.ShowHint.
#pragma once

#include <string>

#include "framework/win32/application.h"
#include "framework/win32/controls.h"

namespace fw {

// The parts of "short|long"; a hint without '|' is both.
std::string GetShortHint(const std::string& hint);
std::string GetLongHint(const std::string& hint);

// The hint window: a topmost popup without activation, class "THintWindow".
class THintWindow : public TCustomControl {
public:
    explicit THintWindow(TComponent* owner);
    // Shows `text` with the window's top-left at the screen point.
    virtual void ActivateHint(TPoint screenPos, const std::string& text);
    // The size the text needs, at most maxWidth wide.
    virtual TRect CalcHintRect(int maxWidth, const std::string& text);
    void ReleaseHandle();
    bool Showing() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

// The window showing the current hint (null while none shows).
THintWindow* ActiveHintWindow();

// The loops pass mouse and key messages here (through the keyboard preprocessing): the hint follows
// the control under the mouse, and a press hides it.
void HintTrackMessage(const MSG& msg);

// Installs the hint handlers on the application (HideHint, CancelHint).
void InstallHints();
void RegisterHintClasses();

}  // namespace fw
