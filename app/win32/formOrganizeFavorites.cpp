#include "app/win32/formOrganizeFavorites.h"

#include "framework/core/rtti.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/std_listbox.h"

namespace app {

// The button's modal result closes the dialog with OK afterwards, whatever the file dialog answered.
void TfrmOrganizeFavorites::btnAddClick(fw::TObject*) {
    PrepareArchiveOpenDialog(OpenDialog1);
    if (OpenDialog1->Execute()) lsbFavorites->Items()->Add(OpenDialog1->FileName());
}

void TfrmOrganizeFavorites::btnDeleteClick(fw::TObject*) {
    const int index = lsbFavorites->ItemIndex();
    if (index >= 0 && index < lsbFavorites->Items()->Count()) lsbFavorites->Items()->Delete(index);
}

void RegisterOrganizeFavoritesClass() {
    using F = TfrmOrganizeFavorites;
    fw::Class<F, fw::TForm>("TfrmOrganizeFavorites")
        .Field("lsbFavorites", &F::lsbFavorites)
        .Field("OpenDialog1", &F::OpenDialog1)
        .Method("btnAddClick", &F::btnAddClick)
        .Method("btnDeleteClick", &F::btnDeleteClick);
}

}  // namespace app
