// The LHA writer: new archives (stored and frozen) checked by lhasa and read back by our extractor;
// updates of jlha archives of header levels 0, 1 and 2 that keep the other entries byte for byte;
// deletion, moving and the add-or-replace decision.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/core/testing/fault_fs.h"
#include "engine/formats/common/testdata/file_tree.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/formats/lzh/unlha/unlha_component.h"
#include "engine/formats/lzh/writer/lha_component.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;
using test::RunIn;
using test::FileTree;

class LhaWriterTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterLhaWriterClasses();
        RegisterUnLhaClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        lha_ = fw::Make<TLha>(owner_);
        lha_->OnBegin.Bind(this, &LhaWriterTest::Begin);
        lha_->OnError.Bind(this, &LhaWriterTest::Error);
        lha_->OnRead.Bind(this, &LhaWriterTest::Read);
        fs::create_directories(dir_ + "/src/sub");
        std::string text, noise;
        for (int i = 0; i < 20000; ++i)
            text += "line " + std::to_string(i * 7919 % 1000) + "\n";
        uint32_t x = 5;
        for (int i = 0; i < 50000; ++i) {
            x = x * 1103515245u + 12345u;
            noise += char(x >> 24);
        }
        mx::test::WriteFile(dir_ + "/src/a.txt", text);
        mx::test::WriteFile(dir_ + "/src/empty.txt", "");
        mx::test::WriteFile(dir_ + "/src/sub/noise.bin", noise);
        mx::test::WriteFile(dir_ + "/src/sub/blanks.txt", std::string(300, ' ') + "x");
    }
    void TearDown() override { owner_->Free(); }

    void Begin(fw::TObject*, const std::string& fn, int, bool& extract)
    {
        begun_.push_back(fn);
        if (fn == decline_)
            extract = false;
        if (onBegin_)
            onBegin_(fn);
    }
    void Error(fw::TObject*, const std::string&, const std::string&, const std::string&, int code) { errors_.push_back(code); }
    void Read(fw::TObject*, int64_t, int) { listed_.push_back(lha_->FileName + " " + lha_->MethodName); }

    // Specs are relative to Folder (the sources' folder when empty).
    bool Run(const std::string& archive, TSwitch sw, std::vector<std::string> specs, bool recurse = true,
             const std::string& folder = "")
    {
        begun_.clear();
        errors_.clear();
        listed_.clear();
        fw::TStringList list;
        for (const auto& s : specs)
            list.Add(s);
        lha_->SetArchiveFile(archive);
        lha_->SetDefaultDir(folder.empty() ? dir_ + "/src" : folder);
        lha_->SetRecurseDirs(recurse);
        lha_->SetSwitch(sw);
        lha_->SetFileSpecList(&list);
        return lha_->Activate();
    }
    std::map<std::string, std::string> Extracted(const std::string& archive, const std::string& out)
    {
        TUnLHA* un = fw::Make<TUnLHA>(owner_);
        un->SetArchiveFile(archive);
        un->SetExtractDir(out);
        un->OnError.Bind(this, [&](void*, fw::TObject*, const std::string& fn, const std::string&,
                                   const std::string&, int code) {
            ADD_FAILURE() << "extracting " << archive << ": error " << code << " on " << fn;
        });
        EXPECT_TRUE(un->Extract()) << archive << " was not extracted";
        return FileTree(out);
    }

    std::string dir_, decline_;
    std::function<void(const std::string&)> onBegin_;
    fw::TComponent* owner_ = nullptr;
    TLha* lha_ = nullptr;
    std::vector<std::string> begun_, listed_;
    std::vector<int> errors_;
};

TEST_F(LhaWriterTest, NewArchivesPassLhasaStoredAndFrozen)
{
    for (TCompressMethod method : {TCompressMethod::cmFrozen, TCompressMethod::cmStore}) {
        const bool frozen = method == TCompressMethod::cmFrozen;
        SCOPED_TRACE(frozen ? "frozen" : "stored");
        lha_->SetCompressMethod(method);
        const std::string archive = dir_ + (frozen ? "/f.lzh" : "/s.lzh");
        ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"*.*"}));
        EXPECT_TRUE(errors_.empty());
        EXPECT_EQ(begun_.size(), 4u);
        EXPECT_EQ(listed_.size(), 4u);
        ASSERT_TRUE(RunIn(dir_, "lhasa t '" + archive + "'", "lhasa", "lhasa"));
        const std::string out = dir_ + (frozen ? "/lhasa_f" : "/lhasa_s");
        fs::create_directories(out);
        ASSERT_TRUE(RunIn(out, "lhasa xq '" + archive + "'", "lhasa", "lhasa"));
        EXPECT_EQ(FileTree(out), FileTree(dir_ + "/src"));
        EXPECT_EQ(Extracted(archive, out + "_ours"), FileTree(dir_ + "/src"));
        // The empty file is frozen with no data; the archive ends in one 0 byte.
        const std::string bytes = mx::test::ReadFile(archive);
        EXPECT_EQ(bytes.back(), '\0');
        EXPECT_NE(bytes.find(std::string("-lh1-") + std::string(8, '\0')), std::string::npos);
        EXPECT_NE(bytes.find(frozen ? "-lh1-" : "-lh0-"), std::string::npos);
    }
}

