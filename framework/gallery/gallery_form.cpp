// The gallery form.
#include "framework/gallery/gallery_form.h"

namespace gallery {

int VariableItemHeight(int index) { return 14 + 6 * index; }

void TfrmGallery::FormCreate(fw::TObject*) {
    const char* files[][2] = {{"readme.txt", "120"}, {"setup.exe", "35840"}, {"data.zip", "4096"}};
    lvFiles->Items()->BeginUpdate();
    for (const auto& row : files) {
        fw::TListItem* item = lvFiles->Items()->Add();
        item->SetCaption(row[0]);
        item->SubItems()->Add(row[1]);
    }
    lvFiles->Items()->EndUpdate();

    fw::TTreeNode* root = tvFolders->Items()->AddChild(nullptr, "C:\\");
    fw::TTreeNode* windows = tvFolders->Items()->AddChild(root, "Windows");
    tvFolders->Items()->AddChild(windows, "System32");
    tvFolders->Items()->AddChild(root, "Program Files");
    root->Expand(false);

    // A small picture drawn here: the image shows what the bitmap holds.
    auto bitmap = std::make_unique<fw::TBitmap>();
    bitmap->SetSize(32, 32);
    bitmap->Canvas()->Brush()->SetColor(fw::clNavy);
    bitmap->Canvas()->FillRect(fw::Rect(0, 0, 32, 32));
    bitmap->Canvas()->Brush()->SetColor(fw::clYellow);
    bitmap->Canvas()->Ellipse(4, 4, 28, 28);
    Image1->Picture()->SetGraphic(bitmap.get());

    // The OK button's glyph: a green tick on the transparent (bottom-left) colour.
    auto glyph = std::make_unique<fw::TBitmap>();
    glyph->SetSize(16, 16);
    glyph->Canvas()->Brush()->SetColor(fw::clFuchsia);
    glyph->Canvas()->FillRect(fw::Rect(0, 0, 16, 16));
    glyph->Canvas()->Pen()->SetColor(fw::clGreen);
    glyph->Canvas()->Pen()->SetWidth(2);
    glyph->Canvas()->MoveTo(3, 8);
    glyph->Canvas()->LineTo(6, 12);
    glyph->Canvas()->LineTo(13, 3);
    btnOk->SetGlyph(glyph.get());
}

void TfrmGallery::tbOpenClick(fw::TObject*) {
    ++openClicks;
    log.push_back("open");
    StatusBar1->Panels()->Items(0)->SetText("Opened " + std::to_string(openClicks));
}

void TfrmGallery::MenuItemClick(fw::TObject* Sender) {
    const std::string name = static_cast<fw::TComponent*>(Sender)->Name();
    log.push_back("menu " + name);
    StatusBar1->Panels()->Items(0)->SetText("menu " + name);
}

void TfrmGallery::chkShowClick(fw::TObject*) {
    ++showClicks;
    log.push_back(std::string("show ") + (chkShow->Checked() ? "on" : "off"));
}

void TfrmGallery::lstVarMeasureItem(fw::TObject*, int Index, int& Height) { Height = VariableItemHeight(Index); }

void TfrmGallery::PaintBox1Paint(fw::TObject*) {
    ++paints;
    fw::TCanvas* canvas = PaintBox1->Canvas();
    canvas->Brush()->SetColor(fw::clTeal);
    canvas->FillRect(PaintBox1->ClientRect());
    canvas->Brush()->SetColor(fw::clWhite);
    canvas->TextOut(4, 8, "Paint box");
}

void TfrmGallery::HeaderControl1SectionClick(fw::TObject*, fw::THeaderSection* Section) {
    log.push_back("section " + Section->Text());
    StatusBar1->Panels()->Items(1)->SetText("section " + Section->Text());
}

void TfrmGallery::lvFilesColumnClick(fw::TObject*, fw::TListColumn* Column) {
    log.push_back("column " + Column->Caption());
    lvFiles->AlphaSort();
    StatusBar1->Panels()->Items(1)->SetText("sorted by " + Column->Caption());
}

void TfrmGallery::lvTargetDragOver(fw::TObject*, fw::TObject* Source, int, int, fw::TDragState, bool& Accept) {
    Accept = Source == lvFiles;
    log.push_back(std::string("over ") + (Source == lvFiles ? "lvFiles" : "other"));
}

void TfrmGallery::lvTargetDragDrop(fw::TObject*, fw::TObject* Source, int, int) {
    log.push_back(std::string("drop ") + (Source == lvFiles ? "lvFiles" : "other"));
    if (Source != lvFiles) return;
    if (fw::TListItem* selected = lvFiles->Selected()) lvTarget->Items()->Add()->SetCaption(selected->Caption());
}

void RegisterGalleryClasses() {
    fw::RegisterStandardControls();
    using F = TfrmGallery;
    fw::Class<F, fw::TForm>("TfrmGallery")
        .Field("ToolBar1", &F::ToolBar1)
        .Field("tbOpen", &F::tbOpen)
        .Field("tbBold", &F::tbBold)
        .Field("tbSep", &F::tbSep)
        .Field("tbMore", &F::tbMore)
        .Field("CoolBar1", &F::CoolBar1)
        .Field("MainMenu1", &F::MainMenu1)
        .Field("tbMenus", &F::tbMenus)
        .Field("cbxFind", &F::cbxFind)
        .Field("StatusBar1", &F::StatusBar1)
        .Field("pnlLeft", &F::pnlLeft)
        .Field("lstPlain", &F::lstPlain)
        .Field("lstVar", &F::lstVar)
        .Field("cbxStyle", &F::cbxStyle)
        .Field("cbxOwner", &F::cbxOwner)
        .Field("chkShow", &F::chkShow)
        .Field("rbFast", &F::rbFast)
        .Field("rbSafe", &F::rbSafe)
        .Field("rgMode", &F::rgMode)
        .Field("Bevel1", &F::Bevel1)
        .Field("Image1", &F::Image1)
        .Field("PaintBox1", &F::PaintBox1)
        .Field("ScrollBox1", &F::ScrollBox1)
        .Field("pnlTall", &F::pnlTall)
        .Field("pnlSplit", &F::pnlSplit)
        .Field("pnlSplitLeft", &F::pnlSplitLeft)
        .Field("Splitter1", &F::Splitter1)
        .Field("pnlSplitRight", &F::pnlSplitRight)
        .Field("Notebook1", &F::Notebook1)
        .Field("pgFirst", &F::pgFirst)
        .Field("pgSecond", &F::pgSecond)
        .Field("chkFirst", &F::chkFirst)
        .Field("PageControl1", &F::PageControl1)
        .Field("TabSheet1", &F::TabSheet1)
        .Field("TabSheet2", &F::TabSheet2)
        .Field("chkAdvanced", &F::chkAdvanced)
        .Field("TabControl1", &F::TabControl1)
        .Field("HeaderControl1", &F::HeaderControl1)
        .Field("lvFiles", &F::lvFiles)
        .Field("lvTarget", &F::lvTarget)
        .Field("tvFolders", &F::tvFolders)
        .Field("ProgressBar1", &F::ProgressBar1)
        .Field("DateTimePicker1", &F::DateTimePicker1)
        .Field("Animate1", &F::Animate1)
        .Field("reNotes", &F::reNotes)
        .Field("cbxDrive", &F::cbxDrive)
        .Field("lblName", &F::lblName)
        .Field("edtName", &F::edtName)
        .Field("btnGo", &F::btnGo)
        .Field("btnOk", &F::btnOk)
        .Field("memLog", &F::memLog)
        .Field("lstDirs", &F::lstDirs)
        .Method("FormCreate", &F::FormCreate)
        .Method("tbOpenClick", &F::tbOpenClick)
        .Method("MenuItemClick", &F::MenuItemClick)
        .Method("chkShowClick", &F::chkShowClick)
        .Method("lstVarMeasureItem", &F::lstVarMeasureItem)
        .Method("PaintBox1Paint", &F::PaintBox1Paint)
        .Method("HeaderControl1SectionClick", &F::HeaderControl1SectionClick)
        .Method("lvFilesColumnClick", &F::lvFilesColumnClick)
        .Method("lvTargetDragOver", &F::lvTargetDragOver)
        .Method("lvTargetDragDrop", &F::lvTargetDragDrop);
}

}  // namespace gallery
