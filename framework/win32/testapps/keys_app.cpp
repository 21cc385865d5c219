// keys_app: the program the keyboard, menu, hint and dialog scripts drive. Its form holds the
// controls of the keyboard chain (a label with a focus control, edits in tab order, a custom control
// that wants characters, an edit that forwards Enter to the form, a group box with an accelerator),
// a main menu with shortcuts, a popup menu, an action with its menu item and button, windowless
// buttons that open each dialog, two memos (one wants tabs) and the lists that search by typed
// letters. Results go to labels the scripts read back.
//
//   keys_app.exe <folder>     the folder the open dialog and the folder browser start in
#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/controlcanvas.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_label.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_memo.h"
#include "framework/win32/std_treeview.h"

namespace {

using fw::TComponent;
using fw::TObject;

// A custom control that types characters into its caption: it answers WM_GETDLGCODE with
// DLGC_WANTCHARS, so printable keys are never shortcuts while it has the focus.
class TCharsControl : public fw::TCustomControl {
public:
    explicit TCharsControl(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        SetColor(fw::clWindow);
    }

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == WM_GETDLGCODE) {
            message.Result = DLGC_WANTCHARS | DLGC_WANTARROWS;
            return;
        }
        if (message.Msg == WM_LBUTTONDOWN) SetFocus();
        TCustomControl::Dispatch(message);
    }
    void KeyPress(char& key) override {
        TCustomControl::KeyPress(key);
        if (static_cast<unsigned char>(key) >= ' ') {
            TextBuffer() += key;
            SetWindowTextA(Handle(), TextBuffer().c_str());
            Invalidate();
        }
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(fw::clWindow);
        Canvas()->FillRect(ClientRect());
        Canvas()->TextOut(2, 2, Caption());
        RECT r{0, 0, ClientWidth(), ClientHeight()};
        DrawEdge(Canvas()->Handle(), &r, EDGE_SUNKEN, BF_RECT);
    }
};

// A spin-like edit: it keeps Enter from the dialog keys and forwards it to its form itself.
class TForwardingEdit : public fw::TEdit {
public:
    using TEdit::TEdit;

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == WM_GETDLGCODE) {
            TEdit::Dispatch(message);
            message.Result |= DLGC_WANTALLKEYS;
            return;
        }
        TEdit::Dispatch(message);
    }
    void KeyDown(uint16_t& key, fw::TShiftState shift) override {
        TEdit::KeyDown(key, shift);
        if (key == VK_RETURN) {
            if (fw::TWinControl* form = fw::GetParentForm(this)) form->Perform(fw::CM_DIALOGKEY, VK_RETURN, 0);
            key = 0;
        }
    }
    void KeyPress(char& key) override {
        if (key == '\r') key = 0;  // no beep
        TEdit::KeyPress(key);
    }
};

// A windowed group box: its caption's accelerator focuses its first control.
class TTestGroupBox : public fw::TCustomControl {
public:
    explicit TTestGroupBox(TComponent* owner) : TCustomControl(owner) { controlStyle_ |= fw::csAcceptsControls; }

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == fw::CM_DIALOGCHAR && fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) &&
            CanFocus()) {
            fw::SelectNext(this, nullptr, true);
            message.Result = 1;
            return;
        }
        TCustomControl::Dispatch(message);
    }
    void Paint() override {
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
        RECT r{0, 7, ClientWidth(), ClientHeight()};
        DrawEdge(Canvas()->Handle(), &r, EDGE_ETCHED, BF_RECT);
        RECT t{8, 0, ClientWidth() - 8, 16};
        const std::string text = Caption();
        FillRect(Canvas()->Handle(), &t, GetSysColorBrush(COLOR_BTNFACE));
        DrawTextA(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &t, DT_LEFT);
    }
};

