// inst_controlshow: the setup program's memo, scroll bar and gauges on one form, for a screenshot and
// for checks driven by fwdrive. CheckBars writes what the licence memo's skAuto bars show.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "installer/controls/win32/controls_register.h"
#include "installer/controls/win32/gauge3d.h"
#include "installer/controls/win32/kvxmemo.h"
#include "widgets/win32/startup.h"

namespace {

using inst::win32::TKVXMemo;

// A licence of a made-up product: long enough for more rows than the memo shows.
std::string LicenceText() {
    std::string text = "LICENCE AGREEMENT\r\n\r\n";
    const char* clauses[] = {
        "You may install and use this program on any number of computers that you own or control.",
        "You may give copies of the unchanged setup file to others, free of charge.",
        "You may not sell the program or include it in a product that you sell.",
        "The program is provided as it is, without any warranty of any kind.",
        "The authors are not liable for any damage that its use or the failure to use it may cause.",
        "By choosing Next you accept these terms; choose Cancel to leave the setup.",
    };
    int n = 1;
    for (const char* clause : clauses) text += std::to_string(n++) + ". " + clause + "\r\n\r\n";
    return text + "End of the agreement.";
}

class TfrmShow : public fw::TForm {
public:
    using TForm::TForm;
    TKVXMemo* Licence = nullptr;
    fw::TLabel* lblBars = nullptr;

    void FormCreate(fw::TObject*) { Licence->SetText(LicenceText()); }

    // "vertical shown, horizontal hidden" for the licence under skAuto with wrapping.
    void CheckBars(fw::TObject*) {
        auto shown = [](inst::win32::TKVXScrollBar* bar) { return bar && bar->Visible() ? "shown" : "hidden"; };
        lblBars->SetCaption(std::string("vertical ") + shown(Licence->VertBar()) + ", horizontal " +
                            shown(Licence->HorzBar()));
    }
};

}  // namespace

int main() {
    fw::InitApplication();
    kvx::win32::KVXStartApplication();
    inst::win32::RegisterInstallerControls();
    fw::Class<TfrmShow, fw::TForm>("TfrmShow")
        .Field("Licence", &TfrmShow::Licence)
        .Field("lblBars", &TfrmShow::lblBars)
        .Method("FormCreate", &TfrmShow::FormCreate)
        .Method("CheckBars", &TfrmShow::CheckBars);
    fw::Application->Initialize();
    TfrmShow* frmShow = nullptr;
    fw::Application->CreateForm(frmShow);
    fw::Application->Run();
    kvx::win32::KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
