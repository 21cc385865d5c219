#include "app/win32/formQuickSearch.h"

#include "app/win32/formZipMain.h"
#include "framework/core/rtti.h"
#include "framework/win32/std_animate.h"
#include "framework/win32/std_controls.h"
#include "widgets/win32/filegrep.h"

namespace app {

void TfrmQuickSearch::Start(const std::string& masks, const std::string& folder, const std::string& text) {
    lblSearchFor->SetCaption("Searching for: " + masks);
    lblOn->SetCaption("On: " + folder);
    KVXFileGrep1->FileMasks = masks;
    KVXFileGrep1->Dirs = folder;
    KVXFileGrep1->Content = text;
    Show();
    Animate1->SetActive(true);
    KVXFileGrep1->Execute();
}

void TfrmQuickSearch::FormClose(fw::TObject*, fw::TCloseAction& Action) { Action = fw::TCloseAction::caFree; }

// Only the search stops here: the window closes when the search reports its end.
void TfrmQuickSearch::btnCancelClick(fw::TObject*) { KVXFileGrep1->Cancel(); }

void TfrmQuickSearch::KVXFileGrep1Found(fw::TObject*, const std::string& found) {
    if (ZMain) ZMain->AddSearchResult(found);
}

void TfrmQuickSearch::KVXFileGrep1Ended(fw::TObject*) {
    Animate1->SetActive(false);
    Close();
}

void RegisterQuickSearchClass() {
    using F = TfrmQuickSearch;
    fw::Class<F, fw::TForm>("TfrmQuickSearch")
        .Field("Animate1", &F::Animate1)
        .Field("lblSearchFor", &F::lblSearchFor)
        .Field("lblOn", &F::lblOn)
        .Field("btnCancel", &F::btnCancel)
        .Field("KVXFileGrep1", &F::KVXFileGrep1)
        .Method("FormClose", &F::FormClose)
        .Method("btnCancelClick", &F::btnCancelClick)
        .Method("KVXFileGrep1Found", &F::KVXFileGrep1Found)
        .Method("KVXFileGrep1Ended", &F::KVXFileGrep1Ended);
}

}  // namespace app
