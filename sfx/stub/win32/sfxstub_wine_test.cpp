// Self-extractors built around the real sfxstub from Info-ZIP archives, run under Wine and driven the
// way a user would: the test finds the extractor's windows, types into its fields and posts clicks.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/formats/common/testdata/wrong_passwords.h"
#include "sfx/builder/sfx_assembler.h"
#include "sfx/builder/stub_locator.h"
#include "sfx/common/sfx_layout.h"
#include "sfx/stub/win32/testsupport/stub_driver.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace sfx {
namespace {

using mx::test::HostPath;
using mx::test::ReadFile;
using mx::test::WriteFile;

// A case folder both as this process opens it and as the Unix tools see it.
struct CaseDir {
    std::string win;
    std::string unix;
};

CaseDir FreshCase() {
    CaseDir d;
    d.win = mx::test::FreshDir();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    d.unix = std::string(std::getenv("MX_TEST_TMP")) + "/" + info->test_suite_name() + "." + info->name();
    return d;
}

// Runs a Unix command line in the case folder's terms and returns its exit code.
int RunUnix(const CaseDir& d, const std::string& script) { return mx::test::RunUnixScript(d.unix, d.win, script); }

std::string Filler(size_t n, unsigned seed) {
    std::string s(n, '\0');
    uint32_t x = seed;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(x >> 16);
    }
    return s;
}

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

std::string Win(std::string p) {
    for (char& c : p)
        if (c == '/') c = '\\';
    return p;
}

// Writes the sample tree under dir/src and zips it with `zipArgs` into dir/in.zip.
// `wrong` lists passwords the test gives before the right one: the archive is made again until none
// of them passes an entry's check by chance.
void MakeZip(const CaseDir& d, const std::string& zipArgs, const std::vector<std::string>& wrong = {}) {
    for (const auto& [name, content] : Tree()) {
        std::filesystem::create_directories(std::filesystem::path(Win(d.win + "/src/" + name)).parent_path());
        WriteFile(Win(d.win + "/src/" + name), content);
    }
    for (int attempt = 0;; ++attempt) {
        ASSERT_LT(attempt, 20) << "every salt let a wrong password through";
        std::filesystem::remove(Win(d.win + "/in.zip"));
        ASSERT_EQ(RunUnix(d, "cd '" + d.unix + "/src' && zip -q " + zipArgs + " ../in.zip ."), 0)
            << "zip failed (package zip)";
        if (wrong.empty() || !mx::test::WrongPasswordPasses(ReadFile(Win(d.win + "/in.zip")), wrong)) break;
    }
}

// Builds dir/out.exe from dir/in.zip around the real stub, carried by a stand-in builder file.
void BuildSfx(const CaseDir& d, SfxSettings s, const std::string& zip = "in.zip") {
    const std::string stub = ReadFile(HostPath(MX_SFXSTUB));
    ASSERT_EQ(stub.size(), SfxStubSize);
    WriteFile(d.win + "\\builder.exe", "MZ" + Filler(60000, 1) + stub);
    const StubLocation loc = FindStub(d.win + "\\builder.exe");
    ASSERT_EQ(loc.stubSize, SfxStubSize);
    const BuildResult r = BuildSelfExtractor(d.win + "\\builder.exe", loc, d.win + "\\" + zip, d.win + "\\out.exe", s);
    ASSERT_TRUE(r.ok) << r.message;
}

void ExpectTreeIn(const std::string& folder) {
    for (const auto& [name, content] : Tree()) {
        const std::string path = Win(folder + "\\" + name);
        ASSERT_TRUE(std::filesystem::exists(path)) << path;
        EXPECT_TRUE(ReadFile(path) == content) << path;
    }
}

TEST(SfxStubWine, EncryptedArchiveAsksForThePasswordAndRunsTheProgram) {
    const CaseDir d = FreshCase();
    MakeZip(d, "-r -P secret", {"wrong"});
    SfxSettings s;
    s.caption = "Encrypted test";
    s.program = HostPath(MX_SFXMARKER);
    s.params = "readme.txt";
    BuildSfx(d, s);
    std::filesystem::remove(Win(HostPath(MX_SFXMARKER) + "/../marker.out"));

    test::StubDriver drv;
    drv.caption = "Encrypted test";
    drv.folder = d.win + "\\made\\here";
    drv.passwords = {"wrong", "secret"};
    ASSERT_TRUE(drv.Run(d.win + "\\out.exe", d.win)) << drv.error;

    EXPECT_EQ(drv.listed.size(), 6u);
    EXPECT_EQ(drv.passwordPrompts, 2);
    ASSERT_EQ(drv.boxes.size(), 1u) << drv.Boxes();
    EXPECT_EQ(drv.boxes[0].first, "Success");
    EXPECT_EQ(drv.boxes[0].second, "All files have been extracted.");
    EXPECT_FALSE(drv.closedByTest);
    ExpectTreeIn(drv.folder);

    // The marker program was started with the extracted document as its parameter.
    const std::string marker = (std::filesystem::path(HostPath(MX_SFXMARKER)).parent_path() / "marker.out").string();
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) Sleep(100);
    ASSERT_TRUE(std::filesystem::exists(marker));
    EXPECT_NE(ReadFile(marker).find(drv.folder + "\\readme.txt"), std::string::npos) << ReadFile(marker);
}

