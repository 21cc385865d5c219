// TfrmOverwrite: the question asked before an existing output file is replaced. Its result is 6 Yes,
// 7 No, 5 Yes to All or 2 No to All (also when the window is closed).
#pragma once

#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TLabel;
}  // namespace fw

namespace app {

class TfrmOverwrite : public fw::TForm {
public:
    using TForm::TForm;

    fw::TLabel* lblFileName = nullptr;
    fw::TButton* btnNo = nullptr;

    void FormShow(fw::TObject* Sender);

    // Asks about FileName and returns the answer.
    int Ask(const std::string& fileName);
};

void RegisterOverwriteClass();

}  // namespace app
