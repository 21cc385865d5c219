// TProgressBar over the system "msctls_progress32" class: a position between Min and Max.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position();
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value) { step_ = value; }
    void StepIt() { SetPosition(Position() + step_); }
    void StepBy(int delta) { SetPosition(Position() + delta); }

protected:
    ~TProgressBar() override = default;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int step_ = 10;
};

void RegisterProgressBarClasses();

}  // namespace fw
