// The dialog components' rules under Wine: the about box's texts from its properties, the program's
// version resource and the application's defaults; the shell's about box through its seam; and
// forms that are freed by every Execute, also when an event raises while they are up. The dialogs'
// windows themselves are driven by fwdrive (testdata/dialogs_drive.txt).
#include <gtest/gtest.h>

#include <string>

#include "framework/win32/callback.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_button.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/aboutdlg.h"
#include "widgets/win32/dirdlg.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

// The program's version resource (testsupport/version.rc) has a product name and version but no
// legal notice and no file description.
constexpr const char* kProduct = "Widget Suite Tests";

class AboutTexts : public ::testing::Test {
protected:
    void SetUp() override {
        fw::Application->SetTitle("Host title");
        KVXApplication->Company = "Morvix";
        KVXApplication->Version = "9.1";
        dialog = fw::Make<TKVXAboutDlg>(nullptr);
    }
    void TearDown() override { dialog->Free(); }
    TKVXAboutDlg* dialog = nullptr;
};

TEST_F(AboutTexts, TitleNoticeVersionAndDescriptionFollowTheirSources) {
    struct Case {
        const char* name;
        std::string appname, copyright, version, description;
        bool useResInfo, useDefault;
        std::string title, notice, versionText, descriptionText;
    };
    const Case cases[] = {
        {"all given", "Archiver", "(c) us", "2.5", "Packs.", true, true, "Archiver", "(c) us", "2.5", "Packs."},
        {"nothing given", "", "", "", "", false, false, "Host title", "", "", ""},
        {"blank name, resource", "  ", "", "", " ", true, false, kProduct, "", "Version 1.2.3.4", ""},
        {"resource without notice falls to the default", "", "", "", "", true, true, kProduct,
         "\rCopyright \xA9 by Morvix", "Version 1.2.3.4", ""},
        {"defaults only", "", "", "", "", false, true, "Host title", "\rCopyright \xA9 by Morvix", "Version 9.1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialog->Appname = c.appname;
        dialog->Copyright = c.copyright;
        dialog->Version = c.version;
        dialog->Description = c.description;
        dialog->UseResInfo = c.useResInfo;
        dialog->UseDefault = c.useDefault;
        EXPECT_EQ(dialog->TitleText(), c.title);
        EXPECT_EQ(dialog->NoticeText(), c.notice);
        EXPECT_EQ(dialog->VersionText(), c.versionText);
        EXPECT_EQ(dialog->DescriptionText(), c.descriptionText);
    }
}

struct ShellCall {
    int calls = 0;
    HWND owner = nullptr;
    std::string title, notice;
    HICON icon = nullptr;
    int result = 1;
};
ShellCall g_shell;

TEST_F(AboutTexts, ShellBoxGetsCaptionTitleOwnerAndIconThroughTheSeam) {
    KVXSetShellAbout([](HWND owner, const std::string& title, const std::string& notice, HICON icon) {
        ++g_shell.calls;
        g_shell.owner = owner;
        g_shell.title = title;
        g_shell.notice = notice;
        g_shell.icon = icon;
        return g_shell.result;
    });
    auto* form = fw::TForm::CreateNew<fw::TForm>(nullptr);
    auto* button = fw::Make<fw::TButton>(form);
    button->SetParent(form);
    fw::TIcon icon;
    icon.SetHandle(CopyIcon(LoadIconA(nullptr, IDI_INFORMATION)));
    dialog->SetIcon(&icon);
    dialog->Style = TKVXAboutStyle::bsStandard;
    dialog->CaptionTitle = "About";
    dialog->Appname = std::string(300, 'a');
    dialog->Copyright = "(c) us";

    EXPECT_TRUE(dialog->ExecuteAt(button));
    EXPECT_EQ(g_shell.calls, 1);
    EXPECT_EQ(g_shell.owner, button->Handle());
    EXPECT_EQ(g_shell.title, "About#" + std::string(249, 'a'));  // 255 characters at most
    EXPECT_EQ(g_shell.notice, "(c) us");
    EXPECT_EQ(g_shell.icon, dialog->Icon()->Handle());
    // The shell's refusal is the result; no form of the suite is made for it.
    g_shell.result = 0;
    const int forms = fw::Screen->FormCount();
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(g_shell.owner, nullptr);
    EXPECT_EQ(fw::Screen->FormCount(), forms);
    KVXSetShellAbout(nullptr);
    form->Free();
}

// An OnCustomize that raises while the built form is up: the exception reaches the caller and the form
// (and the chooser's box references) are gone.
void Raise(void*, fw::TObject* sender) {
    if (!dynamic_cast<fw::TForm*>(sender)) throw fw::Exception("not the form");
    throw fw::Exception("customize failed");
}

TEST(DialogForms, FreedWhenAnEventRaises) {
    const int forms = fw::Screen->FormCount();
    auto* about = fw::Make<TKVXAboutDlg>(nullptr);
    about->OnCustomize.Bind(nullptr, Raise);
    EXPECT_THROW(about->Execute(), fw::Exception);
    EXPECT_EQ(fw::Screen->FormCount(), forms);
    auto* chooser = fw::Make<TKVXDirDlg>(nullptr);
    chooser->Path = "C:\\windows";
    chooser->OnCustomize.Bind(nullptr, Raise);
    EXPECT_THROW(chooser->Execute(), fw::Exception);
    EXPECT_EQ(fw::Screen->FormCount(), forms);
    EXPECT_EQ(chooser->FolderBox(), nullptr);
    EXPECT_EQ(chooser->DriveBox(), nullptr);
    EXPECT_EQ(chooser->Path, "C:\\windows");
    // Outside Execute New Folder has no boxes to work on and does nothing.
    chooser->NewFolderClick(chooser);
    about->Free();
    chooser->Free();
}

// What the chooser's form looked like while it was up; a timer reads it and cancels the form.
struct ShownForm {
    fw::TForm* form = nullptr;
    RECT rect{};
    bool stylerEnabled = false, backEnabled = false, checkGradient = false;
    int colors = 0;
    TKVXCustomImageList* backList = nullptr;
};
ShownForm g_shown;

void CALLBACK ReadShownForm(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(nullptr, id);
        fw::TForm* form = g_shown.form;
        GetWindowRect(form->Handle(), &g_shown.rect);
        auto* styler = dynamic_cast<TKVXFormStyler*>(form->FindComponent("styler"));
        auto* back = dynamic_cast<TKVXBack*>(form->FindComponent("back"));
        g_shown.stylerEnabled = styler->Enabled();
        g_shown.colors = styler->Colors();
        g_shown.checkGradient = styler->Options().Contains(TKVXFormStyleOption::fsCheckSystemGradient);
        g_shown.backEnabled = back->Enabled();
        g_shown.backList = back->ImageList();
        form->SetModalResult(fw::mrCancel);
    })
}

