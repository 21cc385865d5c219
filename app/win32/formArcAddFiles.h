// TfrmArcAddFiles: the Add Files dialog. Files and folders are dragged into its add list from its
// shell tree and list, or put there by the Find Files dialog; the dialog also holds the writer
// options of the add. It is made once and kept; the commands clear its list before each use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/forms.h"

namespace fw {
class TCheckBox;
class TComboBox;
class TListView;
class TPageControl;
class TRadioGroup;
class TTabSheet;
}  // namespace fw
namespace uis {
class TJexoShellList;
class TJexoShellTree;
}  // namespace uis

namespace app {

// The paths of a shell list's selected items, from their item-id lists: a display name may lack the
// extension, so the folder and the caption do not make the path.
std::vector<std::string> SelectedShellPaths(uis::TJexoShellList* list);

class TfrmArcAddFiles : public fw::TForm {
public:
    using TForm::TForm;

    uis::TJexoShellTree* JexoShellTree1 = nullptr;
    uis::TJexoShellList* JexoShellList1 = nullptr;
    fw::TPageControl* PageControl1 = nullptr;
    fw::TTabSheet* tsFiles = nullptr;
    fw::TListView* ListView1 = nullptr;
    fw::TCheckBox* ckbRecurseDirs = nullptr;
    fw::TRadioGroup* rgSwitch = nullptr;
    fw::TComboBox* cmbStoreDir = nullptr;
    fw::TComboBox* cmbCompressMethod = nullptr;

    void FormCreate(fw::TObject* Sender);
    void FormDestroy(fw::TObject* Sender);
    void ListView1DragOver(fw::TObject* Sender, fw::TObject* Source, int X, int Y, fw::TDragState State,
                           bool& Accept);
    void ListView1DragDrop(fw::TObject* Sender, fw::TObject* Source, int X, int Y);
    void ListView1KeyDown(fw::TObject* Sender, uint16_t& Key, fw::TShiftState Shift);
    void pmiDeleteClick(fw::TObject* Sender);
    void btnSearchClick(fw::TObject* Sender);
    void btnClearListClick(fw::TObject* Sender);
    void btnAddClick(fw::TObject* Sender);

    // Appends one name (a full path) to the add list.
    void AddToList(const std::string& name);
    void ClearList();
    // The names of the add list, in order.
    std::vector<std::string> Names() const;
    // Fills the method list with the second entry chosen.
    void SetMethods(const std::vector<std::string>& names, int chosen = 1);
};

void RegisterArcAddFilesClass();

}  // namespace app