// A windowless push button.
class TDropButton : public fw::TGraphicControl {
public:
    explicit TDropButton(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override {
        RECT r{0, 0, Width(), Height()};
        DrawFrameControl(Canvas()->Handle(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
        const std::string text = Caption();
        SetBkMode(Canvas()->Handle(), TRANSPARENT);
        DrawTextA(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

std::string g_folder;

class TfrmKeys : public fw::TForm {
public:
    using TForm::TForm;
    fw::TMainMenu* MainMenu1 = nullptr;
    fw::TMenuItem* mnuFile = nullptr;
    fw::TMenuItem* mnuOpen = nullptr;
    fw::TMenuItem* mnuAdd = nullptr;
    fw::TMenuItem* mnuN1 = nullptr;
    fw::TMenuItem* mnuExit = nullptr;
    fw::TMenuItem* mnuEdit = nullptr;
    fw::TMenuItem* mnuDelete = nullptr;
    fw::TPopupMenu* PopupMenu1 = nullptr;
    fw::TMenuItem* mnuPopCopy = nullptr;
    fw::TMenuItem* mnuPopPaste = nullptr;
    fw::TActionList* ActionList1 = nullptr;
    fw::TAction* actDelete = nullptr;
    fw::TLabel* lblName = nullptr;
    fw::TEdit* edtName = nullptr;
    fw::TEdit* edtPath = nullptr;
    TCharsControl* chars = nullptr;
    TForwardingEdit* edtSpin = nullptr;
    TTestGroupBox* grpOptions = nullptr;
    fw::TEdit* edtInGroup = nullptr;
    fw::TCheckBox* chkAllowDelete = nullptr;
    fw::TButton* btnDelete = nullptr;
    fw::TButton* btnOk = nullptr;
    fw::TButton* btnCancel = nullptr;
    TDropButton* btnDrop = nullptr;
    TDropButton* btnAsk = nullptr;
    TDropButton* btnInput = nullptr;
    TDropButton* btnOpen = nullptr;
    TDropButton* btnFolder = nullptr;
    fw::TMemo* memLog = nullptr;
    fw::TMemo* memTabs = nullptr;
    fw::TListBox* lstNames = nullptr;
    fw::TListView* lvwFiles = nullptr;
    fw::TTreeView* tvwFolders = nullptr;
    fw::TLabel* lblFocus = nullptr;
    fw::TLabel* lblLast = nullptr;
    fw::TLabel* lblStatus = nullptr;

    void FormCreate(TObject*) {
        fw::Application->OnHint = fw::TNotifyEvent(this, &TfrmKeys::AppHint);
        fw::Application->SetHintPause(300);
        fw::Application->SetHintHidePause(20000);
    }
    void Last(const std::string& text) { lblLast->SetCaption(text); }

    void AppHint(TObject*) { lblStatus->SetCaption(fw::Application->Hint()); }
    void ControlEnter(TObject* sender) { lblFocus->SetCaption(static_cast<TComponent*>(sender)->Name()); }
    void mnuOpenClick(TObject*) { Last("open"); }
    void mnuAddClick(TObject*) { Last("add"); }
    void PopupItemClick(TObject* sender) { Last("popup " + static_cast<TComponent*>(sender)->Name()); }
    void actDeleteExecute(TObject*) { Last("delete"); }
    void actDeleteUpdate(TObject*) { actDelete->SetEnabled(chkAllowDelete->Checked()); }
    void chkAllowDeleteClick(TObject*) { Last(chkAllowDelete->Checked() ? "allow delete on" : "allow delete off"); }
    void btnOkClick(TObject*) { Last("ok"); }
    void btnCancelClick(TObject*) { Last("cancel"); }

    void btnDropClick(TObject*) {
        // A drop-down under the windowless button.
        PopupMenu1->SetPopupComponent(btnDrop);
        const fw::TPoint at = ClientToScreen(fw::Point(btnDrop->Left(), btnDrop->Top() + btnDrop->Height()));
        PopupMenu1->Popup(at.X, at.Y);
    }
    void btnAskClick(TObject*) {
        Last("messagedlg " + std::to_string(fw::MessageDlg("Replace the existing file?", fw::mtConfirmation,
                                                           fw::TMsgDlgButtons{fw::mbYes, fw::mbNo}, 0)));
    }
    void btnInputClick(TObject*) {
        std::string value = "draft";
        const bool ok = fw::InputQuery("New folder", "Folder name:", value);
        Last(ok ? "input " + value : "input cancelled");
    }
    void btnOpenClick(TObject*) {
        auto* dialog = fw::Make<fw::TOpenDialog>(this);
        dialog->SetTitle("Open archives");
        dialog->SetFilter("Form texts|*.form|All files|*.*");
        dialog->SetInitialDir(g_folder);
        dialog->SetOptions(fw::TOpenOptions{fw::TOpenOption::ofAllowMultiSelect, fw::TOpenOption::ofFileMustExist,
                                            fw::TOpenOption::ofHideReadOnly});
        if (dialog->Execute()) {
            std::vector<std::string> names;
            for (int i = 0; i < dialog->Files()->Count(); ++i)
                names.push_back(fw::ExtractFileName(dialog->Files()->Get(i)));
            std::sort(names.begin(), names.end());
            std::string text = "open";
            for (const std::string& name : names) text += " " + name;
            Last(text);
        } else {
            Last("open cancelled");
        }
        dialog->Free();
    }
    void btnFolderClick(TObject*) {
        fw::TBrowseFolderParams params;
        params.Title = "Extract to";
        params.InitialDir = g_folder;
        bool selChanged = false;
        std::string folder;
        // The caller's callback answers the browser: OK once the initial folder is selected.
        const bool ok = fw::BrowseForFolder(params, folder, [&](HWND window, UINT message, LPARAM param) {
            if (message == BFFM_SELCHANGED && param && !selChanged) {
                selChanged = true;
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            }
            return 0;
        });
        Last(ok ? "folder " + fw::ExtractFileName(fw::ExcludeTrailingBackslash(folder)) +
                      (selChanged ? " selchanged" : "")
                : "folder cancelled");
    }

    // The menu bar changed at run time: a recent file inserted, the separator removed.
    void ChangeMenu(TObject*) {
        auto* recent = fw::Make<fw::TMenuItem>(this);
        recent->SetName("mnuRecent");
        recent->SetCaption("&1 backup.zip");
        mnuFile->Insert(mnuN1->MenuIndex(), recent);
        mnuFile->Remove(mnuN1);
        mnuN1->Free();
        ReadMenu(this);
    }
    // The File and Edit menus as the menu bar shows them (GetMenuStringA), disabled entries marked.
    void ReadMenu(TObject*) {
        HMENU bar = GetMenu(Handle());
        std::string text;
        for (int top = 0; top < GetMenuItemCount(bar); ++top) {
            char caption[128] = {};
            GetMenuStringA(bar, static_cast<UINT>(top), caption, sizeof caption, MF_BYPOSITION);
            text += std::string(top ? " | " : "") + caption + ":";
            HMENU drop = GetSubMenu(bar, top);
            for (int i = 0; i < GetMenuItemCount(drop); ++i) {
                char item[128] = {};
                GetMenuStringA(drop, static_cast<UINT>(i), item, sizeof item, MF_BYPOSITION);
                std::string entry = item;
                std::replace(entry.begin(), entry.end(), '\t', ' ');
                if (GetMenuState(drop, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) entry += " (grayed)";
                text += " [" + entry + "]";
            }
        }
        Last(text);
    }
    // The mouse rests on the name edit (a move posted to its window).
    void HoverName(TObject*) { PostMessageA(edtName->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6)); }
};

void RegisterAppClasses() {
    fw::Class<TCharsControl, fw::TCustomControl>("TCharsControl");
    fw::Class<TForwardingEdit, fw::TEdit>("TForwardingEdit");
    fw::Class<TTestGroupBox, fw::TCustomControl>("TTestGroupBox");
    fw::Class<TDropButton, fw::TGraphicControl>("TDropButton");
    auto&& c = fw::Class<TfrmKeys, fw::TForm>("TfrmKeys");
#define FIELD(name) c.Field(#name, &TfrmKeys::name);
    FIELD(MainMenu1) FIELD(mnuFile) FIELD(mnuOpen) FIELD(mnuAdd) FIELD(mnuN1) FIELD(mnuExit) FIELD(mnuEdit)
    FIELD(mnuDelete) FIELD(PopupMenu1) FIELD(mnuPopCopy) FIELD(mnuPopPaste) FIELD(ActionList1) FIELD(actDelete)
    FIELD(lblName) FIELD(edtName) FIELD(edtPath) FIELD(chars) FIELD(edtSpin) FIELD(grpOptions) FIELD(edtInGroup)
    FIELD(chkAllowDelete) FIELD(btnDelete) FIELD(btnOk) FIELD(btnCancel) FIELD(btnDrop) FIELD(btnAsk)
    FIELD(btnInput) FIELD(btnOpen) FIELD(btnFolder) FIELD(memLog) FIELD(memTabs) FIELD(lstNames) FIELD(lvwFiles)
    FIELD(tvwFolders) FIELD(lblFocus) FIELD(lblLast) FIELD(lblStatus)
#undef FIELD
#define METHOD(name) c.Method(#name, &TfrmKeys::name);
    METHOD(FormCreate) METHOD(ControlEnter) METHOD(mnuOpenClick) METHOD(mnuAddClick) METHOD(PopupItemClick)
    METHOD(actDeleteExecute) METHOD(actDeleteUpdate) METHOD(chkAllowDeleteClick) METHOD(btnOkClick) METHOD(btnCancelClick)
    METHOD(btnDropClick) METHOD(btnAskClick) METHOD(btnInputClick) METHOD(btnOpenClick) METHOD(btnFolderClick)
    METHOD(ChangeMenu) METHOD(ReadMenu) METHOD(HoverName)
#undef METHOD
}

// A Unix path from the harness becomes the Z: drive path Wine shows it under.
std::string HostFolder(std::string path) {
    if (!path.empty() && path[0] == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    return path;
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterAppClasses();
    if (fw::ParamCount() >= 1) g_folder = HostFolder(fw::ParamStr(1));
    fw::Application->Initialize();
    TfrmKeys* frmKeys = nullptr;
    fw::Application->CreateForm(frmKeys);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
