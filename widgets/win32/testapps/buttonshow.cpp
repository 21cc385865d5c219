// kvx_buttonshow: the spin edits, check boxes, radio buttons and the radio and check groups on one
// form, each once enabled and once disabled, for a screenshot and for input through the real paths.
// The label at the bottom shows the last report: a group's OnChange, a box's OnChange or the default
// button pressed from a spin edit.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_label.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/register.h"
#include "widgets/win32/spinedit.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx::win32;

class TfrmButtons : public fw::TForm {
public:
    using TForm::TForm;
    fw::TLabel* lblReport = nullptr;
    TKVXRadioGroup* grpFormat = nullptr;
    TKVXCheckGroup* grpAttributes = nullptr;
    TKVXCheckBox* chkRecurse = nullptr;

    void FormCreate(fw::TObject*) {
        grpFormat->OnChange.Bind(this, [](void* self, fw::TObject* sender, int index) {
            static_cast<TfrmButtons*>(self)->Report(static_cast<fw::TComponent*>(sender)->Name() + " " + std::to_string(index));
        });
        grpAttributes->OnChange = grpFormat->OnChange;
        chkRecurse->OnChange.Bind(this, [](void* self, fw::TObject* sender) {
            static_cast<TfrmButtons*>(self)->Report(static_cast<fw::TComponent*>(sender)->Name());
        });
    }

    void OkClick(fw::TObject*) { Report("OK"); }

private:
    void Report(const std::string& text) { lblReport->SetCaption(text); }
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmButtons, fw::TForm>("TfrmButtons")
        .Field("lblReport", &TfrmButtons::lblReport)
        .Field("grpFormat", &TfrmButtons::grpFormat)
        .Field("grpAttributes", &TfrmButtons::grpAttributes)
        .Field("chkRecurse", &TfrmButtons::chkRecurse)
        .Method("FormCreate", &TfrmButtons::FormCreate)
        .Method("OkClick", &TfrmButtons::OkClick);
    fw::Application->Initialize();
    TfrmButtons* frmButtons = nullptr;
    fw::Application->CreateForm(frmButtons);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
