// The writer base: the method set, the source folder, the stored-name rule, the add-or-replace
// decision and the writer frame around a body.
#include <gtest/gtest.h>

#include "engine/core/comp_base.h"
#include "engine/core/file_routines.h"
#include "engine/core/testing/engine_test_env.h"
#include "testing/test_env.h"

using namespace engine;

namespace {

class TFakeWriter : public TCompBase {
public:
    explicit TFakeWriter(fw::TComponent* owner) : TCompBase(owner)
    {
        AllowedMethods = MethodBit(TCompressMethod::cmStore) | MethodBit(TCompressMethod::cmDeflate);
    }
    std::function<bool(fw::TStream&, fw::TStream*)> Body;
    std::vector<std::string> Added;
    bool Activate() override
    {
        return RunWriterFrame(true, Body, [this] { Added.push_back("listed"); });
    }
};

class WriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        dir_ = mx::test::FreshDir();
        owner_ = new fw::TComponent(nullptr);
        w_ = fw::Make<TFakeWriter>(owner_);
        w_->OnError.Bind(&errors_, [](void* e, fw::TObject*, const std::string&, const std::string&,
                                      const std::string&, int code) {
            static_cast<std::vector<int>*>(e)->push_back(code);
        });
    }
    void TearDown() override { owner_->Free(); }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TFakeWriter* w_ = nullptr;
    std::vector<int> errors_;
};

}  // namespace

TEST_F(WriterTest, CompressMethodStaysWithinTheAllowedSet)
{
    w_->SetCompressMethod(TCompressMethod::cmDeflate);
    EXPECT_EQ(w_->CompressMethod(), TCompressMethod::cmDeflate);
    w_->SetCompressMethod(TCompressMethod::cmFuse);
    EXPECT_EQ(w_->CompressMethod(), TCompressMethod::cmDeflate);
}

TEST_F(WriterTest, DefaultDirFallsBackToTheCurrentFolder)
{
    w_->SetDefaultDir(dir_ + "/does-not-exist");
    EXPECT_EQ(w_->DefaultDir(), AppendBackslash(ToBackslashes(GetCurrentDir())));
    w_->SetDefaultDir(dir_);
    EXPECT_EQ(w_->DefaultDir().back(), '\\');
    EXPECT_NE(w_->DefaultDir(), AppendBackslash(ToBackslashes(GetCurrentDir())));
}

TEST_F(WriterTest, FileSpecKeepsNameParts)
{
    fw::TStringList lines;
    lines.Add("c:/data/a.txt");
    lines.Add("");
    lines.Add("*.doc");
    w_->SetFileSpecList(&lines);
    ASSERT_EQ(w_->FileSpecList()->Count(), 2);
    EXPECT_EQ(w_->FileSpecList()->Get(0), "a.txt");
    EXPECT_EQ(w_->FileSpecList()->Get(1), "*.doc");
}

TEST_F(WriterTest, StoredNameModes)
{
    struct Case { TStoredDirNames mode; const char* want; };
    const Case cases[] = {
        {TStoredDirNames::sdNone, "b.txt"},
        {TStoredDirNames::sdAbsolute, "C:\\src\\a\\b.txt"},
        {TStoredDirNames::sdAbsoluteNoDrv, "\\src\\a\\b.txt"},
        {TStoredDirNames::sdRelative, "a\\b.txt"},
    };
    for (const Case& c : cases) {
        w_->SetStoredDirNames(c.mode);
        w_->CurrentDir = "C:\\src\\a";
        w_->BaseDir = "C:\\src";
        w_->BuildFileName("b.txt");
        EXPECT_EQ(w_->FileName, c.want) << static_cast<int>(c.mode);
    }
}

