// The standard dialogs under Wine: the message and input forms answered through their named buttons
// (every result, and Help that keeps the dialog open), the answer queue, the file dialogs' filter and
// selection texts, the save dialog and the folder browser answered through their real windows, and
// the folder browser answered from its callback.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/win32/automation_endpoint.h"
#include "framework/win32/callback.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_test_support.h"
#include "framework/win32/utilwindow.h"
#include "testing/test_env.h"

namespace fw {
namespace {

using stdtest::StdControlsTest;

struct PendingAnswer {
    std::string name;
    std::function<void(TForm*)> answer;
};
PendingAnswer g_pending;

void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        const auto& modal = Application->ModalForms();
        if (modal.empty() || modal.back()->Name() != g_pending.name) return;
        KillTimer(nullptr, id);
        g_pending.answer(modal.back());
    })
}

// Once the modal form named `name` is up, runs `answer` on it (from the loop, as user input would).
void AnswerModal(const std::string& name, std::function<void(TForm*)> answer) {
    g_pending = {name, std::move(answer)};
    SetTimer(nullptr, 0, 20, &AnswerTimer);
}

TEST_F(StdControlsTest, MessageDlgIsAFormWithNamedButtons) {
    AnswerModal("MessageDlg", [](TForm* form) {
        auto* message = dynamic_cast<TControl*>(form->FindComponent("Message"));
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(message->Caption(), "Overwrite the file?");
        EXPECT_EQ(form->Caption(), "Confirm");
        EXPECT_NE(form->FindComponent("Cancel"), nullptr);
        auto* yes = dynamic_cast<TButton*>(form->FindComponent("Yes"));
        ASSERT_NE(yes, nullptr);
        EXPECT_TRUE(yes->Default());
        SendMessageA(yes->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(MessageDlg("Overwrite the file?", mtConfirmation, mbYesNoCancel, 0), mrYes);

    // Escape presses Cancel, through the keyboard chain.
    AnswerModal("MessageDlg", [](TForm*) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1); });
    EXPECT_EQ(MessageDlg("Go on?", mtWarning, mbOKCancel, 0), mrCancel);
    // Enter presses the default.
    AnswerModal("MessageDlg", [](TForm*) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1); });
    EXPECT_EQ(MessageDlg("Retry?", mtError, mbAbortRetryIgnore, 0), mrAbort);
}

TEST_F(StdControlsTest, InputQueryReturnsTheTypedText) {
    AnswerModal("InputQuery", [](TForm* form) {
        auto* edit = dynamic_cast<TEdit*>(form->FindComponent("Value"));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->Text(), "old");
        edit->SetText("new name");
        SendMessageA(dynamic_cast<TButton*>(form->FindComponent("OK"))->Handle(), BM_CLICK, 0, 0);
    });
    std::string value = "old";
    EXPECT_TRUE(InputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "new name");

    AnswerModal("InputQuery", [](TForm* form) { form->SetModalResult(mrCancel); });
    EXPECT_FALSE(InputQuery("Rename", "New name:", value));
    EXPECT_EQ(value, "new name");
}

TEST_F(StdControlsTest, QueuedAnswersReturnWithoutShowingAnything) {
    automation::QueueAnswer("messagebox", "No");
    automation::QueueAnswer("input", "typed");
    automation::QueueAnswer("input", "{Cancel}");
    automation::QueueAnswer("open", "C:\\a.txt|C:\\b c.txt");
    automation::QueueAnswer("folder", "C:\\windows");
    EXPECT_EQ(MessageDlg("Delete?", mtConfirmation, TMsgDlgButtons{mbYes, mbNo}, 0), mrNo);
    std::string value;
    EXPECT_TRUE(InputQuery("Name", "Name:", value));
    EXPECT_EQ(value, "typed");
    EXPECT_FALSE(InputQuery("Name", "Name:", value));
    auto* open = Make<TOpenDialog>(Application);
    open->SetOptions(TOpenOptions{TOpenOption::ofAllowMultiSelect});
    EXPECT_TRUE(open->Execute());
    EXPECT_EQ(open->FileName(), "C:\\a.txt");
    ASSERT_EQ(open->Files()->Count(), 2);
    EXPECT_EQ(open->Files()->Get(1), "C:\\b c.txt");
    std::string folder;
    EXPECT_TRUE(SelectDirectory("Extract to", "", folder));
    EXPECT_EQ(folder, "C:\\windows");
    open->Free();
    EXPECT_NE(automation::DialogLog().find("messagebox\tNo\tConfirm\tDelete?"), std::string::npos);

    automation::QueueAnswer("save", "C:\\out\\report.txt");
    automation::QueueAnswer("save", "{Cancel}");
    auto* save = Make<TSaveDialog>(Application);
    save->SetTitle("Save report");
    save->SetFileName("draft.txt");
    EXPECT_TRUE(save->Execute());
    EXPECT_EQ(save->FileName(), "C:\\out\\report.txt");
    ASSERT_EQ(save->Files()->Count(), 1);
    EXPECT_FALSE(save->Execute());
    EXPECT_EQ(save->FileName(), "C:\\out\\report.txt");
    save->Free();
    // The log keeps the caption and the file name the dialog started with.
    EXPECT_NE(automation::DialogLog().find("\tSave report\tdraft.txt"), std::string::npos) << automation::DialogLog();
}

