// The component bases and the extractor contract, driven through a scripted extractor whose
// "archive" is a list of entries in memory.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/comp_base.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/testing/engine_test_env.h"
#include "engine/core/un_base.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

using namespace engine;

namespace {

struct FakeEntry {
    std::string name;
    std::string data;
    uint32_t crc = 0;  // 0: compute the right one
};

// A scripted extractor: walks Entries like the ZIP extractor walks its directory.
class TFakeUnpacker : public TUnBase {
public:
    explicit TFakeUnpacker(fw::TComponent* owner) : TUnBase(owner) {}

    std::vector<FakeEntry> Entries;
    // Runs inside the walk after each entry's OnEnd.
    std::function<void(TFakeUnpacker&)> AfterEntry;

    void ProcessArchive() override
    {
        StartRun(true);
        struct Finish {
            TFakeUnpacker& self;
            ~Finish() { self.FinishRun(); }
        } finish{*this};
        for (const FakeEntry& e : Entries) {
            if (Aborted())
                break;
            ProcessMessages();
            if (!Selected(e.name))
                continue;
            if (!BeginEntry(e.name, kDosEpoch))
                continue;
            bool decoded = false;
            try {
                OpenEntryOutput();
                RunContext& run = CurrentRun();
                BeginEntryProgress(int64_t(e.data.size()));
                int64_t n = int64_t(e.data.size());
                run.sink->Write(reinterpret_cast<const uint8_t*>(e.data.data()), n);
                CountInputBytes(n);
                mx::codec::UpdateCrc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(e.data.data()),
                                                                e.data.size()),
                                       run.crc32);
                decoded = true;
            } catch (const E_RAISE&) {
            }
            const uint32_t computed = ~CurrentRun().crc32;
            EndEntry(decoded, e.crc == 0 || e.crc == computed, 0x5A6B3000u, kAttrArchive);
            if (AfterEntry)
                AfterEntry(*this);
            if (SingleEntrySpec())
                break;
        }
    }
};

// Records the events of a component as lines.
struct Recorder {
    std::vector<std::string> log;
    std::vector<int> progress;
    std::vector<int> errors;

    void Attach(TZipCommon& c)
    {
        c.OnActivate.Bind(this, [](void* r, fw::TObject*) { Self(r).log.push_back("activate"); });
        c.OnDeactivate.Bind(this, [](void* r, fw::TObject*) { Self(r).log.push_back("deactivate"); });
        c.OnBegin.Bind(this, [](void* r, fw::TObject*, const std::string& fn, int recNum, bool&) {
            Self(r).log.push_back("begin " + ExtractFileName(fn) + " " + std::to_string(recNum));
        });
        c.OnEnd.Bind(this, [](void* r, fw::TObject*, const std::string& fn, bool pass) {
            Self(r).log.push_back("end " + ExtractFileName(fn) + (pass ? " pass" : " fail"));
        });
        c.OnError.Bind(this, [](void* r, fw::TObject*, const std::string& fn, const std::string& msgEx,
                                const std::string&, int code) {
            Self(r).errors.push_back(code);
            Self(r).log.push_back("error " + std::to_string(code) + " " + fn + (msgEx.empty() ? "" : " " + msgEx));
        });
        c.OnProgress.Bind(this, [](void* r, fw::TObject*, uint8_t p) { Self(r).progress.push_back(p); });
        c.OnElapsedTime.Bind(this, [](void* r, fw::TObject*, float s) {
            Self(r).log.push_back(s >= 0 ? "elapsed" : "elapsed<0");
        });
    }
    static Recorder& Self(void* r) { return *static_cast<Recorder*>(r); }
};

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        dir_ = mx::test::FreshDir();
        owner_ = new fw::TComponent(nullptr);
        unz_ = fw::Make<TFakeUnpacker>(owner_);
        unz_->SetArchiveFile(dir_ + "/fake.zip");
        unz_->SetExtractDir(dir_ + "/out");
    }
    void TearDown() override { owner_->Free(); }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TFakeUnpacker* unz_ = nullptr;
};

}  // namespace

