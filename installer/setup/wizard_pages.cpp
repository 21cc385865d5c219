#include "installer/setup/wizard_pages.h"

#include "framework/win32/application.h"
#include "installer/controls/win32/controls_register.h"
#include "installer/setup/bad_install_page.h"
#include "installer/setup/change_disk_page.h"
#include "installer/setup/copy_page.h"
#include "installer/setup/destination_page.h"
#include "installer/setup/folder_page.h"
#include "installer/setup/good_install_page.h"
#include "installer/setup/reboot_page.h"
#include "installer/setup/welcome_page.h"
#include "installer/win32/folder_dialog.h"
#include "installer/win32/install_forms.h"
#include "installer/win32/translate_controls.h"
#include "uisupport/controls/win32/shbtn.h"

namespace inst {

void RegisterWizardPages() {
    win32::RegisterInstallerControls();
    uis::RegisterShBtnClasses();
    InstallTranslatorControls();
    RegisterInstallForms();
    RegisterFolderDialogClasses();
    RegisterWelcomePage();
    RegisterCopyPage();
    RegisterBadInstallPage();
    RegisterGoodInstallPage();
    RegisterFolderPage();
    RegisterChangeDiskPage();
    RegisterRebootPage();
    RegisterDestinationPage();
}

namespace {

template <class Page>
void CreatePage() {
    Page* page = nullptr;
    fw::Application->CreateForm(page);
}

}  // namespace

void CreateWizardPages() {
    CreatePage<TWelcomeForm>();
    CreatePage<TCopyFileForm>();
    CreatePage<TBadInstallForm>();
    CreatePage<TGoodInstallForm>();
    CreatePage<TSelectFolderForm>();
    CreatePage<TChangeDiskForm>();
    CreatePage<TRebootForm>();
    CreatePage<TSelectDestinationForm>();
}

}  // namespace inst
