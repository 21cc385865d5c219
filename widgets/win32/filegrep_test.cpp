#include "widgets/win32/filegrep.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/win32/winapi.h"
#include "testing/test_env.h"
#include "widgets/filesearch_cases.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

// What a search reported, bound to its events.
struct Log {
    int finished = 0, cancelled = 0, dirs = 0;
    std::vector<std::string> found;
    // Run from an event: frees the component on the given event count.
    TKVXFileGrep* freeMe = nullptr;
    int freeOnDir = -1, freeOnFound = -1;
};

void Watch(TKVXFileGrep* g, Log* log) {
    g->OnFinished.Bind(log, [](void* l, fw::TObject*) { ++static_cast<Log*>(l)->finished; });
    g->OnCancel.Bind(log, [](void* l, fw::TObject*) { ++static_cast<Log*>(l)->cancelled; });
    g->OnDirChange.Bind(log, [](void* p, fw::TObject*, const std::string&) {
        auto* l = static_cast<Log*>(p);
        if (++l->dirs == l->freeOnDir) l->freeMe->Free();
    });
    g->OnFound.Bind(log, [](void* p, fw::TObject*, const std::string& line) {
        auto* l = static_cast<Log*>(p);
        l->found.push_back(line);
        if (static_cast<int>(l->found.size()) == l->freeOnFound) l->freeMe->Free();
    });
}

// "Z:\...\folder\;name;" as the Unix path of the file.
std::string UnixHit(const std::string& line) { return mx::test::UnixPathOf(searchcases::HitPath(line)); }

class KVXFileGreps : public test::TControlsTest {
protected:
    void SetUp() override {
        dir_ = test::NewCaseDir();
        ASSERT_EQ(test::RunUnix(dir_, std::string("mkdir tree && cd tree && {\n") + searchcases::kTreeScript + "}"), 0);
        root_ = dir_.win + "\\tree";
        rootUnix_ = dir_.unix + "/tree";
    }
    TKVXFileGrep* Make(Log* log) {
        auto* g = fw::Make<TKVXFileGrep>(nullptr);
        Watch(g, log);
        g->Dirs = root_;
        return g;
    }
    std::vector<std::string> RawFind(const std::string& mask) {
        std::vector<std::string> names;
        WIN32_FIND_DATAA fd{};
        HANDLE h = FindFirstFileA((root_ + "\\" + mask).c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) return names;
        do names.push_back(fd.cFileName);
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return names;
    }
    test::CaseDir dir_;
    std::string root_, rootUnix_;
};

TEST_F(KVXFileGreps, HitsEqualFindAndGrep) {
    for (const searchcases::Row& row : searchcases::kRows) {
        const std::string out = dir_.unix + "/oracle.txt";
        ASSERT_EQ(test::RunUnix(dir_, searchcases::OracleScript(row, rootUnix_, out)), 0) << row.why;
        const std::vector<std::string> want = searchcases::Expected(
            row, [&](const std::string& name) { return mx::test::ReadFile(dir_.win + "\\" + name); });
        Log log;
        TKVXFileGrep* g = Make(&log);
        const TKVXSearchParams p = searchcases::ParamsOf(row, root_);
        g->FileMasks = p.FileMasks;
        g->MinSize = p.MinSize;
        g->MaxSize = p.MaxSize;
        g->Content = p.Content;
        g->RecurseSubDirs = p.RecurseSubDirs;
        if (row.attrMask != kFaAnyFile) g->Attributes = {};
        if (row.modifiedBefore2021) {
            g->LookForDates = {TKVXLookFor::lfModifiedBefore};
            g->GetDate(5)->SetDateTime(p.Dates.ModifiedBefore);
        }
        g->ThreadedSearch = false;
        g->Execute();
        std::vector<std::string> got;
        for (const std::string& line : log.found) got.push_back(UnixHit(line));
        std::sort(got.begin(), got.end());
        EXPECT_FALSE(want.empty()) << row.why;
        EXPECT_EQ(got, want) << row.why;
        EXPECT_EQ(log.finished, 1) << row.why;
        EXPECT_EQ(g->Results()->Count(), static_cast<int>(log.found.size())) << row.why;
        g->Free();
    }
}

