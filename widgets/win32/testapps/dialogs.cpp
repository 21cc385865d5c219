// kvx_dialogs: a styled form with a tiled background that opens the suite's about box (in its three
// icon styles and as the shell's box) and its folder chooser, for fwdrive to drive and photograph.
// The chooser works in a folder below MX_TEST_TMP.
#include <cstdlib>
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_label.h"
#include "testing/test_env.h"
#include "widgets/win32/aboutdlg.h"
#include "widgets/win32/dirdlg.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/kvximagelist.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx;
using namespace kvx::win32;

bool HasLowerCase(const std::string& text) {
    for (char c : text)
        if (c >= 'a' && c <= 'z') return true;
    return false;
}

std::string g_lastShellAbout;

class TfrmDialogs : public fw::TForm {
public:
    using TForm::TForm;
    fw::TLabel* lblResult = nullptr;
    fw::TLabel* lblErrors = nullptr;
    TKVXBack* back = nullptr;
    TKVXAboutDlg* dlgAbout = nullptr;
    TKVXDirDlg* dlgDir = nullptr;

    void FormCreate(fw::TObject*) {
        const char* tmp = std::getenv("MX_TEST_TMP");
        base_ = mx::test::HostPath(tmp ? tmp : ".") + "\\chooser";
        // What an earlier run made goes first: New Folder must make its folder afresh.
        RemoveDirectoryA((base_ + "\\lower case\\made here").c_str());
        CreateDirectoryA(base_.c_str(), nullptr);
        CreateDirectoryA((base_ + "\\lower case").c_str(), nullptr);
        back->SetImageList(MakeTile());
    }

    void AboutNoneClick(fw::TObject*) {
        Texts("Archiver", "2.5", "Packs and unpacks files.", "Made by us", "");
        dlgAbout->IconStyle = TKVXAboutIconStyle::isNone;
        dlgAbout->CustomButton = "&More";
        dlgAbout->OnCustomClick.Bind(this, &TfrmDialogs::MoreClick);
        dlgAbout->Hints()->Clear();
        ShowAbout();
    }
    void AboutStandardClick(fw::TObject*) {
        Texts("Archiver", "", "Packs and unpacks files.", "", "www.example.org");
        dlgAbout->IconStyle = TKVXAboutIconStyle::isStandard;
        dlgAbout->CustomButton.clear();
        dlgAbout->Hints()->SetText("Close the box\n");
        ShowAbout();
    }
    // Every text empty: the application's title and the info figures only.
    void AboutExtendedClick(fw::TObject*) {
        Texts("", "", "", "", "");
        dlgAbout->IconStyle = TKVXAboutIconStyle::isExtended;
        dlgAbout->CustomButton.clear();
        dlgAbout->Hints()->Clear();
        dlgAbout->CaptionFill = true;
        ShowAbout();
        dlgAbout->CaptionFill = false;
    }
    void AboutShellClick(fw::TObject*) {
        Texts("Archiver", "", "", "Made by us", "");
        dlgAbout->Style = TKVXAboutStyle::bsStandard;
        dlgAbout->CaptionTitle = "About";
        ShowAbout();
        dlgAbout->Style = TKVXAboutStyle::bsKVX;
        dlgAbout->CaptionTitle.clear();
        lblResult->SetCaption(lblResult->Caption() + " " + g_lastShellAbout);
    }
    void MoreClick(fw::TObject* sender) {
        lblErrors->SetCaption("custom " + static_cast<fw::TComponent*>(sender)->Name());
    }

    // Shows "ok" or "cancel", Path below the chooser folder, and whether Path still has lower-case
    // letters.
    void ChooseClick(fw::TObject*) {
        if (dlgDir->Path.empty()) dlgDir->Path = base_ + "\\lower case";
        const bool ok = dlgDir->Execute();
        const std::string& path = dlgDir->Path;
        std::string below = path.size() > base_.size() ? path.substr(base_.size() + 1) : path;
        std::string exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? " exists" : " missing";
        lblResult->SetCaption(std::string(ok ? "ok " : "cancel ") + below + (HasLowerCase(path) ? " lower" : " upper") +
                              exists + (dlgDir->FolderBox() ? " boxes left" : ""));
    }
    void FolderError(fw::TObject* sender) {
        ++folderErrors_;
        lblErrors->SetCaption("folder error " + std::to_string(folderErrors_) + " from " +
                              static_cast<fw::TComponent*>(sender)->Name());
    }

private:
    void Texts(const char* app, const char* version, const char* description, const char* copyright, const char* jump) {
        dlgAbout->Appname = app;
        dlgAbout->Version = version;
        dlgAbout->Description = description;
        dlgAbout->Copyright = copyright;
        dlgAbout->Jump = jump;
    }
    void ShowAbout() {
        const bool result = dlgAbout->Execute();
        lblResult->SetCaption(std::string("about ") + (result ? "True" : "False") + " forms " +
                              std::to_string(CountAboutForms()));
    }
    // The about form is freed once Execute returns.
    static int CountAboutForms() {
        int n = 0;
        for (int i = 0; i < fw::Application->ComponentCount(); ++i)
            if (fw::Application->Components(i)->Name() == "frmKVXAbout") ++n;
        return n;
    }
    // A 24 x 24 picture of two greens and a yellow stripe, tiled over the client area.
    TKVXImageList* MakeTile() {
        auto* list = fw::Make<TKVXImageList>(this);
        auto* item = new TKVXImageListItem(nullptr, 24, 24);
        fw::TBitmap picture;
        picture.SetSize(24, 24);
        fw::TCanvas* c = picture.Canvas();
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                c->SetPixels(x, y, x == y ? fw::clYellow : ((x / 6 + y / 6) % 2 ? RGB(200, 228, 200) : RGB(176, 212, 176)));
        item->Add(&picture, nullptr);
        list->AddItem(item);
        return list;
    }

    std::string base_;
    int folderErrors_ = 0;
};

int RecordShellAbout(HWND owner, const std::string& title, const std::string& notice, HICON icon) {
    g_lastShellAbout = title + "|" + notice + "|" + (owner ? "owner" : "no owner") + "|" + (icon ? "icon" : "no icon");
    return 1;
}

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    KVXSetShellAbout(RecordShellAbout);
    fw::Class<TfrmDialogs, fw::TForm>("TfrmDialogs")
        .Field("lblResult", &TfrmDialogs::lblResult)
        .Field("lblErrors", &TfrmDialogs::lblErrors)
        .Field("back", &TfrmDialogs::back)
        .Field("dlgAbout", &TfrmDialogs::dlgAbout)
        .Field("dlgDir", &TfrmDialogs::dlgDir)
        .Method("FormCreate", &TfrmDialogs::FormCreate)
        .Method("AboutNoneClick", &TfrmDialogs::AboutNoneClick)
        .Method("AboutStandardClick", &TfrmDialogs::AboutStandardClick)
        .Method("AboutExtendedClick", &TfrmDialogs::AboutExtendedClick)
        .Method("AboutShellClick", &TfrmDialogs::AboutShellClick)
        .Method("ChooseClick", &TfrmDialogs::ChooseClick)
        .Method("FolderError", &TfrmDialogs::FolderError);
    fw::Application->Initialize();
    fw::Application->SetTitle("Dialog host");
    TfrmDialogs* frmDialogs = nullptr;
    fw::Application->CreateForm(frmDialogs);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
