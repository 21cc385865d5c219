// TUnGZIP over the gzip and .Z files of the fixture corpus, natively and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "engine/formats/gzip/gzip_component.h"
#include "testing/test_env.h"

namespace engine {
namespace {

TEST(GzipCorpus, FixturesPass)
{
    engine::test::SetUpEngineTests();
    RegisterUnGzipClasses();
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    TUnGZIP* gz = fw::Make<TUnGZIP>(owner);
    const std::string root = mx::test::FixtureDir() + "/";
    for (const char* name : {"gzip/commons-compress/members.gz", "gzip/commons-compress/multiple.gz",
                             "gzip/cornifer/testCompressThenConcat.txt.gz", "compress/libarchive/test_compat_mac-1.tar.Z",
                             "compress/patool/t.txt.Z", "compress/sharpcompress/large_test.txt.Z",
                             "compress/unarc-rs/LICENSE.Z"}) {
        SCOPED_TRACE(name);
        engine::test::ExtractRecorder rec;
        rec.Attach(*gz);
        gz->SetArchiveFile(mx::test::HostPath(root + name));
        ASSERT_EQ(gz->ArcType(), TArcType::atGZip);
        ASSERT_TRUE(gz->Test());
        EXPECT_TRUE(rec.errors.empty());
        EXPECT_EQ(rec.Passed(), 1);
    }
    // The output takes the first member's modification time; its name, the stored one.
    for (const auto& [name, output] : std::vector<std::pair<std::string, std::string>>{
             {"gzip/commons-compress/members.gz", "hello1.txt"},
             {"gzip/cornifer/testCompressThenConcat.txt.gz", "stCompressThenConcat.txt.1"}}) {
        SCOPED_TRACE(name);
        engine::test::ExtractRecorder rec;
        rec.Attach(*gz);
        const std::string out = mx::test::FreshDir() + "/" + output + ".out";
        gz->SetArchiveFile(mx::test::HostPath(root + name));
        gz->SetExtractDir(mx::test::HostPath(out));
        ASSERT_TRUE(gz->Extract());
        EXPECT_EQ(rec.Passed(), 1);
        const std::string bytes = mx::test::ReadFile(root + name);
        const uint32_t mtime = Le32(reinterpret_cast<const uint8_t*>(bytes.data()) + 4);
        EXPECT_EQ(test::FileDate(mx::test::HostPath(out + "/" + output)), test::UnixStampText(mtime));
        EXPECT_EQ(FileGetAttr(mx::test::HostPath(out + "/" + output)) & 0x07, 0);
    }
    owner->Free();
}

}  // namespace
}  // namespace engine
