// kvx_inputsheet: every input control of the suite on one form, for a screenshot of them together and
// for input through the real paths. The folder the search walks is the first argument (a Unix path is
// taken as its Z: drive path).
#include <string>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "testing/test_env.h"
#include "widgets/win32/filegrep.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/panelfill.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testapps/squarepictures.h"

namespace {

using namespace kvx;
using namespace kvx::win32;

class TfrmInputs : public fw::TForm {
public:
    using TForm::TForm;
    TKVXPanelFill* pnlSide = nullptr;
    TKVXImageListBox* lstPictures = nullptr;
    TKVXListBox* List1 = nullptr;
    TKVXFileGrep* Grep1 = nullptr;
    fw::TLabel* lblHits = nullptr;

    void FormCreate(fw::TObject*) {
        TKVXGradient* gradient = pnlSide->FillObject()->Gradient();
        gradient->SetStyle(TKVXGradientStyle::gstVertical);
        gradient->SetColor(fw::TColor(0x804000));
        gradient->SetEndColor(fw::TColor(0xFFC080));
        gradient->SetColorCount(32);
        pnlSide->FillObject()->SetStyle(TKVXFillStyle::sfGradient);
        pnlSide->Font()->SetName("Arial");
        pnlSide->Font()->SetColor(fw::clWhite);
        pnlSide->Font()->SetSize(12);
        lstPictures->SetImageList(MakeSquarePictures(this, {{16, fw::clRed}, {16, fw::clBlue}, {16, fw::clLime}}));
        Grep1->Dirs = mx::test::HostPath(fw::ParamStr(1));
    }

    void SearchClick(fw::TObject*) {
        List1->Items()->Clear();
        lblHits->SetCaption("searching");
        Grep1->Execute();
    }

    void GrepFinished(fw::TObject*) { lblHits->SetCaption(std::to_string(Grep1->Results()->Count()) + " hits"); }

};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmInputs, fw::TForm>("TfrmInputs")
        .Field("pnlSide", &TfrmInputs::pnlSide)
        .Field("lstPictures", &TfrmInputs::lstPictures)
        .Field("List1", &TfrmInputs::List1)
        .Field("Grep1", &TfrmInputs::Grep1)
        .Field("lblHits", &TfrmInputs::lblHits)
        .Method("FormCreate", &TfrmInputs::FormCreate)
        .Method("SearchClick", &TfrmInputs::SearchClick)
        .Method("GrepFinished", &TfrmInputs::GrepFinished);
    fw::Application->Initialize();
    TfrmInputs* frmInputs = nullptr;
    fw::Application->CreateForm(frmInputs);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
