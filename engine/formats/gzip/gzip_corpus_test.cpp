// TUnGZIP over the gzip and .Z files of the fixture corpus, natively and under Wine.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/testing/engine_test_env.h"
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
    owner->Free();
}

}  // namespace
}  // namespace engine
