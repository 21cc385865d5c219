// The directory monitor under Wine on the fixture drive D:, with changes made from the Unix side:
// events on the GUI thread, the folder rules, starting and stopping, the filter while running, a
// failing handler, a monitor freed while running, and a folder that does not exist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "uisupport/shell/win32/dirmon.h"
#include "uisupport/shell/win32/testsupport/shell_wine_support.h"

namespace uis {
namespace {

using test::PumpUntil;
using test::RunUnix;

struct Failure {
    TDirMon* monitor = nullptr;
    std::string text, caption;
    DWORD thread = 0;
};
std::vector<Failure> g_failures;

void RecordFailure(TDirMon* monitor, const std::string& text, const std::string& caption) {
    g_failures.push_back({monitor, text, caption, GetCurrentThreadId()});
}

class DirMonTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        fw::InitApplication();
        RegisterDirMonClass();
    }

    void SetUp() override {
        g_failures.clear();
        TDirMon::SetFailureSink(&RecordFailure);
        monitor = fw::Make<TDirMon>(nullptr);
        monitor->OnDirChange.Bind(this, [](void* self, fw::TObject*) {
            auto* t = static_cast<DirMonTest*>(self);
            ++t->changes;
            if (GetCurrentThreadId() != fw::Application->ThreadId()) ++t->offThread;
        });
        monitor->OnStart.Bind(this, [](void* self, fw::TObject*) { ++static_cast<DirMonTest*>(self)->starts; });
        monitor->OnStop.Bind(this, [](void* self, fw::TObject*) { ++static_cast<DirMonTest*>(self)->stops; });
    }
    void TearDown() override {
        if (monitor) monitor->Free();
        TDirMon::SetFailureSink(nullptr);
        test::Pump(50);
    }

    TDirMon* monitor = nullptr;
    int changes = 0, offThread = 0, starts = 0, stops = 0;
};

TEST_F(DirMonTest, UnixSideChangesArriveOnTheGuiThread) {
    monitor->SetDirectory("D:\\");
    ASSERT_TRUE(monitor->Running());
    EXPECT_NE(monitor->WorkerThreadId(), fw::Application->ThreadId());
    ASSERT_EQ(RunUnix("for i in 1 2 3 4 5 6 7 8; do touch burst$i.tmp; done"), 0);
    EXPECT_TRUE(PumpUntil([&] { return changes >= 1; }));
    const int afterBurst = changes;
    ASSERT_EQ(RunUnix("rm burst*.tmp"), 0);
    EXPECT_TRUE(PumpUntil([&] { return changes > afterBurst; }));
    EXPECT_EQ(offThread, 0) << "every event is raised on the GUI thread";
    // One posted message can stand for several changes, never the other way round.
    EXPECT_LE(changes, 16);
}

TEST_F(DirMonTest, FolderRules) {
    struct Case {
        const char* written;
        const char* stored;
    };
    const Case cases[] = {{"D:\\", "D:\\"}, {"D:\\a\\", "D:\\a"}, {"D:\\a\\b", "D:\\a\\b"}};
    for (const Case& c : cases) {
        monitor->SetDirectory(c.written);
        EXPECT_EQ(monitor->Directory(), c.stored) << c.written;
        EXPECT_TRUE(monitor->Running());
    }
    const int startsBefore = starts, stopsBefore = stops;
    monitor->SetDirectory("D:\\a\\b");
    EXPECT_EQ(starts, startsBefore) << "the same folder again neither stops nor starts";
    EXPECT_EQ(stops, stopsBefore);
    monitor->SetDirectory("d:\\A\\B");
    EXPECT_EQ(starts, startsBefore + 1) << "another letter case restarts";
    EXPECT_EQ(stops, stopsBefore + 1);
    monitor->SetDirectory("");
    EXPECT_FALSE(monitor->Running());
    EXPECT_EQ(stops, stopsBefore + 2);
    EXPECT_EQ(starts, startsBefore + 1);
}

