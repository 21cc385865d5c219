#include "widgets/win32/images.h"

#include <algorithm>

#include "widgets/kvxapplication.h"
#include "widgets/pictureplace.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

// ---- TKVXBaseImage ------------------------------------------------------------------------------

TKVXBaseImage::TKVXBaseImage(TComponent* owner) : TKVXGraphicControl(owner) {
    SetControlStyle(ControlStyle() | fw::csReplicatable);
}

void TKVXBaseImage::SetQuickDraw(bool value) {
    quickDraw_ = value;
    Redraw();
}

void TKVXBaseImage::SetStyle(TKVXBitmapStyle value) {
    style_ = value;
    Redraw();
}

// ---- TKVXCustomLImage ---------------------------------------------------------------------------

void TKVXCustomLImage::SetForceTransparent(bool value) {
    forceTransparent_ = value;
    Redraw();
}

void TKVXCustomLImage::SetSilentMove(bool value) {
    silentMove_ = value;
    Redraw();
}

bool TKVXCustomLImage::AutoSizeImage() {
    if (Style() != TKVXBitmapStyle::sbAutosize) return false;
    int w = 20, h = 20;
    if (!NoImage() && ImageList()->Count(ListIndex()) > 0) {
        w = ImageList()->GetSize(ListIndex(), 0);
        h = ImageList()->GetSize(ListIndex(), 1);
    }
    w += BevelWidths();
    h += BevelWidths();
    if (w == Width() && h == Height()) return false;
    SetBounds(Left(), Top(), w, h);
    return true;
}

bool TKVXCustomLImage::SilentOverBackground() {
    TKVXCustomControl* parent = KVXSuiteParent(this);
    return silentMove_ && parent && parent->HandleAllocated() && parent->HasBackground();
}

bool TKVXCustomLImage::UsesParentBackground() {
    return SilentOverBackground() || TKVXGraphicControl::UsesParentBackground();
}

bool TKVXCustomLImage::NothingToPaint() { return NoImage() || !ImageList()->IsValid(ListIndex(), ShownIndex()); }

uint16_t TKVXCustomLImage::PlacementFlags() {
    return KVXImagePlacementFlags(Style(), BevelWidth() != 0, forceTransparent_);
}

void TKVXCustomLImage::RealizeListPalette(fw::TCanvas* canvas) {
    if (QuickDraw()) return;
    if (HPALETTE palette = ImageList()->GetPalette(ListIndex())) {
        SelectPalette(canvas->Handle(), palette, TRUE);
        RealizePalette(canvas->Handle());
    }
}

void TKVXCustomLImage::Paint() {
    if (Loading() || AutoSizeImage()) return;
    const bool nothing = NothingToPaint();
    const bool silent = SilentOverBackground();
    if (!Transparent()) {
        if (!(silent && !nothing)) FillClient();
    } else if (nothing && BevelWidth() == 0) {
        TKVXGraphicControl::Paint();
        return;
    }
    TRect d;
    Bevel()->PaintBevel(Canvas(), ClientRect(), Transparent(), d);
    if (nothing) return;
    const uint16_t flags = PlacementFlags();
    const int index = ShownIndex();
    const TColor transparent = ImageList()->TransparentColor(ListIndex(), index);
    try {
        if (silent) {
            // Background and picture meet in a bitmap first, so a move never shows the parent bare.
            fw::TBitmap buffer;
            buffer.SetSize(d.Width(), d.Height());
            KVXSuiteParent(this)->CopyBackground(buffer.Canvas(), {0, 0, d.Width(), d.Height()},
                                                 {Left() + d.Left, Top() + d.Top});
            ImageList()->DrawClipped(buffer.Canvas(), {0, 0, d.Width(), d.Height()}, flags, 0, transparent,
                                     ListIndex(), index);
            RealizeListPalette(Canvas());
            Canvas()->Draw(d.Left, d.Top, &buffer);
        } else {
            RealizeListPalette(Canvas());
            ImageList()->DrawClipped(Canvas(), d, flags, KVXPackClipOffset(Left(), Top()), transparent, ListIndex(),
                                     index);
        }
    } catch (const fw::Exception&) {
        // A broken picture must not stop the form from painting.
    }
}