TEST_F(KVXFileGreps, WineMatchingQuirksStayOutOfTheHits) {
    // Names that start with a dot are hidden.
    EXPECT_EQ(GetFileAttributesA((root_ + "\\.dot.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    for (const searchcases::Row& row : searchcases::kRows) {
        if (!*row.wineRawExtra) continue;
        // The system's own matching finds the extra name...
        const std::vector<std::string> raw = RawFind(row.masks);
        EXPECT_NE(std::find(raw.begin(), raw.end(), row.wineRawExtra), raw.end()) << row.why;
        // ...and the search does not report it.
        Log log;
        TKVXFileGrep* g = Make(&log);
        g->FileMasks = row.masks;
        g->RecurseSubDirs = false;
        g->ThreadedSearch = false;
        g->Execute();
        EXPECT_FALSE(log.found.empty()) << row.why;
        for (const std::string& line : log.found)
            EXPECT_FALSE(line.ends_with(std::string(";") + row.wineRawExtra + ";")) << row.why;
        g->Free();
    }
}

TEST_F(KVXFileGreps, SparseFileOfFiveGigabytesPassesAMinimumSize) {
    ASSERT_EQ(test::RunUnix(dir_, "mkdir huge && truncate -s 5G huge/five.bin && printf x > huge/small.bin"), 0);
    Log log;
    TKVXFileGrep* g = Make(&log);
    g->Dirs = dir_.win + "\\huge";
    g->FileMasks = "*.bin";
    g->MinSize = 4500000000LL;
    g->ReturnValues = {TKVXReturnValue::rvFilename, TKVXReturnValue::rvSize};
    g->ThreadedSearch = false;
    g->Execute();
    EXPECT_EQ(log.found, std::vector<std::string>{"five.bin;5368709120;"});
    g->Free();
}

TEST_F(KVXFileGreps, FileHeldWithoutSharingIsNoMatchAndTheSearchFinishes) {
    HANDLE held = CreateFileA((root_ + "\\sub\\c.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    // The hold is real: nobody else opens the file now.
    HANDLE other = CreateFileA((root_ + "\\sub\\c.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
    Log log;
    TKVXFileGrep* g = Make(&log);
    g->FileMasks = "*.txt";
    g->Content = "needle";
    for (int round = 1; round <= 2; ++round) {
        g->Execute();
        EXPECT_TRUE(g->Searching());
        test::PumpUntil([&] { return log.finished == round; });
        EXPECT_EQ(log.finished, round);
        EXPECT_FALSE(g->Searching());
    }
    std::vector<std::string> got;
    for (int i = 0; i < g->Results()->Count(); ++i) got.push_back(UnixHit((*g->Results())[i]));
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{rootUnix_ + "/.dot.txt", rootUnix_ + "/old.txt"}));
    CloseHandle(held);
    g->Free();
}

TEST_F(KVXFileGreps, FreeingDuringAThreadedSearchIsSafe) {
    struct Case {
        const char* why;
        int freeOnDir, freeOnFound;
    };
    const Case cases[] = {
        {"pending: freed before the GUI thread runs it", -1, -1},
        {"running: freed from a folder change", 2, -1},
        {"running: freed from a hit", -1, 1},
    };
    for (const Case& c : cases)
        for (int round = 0; round < 3; ++round) {
            Log log;
            TKVXFileGrep* g = Make(&log);
            g->FileMasks = "*.*";
            log.freeMe = g;
            log.freeOnDir = c.freeOnDir;
            log.freeOnFound = c.freeOnFound;
            g->Execute();
            if (c.freeOnDir < 0 && c.freeOnFound < 0) g->Free();
            test::PumpFor(100);
            // Nothing reaches the freed component's handlers after the free.
            EXPECT_EQ(log.finished + log.cancelled, 0) << c.why;
            if (c.freeOnDir > 0) {
                EXPECT_EQ(log.dirs, c.freeOnDir) << c.why;
            }
            if (c.freeOnFound > 0) {
                EXPECT_EQ(static_cast<int>(log.found.size()), c.freeOnFound) << c.why;
            }
            EXPECT_EQ(fw::QueuedSynchronizeCount(), 0) << c.why;
        }
}

TEST_F(KVXFileGreps, CancelEndsWithOnCancelOnce) {
    Log log;
    TKVXFileGrep* g = Make(&log);
    g->Dirs = root_ + ";" + root_ + "\\sub";
    g->FileMasks = "*.*";
    g->OnFound.Bind(&log, [](void* p, fw::TObject* sender, const std::string& line) {
        static_cast<Log*>(p)->found.push_back(line);
        static_cast<TKVXFileGrep*>(sender)->Cancel();
    });
    g->Execute();
    test::PumpUntil([&] { return !g->Searching(); });
    EXPECT_EQ(log.found.size(), 1u);
    EXPECT_EQ(log.dirs, 1);
    EXPECT_EQ(log.cancelled, 1);
    EXPECT_EQ(log.finished, 0);
    // A cancel while idle makes the next search stop at once; the one after runs.
    Watch(g, &log);
    g->Cancel();
    g->ThreadedSearch = false;
    g->Execute();
    EXPECT_EQ(log.cancelled, 2);
    EXPECT_EQ(log.found.size(), 1u);
    g->Execute();
    EXPECT_EQ(log.finished, 1);
    EXPECT_GT(log.found.size(), 1u);
    g->Free();
}

TEST_F(KVXFileGreps, ExecuteClearsResultsButNotTheListBox) {
    auto* list = fw::Make<TKVXListBox>(form);
    list->SetParent(form);
    Log log;
    TKVXFileGrep* g = Make(&log);
    g->FileMasks = "*.log";
    g->ThreadedSearch = false;
    g->SetOutStringList(list);
    // A hit reaches OnFound before the list box.
    std::vector<int> seen;
    g->OnFound.Bind(&seen, [](void* p, fw::TObject* sender, const std::string&) {
        static_cast<std::vector<int>*>(p)->push_back(
            static_cast<TKVXFileGrep*>(sender)->OutStringList()->Items()->Count());
    });
    g->Execute();
    g->Execute();
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
    EXPECT_EQ(g->Results()->Count(), 1);
    EXPECT_EQ(list->Items()->Count(), 2);
    // A freed list box is forgotten.
    list->Free();
    EXPECT_EQ(g->OutStringList(), nullptr);
    g->OnFound.Reset();
    g->Execute();
    EXPECT_EQ(g->Results()->Count(), 1);
    g->Free();
}

}  // namespace
}  // namespace kvx::win32
