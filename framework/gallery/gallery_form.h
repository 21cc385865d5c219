// The gallery form: every standard control on one form. The gallery program shows it for fwdrive,
// and the gallery test drives it inside the test process, comparing the controls with their windows.
#pragma once

#include <string>
#include <vector>

#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"

namespace gallery {

class TfrmGallery : public fw::TForm {
public:
    using TForm::TForm;

    fw::TToolBar* ToolBar1 = nullptr;
    fw::TToolButton* tbOpen = nullptr;
    fw::TToolButton* tbBold = nullptr;
    fw::TToolButton* tbSep = nullptr;
    fw::TToolButton* tbMore = nullptr;
    fw::TCoolBar* CoolBar1 = nullptr;
    // A tool bar standing in for a menu bar: five buttons dropping the menus of MainMenu1.
    fw::TMainMenu* MainMenu1 = nullptr;
    fw::TToolBar* tbMenus = nullptr;
    fw::TComboBox* cbxFind = nullptr;
    fw::TStatusBar* StatusBar1 = nullptr;
    fw::TPanel* pnlLeft = nullptr;
    fw::TListBox* lstPlain = nullptr;
    fw::TListBox* lstVar = nullptr;
    fw::TComboBox* cbxStyle = nullptr;
    fw::TComboBox* cbxOwner = nullptr;
    fw::TCheckBox* chkShow = nullptr;
    fw::TRadioButton* rbFast = nullptr;
    fw::TRadioButton* rbSafe = nullptr;
    fw::TRadioGroup* rgMode = nullptr;
    fw::TBevel* Bevel1 = nullptr;
    fw::TImage* Image1 = nullptr;
    fw::TPaintBox* PaintBox1 = nullptr;
    fw::TScrollBox* ScrollBox1 = nullptr;
    fw::TPanel* pnlTall = nullptr;
    fw::TPanel* pnlSplit = nullptr;
    fw::TPanel* pnlSplitLeft = nullptr;
    fw::TSplitter* Splitter1 = nullptr;
    fw::TPanel* pnlSplitRight = nullptr;
    fw::TNotebook* Notebook1 = nullptr;
    fw::TPage* pgFirst = nullptr;
    fw::TPage* pgSecond = nullptr;
    fw::TCheckBox* chkFirst = nullptr;
    fw::TPageControl* PageControl1 = nullptr;
    fw::TTabSheet* TabSheet1 = nullptr;
    fw::TTabSheet* TabSheet2 = nullptr;
    fw::TCheckBox* chkAdvanced = nullptr;
    fw::TTabControl* TabControl1 = nullptr;
    fw::THeaderControl* HeaderControl1 = nullptr;
    fw::TListView* lvFiles = nullptr;
    fw::TListView* lvTarget = nullptr;
    fw::TTreeView* tvFolders = nullptr;
    fw::TProgressBar* ProgressBar1 = nullptr;
    fw::TDateTimePicker* DateTimePicker1 = nullptr;
    fw::TAnimate* Animate1 = nullptr;
    fw::TRichEdit* reNotes = nullptr;
    fw::TDriveComboBox* cbxDrive = nullptr;
    fw::TLabel* lblName = nullptr;
    fw::TEdit* edtName = nullptr;
    fw::TButton* btnGo = nullptr;
    fw::TBitBtn* btnOk = nullptr;
    fw::TMemo* memLog = nullptr;
    fw::TDirectoryListBox* lstDirs = nullptr;

    // What the handlers saw, for the tests.
    int showClicks = 0;
    int openClicks = 0;
    int paints = 0;
    std::vector<std::string> log;

    void FormCreate(fw::TObject* Sender);
    void tbOpenClick(fw::TObject* Sender);
    void MenuItemClick(fw::TObject* Sender);
    void chkShowClick(fw::TObject* Sender);
    void lstVarMeasureItem(fw::TObject* Sender, int Index, int& Height);
    void PaintBox1Paint(fw::TObject* Sender);
    void HeaderControl1SectionClick(fw::TObject* Sender, fw::THeaderSection* Section);
    void lvFilesColumnClick(fw::TObject* Sender, fw::TListColumn* Column);
    void lvTargetDragOver(fw::TObject* Sender, fw::TObject* Source, int X, int Y, fw::TDragState State, bool& Accept);
    void lvTargetDragDrop(fw::TObject* Sender, fw::TObject* Source, int X, int Y);
};

// The height the owner-drawn list box gives item `index`.
int VariableItemHeight(int index);

// Registers the standard controls and the gallery form class.
void RegisterGalleryClasses();

}  // namespace gallery
