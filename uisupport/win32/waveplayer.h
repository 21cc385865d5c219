// TmlWavePlayer plays its wave image with the platform's sound call (through a seam that tests
// replace); TmlMediaBevel draws a plain two-colour bevel.
//
// An asynchronous sound goes on reading the wave's memory while it plays, so the player stops it
// before that memory is replaced, loaded into, cleared or freed; an empty wave plays nothing.
#pragma once

#include <cstdint>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/controls.h"
#include "uisupport/wave.h"

namespace uis {

// Plays `sound` (a wave image in memory, or null to stop) with sndPlaySound's flags; the default is
// the system's sndPlaySoundA. Null returns to the default.
using SoundSeam = bool (*)(const void* sound, uint32_t flags);
void SetSoundSeam(SoundSeam seam);

class TmlWavePlayer : public fw::TComponent {
public:
    explicit TmlWavePlayer(fw::TComponent* owner);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    TOptionsSet Options() const { return options_; }
    void SetOptions(TOptionsSet value) { options_ = value; }
    TmlWave* Wave() const { return wave_.get(); }
    // Copies the given wave into the player's own.
    void SetWave(TmlWave* value) { wave_->Assign(value); }

    // BeforePlay; the sound when Enabled and the wave is not empty; AfterPlay.
    void Play();
    // Stops a sound this player started asynchronously.
    void Stop();

    fw::TNotifyEvent BeforePlay;
    fw::TNotifyEvent AfterPlay;

protected:
    ~TmlWavePlayer() override;

private:
    void WaveChanging(fw::TObject* sender);

    bool enabled_ = true;
    TOptionsSet options_{TmlWavePlayOpt::wpoSync};
    std::unique_ptr<TmlWave> wave_;
    bool playingAsync_ = false;
};

class TmlMediaBevel : public fw::TGraphicControl {
public:
    explicit TmlMediaBevel(fw::TComponent* owner);

    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    fw::TColor InnerColor() const { return innerColor_; }
    void SetInnerColor(fw::TColor value);
    fw::TColor OuterColor() const { return outerColor_; }
    void SetOuterColor(fw::TColor value);

protected:
    ~TmlMediaBevel() override = default;
    void Paint() override;

private:
    int bevelWidth_ = 2;
    fw::TColor innerColor_ = fw::clBtnHighlight;
    fw::TColor outerColor_ = fw::clBtnShadow;
};

void RegisterWavePlayerClasses();

}  // namespace uis
