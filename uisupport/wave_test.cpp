// The wave image: streams, files, assignment, the binary property and the play flags.
#include "uisupport/wave.h"

#include <gtest/gtest.h>

#include "testing/test_env.h"

namespace uis {
namespace {

TEST(Wave, StreamsFilesAndAssignmentKeepTheImage) {
    const std::string image = std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(200, '\x80');
    fw::TMemoryStream source;
    source.WriteString("skip" + image);
    source.SetPosition(4);  // the image runs from the position to the end
    TmlWave wave;
    int changes = 0;
    wave.OnChanging.Bind(&changes, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    wave.LoadFromStream(source);
    EXPECT_TRUE(wave.Modified());
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(wave.Size(), static_cast<int64_t>(image.size()));

    const std::string file = mx::test::FreshDir() + "/copy.wav";
    wave.SaveToFile(file);
    EXPECT_EQ(mx::test::ReadFile(file), image);
    TmlWave loaded;
    loaded.LoadFromFile(file);
    TmlWave copy;
    copy.Assign(&loaded);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy.Memory()), copy.Size()), image);
    copy.SetModified(false);
    copy.Assign(nullptr);  // keeps the image, marks it modified
    EXPECT_TRUE(copy.Modified());
    EXPECT_EQ(copy.Size(), static_cast<int64_t>(image.size()));
    copy.Clear();
    EXPECT_TRUE(copy.Empty());
}

TEST(Wave, PlayFlagsAlwaysCarryTheMemoryFlag) {
    using O = TmlWavePlayOpt;
    const std::pair<TOptionsSet, uint32_t> cases[] = {
        {{O::wpoSync}, 4}, {{O::wpoAsync}, 5}, {{O::wpoNoDefault}, 6}, {{O::wpoLoop}, 12},
        {{O::wpoNoStop}, 20}, {{O::wpoAsync, O::wpoLoop, O::wpoNoDefault, O::wpoNoStop}, 31}, {{}, 4},
    };
    for (const auto& [options, flags] : cases) EXPECT_EQ(WavePlayFlags(options), flags) << options.Bits();
}

}  // namespace
}  // namespace uis
