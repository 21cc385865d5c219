// TSplitter: a windowless bar aligned beside another aligned control; dragging it resizes that
// control, never below MinSize, and OnMoved follows the release.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = std::max(value, 1); }
    // The control the splitter resizes (the aligned control it touches), or null.
    TControl* FindControl() const;

    TNotifyEvent OnMoved;

protected:
    ~TSplitter() override = default;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;

private:
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    int minSize_ = 30;
    TControl* control_ = nullptr;
    TPoint downPos_{};
    int startSize_ = 0;
};

void RegisterSplitterClasses();

}  // namespace fw
