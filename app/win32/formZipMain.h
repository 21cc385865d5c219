// TfrmZipMain: the archive manager's main window. It lists one archive at a time through the lister,
// keeps one record per listed entry, runs the extractors and writers on them and binds one handler
// of each engine event to every engine component. Its parts live in several files:
//   formZipMain.cpp          create, show, destroy, close, the command line, view commands, exit
//   formZipMainList.cpp      opening and listing, columns, sorting, totals, command states, busy state
//   formZipMainExtract.cpp   the extract command and the shared engine event handlers
//   formZipMainSettings.cpp  the preferences and the view settings
//   formZipMainFile.cpp      verify, the commands on the archive file and the log, the preferences
//                            dialog, help, about and the default-viewer question
//   formZipMainWrite.cpp     adding, moving and deleting entries, new archives, the open dialog
//   formZipMainExplore.cpp   the explorer bar, the address bar, history, favorites, the quick search
//   formZipMainTools.cpp     view entries, the virus scan, the desktop link, the builder, UU-encode,
//                            mail
// The explorer bar's shell tree and list are joined by JexoShellLink1 only when the bar first shows
// its Folders page: a hidden bar watches no folder (and starts no directory monitor thread).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "app/entry_table.h"
#include "app/preferences.h"
#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TComboBox;
class TCoolBar;
class TImage;
class TLabel;
class TListColumn;
class TListItem;
class TListView;
class TEdit;
class TDriveComboBox;
class TMainMenu;
class TMemo;
class TMenuItem;
class TNotebook;
class TOpenDialog;
class TPaintBox;
class TPanel;
class TProgressBar;
class TSaveDialog;
class TSplitter;
class TStatusBar;
class TStrings;
class TToolBar;
class TToolButton;
}  // namespace fw
namespace engine {
class TBlakHole;
class TCompBase;
class TKrenlo;
class TLha;
class TMakeCAB;
class TZip;
class TUnBase;
class TUnZIP;
class TUUDecode;
class TUUEncode;
class TZipCommon;
}  // namespace engine
namespace kvx::win32 {
class TKVXAboutDlg;
class TKVXBrowseDlg;
class TKVXFileCtrl;
class TKVXImageListBox;
class TKVXMRUList;
class TKVXRadioGroup;
class TKVXStarter;
class TKVXTrayIcon;
}  // namespace kvx::win32
namespace uis {
class TFormStorage;
class TJexoShellList;
class TJexoShellTree;
class TMRUManager;
class TqhlHelpMonitor;
}  // namespace uis

namespace app {

class TATShell;
class TfrmArcAddFiles;
class TfrmArcExtract;
class TfrmArcOpen;

class TfrmZipMain : public fw::TForm {
public:
    using TForm::TForm;