TEST_F(ComponentTest, ExtractRunsTheEntryContractInOrder)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->Entries = {{"a.txt", "alpha"}, {"sub/b.txt", "beta"}, {"bad.txt", "gamma", 1234}};
    EXPECT_TRUE(unz_->Extract());
    const std::vector<std::string> want = {
        "activate", "begin a.txt 1", "end a.txt pass", "begin b.txt 2", "end b.txt pass",
        "begin bad.txt 3", "end bad.txt fail", "elapsed", "deactivate"};
    EXPECT_EQ(rec.log, want);
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/sub/b.txt"), "beta");
    EXPECT_EQ(ActiveArcComponent(), unz_);
    // The file got the entry's DOS date.
    EXPECT_EQ(FileAge(dir_ + "/out/a.txt"), int64_t(0x5A6B3000u));
}

TEST_F(ComponentTest, CrcFailureWithoutOnEndIsReported)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->OnEnd = nullptr;
    unz_->Entries = {{"bad.txt", "gamma", 1234}};
    unz_->Extract();
    EXPECT_EQ(rec.errors, std::vector<int>{25151});
}

TEST_F(ComponentTest, HostileNamesAreRefusedAndTheRunGoesOn)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->Entries = {{"../escape.txt", "x"},       {"..\\..\\Windows\\x.dll", "x"}, {"C:\\..\\up.txt", "x"},
                     {"dir/../../up2.txt", "x"},   {"con", "x"},                    {"a/nul.txt", "x"},
                     {"\\\\host\\share\\..\\x", "x"}, {"ok/fine.txt", "fine"}};
    unz_->Extract();
    EXPECT_EQ(rec.errors, std::vector<int>(7, 25243));
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/ok/fine.txt"), "fine");
    EXPECT_EQ(unz_->FileCount, 1);
    // Nothing appeared beside the extract folder.
    EXPECT_FALSE(FileExistsFind(dir_ + "/escape.txt"));
    EXPECT_FALSE(FileExistsFind(dir_ + "/up.txt"));
    EXPECT_FALSE(FileExistsFind(dir_ + "/up2.txt"));
}

TEST_F(ComponentTest, ProgressStepsFollowProgressNotify)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->SetProgressNotify(TProgressNotify::Ten);
    unz_->Entries = {{"a.bin", std::string(1000, 'x')}};
    unz_->Extract();
    EXPECT_EQ(rec.progress, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));

    rec.progress.clear();
    unz_->SetProgressNotify(TProgressNotify::TwentyFive);
    unz_->Extract();
    EXPECT_EQ(rec.progress, (std::vector<int>{0, 25, 50, 75}));
}

TEST_F(ComponentTest, ProgressOfAThreeGigabyteEntryCountsIn64Bits)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->SetProgressNotify(TProgressNotify::Ten);
    unz_->Entries = {};
    unz_->AfterEntry = nullptr;
    // Count 3 GB of input in 1 MB blocks inside a run; the reports must match byte-by-byte counting.
    struct Big : TFakeUnpacker {
        using TFakeUnpacker::TFakeUnpacker;
        void ProcessArchive() override
        {
            StartRun(true);
            ProgressStep = 10;
            const int64_t size = int64_t(3) << 30;
            BeginEntryProgress(size);
            for (int64_t left = size; left > 0; left -= int64_t(1) << 20)
                CountInputBytes(int64_t(1) << 20);
            FinishRun();
        }
    };
    Big* big = fw::Make<Big>(owner_);
    big->SetArchiveFile(dir_ + "/big.zip");
    rec.Attach(*big);
    big->Extract();
    EXPECT_EQ(rec.progress, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(big->StepBytes, int64_t(322122547));
}

TEST_F(ComponentTest, CancelFromAHandlerStopsTheRunAndSilencesReports)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->Entries = {{"a.txt", "1"}, {"b.txt", "2"}, {"c.txt", "3"}};
    unz_->AfterEntry = [](TFakeUnpacker& self) {
        // The application's busy indicator: cancel the running component.
        TAwkMain::Cancel(ActiveArcComponent(), true);
        self.ReportError("x\\y.txt", "", "0", 25136);  // silent now
        try {
            self.RaiseError("archive.zip", "", "0", 25109);  // fatal reports still arrive
        } catch (const E_RAISE&) {
        }
    };
    unz_->Extract();
    const std::vector<std::string> want = {"activate", "begin a.txt 1", "end a.txt pass", "error 25109 archive.zip",
                                           "elapsed", "deactivate"};
    EXPECT_EQ(rec.log, want);

    // The next run starts with its flag cleared: its reports arrive again.
    rec.log.clear();
    unz_->AfterEntry = [](TFakeUnpacker& self) { self.ReportError("p\\q.txt", "", "0", 25136); };
    unz_->Entries = {{"a.txt", "1"}};
    unz_->Extract();
    EXPECT_NE(std::find(rec.log.begin(), rec.log.end(), "error 25136 q.txt"), rec.log.end());
}

