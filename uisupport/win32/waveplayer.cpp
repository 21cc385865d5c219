#include "uisupport/win32/waveplayer.h"

#include <mmsystem.h>

#include "framework/win32/graphics.h"

namespace uis {

namespace {

bool SystemSound(const void* sound, uint32_t flags) {
    return sndPlaySoundA(static_cast<LPCSTR>(sound), flags) != FALSE;
}

SoundSeam g_sound = &SystemSound;

constexpr uint32_t kSndAsync = 1;

}  // namespace

void SetSoundSeam(SoundSeam seam) { g_sound = seam ? seam : &SystemSound; }

// ---- TmlWavePlayer ------------------------------------------------------------------------------

TmlWavePlayer::TmlWavePlayer(fw::TComponent* owner) : TComponent(owner), wave_(std::make_unique<TmlWave>()) {
    wave_->OnChanging = fw::TNotifyEvent(this, &TmlWavePlayer::WaveChanging);
}

TmlWavePlayer::~TmlWavePlayer() {
    // Whatever plays, it stops before the image goes.
    g_sound(nullptr, 0);
}

void TmlWavePlayer::Play() {
    if (BeforePlay) BeforePlay(this);
    if (enabled_ && !wave_->Empty()) {
        const uint32_t flags = WavePlayFlags(options_);
        g_sound(wave_->Memory(), flags);
        playingAsync_ = (flags & kSndAsync) != 0;
    }
    if (AfterPlay) AfterPlay(this);
}

void TmlWavePlayer::Stop() {
    if (!playingAsync_) return;
    playingAsync_ = false;
    g_sound(nullptr, 0);
}

void TmlWavePlayer::WaveChanging(fw::TObject*) { Stop(); }

// ---- TmlMediaBevel ------------------------------------------------------------------------------

TmlMediaBevel::TmlMediaBevel(fw::TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TmlMediaBevel::SetBevelWidth(int value) {
    bevelWidth_ = value;
    Invalidate();
}

void TmlMediaBevel::SetInnerColor(fw::TColor value) {
    innerColor_ = value;
    Invalidate();
}

void TmlMediaBevel::SetOuterColor(fw::TColor value) {
    outerColor_ = value;
    Invalidate();
}

void TmlMediaBevel::Paint() {
    fw::TCanvas* canvas = Canvas();
    const int w = Width();
    const int h = Height();
    for (int i = 0; i < bevelWidth_; ++i) {
        canvas->Pen()->SetColor(innerColor_);
        canvas->MoveTo(i, i);
        canvas->LineTo(w - i, i);
        canvas->MoveTo(i, i);
        canvas->LineTo(i, h - i);
        canvas->Pen()->SetColor(outerColor_);
        canvas->MoveTo(i, h - i - 1);
        canvas->LineTo(w - i, h - i - 1);
        canvas->MoveTo(w - i - 1, i);
        canvas->LineTo(w - i - 1, h - i - 1);
    }
}

void RegisterWavePlayerClasses() {
    RegisterWaveClasses();
    fw::Class<TmlWavePlayer, fw::TComponent>("TmlWavePlayer")
        .Prop("Enabled", &TmlWavePlayer::Enabled, &TmlWavePlayer::SetEnabled)
        .Prop("Options", &TmlWavePlayer::Options, &TmlWavePlayer::SetOptions)
        .Prop("Wave", &TmlWavePlayer::Wave, &TmlWavePlayer::SetWave)
        .Event("BeforePlay", &TmlWavePlayer::BeforePlay)
        .Event("AfterPlay", &TmlWavePlayer::AfterPlay);
    fw::Class<TmlMediaBevel, fw::TGraphicControl>("TmlMediaBevel")
        .Prop("BevelWidth", &TmlMediaBevel::BevelWidth, &TmlMediaBevel::SetBevelWidth)
        .Prop("InnerColor", &TmlMediaBevel::InnerColor, &TmlMediaBevel::SetInnerColor)
        .Idents(fw::ColorIdentTable())
        .Prop("OuterColor", &TmlMediaBevel::OuterColor, &TmlMediaBevel::SetOuterColor)
        .Idents(fw::ColorIdentTable());
}

}  // namespace uis
