// kvx_editshow: the owner-drawn one-line edits on one form, for a screenshot and for typing, clipboard
// keys and clicks through the real input path: a plain edit whose text a label echoes, a password
// edit, an upper-case edit, read-only and disabled edits, an auto-sized edit with a raised 3D font,
// and an edit too narrow for its text.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "widgets/win32/customedit.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx;
using namespace kvx::win32;

class TfrmEdits : public fw::TForm {
public:
    using TForm::TForm;
    TKVXEdit* edtName = nullptr;
    fw::TLabel* lblEcho = nullptr;

    void FormCreate(fw::TObject*) { lblEcho->SetCaption(edtName->Text()); }

    void NameChanged(fw::TObject*, int32_t at) { lblEcho->SetCaption(edtName->Text() + " @" + std::to_string(at)); }
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmEdits, fw::TForm>("TfrmEdits")
        .Field("edtName", &TfrmEdits::edtName)
        .Field("lblEcho", &TfrmEdits::lblEcho)
        .Method("FormCreate", &TfrmEdits::FormCreate)
        .Method("NameChanged", &TfrmEdits::NameChanged);
    fw::Application->Initialize();
    TfrmEdits* frmEdits = nullptr;
    fw::Application->CreateForm(frmEdits);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
