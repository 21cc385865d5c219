// The state machine of the suite's window-less buttons, without a window: hover, press and release,
// groups of latching buttons, auto-repeat, the drop-down menu, enabling and the accelerator. The button
// control feeds it the mouse and the messages; what the machine needs from the outside (painting,
// timers, clicks, the pointer, the menu) goes through TKVXButtonHost.
//
// States (P Pressed, M AllowMouseOver, G GroupIndex set):
//   bstUp  --mouse enters, M-->  bstHot  --leaves, or the hover timer finds it outside--> previous state
//   bstUp/bstHot  --press, not P-->  bstDown  --release inside, no G--> bstHot (M) or bstUp; click
//   bstDown  --release inside, G--> P toggles: bstLatched or bstUp; click
//   bstLatched  --release inside, G, not AllowAllUp--> unchanged, no click
//   any  --release outside--> bstUp, or bstLatched when P
//   any  --drop-down starts / ends--> bstDropped / bstHot
//   any  --disabled / enabled--> bstDisabled or bstLatchedDisabled / bstUp or bstLatched
//   bstLatched  --another member of the group becomes pressed--> bstUp
//
// The mouse-inside flag raises OnMouseEnter when it is set and OnMouseExit when it is cleared, once
// each; the hover timer (100 ms while hot) stands in for a leave message that never came.
#pragma once

#include <cstdint>

#include "widgets/controltypes.h"

namespace kvx {

class TKVXButtonHost {
public:
    virtual ~TKVXButtonHost() = default;
    // A state change that alters the look: the button paints now (or invalidates).
    virtual void StateRepaint() = 0;
    // A state set directly (groups, enabling): the button invalidates.
    virtual void StateInvalidate() = 0;
    // Whether a change between bstUp and bstHot alters the look (shaded glyph, flat frame styles,
    // more than two pictures, a hot caption colour, a face button).
    virtual bool HoverChangesLook() = 0;
    // State changes are ignored: the button is on an MDI form and the application is not active.
    virtual bool IgnoreStateChanges() = 0;
    virtual bool ButtonVisible() = 0;
    virtual void StartHoverTimer() = 0;
    virtual void StopHoverTimer() = 0;
    virtual void StartRepeatTimer() = 0;
    virtual void StopRepeatTimer() = 0;
    // OnClick, and the repeated click (DoClick).
    virtual void Click() = 0;
    virtual void DoClick() = 0;
    virtual void MouseEnterEvent() = 0;
    virtual void MouseExitEvent() = 0;
    // The mouse-inside flag changed (flat speed buttons repaint).
    virtual void MouseInsideChanged() = 0;
    virtual void HideApplicationHint() = 0;
    // Hit test of a client point (AllowTransparency), and whether the pointer is over the button now.
    virtual bool PointInButton(int x, int y) = 0;
    virtual bool PointerInside() = 0;
    virtual int ButtonWidth() = 0;
    virtual int ButtonHeight() = 0;
    // CM_BUTTONPRESSED to the other controls of the parent (UpdateExclusive).
    virtual void BroadcastPressed() = 0;
    // OnDropDown, then the menu, running until it closes (the host removes the mouse messages left).
    virtual void RunDropDownMenu() = 0;
};

class TKVXButtonMachine {
public:
    explicit TKVXButtonMachine(TKVXButtonHost& host) : host_(host) {}

    TKVXButtonState State() const { return state_; }
    TKVXButtonState PrevState() const { return prevState_; }
    bool MouseInside() const { return mouseInside_; }
    bool MouseIsDown() const { return mouseDown_; }

    // Settings the button publishes.
    bool AllowAllUp = false;
    bool AllowMouseOver = false;
    bool AllowTransparency = true;
    bool RepeatedClick = false;
    bool HasDropDownMenu = false;
    bool Enabled = true;
    bool HideHintOnExit = true;
    int NumGlyphs = 1;
    bool ShadedGlyph = false;

    int GroupIndex() const { return groupIndex_; }
    bool Pressed() const { return pressed_; }
    // Stored; the button then calls UpdateExclusive.
    void SetGroupIndex(int value) { groupIndex_ = value; }
    // False when GroupIndex is 0; a pressed member is released by assignment only with AllowAllUp.
    // True latches and tells the group; False goes up.
    void SetPressed(bool value);

    // The only way the state changes, besides groups and enabling. Reevaluating: asked by the hover
    // re-evaluation after a release (the one request kept, as bstUp, while hover is ignored).
    void SetState(TKVXButtonState state, bool reevaluating = false);

    // Left button only; the button runs the framework's handling first.
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    // CM_MOUSEENTER / CM_MOUSELEAVE.
    void MouseEnter();
    void MouseExit();
    void SetMouseInside(bool inside);
    // The hover timer's tick.
    void CheckMouseLeave();
    // The repeat timer's tick.
    void RepeatTick();
    // CM_BUTTONPRESSED from another member of the group (Pressed: the sender is pressed).
    void OtherPressed(bool senderPressed, bool senderAllowAllUp);
    // CM_ENABLEDCHANGED.
    void EnabledChanged(bool enabled);
    // The caption's accelerator was typed (the button checked that it may take it).
    void Accelerator();
    // Drops the menu (nothing without one or while dropped).
    void DropDown();

private:
    bool InsideClient(int x, int y);
    void ReevaluateHover(TKVXButtonState restore, bool handled);

    TKVXButtonHost& host_;
    TKVXButtonState state_ = TKVXButtonState::bstUp;
    TKVXButtonState prevState_ = TKVXButtonState::bstUp;
    int groupIndex_ = 0;
    bool pressed_ = false;
    bool mouseInside_ = false;
    bool mouseDown_ = false;
};

// Repeat intervals the application's 50 ms timer pool can serve: 50 to 65,500 in steps of 50.
bool KVXValidRepeatInterval(int milliseconds);

}  // namespace kvx
