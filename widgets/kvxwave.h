// TKVXWave: one RIFF WAVE sound held in memory, streamed with its form as the binary property "Data"
// (a 32-bit length, then the image) and stored by the containers plain (SaveWithSize) or inside the
// compressed frame (SaveCompressed). Playing goes through the wave player installed by the program
// (the Win32 start-up installs the system's asynchronous player); without one nothing plays.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "widgets/kvxclass.h"

namespace kvx {

using fw::Exception;
// Data that is not a RIFF WAVE image; the wave is unchanged.
FW_DECLARE_EXCEPTION(EInvalidWave, Exception);
// A header that ends before the format chunk's first fields; the wave is unchanged.
FW_DECLARE_EXCEPTION(EErrorCheckingWave, Exception);

// The sound output behind Play and Stop: an asynchronous player of an in-memory RIFF WAVE image that
// plays from the caller's memory (so the wave stops it before that memory goes).
struct TKVXWavePlayer {
    std::function<bool()> DeviceAvailable;
    std::function<bool(const uint8_t* image, size_t size)> Play;
    std::function<void()> Stop;
};
void KVXSetWavePlayer(TKVXWavePlayer player);
// At least one wave output device (false without a player).
bool KVXWaveDeviceAvailable();

// True when the stream starts with "RIFF", a length, "WAVE", "fmt ", a chunk length and 14 bytes of
// the format record (34 bytes in all); reading stops at the first tag that does not match. False for
// a missing or empty stream. A stream that ends before the check is decided raises EErrorCheckingWave.
// The stream is rewound to 0 in every case.
bool KVXCheckWaveData(fw::TStream* stream);

class TKVXWave : public TKVXObject {
public:
    TKVXWave() = default;
    ~TKVXWave() override;
    static std::unique_ptr<TKVXWave> CreateFromFile(const std::string& fileName);

    // The RIFF image, or null when the wave holds none.
    fw::TMemoryStream* Data() const { return data_.get(); }
    // Stops a sound playing from the old data, takes the stream (null empties the wave), rewinds it
    // and notifies.
    void SetData(std::unique_ptr<fw::TMemoryStream> data);
    void Clear() { SetData(nullptr); }
    bool Empty() const { return !data_ || data_->Size() == 0; }
    int64_t Size() const { return data_ ? data_->Size() : 0; }

    // Starts the sound and returns at once; false when the wave is empty, no device is there or the
    // player refuses.
    bool Play();
    void Stop();

    void LoadFromFile(const std::string& fileName);
    // The rest of Stream. A stream that is empty as a whole clears the wave; an empty rest raises.
    void LoadFromStream(fw::TStream& stream);
    void SaveToFile(const std::string& fileName);
    void SaveToStream(fw::TStream& stream);
    // The image after its 32-bit length; a length of 0 clears the wave.
    void LoadWithSize(fw::TStream& stream);
    void SaveWithSize(fw::TStream& stream);
    // The image inside the compressed frame.
    void LoadCompressed(fw::TStream& stream);
    void SaveCompressed(fw::TStream& stream);

    // Null empties; another wave is copied; anything else raises the framework's conversion error.
    void Assign(fw::TPersistent* source) override;
    void DefineProperties(fw::TFiler& filer) override;

    // The streamed property "Data": a 32-bit length and the image.
    void ReadData(fw::TStream& stream);
    void WriteData(fw::TStream& stream);

private:
    // Reads Count bytes of Stream as the new image; `origin` names the source in the message.
    void LoadData(int64_t count, fw::TStream& stream, const std::string& origin);
    void StoreData(fw::TStream& stream, bool withLength);
    void StopIfPlaying();

    std::unique_ptr<fw::TMemoryStream> data_;
};

// The wave items of the containers: SaveCompressed / SaveWithSize and their readers.
void KVXWriteWave(fw::TStream& stream, TKVXWave* wave, bool compressed);
void KVXReadWave(fw::TStream& stream, TKVXWave* wave, bool compressed);

}  // namespace kvx
