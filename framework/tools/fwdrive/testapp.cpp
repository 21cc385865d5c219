// fwdrive_testapp: a small program built on the framework, driven by the automation tests. Its
// controls are thin test classes over system windows (an edit, a memo, a list box, a list view, a
// push button) and windowless buttons, so the endpoint is exercised on windowed and windowless
// controls alike.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/messages.h"
#include "framework/win32/screen.h"
#include "framework/win32/winapi.h"

namespace {

using fw::TComponent;
using fw::TObject;

// A window of a system class, made by the framework.
template <const char* SystemClass, DWORD ExtraStyle>
class TSystemControl : public fw::TWinControl {
public:
    explicit TSystemControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

protected:
    void CreateParams(fw::TCreateParams& params) override {
        TWinControl::CreateParams(params);
        CreateSubClass(params, SystemClass);
        params.Style |= ExtraStyle;
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
};

constexpr char kEdit[] = "EDIT";
constexpr char kListBox[] = "LISTBOX";
constexpr char kButton[] = "BUTTON";
constexpr char kListView[] = "SysListView32";

class TTestEdit : public TSystemControl<kEdit, ES_AUTOHSCROLL> {
public:
    using TSystemControl::TSystemControl;
};
class TTestMemo : public TSystemControl<kEdit, ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL> {
public:
    using TSystemControl::TSystemControl;
    void Add(const std::string& line) {
        std::string text = GetText();
        SetText(text.empty() ? line : text + "\r\n" + line);
    }
};
class TTestListBox : public TSystemControl<kListBox, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL> {
public:
    using TSystemControl::TSystemControl;
};
class TTestListView : public TSystemControl<kListView, LVS_REPORT | LVS_SHAREIMAGELISTS> {
public:
    using TSystemControl::TSystemControl;
};

// A push button: the parent's WM_COMMAND comes back as CN_COMMAND and clicks it.
class TTestButton : public TSystemControl<kButton, BS_PUSHBUTTON> {
public:
    using TSystemControl::TSystemControl;

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == fw::CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
            Click();
            return;
        }
        TSystemControl::Dispatch(message);
    }
};

// A windowless button.
class TTestSpeedButton : public fw::TGraphicControl {
public:
    explicit TTestSpeedButton(TComponent* owner) : TGraphicControl(owner) {}
};

class TAutoDialog : public fw::TForm {
public:
    using TForm::TForm;
    TTestEdit* edtAnswer = nullptr;
    TTestButton* btnOk = nullptr;
    TTestSpeedButton* btnCancel = nullptr;

    void btnOkClick(TObject*) { SetModalResult(fw::mrOk); }
    void btnCancelClick(TObject*) { SetModalResult(fw::mrCancel); }
};

class TAutoMainForm : public fw::TForm {
public:
    using TForm::TForm;
    TTestEdit* edtName = nullptr;
    TTestMemo* memLog = nullptr;
    TTestListBox* lstItems = nullptr;
    TTestListView* lvFiles = nullptr;
    TTestSpeedButton* btnGo = nullptr;
    TTestSpeedButton* btnAsk = nullptr;
    TTestSpeedButton* btnMsg = nullptr;
    TTestSpeedButton* btnQueued = nullptr;
    TTestSpeedButton* btnClose = nullptr;

    void FormCreate(TObject*) {
        for (const char* item : {"alpha", "beta", "gamma"})
            SendMessageA(lstItems->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        HWND lv = lvFiles->Handle();
        const char* columns[] = {"Name", "Size"};
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNA c{};
            c.mask = LVCF_TEXT | LVCF_WIDTH;
            c.cx = 80;
            c.pszText = const_cast<char*>(columns[i]);
            SendMessageA(lv, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&c));
        }
        const char* rows[][2] = {{"readme.txt", "120"}, {"data\\a b.bin", "4096"}};
        for (int r = 0; r < 2; ++r) {
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = r;
            item.pszText = const_cast<char*>(rows[r][0]);
            SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            item.iSubItem = 1;
            item.pszText = const_cast<char*>(rows[r][1]);
            SendMessageA(lv, LVM_SETITEMTEXTA, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
        }
        memLog->Add("ready");
    }

    void btnGoClick(TObject*) {
        btnGo->SetTag(btnGo->Tag() + 1);
        memLog->Add("clicked " + std::to_string(btnGo->Tag()));
    }

    void btnAskClick(TObject*) {
        auto* dialog = fw::CreateForm<TAutoDialog>(this);
        int result = dialog->ShowModal();
        edtName->SetText(std::string(result == fw::mrOk ? "ok " : "cancel ") + dialog->edtAnswer->GetText());
        dialog->Release();
    }

    // A real message box, answered through the system dialog.
    void btnMsgClick(TObject*) {
        int answer = fw::Application->MessageBox("Go on?", "Question", MB_YESNO | MB_ICONQUESTION);
        memLog->Add("answer " + std::to_string(answer));
    }

    // The same message box; the script queues its answer, so it is never shown.
    void btnQueuedClick(TObject*) {
        int answer = fw::Application->MessageBox("Queued?", "Question", MB_YESNO);
        memLog->Add("queued answer " + std::to_string(answer));
    }

    // Closing the main form ends the program while the click is still being reported.
    void btnCloseClick(TObject*) { Close(); }

    void MarkInvoked(TObject*) { SetTag(7); }
};

void RegisterTestClasses() {
    fw::Class<TTestEdit, fw::TWinControl>("TTestEdit");
    fw::Class<TTestMemo, fw::TWinControl>("TTestMemo");
    fw::Class<TTestListBox, fw::TWinControl>("TTestListBox");
    fw::Class<TTestListView, fw::TWinControl>("TTestListView");
    fw::Class<TTestButton, fw::TWinControl>("TTestButton");
    fw::Class<TTestSpeedButton, fw::TGraphicControl>("TTestSpeedButton");
    fw::Class<TAutoDialog, fw::TForm>("TAutoDialog")
        .Field("edtAnswer", &TAutoDialog::edtAnswer)
        .Field("btnOk", &TAutoDialog::btnOk)
        .Field("btnCancel", &TAutoDialog::btnCancel)
        .Method("btnOkClick", &TAutoDialog::btnOkClick)
        .Method("btnCancelClick", &TAutoDialog::btnCancelClick);
    fw::Class<TAutoMainForm, fw::TForm>("TAutoMainForm")
        .Field("edtName", &TAutoMainForm::edtName)
        .Field("memLog", &TAutoMainForm::memLog)
        .Field("lstItems", &TAutoMainForm::lstItems)
        .Field("lvFiles", &TAutoMainForm::lvFiles)
        .Field("btnGo", &TAutoMainForm::btnGo)
        .Field("btnAsk", &TAutoMainForm::btnAsk)
        .Field("btnMsg", &TAutoMainForm::btnMsg)
        .Field("btnQueued", &TAutoMainForm::btnQueued)
        .Field("btnClose", &TAutoMainForm::btnClose)
        .Method("FormCreate", &TAutoMainForm::FormCreate)
        .Method("btnGoClick", &TAutoMainForm::btnGoClick)
        .Method("btnAskClick", &TAutoMainForm::btnAskClick)
        .Method("btnMsgClick", &TAutoMainForm::btnMsgClick)
        .Method("btnQueuedClick", &TAutoMainForm::btnQueuedClick)
        .Method("btnCloseClick", &TAutoMainForm::btnCloseClick)
        .Method("MarkInvoked", &TAutoMainForm::MarkInvoked);
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterTestClasses();
    fw::Application->Initialize();
    TAutoMainForm* frmMain = nullptr;
    fw::Application->CreateForm(frmMain);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
