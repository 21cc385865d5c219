// The file-name and folder edits under Wine: the text rectangle ending before the button and a button
// wider than the edit refused; files dropped from the shell through a hand-built HDROP (the first of
// three, a file's folder, a 300-character path whole); names with blanks quoted and read back; long
// and short forms of several folders; where the folder browser starts; Alt+Down opening the real file
// dialog (answered through its window) and nothing while read-only; a pasted line break kept out of
// the name.
#include "uisupport/controls/win32/filediredit.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/win32/callback.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_test_support.h"

namespace uis {
namespace {

constexpr const char* kRoot = "C:\\uis-edits";
constexpr const char* kBlankFolder = "C:\\uis-edits\\with blank";

void MakeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}

// What the shell hands a window that files were dropped on: DROPFILES then the names, NUL after each
// and one more at the end.
HDROP MakeDrop(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& n : names) list += n + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// The dialogs (#32770) this thread shows now.
HWND OpenDialog() {
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) return w;
    return nullptr;
}

struct Counts {
    int clicks = 0;
    int before = 0;
    int after = 0;
    int drops = 0;
};

class ComboEditTest : public fw::stdtest::StdControlsTest {
protected:
    void SetUp() override {
        StdControlsTest::SetUp();
        RegisterFileDirEditClasses();
        CreateDirectoryA(kRoot, nullptr);
        CreateDirectoryA(kBlankFolder, nullptr);
        for (const char* name : {"one.txt", "two.txt", "three.txt", "report[1].txt"}) MakeFile(std::string(kRoot) + "\\" + name);
        MakeFile(std::string(kBlankFolder) + "\\prog.exe");
        form = NewForm(420, 160);
        fileEdit = Add<TFilenameEdit>(form, 8, 8, 300, 21, "edtFile");
        dirEdit = Add<TDirectoryEdit>(form, 8, 40, 300, 21, "edtDir");
        for (TFileDirEdit* edit : {static_cast<TFileDirEdit*>(fileEdit), static_cast<TFileDirEdit*>(dirEdit)}) {
            edit->SetAcceptFiles(true);
            edit->OnButtonClick.Bind(&counts, [](void* c, fw::TObject*) { ++static_cast<Counts*>(c)->clicks; });
            edit->OnDropFiles.Bind(&counts, [](void* c, fw::TObject*) { ++static_cast<Counts*>(c)->drops; });
            edit->OnBeforeDialog.Bind(&counts, [](void* c, fw::TObject*, std::string&, bool&) { ++static_cast<Counts*>(c)->before; });
            edit->OnAfterDialog.Bind(&counts, [](void* c, fw::TObject*, std::string&, bool&) { ++static_cast<Counts*>(c)->after; });
        }
        form->Show();
        Pump();
    }