// ---- TKVXAniCtrl --------------------------------------------------------------------------------

class TKVXAniCtrl::THost : public TKVXAnimationHost {
public:
    explicit THost(TKVXAniCtrl& control) : c_(control) {}
    bool CanPaint() override { return !c_.NothingToPaint(); }
    bool IsVisible() override { return c_.Visible(); }
    void Show() override { c_.SetVisible(true); }
    void Hide() override { c_.SetVisible(false); }
    bool Destroying() override { return (c_.ComponentState() & fw::csDestroying) != 0; }
    void DrawFrame(bool withEvent) override { c_.DrawFrame(withEvent); }
    bool InvalidatesFrames() override { return c_.Transparent() && !c_.useBitmap_; }
    void Invalidate() override { c_.Invalidate(); }
    void EnableTimer(bool enable) override { c_.EnableTimer(enable); }
    void StartEvent() override {
        if (c_.OnStart) c_.OnStart(&c_);
    }
    void StopEvent() override {
        if (c_.OnStop) c_.OnStop(&c_);
    }

private:
    TKVXAniCtrl& c_;
};

TKVXAniCtrl::TKVXAniCtrl(TComponent* owner)
    : TKVXCustomLImage(owner), host_(std::make_unique<THost>(*this)), run_(std::make_unique<TKVXAnimation>(*host_)) {
    MakeOpaque();
    forceTransparent_ = true;
    CreateTimer();
}

TKVXAniCtrl::~TKVXAniCtrl() {
    run_->Stop();
    DestroyTimer();
}

int TKVXAniCtrl::FrameCount() { return NoImage() ? 0 : std::max(ImageList()->Count(ListIndex()), 0); }

bool TKVXAniCtrl::NothingToPaint() {
    return NoImage() || FrameCount() < 1 || !ImageList()->IsValid(ListIndex(), run_->Frame());
}

bool TKVXAniCtrl::UsesParentBackground() {
    return (useBitmap_ && TKVXGraphicControl::UsesParentBackground()) || SilentOverBackground();
}

void TKVXAniCtrl::CreateTimer() {
    if (timerMode_ == TKVXTimerMode::tmGlobalTimer) {
        if (!KVXApplication) return;
        interval_ = KVXPoolInterval(interval_);
        poolTimer_ = KVXApplication->AddTimer(interval_, TNotifyEvent(this, &TKVXAniCtrl::Tick));
        if (poolTimer_ == 0) throw fw::EOutOfResources(texts::SNoTimers);
        if (TKVXTimerItem* item = KVXApplication->GetTimerItem(poolTimer_)) item->SetEnabled(false);
        return;
    }
    hiTimer_ = fw::Make<TKVXHiTimer>(this);
    hiTimer_->SetUseThread(timerMode_ == TKVXTimerMode::tmThreaded);
    hiTimer_->SetOnTimer(TNotifyEvent(this, &TKVXAniCtrl::Tick));
}

void TKVXAniCtrl::DestroyTimer() {
    if (poolTimer_ != 0 && KVXApplication) {
        if (TKVXTimerItem* item = KVXApplication->GetTimerItem(poolTimer_)) {
            item->SetEnabled(false);
            item->Callback.Reset();
        }
        KVXApplication->RemoveTimer(poolTimer_);
    }
    poolTimer_ = 0;
    if (hiTimer_) {
        hiTimer_->SetEnabled(false);
        hiTimer_->Free();
        hiTimer_ = nullptr;
    }
}

