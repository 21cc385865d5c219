// TUnTAR over the TAR archives of the fixture corpus, natively and under Wine: every regular file
// that tar -tv lists comes out.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "engine/formats/tar/tar_component.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

TEST(TarCorpus, FixturesExtract)
{
    engine::test::SetUpEngineTests();
    RegisterUnTarClasses();
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    TUnTAR* untar = fw::Make<TUnTAR>(owner);
    struct Case {
        const char* name;
        int files;
    };
    const std::string root = mx::test::FixtureDir() + "/tar/";
    // The counts are those of tar -tv's regular files.
    for (const Case& c : {Case{"commons-compress/SunOS_cEf.tar", 10}, Case{"commons-compress/test-times-v7.tar", 1},
                          Case{"commons-compress/vmgump_gnu.tar", 8}, Case{"commons-compress/vmgump_oldgnu.tar", 8},
                          Case{"commons-compress/vmgump_pax.tar", 8}, Case{"commons-compress/vmgump_posix.tar", 8},
                          Case{"commons-compress/vmgump_ustar.tar", 8},
#ifndef _WIN32
                          // Its 200-character name does not fit the system's path limit under Windows.
                          Case{"libarchive/test_compat_gtar_1.tar", 1},
#endif
                          }) {
        SCOPED_TRACE(c.name);
        engine::test::ExtractRecorder rec;
        rec.Attach(*untar);
        const std::string out = mx::test::FreshDir() + "/" + fs::path(c.name).stem().string();
        untar->SetArchiveFile(mx::test::HostPath(root + c.name));
        untar->SetExtractDir(mx::test::HostPath(out));
        ASSERT_TRUE(untar->Extract());
        EXPECT_TRUE(rec.errors.empty()) ;
        EXPECT_EQ(rec.Passed(), c.files);
        int files = 0;
        if (fs::exists(out))
            for (const auto& e : fs::recursive_directory_iterator(out))
                files += e.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, c.files);
    }
    // The v7 archive's one file gets its Unix time (octal 14213514557 in the header) as its date.
    const std::string out = mx::test::FreshDir() + "/times";
    engine::test::ExtractRecorder rec;
    rec.Attach(*untar);
    untar->SetArchiveFile(mx::test::HostPath(root + "commons-compress/test-times-v7.tar"));
    untar->SetExtractDir(mx::test::HostPath(out));
    ASSERT_TRUE(untar->Extract());
    EXPECT_EQ(rec.Passed(), 1);
    EXPECT_EQ(mx::test::ReadFile(root + "commons-compress/test-times-v7.tar").substr(136, 11), "14213514557");
    EXPECT_EQ(test::FileDate(mx::test::HostPath(out + "/test-times.txt")), test::UnixStampText(1647221103));
    EXPECT_EQ(FileGetAttr(mx::test::HostPath(out + "/test-times.txt")) & 0x07, 0);
    owner->Free();
}

}  // namespace
}  // namespace engine
