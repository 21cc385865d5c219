#include "widgets/animation.h"

#include <algorithm>

namespace kvx {

using A = TKVXAnimationStyle;

uint16_t KVXPoolInterval(uint16_t interval) {
    constexpr unsigned kStep = 50, kLimit = 65500;
    unsigned v = interval;
    if (v % kStep != 0) v = (v / kStep) * kStep + kStep;
    return static_cast<uint16_t>(std::min(v, kLimit));
}

void TKVXAnimation::SetFrameBounds(int start, int stop) {
    startFrame_ = start;
    stopFrame_ = stop;
}

bool TKVXAnimation::SetBound(bool start, int value, int count) {
    if (value < 0 || value > count - 1 || value > 255) return false;
    Stop();
    const int other = start ? stopFrame_ : startFrame_;
    startFrame_ = std::min(value, other);
    stopFrame_ = std::max(value, other);
    return true;
}

void TKVXAnimation::Start() {
    if (!host_.CanPaint()) return;
    if (animating_) Stop();
    if (!host_.IsVisible()) {
        if (!MakeVisible) return;
        host_.Show();
    }
    forward_ = !Reverse;
    counter_ = 0;
    frame_ = FirstFrame();
    animating_ = true;
    host_.StartEvent();
    host_.DrawFrame(true);
    host_.EnableTimer(true);
}

void TKVXAnimation::Advance(int end, int restart, int step) {
    if (frame_ != end) {
        frame_ += step;
        return;
    }
    switch (Style) {
        case A::asLoop:
        case A::asLoopHide: frame_ = restart; break;
        case A::asLoopReverse: forward_ = !forward_; break;
        case A::asRepeat:
            if (counter_ >= Repetitions - 1) {
                Stop();
            } else {
                ++counter_;
                frame_ = restart;
            }
            break;
        case A::asRepeatFirst:
        case A::asRepeatHide: Stop(); break;
    }
}

void TKVXAnimation::Step() {
    if (!animating_) return;
    if (!host_.CanPaint() || !host_.IsVisible()) {
        Stop();
        return;
    }
    if (forward_)
        Advance(stopFrame_, startFrame_, 1);
    else
        Advance(startFrame_, stopFrame_, -1);
    if (!animating_) return;
    if (host_.InvalidatesFrames())
        host_.Invalidate();
    else
        host_.DrawFrame(true);
}

void TKVXAnimation::Stop() {
    if (!animating_) return;
    host_.EnableTimer(false);
    counter_ = 0;
    animating_ = false;
    if (!host_.Destroying()) {
        switch (Style) {
            case A::asLoop:
            case A::asLoopReverse:
            case A::asRepeatFirst:
                frame_ = FirstFrame();
                host_.DrawFrame(false);
                break;
            case A::asLoopHide:
            case A::asRepeatHide: host_.Hide(); break;
            case A::asRepeat: break;
        }
    }
    host_.StopEvent();
}

}  // namespace kvx
