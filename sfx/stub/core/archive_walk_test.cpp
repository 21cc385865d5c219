#include "sfx/stub/core/archive_walk.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine/formats/common/testdata/wrong_passwords.h"
#include "sfx/stub/core/memory_host.h"
#include "testing/test_env.h"

namespace sfx {
namespace {

using mx::test::ReadFile;
using mx::test::WriteFile;

int Sh(const std::string& cmd) { return WEXITSTATUS(std::system(cmd.c_str())); }

void RequireTools() {
    ASSERT_EQ(Sh("command -v zip >/dev/null"), 0) << "zip is missing: install zip";
    ASSERT_EQ(Sh("command -v python3 >/dev/null"), 0) << "python3 is missing: install python3";
}

std::string Filler(size_t n, unsigned seed) {
    std::string s(n, '\0');
    uint32_t x = seed;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    return s;
}

// Sample files: small, empty, a compressible one over 32 KB and an incompressible one over 64 KB.
const std::map<std::string, std::string>& Tree() {
    static const std::map<std::string, std::string> tree = [] {
        std::map<std::string, std::string> t;
        t["readme.txt"] = "Read me first.\r\n";
        t["empty.dat"] = "";
        std::string big;
        for (int i = 0; i < 9000; ++i) big += "line " + std::to_string(i * 37 % 1000) + " of the big file\n";
        t["docs/big.txt"] = big;
        t["docs/deep/random.bin"] = Filler(70000, 7);
        return t;
    }();
    return tree;
}

struct Walk {
    std::string dir = mx::test::FreshDir();
    MemoryHost host;
    WalkState state;
    std::string zip;

