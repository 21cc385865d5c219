// Add and delete round trips through the system seam in use (POSIX natively, Win32 under Wine): what
// the writer adds, the extractor gives back byte for byte; a delete keeps the other entries; a
// refused replacement and a cancelled delete leave the archive as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "engine/core/testing/fault_fs.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

class ZipRoundTripTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterZipWriterClasses();
        RegisterUnZipClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        zip_ = fw::Make<TZip>(owner_);
        unzip_ = fw::Make<TUnZIP>(owner_);
        zip_->OnError.Bind(this, [](void* c, fw::TObject*, const std::string&, const std::string&,
                                    const std::string&, int code) {
            static_cast<ZipRoundTripTest*>(c)->errors_.push_back(code);
        });
        zip_->OnEnd.Bind(this, [](void* c, fw::TObject*, const std::string&, bool) {
            auto* t = static_cast<ZipRoundTripTest*>(c);
            if (t->cancelOnEnd_)
                TAwkMain::Cancel(t->zip_, true);
        });
        unzip_->OnEnd.Bind(this, [](void* c, fw::TObject*, const std::string&, bool pass) {
            ++(pass ? static_cast<ZipRoundTripTest*>(c)->passed_ : static_cast<ZipRoundTripTest*>(c)->failed_);
        });
    }
    void TearDown() override { owner_->Free(); }

    // Every file below Root by its path relative to Root (with "/").
    static std::map<std::string, std::string> Tree(const std::string& root)
    {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.is_regular_file())
                out[fs::relative(e.path(), root).generic_string()] = mx::test::ReadFile(e.path().string());
        return out;
    }

    std::map<std::string, std::string> Extracted(const std::string& archive, const std::string& password)
    {
        const std::string out = dir_ + "/out" + std::to_string(++outs_);
        unzip_->SetArchiveFile(mx::test::HostPath(archive));
        unzip_->SetExtractDir(mx::test::HostPath(out));
        unzip_->Passwords()->Clear();
        if (!password.empty())
            unzip_->Passwords()->Add(password);
        unzip_->Extract();
        return fs::exists(out) ? Tree(out) : std::map<std::string, std::string>{};
    }

    bool Run(const std::string& archive, TSwitch sw)
    {
        zip_->SetArchiveFile(mx::test::HostPath(archive));
        zip_->SetSwitch(sw);
        return zip_->Activate();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TZip* zip_ = nullptr;
    TUnZIP* unzip_ = nullptr;
    std::vector<int> errors_;
    int passed_ = 0, failed_ = 0, outs_ = 0;
    bool cancelOnEnd_ = false;
};

TEST_F(ZipRoundTripTest, AddedFilesComeBackAndDeletesKeepTheRest)
{
    const std::string src = dir_ + "/src";
    fs::create_directories(src + "/sub");
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "row " + std::to_string(i * 7) + "\n";
    mx::test::WriteFile(src + "/one.txt", text);
    mx::test::WriteFile(src + "/two.txt", text.substr(100, 5000));
    mx::test::WriteFile(src + "/sub/three.txt", "three\n");
    mx::test::WriteFile(src + "/sub/empty.txt", "");
    const std::string archive = dir_ + "/rt.zip";

    for (const char* password : {"", "pw"}) {
        SCOPED_TRACE(password);
        fs::remove(archive);
        zip_->SetPassword(password);
        zip_->SetDefaultDir(mx::test::HostPath(src));
        zip_->SetRecurseDirs(true);
        zip_->FileSpecList()->Clear();
        zip_->FileSpecList()->Add("*.*");
        ASSERT_TRUE(Run(archive, TSwitch::swAdd));
        EXPECT_TRUE(errors_.empty());
        EXPECT_EQ(Extracted(archive, password), Tree(src));
        EXPECT_EQ(failed_, 0);

        // Delete the sub-folder's entries; the others stay and still extract.
        zip_->SetRecurseDirs(false);
        zip_->FileSpecList()->Clear();
        zip_->FileSpecList()->Add("sub\\*");
        zip_->Passwords()->Clear();
        ASSERT_TRUE(Run(archive, TSwitch::swDelete));
        auto expected = Tree(src);
        expected.erase("sub/three.txt");
        expected.erase("sub/empty.txt");
        EXPECT_EQ(Extracted(archive, password), expected);
    }

    // A refused replacement and a cancelled delete change nothing.
    const std::string original = mx::test::ReadFile(archive);
    errors_.clear();
    zip_->FileSpecList()->Clear();
    zip_->FileSpecList()->Add("one.txt");
    {
        test::FaultFs faulty;
        faulty.failMovesOnto = "rt.zip";
        EXPECT_FALSE(Run(archive, TSwitch::swDelete));
    }
    EXPECT_EQ(errors_, std::vector<int>{25136});
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    cancelOnEnd_ = true;
    zip_->FileSpecList()->Add("two.txt");
    EXPECT_FALSE(Run(archive, TSwitch::swDelete));
    EXPECT_EQ(mx::test::ReadFile(archive), original);
    // Nothing is left next to the archive.
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_NE(e.path().filename().string().rfind("BH", 0), 0u) << e.path();
}

TEST_F(ZipRoundTripTest, BindableFromFormText)
{
    const fw::TClassInfo* info = fw::FindClass("TZip");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->CanCreate());
    fw::TComponent* made = info->Create(owner_);
    ASSERT_NE(dynamic_cast<TZip*>(made), nullptr);
    for (const char* prop : {"ArchiveFile", "ArcType", "CompressMethod", "DeflateType", "DefaultDir", "DefaultExt",
                             "FileAttribute", "FileSpec", "Password", "Passwords", "ProgressNotify", "RecurseDirs",
                             "StoredDirNames", "Switch", "OnActivate", "OnBegin", "OnDeactivate", "OnEnd", "OnError",
                             "OnGetPassword", "OnNonWriteableArchive", "OnProgress", "OnRead", "OnRecurseDir",
                             "OnReplaceFile", "OnElapsedTime"})
        EXPECT_NE(fw::FindProp(made, prop), nullptr) << prop;
}

}  // namespace
}  // namespace engine