    // ---- components the code reaches (form text) -----------------------------------------------
    engine::TKrenlo* Krenlo1 = nullptr;
    engine::TUnZIP* UnZIP1 = nullptr;
    engine::TUUDecode* UUDecode1 = nullptr;
    fw::TListView* ListView1 = nullptr;
    fw::TStatusBar* StatusBar1 = nullptr;
    fw::TProgressBar* ProgressBar1 = nullptr;
    fw::TPaintBox* pbxLed = nullptr;
    fw::TImage* imgLed = nullptr;
    fw::TMemo* memLog = nullptr;
    fw::TLabel* lblArchiveName = nullptr;
    fw::TComboBox* cmbAddress = nullptr;
    fw::TPanel* pnlActions = nullptr;
    fw::TPanel* pnlInfo = nullptr;
    fw::TPanel* pnlDispInfo = nullptr;
    fw::TPanel* pnlStatus = nullptr;
    fw::TPanel* pnlMain = nullptr;
    fw::TPanel* pnlList = nullptr;
    fw::TSplitter* SplitterInfo = nullptr;
    fw::TNotebook* nbkLog = nullptr;
    fw::TNotebook* nbkExplore = nullptr;
    fw::TNotebook* nbkSearch = nullptr;
    fw::TToolBar* tbarStandard = nullptr;
    fw::TPanel* tbarAddress = nullptr;
    fw::TButton* btnGo = nullptr;
    fw::TCoolBar* CoolBar1 = nullptr;
    fw::TMenuItem* mnuAction = nullptr;
    fw::TMenuItem* miFileClose = nullptr;
    fw::TMenuItem* mnuExtract1 = nullptr;
    fw::TMenuItem* mnuRefresh1 = nullptr;
    fw::TMenuItem* miViewStandard = nullptr;
    fw::TMenuItem* miViewAddress = nullptr;
    fw::TMenuItem* miViewActions = nullptr;
    fw::TMenuItem* miViewTextlabels = nullptr;
    fw::TMenuItem* miViewStatusbar = nullptr;
    fw::TMenuItem* mnuViewLog = nullptr;
    fw::TMenuItem* miViewLargeIcons = nullptr;
    fw::TMenuItem* miViewSmallIcons = nullptr;
    fw::TMenuItem* miViewList = nullptr;
    fw::TMenuItem* miViewDetails = nullptr;
    fw::TMenuItem* pmiViewLargeIcons = nullptr;
    fw::TMenuItem* pmiViewSmallIcons = nullptr;
    fw::TMenuItem* pmiViewList = nullptr;
    fw::TMenuItem* pmiViewDetails = nullptr;
    fw::TMenuItem* pmiExtract = nullptr;
    uis::TFormStorage* FormStorage1 = nullptr;
    uis::TFormStorage* fsView = nullptr;
    uis::TFormStorage* fsToolbars = nullptr;
    uis::TFormStorage* fsFolders = nullptr;
    uis::TFormStorage* fsPrograms = nullptr;
    uis::TMRUManager* mrumHistory = nullptr;
    kvx::win32::TKVXMRUList* mruHistory = nullptr;
    kvx::win32::TKVXMRUList* mruFavorites = nullptr;
    kvx::win32::TKVXImageListBox* lsbHistory = nullptr;
    kvx::win32::TKVXImageListBox* lsbFavorites = nullptr;
    kvx::win32::TKVXFileCtrl* KVXFileCtrl1 = nullptr;
    kvx::win32::TKVXTrayIcon* KVXTrayIcon1 = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;
    // Verify, the archive file, the log, help (formZipMainFile.cpp).
    TATShell* ATShell1 = nullptr;
    fw::TSaveDialog* SaveDialog1 = nullptr;
    kvx::win32::TKVXBrowseDlg* KVXBrowseDlg1 = nullptr;
    kvx::win32::TKVXAboutDlg* KVXAboutDlg1 = nullptr;
    uis::TqhlHelpMonitor* qhlHelpMonitor1 = nullptr;
    fw::TMenuItem* miFileMove = nullptr;
    fw::TMenuItem* miFileCopy = nullptr;
    fw::TMenuItem* miFileRename = nullptr;
    fw::TMenuItem* miFileDelete = nullptr;
    fw::TMenuItem* miFileProperties = nullptr;
    fw::TMenuItem* Checkpackageforerrors1 = nullptr;
    // Writing (formZipMainWrite.cpp).
    engine::TZip* Zip1 = nullptr;
    engine::TBlakHole* BlakHole1 = nullptr;
    engine::TLha* Lha1 = nullptr;
    engine::TMakeCAB* MakeCAB1 = nullptr;
    fw::TMenuItem* mnuAddFiles1 = nullptr;
    fw::TMenuItem* mnuDeleteSelected1 = nullptr;
    uis::TJexoShellTree* JexoShellTree1 = nullptr;
    uis::TJexoShellList* JexoShellList1 = nullptr;
    // The explorer bar (formZipMainExplore.cpp).
    fw::TPanel* pnlEBar = nullptr;
    fw::TPanel* pnlEBarTitle = nullptr;
    fw::TSplitter* SplitterEBar = nullptr;
    fw::TToolButton* btnExplore = nullptr;
    fw::TMenuItem* miViewSearch = nullptr;
    fw::TMenuItem* miViewFavorites = nullptr;
    fw::TMenuItem* miViewHistory = nullptr;
    fw::TMenuItem* miViewFolders = nullptr;
    fw::TEdit* edtSearchFileMask = nullptr;
    fw::TEdit* edtSearchText = nullptr;
    fw::TLabel* lblSearchText = nullptr;
    fw::TButton* btnSearch = nullptr;
    fw::TDriveComboBox* DriveComboBox1 = nullptr;
    kvx::win32::TKVXRadioGroup* KVXRadioGroup1 = nullptr;
    kvx::win32::TKVXImageListBox* lsbSearchResults = nullptr;
    // Other commands (formZipMainTools.cpp).
    engine::TUUEncode* UUEncode1 = nullptr;
    kvx::win32::TKVXStarter* KVXStarter1 = nullptr;
    fw::TMenuItem* ViewSelected1 = nullptr;
    fw::TMenuItem* pmiView = nullptr;
    fw::TMenuItem* miFileShortcut = nullptr;
    fw::TMenuItem* Create1 = nullptr;
    fw::TMenuItem* mnuUUEncode1 = nullptr;
    fw::TMenuItem* miActionsScanforviruses = nullptr;
    fw::TMenuItem* miFileMail = nullptr;

