#include "app/win32/formOptions.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_notebook.h"
#include "framework/win32/std_panel.h"
#include "uisupport/controls/win32/shbtn.h"
#include "uisupport/win32/formstorage.h"

namespace app {

namespace {

constexpr fw::TColor kGrey = 0x808080;
constexpr fw::TColor kSilver = 0xC0C0C0;

}  // namespace

void TfrmOptions::FormCreate(fw::TObject*) { ShowPage(0); }

// The shading follows the boxes as shown; the View and Toolbars storages renew it after they restore.
void TfrmOptions::FormShow(fw::TObject*) { PreviewClick(this); }

void TfrmOptions::FormCloseQuery(fw::TObject*, bool&) {
    // However the dialog closes without OK (Cancel, Escape, the window's close box), nothing is kept.
    if (ModalResult() != fw::mrOk) StoragesOff();
}

void TfrmOptions::btnCancelClick(fw::TObject*) {
    StoragesOff();
    SetModalResult(fw::mrCancel);
}

void TfrmOptions::StoragesOff() {
    for (uis::TFormStorage* storage : {fsView, fsToolbars, fsFolders, fsPrograms}) storage->SetActive(false);
}

void TfrmOptions::PageButtonClick(fw::TObject* Sender) {
    if (auto* button = dynamic_cast<fw::TComponent*>(Sender)) ShowPage(button->Tag());
}

void TfrmOptions::ShowPage(int page) {
    fw::TPanel* panels[] = {pnlPageView, pnlPageToolbars, pnlPageFolders, pnlPagePrograms};
    uis::TShBtn* buttons[] = {btnPageView, btnPageToolbars, btnPageFolders, btnPagePrograms};
    for (int i = 0; i < 4; ++i) {
        const bool chosen = i == page;
        panels[i]->SetColor(chosen ? kSilver : kGrey);
        panels[i]->SetWidth(chosen ? 88 : 87);
        buttons[i]->SetBtnColor(chosen ? kSilver : kGrey);
        buttons[i]->Font()->SetColor(chosen ? fw::clBlack : fw::clWhite);
    }
    if (page >= 0 && page < 4) nbkPages->SetPageIndex(page);
}

// A preview is shaded while its part is switched off.
void TfrmOptions::PreviewClick(fw::TObject*) {
    shdLog->SetVisible(!cbShowLog->Checked());
    shdStandard->SetVisible(!cbStandardToolbar->Checked());
    shdActions->SetVisible(!cbActionsBar->Checked());
    shdExplorer->SetVisible(!cbFolders->Checked());
}

void RegisterOptionsClass() {
    using F = TfrmOptions;
    fw::Class<F, fw::TForm>("TfrmOptions")
        .Field("nbkPages", &F::nbkPages)
        .Field("pnlPageView", &F::pnlPageView)
        .Field("pnlPageToolbars", &F::pnlPageToolbars)
        .Field("pnlPageFolders", &F::pnlPageFolders)
        .Field("pnlPagePrograms", &F::pnlPagePrograms)
        .Field("btnPageView", &F::btnPageView)
        .Field("btnPageToolbars", &F::btnPageToolbars)
        .Field("btnPageFolders", &F::btnPageFolders)
        .Field("btnPagePrograms", &F::btnPagePrograms)
        .Field("cbShowLog", &F::cbShowLog)
        .Field("cbStandardToolbar", &F::cbStandardToolbar)
        .Field("cbActionsBar", &F::cbActionsBar)
        .Field("cbFolders", &F::cbFolders)
        .Field("shdLog", &F::shdLog)
        .Field("shdStandard", &F::shdStandard)
        .Field("shdActions", &F::shdActions)
        .Field("shdExplorer", &F::shdExplorer)
        .Field("fsView", &F::fsView)
        .Field("fsToolbars", &F::fsToolbars)
        .Field("fsFolders", &F::fsFolders)
        .Field("fsPrograms", &F::fsPrograms)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormShow", &F::FormShow)
        .Method("FormCloseQuery", &F::FormCloseQuery)
        .Method("PageButtonClick", &F::PageButtonClick)
        .Method("PreviewClick", &F::PreviewClick)
        .Method("btnCancelClick", &F::btnCancelClick);
}

}  // namespace app