    void Drop(TFileDirEdit* edit, const std::vector<std::string>& names) {
        SendMessageA(edit->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
    }

    fw::TForm* form = nullptr;
    TFilenameEdit* fileEdit = nullptr;
    TDirectoryEdit* dirEdit = nullptr;
    Counts counts;
};

TEST_F(ComboEditTest, TheTextEndsBeforeTheButtonAndAButtonAsWideAsTheEditIsRefused) {
    auto textRight = [](TCustomComboEdit* edit) {
        RECT r{};
        SendMessageA(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
        return static_cast<int>(r.right);
    };
    EXPECT_EQ(fileEdit->ButtonWidth(), 21) << "wide enough for the folder glyph";
    EXPECT_LE(textRight(fileEdit), fileEdit->ClientWidth() - fileEdit->ButtonWidth() - 2);
    EXPECT_FALSE(fileEdit->IsButtonWidthStored()) << "the folder glyph implies it";
    EXPECT_FALSE(fileEdit->IsGlyphStored());
    const int before = fileEdit->ButtonWidth();
    fileEdit->SetButtonWidth(fileEdit->ClientWidth());
    EXPECT_EQ(fileEdit->ButtonWidth(), before) << "refused";
    fileEdit->SetButtonWidth(fileEdit->ClientWidth() + 40);
    EXPECT_EQ(fileEdit->ButtonWidth(), before) << "refused";
    fileEdit->SetButtonWidth(40);
    Pump();
    EXPECT_EQ(fileEdit->ButtonWidth(), 40);
    EXPECT_TRUE(fileEdit->IsButtonWidthStored());
    EXPECT_LE(textRight(fileEdit), fileEdit->ClientWidth() - 40 - 2);
    EXPECT_GT(textRight(fileEdit), fileEdit->ClientWidth() - 40 - 8);
    // Too low a height is raised to one line of text and its borders.
    fileEdit->SetHeight(5);
    EXPECT_EQ(fileEdit->Height(), fileEdit->MinHeight());
    EXPECT_GT(fileEdit->Height(), 12);
    fileEdit->SetHeight(30);
    EXPECT_EQ(fileEdit->Height(), 30);
    // The "..." glyph follows the button's width.
    fileEdit->SetGlyphKind(TGlyphKind::gkEllipsis);
    EXPECT_EQ(fileEdit->Glyph()->Width(), 34);
    EXPECT_EQ(fileEdit->NumGlyphs(), 1);
}

TEST_F(ComboEditTest, DroppedFilesGiveTheFirstNameOrTheFolderAndLongNamesArriveWhole) {
    const std::string root = kRoot;
    Drop(fileEdit, {root + "\\one.txt", root + "\\two.txt", root + "\\three.txt"});
    EXPECT_EQ(fileEdit->Text(), root + "\\one.txt");
    EXPECT_EQ(fileEdit->FileName(), root + "\\one.txt");
    Drop(dirEdit, {root + "\\two.txt"});
    EXPECT_EQ(dirEdit->Text(), root);
    dirEdit->SetMultipleDirs(true);
    Drop(dirEdit, {std::string(kBlankFolder)});
    EXPECT_EQ(dirEdit->Text(), root + ";" + kBlankFolder);
    EXPECT_EQ(counts.drops, 3);

    // Square brackets are legal in a name.
    Drop(fileEdit, {root + "\\report[1].txt"});
    EXPECT_EQ(fileEdit->FileName(), root + "\\report[1].txt");

    // A path past 255 characters is taken whole, not cut into another name.
    const std::string longPath = "C:\\" + std::string(150, 'a') + "\\" + std::string(142, 'b') + ".txt";
    ASSERT_EQ(longPath.size(), 300u);
    Drop(fileEdit, {longPath});
    EXPECT_EQ(fileEdit->Text(), longPath);
    EXPECT_EQ(fileEdit->FileName(), longPath);
}

TEST_F(ComboEditTest, NamesWithBlanksAreQuotedAndReadBackWithoutQuotes) {
    const std::string program = std::string(kBlankFolder) + "\\prog.exe";
    fileEdit->SetFileName(program);
    EXPECT_EQ(fileEdit->Text(), "\"" + program + "\"");
    EXPECT_EQ(fileEdit->FileName(), program);
    fileEdit->SetText("\"" + program + "\" /scan %1");
    EXPECT_EQ(fileEdit->FileName(), program) << "the program part of a command line";
    EXPECT_EQ(fileEdit->LongName(), program);
    fileEdit->SetText(program);
    EXPECT_EQ(fileEdit->FileName(), program) << "an existing file as it stands";

    const std::string before = fileEdit->Text();
    EXPECT_THROW(fileEdit->SetFileName("C:\\a|b.txt"), EComboEditError);
    EXPECT_EQ(fileEdit->Text(), before);
}

TEST_F(ComboEditTest, LongAndShortNamesConvertEachFolderAndEmptyTheUnknown) {
    dirEdit->SetMultipleDirs(true);
    dirEdit->SetText(std::string(kRoot) + ";" + kBlankFolder + ";C:\\uis-edits\\missing");
    EXPECT_EQ(dirEdit->LongName(), std::string(kRoot) + ";" + kBlankFolder + ";");
    const std::string shortName = dirEdit->ShortName();
    const size_t first = shortName.find(';');
    const size_t second = shortName.find(';', first + 1);
    ASSERT_NE(second, std::string::npos) << shortName;
    const std::string shortBlank = shortName.substr(first + 1, second - first - 1);
    EXPECT_EQ(shortBlank.find(' '), std::string::npos) << shortName;
    EXPECT_EQ(GetFileAttributesA(shortBlank.c_str()), GetFileAttributesA(kBlankFolder)) << "the same folder";
    EXPECT_EQ(shortName.substr(second + 1), "");
}

// A folder browser played by the test: it records the folder the browser is told to select when it
// comes up, and answers with g_answer.
std::string g_browserStart;
std::string g_answer;

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    FW_CALLBACK_BODY(0, {
        if (message == BFFM_SETSELECTIONA) g_browserStart = reinterpret_cast<const char*>(l);
        return DefWindowProcA(window, message, w, l);
    })
}

LPITEMIDLIST PlayBrowser(BROWSEINFOA* info) {
    WNDCLASSA cls{};
    cls.lpfnWndProc = BrowserWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "UisTestBrowser";
    RegisterClassA(&cls);
    HWND window = CreateWindowA("UisTestBrowser", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    if (info->lpfn) info->lpfn(window, BFFM_INITIALIZED, 0, info->lParam);
    DestroyWindow(window);
    std::wstring wide(g_answer.begin(), g_answer.end());
    LPITEMIDLIST chosen = nullptr;
    if (FAILED(SHParseDisplayName(wide.c_str(), nullptr, &chosen, 0, nullptr))) return nullptr;
    return chosen;
}

TEST_F(ComboEditTest, AFolderEditStartsTheBrowserAtItsFolderOrAtTheRoot) {
    const fw::BrowseSeam old = fw::SetBrowseSeam(&PlayBrowser);
    struct Case {
        const char* text;
        const char* initialDir;
        std::string start;  // where the browser comes up
    };
    const std::vector<Case> cases = {
        {"C:\\uis-edits\\missing", "", "\\"},
        {"", "", "\\"},
        {"", kBlankFolder, kBlankFolder},
        {kBlankFolder, "", kBlankFolder},
    };
    g_answer = kRoot;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dirEdit->SetText(c.text);
        dirEdit->SetInitialDir(c.initialDir);
        g_browserStart = "(not asked)";
        dirEdit->ButtonClick();
        EXPECT_EQ(g_browserStart, c.start);
        EXPECT_EQ(dirEdit->Text(), kRoot) << "the chosen folder replaces the text";
        EXPECT_EQ(dirEdit->InitialDir(), kRoot);
    }
    fw::SetBrowseSeam(old);
}

TEST_F(ComboEditTest, AltDownOpensTheFileDialogAndNothingWhileReadOnly) {
    const std::string chosen = std::string(kBlankFolder) + "\\prog.exe";
    fileEdit->SetFocus();
    Pump();
    fw::stdtest::ScriptedInput script;
    HWND dialog = nullptr;
    script.abandon = [&dialog] {
        if (HWND d = OpenDialog()) PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    };
    script.Add("the file dialog is up", [&dialog] { return (dialog = OpenDialog()) != nullptr; });
    script.Do("type a name and press OK", [&dialog, chosen] {
        HWND name = GetDlgItem(dialog, 0x47c);  // the explorer dialog's name box
        if (!name) name = GetDlgItem(dialog, 0x480);
        SetWindowTextA(name, chosen.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    script.Add("the dialog closed", [] { return OpenDialog() == nullptr; });
    script.Start();
    Press(VK_DOWN, false, false, true);
    script.PumpUntilFinished();
    EXPECT_EQ(script.Failure(), "");
    EXPECT_EQ(counts.clicks, 1);
    EXPECT_EQ(counts.before, 1);
    EXPECT_EQ(counts.after, 1);
    EXPECT_EQ(fileEdit->Text(), "\"" + chosen + "\"");
    EXPECT_EQ(fileEdit->FileName(), chosen);

    // Read-only: the key is the edit's, but nothing opens.
    fileEdit->SetReadOnly(true);
    Press(VK_DOWN, false, false, true);
    fileEdit->ButtonClick();
    EXPECT_EQ(counts.clicks, 1);
    EXPECT_EQ(counts.before, 1);
    EXPECT_EQ(OpenDialog(), nullptr);
}

TEST_F(ComboEditTest, APasteKeepsLineBreaksOutOfTheName) {
    dirEdit->SetText("");
    dirEdit->SetFocus();
    fw::Clipboard().SetAsText("C:\\first\r\nC:\\second");
    SendMessageA(dirEdit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(dirEdit->Text(), "C:\\first");
    dirEdit->SetReadOnly(true);
    SendMessageA(dirEdit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(dirEdit->Text(), "C:\\first") << "nothing is pasted while read-only";
    // Enter does not break the line either: it presses the form's default button.
    auto* ok = Add<fw::TButton>(form, 320, 100, 75, 25, "btnOK");
    ok->SetDefault(true);
    int presses = 0;
    ok->OnClick.Bind(&presses, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    dirEdit->SetReadOnly(false);
    dirEdit->SetFocus();
    Press(VK_RETURN);
    EXPECT_EQ(dirEdit->Text(), "C:\\first");
    EXPECT_EQ(presses, 1);
}

TEST_F(ComboEditTest, EnteringByTheKeyboardSelectsTheWholeName) {
    dirEdit->SetText("C:\\some folder");
    fileEdit->SetFocus();
    Pump();
    dirEdit->SetFocus();
    Pump();
    EXPECT_EQ(dirEdit->SelLength(), static_cast<int>(dirEdit->Text().size()));
    dirEdit->SetDirectInput(false);
    dirEdit->SetSelStart(0);
    dirEdit->SetSelLength(0);
    fileEdit->SetFocus();
    dirEdit->SetFocus();
    Pump();
    EXPECT_EQ(dirEdit->SelLength(), 0) << "nothing to type over";
    EXPECT_TRUE(GetWindowLongPtrA(dirEdit->Handle(), GWL_STYLE) & ES_READONLY);
}

}  // namespace
}  // namespace uis