TEST(StdDialogTexts, FilterAndMultiSelection) {
    EXPECT_EQ(SystemFilter("Text|*.txt|All|*.*"), std::string("Text\0*.txt\0All\0*.*\0\0", 20));
    EXPECT_EQ(SystemFilter("Archives"), std::string("Archives\0*.*\0\0", 14));
    const char multi[] = "C:\\dir\0a.zip\0b.zip\0";
    EXPECT_EQ(SplitSelection(multi), (std::vector<std::string>{"C:\\dir\\a.zip", "C:\\dir\\b.zip"}));
    const char single[] = "C:\\dir\\a.zip\0";
    EXPECT_EQ(SplitSelection(single), (std::vector<std::string>{"C:\\dir\\a.zip"}));
}

// Cancels a folder browser that never reached its answer, so that the test fails instead of hanging.
void CALLBACK CancelBrowser(HWND window, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(window, id);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    })
}

TEST_F(StdControlsTest, FolderBrowserIsAnsweredFromItsCallback) {
    // The browser is rooted in a folder of the prefix's own drive. From the desktop it would walk My
    // Computer and ask every drive for its volume, Z: (the host's root) included, and while Wine's
    // services still start, such a walk can miss the path and leave nothing selected.
    const std::string root = "C:\\fw-browse";
    const std::string target = root + "\\inner";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    LPITEMIDLIST rootList = ILCreateFromPathA(root.c_str());
    ASSERT_NE(rootList, nullptr);
    std::vector<UINT> seen;
    std::vector<std::string> selected;
    TBrowseFolderParams params;
    params.Title = "Pick a folder";
    params.Root = rootList;
    params.InitialDir = target;
    std::string folder;
    const bool ok = BrowseForFolder(params, folder, [&](HWND window, UINT message, LPARAM param) {
        seen.push_back(message);
        if (message == BFFM_INITIALIZED)
            SetTimer(window, 1, 30000, CancelBrowser);
        if (message == BFFM_SELCHANGED && param) {
            char path[MAX_PATH] = {};
            SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(param), path);
            selected.push_back(path);
            // Answered once the initial folder is the selection, as a user would see it.
            if (SameText(path, target)) {
                SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>("chosen"));
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
        }
        return 0;
    });
    ILFree(rootList);
    ASSERT_TRUE(ok) << "selections: " << ::testing::PrintToString(selected);
    EXPECT_TRUE(SameText(folder, target)) << folder << " vs " << target;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), static_cast<UINT>(BFFM_INITIALIZED));
}

// ---- real windows ----------------------------------------------------------------------------------

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    const DWORD thread = GetCurrentThreadId();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (IsWindowVisible(w) && GetWindowThreadProcessId(w, nullptr) == thread) dialogs.push_back(w);
    return dialogs;
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND DialogTitled(const std::string& caption) {
    for (HWND w : ThreadDialogs())
        if (TextOf(w) == caption) return w;
    return nullptr;
}

// The texts of a dialog's static controls, one after the other.
std::string StaticTexts(HWND dialog) {
    std::string text;
    for (HWND w = FindWindowExA(dialog, nullptr, "Static", nullptr); w; w = FindWindowExA(dialog, w, "Static", nullptr))
        text += TextOf(w) + "\n";
    return text;
}

