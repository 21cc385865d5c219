#include "app/win32/formArcAddFiles.h"

#include <algorithm>

#include "app/win32/formArcFindFiles.h"
#include "engine/win32/shell_info.h"
#include "engine/win32/sys_image_lists.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_pagecontrol.h"
#include "framework/win32/std_radiogroup.h"
#include "uisupport/shell/win32/shellapi.h"
#include "uisupport/shell/win32/shellbrowser.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"

namespace app {

std::vector<std::string> SelectedShellPaths(uis::TJexoShellList* list) {
    std::vector<std::string> paths;
    LPCITEMIDLIST folder = list->Browser() ? list->Browser()->FolderIDListRef() : nullptr;
    if (!folder) return paths;
    fw::TListItems* items = list->Items();
    for (int i = list->NextSelected(-1); i >= 0; i = list->NextSelected(i)) {
        LPCITEMIDLIST child = list->ItemIDList(items->Item(i));
        if (!child) continue;
        uis::IDListPtr absolute(uis::ConcatIDLists(folder, child));
        const std::string path = absolute ? uis::PathOfIDList(absolute.get()) : std::string();
        if (!path.empty()) paths.push_back(path);
    }
    return paths;
}

void TfrmArcAddFiles::FormCreate(fw::TObject*) {
    engine::win32::AssignSysImageLists(*ListView1, this);
    cmbStoreDir->SetItemIndex(2);
    PageControl1->SetActivePage(tsFiles);
    try {
        JexoShellTree1->SetSelectedFolder("C:\\");
    } catch (const fw::Exception&) {
        // No C: drive: the tree stays at its root.
    }
}

void TfrmArcAddFiles::FormDestroy(fw::TObject*) { engine::win32::FreeSysImageLists(*ListView1); }

void TfrmArcAddFiles::AddToList(const std::string& name) {
    fw::TListItem* item = ListView1->Items()->Add();
    item->SetCaption(name);
    item->SubItems()->Add("");
    // The shell's icon of the name, or of its folder for a "folder\*.*" mask.
    const std::string shown = name.find("*.*") != std::string::npos ? fw::ExtractFileDir(name) : name;
    item->SetImageIndex(engine::win32::GetIconIndex(shown));
}

void TfrmArcAddFiles::ClearList() { ListView1->Items()->Clear(); }

std::vector<std::string> TfrmArcAddFiles::Names() const {
    std::vector<std::string> names;
    fw::TListItems* items = ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) names.push_back(items->Item(i)->Caption());
    return names;
}

void TfrmArcAddFiles::SetMethods(const std::vector<std::string>& names, int chosen) {
    fw::TStrings* items = cmbCompressMethod->Items();
    items->Clear();
    for (const std::string& n : names) items->Add(n);
    cmbCompressMethod->SetItemIndex(chosen < static_cast<int>(names.size()) ? chosen : -1);
}

void TfrmArcAddFiles::ListView1DragOver(fw::TObject*, fw::TObject* Source, int, int, fw::TDragState, bool& Accept) {
    Accept = Source == JexoShellTree1 || Source == JexoShellList1;
}

void TfrmArcAddFiles::ListView1DragDrop(fw::TObject*, fw::TObject* Source, int, int) {
    if (Source == JexoShellTree1) {
        const std::string folder = JexoShellTree1->SelectedFolder();
        if (!folder.empty()) AddToList(folder.size() > 3 && folder.back() == '\\' ? folder.substr(0, folder.size() - 1) : folder);
    } else if (Source == JexoShellList1) {
        const std::vector<std::string> listed = Names();
        for (const std::string& path : SelectedShellPaths(JexoShellList1))
            if (std::find(listed.begin(), listed.end(), path) == listed.end()) AddToList(path);
    }
}

void TfrmArcAddFiles::ListView1KeyDown(fw::TObject*, uint16_t& Key, fw::TShiftState Shift) {
    if (Key == VK_DELETE && Shift.Empty()) {
        Key = 0;
        pmiDeleteClick(this);
    }
}

void TfrmArcAddFiles::pmiDeleteClick(fw::TObject*) {
    for (int i = ListView1->NextSelected(-1); i >= 0; i = ListView1->NextSelected(-1)) ListView1->Items()->Delete(i);
}

void TfrmArcAddFiles::btnSearchClick(fw::TObject*) {
    auto* search = fw::CreateForm<TfrmArcFindFiles>(fw::Application);
    search->AddFiles = this;
    search->Show();
}

void TfrmArcAddFiles::btnClearListClick(fw::TObject*) { ClearList(); }

void TfrmArcAddFiles::btnAddClick(fw::TObject*) {
    if (ListView1->Items()->Count() > 0) SetModalResult(fw::mrOk);
}

void RegisterArcAddFilesClass() {
    using F = TfrmArcAddFiles;
    fw::Class<F, fw::TForm>("TfrmArcAddFiles")
        .Field("JexoShellTree1", &F::JexoShellTree1)
        .Field("JexoShellList1", &F::JexoShellList1)
        .Field("PageControl1", &F::PageControl1)
        .Field("tsFiles", &F::tsFiles)
        .Field("ListView1", &F::ListView1)
        .Field("ckbRecurseDirs", &F::ckbRecurseDirs)
        .Field("rgSwitch", &F::rgSwitch)
        .Field("cmbStoreDir", &F::cmbStoreDir)
        .Field("cmbCompressMethod", &F::cmbCompressMethod)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormDestroy", &F::FormDestroy)
        .Method("ListView1DragOver", &F::ListView1DragOver)
        .Method("ListView1DragDrop", &F::ListView1DragDrop)
        .Method("ListView1KeyDown", &F::ListView1KeyDown)
        .Method("pmiDeleteClick", &F::pmiDeleteClick)
        .Method("btnSearchClick", &F::btnSearchClick)
        .Method("btnClearListClick", &F::btnClearListClick)
        .Method("btnAddClick", &F::btnAddClick);
}

}  // namespace app