TEST_F(ComponentTest, ReportErrorOutsideARunDoesNotFail)
{
    Recorder rec;
    rec.Attach(*unz_);
    SetActiveArcComponent(nullptr);
    unz_->ReportError("d\\e.txt", "more", "0", 25236);
    EXPECT_EQ(rec.log, std::vector<std::string>{"error 25236 e.txt more"});
}

TEST_F(ComponentTest, ASecondRunFromAHandlerIsRefused)
{
    TFakeUnpacker* other = fw::Make<TFakeUnpacker>(owner_);
    other->SetArchiveFile(dir_ + "/other.zip");
    Recorder otherRec;
    otherRec.Attach(*other);
    other->Entries = {{"o.txt", "o"}};
    bool nestedSelf = true, nestedOther = true;
    unz_->Entries = {{"a.txt", "1"}};
    unz_->AfterEntry = [&](TFakeUnpacker& self) {
        nestedSelf = self.Extract();
        nestedOther = other->Extract();
        // Re-pointing the running component at another archive is refused too.
        self.SetArchiveFile("elsewhere.zip");
    };
    EXPECT_TRUE(unz_->Extract());
    EXPECT_FALSE(nestedSelf);
    EXPECT_FALSE(nestedOther);
    EXPECT_TRUE(otherRec.log.empty());
    EXPECT_EQ(ExtractFileName(unz_->ArchiveFile()), "fake.zip");
    // Once the run is over the other component runs normally.
    EXPECT_TRUE(other->Extract());
    EXPECT_FALSE(otherRec.log.empty());
}

TEST_F(ComponentTest, AComponentOwnedByTheRunningOneMayRunNested)
{
    // The integrity tester's pattern: a private extractor owned by the running component.
    TFakeUnpacker* child = fw::Make<TFakeUnpacker>(unz_);
    child->SetArchiveFile(dir_ + "/child.zip");
    child->Entries = {{"c.txt", "c"}};
    bool nested = false;
    TZipCommon* activeInside = nullptr;
    child->AfterEntry = [&](TFakeUnpacker&) { activeInside = ActiveArcComponent(); };
    unz_->Entries = {{"a.txt", "1"}};
    unz_->AfterEntry = [&](TFakeUnpacker&) { nested = child->Test(); };
    unz_->Extract();
    EXPECT_TRUE(nested);
    EXPECT_EQ(activeInside, child);
    EXPECT_EQ(ActiveArcComponent(), unz_);
}

TEST_F(ComponentTest, FreeingTheRunningComponentIsRefused)
{
    Recorder rec;
    rec.Attach(*unz_);
    bool refused = false;
    unz_->Entries = {{"a.txt", "1"}, {"b.txt", "2"}};
    unz_->AfterEntry = [&](TFakeUnpacker& self) {
        try {
            self.Free();
        } catch (const fw::EInvalidOperation&) {
            refused = true;
        }
    };
    EXPECT_TRUE(unz_->Extract());
    EXPECT_TRUE(refused);
    // The attempt cancelled the run after the first entry; the component is still whole.
    EXPECT_EQ(unz_->FileCount, 1);
    EXPECT_EQ(rec.log.back(), "deactivate");
}

TEST_F(ComponentTest, AFreedComponentIsNoLongerActive)
{
    TFakeUnpacker* other = fw::Make<TFakeUnpacker>(owner_);
    other->SetArchiveFile(dir_ + "/o.zip");
    other->Extract();
    EXPECT_EQ(ActiveArcComponent(), other);
    other->Free();
    EXPECT_EQ(ActiveArcComponent(), nullptr);
    unz_->ReportError("a", "", "0", 25136);  // must not touch the freed component
}

TEST_F(ComponentTest, ExceptionsNeverReachTheCaller)
{
    struct Thrower : TFakeUnpacker {
        using TFakeUnpacker::TFakeUnpacker;
        void ProcessArchive() override { throw std::runtime_error("boom"); }
    };
    Thrower* t = fw::Make<Thrower>(owner_);
    EXPECT_NO_THROW(t->Extract());
    Recorder rec;
    rec.Attach(*unz_);
    unz_->SetArchiveFile("");
    unz_->Extract();  // empty archive name: fatal 25243, caught at the entry point
    EXPECT_EQ(rec.errors, std::vector<int>{25243});
}