TEST(DialogForms, ShownByAControlCentredOnItWithTheDialogsLook) {
    auto* host = fw::TForm::CreateNew<fw::TForm>(nullptr);
    host->SetBounds(120, 90, 400, 300);
    auto* button = fw::Make<fw::TButton>(host);
    button->SetParent(host);
    button->SetBounds(200, 180, 75, 25);
    host->Show();
    TKVXImageList* list = test::MakeImageList(host, 8, 8, {test::Checker(2, fw::clRed, fw::clBlue)});
    auto* chooser = fw::Make<TKVXDirDlg>(nullptr);
    chooser->Path = "C:\\windows";
    chooser->CaptionFill = true;
    chooser->Colors = 5;
    chooser->SetImageList(list);
    chooser->OnCustomize.Bind(nullptr, [](void*, fw::TObject* sender) {
        g_shown.form = dynamic_cast<fw::TForm*>(sender);
        SetTimer(nullptr, 0, 50, ReadShownForm);
    });

    EXPECT_FALSE(chooser->ExecuteAt(button));
    RECT b{};
    GetWindowRect(button->Handle(), &b);
    EXPECT_NEAR((g_shown.rect.left + g_shown.rect.right) / 2, (b.left + b.right) / 2, 1);
    EXPECT_NEAR((g_shown.rect.top + g_shown.rect.bottom) / 2, (b.top + b.bottom) / 2, 1);
    EXPECT_TRUE(g_shown.stylerEnabled);
    EXPECT_EQ(g_shown.colors, 5);
    EXPECT_TRUE(g_shown.checkGradient);
    EXPECT_TRUE(g_shown.backEnabled);
    EXPECT_EQ(g_shown.backList, list);
    EXPECT_EQ(chooser->Path, "C:\\windows");
    chooser->Free();
    host->Free();
}

TEST(DialogForms, PathCapitalsOnlyForLettersAToZ) {
    struct Case {
        const char* in;
        const char* want;
    };
    const Case cases[] = {{"c:\\temp\\lower case", "C:\\TEMP\\LOWER CASE"},
                          {"z:\\\xE4rger\\x1", "Z:\\\xE4RGER\\X1"},
                          {"", ""}};
    for (const Case& c : cases) EXPECT_EQ(KVXUpperCaseAscii(c.in), c.want) << c.in;
}

}  // namespace
}  // namespace kvx::win32
