#include "widgets/buttonmachine.h"

namespace kvx {

using S = TKVXButtonState;

namespace {
bool IsPair(S a, S b, S x, S y) { return (a == x && b == y) || (a == y && b == x); }
bool IsDisabled(S s) { return s == S::bstDisabled || s == S::bstLatchedDisabled; }
}  // namespace

bool KVXValidRepeatInterval(int milliseconds) {
    return milliseconds >= 50 && milliseconds <= 65500 && milliseconds % 50 == 0;
}

void TKVXButtonMachine::SetState(S state, bool reevaluating) {
    if (host_.IgnoreStateChanges()) {
        if (!(reevaluating && state == S::bstHot)) return;
        state = S::bstUp;
    }
    const S old = state_;
    if (state == old) return;
    bool repaint = true;
    if (IsPair(old, state, S::bstUp, S::bstHot) && !host_.HoverChangesLook()) repaint = false;
    if (NumGlyphs < 3 && IsPair(old, state, S::bstHot, S::bstLatched)) repaint = false;
    prevState_ = (state == S::bstHot && old != S::bstLatched) ? S::bstUp : old;
    state_ = state;
    if (repaint && host_.ButtonVisible()) host_.StateRepaint();
    if (AllowMouseOver) {
        if (old == S::bstHot) host_.StopHoverTimer();
        if (state == S::bstHot && !pressed_) host_.StartHoverTimer();
    }
}

void TKVXButtonMachine::SetPressed(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == pressed_ || (pressed_ && !AllowAllUp)) return;
    pressed_ = value;
    if (state_ == S::bstHot) host_.StopHoverTimer();
    state_ = value ? S::bstLatched : S::bstUp;
    host_.StateInvalidate();
    if (value) host_.BroadcastPressed();
}

bool TKVXButtonMachine::InsideClient(int x, int y) {
    return x >= 0 && x <= host_.ButtonWidth() && y >= 0 && y <= host_.ButtonHeight();
}

void TKVXButtonMachine::MouseDown(int x, int y) {
    if (AllowTransparency && !host_.PointInButton(x, y)) return;
    if (!Enabled) return;
    if (HasDropDownMenu) {
        if (state_ == S::bstDropped) {
            SetState(S::bstHot);
        } else {
            const S before = state_;
            DropDown();
            SetState(before);
        }
        return;
    }
    mouseDown_ = true;
    S next = state_;
    if (prevState_ == S::bstLatched && state_ == S::bstHot && groupIndex_ != 0) {
        next = S::bstLatched;
    } else if (!pressed_) {
        next = S::bstDown;
        if (RepeatedClick) {
            host_.DoClick();
            host_.StartRepeatTimer();
        }
    }
    SetState(next);
}

void TKVXButtonMachine::MouseMove(int x, int y) {
    if (state_ == S::bstDropped || !Enabled) return;
    S next = state_;
    bool inside;
    if (AllowTransparency) {
        inside = host_.PointInButton(x, y);
        if (inside && AllowMouseOver && (groupIndex_ == 0 || state_ != S::bstLatched))
            next = S::bstHot;
        else if (state_ == S::bstHot)
            next = prevState_;
    } else {
        inside = InsideClient(x, y);
    }
    if (mouseDown_ && (inside || groupIndex_ == 0 || state_ == S::bstDown))
        next = !inside ? S::bstUp : (pressed_ ? S::bstLatched : S::bstDown);
    SetState(next);
    SetMouseInside(inside);
}