    Walk() {
        for (const auto& [name, content] : Tree()) {
            std::filesystem::create_directories(std::filesystem::path(dir + "/src/" + name).parent_path());
            WriteFile(dir + "/src/" + name, content);
        }
        std::strcpy(state.folder, "C:\\out");
    }
    void Make(const std::string& command) {
        ASSERT_EQ(Sh("cd " + dir + "/src && " + command), 0) << command;
        zip = ReadFile(dir + "/in.zip");
    }
    void List() {
        MemoryFile f(zip);
        WalkArchive(host, f, 0, true, state);
        host.SelectAll();
    }
    void Extract() {
        MemoryFile f(zip);
        host.messages.clear();
        WalkArchive(host, f, 0, false, state);
    }
    std::string Caption() const { return host.messages.empty() ? "" : host.messages.back().second; }
    static std::string Target(const std::string& name) { return "C:\\out\\" + name; }
    // Where an entry's data starts, found by walking the local headers.
    size_t DataOffset(const std::string& name) const {
        size_t p = 0;
        while (p + 30 <= zip.size() && zip.compare(p, 4, "PK\x03\x04", 4) == 0) {
            auto le = [&](size_t at) { return static_cast<uint8_t>(zip[at]) | static_cast<uint8_t>(zip[at + 1]) << 8; };
            const size_t n = le(p + 26), e = le(p + 28);
            const uint32_t c = static_cast<uint32_t>(le(p + 18) | le(p + 20) << 16);
            if (zip.compare(p + 30, n, name) == 0) return p + 30 + n + e;
            p += 30 + n + e + c;
        }
        return std::string::npos;
    }
};

TEST(ArchiveWalk, ExtractsInfoZipArchivesExactly) {
    RequireTools();
    const struct {
        const char* name;
        const char* command;
    } cases[] = {
        {"deflated", "zip -q -r ../in.zip ."},
        {"deflated -1", "zip -q -1 -r ../in.zip ."},
        {"deflated -9", "zip -q -9 -r ../in.zip ."},
        {"stored", "zip -q -0 -r ../in.zip ."},
        {"encrypted", "zip -q -P secret -r ../in.zip ."},
        {"encrypted stored", "zip -q -0 -P secret -r ../in.zip ."},
        {"no extra fields", "zip -q -X -r ../in.zip ."},
        {"archive comment", "echo comment | zip -q -z -r ../in.zip ."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Walk w;
        w.host.passwordsToGive = {"secret"};
        w.Make(c.command);
        w.List();
        EXPECT_EQ(w.host.ListCount(), 6);  // four files and two folder entries
        w.Extract();
        EXPECT_EQ(w.Caption(), "Success");
        EXPECT_TRUE(w.state.allDone);
        EXPECT_EQ(w.host.ListSelectedCount(), 0);
        EXPECT_EQ(w.host.files.size(), Tree().size());
        for (const auto& [name, content] : Tree()) EXPECT_TRUE(w.host.files[Walk::Target(name)] == content) << name;
        EXPECT_LE(w.host.passwordAsks, 1);
    }
}

TEST(ArchiveWalk, ThreeWrongPasswordsEndThePassQuietly) {
    RequireTools();
    Walk w;
    for (int attempt = 0;; ++attempt) {
        ASSERT_LT(attempt, 20) << "every salt let a wrong password through";
        std::filesystem::remove(w.dir + "/in.zip");
        w.Make("zip -q -P secret -r ../in.zip .");
        if (!mx::test::WrongPasswordPasses(w.zip, {"a", "b", "c"})) break;
    }
    w.List();
    w.host.passwordsToGive = {"a", "b", "c", "secret"};
    w.Extract();
    EXPECT_EQ(w.host.passwordAsks, 3);
    EXPECT_TRUE(w.host.messages.empty());
    EXPECT_TRUE(w.host.files.empty());
    EXPECT_FALSE(w.state.allDone);
    // The next pass asks again and the right answer is remembered for every entry.
    w.host.SelectAll();
    w.Extract();
    EXPECT_EQ(w.host.passwordAsks, 4);
    EXPECT_EQ(w.Caption(), "Success");
}

TEST(ArchiveWalk, OverwriteModes) {
    RequireTools();
    Walk w;
    w.Make("zip -q -r ../in.zip .");
    w.List();
    w.host.files[Walk::Target("readme.txt")] = "mine";

    w.host.mode = kModeSkip;
    w.Extract();
    EXPECT_EQ(w.host.files[Walk::Target("readme.txt")], "mine");
    EXPECT_EQ(w.Caption(), "Success");  // a skipped file counts as done

    w.host.SelectAll();
    w.host.mode = kModeConfirm;
    w.host.overwriteAnswer = false;
    w.host.files[Walk::Target("docs/big.txt")] = "mine too";
    w.Extract();
    EXPECT_EQ(w.host.files[Walk::Target("readme.txt")], "mine");
    EXPECT_NE(std::find(w.host.overwriteAsks.begin(), w.host.overwriteAsks.end(), "big.txt"),
              w.host.overwriteAsks.end());

    w.host.SelectAll();
    w.host.overwriteAnswer = true;
    w.Extract();
    EXPECT_EQ(w.host.files[Walk::Target("readme.txt")], Tree().at("readme.txt"));
}

TEST(ArchiveWalk, NamesLeavingTheFolderAreNeverWritten) {
    RequireTools();
    Walk w;
    ASSERT_EQ(Sh("cd " + w.dir + " && python3 -c \""
                 "import zipfile\n"
                 "z = zipfile.ZipFile('in.zip', 'w')\n"
                 "for n in ['../evil.txt', '..\\\\evil2.txt', '/abs.txt', '\\\\abs2.txt', 'C:drive.txt',"
                 " 'a/../../up.txt', 'sub/. ./x.txt', 'nul.txt', 'ok.txt']:\n"
                 "    i = zipfile.ZipInfo(n); z.writestr(i, 'x ' + n)\n"
                 "z.close()\""),
              0);
    w.zip = ReadFile(w.dir + "/in.zip");
    w.List();
    EXPECT_EQ(w.host.ListCount(), 9);
    w.Extract();
    ASSERT_EQ(w.host.files.size(), 1u);
    EXPECT_EQ(w.host.files.begin()->first, Walk::Target("ok.txt"));
    EXPECT_EQ(w.host.ListSelectedCount(), 8);
    EXPECT_EQ(w.Caption(), "Error");
    for (const std::string& f : w.host.folders) EXPECT_EQ(f.find(".."), std::string::npos) << f;
}

TEST(ArchiveWalk, DamagedEntryIsReportedAndRemoved) {
    RequireTools();
    Walk w;
    w.Make("zip -q -r ../in.zip .");
    const size_t at = w.DataOffset("docs/big.txt");
    ASSERT_NE(at, std::string::npos);
    w.zip[at + 200] = static_cast<char>(w.zip[at + 200] ^ 0x55);
    w.List();
    w.Extract();
    EXPECT_EQ(w.Caption(), "Error");
    EXPECT_EQ(w.host.status, "The selected file(s) couldn't get extracted");
    EXPECT_EQ(w.host.files.count(Walk::Target("docs/big.txt")), 0u);
    EXPECT_EQ(w.host.files[Walk::Target("docs/deep/random.bin")], Tree().at("docs/deep/random.bin"));
    ASSERT_EQ(w.host.ListSelectedCount(), 1);
    EXPECT_TRUE(w.host.ListSelected(w.host.ListFind(-1, "docs/big.txt")));
}

TEST(ArchiveWalk, CutOffArchiveEndsTheWalk) {
    RequireTools();
    for (const char* command : {"zip -q -0 -r ../in.zip .", "zip -q -r ../in.zip ."}) {
        SCOPED_TRACE(command);
        Walk w;
        w.Make(command);
        const size_t at = w.DataOffset("docs/deep/random.bin");
        ASSERT_NE(at, std::string::npos);
        w.zip.resize(at + 40000);
        w.List();
        w.Extract();
        EXPECT_EQ(w.host.files.count(Walk::Target("docs/deep/random.bin")), 0u);
        EXPECT_EQ(w.Caption(), "Error");
    }
}

TEST(ArchiveWalk, StreamsWithoutLocalSizesEnd) {
    RequireTools();
    {
        // Local sizes 0xFFFFFFFF: the deflated data ends by itself and checks out; the walk then finds no
        // header where the sizes point and ends.
        Walk w;
        w.Make("cat docs/big.txt | zip -q - - > ../in.zip");
        w.List();
        EXPECT_EQ(w.host.ListCount(), 1);
        w.Extract();
        EXPECT_EQ(w.Caption(), "Success");
        EXPECT_TRUE(w.host.files[Walk::Target("-")] == Tree().at("docs/big.txt"));
    }
    {
        // Sizes only in data descriptors (local sizes 0): the first entry cannot be extracted and the walk
        // ends there.
        Walk w;
        w.Make("zip -q - docs/big.txt readme.txt | cat > ../in.zip");
        w.List();
        EXPECT_EQ(w.host.ListCount(), 1);
        w.Extract();
        EXPECT_TRUE(w.host.files.empty());
        EXPECT_EQ(w.Caption(), "Error");
        EXPECT_EQ(w.host.ListSelectedCount(), 1);
    }
}

TEST(ArchiveWalk, UnknownMethodStopsThePass) {
    RequireTools();
    Walk w;
    w.Make("zip -q -Z bzip2 ../in.zip docs/big.txt");
    w.List();
    w.Extract();
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].first, "Unknown compression type");
    EXPECT_EQ(w.host.messages[0].second, "Error in extraction ..");
}

TEST(ArchiveWalk, OwnFileIsNeverOpened) {
    RequireTools();
    Walk w;
    w.Make("zip -q ../in.zip readme.txt");
    w.host.ownFile = Walk::Target("README.TXT");
    w.List();
    w.Extract();
    EXPECT_TRUE(w.host.files.empty());
    ASSERT_GE(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].second, "Can't open the file ..");
}

TEST(ArchiveWalk, NoArchiveReportsTheHeader) {
    Walk w;
    w.zip = std::string(1000, 'M');
    w.List();
    ASSERT_EQ(w.host.messages.size(), 1u);
    EXPECT_EQ(w.host.messages[0].first, "Can't read archive-header");
    EXPECT_EQ(w.host.messages[0].second, "Error ..");
}

TEST(ArchiveWalk, SafeEntryNames) {
    for (const char* ok : {"a.txt", "docs/a.txt", "docs\\deep\\b", "x..y", ".hidden", "a/b/", "console/x.txt.bak"})
        EXPECT_TRUE(IsSafeEntryName(ok)) << ok;
    for (const char* bad : {"", "..", "../a", "a/../../b", "a\\..\\b", "/a", "\\a", "C:a", "a:stream", "...",
                            ". .", "aux", "COM1.txt", "lpt9", "a\tb", "aux .txt", "nul .txt", "com1 .log",
                            "CONIN$", "CONOUT$", "d/conin$.txt", "COM\xb9", "lpt\xb3.txt"})
        EXPECT_FALSE(IsSafeEntryName(bad)) << bad;
}

}  // namespace
}  // namespace sfx
