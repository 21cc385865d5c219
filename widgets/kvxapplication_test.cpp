#include "widgets/kvxapplication.h"

#include <gtest/gtest.h>

#include "framework/core/datetime.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"
#include "widgets/test_paths.h"

namespace kvx {
namespace {

using test::ReadHost;
using test::WriteHost;

// A clock that stands still at 2026-03-04 05:06:07.
class FixedClock : public fw::Clock {
public:
    uint64_t TickCount() override { return 1000; }
    fw::SystemTime LocalNow() override { return {2026, 3, 4, 5, 6, 7, 0}; }
    fw::SystemTime UtcNow() override { return LocalNow(); }
    int BiasMinutes(int64_t) override { return 0; }
    void Sleep(uint32_t) override {}
};

class Log : public ::testing::Test {
protected:
    void SetUp() override {
        fw::SetClock(&clock);
        dir = fw::IncludeTrailingBackslash(mx::test::FreshDir());
        KVXSetFolderSource({[this] { return dir + "demo.exe"; }, {}, {}});
        app = KVXCreateApplication();
    }
    void TearDown() override {
        KVXDestroyApplication();
        KVXSetFolderSource({});
        fw::SetClock(nullptr);
    }
    std::string Read(const std::string& name) { return ReadHost(name); }

    FixedClock clock;
    std::string dir;
    TKVXApplication* app = nullptr;
};

TEST_F(Log, NamesFollowThePrefix) {
    EXPECT_EQ(app->LogName(), dir + "demo.LOG");
    app->SetLogName("trace");
    EXPECT_EQ(app->LogName(), dir + "trace.LOG");
    app->SetLogPrefix(TKVXPathPrefix::ppFixed);
    app->SetLogName("trace");
    EXPECT_EQ(app->LogName(), "trace.LOG");
    app->SetLogName("x.txt");
    EXPECT_EQ(app->LogName(), "x.txt");
}

TEST_F(Log, HeaderNumbersAndTimes) {
    app->Version = "2.1";
    app->Options.Include(TKVXApplicationOption::aoLogTime);
    for (const char* text : {"one", "#CR", "two", "#Line", "three", "four"}) app->WriteLog(text);
    const std::string time = fw::TimeToStr(fw::Now());
    const std::string want = "\r\nLogFile started: " + fw::DateToStr(fw::Now()) + " " + time + "\r\n" +
                             "Application    : " + fw::HostSeam().Title() + "\r\n" +
                             "Path/ExeName   : " + fw::HostSeam().ExeName() + "\r\n" +
                             "Version        : 2.1\r\n" + std::string(80, '*') + "\r\n\r\nEntries:\r\n" +
                             "00001: one [" + time + "]\r\n\r\n00002: two [" + time + "]\r\n" +
                             std::string(80, '*') + "\r\n00003: three [" + time + "]\r\n00004: four [" + time + "]\r\n";
    EXPECT_EQ(Read(app->LogName()), want);
    EXPECT_EQ(fw::DateToStr(fw::Now()), "3/4/2026");
}

TEST_F(Log, FirstEntryOfARunClearsUnlessToldNotTo) {
    WriteHost(app->LogName(), "old\r\n");
    app->Options = {TKVXApplicationOption::aoLogAlwaysClear, TKVXApplicationOption::aoLogNr};
    app->WriteLog("a");
    EXPECT_EQ(Read(app->LogName()), "00001: a\r\n");
    KVXDestroyApplication();
    app = KVXCreateApplication();
    app->Options = {};  // appends, and no header
    app->WriteLog("b");
    EXPECT_EQ(Read(app->LogName()), "00001: a\r\nb\r\n");
}

TEST_F(Log, OversizeLogsAreBackedUpInTurn) {
    app->Options = {TKVXApplicationOption::aoLogHeader};
    app->LogMaxsize = 1000;
    app->LogMaxAction = TKVXLogAction::laBackupLog;
    const std::string big(1200, 'x');
    WriteHost(app->LogName(), big);
    app->WriteLog("first");
    EXPECT_EQ(Read(dir + "demo.l0"), big);
    std::string log = Read(app->LogName());
    EXPECT_NE(log.find("Entries:\r\nfirst\r\n"), std::string::npos);
    WriteHost(app->LogName(), big + "2");
    app->WriteLog("second");
    EXPECT_EQ(Read(dir + "demo.l1"), big + "2");
    log = Read(app->LogName());
    EXPECT_NE(log.find("LogFile started"), std::string::npos);
    EXPECT_NE(log.find("Entries:\r\nsecond\r\n"), std::string::npos);
    EXPECT_EQ(log.find("first"), std::string::npos);

    // 100 or less never checks the size.
    app->LogMaxsize = 100;
    WriteHost(app->LogName(), big);
    app->WriteLog("third");
    EXPECT_FALSE(fw::FileExists(dir + "demo.l2"));

    // A cancel from OnMaxLogSize drops the entry.
    app->LogMaxsize = 1000;
    app->OnMaxLogSize.Bind(nullptr, [](void*, TObject*, const std::string&, bool& cancel) { cancel = true; });
    const std::string before = Read(app->LogName());
    app->WriteLog("dropped");
    EXPECT_EQ(Read(app->LogName()), before);
}

TEST_F(Log, ExceptionsAreLoggedAndLogFailuresNeverEscape) {
    app->Options = {};
    auto* named = new TKVXComponent(nullptr);
    named->SetName("Starter1");
    try {
        throw fw::Exception("disk full");
    } catch (...) {
        app->LogException(named);
        app->LogException(nullptr);
    }
    app->LogException(named);  // no exception in flight: nothing
    const std::string log = Read(app->LogName());
    EXPECT_EQ(log.rfind("TKVXComponent (Name: Starter1): disk full, Address: ", 0), 0u) << log;
    EXPECT_NE(log.find("\r\ndisk full, Address: "), std::string::npos) << log;
    named->Free();

    KVXDestroyApplication();
    app = KVXCreateApplication();
    app->SetLogPrefix(TKVXPathPrefix::ppFixed);
    app->SetLogName(dir + "missing\\folder\\x.log");
    EXPECT_THROW(app->WriteLog("header due"), fw::EInOutError);
    try {
        throw fw::Exception("lost");
    } catch (...) {
        EXPECT_NO_THROW(app->LogException(nullptr));
    }
}

TEST_F(Log, HandlerCancelLogAndShow) {
    app->Options = {TKVXApplicationOption::aoLogException};
    int shown = 0;
    bool cancelNext = true;
    app->OnException.Bind(&cancelNext, [](void* p, TObject*, fw::Exception&, bool& cancel) { cancel = *static_cast<bool*>(p); });
    fw::Exception e("bad");
    try {
        throw e;
    } catch (fw::Exception& x) {
        app->HandleException(nullptr, x, [&] { ++shown; });
        EXPECT_EQ(shown, 0);
        cancelNext = false;
        app->HandleException(nullptr, x, [&] { ++shown; });
    }
    EXPECT_EQ(shown, 1);
    EXPECT_NE(Read(app->LogName()).find("bad, Address: "), std::string::npos);
}

TEST(EditMode, NotifiesOnChangeOnly) {
    TKVXApplication* app = KVXCreateApplication();
    int n = 0;
    app->OnEditModeChange.Bind(&n, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    EXPECT_EQ(app->EditMode(), kEditInsert);
    app->SetEditMode(kEditInsert);
    app->SetEditMode(kEditInsert | kEditShift);
    EXPECT_EQ(n, 1);
    KVXDestroyApplication();
}

TEST(DefaultRegPath, CompanyTitleVersion) {
    EXPECT_EQ(KVXDefaultRegPath("Acme", "Zipper", "3.0"), "Software\\Acme\\Zipper\\3.0\\");
    EXPECT_EQ(KVXDefaultRegPath("  ", "Zipper", ""), "Software\\Zipper\\");
    KVXSetFolderSource({[] { return std::string("C:\\P\\z.exe"); }, {}, {}});
    EXPECT_EQ(KVXDefaultRegPath("", "", ""), "Software\\C:\\P\\z.exe\\");
    KVXSetFolderSource({});
}

}  // namespace
}  // namespace kvx