void TKVXButtonMachine::MouseUp(int x, int y) {
    if (state_ == S::bstDropped || !mouseDown_) return;
    mouseDown_ = false;
    if (RepeatedClick) host_.StopRepeatTimer();
    const bool inside = AllowTransparency ? host_.PointInButton(x, y)
                                          : x >= 0 && x < host_.ButtonWidth() && y >= 0 && y <= host_.ButtonHeight();
    S restore = IsDisabled(state_) ? state_ : S::bstUp;
    bool handled = false;
    if (groupIndex_ != 0) {
        if (inside && state_ == S::bstLatched && !AllowAllUp) return;
        if (inside) {
            SetPressed(!pressed_);
            if (AllowMouseOver)
                restore = pressed_ ? S::bstLatched : S::bstUp;
            else
                handled = true;
        } else if (pressed_) {
            restore = S::bstLatched;
        }
    } else if (inside && AllowMouseOver && Enabled) {
        restore = S::bstHot;
    }
    if (!inside) {
        if (!handled) SetState(restore);
        return;
    }
    if (NumGlyphs < 3 && !ShadedGlyph && !handled) SetState(restore);
    if (!RepeatedClick) host_.Click();
    ReevaluateHover(restore, handled);
}

void TKVXButtonMachine::ReevaluateHover(S restore, bool handled) {
    if (NumGlyphs <= 2 && !ShadedGlyph) return;
    const bool inside = host_.PointerInside();
    if (handled || IsDisabled(state_)) return;
    if (inside)
        SetState(restore == S::bstUp ? S::bstHot : restore, true);
    else
        SetState(restore);
}

void TKVXButtonMachine::MouseEnter() {
    // Buttons with see-through pixels track the mouse in MouseMove.
    if (AllowTransparency) return;
    SetMouseInside(true);
}

void TKVXButtonMachine::MouseExit() {
    if (state_ == S::bstHot) SetState(prevState_);
    SetMouseInside(false);
    if (HideHintOnExit) host_.HideApplicationHint();
}

void TKVXButtonMachine::SetMouseInside(bool inside) {
    if (inside == mouseInside_) return;
    mouseInside_ = inside;
    if (inside) {
        host_.MouseEnterEvent();
        if (state_ == S::bstUp && AllowMouseOver && Enabled) SetState(S::bstHot);
    } else {
        host_.MouseExitEvent();
    }
    host_.MouseInsideChanged();
}

void TKVXButtonMachine::CheckMouseLeave() {
    if (state_ != S::bstHot) {
        host_.StopHoverTimer();
        return;
    }
    if (Enabled && !host_.PointerInside()) {
        SetState(prevState_);
        SetMouseInside(false);
    }
}

void TKVXButtonMachine::RepeatTick() {
    if (mouseInside_) host_.DoClick();
}

void TKVXButtonMachine::OtherPressed(bool senderPressed, bool senderAllowAllUp) {
    if (senderPressed && pressed_) {
        pressed_ = false;
        prevState_ = state_;
        state_ = S::bstUp;
        host_.StateInvalidate();
    }
    AllowAllUp = senderAllowAllUp;
}

void TKVXButtonMachine::EnabledChanged(bool enabled) {
    Enabled = enabled;
    if (state_ == S::bstHot) host_.StopHoverTimer();
    if (enabled)
        state_ = pressed_ ? S::bstLatched : S::bstUp;
    else
        state_ = pressed_ ? S::bstLatchedDisabled : S::bstDisabled;
    host_.StateInvalidate();
}

void TKVXButtonMachine::Accelerator() {
    if (HasDropDownMenu) {
        if (state_ == S::bstDropped)
            SetState(S::bstHot);
        else
            DropDown();
    } else if (groupIndex_ != 0) {
        if (!AllowAllUp && state_ == S::bstLatched) return;
        SetPressed(!pressed_);
        if (AllowMouseOver) {
            if (pressed_) {
                SetState(S::bstLatched);
                host_.Click();
            } else {
                SetState(S::bstUp);
            }
        }
    } else {
        SetMouseInside(true);
        host_.StateRepaint();
        host_.Click();
        host_.StateRepaint();
        if (!host_.PointerInside()) {
            SetMouseInside(false);
            host_.StateRepaint();
        }
    }
}

void TKVXButtonMachine::DropDown() {
    if (!HasDropDownMenu || state_ == S::bstDropped) return;
    SetState(S::bstDropped);
    host_.RunDropDownMenu();
    SetState(S::bstHot);
}

}  // namespace kvx
