// The picture controls: TKVXLImage shows one image of a suite image list in one of eight placement
// styles, and can move "silently" (double-buffered over its parent's background); TKVXAniCtrl plays the
// images of one list entry frame by frame from the application's timer pool or a timer of its own,
// with the end-of-run behaviours of widgets/animation.h.
#pragma once

#include <memory>

#include "framework/win32/threads.h"
#include "widgets/animation.h"
#include "widgets/controltypes.h"
#include "widgets/win32/hitimer.h"
#include "widgets/win32/kvxcontrol.h"

namespace kvx::win32 {

class TKVXBaseImage : public TKVXGraphicControl {
public:
    explicit TKVXBaseImage(TComponent* owner);

    bool QuickDraw() const { return quickDraw_; }
    void SetQuickDraw(bool value);
    TKVXBitmapStyle Style() const { return style_; }
    void SetStyle(TKVXBitmapStyle value);

protected:
    // Called first in every paint; true when it changed the bounds (the paint ends there).
    virtual bool AutoSizeImage() { return false; }

private:
    bool quickDraw_ = true;
    TKVXBitmapStyle style_ = TKVXBitmapStyle::sbNone;
};

class TKVXCustomLImage : public TKVXBaseImage {
public:
    using TKVXBaseImage::TKVXBaseImage;

    bool ForceTransparent() const { return forceTransparent_; }
    void SetForceTransparent(bool value);
    bool SilentMove() const { return silentMove_; }
    void SetSilentMove(bool value);

protected:
    bool AutoSizeImage() override;
    bool UsesParentBackground() override;
    bool NothingToPaint() override;
    void Paint() override;
    // The image drawn: ImageIndex here, the current frame in an animation.
    virtual int ShownIndex() { return ImageIndex(); }
    uint16_t PlacementFlags();
    // True when moving silently over a suite parent that shows a background.
    bool SilentOverBackground();
    void RealizeListPalette(fw::TCanvas* canvas);

    bool forceTransparent_ = false;

private:
    bool silentMove_ = false;
};

class TKVXLImage : public TKVXCustomLImage {
public:
    using TKVXCustomLImage::TKVXCustomLImage;
};

class TKVXAniCtrl : public TKVXCustomLImage {
public:
    explicit TKVXAniCtrl(TComponent* owner);

    TNotifyEvent OnStart;
    TNotifyEvent OnAnimate;
    TNotifyEvent OnStop;

    bool Animate() const { return run_->Animating(); }
    void SetAnimate(bool value);
    TKVXAnimationStyle AnimationStyle() const { return run_->Style; }
    void SetAnimationStyle(TKVXAnimationStyle value);
    // Milliseconds; the global timer rounds it up to a multiple of 50.
    uint16_t Interval() const { return interval_; }
    void SetInterval(uint16_t value);
    bool Reverse() const { return run_->Reverse; }
    void SetReverse(bool value);
    bool MakeVisible() const { return run_->MakeVisible; }
    void SetMakeVisible(bool value) { run_->MakeVisible = value; }
    uint8_t Repetitions() const { return run_->Repetitions; }
    void SetRepetitions(uint8_t value);
    bool UseBitmap() const { return useBitmap_; }
    void SetUseBitmap(bool value);
    int StartFrame() const { return run_->StartFrame(); }
    void SetStartFrame(int value);
    int StopFrame() const { return run_->StopFrame(); }
    void SetStopFrame(int value);
    int Frame() const { return run_->Frame(); }
    TKVXTimerMode TimerMode() const { return timerMode_; }
    void SetTimerMode(TKVXTimerMode value);
    fw::TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(fw::TThreadPriority value) { priority_ = value; }
    // Shows a frame within StartFrame .. StopFrame while not animating.
    void ShowFrame(int index);

    // One timer tick (the timers call it; tests may too).
    void Step() { run_->Step(); }
    // A transparent control's saved background is taken again at the next paint.
    void Invalidate() override;

protected:
    ~TKVXAniCtrl() override;
    void Loaded() override;
    void Paint() override;
    bool NothingToPaint() override;
    bool UsesParentBackground() override;
    void ImageListChanged(TObject* sender) override;
    void BoundsChanged(TKVXBoundsKind kind) override;
    void TransparentChanged() override;
    void Dispatch(fw::TMessage& message) override;
    int ShownIndex() override { return run_->Frame(); }

private:
    // What the run asks of the control.
    class THost;
    friend class THost;
    void DrawFrame(bool withEvent);
    void EnableTimer(bool enable);

    void Tick(TObject* sender);
    void CreateTimer();
    void DestroyTimer();
    int FrameCount();

    std::unique_ptr<TKVXAnimationHost> host_;
    std::unique_ptr<TKVXAnimation> run_;
    std::unique_ptr<fw::TBitmap> background_;
    bool backgroundDirty_ = true;
    bool useBitmap_ = true;
    uint16_t interval_ = 200;
    uint16_t poolTimer_ = 0;
    TKVXTimerMode timerMode_ = TKVXTimerMode::tmGlobalTimer;
    TKVXHiTimer* hiTimer_ = nullptr;
    fw::TThreadPriority priority_ = fw::TThreadPriority::tpNormal;
};

}  // namespace kvx::win32
