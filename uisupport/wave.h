// TmlWave: a complete wave-file image held in memory and streamed in form text as the binary property
// "Data"; and the play options of the wave player with their sound flags.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/core/streams.h"

namespace uis {

class TmlWave : public fw::TPersistent {
public:
    TmlWave() = default;

    // Replace the image by the stream's content from its position to its end; set the modified flag.
    virtual void ReadData(fw::TStream& stream);
    // Write the whole image.
    virtual void WriteData(fw::TStream& stream);
    void LoadFromStream(fw::TStream& stream) { ReadData(stream); }
    void SaveToStream(fw::TStream& stream) { WriteData(stream); }
    virtual void LoadFromFile(const std::string& fileName);
    virtual void SaveToFile(const std::string& fileName);
    // From another wave: copy its image; from none: keep the image and set the modified flag.
    void Assign(fw::TPersistent* source) override;
    void DefineProperties(fw::TFiler& filer) override;

    bool Empty() const { return data_.Data().empty(); }
    int64_t Size() const { return static_cast<int64_t>(data_.Data().size()); }
    // The image; valid until the next change.
    const uint8_t* Memory() const { return data_.Data().data(); }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    void Clear();

    // Runs before the image is replaced or cleared, while the old image is still valid: a player that
    // plays it asynchronously stops here.
    fw::TNotifyEvent OnChanging;

private:
    void Changing();

    fw::TMemoryStream data_;
    bool modified_ = false;
};

enum class TmlWavePlayOpt { wpoSync, wpoAsync, wpoNoDefault, wpoLoop, wpoNoStop };
using TOptionsSet = fw::Set<TmlWavePlayOpt>;

// The sound flags of the options: always SND_MEMORY (4); wpoAsync 1, wpoNoDefault 2, wpoLoop 8,
// wpoNoStop 16; wpoSync nothing (synchronous is the platform's default).
uint32_t WavePlayFlags(TOptionsSet options);

// Registers TmlWave and the option names (after fw_core's classes).
void RegisterWaveClasses();

}  // namespace uis
