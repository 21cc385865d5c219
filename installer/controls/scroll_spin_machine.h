// The press-and-repeat logic of the scroll bar's arrow button, without a window. A press on a
// single-arrow button fires its click at once; the button's pool timer fires it again after 300 ms,
// then every 100 ms while the button still holds the mouse capture and the pointer has not left it.
// Buttons with two or more arrows draw them but ignore presses.
//
// States: 0 normal, 1 top pressed, 2 bottom pressed, 3 left pressed, 4 right pressed, 5 disabled.
#pragma once

#include <cstdint>
#include <functional>

#include "installer/controls/pool_timer.h"

namespace inst {

// Bits of TKVXSpinButtons, in the order of TKVXSingleSpinButton.
enum : uint8_t { sbLeft = 1, sbRight = 2, sbUp = 4, sbDown = 8 };

class ScrollSpinMachine {
public:
    static constexpr uint16_t kRepeatInterval = 100;
    // The first repeat waits this much longer.
    static constexpr uint16_t kFirstDelay = 200;

    // Fires the click of a pressed state (1 to 4).
    std::function<void(int state)> OnClick;
    std::function<void()> OnRepaint;
    // Whether the button still holds the mouse capture.
    std::function<bool()> HasCapture;

    ScrollSpinMachine();

    int State() const { return state_; }
    bool Tracking() const { return tracking_; }
    uint8_t Arrows() const { return arrows_; }
    // The empty set keeps the previous layout; answers whether the layout changed.
    bool SetArrows(uint8_t arrows);
    uint16_t TimerIdent() const { return timer_.Ident(); }
    bool Repeating() const { return timer_.Enabled(); }

    // The left button went down on the enabled button.
    void Press();
    // The pointer moved while tracking; Inside: over the client area.
    void Move(bool inside);
    void Release(bool inside);
    void SetEnabled(bool enabled);
    // Painting a disabled button ends tracking.
    void EndTracking() { tracking_ = false; }
    // The pool timer's tick (public for the tests that drive it by hand).
    void Tick();

private:
    void Repaint();

    PoolTimer timer_;
    uint8_t arrows_ = sbUp;
    int state_ = 0;
    int painted_ = 0;
    bool tracking_ = false;
};

}  // namespace inst
