#include "widgets/kvxwave.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"
#include "widgets/kvxregister.h"

namespace kvx {
namespace {

std::string Dir() {
    static const std::string dir = mx::test::FreshDir();
    return dir;
}

// A sound made by sox: 8 or 16 bits, one or two channels, 50 ms of a tone.
std::string SoxWave(int bits, int channels) {
    const std::string name = Dir() + "/tone" + std::to_string(bits) + "_" + std::to_string(channels) + ".wav";
    const std::string cmd = "sox -n -r 8000 -b " + std::to_string(bits) + " -c " + std::to_string(channels) + " '" + name +
                            "' synth 0.05 sine 440 2>/dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << "sox failed: install the Debian package 'sox'";
    return name;
}

std::string Image(TKVXWave& w) {
    fw::TMemoryStream s;
    w.SaveToStream(s);
    return std::string(s.Data().begin(), s.Data().end());
}

class KVXWave : public ::testing::Test {
protected:
    void SetUp() override { KVXRegisterClasses(); }
    void TearDown() override { KVXSetWavePlayer({}); }
};

TEST_F(KVXWave, SoxWavesRoundTripByteIdentical) {
    for (int bits : {8, 16})
        for (int channels : {1, 2}) {
            const std::string file = SoxWave(bits, channels);
            const std::string bytes = mx::test::ReadFile(file);
            TKVXWave w;
            w.LoadFromFile(file);
            ASSERT_EQ(Image(w), bytes) << file;
            // Plain with its length, compressed, and as the streamed "Data".
            fw::TMemoryStream plain, packed, data;
            w.SaveWithSize(plain);
            EXPECT_EQ(plain.Size(), static_cast<int64_t>(4 + bytes.size()));
            w.SaveCompressed(packed);
            w.WriteData(data);
            for (auto* s : {&plain, &packed, &data}) s->SetPosition(0);
            TKVXWave a, b, c;
            a.LoadWithSize(plain);
            b.LoadCompressed(packed);
            c.ReadData(data);
            EXPECT_EQ(Image(a), bytes);
            EXPECT_EQ(Image(b), bytes);
            EXPECT_EQ(Image(c), bytes);
            const auto copy = TKVXWave::CreateFromFile(file);
            TKVXWave d;
            d.Assign(copy.get());
            EXPECT_EQ(Image(d), bytes);
            EXPECT_EQ(copy->Data()->Position(), 0);
        }
}

TEST_F(KVXWave, DamagedFilesRaiseTheWaveExceptions) {
    const std::string good = mx::test::ReadFile(SoxWave(8, 1));
    const std::string cut = Dir() + "/cut33.wav";
    mx::test::WriteFile(cut, good.substr(0, 33));
    const std::string text = Dir() + "/text.wav";
    mx::test::WriteFile(text, std::string(100, 'x'));
    TKVXWave w;
    w.LoadFromFile(Dir() + "/tone8_1.wav");
    EXPECT_THROW(w.LoadFromFile(cut), EErrorCheckingWave);
    try {
        w.LoadFromFile(text);
        FAIL() << "a file that is not RIFF loaded";
    } catch (const EInvalidWave& e) {
        EXPECT_EQ(e.Message().rfind("TKVXWave: Cannot open file ", 0), 0u) << e.Message();
    }
    EXPECT_EQ(Image(w), good);  // the wave kept its data
    EXPECT_THROW(w.LoadFromFile(Dir() + "/missing.wav"), fw::EFOpenError);
}

TEST_F(KVXWave, CheckStopsAtTheFirstWrongTag) {
    fw::TMemoryStream s;
    s.WriteString("RIFX\0\0");  // a wrong tag in a stream too short for the rest
    EXPECT_FALSE(KVXCheckWaveData(&s));
    EXPECT_EQ(s.Position(), 0);
    s.Clear();
    s.WriteString(std::string("RIFF\x04\0\0\0WAVX", 12));
    EXPECT_FALSE(KVXCheckWaveData(&s));
    s.Clear();
    s.WriteString(std::string("RIFF\x04\0\0\0WAVEfmt ", 16));
    EXPECT_THROW(KVXCheckWaveData(&s), EErrorCheckingWave);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_FALSE(KVXCheckWaveData(nullptr));
    s.Clear();
    EXPECT_FALSE(KVXCheckWaveData(&s));
}

TEST_F(KVXWave, EmptyWaveStreamsAsLengthZeroAndReadsBackEmpty) {
    TKVXWave empty;
    fw::TMemoryStream data;
    empty.WriteData(data);
    EXPECT_EQ(data.Data(), (std::vector<uint8_t>{0, 0, 0, 0}));
    data.SetPosition(0);
    TKVXWave back;
    back.LoadFromFile(SoxWave(8, 1));
    back.ReadData(data);  // must not raise: a form holding an empty wave loads
    EXPECT_TRUE(back.Empty());
    EXPECT_NE(back.Data(), nullptr);  // still written again as "Data" = length 0
}

TEST_F(KVXWave, LoadingFromAStream) {
    TKVXWave w;
    w.LoadFromFile(SoxWave(16, 1));
    fw::TMemoryStream none;
    w.LoadFromStream(none);  // an empty stream clears the wave
    EXPECT_TRUE(w.Empty());
    fw::TMemoryStream atEnd;
    atEnd.WriteString("xyz");
    EXPECT_THROW(w.LoadFromStream(atEnd), EInvalidWave);  // an empty rest is not a wave
    fw::TMemoryStream huge;
    huge.WriteString(std::string("\xFF\xFF\xFF\x7F" "RIFF", 8));
    huge.SetPosition(0);
    EXPECT_THROW(w.LoadWithSize(huge), fw::EReadError);  // a length beyond the data is not allocated
}

struct PlayerLog {
    int plays = 0, stops = 0;
    size_t size = 0;
    bool device = true;
};

TEST_F(KVXWave, PlayGoesThroughThePlayer) {
    PlayerLog log;
    KVXSetWavePlayer({[&] { return log.device; },
                      [&](const uint8_t* image, size_t size) {
                          ++log.plays;
                          log.size = size;
                          return image != nullptr;
                      },
                      [&] { ++log.stops; }});
    TKVXWave w;
    EXPECT_FALSE(w.Play());  // empty: nothing plays
    EXPECT_EQ(log.plays, 0);
    w.LoadFromFile(SoxWave(8, 2));
    EXPECT_TRUE(w.Play());
    EXPECT_EQ(log.size, static_cast<size_t>(w.Size()));
    const int stopsBefore = log.stops;
    w.Clear();  // the old data goes only after its sound was stopped
    EXPECT_EQ(log.stops, stopsBefore + 1);
    log.device = false;
    w.LoadFromFile(SoxWave(8, 2));
    EXPECT_FALSE(w.Play());
    EXPECT_EQ(log.plays, 1);
    KVXSetWavePlayer({});
    EXPECT_FALSE(KVXWaveDeviceAvailable());
}

// A component publishing a wave, as the form text streams it.
class TWaveHolder : public TKVXComponent {
public:
    explicit TWaveHolder(TComponent* owner) : TKVXComponent(owner) {}
    TKVXWave* Wave() const { return wave_.get(); }
    void SetWave(TKVXWave* w) { wave_->Assign(w); }

private:
    std::unique_ptr<TKVXWave> wave_ = std::make_unique<TKVXWave>();
};

TEST_F(KVXWave, FormTextKeepsTheData) {
    fw::Class<TWaveHolder, TKVXComponent>("TWaveHolder").Prop("Wave", &TWaveHolder::Wave, &TWaveHolder::SetWave);
    for (bool empty : {false, true}) {
        auto* a = new TWaveHolder(nullptr);
        a->SetName("Holder");
        if (empty)
            a->Wave()->SetData(std::make_unique<fw::TMemoryStream>());
        else
            a->Wave()->LoadFromFile(SoxWave(16, 2));
        const std::string text = fw::WriteComponentText(a);
        EXPECT_NE(text.find("Wave.Data = {"), std::string::npos) << text;
        auto* b = new TWaveHolder(nullptr);
        fw::ReadComponentText(b, text, "Holder");
        EXPECT_EQ(Image(*b->Wave()), Image(*a->Wave()));
        EXPECT_EQ(fw::WriteComponentText(b), text);
        a->Free();
        b->Free();
    }
}

}  // namespace
}  // namespace kvx
