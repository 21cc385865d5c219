// kvx_formshow: a dialog that keeps its placement in the registry through the form component and picks
// a folder with the folder browser, for a driver script and its screenshots. "/fresh" as the first
// argument clears the stored placement first.
#include <cstring>
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "widgets/win32/browsedlg.h"
#include "widgets/win32/kvxform.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx::win32;

constexpr const char* kStoreKey = "Software\\MXTest\\KVXFormShow";

class TfrmPlace : public fw::TForm {
public:
    using TForm::TForm;

    fw::TLabel* lblFolder = nullptr;
    fw::TLabel* lblRestore = nullptr;
    TKVXBrowseDlg* Browse = nullptr;

    void FormShow(fw::TObject*) {
        if (lblRestore->Caption().empty()) lblRestore->SetCaption("restored");
    }
    void NoData(fw::TObject*) { lblRestore->SetCaption("no data"); }
    void BrowseClick(fw::TObject*) {
        const bool chosen = Browse->Execute();
        lblFolder->SetCaption((chosen ? "chosen " : "cancelled ") + Browse->SelectedFolder());
    }
};

}  // namespace

// The argument itself, not the command line: a program path may hold "/fresh" too.
int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "/fresh") == 0) RegDeleteTreeA(HKEY_CURRENT_USER, kStoreKey);
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmPlace, fw::TForm>("TfrmPlace")
        .Field("lblFolder", &TfrmPlace::lblFolder)
        .Field("lblRestore", &TfrmPlace::lblRestore)
        .Field("Browse", &TfrmPlace::Browse)
        .Method("FormShow", &TfrmPlace::FormShow)
        .Method("NoData", &TfrmPlace::NoData)
        .Method("BrowseClick", &TfrmPlace::BrowseClick);
    fw::Application->Initialize();
    TfrmPlace* frmPlace = nullptr;
    fw::Application->CreateForm(frmPlace);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