TEST_F(DirMonTest, StartTwiceAndStopWhenIdle) {
    try {
        monitor->Stop();
        ADD_FAILURE() << "Stop on an idle monitor must raise";
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "DirMon not started");
    }
    monitor->Start();
    EXPECT_FALSE(monitor->Running()) << "no folder, no worker";
    monitor->SetDirectory("D:\\");
    const DWORD worker = monitor->WorkerThreadId();
    monitor->Start();
    EXPECT_EQ(monitor->WorkerThreadId(), worker);
    EXPECT_EQ(starts, 1);
    monitor->Stop();
    EXPECT_FALSE(monitor->Running());
    EXPECT_EQ(stops, 1);
}

TEST_F(DirMonTest, FilterOnlyWhileIdle) {
    EXPECT_EQ(monitor->NotifyFilter(), TDirMonType{TDirMonValue::dmcFileName});
    monitor->SetDirectory("D:\\");
    try {
        monitor->SetNotifyFilter({TDirMonValue::dmcSize});
        ADD_FAILURE() << "changing the filter while running must raise";
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), "Unable to change NotifyFilter when DirMon is running");
    }
    EXPECT_EQ(monitor->NotifyFilter(), TDirMonType{TDirMonValue::dmcFileName});
    monitor->Stop();
    monitor->SetNotifyFilter({TDirMonValue::dmcSecurity, TDirMonValue::dmcDirName});
    EXPECT_EQ(DirMonFilterWord(monitor->NotifyFilter()), 0x102u) << "security is 0x100, not 0x20";
    EXPECT_EQ(DirMonKinds(0x11F), (TDirMonType{TDirMonValue::dmcFileName, TDirMonValue::dmcDirName,
                                               TDirMonValue::dmcAttributes, TDirMonValue::dmcSize,
                                               TDirMonValue::dmcLastWrite, TDirMonValue::dmcSecurity}));
}

TEST_F(DirMonTest, AFailingHandlerDoesNotStopTheMonitoring) {
    monitor->OnDirChange.Bind(this, [](void* self, fw::TObject*) {
        ++static_cast<DirMonTest*>(self)->changes;
        throw fw::Exception("handler failed");
    });
    monitor->SetDirectory("D:\\");
    ASSERT_EQ(RunUnix("touch fail1.tmp"), 0);
    ASSERT_TRUE(PumpUntil([&] { return changes >= 1; }));
    const int first = changes;
    ASSERT_EQ(RunUnix("rm fail1.tmp"), 0);
    EXPECT_TRUE(PumpUntil([&] { return changes > first; }));
}

TEST_F(DirMonTest, FreeingARunningMonitorRaisesNoStop) {
    monitor->SetDirectory("D:\\");
    monitor->Free();
    monitor = nullptr;
    EXPECT_EQ(stops, 0);
}

TEST_F(DirMonTest, AMissingFolderIsReportedFromTheGuiThreadAndStopReturns) {
    monitor->SetDirectory("D:\\missing");
    ASSERT_TRUE(PumpUntil([] { return !g_failures.empty(); }));
    ASSERT_EQ(g_failures.size(), 1u);
    EXPECT_EQ(g_failures[0].monitor, monitor);
    EXPECT_EQ(g_failures[0].text, "FindFirstChangeNotification() failed");
    EXPECT_EQ(g_failures[0].caption, "Warning");
    EXPECT_EQ(g_failures[0].thread, fw::Application->ThreadId()) << "the worker only posts; the GUI thread reports";
    EXPECT_TRUE(monitor->Running()) << "running until Stop";
    monitor->Stop();
    EXPECT_FALSE(monitor->Running());
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(changes, 0);
}

TEST_F(DirMonTest, AFolderTooLongForTheWorkerIsRefused) {
    const std::string tooLong = "D:\\" + std::string(270, 'x');
    EXPECT_THROW(monitor->SetDirectory(tooLong), fw::Exception);
    EXPECT_FALSE(monitor->Running());
}

}  // namespace
}  // namespace uis