TEST_F(ComponentTest, SingleEntrySpecStopsAfterTheFirstMatch)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->SetFileSpec("dup.txt");
    unz_->Entries = {{"dup.txt", "1"}, {"dup.txt", "2"}};
    unz_->Extract();
    EXPECT_EQ(unz_->FileCount, 1);
}

TEST_F(ComponentTest, DeclinedEntriesGiveTheirNumberBack)
{
    unz_->Entries = {{"a.txt", "1"}, {"b.txt", "2"}};
    std::vector<int> recNums;
    unz_->OnBegin.Bind(&recNums, [](void* v, fw::TObject*, const std::string& fn, int recNum, bool& extract) {
        static_cast<std::vector<int>*>(v)->push_back(recNum);
        extract = ExtractFileName(fn) != "a.txt";
    });
    unz_->Extract();
    EXPECT_EQ(recNums, (std::vector<int>{1, 1}));
    EXPECT_FALSE(FileExistsFind(dir_ + "/out/a.txt"));
}

TEST_F(ComponentTest, FileExistsAnswerDecides)
{
    ASSERT_TRUE(ForceDirectories(dir_ + "/out"));
    mx::test::WriteFile(dir_ + "/out/a.txt", "old");
    unz_->Entries = {{"a.txt", "new"}};
    unz_->OnFileExists.Bind(nullptr, [](void*, fw::TObject*, const std::string&, TDateTime, bool& accept) {
        accept = false;
    });
    unz_->Extract();
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), "old");
    unz_->OnFileExists.Bind(nullptr, [](void*, fw::TObject*, const std::string&, TDateTime, bool& accept) {
        accept = true;
    });
    unz_->Extract();
    EXPECT_EQ(mx::test::ReadFile(dir_ + "/out/a.txt"), "new");
}

TEST_F(ComponentTest, TestModeWritesNothing)
{
    Recorder rec;
    rec.Attach(*unz_);
    unz_->Entries = {{"t.txt", "t"}};
    unz_->Test();
    EXPECT_FALSE(FileExistsFind(dir_ + "/out/t.txt"));
    EXPECT_EQ(rec.log[1], "begin t.txt 1");  // the stored name, not an output path
}

TEST_F(ComponentTest, PasswordRounds)
{
    Recorder rec;
    rec.Attach(*unz_);
    struct Asked {
        int count = 0;
        std::vector<std::string> offered;  // the Password each question started with
    } asked;
    unz_->OnGetPassword.Bind(&asked, [](void* a, fw::TObject*, const std::string&, std::string& pw, bool&) {
        auto& s = *static_cast<Asked*>(a);
        s.offered.push_back(pw);
        ++s.count;
        pw = s.count == 2 ? "right" : "wrong";
    });
    unz_->Passwords()->Add("old");
    struct Probe : TFakeUnpacker {
        using TFakeUnpacker::TFakeUnpacker;
        TUnBase::PasswordResult result{};
        void ProcessArchive() override
        {
            StartRun(true);
            result = FindPassword("current", [](const std::string& pw) { return pw == "right"; });
            FinishRun();
        }
    };
    Probe* p = fw::Make<Probe>(owner_);
    p->SetArchiveFile(dir_ + "/p.zip");
    p->OnGetPassword = unz_->OnGetPassword;
    rec.Attach(*p);
    p->OnGetPassword = unz_->OnGetPassword;
    p->Passwords()->Add("old");
    p->Extract();
    EXPECT_EQ(p->result, TUnBase::PasswordResult::Found);
    EXPECT_EQ(asked.count, 2);
    EXPECT_EQ(p->Passwords()->Get(0), "right");
    EXPECT_EQ(rec.errors, std::vector<int>{26517});
    // The first question offers the current password; a wrong answer clears it.
    EXPECT_EQ(asked.offered, (std::vector<std::string>{"current", ""}));

    // Three wrong answers: three 26517, then 26522 and the run is to end.
    asked.count = 10;
    rec.errors.clear();
    p->Passwords()->Clear();
    p->Extract();
    EXPECT_EQ(p->result, TUnBase::PasswordResult::EndRun);
    EXPECT_EQ(rec.errors, (std::vector<int>{26517, 26517, 26517, 26522}));
}

