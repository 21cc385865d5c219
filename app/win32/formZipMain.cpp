// The main window's life: create (preferences, the command line, the normal start), show, close
// and destroy; the View-menu commands; Exit.
#include "app/win32/formZipMain.h"

#include "app/command_line.h"
#include "app/text_routines.h"
#include "app/win32/dataGlobal.h"
#include "app/win32/formArcExtract.h"
#include "app/win32/formSplash.h"
#include "engine/core/run_context.h"
#include "engine/core/zip_common.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/formats/cab/makecab_component.h"
#include "engine/formats/lzh/writer/lha_component.h"
#include "engine/formats/uue/uu_decode.h"
#include "engine/formats/uue/uu_encode.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/lister/krenlo.h"
#include "engine/win32/sys_image_lists.h"
#include "framework/core/datetime.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_coolbar.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_filectrls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_notebook.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/shell/win32/shelllist.h"
#include "uisupport/shell/win32/shelltree.h"
#include "uisupport/win32/formstorage.h"
#include "uisupport/win32/mrumanager.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/filectrl.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/mrulist.h"
#include "widgets/win32/starter.h"
#include "widgets/win32/trayicon.h"

namespace app {

namespace {

// The date separator in force before the main window switched it to "-".
char SavedDateSeparator = '/';

}  // namespace

TfrmZipMain::~TfrmZipMain() = default;

void TfrmZipMain::FormCreate(fw::TObject*) {
    LoadPreferences();
    lblArchiveName->SetCaption("");
    SavedDateSeparator = fw::FormatSettings.DateSeparator;
    fw::FormatSettings.DateSeparator = '-';
    engine::win32::AssignSysImageLists(*ListView1, this);
    MakeLedPicture();
    AskDefaultViewer();
    RunCommandLine(CommandLineArgs());
}

std::vector<std::string> TfrmZipMain::CommandLineArgs() const {
    std::vector<std::string> args;
    for (int i = 1; i <= fw::ParamCount(); ++i) args.push_back(fw::ParamStr(i));
    return args;
}

void TfrmZipMain::RunCommandLine(const std::vector<std::string>& args) {
    const CommandLine line = ParseCommandLine(args);
    if (line.sw == StartSwitch::Extract) {
        // Extract and end: the window never shows.
        KVXTrayIcon1->SetActive(true);
        HideSplash();
        OpenArchive(line.path);
        ExtractCommand();
        fw::Application->Terminate();
        return;
    }
    if (line.sw == StartSwitch::Check && !line.path.empty()) {
        // Verify and end; the archive is opened while the end request waits, as the window may show.
        KVXTrayIcon1->SetActive(true);
        HideSplash();
        Krenlo1->SetArchiveFile(line.path);
        Checkpackageforerrors1Click(this);
        fw::Application->Terminate();
        OpenArchive(line.path);
        return;
    }
    NormalStart();
    if (!line.path.empty()) OpenArchive(line.path);
}

void TfrmZipMain::NormalStart() {
    FormStorage1->SetActive(true);
    EnableMenus();
    ApplyViewSettings();
    // The history list feeds the address bar and the explorer bar's history page.
    cmbAddress->Items()->Assign(mruHistory->Items());
    lsbHistory->Items()->Assign(mruHistory->Items());
    lsbFavorites->Items()->Assign(mruFavorites->Items());
    RestoreExplorerBar();
    SetVisible(true);
}

void TfrmZipMain::FormShow(fw::TObject*) { HideSplash(); }

void TfrmZipMain::FormCloseQuery(fw::TObject*, bool& CanClose) {
    if (!Busy()) return;
    // The running component's handlers are on the stack: stop the run, and close once it has returned.
    CanClose = false;
    closeAfterRun_ = true;
    if (engine::TZipCommon* active = engine::ActiveArcComponent()) engine::TAwkMain::Cancel(active, true);
}

void TfrmZipMain::FormDestroy(fw::TObject*) {
    engine::win32::FreeSysImageLists(*ListView1);
    fw::FormatSettings.DateSeparator = SavedDateSeparator;
}

void TfrmZipMain::BeginRun() {
    ++busyRuns_;
    ApplicationBusy();
    EnableMenus();
}

void TfrmZipMain::EndRun() {
    if (busyRuns_ > 0) --busyRuns_;
    ApplicationWaiting();
    EnableMenus();
    if (busyRuns_ == 0 && closeAfterRun_) {
        closeAfterRun_ = false;
        PostMessageA(Handle(), WM_CLOSE, 0, 0);
    }
}

void TfrmZipMain::mnuExit1Click(fw::TObject*) { Close(); }

// ---- View menu ----------------------------------------------------------------------------------

void TfrmZipMain::miViewStandardClick(fw::TObject*) {
    const bool show = !tbarStandard->Visible();
    tbarStandard->SetVisible(show);
    miViewStandard->SetChecked(show);
    fsToolbars->WriteString("cbStandardToolbar_Checked", BoolToSetting(show));
}

void TfrmZipMain::miViewAddressClick(fw::TObject*) {
    miViewAddress->SetChecked(!miViewAddress->Checked());
    tbarAddress->SetVisible(miViewAddress->Checked());
}

void TfrmZipMain::miViewActionsClick(fw::TObject*) {
    const bool show = !pnlActions->Visible();
    pnlActions->SetVisible(show);
    miViewActions->SetChecked(show);
    fsToolbars->WriteString("cbActionsBar_Checked", BoolToSetting(show));
}

void TfrmZipMain::miViewTextlabelsClick(fw::TObject*) {
    const bool labels = !miViewTextlabels->Checked();
    miViewTextlabels->SetChecked(labels);
    tbarStandard->SetShowCaptions(labels);
    tbarStandard->SetButtonHeight(labels ? 44 : 26);
    tbarStandard->SetButtonWidth(labels ? 38 : 26);
    for (int i = 0; i < tbarStandard->ButtonCount(); ++i) {
        fw::TToolButton* button = tbarStandard->Buttons(i);
        if (button->Style() == fw::TToolButtonStyle::tbsDivider) button->SetWidth(8);
    }
}

void TfrmZipMain::miViewStatusbarClick(fw::TObject*) {
    const bool show = !pnlStatus->Visible();
    pnlStatus->SetVisible(show);
    miViewStatusbar->SetChecked(show);
}

void TfrmZipMain::mnuViewLogClick(fw::TObject*) {
    if (pnlInfo->Visible()) {
        pnlInfo->SetVisible(false);
        SplitterInfo->SetVisible(false);
        mnuViewLog->SetChecked(false);
    } else {
        mnuViewLog->SetChecked(true);
        nbkLog->SetActivePage("Log");
        pnlDispInfo->SetCaption(" Log");
        // The splitter stays above the pane it sizes.
        pnlInfo->SetVisible(true);
        SplitterInfo->SetTop(pnlInfo->Top() - SplitterInfo->Height());
        SplitterInfo->SetVisible(true);
    }
    fsView->WriteString("cbShowLog_Checked", BoolToSetting(mnuViewLog->Checked()));
}

void TfrmZipMain::CheckViewItems(int tag) {
    fw::TMenuItem* items[] = {miViewLargeIcons, miViewSmallIcons, miViewList, miViewDetails,
                              pmiViewLargeIcons, pmiViewSmallIcons, pmiViewList, pmiViewDetails};
    for (fw::TMenuItem* item : items) item->SetChecked(item->Tag() == tag);
}

void TfrmZipMain::ViewStyleClick(fw::TObject* Sender) {
    auto* component = dynamic_cast<fw::TComponent*>(Sender);
    if (!component) return;
    const int tag = component->Tag();
    fw::TViewStyle style;
    switch (tag) {
        case 9903: style = fw::TViewStyle::vsIcon; break;
        case 9902: style = fw::TViewStyle::vsSmallIcon; break;
        case 9901: style = fw::TViewStyle::vsList; break;
        case 9900: style = fw::TViewStyle::vsReport; break;
        default: return;
    }
    CheckViewItems(tag);
    ListView1->SetViewStyle(style);
}

void TfrmZipMain::TextSizeClick(fw::TObject* Sender) {
    auto* item = dynamic_cast<fw::TMenuItem*>(Sender);
    if (!item) return;
    ListView1->Font()->SetSize(item->Tag());
    item->SetChecked(true);
}

// The combo box takes the bar's width but 100 pixels; "Go" stands right of it.
void TfrmZipMain::tbarAddressResize(fw::TObject*) {
    if (!cmbAddress || !btnGo) return;
    cmbAddress->SetWidth(std::max(60, tbarAddress->ClientWidth() - 100));
    btnGo->SetLeft(cmbAddress->Left() + cmbAddress->Width() + 4);
}

TfrmArcExtract* TfrmZipMain::ExtractDialog() {
    if (!extractDialog_) {
        extractDialog_ = fw::CreateForm<TfrmArcExtract>(this);
        extractDialog_->ZMain = this;
    }
    return extractDialog_;
}

// The members of formZipMainFile.cpp.
void RegisterZipMainFileMembers(fw::Class<TfrmZipMain, fw::TForm>& c);

void RegisterZipMainClass() {
    using F = TfrmZipMain;
    fw::Class<F, fw::TForm> c("TfrmZipMain");
    RegisterZipMainFileMembers(c);
    c
        .Field("Krenlo1", &F::Krenlo1)
        .Field("UnZIP1", &F::UnZIP1)
        .Field("UUDecode1", &F::UUDecode1)
        .Field("ListView1", &F::ListView1)
        .Field("StatusBar1", &F::StatusBar1)
        .Field("ProgressBar1", &F::ProgressBar1)
        .Field("pbxLed", &F::pbxLed)
        .Field("imgLed", &F::imgLed)
        .Field("memLog", &F::memLog)
        .Field("lblArchiveName", &F::lblArchiveName)
        .Field("cmbAddress", &F::cmbAddress)
        .Field("pnlActions", &F::pnlActions)
        .Field("pnlInfo", &F::pnlInfo)
        .Field("pnlDispInfo", &F::pnlDispInfo)
        .Field("pnlStatus", &F::pnlStatus)
        .Field("pnlMain", &F::pnlMain)
        .Field("pnlList", &F::pnlList)
        .Field("SplitterInfo", &F::SplitterInfo)
        .Field("nbkLog", &F::nbkLog)
        .Field("nbkExplore", &F::nbkExplore)
        .Field("nbkSearch", &F::nbkSearch)
        .Field("tbarStandard", &F::tbarStandard)
        .Field("tbarAddress", &F::tbarAddress)
        .Field("btnGo", &F::btnGo)
        .Field("CoolBar1", &F::CoolBar1)
        .Field("mnuAction", &F::mnuAction)
        .Field("miFileClose", &F::miFileClose)
        .Field("mnuExtract1", &F::mnuExtract1)
        .Field("mnuRefresh1", &F::mnuRefresh1)
        .Field("miViewStandard", &F::miViewStandard)
        .Field("miViewAddress", &F::miViewAddress)
        .Field("miViewActions", &F::miViewActions)
        .Field("miViewTextlabels", &F::miViewTextlabels)
        .Field("miViewStatusbar", &F::miViewStatusbar)
        .Field("mnuViewLog", &F::mnuViewLog)
        .Field("miViewLargeIcons", &F::miViewLargeIcons)
        .Field("miViewSmallIcons", &F::miViewSmallIcons)
        .Field("miViewList", &F::miViewList)
        .Field("miViewDetails", &F::miViewDetails)
        .Field("pmiViewLargeIcons", &F::pmiViewLargeIcons)
        .Field("pmiViewSmallIcons", &F::pmiViewSmallIcons)
        .Field("pmiViewList", &F::pmiViewList)
        .Field("pmiViewDetails", &F::pmiViewDetails)
        .Field("pmiExtract", &F::pmiExtract)
        .Field("FormStorage1", &F::FormStorage1)
        .Field("fsView", &F::fsView)
        .Field("fsToolbars", &F::fsToolbars)
        .Field("fsFolders", &F::fsFolders)
        .Field("fsPrograms", &F::fsPrograms)
        .Field("mrumHistory", &F::mrumHistory)
        .Field("mruHistory", &F::mruHistory)
        .Field("mruFavorites", &F::mruFavorites)
        .Field("lsbHistory", &F::lsbHistory)
        .Field("lsbFavorites", &F::lsbFavorites)
        .Field("KVXFileCtrl1", &F::KVXFileCtrl1)
        .Field("KVXTrayIcon1", &F::KVXTrayIcon1)
        .Field("OpenDialog1", &F::OpenDialog1)
        .Field("Zip1", &F::Zip1)
        .Field("BlakHole1", &F::BlakHole1)
        .Field("Lha1", &F::Lha1)
        .Field("MakeCAB1", &F::MakeCAB1)
        .Field("mnuAddFiles1", &F::mnuAddFiles1)
        .Field("mnuDeleteSelected1", &F::mnuDeleteSelected1)
        .Field("JexoShellTree1", &F::JexoShellTree1)
        .Field("JexoShellList1", &F::JexoShellList1)
        .Field("pnlEBar", &F::pnlEBar)
        .Field("pnlEBarTitle", &F::pnlEBarTitle)
        .Field("SplitterEBar", &F::SplitterEBar)
        .Field("btnExplore", &F::btnExplore)
        .Field("miViewSearch", &F::miViewSearch)
        .Field("miViewFavorites", &F::miViewFavorites)
        .Field("miViewHistory", &F::miViewHistory)
        .Field("miViewFolders", &F::miViewFolders)
        .Field("edtSearchFileMask", &F::edtSearchFileMask)
        .Field("edtSearchText", &F::edtSearchText)
        .Field("lblSearchText", &F::lblSearchText)
        .Field("btnSearch", &F::btnSearch)
        .Field("DriveComboBox1", &F::DriveComboBox1)
        .Field("KVXRadioGroup1", &F::KVXRadioGroup1)
        .Field("lsbSearchResults", &F::lsbSearchResults)
        .Field("UUEncode1", &F::UUEncode1)
        .Field("KVXStarter1", &F::KVXStarter1)
        .Field("ViewSelected1", &F::ViewSelected1)
        .Field("pmiView", &F::pmiView)
        .Field("miFileShortcut", &F::miFileShortcut)
        .Field("Create1", &F::Create1)
        .Field("mnuUUEncode1", &F::mnuUUEncode1)
        .Field("miActionsScanforviruses", &F::miActionsScanforviruses)
        .Field("miFileMail", &F::miFileMail)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormShow", &F::FormShow)
        .Method("FormCloseQuery", &F::FormCloseQuery)
        .Method("FormDestroy", &F::FormDestroy)
        .Method("mnuExit1Click", &F::mnuExit1Click)
        .Method("mnuOpen1Click", &F::mnuOpen1Click)
        .Method("mnuEditPreferencesClick", &F::mnuEditPreferencesClick)
        .Method("miFileCloseClick", &F::miFileCloseClick)
        .Method("mnuRefresh1Click", &F::mnuRefresh1Click)
        .Method("miEditSelectAllClick", &F::miEditSelectAllClick)
        .Method("miEditInvertClick", &F::miEditInvertClick)
        .Method("mnuExtract1Click", &F::mnuExtract1Click)
        .Method("miViewStandardClick", &F::miViewStandardClick)
        .Method("miViewAddressClick", &F::miViewAddressClick)
        .Method("miViewActionsClick", &F::miViewActionsClick)
        .Method("miViewTextlabelsClick", &F::miViewTextlabelsClick)
        .Method("miViewStatusbarClick", &F::miViewStatusbarClick)
        .Method("mnuViewLogClick", &F::mnuViewLogClick)
        .Method("ViewStyleClick", &F::ViewStyleClick)
        .Method("TextSizeClick", &F::TextSizeClick)
        .Method("tbarAddressResize", &F::tbarAddressResize)
        .Method("ListView1ColumnClick", &F::ListView1ColumnClick)
        .Method("ListView1Click", &F::ListView1Click)
        .Method("StatusBar1Click", &F::StatusBar1Click)
        .Method("pbxLedPaint", &F::pbxLedPaint)
        .Method("LedClick", &F::LedClick)
        .Method("mrumHistoryClick", &F::mrumHistoryClick)
        .Method("KVXFMDrop1FMDragDrop", &F::KVXFMDrop1FMDragDrop)
        .Method("Krenlo1Activate", &F::Krenlo1Activate)
        .Method("Krenlo1Read", &F::Krenlo1Read)
        .Method("Krenlo1Deactivate", &F::Krenlo1Deactivate)
        .Method("Krenlo1NextVolume", &F::Krenlo1NextVolume)
        .Method("Krenlo1Error", &F::Krenlo1Error)
        .Method("UnZIP1Begin", &F::UnZIP1Begin)
        .Method("UnZIP1End", &F::UnZIP1End)
        .Method("UnZIP1Progress", &F::UnZIP1Progress)
        .Method("UnZIP1FileExists", &F::UnZIP1FileExists)
        .Method("UnZIP1GetPassword", &F::UnZIP1GetPassword)
        .Method("mnuAddFiles1Click", &F::mnuAddFiles1Click)
        .Method("mnuDeleteSelected1Click", &F::mnuDeleteSelected1Click)
        .Method("ListView1DragOver", &F::ListView1DragOver)
        .Method("ListView1DragDrop", &F::ListView1DragDrop)
        .Method("Zip1Activate", &F::Zip1Activate)
        .Method("Zip1Deactivate", &F::Zip1Deactivate)
        .Method("Zip1Begin", &F::Zip1Begin)
        .Method("Zip1RecurseDir", &F::Zip1RecurseDir)
        .Method("Zip1ReplaceFile", &F::Zip1ReplaceFile)
        .Method("ExplorerBarClick", &F::ExplorerBarClick)
        .Method("btnExploreClick", &F::btnExploreClick)
        .Method("btnEBarCloseClick", &F::btnEBarCloseClick)
        .Method("KVXRadioGroup1Change", &F::KVXRadioGroup1Change)
        .Method("btnSearchClick", &F::btnSearchClick)
        .Method("btnSearchNewClick", &F::btnSearchNewClick)
        .Method("btnSearchAddAllClick", &F::btnSearchAddAllClick)
        .Method("btnSearchAddSelectedClick", &F::btnSearchAddSelectedClick)
        .Method("lsbHistoryDblClick", &F::lsbHistoryDblClick)
        .Method("btnHistoryDeleteClick", &F::btnHistoryDeleteClick)
        .Method("btnHistoryClearClick", &F::btnHistoryClearClick)
        .Method("lsbFavoritesDblClick", &F::lsbFavoritesDblClick)
        .Method("btnFavoritesAddClick", &F::btnFavoritesAddClick)
        .Method("btnFavoritesOrganizeClick", &F::btnFavoritesOrganizeClick)
        .Method("miFavoritesAddClick", &F::miFavoritesAddClick)
        .Method("mruFavoritesClick", &F::mruFavoritesClick)
        .Method("cmbAddressKeyPress", &F::cmbAddressKeyPress)
        .Method("btnGoClick", &F::btnGoClick)
        .Method("ViewSelected1Click", &F::ViewSelected1Click)
        .Method("miActionsScanforvirusesClick", &F::miActionsScanforvirusesClick)
        .Method("miFileShortcutClick", &F::miFileShortcutClick)
        .Method("Create1Click", &F::Create1Click)
        .Method("mnuUUEncode1Click", &F::mnuUUEncode1Click)
        .Method("miFileMailClick", &F::miFileMailClick);
}

}  // namespace app
