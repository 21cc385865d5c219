// uismenus: a main menu on a menu bar and a help monitor, for screenshots and for fwdrive. The menu
// bar's buttons are named "tb" plus their item's name so a script can click them; ItemClick shows the
// chosen item, EnterHelp starts the monitor's help mode.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_label.h"
#include "framework/win32/std_statusbar.h"
#include "uisupport/controls/win32/controlsregister.h"
#include "uisupport/controls/win32/menubar.h"
#include "uisupport/win32/helpmonitor.h"

namespace {

class TfrmMenus : public fw::TForm {
public:
    using TForm::TForm;
    uis::TMenuBar* MenuBar1 = nullptr;
    fw::TLabel* lblChosen = nullptr;
    uis::TqhlHelpMonitor* monitor = nullptr;

    void FormCreate(fw::TObject*) {
        monitor = fw::Make<uis::TqhlHelpMonitor>(this);
        for (int i = 0; i < MenuBar1->ButtonCount(); ++i) {
            fw::TToolButton* button = MenuBar1->Buttons(i);
            button->SetName("tb" + button->MenuItem()->Name());
        }
    }
    void ItemClick(fw::TObject* sender) { lblChosen->SetCaption(static_cast<fw::TComponent*>(sender)->Name()); }
    void OKClick(fw::TObject*) { lblChosen->SetCaption("OK"); }
    void EnterHelp(fw::TObject*) { monitor->EnterHelpMode(); }
    void ExitHelp(fw::TObject*) { monitor->ExitHelpMode(); }
};

void RegisterMenusForm() {
    uis::RegisterUISupportControlClasses();
    uis::RegisterHelpMonitorClasses();
    fw::RegisterButtonClasses();
    fw::RegisterLabelClasses();
    fw::RegisterStatusBarClasses();
    fw::Class<TfrmMenus, fw::TForm>("TfrmMenus")
        .Field("MenuBar1", &TfrmMenus::MenuBar1)
        .Field("lblChosen", &TfrmMenus::lblChosen)
        .Method("FormCreate", &TfrmMenus::FormCreate)
        .Method("ItemClick", &TfrmMenus::ItemClick)
        .Method("OKClick", &TfrmMenus::OKClick)
        .Method("EnterHelp", &TfrmMenus::EnterHelp)
        .Method("ExitHelp", &TfrmMenus::ExitHelp);
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterMenusForm();
    fw::Application->Initialize();
    TfrmMenus* frmMenus = nullptr;
    fw::Application->CreateForm(frmMenus);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