void TKVXAniCtrl::EnableTimer(bool enable) {
    // A control made before the application object had no pool to ask then.
    if (enable && timerMode_ == TKVXTimerMode::tmGlobalTimer && poolTimer_ == 0) CreateTimer();
    if (poolTimer_ != 0 && KVXApplication) {
        if (TKVXTimerItem* item = KVXApplication->GetTimerItem(poolTimer_)) {
            if (enable) item->SetInterval(interval_);
            item->SetEnabled(enable);
        }
    }
    if (hiTimer_) {
        if (enable) {
            hiTimer_->SetInterval(interval_);
            hiTimer_->SetThreadPriority(priority_);
        }
        hiTimer_->SetEnabled(enable);
    }
}

void TKVXAniCtrl::Tick(TObject*) { run_->Step(); }

void TKVXAniCtrl::SetAnimate(bool value) {
    if (value) {
        if (Loading()) return;
        run_->Start();
    } else {
        run_->Stop();
    }
}

void TKVXAniCtrl::SetAnimationStyle(TKVXAnimationStyle value) {
    run_->Stop();
    run_->Style = value;
}

void TKVXAniCtrl::SetInterval(uint16_t value) {
    if (value == 0) return;
    if (!Loading()) run_->Stop();
    interval_ = timerMode_ == TKVXTimerMode::tmGlobalTimer ? KVXPoolInterval(value) : value;
}

void TKVXAniCtrl::SetReverse(bool value) {
    run_->Stop();
    run_->Reverse = value;
}

void TKVXAniCtrl::SetRepetitions(uint8_t value) {
    if (value == 0) return;
    run_->Stop();
    run_->Repetitions = value;
}

void TKVXAniCtrl::SetUseBitmap(bool value) {
    useBitmap_ = value;
    ContentChanged(nullptr);
}

void TKVXAniCtrl::SetTimerMode(TKVXTimerMode value) {
    if (Loading()) {
        timerMode_ = value;
        return;
    }
    run_->Stop();
    DestroyTimer();
    timerMode_ = value;
    CreateTimer();
}

void TKVXAniCtrl::SetStartFrame(int value) {
    if (Loading()) {
        run_->SetFrameBounds(value, run_->StopFrame());
        return;
    }
    if (NothingToPaint() && FrameCount() < 1) {
        run_->SetFrameBounds(0, 0);
        return;
    }
    if (!run_->SetBound(true, value, FrameCount())) return;
    run_->SetFrame(run_->StartFrame());
    Redraw();
}

void TKVXAniCtrl::SetStopFrame(int value) {
    if (Loading()) {
        run_->SetFrameBounds(run_->StartFrame(), value);
        return;
    }
    if (NothingToPaint() && FrameCount() < 1) {
        run_->SetFrameBounds(0, 0);
        return;
    }
    if (!run_->SetBound(false, value, FrameCount())) return;
    run_->SetFrame(run_->StartFrame());
    Redraw();
}

void TKVXAniCtrl::ShowFrame(int index) {
    if (run_->Animating() || NothingToPaint()) return;
    if (index < run_->StartFrame() || index > run_->StopFrame() || index > 255) return;
    run_->SetFrame(index);
    DrawFrame(true);
}

void TKVXAniCtrl::Loaded() {
    TKVXCustomLImage::Loaded();
    if (timerMode_ != TKVXTimerMode::tmGlobalTimer && poolTimer_ != 0) {
        const TKVXTimerMode mode = timerMode_;
        timerMode_ = TKVXTimerMode::tmGlobalTimer;
        DestroyTimer();
        timerMode_ = mode;
        CreateTimer();
    }
    run_->SetFrame(run_->FirstFrame());
    if (run_->Animating()) {
        run_->Stop();
        run_->Start();
    }
}

void TKVXAniCtrl::ImageListChanged(TObject* sender) {
    if (!Loading()) {
        run_->Stop();
        run_->SetFrameBounds(0, std::max(FrameCount() - 1, 0));
        run_->SetFrame(run_->FirstFrame());
    }
    ContentChanged(sender);
}

void TKVXAniCtrl::Invalidate() {
    if (Transparent()) backgroundDirty_ = true;
    TKVXCustomLImage::Invalidate();
}

void TKVXAniCtrl::BoundsChanged(TKVXBoundsKind kind) {
    if (Transparent()) backgroundDirty_ = true;
    TKVXCustomLImage::BoundsChanged(kind);
}

