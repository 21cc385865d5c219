// kvx_listshow: the multi-column list box filled by the file search, for a screenshot and for a driven
// search. The folder to search is the first argument (a Unix path is taken as its Z: drive path).
#include <string>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_label.h"
#include "testing/test_env.h"
#include "widgets/win32/filegrep.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx::win32;

class TfrmLists : public fw::TForm {
public:
    using TForm::TForm;
    TKVXListBox* List1 = nullptr;
    TKVXFileGrep* Grep1 = nullptr;
    fw::TLabel* lblHits = nullptr;

    void FormCreate(fw::TObject*) { Grep1->Dirs = mx::test::HostPath(fw::ParamStr(1)); }
    void SearchClick(fw::TObject*) {
        List1->Items()->Clear();
        lblHits->SetCaption("searching");
        Grep1->Execute();
    }
    void GrepFinished(fw::TObject*) {
        lblHits->SetCaption(std::to_string(Grep1->Results()->Count()) + " hits");
        if (List1->Items()->Count() > 1) List1->SetInt(1, 1);
    }
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmLists, fw::TForm>("TfrmLists")
        .Field("List1", &TfrmLists::List1)
        .Field("Grep1", &TfrmLists::Grep1)
        .Field("lblHits", &TfrmLists::lblHits)
        .Method("FormCreate", &TfrmLists::FormCreate)
        .Method("SearchClick", &TfrmLists::SearchClick)
        .Method("GrepFinished", &TfrmLists::GrepFinished);
    fw::Application->Initialize();
    TfrmLists* frmLists = nullptr;
    fw::Application->CreateForm(frmLists);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
