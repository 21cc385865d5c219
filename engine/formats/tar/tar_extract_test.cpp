// TUnTAR over archives that GNU tar, bsdtar and Python's tarfile make at test time: every format, long
// paths, empty files, links and a volume label extract to exactly the regular files tar -x gives.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "engine/formats/tar/tar_component.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

// Each regular file below Dir (links left out) with its bytes.
std::map<std::string, std::string> RegularFiles(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file() && !e.is_symlink())
            files[fs::relative(e.path(), dir).generic_string()] = mx::test::ReadFile(e.path().string());
    return files;
}

class TarExtract : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterUnTarClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        untar_ = fw::Make<TUnTAR>(owner_);
        dir_ = mx::test::FreshDir();
        const std::string longDir = "src/" + std::string(90, 'd') + "/" + std::string(80, 'e') + "/" + std::string(95, 'f');
        fs::create_directories(dir_ + "/" + longDir);
        fs::create_directories(dir_ + "/src/empty_dir");
        mx::test::WriteFile(dir_ + "/src/a.txt", "alpha\n");
        mx::test::WriteFile(dir_ + "/src/empty.txt", "");
        mx::test::WriteFile(dir_ + "/" + longDir + "/" + std::string(120, 'n') + ".txt", std::string(3000, 'L'));
        std::string big;
        for (int i = 0; i < 70000; ++i)
            big += char('a' + i % 26);
        mx::test::WriteFile(dir_ + "/src/big.bin", big);
        // An odd second: files keep DOS time, in two-second steps.
        EXPECT_EQ(std::system(("touch -d '2020-02-03 04:05:07' '" + dir_ + "/src/big.bin'").c_str()), 0);
        fs::create_symlink("a.txt", dir_ + "/src/link");
        fs::create_hard_link(dir_ + "/src/a.txt", dir_ + "/src/hard.txt");
    }
    void TearDown() override { owner_->Free(); }

    // Extracts the archive at Path with TUnTAR into Ours and with tar -x into Theirs, and compares the
    // regular files byte for byte and their dates (to DOS precision).
    void ExtractBoth(const std::string& path, const std::string& ours, const std::string& theirs)
    {
        SCOPED_TRACE(path);
        fs::create_directories(theirs);
        ASSERT_TRUE(engine::test::RunIn(theirs, "tar -xf '" + path + "'", "tar", "tar"));
        engine::test::ExtractRecorder rec;
        rec.Attach(*untar_);
        untar_->SetArchiveFile(path);
        ASSERT_EQ(untar_->ArcType(), TArcType::atTar);
        untar_->SetExtractDir(ours);
        ASSERT_TRUE(untar_->Extract());
        EXPECT_TRUE(rec.errors.empty()) << ::testing::PrintToString(rec.errors);
        EXPECT_EQ(rec.Failed(), 0);
        // A hard link comes out as a copy of the file it names.
        const auto files = RegularFiles(theirs);
        EXPECT_EQ(RegularFiles(ours), files);
        EXPECT_EQ(rec.Passed(), int(files.size()));
        for (const auto& [name, bytes] : files) {
            EXPECT_EQ(test::FileDate(ours + "/" + name), test::FileDate(theirs + "/" + name)) << name;
            EXPECT_EQ(FileGetAttr(ours + "/" + name) & 0x07, 0) << name;
        }
    }

    // The same for an archive of the test's tree, which holds an empty file and a dated one.
    void Compare(const std::string& archive)
    {
        const std::string ours = dir_ + "/ours_" + archive;
        ExtractBoth(dir_ + "/" + archive, ours, dir_ + "/theirs_" + archive);
        EXPECT_EQ(fs::file_size(ours + "/src/empty.txt"), 0u);
        EXPECT_EQ(test::FileDate(ours + "/src/big.bin"), "2020-02-03 04:05:06");
    }

    fw::TComponent* owner_ = nullptr;
    TUnTAR* untar_ = nullptr;
    std::string dir_;
};

