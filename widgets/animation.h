// The animation control's run, without a device: frames StartFrame to StopFrame of one image-list entry,
// forward or in reverse, advanced one frame per timer tick, and what happens at the end of a run:
//   asLoop          start again at the first frame         asLoopHide    the same; stopping hides it
//   asLoopReverse   turn round and run back                asRepeat      Repetitions runs, stop on the last
//   asRepeatFirst   one run, then show the first frame     asRepeatHide  one run, then hide
// The control feeds it the ticks; drawing, the timer, visibility and the events go through the host.
#pragma once

#include <cstdint>

#include "widgets/controltypes.h"

namespace kvx {

// The application's timer pool serves multiples of 50 ms: a global-timer interval is rounded up to the
// next multiple, and at most 65,500 (rounding 65,501 and more would wrap a 16-bit value).
uint16_t KVXPoolInterval(uint16_t interval);

class TKVXAnimationHost {
public:
    virtual ~TKVXAnimationHost() = default;
    // False when there is no list, no image in the entry, or no current frame.
    virtual bool CanPaint() = 0;
    virtual bool IsVisible() = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual bool Destroying() = 0;
    // The current frame drawn at once (OnAnimate first when asked).
    virtual void DrawFrame(bool withEvent) = 0;
    // A transparent control that does not buffer its frames invalidates instead of drawing.
    virtual bool InvalidatesFrames() = 0;
    virtual void Invalidate() = 0;
    virtual void EnableTimer(bool enable) = 0;
    virtual void StartEvent() = 0;
    virtual void StopEvent() = 0;
};

class TKVXAnimation {
public:
    explicit TKVXAnimation(TKVXAnimationHost& host) : host_(host) {}

    TKVXAnimationStyle Style = TKVXAnimationStyle::asLoop;
    bool Reverse = false;
    bool MakeVisible = true;
    // Runs of asRepeat (1..255).
    uint8_t Repetitions = 1;

    int StartFrame() const { return startFrame_; }
    int StopFrame() const { return stopFrame_; }
    int Frame() const { return frame_; }
    bool Animating() const { return animating_; }
    bool Forward() const { return forward_; }
    int Counter() const { return counter_; }

    // Stores both bounds as they are (loading, and the image list's changes).
    void SetFrameBounds(int start, int stop);
    void SetFrame(int frame) { frame_ = frame; }
    // The first frame of a run: StopFrame in reverse, else StartFrame.
    int FirstFrame() const { return Reverse ? stopFrame_ : startFrame_; }
    // A new bound (Start: StartFrame, else StopFrame) for an entry of Count images: refused (false)
    // outside 0 .. Count - 1 or above 255; accepted, it stops the run and the two bounds are sorted.
    bool SetBound(bool start, int value, int count);

    void Start();
    void Step();
    void Stop();

private:
    void Advance(int end, int restart, int step);

    TKVXAnimationHost& host_;
    int startFrame_ = 0;
    int stopFrame_ = 0;
    int frame_ = 0;
    bool animating_ = false;
    bool forward_ = true;
    int counter_ = 0;
};

}  // namespace kvx