TEST(SfxStubWine, ThreeWrongPasswordsExtractNothing) {
    const CaseDir d = FreshCase();
    MakeZip(d, "-r -P secret", {"a", "b", "c"});
    SfxSettings s;
    s.caption = "Wrong passwords";
    BuildSfx(d, s);

    test::StubDriver drv;
    drv.caption = "Wrong passwords";
    drv.folder = d.win + "\\out";
    drv.passwords = {"a", "b", "c"};
    ASSERT_TRUE(drv.Run(d.win + "\\out.exe", d.win)) << drv.error;
    EXPECT_EQ(drv.passwordPrompts, 3);
    EXPECT_TRUE(drv.boxes.empty()) << drv.Boxes();
    EXPECT_TRUE(drv.closedByTest);
    EXPECT_EQ(drv.leftSelected.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists(Win(drv.folder + "/readme.txt")));
}

TEST(SfxStubWine, AsksBeforeOverwriting) {
    const CaseDir d = FreshCase();
    MakeZip(d, "-r -9");
    SfxSettings s;
    s.caption = "Overwrite test";
    BuildSfx(d, s);
    std::filesystem::create_directories(d.win + "\\out\\docs");
    WriteFile(d.win + "\\out\\readme.txt", "mine");
    WriteFile(d.win + "\\out\\empty.dat", "mine too");

    // "&No": the file stays and the next one is asked about again.
    test::StubDriver drv;
    drv.caption = "Overwrite test";
    drv.folder = d.win + "\\out";
    drv.overwrite = {{"empty.dat", false}, {"readme.txt", true}};
    ASSERT_TRUE(drv.Run(d.win + "\\out.exe", d.win)) << drv.error;
    ASSERT_EQ(drv.questions.size(), 2u);
    EXPECT_NE(std::find(drv.questions.begin(), drv.questions.end(), "empty.dat...already exists, overwrite ?"),
              drv.questions.end());
    EXPECT_NE(std::find(drv.questions.begin(), drv.questions.end(), "readme.txt...already exists, overwrite ?"),
              drv.questions.end());
    EXPECT_EQ(ReadFile(d.win + "\\out\\empty.dat"), "mine too");
    EXPECT_EQ(ReadFile(d.win + "\\out\\readme.txt"), Tree().at("readme.txt"));
    ASSERT_EQ(drv.boxes.size(), 1u) << drv.Boxes();
    EXPECT_EQ(drv.boxes[0].first, "Success");
    EXPECT_TRUE(ReadFile(d.win + "\\out\\docs\\big.txt") == Tree().at("docs/big.txt"));

    // "Don't ask again" with "&No": one question, and every later existing file is skipped.
    WriteFile(d.win + "\\out\\readme.txt", "mine");
    WriteFile(d.win + "\\out\\docs\\big.txt", "mine as well");
    test::StubDriver again;
    again.caption = "Overwrite test";
    again.folder = d.win + "\\out";
    again.overwrite = {{"readme.txt", false}, {"big.txt", false}};
    again.dontAskAgain = true;
    ASSERT_TRUE(again.Run(d.win + "\\out.exe", d.win)) << again.error;
    EXPECT_EQ(again.questions.size(), 1u);
    EXPECT_EQ(ReadFile(d.win + "\\out\\readme.txt"), "mine");
    EXPECT_EQ(ReadFile(d.win + "\\out\\docs\\big.txt"), "mine as well");
    ASSERT_EQ(again.boxes.size(), 1u) << again.Boxes();
    EXPECT_EQ(again.boxes[0].first, "Success");
}

