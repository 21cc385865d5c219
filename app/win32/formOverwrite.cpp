#include "app/win32/formOverwrite.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_controls.h"

namespace app {

void TfrmOverwrite::FormShow(fw::TObject*) {
    if (btnNo->CanFocus()) btnNo->SetFocus();
}

int TfrmOverwrite::Ask(const std::string& fileName) {
    lblFileName->SetCaption(fileName);
    const int answer = ShowModal();
    // The window closed by its system menu gives mrCancel, which is "No to All".
    return answer == fw::mrYes || answer == fw::mrNo || answer == 5 ? answer : 2;
}

void RegisterOverwriteClass() {
    using F = TfrmOverwrite;
    fw::Class<F, fw::TForm>("TfrmOverwrite")
        .Field("lblFileName", &F::lblFileName)
        .Field("btnNo", &F::btnNo)
        .Method("FormShow", &F::FormShow);
}

}  // namespace app