void PressId(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool ModalIs(const std::string& name) {
    const auto& modal = Application->ModalForms();
    return !modal.empty() && modal.back()->Name() == name;
}

void ClickNamed(const std::string& button) {
    auto* b = dynamic_cast<TButton*>(Application->ModalForms().back()->FindComponent(button));
    ASSERT_NE(b, nullptr) << button;
    SendMessageA(b->Handle(), BM_CLICK, 0, 0);
}

TEST_F(StdControlsTest, MessageDlgReturnsTheResultOfEachButton) {
    struct Case {
        const char* button;
        int result;
    };
    const Case cases[] = {{"OK", 1},    {"Cancel", 2}, {"Abort", 3},         {"Retry", 4},
                          {"Ignore", 5}, {"Yes", 6},    {"No", 7},            {"All", 8},
                          {"NoToAll", mrNoToAll},       {"YesToAll", mrYesToAll}};
    const TMsgDlgButtons all{mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        stdtest::ScriptedInput script;
        script.abandon = [] {
            if (!Application->ModalForms().empty()) Application->ModalForms().back()->SetModalResult(mrCancel);
        };
        script.Add("the message form shows", [] { return ModalIs("MessageDlg"); })
            .Do("click the button", [&] { ClickNamed(c.button); });
        script.Start();
        EXPECT_EQ(MessageDlg("Which one?", mtConfirmation, all, 0), c.result);
        EXPECT_EQ(script.Failure(), "");
    }
}

TEST_F(StdControlsTest, MessageDlgHelpCallsHelpAndKeepsTheDialogOpen) {
    struct Help {
        std::vector<std::pair<unsigned, intptr_t>> calls;
        void OnHelp(TObject*, uint16_t command, intptr_t data, bool& callHelp) {
            calls.emplace_back(command, data);
            callHelp = false;
        }
    } help;
    Application->OnHelp = THelpEvent(&help, &Help::OnHelp);
    stdtest::ScriptedInput script;
    script.abandon = [] {
        if (!Application->ModalForms().empty()) Application->ModalForms().back()->SetModalResult(mrCancel);
    };
    script.Add("the message form shows", [] { return ModalIs("MessageDlg"); })
        .Do("click Help", [] { ClickNamed("Help"); })
        .Add("help ran and the form is still up", [&] { return help.calls.size() == 1 && ModalIs("MessageDlg"); })
        .Do("click OK", [] { ClickNamed("OK"); });
    script.Start();
    EXPECT_EQ(MessageDlg("Read the manual?", mtInformation, TMsgDlgButtons{mbOK, mbHelp}, 42), mrOk);
    EXPECT_EQ(script.Failure(), "");
    ASSERT_EQ(help.calls.size(), 1u);
    EXPECT_EQ(help.calls[0].first, static_cast<unsigned>(HELP_CONTEXT));
    EXPECT_EQ(help.calls[0].second, 42);
}

TEST_F(StdControlsTest, SaveDialogIsAnsweredThroughItsWindow) {
    const std::string folder = "C:\\fw-save";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\report.txt").c_str());
    HANDLE file = CreateFileA((folder + "\\exists.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    struct Case {
        const char* name;
        const char* typed;
        int promptAnswer;  // 0: no overwrite prompt expected
        bool ok;
        std::string fileName;
    };
    const Case cases[] = {
        {"a new name gets the default extension", "report", 0, true, folder + "\\report.txt"},
        {"an existing file is replaced after Yes", "exists", IDYES, true, folder + "\\exists.txt"},
        {"No keeps the dialog open; Cancel leaves", "exists", IDNO, false, "draft.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* save = Make<TSaveDialog>(Application);
        save->SetTitle("Save report");
        save->SetInitialDir(folder);
        save->SetDefaultExt("txt");
        save->SetFilter("Text files|*.txt|All files|*.*");
        save->SetFileName("draft.txt");
        save->SetOptions(TOpenOptions{TOpenOption::ofOverwritePrompt, TOpenOption::ofHideReadOnly,
                                      TOpenOption::ofPathMustExist});
        HWND dialog = nullptr;
        std::string prompt;
        stdtest::ScriptedInput script;
        script.abandon = [&] {
            for (HWND w : ThreadDialogs()) PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        };
        script.Add("the save dialog shows", [&] { return (dialog = DialogTitled("Save report")) != nullptr; })
            .Do("type the name and press Save", [&] {
                SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed));
                PressId(dialog, IDOK);
            });
        if (c.promptAnswer) {
            script
                .Add("the overwrite prompt shows",
                     [&] {
                         for (HWND w : ThreadDialogs())
                             if (w != dialog && GetWindow(w, GW_OWNER) == dialog) {
                                 prompt = StaticTexts(w);
                                 PressId(w, c.promptAnswer);
                                 return true;
                             }
                         return false;
                     });
            if (!c.ok)
                script.Add("the save dialog stays", [&] { return ThreadDialogs().size() == 1 && DialogTitled("Save report"); })
                    .Do("cancel it", [&] { PressId(dialog, IDCANCEL); });
        }
        script.Start();
        EXPECT_EQ(save->Execute(), c.ok);
        EXPECT_EQ(script.Failure(), "");
        EXPECT_TRUE(SameText(save->FileName(), c.fileName)) << save->FileName();
        if (c.promptAnswer) {
            EXPECT_NE(prompt.find("exists"), std::string::npos) << prompt;
        }
        save->Free();
    }
}

// The folder browser's tree view (inside the dialog, maybe a level down).
HWND BrowserTree(HWND dialog) {
    if (HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) return tree;
    for (HWND child = FindWindowExA(dialog, nullptr, nullptr, nullptr); child; child = FindWindowExA(dialog, child, nullptr, nullptr))
        if (HWND tree = FindWindowExA(child, nullptr, "SysTreeView32", nullptr)) return tree;
    return nullptr;
}

std::string TreeText(HWND tree, HTREEITEM item) {
    char text[MAX_PATH] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

HTREEITEM TreeSelection(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

TEST_F(StdControlsTest, SelectDirectoryIsAnsweredThroughItsWindow) {
    CreateDirectoryA("C:\\fw-select", nullptr);
    CreateDirectoryA("C:\\fw-select\\inner", nullptr);
    HWND dialog = nullptr, tree = nullptr;
    stdtest::ScriptedInput script;
    script.abandon = [&] {
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    script
        .Add("the browser shows the folder selected",
             [&] {
                 for (HWND w : ThreadDialogs())
                     if (HWND t = BrowserTree(w); t && TreeSelection(t)) {
                         dialog = w;
                         tree = t;
                         script.note = TreeText(t, TreeSelection(t));
                         return SameText(script.note, "fw-select");
                     }
                 return false;
             })
        .Do("open the folder and select its first subfolder", [&] {
            HTREEITEM folder = TreeSelection(tree);
            SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(folder));
            auto child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(folder)));
            SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
        })
        .Add("the subfolder is selected", [&] { return SameText(TreeText(tree, TreeSelection(tree)), "inner"); })
        .Do("press OK", [&] { PressId(dialog, IDOK); });
    script.Start();
    std::string directory = "C:\\fw-select";
    EXPECT_TRUE(SelectDirectory("Extract to", "", directory));
    EXPECT_EQ(script.Failure(), "");
    EXPECT_TRUE(SameText(directory, "C:\\fw-select\\inner")) << directory;
}

// A browser that validates typed names, as the system's does with BIF_EDITBOX | BIF_VALIDATE (Wine's
// browser ignores both flags): it comes up, the user types a name that is no folder twice, and it
// closes without a choice once the callback lets it.
struct ValidatingBrowser {
    static inline std::vector<std::string> selections;  // what BFFM_SETSELECTIONA asked for
    static inline std::vector<int> answers;              // the callback's results for each failure
    static inline UINT flags = 0;
    static LPITEMIDLIST Browse(BROWSEINFOA* info) {
        flags = info->ulFlags;
        HWND window = AllocateHWnd([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == BFFM_SETSELECTIONA && w) selections.emplace_back(reinterpret_cast<const char*>(l));
            return DefWindowProcA(h, msg, w, l);
        });
        info->lpfn(window, BFFM_INITIALIZED, 0, info->lParam);
        for (const char* typed : {"no-such-folder", "still-none"}) {
            const int answer = info->lpfn(window, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed), info->lParam);
            answers.push_back(answer);
            if (!answer) break;
        }
        DeallocateHWnd(window);
        return nullptr;
    }
};

