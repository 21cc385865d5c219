// The explorer bar with its pages Folders, Search, History and Favorites; the address bar; the
// Favorites menu and the organize-favorites dialog; the quick search.
#include "app/explorer.h"
#include "app/win32/formOrganizeFavorites.h"
#include "app/win32/formQuickSearch.h"
#include "app/win32/formZipMain.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_filectrls.h"
#include "framework/win32/std_notebook.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/shell/shelllink.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"
#include "uisupport/win32/mrumanager.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/mrulist.h"

namespace app {

namespace {

// The archive filters of the open-file dialogs that choose favorites.
const char kArchiveFilters[] =
    "All|*.zip;*.bh;*.rar;*.lha;*.lzh;*.cab;*.uue;*.arc;*.arj;*.zoo|Zip archives (*.zip)|*.zip|"
    "Blackhole archives (*.bh)|*.bh|Rar archives (*.rar)|*.rar|Lha archives (*.lzh)|*.lha|"
    "Cabinet archives (*.cab)|*.cab|UUEncode files (*.uue)|*.uue|Arc archives (*.arc)|*.arc|"
    "Arj archives (*.arj)|*.arj|Zoo archives (*.zoo)|*.zoo";

// The selected line of a list box ("" when none is).
std::string SelectedLine(kvx::win32::TKVXImageListBox* list) {
    const int index = list->ItemIndex();
    return index >= 0 && index < list->Items()->Count() ? list->Items()->Strings(index) : std::string();
}

}  // namespace

void PrepareArchiveOpenDialog(fw::TOpenDialog* dialog) {
    dialog->SetTitle("Open Archive");
    dialog->SetDefaultExt("zip");
    dialog->SetFileName("*.zip");
    dialog->SetFilter(kArchiveFilters);
    dialog->SetFilterIndex(2);
}

// ---- the bar --------------------------------------------------------------------------------------

void TfrmZipMain::LinkFolderViews() {
    // The shell views watch folders only once joined: a bar that never shows its Folders page starts
    // no directory monitor.
    auto* link = dynamic_cast<uis::TJexoShellLink*>(FindComponent("JexoShellLink1"));
    if (!link || JexoShellTree1->ShellLink() == link) return;
    JexoShellTree1->SetShellLink(link);
    JexoShellList1->SetShellLink(link);
}

void TfrmZipMain::ShowExplorerBar(int Page) {
    fw::TMenuItem* items[] = {miViewSearch, miViewFavorites, miViewHistory, miViewFolders};
    for (fw::TMenuItem* item : items) item->SetChecked(false);
    if (Page == ExplorerBarPage) {
        CloseExplorerBar();
        return;
    }
    const std::string name = ExplorerPageName(Page);
    if (name.empty()) return;
    if (Page == kPageFolders) LinkFolderViews();
    nbkExplore->SetActivePage(name);
    items[Page - 1]->SetChecked(true);
    pnlEBarTitle->SetCaption("  " + name);
    ExplorerBarPage = Page;
    pnlEBar->SetVisible(true);
    // The splitter stays right of the bar it sizes.
    SplitterEBar->SetLeft(pnlEBar->Left() + pnlEBar->Width());
    SplitterEBar->SetVisible(true);
    btnExplore->SetDown(true);
}

void TfrmZipMain::CloseExplorerBar() {
    miViewFolders->SetChecked(false);
    SplitterEBar->SetVisible(false);
    pnlEBar->SetVisible(false);
    btnExplore->SetDown(false);
    ExplorerBarPage = kPageHidden;
}

// The bar as the stored view settings left it: its page is shown again, but the page number starts at
// 0, so the first menu choice of that page shows it rather than hiding it.
void TfrmZipMain::RestoreExplorerBar() {
    if (pnlEBar->Visible() && nbkExplore->ActivePage() == ExplorerPageName(kPageFolders)) LinkFolderViews();
}

// The four "Explorer Bars" items and the "Explore" drop-down's items carry their page in Tag.
void TfrmZipMain::ExplorerBarClick(fw::TObject* Sender) {
    if (auto* component = dynamic_cast<fw::TComponent*>(Sender)) ShowExplorerBar(component->Tag());
}

void TfrmZipMain::btnExploreClick(fw::TObject*) {
    if (btnExplore->Down() || pnlEBar->Visible())
        CloseExplorerBar();
    else
        ShowExplorerBar(kPageFolders);
}

void TfrmZipMain::btnEBarCloseClick(fw::TObject*) { CloseExplorerBar(); }

// ---- the Search page ------------------------------------------------------------------------------

void TfrmZipMain::KVXRadioGroup1Change(fw::TObject*, int ButtonIndex) {
    const bool text = ButtonIndex == 1;
    lblSearchText->SetVisible(text);
    edtSearchText->SetVisible(text);
    // The drive row moves below the text row while that shows.
    const int driveTop = text ? 158 : 118;
    if (auto* label = dynamic_cast<fw::TControl*>(FindComponent("lblSearchDrive"))) label->SetTop(driveTop);
    DriveComboBox1->SetTop(driveTop + 16);
    btnSearch->SetTop(text ? 200 : 160);
}

void TfrmZipMain::btnSearchClick(fw::TObject*) {
    nbkSearch->SetActivePage("SearchResults");
    auto* search = fw::CreateForm<TfrmQuickSearch>(nullptr);
    search->ZMain = this;
    const std::string text = edtSearchText->Visible() ? edtSearchText->Text() : std::string();
    search->Start(edtSearchFileMask->Text(), DriveRoot(DriveComboBox1->Drive()), text);
}

void TfrmZipMain::AddSearchResult(const std::string& line) {
    const std::string path = QuickSearchLinePath(line);
    if (path.empty()) return;
    lsbSearchResults->Items()->Add(path);
    lsbSearchResults->Repaint();
}

void TfrmZipMain::btnSearchNewClick(fw::TObject*) {
    nbkSearch->SetActivePage("SearchMain");
    edtSearchFileMask->SetText("");
    edtSearchText->SetText("");
    lsbSearchResults->Items()->Clear();
}

void TfrmZipMain::AddSearchResults(bool selectedOnly) {
    std::vector<std::string> names;
    fw::TStrings* lines = lsbSearchResults->Items();
    for (int i = 0; i < lines->Count(); ++i)
        if (!selectedOnly || lsbSearchResults->Selected(i)) names.push_back(lines->Strings(i));
    if (!names.empty()) AddFilesToArchive(names);
}

void TfrmZipMain::btnSearchAddAllClick(fw::TObject*) { AddSearchResults(false); }

void TfrmZipMain::btnSearchAddSelectedClick(fw::TObject*) { AddSearchResults(true); }

// ---- the History page -----------------------------------------------------------------------------

void TfrmZipMain::lsbHistoryDblClick(fw::TObject*) {
    const std::string name = SelectedLine(lsbHistory);
    if (!name.empty()) OpenArchive(name);
}

void TfrmZipMain::btnHistoryDeleteClick(fw::TObject*) {
    const int index = lsbHistory->ItemIndex();
    if (index < 0 || index >= lsbHistory->Items()->Count()) return;
    mrumHistory->Remove(lsbHistory->Items()->Strings(index));
    lsbHistory->Items()->Delete(index);
    mruHistory->Items()->Assign(lsbHistory->Items());
    cmbAddress->Items()->Assign(lsbHistory->Items());
}

void TfrmZipMain::btnHistoryClearClick(fw::TObject*) {
    lsbHistory->Items()->Clear();
    cmbAddress->Items()->Clear();
    mruHistory->Clear();
    mrumHistory->Clear();
    mrumHistory->UpdateRecentMenu();
}

// ---- favorites ------------------------------------------------------------------------------------

void TfrmZipMain::FillFavorites() { lsbFavorites->Items()->Assign(mruFavorites->Items()); }

void TfrmZipMain::lsbFavoritesDblClick(fw::TObject*) {
    const std::string name = SelectedLine(lsbFavorites);
    if (!name.empty()) OpenArchive(name);
}

void TfrmZipMain::mruFavoritesClick(fw::TObject*, const std::string& aValue, bool& Remove) {
    Remove = false;
    OpenArchive(aValue);
}

void TfrmZipMain::btnFavoritesAddClick(fw::TObject*) {
    PrepareArchiveOpenDialog(OpenDialog1);
    if (!OpenDialog1->Execute()) return;
    const std::string name = OpenDialog1->FileName();
    if (mruFavorites->Items()->IndexOf(name) >= 0) return;
    mruFavorites->Add(name);
    FillFavorites();
}

void TfrmZipMain::miFavoritesAddClick(fw::TObject*) {
    const std::string name = cmbAddress->Text();
    if (name.empty() || mruFavorites->Items()->IndexOf(name) >= 0) return;
    mruFavorites->Add(name);
    FillFavorites();
}

void TfrmZipMain::btnFavoritesOrganizeClick(fw::TObject*) {
    auto* dialog = fw::CreateForm<TfrmOrganizeFavorites>(nullptr);
    dialog->lsbFavorites->Items()->Assign(mruFavorites->Items());
    if (dialog->ShowModal() == fw::mrOk) {
        mruFavorites->Items()->Assign(dialog->lsbFavorites->Items());
        mruFavorites->Rebuild();
        FillFavorites();
    }
    dialog->Free();
}

// ---- the address bar ------------------------------------------------------------------------------

void TfrmZipMain::cmbAddressKeyPress(fw::TObject*, char& Key) {
    if (Key != '\r') return;
    Key = 0;
    OpenArchive(cmbAddress->Text());
}

void TfrmZipMain::btnGoClick(fw::TObject*) { OpenArchive(cmbAddress->Text()); }

}  // namespace app