// Updating an archive of any header level keeps the entries it does not replace byte for byte.
TEST_F(LhaWriterTest, UpdatesKeepOtherEntriesOfEveryLevel)
{
    fs::create_directories(dir_ + "/other");
    mx::test::WriteFile(dir_ + "/other/keep1.txt", std::string(2000, 'k'));
    mx::test::WriteFile(dir_ + "/other/keep2.txt", "second kept file");
    for (const char* level : {"0", "1", "2"}) {
        SCOPED_TRACE(std::string("level ") + level);
        const std::string archive = dir_ + "/j" + level + ".lzh";
        ASSERT_TRUE(RunIn(dir_ + "/other", std::string("jlha c") + level + "q '" + archive + "' keep1.txt keep2.txt",
                          "jlha", "jlha-utils"));
        const std::string before = mx::test::ReadFile(archive);
        const std::string kept = before.substr(0, before.size() - 1);  // without the end mark
        ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"a.txt"}, false));
        EXPECT_TRUE(errors_.empty());
        const std::string after = mx::test::ReadFile(archive);
        EXPECT_EQ(after.substr(0, kept.size()), kept);
        ASSERT_TRUE(RunIn(dir_, "lhasa t '" + archive + "'", "lhasa", "lhasa"));
        const auto tree = Extracted(archive, dir_ + "/u" + level);
        EXPECT_EQ(tree.size(), 3u);
        EXPECT_EQ(tree.at("keep2.txt"), "second kept file");
    }
}

TEST_F(LhaWriterTest, DeleteMoveAndReplace)
{
    const std::string archive = dir_ + "/d.lzh";
    ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"*.*"}));
    // Adding the same files again: same time, size and attributes keep the old entries unasked.
    ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"*.*"}) || true);
    EXPECT_TRUE(begun_.empty());
    EXPECT_EQ(errors_, std::vector<int>{26999});
    // A mask that matches nothing keeps every entry.
    ASSERT_TRUE(Run(archive, TSwitch::swDelete, {"nothing.*"}));
    EXPECT_EQ(Extracted(archive, dir_ + "/all").size(), 4u);
    // Names only: sub\\blanks.txt goes too.
    ASSERT_TRUE(Run(archive, TSwitch::swDelete, {"*.txt"}));
    EXPECT_EQ(begun_.size(), 3u);
    EXPECT_EQ(Extracted(archive, dir_ + "/left"), (std::map<std::string, std::string>{
                                                      {"sub/noise.bin", mx::test::ReadFile(dir_ + "/src/sub/noise.bin")}}));
    // Deleting the last entry deletes the archive.
    ASSERT_TRUE(Run(archive, TSwitch::swDelete, {"*.*"}));
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_TRUE(lha_->ArchiveFile().empty());

    // Moving: the declined file stays on disk, the others go.
    decline_ = "a.txt";
    ASSERT_TRUE(Run(dir_ + "/m.lzh", TSwitch::swMove, {"*.*"}, false));
    EXPECT_TRUE(fs::exists(dir_ + "/src/a.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/src/empty.txt"));
    EXPECT_TRUE(fs::exists(dir_ + "/src/sub/noise.bin"));
    ASSERT_TRUE(RunIn(dir_, "lhasa t m.lzh", "lhasa", "lhasa"));
}