    // ---- handlers (form text) -------------------------------------------------------------------
    void FormCreate(fw::TObject* Sender);
    void FormShow(fw::TObject* Sender);
    void FormCloseQuery(fw::TObject* Sender, bool& CanClose);
    void FormDestroy(fw::TObject* Sender);
    void mnuExit1Click(fw::TObject* Sender);
    void mnuOpen1Click(fw::TObject* Sender);
    void mnuEditPreferencesClick(fw::TObject* Sender);
    void miFileCloseClick(fw::TObject* Sender);
    void mnuRefresh1Click(fw::TObject* Sender);
    void miEditSelectAllClick(fw::TObject* Sender);
    void miEditInvertClick(fw::TObject* Sender);
    void mnuExtract1Click(fw::TObject* Sender);
    void miViewStandardClick(fw::TObject* Sender);
    void miViewAddressClick(fw::TObject* Sender);
    void miViewActionsClick(fw::TObject* Sender);
    void miViewTextlabelsClick(fw::TObject* Sender);
    void miViewStatusbarClick(fw::TObject* Sender);
    void mnuViewLogClick(fw::TObject* Sender);
    void ViewStyleClick(fw::TObject* Sender);
    void TextSizeClick(fw::TObject* Sender);
    void tbarAddressResize(fw::TObject* Sender);
    void ListView1ColumnClick(fw::TObject* Sender, fw::TListColumn* Column);
    void ListView1Click(fw::TObject* Sender);
    void StatusBar1Click(fw::TObject* Sender);
    void pbxLedPaint(fw::TObject* Sender);
    void LedClick(fw::TObject* Sender);
    void mrumHistoryClick(fw::TObject* Sender, const std::string& RecentName, const std::string& Caption, int UserData);
    void KVXFMDrop1FMDragDrop(fw::TObject* Sender, int fcount, int x, int y, fw::TStrings* FileList);
    void Checkpackageforerrors1Click(fw::TObject* Sender);
    void miFileMoveClick(fw::TObject* Sender);
    void miFileCopyClick(fw::TObject* Sender);
    void miFileRenameClick(fw::TObject* Sender);
    void miFileDeleteClick(fw::TObject* Sender);
    void miFilePropertiesClick(fw::TObject* Sender);
    void Savelog1Click(fw::TObject* Sender);
    void Clearlog1Click(fw::TObject* Sender);
    void ContentsandIndex1Click(fw::TObject* Sender);
    void QuickStart1Click(fw::TObject* Sender);
    void Preferences1Click(fw::TObject* Sender);
    void AboutMorvixZip1Click(fw::TObject* Sender);
    // Engine events.
    void Krenlo1Activate(fw::TObject* Sender);
    void Krenlo1Read(fw::TObject* Sender, int64_t Offset, int Filenum);
    void Krenlo1Deactivate(fw::TObject* Sender);
    void Krenlo1NextVolume(fw::TObject* Sender, std::string& Dir, std::string& FN, const std::string& VolumeID,
                           bool FExists, bool& Cancel);
    void Krenlo1Error(fw::TObject* Sender, const std::string& FN, const std::string& MsgEx,
                      const std::string& VolumeID, int ECode);
    void UnZIP1Begin(fw::TObject* Sender, const std::string& FN, int RecNum, bool& Extract);
    void UnZIP1End(fw::TObject* Sender, const std::string& FN, bool CRC_PASS);
    void UnZIP1Progress(fw::TObject* Sender, uint8_t Progress);
    void UnZIP1FileExists(fw::TObject* Sender, const std::string& FN, double FileDate, bool& Accept);
    void UnZIP1GetPassword(fw::TObject* Sender, const std::string& FN, std::string& Password, bool& TryAgain);
    // Writing (formZipMainWrite.cpp).
    void mnuAddFiles1Click(fw::TObject* Sender);
    void mnuDeleteSelected1Click(fw::TObject* Sender);
    void ListView1DragOver(fw::TObject* Sender, fw::TObject* Source, int X, int Y, fw::TDragState State, bool& Accept);
    void ListView1DragDrop(fw::TObject* Sender, fw::TObject* Source, int X, int Y);
    void Zip1Activate(fw::TObject* Sender);
    void Zip1Deactivate(fw::TObject* Sender);
    void Zip1Begin(fw::TObject* Sender, const std::string& FN, int RecNum, bool& Extract);
    void Zip1RecurseDir(fw::TObject* Sender, const std::string& Directory);
    // The explorer bar (formZipMainExplore.cpp).
    void ExplorerBarClick(fw::TObject* Sender);
    void btnExploreClick(fw::TObject* Sender);
    void btnEBarCloseClick(fw::TObject* Sender);
    void KVXRadioGroup1Change(fw::TObject* Sender, int ButtonIndex);
    void btnSearchClick(fw::TObject* Sender);
    void btnSearchNewClick(fw::TObject* Sender);
    void btnSearchAddAllClick(fw::TObject* Sender);
    void btnSearchAddSelectedClick(fw::TObject* Sender);
    void lsbHistoryDblClick(fw::TObject* Sender);
    void btnHistoryDeleteClick(fw::TObject* Sender);
    void btnHistoryClearClick(fw::TObject* Sender);
    void lsbFavoritesDblClick(fw::TObject* Sender);
    void btnFavoritesAddClick(fw::TObject* Sender);
    void btnFavoritesOrganizeClick(fw::TObject* Sender);
    void miFavoritesAddClick(fw::TObject* Sender);
    void mruFavoritesClick(fw::TObject* Sender, const std::string& aValue, bool& Remove);
    void cmbAddressKeyPress(fw::TObject* Sender, char& Key);
    void btnGoClick(fw::TObject* Sender);
    // Other commands (formZipMainTools.cpp).
    void ViewSelected1Click(fw::TObject* Sender);
    void miActionsScanforvirusesClick(fw::TObject* Sender);
    void miFileShortcutClick(fw::TObject* Sender);
    void Create1Click(fw::TObject* Sender);
    void mnuUUEncode1Click(fw::TObject* Sender);
    void miFileMailClick(fw::TObject* Sender);
    void Zip1ReplaceFile(fw::TObject* Sender, const std::string& OldFN, const std::string& FN, double OldDate,
                         double NewDate, int64_t OldFileSize, int64_t NewFileSize, int OldAttr, int NewAttr,
                         bool& Replace);

