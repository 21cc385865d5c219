#include "uisupport/wave.h"

#include "framework/core/filer.h"

namespace uis {

void TmlWave::Changing() {
    if (OnChanging) OnChanging(this);
}

void TmlWave::ReadData(fw::TStream& stream) {
    const int64_t count = stream.Size() - stream.Position();
    fw::TMemoryStream image;
    if (count > 0) image.CopyFrom(stream, count);
    Changing();
    data_.Clear();
    image.SetPosition(0);
    if (count > 0) data_.CopyFrom(image, 0);
    data_.SetPosition(0);
    modified_ = true;
}

void TmlWave::WriteData(fw::TStream& stream) {
    if (Size() > 0) stream.WriteBuffer(Memory(), Size());
}

void TmlWave::LoadFromFile(const std::string& fileName) {
    fw::TFileStream stream(fileName, fw::fmOpenRead | fw::fmShareDenyWrite);
    ReadData(stream);
}

void TmlWave::SaveToFile(const std::string& fileName) {
    fw::TFileStream stream(fileName, fw::fmCreate);
    WriteData(stream);
}

void TmlWave::Assign(fw::TPersistent* source) {
    if (!source) {
        modified_ = true;
        return;
    }
    if (auto* wave = dynamic_cast<TmlWave*>(source)) {
        if (wave == this) return;
        Changing();
        data_.Clear();
        if (wave->Size() > 0) data_.WriteBuffer(wave->Memory(), wave->Size());
        data_.SetPosition(0);
        modified_ = true;
        return;
    }
    TPersistent::Assign(source);
}

void TmlWave::Clear() {
    Changing();
    data_.Clear();
    modified_ = true;
}

void TmlWave::DefineProperties(fw::TFiler& filer) {
    TPersistent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](fw::TStream& s) { ReadData(s); }, [this](fw::TStream& s) { WriteData(s); }, !Empty());
}

uint32_t WavePlayFlags(TOptionsSet options) {
    uint32_t flags = 4;  // SND_MEMORY
    if (options.Contains(TmlWavePlayOpt::wpoAsync)) flags |= 1;
    if (options.Contains(TmlWavePlayOpt::wpoNoDefault)) flags |= 2;
    if (options.Contains(TmlWavePlayOpt::wpoLoop)) flags |= 8;
    if (options.Contains(TmlWavePlayOpt::wpoNoStop)) flags |= 16;
    return flags;
}

void RegisterWaveClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TmlWavePlayOpt>({"wpoSync", "wpoAsync", "wpoNoDefault", "wpoLoop", "wpoNoStop"},
                                     "TmlWavePlayOpt");
    fw::Class<TmlWave, fw::TPersistent>("TmlWave");
}

}  // namespace uis
