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
#include "sfx/stub/win32/stub_resource.h"
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

// The title of a top-level window, read without waiting for its (possibly busy) thread.
std::string Title(HWND w) {
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

bool IsDialogClass(HWND w) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    return std::string(cls) == "#32770";
}

std::string WindowText(HWND w) {
    char buf[1024] = {};
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

void Click(HWND dlg, int id) {
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Clicks a button of a modal dialog and waits until the dialog has gone.
void Answer(HWND dlg, int id) {
    Click(dlg, id);
    for (int i = 0; i < 50 && IsWindow(dlg) && IsWindowVisible(dlg); ++i) Sleep(100);
}

void SetText(HWND dlg, int id, const std::string& text) {
    SendMessageTimeoutA(GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        2000, nullptr);
}

// Plays the user of one self-extractor run.
struct Driver {
    std::string caption;                 // the main dialog's title
    std::string folder;                  // typed into "Extract to :" before "&Extract"; empty: keep
    std::vector<std::string> passwords;  // answers to "Enter password..."
    std::map<std::string, bool> overwrite;  // answers to "Confirm overwrite of..." by file (true: Yes)
    bool dontAskAgain = false;
    std::string newFolder;  // when set: "..." then "New..." with this name, OK in both dialogs

    // What was seen.
    std::vector<int> listed;
    std::vector<std::pair<std::string, std::string>> boxes;  // caption, text
    std::vector<std::string> questions;                      // overwrite questions
    int passwordPrompts = 0;
    std::vector<int> leftSelected;  // list positions still selected when the test closed the dialog
    bool closedByTest = false;
    DWORD exitCode = 0;
    std::string selectedPath;  // what "Select extract directory" showed when OK was clicked
    std::string chosenFolder;  // the "Extract to :" field after the folder dialog

    void Run(const std::string& exe, const std::string& cwd);

private:
    static BOOL CALLBACK Collect(HWND w, LPARAM lp) {
        auto* self = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == self->first && IsWindowVisible(w)) self->second->push_back(w);
        return TRUE;
    }
    // The list's entries (positions, in archive order for the unsorted list), or the selected ones.
    void ReadList(HWND dlg, bool selectedOnly, std::vector<int>& out) {
        for (int id : {IDC_LIST_PLAIN, IDC_LIST_SORTED}) {
            const HWND list = GetDlgItem(dlg, id);
            if (!IsWindowVisible(list)) continue;
            const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            for (int i = 0; i < n; ++i)
                if (!selectedOnly || SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) out.push_back(i);
        }
    }
};

void Driver::Run(const std::string& exe, const std::string& cwd) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi));
    bool extractClicked = false;
    bool browsed = false;
    bool newFolderMade = false;
    bool browseDone = false;
    size_t nextPassword = 0;
    int idleTicks = 0;
    for (int tick = 0; tick < 600; ++tick) {  // 60 s at most
        if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
        std::vector<HWND> windows;
        std::pair<DWORD, std::vector<HWND>*> ctx(pi.dwProcessId, &windows);
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&ctx));
        HWND main = nullptr;
        bool other = false;
        // A dialog opened from another one is answered first; its owner waits behind it.
        bool nested = false;
        for (HWND w : windows) nested = nested || Title(w) == "Create subdirectory";
        for (HWND w : windows) {
            const std::string title = Title(w);
            if (title.empty() || !IsDialogClass(w)) continue;
            if (title == caption) {
                main = w;
            } else if (title == "Enter password...") {
                other = true;
                ++passwordPrompts;
                SetText(w, IDC_PASSWORD, nextPassword < passwords.size() ? passwords[nextPassword++] : "");
                Answer(w, IDOK);
            } else if (title == "Create subdirectory") {
                other = true;
                SetText(w, IDC_NEW_NAME, newFolder);
                Answer(w, IDOK);
            } else if (title == "Select extract directory") {
                other = true;
                if (nested) continue;
                if (!newFolderMade) {
                    newFolderMade = true;
                    Click(w, IDC_SEL_NEW);
                    Sleep(500);
                } else {
                    selectedPath = WindowText(GetDlgItem(w, IDC_SEL_PATH));
                    Answer(w, IDOK);
                    browseDone = true;
                }
            } else if (title == "Confirm overwrite of...") {
                other = true;
                questions.push_back(WindowText(GetDlgItem(w, IDC_QUESTION)));
                if (dontAskAgain) SendMessageA(GetDlgItem(w, IDC_DONT_ASK), BM_SETCHECK, BST_CHECKED, 0);
                const std::string& q = questions.back();
                const std::string name = q.substr(0, q.find("..."));
                const bool yes = overwrite.count(name) ? overwrite[name] : false;
                Answer(w, yes ? IDOK : IDCANCEL);
            } else {
                // A message box: its text is the static control 0xFFFF.
                other = true;
                boxes.emplace_back(title, WindowText(GetDlgItem(w, 0xFFFF)));
                Answer(w, IDOK);
            }
        }
        if (!main || other) {
            idleTicks = 0;
            continue;
        }
        if (!extractClicked) {
            Sleep(300);
            if (listed.empty()) ReadList(main, false, listed);
            if (!folder.empty() && !browsed) SetText(main, IDC_FOLDER, folder);
            if (!newFolder.empty() && !browsed) {
                browsed = true;
                Click(main, IDC_BROWSE);
                continue;
            }
            if (!newFolder.empty() && !browseDone) continue;  // the folder dialog is on its way
            if (!newFolder.empty()) chosenFolder = WindowText(GetDlgItem(main, IDC_FOLDER));
            Click(main, IDOK);
            extractClicked = true;
            continue;
        }
        // The dialog stayed open after the pass: note what is still selected and close it. After a
        // complete extraction it closes by itself (once the program to run has been started).
        const bool succeeded = !boxes.empty() && boxes.back().first == "Success";
        if (!succeeded && ++idleTicks == 30) {
            ReadList(main, true, leftSelected);
            closedByTest = true;
            Click(main, IDCANCEL);
        }
    }
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 99);
        ADD_FAILURE() << "the self-extractor did not end";
    }
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

