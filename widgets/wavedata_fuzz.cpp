// Reads arbitrary bytes as a wave's streamed "Data" (and, by the first byte, as a compressed wave); a
// wave that loads must write the same image back.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "widgets/kvxwave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    fw::TMemoryStream in;
    in.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
    in.SetPosition(0);
    kvx::TKVXWave wave;
    try {
        if (data[0] & 1)
            wave.LoadCompressed(in);
        else
            wave.ReadData(in);
    } catch (const fw::Exception&) {
        return 0;
    }
    fw::TMemoryStream saved;
    wave.SaveToStream(saved);
    if (saved.Size() != wave.Size()) std::abort();
    if (!wave.Empty() && !kvx::KVXCheckWaveData(wave.Data())) std::abort();
    return 0;
}