    // ---- operations other parts of the program use ---------------------------------------------
    void OpenArchive(const std::string& path);
    // Mode 0: the whole archive; 1: the selected entries (0 when nothing is selected).
    void DisplayTotals(int mode);
    void EnableMenus();
    // Busy: the hourglass on the list, the red indicator, list painting suspended. Waiting undoes it.
    void ApplicationBusy();
    void ApplicationWaiting();
    void SetLedColor(fw::TColor color);
    void BuildColumns();
    void LoadPreferences();
    void ApplyViewSettings();
    void SetButtonText(bool value);
    // The record of a list item (null for an item of no record).
    const EntryRecord* RecordOf(fw::TListItem* item) const;
    // The log pane.
    void Log(const std::string& line);
    // True while an engine component runs a command of this window.
    bool Busy() const { return busyRuns_ > 0; }
    const Preferences& Prefs() const { return prefs_; }
    TfrmArcExtract* ExtractDialog();
    // Writing (formZipMainWrite.cpp).
    TfrmArcAddFiles* AddFilesDialog();
    // Adds files to the open archive and queues folders (added once the message loop is reached).
    void AddFilesToArchive(const std::vector<std::string>& names);
    struct NewArchive {
        std::string name, folder, password;
        std::vector<std::string> names;
        bool recurse = false;
        int switchIndex = 0, storedDirIndex = 2, methodIndex = 1, typeIndex = 0;
    };
    // The explorer bar (formZipMainExplore.cpp): Page 1 Search, 2 Favorites, 3 History, 4 Folders; the
    // page already shown hides the bar.
    void ShowExplorerBar(int Page);
    // One line of a quick search, "folder*name*".
    void AddSearchResult(const std::string& line);
    // Other commands (formZipMainTools.cpp): runs the encoder as the UU-encode dialog set it.
    void RunEncoder();
    // Saves a link to the program with Archive as its argument on the desktop; false when none was saved.
    bool CreateDesktopShortcut(const std::string& archive);
    // Writes a new archive; false when nothing was written.
    bool CreateArchive(const NewArchive& archive);
    // The writer of the last writing command.
    engine::TCompBase* CurrentWriter = nullptr;

