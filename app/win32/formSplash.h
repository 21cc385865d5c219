// TfrmSplash: the window shown while the main window is built; hidden by the main window's show or
// by a start that ends at once, and never freed.
#pragma once

#include "framework/win32/forms.h"

namespace fw {
class TImage;
class TLabel;
}  // namespace fw

namespace app {

class TfrmSplash : public fw::TForm {
public:
    using TForm::TForm;

    fw::TImage* imgSplash = nullptr;
    fw::TLabel* txtStatus = nullptr;

    void FormCreate(fw::TObject* Sender);
};

extern TfrmSplash* frmSplash;

// Hides the splash window when it shows.
void HideSplash();

void RegisterSplashClass();

}  // namespace app