void TKVXAniCtrl::TransparentChanged() {
    if (Transparent()) {
        background_ = std::make_unique<fw::TBitmap>();
        backgroundDirty_ = true;
    } else {
        background_.reset();
    }
    TKVXCustomLImage::TransparentChanged();
}

void TKVXAniCtrl::Dispatch(fw::TMessage& message) {
    if (message.Msg == fw::CM_KVXPARENTBACKCHANGED && (Transparent() || SilentMove())) {
        Invalidate();
        return;
    }
    TKVXCustomLImage::Dispatch(message);
}

void TKVXAniCtrl::Paint() {
    if (Loading() || AutoSizeImage()) return;
    if (!Transparent() && !SilentOverBackground()) FillClient();
    if (NothingToPaint() && BevelWidth() == 0) {
        TKVXGraphicControl::Paint();
        return;
    }
    if (Transparent() && background_ && backgroundDirty_) {
        TRect inner;
        if (UsesParentBackground()) {
            background_->SetSize(Width(), Height());
            KVXSuiteParent(this)->CopyBackground(background_->Canvas(), ClientRect(), {Left(), Top()});
        } else {
            Bevel()->PaintBevel(Canvas(), ClientRect(), true, inner);
            const TPoint origin = ClientToScreen({inner.Left, inner.Top});
            KVXGrabScreen(background_.get(), fw::Bounds(origin.X, origin.Y, inner.Width(), inner.Height()));
        }
        backgroundDirty_ = false;
    }
    TRect inner;
    Bevel()->PaintBevel(Canvas(), ClientRect(), false, inner);
    DrawFrame(false);
}

void TKVXAniCtrl::DrawFrame(bool withEvent) {
    if (withEvent && OnAnimate) OnAnimate(this);
    if (NothingToPaint() || !Visible() || !Parent()) return;
    TRect d;
    Bevel()->InnerRect(ClientRect(), d);
    fw::TCanvas* c = Canvas();
    const uint16_t flags = PlacementFlags();
    const int frame = run_->Frame();
    const TColor transparent = ImageList()->TransparentColor(ListIndex(), frame);
    const TRect whole{0, 0, d.Width(), d.Height()};
    auto direct = [&] {
        RealizeListPalette(c);
        ImageList()->DrawClipped(c, d, flags, KVXPackClipOffset(Left(), Top()), transparent, ListIndex(), frame);
    };
    try {
        if (!Transparent() || SilentOverBackground()) {
            const bool seeThrough = ImageList()->IsMasked(ListIndex()) || forceTransparent_;
            if (seeThrough && useBitmap_) {
                // The frame over its background in a bitmap: the previous frame never shows through.
                fw::TBitmap work;
                if (SilentOverBackground()) {
                    work.SetSize(d.Width(), d.Height());
                    KVXSuiteParent(this)->CopyBackground(work.Canvas(), whole, {Left() + d.Left, Top() + d.Top});
                } else {
                    KVXFillBitmap(&work, whole, Color());
                }
                ImageList()->DrawClipped(work.Canvas(), whole, flags, 0, transparent, ListIndex(), frame);
                RealizeListPalette(c);
                c->Draw(d.Left, d.Top, &work);
            } else {
                if (seeThrough) {
                    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
                    c->Brush()->SetColor(Color());
                    c->FillRect(d);
                }
                direct();
            }
        } else if (useBitmap_ && background_) {
            fw::TBitmap work;
            work.SetSize(d.Width(), d.Height());
            work.Canvas()->CopyRect(whole, background_->Canvas(), fw::Bounds(d.Left, d.Top, d.Width(), d.Height()));
            ImageList()->DrawClipped(work.Canvas(), whole, flags, 0, transparent, ListIndex(), frame);
            c->Draw(d.Left, d.Top, &work);
        } else {
            direct();
        }
    } catch (const fw::Exception&) {
        // A broken frame must not stop the animation.
    }
}

}  // namespace kvx::win32
