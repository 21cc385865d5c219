// TfrmMapiMail: a small mail editor with the open archive attached, sending through TEmail. A new one
// for each "Mail archive", with its own mail session; closing it frees it, which ends the session.
#pragma once

#include <string>

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TCheckBox;
class TEdit;
class TImageList;
class TListView;
class TMenuItem;
class TOpenDialog;
class TPaintBox;
class TPanel;
class TRichEdit;
}  // namespace fw

namespace app {

class TEmail;

class TfrmMapiMail : public fw::TForm {
public:
    using TForm::TForm;

    fw::TPaintBox* pbxInfo = nullptr;
    fw::TEdit* txtRecipient = nullptr;
    fw::TEdit* txtCC = nullptr;
    fw::TEdit* txtSubject = nullptr;
    fw::TRichEdit* MessageText = nullptr;
    fw::TListView* lvAttachments = nullptr;
    fw::TImageList* imlAttachments = nullptr;
    fw::TPanel* pnlVSplit = nullptr;
    fw::TButton* btnDeleteAttach = nullptr;
    fw::TCheckBox* chkAcknowledge = nullptr;
    fw::TMenuItem* pmiCut = nullptr;
    fw::TMenuItem* pmiCopy = nullptr;
    fw::TMenuItem* pmiPaste = nullptr;
    fw::TMenuItem* pmiFont = nullptr;
    fw::TOpenDialog* OpenDialog1 = nullptr;
    TEmail* Email1 = nullptr;

    void FormCreate(fw::TObject* Sender);
    void FormShow(fw::TObject* Sender);
    void FormClose(fw::TObject* Sender, fw::TCloseAction& Action);
    void FormDestroy(fw::TObject* Sender);
    void HeaderEnter(fw::TObject* Sender);
    void HeaderExit(fw::TObject* Sender);
    void btnSendClick(fw::TObject* Sender);
    void BtnAttachClick(fw::TObject* Sender);
    void btnDeleteAttachClick(fw::TObject* Sender);
    void btnCheckNamesClick(fw::TObject* Sender);
    void btnAddressClick(fw::TObject* Sender);
    void chkAcknowledgeClick(fw::TObject* Sender);
    void lvAttachmentsClick(fw::TObject* Sender);
    void lvAttachmentsExit(fw::TObject* Sender);
    void pmTextPopup(fw::TObject* Sender);
    void pmiCutClick(fw::TObject* Sender);
    void pmiCopyClick(fw::TObject* Sender);
    void pmiPasteClick(fw::TObject* Sender);
    void pmiFontClick(fw::TObject* Sender);
    void pnlVSplitMouseDown(fw::TObject* Sender, fw::TMouseButton Button, fw::TShiftState Shift, int X, int Y);
    void pnlVSplitMouseMove(fw::TObject* Sender, fw::TShiftState Shift, int X, int Y);

    // False when the system has no mail service: the dialog is then of no use.
    bool MailAvailable() const { return available_; }
    void AttachFile(const std::string& path);
    void ClearForm();

protected:
    // WM_GETMINMAXINFO: maximised, the dialog fills the work area beside the taskbar.
    void Dispatch(fw::TMessage& message) override;

private:
    void ShowError(const std::string& text);
    void DrawFrame(fw::TEdit* edit, bool focused);
    bool available_ = false;
    int splitStartY_ = 0;
};

void RegisterMapiMailClass();

}  // namespace app