TEST_F(WriterTest, MayAddFile)
{
    fw::TStringList entries;
    auto* obj = new TCompObject;
    obj->DosDate = 0x5A6B3000u;
    obj->Size = 10;
    obj->Attr = 32;
    entries.AddObject("a.txt", obj);
    EXPECT_TRUE(w_->MayAddFile(true, &entries, "a.txt", 10, 0x5A6B3000u, 32, true));
    EXPECT_TRUE(w_->MayAddFile(false, &entries, "new.txt", 10, 0, 32, true));
    EXPECT_FALSE(w_->MayAddFile(false, &entries, "a.txt", 10, 0x5A6B3000u, 32, true));
    EXPECT_FALSE(w_->MayAddFile(false, &entries, "a.txt", 11, 0x5A6B3000u, 32, true));  // no handler
    int asked = 0;
    w_->OnReplaceFile.Bind(&asked, [](void* a, fw::TObject*, const std::string& oldFn, const std::string&,
                                      TDateTime, TDateTime, int64_t oldSize, int64_t newSize, int, int,
                                      bool& replace) {
        ++*static_cast<int*>(a);
        replace = oldFn == "a.txt" && oldSize == 10 && newSize == 11 && false;
    });
    EXPECT_FALSE(w_->MayAddFile(false, &entries, "a.txt", 11, 0x5A6B3000u, 32, true));
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(w_->MayAddFile(false, &entries, "a.txt", 11, 0x5A6B3000u, 32, false));
    EXPECT_EQ(asked, 1);
    delete obj;
}

// The frame builds the new archive in the archive's own folder and commits it in its place; the
// folder holds nothing else afterwards, whether the body succeeds or fails.
TEST_F(WriterTest, FrameCommitsTheFinishedArchiveAndCleansUp)
{
    const std::string archive = dir_ + "/new.arc";
    const auto folder = [&] {
        std::vector<std::string> names;
        for (const fw::FileEntry& e : FindFiles(dir_, "*.*", 0x3F))
            names.push_back(e.name);
        return names;
    };
    w_->SetArchiveFile(archive);
    w_->FileSpecList()->Add("x.txt");
    w_->Body = [&](fw::TStream& out, fw::TStream* old) {
        EXPECT_EQ(old, nullptr);
        out.Write("DATA", 4);
        return true;
    };
    EXPECT_TRUE(w_->Activate());
    EXPECT_EQ(mx::test::ReadFile(archive), "DATA");
    EXPECT_EQ(folder(), std::vector<std::string>{"new.arc"});
    EXPECT_EQ(w_->Added, std::vector<std::string>{"listed"});

    // A failing body leaves the archive alone and removes what it wrote.
    w_->Body = [&](fw::TStream& out, fw::TStream* old) {
        EXPECT_NE(old, nullptr);
        out.Write("XX", 2);
        throw std::runtime_error("disk full");
        return true;
    };
    EXPECT_FALSE(w_->Activate());
    EXPECT_EQ(mx::test::ReadFile(archive), "DATA");
    EXPECT_EQ(folder(), std::vector<std::string>{"new.arc"});
}

TEST_F(WriterTest, FrameRefusals)
{
    w_->FileSpecList()->Add("x.txt");
    w_->Body = [](fw::TStream&, fw::TStream*) { return true; };
    // Deleting from an archive that does not exist: nothing to do.
    w_->SetArchiveFile(dir_ + "/none.arc");
    w_->SetSwitch(TSwitch::swDelete);
    EXPECT_FALSE(w_->Activate());
    EXPECT_EQ(errors_, std::vector<int>{26999});

    // A read-only archive without a handler: 25136 and the file stays as it is.
    errors_.clear();
    const std::string ro = dir_ + "/ro.arc";
    mx::test::WriteFile(ro, "OLD");
    ASSERT_TRUE(FileSetAttr(ro, kAttrReadOnly | kAttrArchive));
    w_->SetArchiveFile(ro);
    w_->SetSwitch(TSwitch::swAdd);
    EXPECT_FALSE(w_->Activate());
    EXPECT_EQ(errors_, std::vector<int>{25136});
    EXPECT_EQ(mx::test::ReadFile(ro), "OLD");

    // With a handler that agrees, the attribute goes and the archive is rewritten.
    errors_.clear();
    w_->OnNonWriteableArchive.Bind(nullptr, [](void*, fw::TObject*, const std::string&, bool& write) {
        write = true;
    });
    w_->Body = [](fw::TStream& out, fw::TStream*) { out.Write("NEW", 3); return true; };
    EXPECT_TRUE(w_->Activate());
    EXPECT_EQ(mx::test::ReadFile(ro), "NEW");
    EXPECT_TRUE(errors_.empty());
}
