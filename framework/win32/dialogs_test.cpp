// The standard dialogs under Wine: the message and input forms answered through their named buttons,
// the answer queue, the file dialog's filter and selection texts, and the folder browser answered
// from its callback.
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
    // A folder on the prefix's own drive: the browser walks every level of the path, and a deep
    // folder of the host's file system can take it longer than the test should wait.
    const std::string target = "C:\\fw-browse\\inner";
    CreateDirectoryA("C:\\fw-browse", nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    std::vector<UINT> seen;
    bool selChangedWithItem = false;
    TBrowseFolderParams params;
    params.Title = "Pick a folder";
    params.InitialDir = target;
    std::string folder;
    const bool ok = BrowseForFolder(params, folder, [&](HWND window, UINT message, LPARAM param) {
        seen.push_back(message);
        if (message == BFFM_INITIALIZED)
            SetTimer(window, 1, 30000, CancelBrowser);
        if (message == BFFM_SELCHANGED && param) {
            selChangedWithItem = true;
            SendMessageA(window, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>("chosen"));
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        }
        return 0;
    });
    ASSERT_TRUE(ok);
    EXPECT_TRUE(SameText(folder, target)) << folder << " vs " << target;
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), static_cast<UINT>(BFFM_INITIALIZED));
    EXPECT_TRUE(selChangedWithItem);
}

}  // namespace
}  // namespace fw