TEST_F(TarExtract, GnuTarFormats)
{
    for (const char* format : {"gnu", "oldgnu", "ustar", "pax", "posix", "v7"}) {
        const std::string name = std::string(format) + ".tar";
        std::string cmd = "tar --format=" + std::string(format) + " -cf " + name + " src";
        if (std::string(format) == "ustar" || std::string(format) == "oldgnu" || std::string(format) == "v7")
            cmd = "tar --format=" + std::string(format) + " -cf " + name +
                  " --exclude='*ddddddddd*' src";  // these formats cannot hold the longest path
        ASSERT_TRUE(engine::test::RunIn(dir_, cmd, "tar", "tar"));
        Compare(name);
    }
    ASSERT_TRUE(engine::test::RunIn(dir_, "tar -V LABEL -cf label.tar src", "tar", "tar"));
    Compare("label.tar");
}

TEST_F(TarExtract, BsdtarFormats)
{
    for (const char* format : {"ustar", "pax", "gnutar", "v7"}) {
        const std::string name = std::string("bsd_") + format + ".tar";
        std::string cmd = "bsdtar --format " + std::string(format) + " -cf " + name + " src";
        // ustar and v7 cannot hold the longest path: bsdtar leaves it out (and says so).
        if (std::string(format) != "pax" && std::string(format) != "gnutar")
            cmd += " 2>/dev/null; test -s " + name;
        ASSERT_TRUE(engine::test::RunIn(dir_, cmd, "bsdtar", "libarchive-tools"));
        SCOPED_TRACE(format);
        Compare(name);
    }
}

// Every TAR archive of the corpus extracts to the files tar -x gives, byte for byte, with their dates.
TEST_F(TarExtract, CorpusMatchesTarX)
{
    const std::string root = mx::test::FixtureDir() + "/tar";
    int archives = 0;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        // A volume label and nothing after it: detection takes it for no TAR archive (nor does tar -x
        // give a file).
        if (!e.is_regular_file() || e.path().filename() == "test_read_format_tar_empty_with_gnulabel.tar")
            continue;
        const std::string key = e.path().stem().string();
        ExtractBoth(e.path().string(), dir_ + "/ours_" + key, dir_ + "/theirs_" + key);
        ++archives;
    }
    EXPECT_EQ(archives, 8);
}

// Names that climb out of the extract folder or start at the root write nothing outside it.
TEST_F(TarExtract, HostileNames)
{
    const std::string script =
        "import tarfile, io\n"
        "t = tarfile.open('evil.tar', 'w', format=tarfile.GNU_FORMAT)\n"
        "for n in ['../up.txt', '/abs.txt', 'ok/../../up2.txt', 'fine.txt']:\n"
        "    i = tarfile.TarInfo(n); d = b'x' * 5; i.size = len(d); t.addfile(i, io.BytesIO(d))\n"
        "t.close()\n";
    mx::test::WriteFile(dir_ + "/evil.py", script);
    ASSERT_TRUE(engine::test::RunIn(dir_, engine::test::Python() + " evil.py", "python3", "python3"));
    engine::test::ExtractRecorder rec;
    rec.Attach(*untar_);
    untar_->SetArchiveFile(dir_ + "/evil.tar");
    untar_->SetExtractDir(dir_ + "/box/in");
    ASSERT_TRUE(untar_->Extract());
    EXPECT_FALSE(fs::exists(dir_ + "/box/up.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/up2.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/box/up2.txt"));
    for (const auto& e : fs::recursive_directory_iterator(dir_ + "/box"))
        if (e.is_regular_file()) {
            EXPECT_EQ(e.path().parent_path(), fs::path(dir_ + "/box/in")) << e.path();
        }
    EXPECT_TRUE(fs::exists(dir_ + "/box/in/fine.txt"));
}

// A truncated entry is a read error that ends the run.
TEST_F(TarExtract, TruncatedEntry)
{
    ASSERT_TRUE(engine::test::RunIn(dir_, "tar -cf t.tar src/big.bin && head -c 20000 t.tar > cut.tar", "tar", "tar"));
    engine::test::ExtractRecorder rec;
    rec.Attach(*untar_);
    untar_->SetArchiveFile(dir_ + "/cut.tar");
    untar_->SetExtractDir(dir_ + "/cut");
    ASSERT_TRUE(untar_->Test());
    EXPECT_EQ(rec.errors, std::vector<int>{25236});
    EXPECT_EQ(rec.Passed(), 0);
}

}  // namespace
}  // namespace engine
