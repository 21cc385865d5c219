// TfrmOptions: the preferences dialog. Four pages (View, Toolbars, Folders, Programs) chosen by the
// buttons on the left; each page's controls are kept by a form storage of the page's section, which
// restores them when the dialog shows and saves them when it closes with OK. Cancel switches the
// storages off first, so nothing is written.
#pragma once

#include "framework/win32/forms.h"

namespace fw {
class TCheckBox;
class TNotebook;
class TPanel;
}  // namespace fw
namespace uis {
class TFormStorage;
class TShBtn;
}  // namespace uis

namespace app {

class TfrmOptions : public fw::TForm {
public:
    using TForm::TForm;

    fw::TNotebook* nbkPages = nullptr;
    fw::TPanel* pnlPageView = nullptr;
    fw::TPanel* pnlPageToolbars = nullptr;
    fw::TPanel* pnlPageFolders = nullptr;
    fw::TPanel* pnlPagePrograms = nullptr;
    uis::TShBtn* btnPageView = nullptr;
    uis::TShBtn* btnPageToolbars = nullptr;
    uis::TShBtn* btnPageFolders = nullptr;
    uis::TShBtn* btnPagePrograms = nullptr;
    fw::TCheckBox* cbShowLog = nullptr;
    fw::TCheckBox* cbStandardToolbar = nullptr;
    fw::TCheckBox* cbActionsBar = nullptr;
    fw::TCheckBox* cbFolders = nullptr;
    fw::TPanel* shdLog = nullptr;
    fw::TPanel* shdStandard = nullptr;
    fw::TPanel* shdActions = nullptr;
    fw::TPanel* shdExplorer = nullptr;
    uis::TFormStorage* fsView = nullptr;
    uis::TFormStorage* fsToolbars = nullptr;
    uis::TFormStorage* fsFolders = nullptr;
    uis::TFormStorage* fsPrograms = nullptr;

    void FormCreate(fw::TObject* Sender);
    void FormShow(fw::TObject* Sender);
    void FormCloseQuery(fw::TObject* Sender, bool& CanClose);
    void PageButtonClick(fw::TObject* Sender);
    void PreviewClick(fw::TObject* Sender);
    void btnCancelClick(fw::TObject* Sender);

private:
    void ShowPage(int page);
    void StoragesOff();
};

void RegisterOptionsClass();

}  // namespace app