// An archive that cannot be walked to its end (damaged, or not an LHA archive at all) is left
// untouched instead of being rebuilt without the entries the walk could not reach.
TEST_F(LhaWriterTest, DamagedArchivesAreNotRewritten)
{
    const std::string archive = dir_ + "/x.lzh";
    ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"a.txt", "empty.txt"}, false));
    std::string bytes = mx::test::ReadFile(archive);
    bytes[9] = char(0x7F);  // the first entry's packed size now runs past the end
    mx::test::WriteFile(archive, bytes);
    EXPECT_FALSE(Run(archive, TSwitch::swAdd, {"sub\\noise.bin"}, false));
    EXPECT_EQ(errors_, std::vector<int>{25108});
    EXPECT_EQ(mx::test::ReadFile(archive), bytes);
    mx::test::WriteFile(dir_ + "/mz.lzh", "MZ not an archive at all");
    EXPECT_FALSE(Run(dir_ + "/mz.lzh", TSwitch::swDelete, {"*.*"}));
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/mz.lzh"), "MZ not an archive at all");
}

// Each failure is reported and the run goes on with the other files: a name longer than the one-byte
// header size allows (233 bytes), a source that vanishes during the run, a move whose file keeps its
// older entry (OnReplaceFile says No: the file stays on disk). A write that fails part-way ends the
// run with 25136 and leaves the archive as it was.
TEST_F(LhaWriterTest, ErrorPaths)
{
    const std::string archive = dir_ + "/e.lzh";
    const std::string longName = std::string(230, 'n') + ".txt";
    mx::test::WriteFile(dir_ + "/src/" + longName, "long");
    ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"*.txt"}, false));
    EXPECT_EQ(errors_, std::vector<int>{25243});
    EXPECT_EQ(Extracted(archive, dir_ + "/long").size(), 2u);  // a.txt and empty.txt
    fs::remove(dir_ + "/src/" + longName);

    // Whichever of two files is begun first removes the other before it is opened.
    fs::create_directories(dir_ + "/gone");
    mx::test::WriteFile(dir_ + "/gone/one.txt", "one");
    mx::test::WriteFile(dir_ + "/gone/two.txt", "two");
    onBegin_ = [&](const std::string& fn) {
        fs::remove(dir_ + "/gone/" + (fn == "one.txt" ? "two.txt" : "one.txt"));
        onBegin_ = nullptr;
    };
    ASSERT_TRUE(Run(archive, TSwitch::swAdd, {"*.txt"}, false, dir_ + "/gone"));
    EXPECT_EQ(errors_, std::vector<int>{25235});
    EXPECT_EQ(begun_.size(), 1u);
    EXPECT_EQ(Extracted(archive, dir_ + "/gone_out").size(), 3u);

    // Moving a.txt again, changed: OnReplaceFile keeps the older entry, so a.txt stays on disk.
    const std::string changed = "changed since it was archived";
    mx::test::WriteFile(dir_ + "/src/a.txt", changed);
    mx::test::WriteFile(dir_ + "/src/new.txt", "new");
    int asked = 0;
    lha_->OnReplaceFile.Bind(&asked, [](void* c, fw::TObject*, const std::string&, const std::string&, double, double,
                                        int64_t, int64_t, int, int, bool& replace) {
        ++*static_cast<int*>(c);
        replace = false;
    });
    ASSERT_TRUE(Run(archive, TSwitch::swMove, {"a.txt", "new.txt"}, false));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fs::exists(dir_ + "/src/a.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/src/new.txt"));
    const auto tree = Extracted(archive, dir_ + "/moved");
    EXPECT_EQ(tree.size(), 4u);
    EXPECT_NE(tree.at("a.txt"), changed);
    EXPECT_EQ(tree.at("new.txt"), "new");

    // Replacing a.txt on a disk that fills up.
    lha_->OnReplaceFile.Bind(nullptr, [](void*, fw::TObject*, const std::string&, const std::string&, double, double,
                                         int64_t, int64_t, int, int, bool& replace) { replace = true; });
    const std::string before = mx::test::ReadFile(archive);
    {
        test::FaultFs faults;
        faults.writeBudget = 200;
        EXPECT_FALSE(Run(archive, TSwitch::swAdd, {"a.txt"}, false));
    }
    EXPECT_NE(std::find(errors_.begin(), errors_.end(), 25136), errors_.end());
    EXPECT_TRUE(mx::test::ReadFile(archive) == before);
}

TEST_F(LhaWriterTest, DefaultExtAndListing)
{
    lha_->SetDefaultExt(".lzh");
    EXPECT_EQ(lha_->GetDefaultExt(), "lzh");
    lha_->SetDefaultExt("");
    EXPECT_EQ(lha_->GetDefaultExt(), "LZH");
    const std::string archive = mx::test::FixtureDir() + "/lha/lha_unix114i/h2_subdir.lzh";
    ASSERT_TRUE(Run(archive, TSwitch::swRead, {}));
    EXPECT_FALSE(listed_.empty());
}

}  // namespace
}  // namespace engine