    // The last answer of the overwrite question during one command (0, 6, 7, 5, 2).
    int OverwriteAnswer = 0;
    // The extractor of the last extract command.
    engine::TUnBase* CurrentExtractor = nullptr;

protected:
    ~TfrmZipMain() override;
    void Dispatch(fw::TMessage& message) override;

private:
    void RunCommandLine(const std::vector<std::string>& args);
    void NormalStart();
    std::vector<std::string> CommandLineArgs() const;
    void ExtractCommand();
    // The extractor of the open archive's type, given the archive (null, after saying so, for a
    // type that cannot be extracted).
    engine::TUnBase* ChooseExtractor();
    void DoUueDecode();
    void ClearList();
    void AddSelectedIndexes(std::vector<size_t>& indexes) const;
    void CheckViewItems(int tag);
    void UpdateHistoryLists(const std::string& path);
    // Engine runs started by this window nest in a count; a close asked for meanwhile cancels the run
    // and closes once the count returns to zero.
    void BeginRun();
    void EndRun();
    void MakeLedPicture();
    // formZipMainFile.cpp.
    void AskDefaultViewer();
    void EnableFileCommands(bool fileCommands, bool verify);
    bool ChooseFolder(const std::string& title, std::string& folder);
    // Writing (formZipMainWrite.cpp).
    bool DefineCompressComponent();
    void RunWriter(engine::TCompBase* writer);
    void ReopenArchive(const std::string& path);
    void NewArchiveCommand(TfrmArcOpen& dialog);
    void AddQueuedDirectories();
    void EnableWriteCommands(bool addDelete);
    std::string StatusPath(const std::string& path);
    // The explorer bar (formZipMainExplore.cpp).
    void CloseExplorerBar();
    void RestoreExplorerBar();
    void LinkFolderViews();
    void FillFavorites();
    void AddSearchResults(bool selectedOnly);
    int ExplorerBarPage = 0;
    // Other commands (formZipMainTools.cpp).
    void EnableToolCommands(bool archiveOpen, bool extract);
    void ViewEntries();
    std::vector<std::string> queuedDirectories_;
    bool addFolderContents_ = false;
    bool switchChosen_ = false;
    TfrmArcAddFiles* addFilesDialog_ = nullptr;
    TfrmArcOpen* openDialog_ = nullptr;

    // The shell's icon and type name of an extension, asked once per extension.
    struct ShellLook {
        int icon = 0;
        std::string typeName;
    };
    const ShellLook& LookOf(const std::string& fileName);
    std::unordered_map<std::string, ShellLook> shellLooks_;

    std::vector<EntryRecord> records_;
    // The identity of each shown column, by position.
    std::vector<ColumnId> shownColumns_;
    Preferences prefs_;
    int sortColumn_ = 0;
    bool sortAscending_ = false;
    int busyCount_ = 0;
    int busyRuns_ = 0;
    bool closeAfterRun_ = false;
    TfrmArcExtract* extractDialog_ = nullptr;
};

void RegisterZipMainClass();

}  // namespace app
