#include "widgets/kvxwave.h"

#include <cstring>

#include "framework/core/filer.h"
#include "widgets/kvxframe.h"
#include "widgets/kvxstreams.h"

namespace kvx {

namespace {

TKVXWavePlayer& Player() {
    static TKVXWavePlayer player;
    return player;
}

// Reads exactly Count bytes or raises EErrorCheckingWave (the header ended too early).
void ReadHeader(fw::TStream& stream, void* buffer, int64_t count) {
    if (stream.Read(buffer, count) != count) throw EErrorCheckingWave("GetWaveData: Cannot open file %s");
}

bool Tag(fw::TStream& stream, const char* tag) {
    char b[4];
    ReadHeader(stream, b, 4);
    return std::memcmp(b, tag, 4) == 0;
}

// Skips up to 32 bytes of the header.
void Skip(fw::TStream& stream, int64_t count) {
    uint8_t b[32];
    ReadHeader(stream, b, count);
}

}  // namespace

void KVXSetWavePlayer(TKVXWavePlayer player) { Player() = std::move(player); }

bool KVXWaveDeviceAvailable() { return Player().DeviceAvailable && Player().DeviceAvailable(); }

bool KVXCheckWaveData(fw::TStream* stream) {
    if (!stream || stream->Size() == 0) return false;
    stream->SetPosition(0);
    bool valid = false;
    try {
        // RIFF, its length, WAVE, "fmt ", the chunk length, 12 bytes of the format record and 2 more.
        valid = Tag(*stream, "RIFF");
        if (valid) Skip(*stream, 4);
        valid = valid && Tag(*stream, "WAVE") && Tag(*stream, "fmt ");
        if (valid) Skip(*stream, 4 + 12 + 2);
    } catch (...) {
        stream->SetPosition(0);
        throw;
    }
    stream->SetPosition(0);
    return valid;
}

TKVXWave::~TKVXWave() { StopIfPlaying(); }

std::unique_ptr<TKVXWave> TKVXWave::CreateFromFile(const std::string& fileName) {
    auto wave = std::make_unique<TKVXWave>();
    wave->LoadFromFile(fileName);
    return wave;
}

void TKVXWave::StopIfPlaying() {
    // The system plays from our memory: a sound of the old data must end before the data goes.
    if (data_) Stop();
}

void TKVXWave::SetData(std::unique_ptr<fw::TMemoryStream> data) {
    StopIfPlaying();
    data_ = std::move(data);
    if (data_) data_->SetPosition(0);
    Change();
}

bool TKVXWave::Play() {
    if (Empty() || !KVXWaveDeviceAvailable() || !Player().Play) return false;
    return Player().Play(data_->Memory(), static_cast<size_t>(data_->Size()));
}

void TKVXWave::Stop() {
    if (Player().Stop) Player().Stop();
}

void TKVXWave::LoadData(int64_t count, fw::TStream& stream, const std::string& origin) {
    if (stream.Size() == 0) {
        Clear();
        return;
    }
    if (count < 0 || count > stream.Size() - stream.Position()) throw fw::EReadError(fw::SReadError);
    auto image = std::make_unique<fw::TMemoryStream>();
    image->SetSize(count);
    if (count) stream.ReadBuffer(image->Memory(), count);
    if (!KVXCheckWaveData(image.get())) throw EInvalidWave(ClassName() + ": Cannot open file " + origin);
    SetData(std::move(image));
}

void TKVXWave::StoreData(fw::TStream& stream, bool withLength) {
    if (!data_) data_ = std::make_unique<fw::TMemoryStream>();
    const int64_t size = data_->Size();
    if (withLength) KVXWriteInteger(stream, static_cast<int32_t>(size));
    if (size) stream.WriteBuffer(data_->Memory(), size);
}

void TKVXWave::LoadFromFile(const std::string& fileName) {
    fw::TFileStream file(fileName, fw::fmOpenRead | fw::fmShareDenyWrite);
    LoadData(file.Size(), file, fileName);
}

void TKVXWave::LoadFromStream(fw::TStream& stream) { LoadData(stream.Size() - stream.Position(), stream, "(stream)"); }

void TKVXWave::SaveToFile(const std::string& fileName) {
    fw::TFileStream file(fileName, fw::fmCreate);
    SaveToStream(file);
}

void TKVXWave::SaveToStream(fw::TStream& stream) { StoreData(stream, false); }

void TKVXWave::LoadWithSize(fw::TStream& stream) {
    const int64_t length = static_cast<uint32_t>(KVXReadInteger(stream));
    // An empty wave is stored as the length 0 and must read back as an empty wave.
    if (length == 0) {
        SetData(std::make_unique<fw::TMemoryStream>());
        return;
    }
    LoadData(length, stream, "(stream)");
}

void TKVXWave::SaveWithSize(fw::TStream& stream) { StoreData(stream, true); }

void TKVXWave::LoadCompressed(fw::TStream& stream) {
    fw::TMemoryStream image;
    KVXDecompressFromStream(stream, image);
    image.SetPosition(0);
    LoadFromStream(image);
}

void TKVXWave::SaveCompressed(fw::TStream& stream) {
    fw::TMemoryStream image;
    SaveToStream(image);
    image.SetPosition(0);
    KVXCompressToStream(image, stream, image.Size());
}

void TKVXWave::Assign(fw::TPersistent* source) {
    if (!source) {
        Clear();
        return;
    }
    if (auto* other = dynamic_cast<TKVXWave*>(source)) {
        if (other == this) return;
        std::unique_ptr<fw::TMemoryStream> copy;
        if (fw::TMemoryStream* from = other->Data()) {
            copy = std::make_unique<fw::TMemoryStream>();
            if (from->Size()) copy->WriteBuffer(from->Memory(), from->Size());
            from->SetPosition(0);
        }
        SetData(std::move(copy));
        return;
    }
    TKVXObject::Assign(source);
}

void TKVXWave::DefineProperties(fw::TFiler& filer) {
    TKVXObject::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Data", [this](fw::TStream& s) { ReadData(s); }, [this](fw::TStream& s) { WriteData(s); }, data_ != nullptr);
}

void TKVXWave::ReadData(fw::TStream& stream) { LoadWithSize(stream); }

void TKVXWave::WriteData(fw::TStream& stream) { StoreData(stream, true); }

void KVXWriteWave(fw::TStream& stream, TKVXWave* wave, bool compressed) {
    if (!wave) return;
    if (compressed)
        wave->SaveCompressed(stream);
    else
        wave->SaveWithSize(stream);
}

void KVXReadWave(fw::TStream& stream, TKVXWave* wave, bool compressed) {
    if (!wave) return;
    if (compressed)
        wave->LoadCompressed(stream);
    else
        wave->LoadWithSize(stream);
}

}  // namespace kvx