TEST(SfxStubWine, FolderDialogCreatesAndChoosesANewFolder) {
    const CaseDir d = FreshCase();
    MakeZip(d, "-r");
    SfxSettings s;
    s.caption = "Folder test";
    BuildSfx(d, s);
    std::filesystem::create_directories(d.win + "\\base");

    test::StubDriver drv;
    drv.caption = "Folder test";
    drv.folder = d.win + "\\base";
    drv.newFolder = "fresh";
    ASSERT_TRUE(drv.Run(d.win + "\\out.exe", d.win)) << drv.error;
    ASSERT_EQ(drv.boxes.size(), 1u) << drv.Boxes();
    EXPECT_EQ(drv.boxes[0].first, "Success");
    EXPECT_TRUE(std::filesystem::is_directory(d.win + "\\base\\fresh"));
    EXPECT_EQ(drv.chosenFolder.substr(drv.chosenFolder.size() - 7), "\\fresh\\") << drv.chosenFolder;
    ExpectTreeIn(d.win + "\\base\\fresh");
}

TEST(SfxStubWine, HostileArchiveStaysInItsFolderAvoidsDevicesAndReportsTheDamagedEntry) {
    const CaseDir d = FreshCase();
    // Names that climb out of the folder, a good entry, an entry whose data is damaged, and names that
    // Windows opens as devices.
    const std::string py =
        "import zipfile, zlib\n"
        "z = zipfile.ZipFile('hostile.zip', 'w', zipfile.ZIP_DEFLATED)\n"
        "for n in ['../escaped.txt', '..\\\\\\\\escaped2.txt', 'sub/../../escaped3.txt', 'C:escaped4.txt']:\n"
        "    z.writestr(n, 'must not leave the folder')\n"
        "z.writestr('good.txt', 'fine ' * 100)\n"
        "z.writestr('damaged.txt', 'some text that will be damaged ' * 200)\n"
        "for n in ['aux .txt', 'nul .txt', 'com1 .log', 'CONIN$', 'CONOUT$']:\n"
        "    z.writestr(n, 'must not go into a device')\n"
        "z.close()\n"
        "b = bytearray(open('hostile.zip', 'rb').read())\n"
        "i = b.find(b'damaged.txt') + len('damaged.txt') + 40\n"
        "b[i] ^= 0x55\n"
        "open('hostile.zip', 'wb').write(bytes(b))\n";
    WriteFile(d.win + "\\make.py", py);
    ASSERT_EQ(RunUnix(d, "cd '" + d.unix + "' && python3 make.py"), 0) << "python3 failed (package python3)";
    SfxSettings s;
    s.caption = "Hostile test";
    BuildSfx(d, s, "hostile.zip");
    std::filesystem::create_directories(d.win + "\\box\\inner");

    test::StubDriver drv;
    drv.caption = "Hostile test";
    drv.folder = d.win + "\\box\\inner";
    ASSERT_TRUE(drv.Run(d.win + "\\out.exe", d.win)) << drv.error;
    EXPECT_EQ(drv.listed.size(), 11u);
    ASSERT_FALSE(drv.boxes.empty()) << drv.Boxes();
    EXPECT_EQ(drv.boxes.back().first, "Error");
    EXPECT_EQ(drv.boxes.back().second, "The selected file(s) couldn't be extracted.");
    EXPECT_TRUE(drv.closedByTest);
    // Everything but the good entry is still selected: the damaged one and the refused names.
    EXPECT_EQ(drv.leftSelected, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 10}));  // the good entry is the fifth
    std::string fine;
    for (int i = 0; i < 100; ++i) fine += "fine ";
    EXPECT_EQ(ReadFile(drv.folder + "\\good.txt"), fine);
    EXPECT_FALSE(std::filesystem::exists(drv.folder + "\\damaged.txt"));
    std::vector<std::string> written;
    for (const auto& e : std::filesystem::directory_iterator(drv.folder)) written.push_back(e.path().filename().string());
    EXPECT_EQ(written, std::vector<std::string>{"good.txt"});
    for (const char* outside : {"\\box\\escaped.txt", "\\box\\escaped2.txt", "\\escaped3.txt", "\\box\\escaped3.txt",
                                "\\box\\inner\\escaped4.txt"})
        EXPECT_FALSE(std::filesystem::exists(d.win + outside)) << outside;
}

TEST(SfxStubWine, BareStubReportsNoArchive) {
    const CaseDir d = FreshCase();
    WriteFile(d.win + "\\bare.exe", ReadFile(HostPath(MX_SFXSTUB)));
    test::StubDriver drv;
    drv.caption = "Morvix Zip Self Extractor";
    ASSERT_TRUE(drv.Run(d.win + "\\bare.exe", d.win)) << drv.error;
    ASSERT_GE(drv.boxes.size(), 1u);
    EXPECT_EQ(drv.boxes[0].first, "Error ..");
    EXPECT_EQ(drv.boxes[0].second, "Can't read archive-header");
}

}  // namespace
}  // namespace sfx