std::string Boxes(const Driver& d) {
    std::string out;
    for (const auto& [caption, text] : d.boxes) out += "[" + caption + ": " + text + "] ";
    return out;
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

    Driver drv;
    drv.caption = "Encrypted test";
    drv.folder = d.win + "\\made\\here";
    drv.passwords = {"wrong", "secret"};
    drv.Run(d.win + "\\out.exe", d.win);

    EXPECT_EQ(drv.listed.size(), 6u);
    EXPECT_EQ(drv.passwordPrompts, 2);
    ASSERT_EQ(drv.boxes.size(), 1u) << Boxes(drv);
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

    Driver drv;
    drv.caption = "Wrong passwords";
    drv.folder = d.win + "\\out";
    drv.passwords = {"a", "b", "c"};
    drv.Run(d.win + "\\out.exe", d.win);
    EXPECT_EQ(drv.passwordPrompts, 3);
    EXPECT_TRUE(drv.boxes.empty()) << Boxes(drv);
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
    Driver drv;
    drv.caption = "Overwrite test";
    drv.folder = d.win + "\\out";
    drv.overwrite = {{"empty.dat", false}, {"readme.txt", true}};
    drv.Run(d.win + "\\out.exe", d.win);
    ASSERT_EQ(drv.questions.size(), 2u);
    EXPECT_NE(std::find(drv.questions.begin(), drv.questions.end(), "empty.dat...already exists, overwrite ?"),
              drv.questions.end());
    EXPECT_NE(std::find(drv.questions.begin(), drv.questions.end(), "readme.txt...already exists, overwrite ?"),
              drv.questions.end());
    EXPECT_EQ(ReadFile(d.win + "\\out\\empty.dat"), "mine too");
    EXPECT_EQ(ReadFile(d.win + "\\out\\readme.txt"), Tree().at("readme.txt"));
    ASSERT_EQ(drv.boxes.size(), 1u) << Boxes(drv);
    EXPECT_EQ(drv.boxes[0].first, "Success");
    EXPECT_TRUE(ReadFile(d.win + "\\out\\docs\\big.txt") == Tree().at("docs/big.txt"));

    // "Don't ask again" with "&No": one question, and every later existing file is skipped.
    WriteFile(d.win + "\\out\\readme.txt", "mine");
    WriteFile(d.win + "\\out\\docs\\big.txt", "mine as well");
    Driver again;
    again.caption = "Overwrite test";
    again.folder = d.win + "\\out";
    again.overwrite = {{"readme.txt", false}, {"big.txt", false}};
    again.dontAskAgain = true;
    again.Run(d.win + "\\out.exe", d.win);
    EXPECT_EQ(again.questions.size(), 1u);
    EXPECT_EQ(ReadFile(d.win + "\\out\\readme.txt"), "mine");
    EXPECT_EQ(ReadFile(d.win + "\\out\\docs\\big.txt"), "mine as well");
    ASSERT_EQ(again.boxes.size(), 1u) << Boxes(again);
    EXPECT_EQ(again.boxes[0].first, "Success");
}

TEST(SfxStubWine, FolderDialogCreatesAndChoosesANewFolder) {
    const CaseDir d = FreshCase();
    MakeZip(d, "-r");
    SfxSettings s;
    s.caption = "Folder test";
    BuildSfx(d, s);
    std::filesystem::create_directories(d.win + "\\base");

    Driver drv;
    drv.caption = "Folder test";
    drv.folder = d.win + "\\base";
    drv.newFolder = "fresh";
    drv.Run(d.win + "\\out.exe", d.win);
    ASSERT_EQ(drv.boxes.size(), 1u) << Boxes(drv);
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

    Driver drv;
    drv.caption = "Hostile test";
    drv.folder = d.win + "\\box\\inner";
    drv.Run(d.win + "\\out.exe", d.win);
    EXPECT_EQ(drv.listed.size(), 11u);
    ASSERT_FALSE(drv.boxes.empty()) << Boxes(drv);
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
    Driver drv;
    drv.caption = "Morvix Zip Self Extractor";
    drv.Run(d.win + "\\bare.exe", d.win);
    ASSERT_GE(drv.boxes.size(), 1u);
    EXPECT_EQ(drv.boxes[0].first, "Error ..");
    EXPECT_EQ(drv.boxes[0].second, "Can't read archive-header");
}

}  // namespace
}  // namespace sfx
