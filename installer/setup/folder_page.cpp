#include "installer/setup/folder_page.h"

#include "framework/core/lists.h"
#include "framework/core/platform.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_listbox.h"
#include "installer/pathspec.h"
#include "installer/progman.h"
#include "installer/shell_links.h"
#include "installer/shellfolders.h"
#include "installer/strutils.h"
#include "installer/winqueries.h"
#include "uisupport/controls/win32/shbtn.h"

namespace inst {

namespace {

// The folders directly below the Programs menu.
void ListProgramFolders(fw::TStrings& list) {
    fw::TSearchRec rec;
    if (fw::FindFirst(AddBackslash(ProgramsDir()) + "*.*", fw::faDirectory, rec) == 0) {
        do {
            if ((rec.Attr & fw::faDirectory) && rec.Name != "." && rec.Name != "..") list.Add(rec.Name);
        } while (fw::FindNext(rec) == 0);
    }
    fw::FindClose(rec);
}

// The main group's folder when it lies below the Programs menu: the last part of its DestDir.
std::string MainFolderName(TMainLinkGroup* group) {
    if (!group || !dynamic_cast<TpsProgramMenu*>(group->DestDirType())) return std::string();
    const std::string dir = RemoveBackslash(group->DestDir());
    const size_t slash = dir.rfind('\\');
    return slash == std::string::npos ? dir : dir.substr(slash + 1);
}

}  // namespace

TSelectFolderForm::TSelectFolderForm(fw::TComponent* owner) : TBaseInstallForm(owner) {
    SetDM(FindDialogManager(TManagerType::dmBeforeInstall));
    SetSubject(MainLinkGroup());
}

void TSelectFolderForm::FormCreate(fw::TObject*) { UseInstallTheme(ThemeBitmap); }

bool TSelectFolderForm::IsSkipped() { return MainLinkGroup() == nullptr; }

void TSelectFolderForm::UpdateControls() {
    BackBtn->SetVisible(!IsFirstPage());
    fw::TStrings* items = FolderListBox->Items();
    items->Clear();
    const int platform = WindowsPlatform();
    if (platform == 1 || platform == 2)
        ListProgramFolders(*items);
    else
        ProgramManager().GetGroups(*items);
    std::string folder = MainFolderName(MainLinkGroup());
    if (folder.empty() && items->Count() > 0) folder = items->Get(0);
    FolderEdit->SetText(folder);
}

void TSelectFolderForm::FolderListBoxClick(fw::TObject*) {
    const int index = FolderListBox->ItemIndex();
    if (index >= 0) FolderEdit->SetText(FolderListBox->Items()->Get(index));
}

void TSelectFolderForm::FolderEditChange(fw::TObject*) {
    TMainLinkGroup* group = MainLinkGroup();
    if (!group) return;
    group->SetDestDirType(FindSpecifier<TpsProgramMenu>());
    group->SetDestDir("\\" + FolderEdit->Text());
}

void TSelectFolderForm::BackBtnClick(fw::TObject*) { GoBack(); }
void TSelectFolderForm::ProceedBtnClick(fw::TObject*) { GoNext(); }
void TSelectFolderForm::CancelBtnClick(fw::TObject*) { CancelInstall(); }

void RegisterFolderPage() {
    using F = TSelectFolderForm;
    fw::Class<F, TBaseInstallForm>("TSelectFolderForm")
        .Field("ThemeBitmap", &F::ThemeBitmap)
        .Field("FolderEdit", &F::FolderEdit)
        .Field("FolderListBox", &F::FolderListBox)
        .Field("BackBtn", &F::BackBtn)
        .Field("ProceedBtn", &F::ProceedBtn)
        .Field("CancelBtn", &F::CancelBtn)
        .Method("FormCreate", &F::FormCreate)
        .Method("FolderListBoxClick", &F::FolderListBoxClick)
        .Method("FolderEditChange", &F::FolderEditChange)
        .Method("BackBtnClick", &F::BackBtnClick)
        .Method("ProceedBtnClick", &F::ProceedBtnClick)
        .Method("CancelBtnClick", &F::CancelBtnClick);
    InstallFormList().Add(fw::ClassInfoOf<F>());
}

}  // namespace inst
