#include "widgets/filesearch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "testing/test_env.h"
#include "widgets/filesearch_cases.h"
#include "widgets/posixlister.h"

namespace kvx {
namespace {

int Shell(const std::string& dir, const std::string& script) {
    return std::system(("cd '" + dir + "' && { " + script + "\n}").c_str());
}

// The hits of a search as full paths ("folder/;name;" lines).
std::vector<std::string> Search(const TKVXSearchParams& params, TKVXFolderLister& lister) {
    std::vector<std::string> hits;
    TKVXSearchHooks hooks;
    hooks.Found = [&](const std::string& line) { hits.push_back(searchcases::HitPath(line)); };
    KVXRunFileSearch(params, lister, hooks);
    return hits;
}

std::string Show(const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += "\n  " + x;
    return s;
}

class KVXFileSearch : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = mx::test::FreshDir();
        ASSERT_EQ(Shell(root_, searchcases::kTreeScript), 0);
    }
    std::string root_;
    TKVXPosixLister lister_;
};

TEST_F(KVXFileSearch, HitsEqualFindAndGrep) {
    for (const searchcases::Row& row : searchcases::kRows) {
        const std::string out = root_ + "/../oracle.txt";
        ASSERT_EQ(Shell(root_, searchcases::OracleScript(row, root_, out)), 0) << row.why;
        const std::vector<std::string> want = searchcases::Expected(
            row, [&](const std::string& name) { return mx::test::ReadFile(root_ + "/../" + name); });
        std::vector<std::string> got = Search(searchcases::ParamsOf(row, root_), lister_);
        std::sort(got.begin(), got.end());
        EXPECT_FALSE(want.empty()) << row.why;
        EXPECT_EQ(got, want) << row.why << "\ngot:" << Show(got) << "\nwant:" << Show(want);
    }
}

TEST_F(KVXFileSearch, AnyNumberOfMasks) {
    TKVXSearchParams p;
    p.Dirs = root_;
    p.FileMasks = searchcases::ManyMasks(250);
    EXPECT_EQ(Search(p, lister_), std::vector<std::string>{root_ + "/sub/deep/d.log"});
}

TEST_F(KVXFileSearch, FoldersThenMasksThenSubfolders) {
    TKVXSearchParams p;
    p.Dirs = root_ + "/sub/deep;" + root_ + "/sub";
    p.FileMasks = "*.log;*.txt";
    std::vector<std::string> got = Search(p, lister_);
    const std::string deep = root_ + "/sub/deep/", sub = root_ + "/sub/";
    ASSERT_EQ(got.size(), 6u) << Show(got);
    std::sort(got.begin() + 2, got.begin() + 4);
    EXPECT_EQ(got, (std::vector<std::string>{deep + "d.log", deep + "e.txt", sub + "c.txt", sub + "split.txt",
                                             deep + "d.log", deep + "e.txt"}));
}

TEST_F(KVXFileSearch, LineFieldsFollowReturnValues) {
    TKVXSearchParams p;
    p.Dirs = root_ + "/sub/deep/";
    p.FileMasks = "d.log";
    using R = TKVXReturnValue;
    std::vector<std::string> lines;
    TKVXSearchHooks hooks;
    hooks.Found = [&](const std::string& line) { lines.push_back(line); };
    KVXRunFileSearch(p, lister_, hooks);
    p.ReturnValues = {R::rvFilename, R::rvAttr, R::rvSize};
    p.ReturnDelimiter = '|';
    KVXRunFileSearch(p, lister_, hooks);
    p.ReturnValues = {};
    KVXRunFileSearch(p, lister_, hooks);
    EXPECT_EQ(lines, (std::vector<std::string>{root_ + "/sub/deep/;d.log;", "d.log|10|", ""}));
}

// A lister whose files cannot be opened once their name holds Broken.
class FailingLister : public TKVXPosixLister {
public:
    std::unique_ptr<TKVXFileReader> Open(const std::string& path) override {
        if (path.find("c.txt") != std::string::npos) return nullptr;
        struct ReadFails : TKVXFileReader {
            int64_t Read(char*, size_t) override { return -1; }
        };
        if (path.find("readme") != std::string::npos) return std::make_unique<ReadFails>();
        return TKVXPosixLister::Open(path);
    }
};

TEST_F(KVXFileSearch, UnreadableFileIsNoMatchAndTheSearchGoesOn) {
    FailingLister lister;
    TKVXSearchParams p;
    p.Dirs = root_;
    p.FileMasks = "*";
    p.Content = "needle";
    std::vector<std::string> got = Search(p, lister);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{root_ + "/.dot.txt", root_ + "/a.txte", root_ + "/old.txt",
                                             root_ + "/sub/deep/d.log"}));
}

