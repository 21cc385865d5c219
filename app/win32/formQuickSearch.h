// TfrmQuickSearch: the small always-on-top window of one explorer-bar search. It runs the search
// component, hands each hit to the main window and closes itself when the search ends or is
// cancelled; it is freed once the message loop is back outside the search.
#pragma once

#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TAnimate;
class TButton;
class TLabel;
}  // namespace fw
namespace kvx::win32 {
class TKVXFileGrep;
}

namespace app {

class TfrmZipMain;

class TfrmQuickSearch : public fw::TForm {
public:
    using TForm::TForm;

    fw::TAnimate* Animate1 = nullptr;
    fw::TLabel* lblSearchFor = nullptr;
    fw::TLabel* lblOn = nullptr;
    fw::TButton* btnCancel = nullptr;
    kvx::win32::TKVXFileGrep* KVXFileGrep1 = nullptr;
    TfrmZipMain* ZMain = nullptr;

    void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);
    void btnCancelClick(fw::TObject* Sender);
    void KVXFileGrep1Found(fw::TObject* Sender, const std::string& found);
    void KVXFileGrep1Ended(fw::TObject* Sender);

    // Shows the window and starts the search for Masks under Folder (for Text inside the files when
    // it is not empty).
    void Start(const std::string& masks, const std::string& folder, const std::string& text);
};

void RegisterQuickSearchClass();

}  // namespace app
