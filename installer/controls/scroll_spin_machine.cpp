#include "installer/controls/scroll_spin_machine.h"

namespace inst {

namespace {

// The pressed state of a single-arrow layout, or 0.
int PressedState(uint8_t arrows) {
    switch (arrows) {
        case sbUp: return 1;
        case sbDown: return 2;
        case sbLeft: return 3;
        case sbRight: return 4;
        default: return 0;
    }
}

}  // namespace

ScrollSpinMachine::ScrollSpinMachine() : timer_(kRepeatInterval + kFirstDelay, [this] { Tick(); }) {}

bool ScrollSpinMachine::SetArrows(uint8_t arrows) {
    arrows &= sbLeft | sbRight | sbUp | sbDown;
    if (arrows == 0 || arrows == arrows_) return false;
    arrows_ = arrows;
    return true;
}

void ScrollSpinMachine::Repaint() {
    if (OnRepaint) OnRepaint();
}

void ScrollSpinMachine::Press() {
    if (state_ != 0) return;
    painted_ = 0;
    tracking_ = true;
    const int pressed = PressedState(arrows_);
    if (pressed == 0) return;
    state_ = pressed;
    if (OnClick) OnClick(state_);
    if (state_ != painted_) {
        painted_ = state_;
        Repaint();
    }
    timer_.SetInterval(kRepeatInterval + kFirstDelay);
    timer_.SetEnabled(true);
}

void ScrollSpinMachine::Tick() {
    timer_.SetInterval(kRepeatInterval);
    if (state_ < 1 || state_ > 4 || !(HasCapture && HasCapture())) return;
    try {
        if (OnClick) OnClick(state_);
    } catch (...) {
        timer_.SetEnabled(false);
        throw;
    }
}

void ScrollSpinMachine::Move(bool inside) {
    if (!tracking_ || inside || state_ < 1 || state_ > 4) return;
    state_ = 0;
    Repaint();
}

void ScrollSpinMachine::Release(bool inside) {
    if (!tracking_) return;
    tracking_ = false;
    // Released outside, the state is already 0 and ticks would fire nothing: stop them anyway.
    timer_.SetEnabled(false);
    if (!inside) return;
    state_ = 0;
    painted_ = 0;
    Repaint();
}

void ScrollSpinMachine::SetEnabled(bool enabled) {
    state_ = enabled ? 0 : 5;
    if (!enabled) timer_.SetEnabled(false);
    Repaint();
}

}  // namespace inst
