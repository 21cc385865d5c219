// TKVXScrollSpinButton: the arrow button at each end of the owner-drawn scroll bar. One of 15 arrow
// layouts (any non-empty set of left, right, up and down) drawn on a raised cell; a single-arrow button
// looks pressed while held and repeats its click (see installer/controls/scroll_spin_machine.h).
#pragma once

#include <cstdint>

#include "installer/controls/scroll_spin_machine.h"
#include "widgets/win32/kvxcontrol.h"

namespace inst::win32 {

class TKVXScrollSpinButton : public kvx::win32::TKVXGraphicControl {
public:
    explicit TKVXScrollSpinButton(fw::TComponent* owner);

    uint8_t SpinButtons() const { return machine_.Arrows(); }
    // The empty set keeps the previous layout.
    void SetSpinButtons(uint8_t value);
    int State() const { return machine_.State(); }
    uint16_t TimerIdent() const { return machine_.TimerIdent(); }

    fw::TNotifyEvent OnTopClick;
    fw::TNotifyEvent OnBottomClick;
    fw::TNotifyEvent OnLeftClick;
    fw::TNotifyEvent OnRightClick;

    // Draws the cell of State (0 normal, 1-4 pressed, 5 disabled) at the client size on Canvas.
    void DrawCell(fw::TCanvas* canvas, int state);

protected:
    void Paint() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void CMEnabledChanged(fw::TMessage& message) override;

private:
    void Fire(int state);
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

    ScrollSpinMachine machine_;
};

}  // namespace inst::win32