TEST_F(StdControlsTest, FolderBrowserCallbackDecidesAFailedValidation) {
    std::vector<std::string> failed;
    TBrowseFolderParams params;
    params.Title = "Pick a folder";
    params.Flags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_VALIDATE;
    params.InitialDir = "C:\\fw-select";
    const BrowseSeam system = SetBrowseSeam(&ValidatingBrowser::Browse);
    std::string folder;
    const bool ok = BrowseForFolder(params, folder, [&](HWND, UINT message, LPARAM param) {
        if (message != BFFM_VALIDATEFAILEDA) return 0;
        failed.emplace_back(reinterpret_cast<const char*>(param));
        return failed.size() == 1 ? 1 : 0;  // keep the browser open the first time only
    });
    SetBrowseSeam(system);
    EXPECT_FALSE(ok) << folder;
    EXPECT_EQ(ValidatingBrowser::flags, params.Flags) << "the caller's flags reach the browser as they stand";
    EXPECT_EQ(failed, (std::vector<std::string>{"no-such-folder", "still-none"}));
    EXPECT_EQ(ValidatingBrowser::answers, (std::vector<int>{1, 0}));
    EXPECT_EQ(ValidatingBrowser::selections, (std::vector<std::string>{"C:\\fw-select"}));
}

}  // namespace
}  // namespace fw