TEST_F(ComponentTest, SettersAndTheirRules)
{
    unz_->SetZipCmntBufSize(100);
    EXPECT_EQ(unz_->ZipCmntBufSize(), 2000);
    unz_->SetZipCmntBufSize(40000);
    EXPECT_EQ(unz_->ZipCmntBufSize(), 32767);
    unz_->SetFileSpec("");
    EXPECT_EQ(unz_->FileSpec(), "*.*");
    unz_->SetFileSpec("dir/a*.txt");
    EXPECT_EQ(unz_->FileSpec(), "dir\\a*.txt");
    unz_->SetAbout("anything");
    EXPECT_EQ(unz_->About(), "(QWD)");
    unz_->SetSetDateTo(TSetDate::sdSysDate);
    EXPECT_EQ(DateSetting(), TSetDate::sdSysDate);
    unz_->SetSetDateTo(TSetDate::sdOrigDate);
    EXPECT_EQ(DateSetting(), TSetDate::sdOrigDate);
    unz_->SetArchiveFile("");
    EXPECT_EQ(unz_->ArcType(), TArcType::atNA);
    EXPECT_EQ(ActiveArcComponent(), nullptr);
    // A relative extract folder is made absolute, so stored names never land at a drive's root.
    unz_->SetExtractDir("rel/out");
    EXPECT_EQ(unz_->ExtractDir().back(), '\\');
    EXPECT_NE(unz_->ExtractDir().find("rel\\out\\"), std::string::npos);
    EXPECT_TRUE(unz_->ExtractDir()[0] == '\\' || unz_->ExtractDir()[1] == ':');
}

TEST(FileAttr, MaskRules)
{
    TqlvFileAttr a;
    EXPECT_EQ(a.Mask(), 33u);
    EXPECT_TRUE(a.GetAttr(TqlvFileAttr::ftArchive));
    EXPECT_TRUE(a.GetAttr(TqlvFileAttr::ftReadOnly));
    EXPECT_FALSE(a.GetAttr(TqlvFileAttr::ftDirectory));
    a.SetAttr(TqlvFileAttr::ftHidden, true);
    a.SetAttr(TqlvFileAttr::ftHidden, true);
    EXPECT_EQ(a.Mask(), 35u);
    a.SetAttr(TqlvFileAttr::ftDirectory, true);
    EXPECT_EQ(a.Mask(), 35u);
    EXPECT_TRUE(a.GetAttr(TqlvFileAttr::ftDirectory));
    a.SetAttr(TqlvFileAttr::ftReadOnly, false);
    a.SetAttr(TqlvFileAttr::ftReadOnly, false);
    EXPECT_EQ(a.Mask(), 34u);
    // Assigned Booleans drive the mask of the target too.
    TqlvFileAttr b;
    b.Assign(&a);
    EXPECT_EQ(b.Mask(), 34u);
    EXPECT_TRUE(b.GetAttr(TqlvFileAttr::ftDirectory));
}

TEST(Reflection, PublishedNamesBindByName)
{
    engine::test::SetUpEngineTests();
    fw::TComponent* owner = new fw::TComponent(nullptr);
    TUnBase* u = fw::Make<TUnBase>(owner);
    for (const char* name : {"ArchiveFile", "About", "ExtractDir", "FileSpec", "Passwords", "ProgressNotify",
                             "SetDateTo", "UseStoredDirs", "OnBegin", "OnEnd", "OnError", "OnProgress",
                             "OnNextVolume", "OnElapsedTime", "ArcType", "CpuType"})
        EXPECT_NE(fw::FindProp(u, name), nullptr) << name;
    fw::SetPropText(u, *fw::FindProp(u, "ProgressNotify"), "TwentyFive");
    EXPECT_EQ(u->ProgressNotify(), TProgressNotify::TwentyFive);
    fw::SetPropText(u, *fw::FindProp(u, "FileSpec"), "d/x.*");
    EXPECT_EQ(u->FileSpec(), "d\\x.*");
    // A handler bound through the published event fires.
    int fired = 0;
    TOnError handler;
    handler.Bind(&fired, [](void* f, fw::TObject*, const std::string&, const std::string&, const std::string&, int) {
        ++*static_cast<int*>(f);
    });
    fw::SetMethodProp(u, *fw::FindProp(u, "OnError"), std::any(handler));
    u->ReportError("a", "", "0", 25136);
    EXPECT_EQ(fired, 1);
    owner->Free();
}