TEST_F(KVXFileSearch, CancelStopsAtTheNextEntry) {
    TKVXSearchParams p;
    p.Dirs = root_ + ";" + root_ + "/sub";
    p.FileMasks = "*.*";
    bool cancel = false;
    int found = 0, dirs = 0;
    TKVXSearchHooks hooks;
    hooks.Cancelled = [&] { return cancel; };
    hooks.DirChange = [&](const std::string&) { ++dirs; };
    hooks.Found = [&](const std::string&) {
        ++found;
        cancel = true;
    };
    KVXRunFileSearch(p, lister_, hooks);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(dirs, 1);
}

TEST_F(KVXFileSearch, SparseFileOfFiveGigabytesPassesAMinimumSize) {
    ASSERT_EQ(Shell(root_,
                    "mkdir huge && truncate -s 5G huge/five.bin && printf "
                    "'x' > huge/small.bin"),
              0);
    TKVXSearchParams p;
    p.Dirs = root_ + "/huge";
    p.FileMasks = "*.bin";
    p.MinSize = 4500000000LL;
    EXPECT_EQ(Search(p, lister_), std::vector<std::string>{root_ + "/huge/five.bin"});
    p.MinSize = 0;
    p.MaxSize = 4000000000LL;
    EXPECT_EQ(Search(p, lister_), std::vector<std::string>{root_ + "/huge/small.bin"});
    std::vector<std::string> lines;
    TKVXSearchHooks hooks;
    hooks.Found = [&](const std::string& line) { lines.push_back(line); };
    p.MaxSize = 0;
    p.FileMasks = "five.bin";
    p.ReturnValues = {TKVXReturnValue::rvSize};
    KVXRunFileSearch(p, lister_, hooks);
    EXPECT_EQ(lines, std::vector<std::string>{"5368709120;"});
}

TEST(KVXFileSearchParts, MasksListsAndAttributes) {
    struct Match {
        const char* name;
        const char* mask;
        bool want;
    };
    const Match matches[] = {
        {"a.txt", "*.txt", true},
        {"a.txte", "*.txt", false},
        {"A.TXT", "*.txt", true},
        {"readme", "*.", true},
        {"a.b", "*.", false},
        {"readme", "*.*", true},
        {"a", "?", true},
        {"ab", "?", false},
        {"abcabd", "*ab?", true},
        {"x", "", false},
        {"", "*", true},
        {"a.tar.gz", "*.gz", true},
        {"aaaaaaaaab", "*a*a*a*b", true},
        {"aaaaaaaaaa", "*a*a*a*b", false},
    };
    for (const Match& m : matches) EXPECT_EQ(KVXMatchMask(m.name, m.mask), m.want) << m.name << " " << m.mask;
    EXPECT_EQ(KVXSplitList("a;b;"), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(KVXSplitList(""), (std::vector<std::string>{""}));
    EXPECT_TRUE(KVXAttrPasses(kFaArchive | kFaReadOnly, 0));
    EXPECT_FALSE(KVXAttrPasses(kFaHidden, 0));
    EXPECT_FALSE(KVXAttrPasses(kFaDirectory | kFaHidden, kFaDirectory));
    EXPECT_TRUE(KVXAttrPasses(kFaDirectory, kFaDirectory));
    EXPECT_TRUE(KVXAttrPasses(kFaSysFile | kFaHidden, kFaAnyFile));
}

// Hands out a text in blocks of a given size.
class TextReader : public TKVXFileReader {
public:
    TextReader(std::string text, size_t block) : text_(std::move(text)), block_(block) {}
    int64_t Read(char* buffer, size_t size) override {
        const size_t n = std::min({size, block_, text_.size() - pos_});
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return static_cast<int64_t>(n);
    }

private:
    std::string text_;
    size_t block_, pos_ = 0;
};

TEST(KVXFileSearchParts, ContentNeverSpansALineBreak) {
    struct Case {
        const char* text;
        const char* content;
        bool want;
    };
    const Case cases[] = {
        {"abc needle def", "needle", true},
        {"nee\ndle", "needle", false},
        {"nee\rdle", "needle", false},
        {"x\r\nneedle", "needle", true},
        {"needl", "needle", false},
        {"", "x", false},
        {"aaaaab", "aab", true},
    };
    for (const Case& c : cases)
        for (size_t block : {1, 2, 3, 7, 4096}) {
            TextReader r(c.text, block);
            EXPECT_EQ(KVXFileContains(r, c.content, nullptr), c.want) << c.text << " block " << block;
        }
    // A long line is searched in constant memory, across many blocks.
    std::string line(300000, 'z');
    line.replace(200000, 6, "needle");
    TextReader r(line, 1 << 20);
    EXPECT_TRUE(KVXFileContains(r, "needle", nullptr));
}

}  // namespace
}  // namespace kvx
