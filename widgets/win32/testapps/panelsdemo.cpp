// kvx_panelsdemo: the filled panel, the picture list boxes and the recent-files list on one form, driven
// by fwdrive. FormCreate gives the panel a gradient, the list boxes their pictures and the recent list
// its entries; AskClear clicks the list's "Clear List..." item (the question it asks is answered by the
// driver), AskDirect asks the suite's question itself and shows the answer's code.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_label.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/messagedlg.h"
#include "widgets/win32/mrulist.h"
#include "widgets/win32/panelfill.h"
#include "widgets/win32/register.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testapps/squarepictures.h"

namespace {

using namespace kvx;
using namespace kvx::win32;

class TfrmPanels : public fw::TForm {
public:
    using fw::TForm::TForm;

    fw::TMenuItem* mnuRecent = nullptr;
    TKVXPanelFill* pnlLog = nullptr;
    TKVXImageListBox* lstOrder = nullptr;
    TKVXImageListBox* lstNumbers = nullptr;
    TKVXImageListBox* lstHeights = nullptr;
    fw::TLabel* lblResult = nullptr;
    fw::TLabel* lblCount = nullptr;
    TKVXMRUList* mruRecent = nullptr;

    void FormCreate(TObject*) {
        TKVXGradient* gradient = pnlLog->FillObject()->Gradient();
        gradient->SetStyle(TKVXGradientStyle::gstVertical);
        gradient->SetColor(fw::TColor(0x804000));
        gradient->SetEndColor(fw::TColor(0xFFC080));
        gradient->SetColorCount(32);
        pnlLog->FillObject()->SetStyle(TKVXFillStyle::sfGradient);
        pnlLog->Font()->SetName("Arial");
        pnlLog->Font()->SetColor(fw::clWhite);
        pnlLog->Font()->SetSize(12);

        auto* squares = MakeSquarePictures(this, {{16, fw::clRed}, {16, fw::clBlue}, {16, fw::clLime}});
        lstOrder->SetImageList(squares);
        lstNumbers->SetImageList(squares);
        lstHeights->SetImageList(MakeSquarePictures(this, {{10, fw::clRed}, {30, fw::clBlue}, {50, fw::clLime}}));

        for (const char* entry : {"C:\\Archives\\old.zip", "C:\\Program Files\\App\\Sub\\file.txt", "D:\\new.lzh"})
            mruRecent->Add(entry);
        ShowCount();
    }

    // Clicks "Clear List..." as the menu would.
    void AskClear(TObject*) {
        for (int i = 0; i < mnuRecent->Count(); ++i)
            if (mnuRecent->Items(i)->Tag() == TKVXMRUList::kClearItemTag) {
                mnuRecent->Items(i)->Click();
                break;
            }
        ShowCount();
    }

    void AskDirect(TObject*) {
        lblResult->SetCaption(std::to_string(KVXMessageDlg("Really clear recent files list?", 3, 3, 0)));
    }

private:
    void ShowCount() { lblCount->SetCaption(std::to_string(mruRecent->Items()->Count())); }
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmPanels, fw::TForm>("TfrmPanels")
        .Field("mnuRecent", &TfrmPanels::mnuRecent)
        .Field("pnlLog", &TfrmPanels::pnlLog)
        .Field("lstOrder", &TfrmPanels::lstOrder)
        .Field("lstNumbers", &TfrmPanels::lstNumbers)
        .Field("lstHeights", &TfrmPanels::lstHeights)
        .Field("lblResult", &TfrmPanels::lblResult)
        .Field("lblCount", &TfrmPanels::lblCount)
        .Field("mruRecent", &TfrmPanels::mruRecent)
        .Method("FormCreate", &TfrmPanels::FormCreate)
        .Method("AskClear", &TfrmPanels::AskClear)
        .Method("AskDirect", &TfrmPanels::AskDirect);
    fw::Application->Initialize();
    TfrmPanels* frmPanels = nullptr;
    fw::Application->CreateForm(frmPanels);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