// ---- form text -------------------------------------------------------------------------------------


namespace {

class TFormWriter : public TCompBase {
public:
    explicit TFormWriter(fw::TComponent* owner) : TCompBase(owner) {}
};

class TEngineTestForm : public fw::TComponent {
public:
    explicit TEngineTestForm(fw::TComponent* owner) : fw::TComponent(owner) {}
    TFakeUnpacker* UnZIP1 = nullptr;
    TFormWriter* Zip1 = nullptr;
    std::vector<std::string> Errors;
    void UnZIP1Error(fw::TObject* sender, const std::string& fn, const std::string&, const std::string&, int code)
    {
        Errors.push_back(static_cast<fw::TComponent*>(sender)->Name() + " " + fn + " " + std::to_string(code));
    }
};

void RegisterFormClasses()
{
    fw::Class<TFakeUnpacker, TUnBase>("TFakeUnpacker");
    fw::Class<TFormWriter, TCompBase>("TFormWriter");
    fw::Class<TEngineTestForm, fw::TComponent>("TEngineTestForm")
        .Field("UnZIP1", &TEngineTestForm::UnZIP1)
        .Field("Zip1", &TEngineTestForm::Zip1)
        .Method("UnZIP1Error", &TEngineTestForm::UnZIP1Error);
}

}  // namespace

TEST(FormText, EngineComponentsLoadAndBindByName)
{
    engine::test::SetUpEngineTests();
    RegisterFormClasses();
    const char* text =
        "object Main: TEngineTestForm\n"
        "  object UnZIP1: TFakeUnpacker\n"
        "    FileSpec = 'dir/a*.txt'\n"
        "    ProgressNotify = Twenty\n"
        "    UseStoredDirs = False\n"
        "    SetDateTo = sdSysDate\n"
        "    Passwords = ('one' 'two')\n"
        "    OnError = UnZIP1Error\n"
        "  end\n"
        "  object Zip1: TFormWriter\n"
        "    FileAttribute.ftHidden = True\n"
        "    FileAttribute.ftDirectory = True\n"
        "    FileSpec = ('c:/x/a.txt' '*.doc')\n"
        "    StoredDirNames = sdAbsoluteNoDrv\n"
        "    Switch = swDelete\n"
        "    OnError = UnZIP1Error\n"
        "  end\n"
        "end\n";
    auto* form = new TEngineTestForm(nullptr);
    fw::ReadComponentText(form, text, "Main");
    ASSERT_NE(form->UnZIP1, nullptr);
    ASSERT_NE(form->Zip1, nullptr);
    EXPECT_EQ(form->UnZIP1->FileSpec(), "dir\\a*.txt");
    EXPECT_EQ(form->UnZIP1->ProgressNotify(), TProgressNotify::Twenty);
    EXPECT_FALSE(form->UnZIP1->UseStoredDirs());
    EXPECT_EQ(DateSetting(), TSetDate::sdSysDate);
    ASSERT_EQ(form->UnZIP1->Passwords()->Count(), 2);
    EXPECT_EQ(form->UnZIP1->Passwords()->Get(1), "two");
    EXPECT_EQ(form->Zip1->FileAttribute()->Mask(), 35u);
    EXPECT_TRUE(form->Zip1->FileAttribute()->GetAttr(TqlvFileAttr::ftDirectory));
    ASSERT_EQ(form->Zip1->FileSpecList()->Count(), 2);
    EXPECT_EQ(form->Zip1->FileSpecList()->Get(1), "*.doc");
    EXPECT_EQ(form->Zip1->StoredDirNames(), TStoredDirNames::sdAbsoluteNoDrv);
    EXPECT_EQ(form->Zip1->Switch(), TSwitch::swDelete);

    // One handler serves both components; Sender tells them apart.
    SetActiveArcComponent(nullptr);
    form->UnZIP1->ReportError("d\\a.txt", "", "0", 25136);
    form->Zip1->ReportError("d\\b.txt", "", "0", 25298);
    EXPECT_EQ(form->Errors, (std::vector<std::string>{"UnZIP1 a.txt 25136", "Zip1 b.txt 25298"}));
    form->UnZIP1->SetSetDateTo(TSetDate::sdOrigDate);
    form->Free();
}
