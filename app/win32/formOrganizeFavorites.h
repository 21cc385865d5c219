// TfrmOrganizeFavorites: the favorites as a list to add to and delete from; the main window takes the
// list back on OK. Made for each use.
#pragma once

#include "framework/win32/forms.h"

namespace fw {
class TListBox;
class TOpenDialog;
}  // namespace fw

namespace app {

class TfrmOrganizeFavorites : public fw::TForm {
public:
    using TForm::TForm;

    fw::TListBox* lsbFavorites = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;

    void btnAddClick(fw::TObject* Sender);
    void btnDeleteClick(fw::TObject* Sender);
};

// The open-file dialog that chooses an archive to keep as a favorite: its title, name and filters.
void PrepareArchiveOpenDialog(fw::TOpenDialog* dialog);

void RegisterOrganizeFavoritesClass();

}  // namespace app
