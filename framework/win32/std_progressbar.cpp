// TProgressBar.
#include "framework/win32/std_progressbar.h"

#include <algorithm>

namespace fw {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSA);
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TProgressBar::CreateWindowState() {
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
    min_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int value) {
    max_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TProgressBar::Position() {
    if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int value) {
    position_ = std::clamp(value, min_, std::max(min_, max_));
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void RegisterProgressBarClasses() {
    Class<TProgressBar, TWinControl>("TProgressBar")
        .Prop("Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Prop("Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Prop("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Prop("Step", &TProgressBar::Step, &TProgressBar::SetStep);
}

}  // namespace fw
