#include "app/win32/formMapiMail.h"

#include <commdlg.h>

#include "app/mail_names.h"
#include "app/win32/email.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/graphics.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_richedit.h"

namespace app {

void TfrmMapiMail::FormCreate(fw::TObject*) {
    try {
        available_ = true;
        if (Email1->Logon() != 0) ShowError("MAPI Logon failed.");
    } catch (const EMapiUnavailable& e) {
        available_ = false;
        ShowError(e.Message());
    }
}

void TfrmMapiMail::FormShow(fw::TObject*) { ClearForm(); }

// Each dialog holds a mail session: closing it frees it, and the session ends with it.
void TfrmMapiMail::FormClose(fw::TObject*, fw::TCloseAction& Action) { Action = fw::TCloseAction::caFree; }

void TfrmMapiMail::FormDestroy(fw::TObject*) {
    if (!available_) return;
    if (Email1->Logoff() != 0) ShowError("MAPI Logoff failed.");
}

void TfrmMapiMail::ShowError(const std::string& text) {
    fw::MessageDlg(text, fw::mtError, fw::TMsgDlgButtons{fw::mbOK}, 0);
    fw::Screen->SetCursor(fw::crDefault);
}

void TfrmMapiMail::ClearForm() {
    txtRecipient->SetText("");
    txtCC->SetText("");
    txtSubject->SetText("");
    MessageText->Clear();
    lvAttachments->Items()->Clear();
    lvAttachments->SetVisible(false);
    pnlVSplit->SetVisible(false);
    DrawFrame(txtCC, false);
    DrawFrame(txtSubject, false);
    if (txtRecipient->CanFocus()) txtRecipient->SetFocus();
    DrawFrame(txtRecipient, true);
}

// A one-pixel frame just outside the header edit, on the header's paint box.
void TfrmMapiMail::DrawFrame(fw::TEdit* edit, bool focused) {
    fw::TCanvas* canvas = pbxInfo->Canvas();
    canvas->Brush()->SetColor(focused ? fw::clGrayText : fw::clWindow);
    canvas->FrameRect(fw::TRect(edit->Left() - 1, edit->Top() - 1, edit->Left() + edit->Width() + 1,
                                edit->Top() + edit->Height() + 1));
}

void TfrmMapiMail::HeaderEnter(fw::TObject* Sender) {
    if (auto* edit = dynamic_cast<fw::TEdit*>(Sender)) DrawFrame(edit, true);
}

void TfrmMapiMail::HeaderExit(fw::TObject* Sender) {
    if (auto* edit = dynamic_cast<fw::TEdit*>(Sender)) DrawFrame(edit, false);
}

void TfrmMapiMail::AttachFile(const std::string& path) {
    lvAttachments->SetVisible(true);
    pnlVSplit->SetVisible(true);
    fw::TListItem* item = lvAttachments->Items()->Add();
    item->SetCaption(fw::ExtractFileName(path));
    item->SubItems()->Add(path);
    SHFILEINFOA info{};
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SHELLICONSIZE) && info.hIcon) {
        fw::TIcon icon;
        icon.SetHandle(info.hIcon);
        item->SetImageIndex(imlAttachments->AddIcon(&icon));
    }
    btnDeleteAttach->SetEnabled(true);
}

void TfrmMapiMail::btnSendClick(fw::TObject*) {
    if (txtRecipient->Text().empty() && txtCC->Text().empty()) {
        ShowError("There must be at least one name in the To or CC box.");
        return;
    }
    Email1->Recipient = SplitNames(txtRecipient->Text());
    Email1->CC = SplitNames(txtCC->Text());
    Email1->SetLongText(MessageText->Text());
    Email1->Subject = txtSubject->Text().substr(0, 255);
    Email1->Attachment.clear();
    fw::TListItems* items = lvAttachments->Items();
    for (int i = 0; i < items->Count(); ++i) Email1->Attachment.push_back(items->Item(i)->SubItems()->Strings(0));
    if (Email1->SendMail() != 0) {
        ShowError("MAPI Sendmail failed.");
        return;
    }
    Close();
}

void TfrmMapiMail::BtnAttachClick(fw::TObject*) {
    if (OpenDialog1->Execute()) AttachFile(OpenDialog1->FileName());
}

void TfrmMapiMail::btnDeleteAttachClick(fw::TObject*) {
    fw::TListItems* items = lvAttachments->Items();
    for (int i = items->Count() - 1; i >= 0; --i)
        if (items->Item(i)->Selected()) items->Delete(i);
    const bool any = items->Count() > 0;
    btnDeleteAttach->SetEnabled(any && lvAttachments->SelCount() > 0);
    lvAttachments->SetVisible(any);
    pnlVSplit->SetVisible(any);
}

void TfrmMapiMail::lvAttachmentsClick(fw::TObject*) {
    btnDeleteAttach->SetEnabled(lvAttachments->SelCount() > 0);
}

void TfrmMapiMail::lvAttachmentsExit(fw::TObject*) { btnDeleteAttach->SetEnabled(false); }

void TfrmMapiMail::btnAddressClick(fw::TObject*) {
    Email1->Recipient = SplitNames(txtRecipient->Text());
    Email1->CC = SplitNames(txtCC->Text());
    Email1->Address();
    txtRecipient->SetText(JoinNames(Email1->Recipient));
    txtCC->SetText(JoinNames(Email1->CC));
}

void TfrmMapiMail::btnCheckNamesClick(fw::TObject*) {
    for (fw::TEdit* edit : {txtRecipient, txtCC}) {
        if (edit->Text().empty()) continue;
        std::vector<std::string> names = SplitNames(edit->Text());
        for (size_t i = 0; i < names.size();) {
            std::string resolved;
            Email1->ResolveName(names[i], resolved);
            if (resolved.empty()) {
                names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
            } else {
                names[i] = resolved;
                ++i;
            }
        }
        edit->SetText(JoinNames(names));
    }
}

void TfrmMapiMail::chkAcknowledgeClick(fw::TObject*) { Email1->Acknowledge = chkAcknowledge->Checked(); }

// ---- the message text's pop-up menu ---------------------------------------------------------------

void TfrmMapiMail::pmTextPopup(fw::TObject*) {
    const bool selected = MessageText->SelLength() > 0;
    pmiCut->SetEnabled(selected);
    pmiCopy->SetEnabled(selected);
    pmiPaste->SetEnabled(IsClipboardFormatAvailable(CF_TEXT) != 0);
    pmiFont->SetEnabled(selected);
}

void TfrmMapiMail::pmiCutClick(fw::TObject*) { MessageText->CutToClipboard(); }

void TfrmMapiMail::pmiCopyClick(fw::TObject*) { MessageText->CopyToClipboard(); }

void TfrmMapiMail::pmiPasteClick(fw::TObject*) { MessageText->PasteFromClipboard(); }

// The system's font dialog, started from the selection's font; its choice goes to the selection.
void TfrmMapiMail::pmiFontClick(fw::TObject*) {
    fw::TTextAttributes* attributes = MessageText->SelAttributes();
    LOGFONTA font{};
    font.lfHeight = -attributes->Height();
    const std::string name = attributes->Name();
    lstrcpynA(font.lfFaceName, name.c_str(), LF_FACESIZE);
    const fw::TFontStyles style = attributes->Style();
    font.lfWeight = style.Contains(fw::TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = style.Contains(fw::TFontStyle::fsItalic);
    font.lfUnderline = style.Contains(fw::TFontStyle::fsUnderline);
    font.lfStrikeOut = style.Contains(fw::TFontStyle::fsStrikeOut);
    CHOOSEFONTA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = Handle();
    choose.lpLogFont = &font;
    choose.rgbColors = static_cast<COLORREF>(fw::ColorToRGB(attributes->Color()));
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&choose)) return;
    attributes->SetColor(static_cast<fw::TColor>(choose.rgbColors));
    attributes->SetName(font.lfFaceName);
    attributes->SetHeight(font.lfHeight < 0 ? -font.lfHeight : font.lfHeight);
    const int pitch = font.lfPitchAndFamily & 3;
    attributes->SetPitch(pitch == FIXED_PITCH      ? fw::TFontPitch::fpFixed
                         : pitch == VARIABLE_PITCH ? fw::TFontPitch::fpVariable
                                                   : fw::TFontPitch::fpDefault);
    fw::TFontStyles chosen;
    if (font.lfWeight >= FW_BOLD) chosen.Include(fw::TFontStyle::fsBold);
    if (font.lfItalic) chosen.Include(fw::TFontStyle::fsItalic);
    if (font.lfUnderline) chosen.Include(fw::TFontStyle::fsUnderline);
    if (font.lfStrikeOut) chosen.Include(fw::TFontStyle::fsStrikeOut);
    attributes->SetStyle(chosen);
}

// ---- the bar above the attachments ----------------------------------------------------------------

void TfrmMapiMail::pnlVSplitMouseDown(fw::TObject*, fw::TMouseButton Button, fw::TShiftState, int, int Y) {
    if (Button == fw::TMouseButton::mbLeft) splitStartY_ = Y;
}

void TfrmMapiMail::pnlVSplitMouseMove(fw::TObject*, fw::TShiftState Shift, int, int Y) {
    if (!Shift.Contains(fw::ssLeft)) return;
    const int height = lvAttachments->Height() - (Y - splitStartY_);
    if (height > 20 && height < ClientHeight() - 120) lvAttachments->SetHeight(height);
}

// ---- the maximised size ---------------------------------------------------------------------------

void TfrmMapiMail::Dispatch(fw::TMessage& message) {
    fw::TForm::Dispatch(message);
    if (message.Msg != WM_GETMINMAXINFO) return;
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    if (!taskbar) {
        info->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return;
    }
    RECT work{}, bar{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(taskbar, &bar);
    info->ptMaxSize = {work.right - work.left + 1, work.bottom - work.top + GetSystemMetrics(SM_CYCAPTION) + 1};
    info->ptMaxPosition = {0, 0};
    // A taskbar at the top or at the left starts at (-2, -2): the window goes just beside it.
    if (bar.left == -2 && bar.top == -2) {
        if (bar.right - bar.left > bar.bottom - bar.top)
            info->ptMaxPosition.y = bar.bottom;
        else
            info->ptMaxPosition.x = bar.right;
    }
}

void RegisterMapiMailClass() {
    using F = TfrmMapiMail;
    fw::Class<F, fw::TForm>("TfrmMapiMail")
        .Field("pbxInfo", &F::pbxInfo)
        .Field("txtRecipient", &F::txtRecipient)
        .Field("txtCC", &F::txtCC)
        .Field("txtSubject", &F::txtSubject)
        .Field("MessageText", &F::MessageText)
        .Field("lvAttachments", &F::lvAttachments)
        .Field("imlAttachments", &F::imlAttachments)
        .Field("pnlVSplit", &F::pnlVSplit)
        .Field("btnDeleteAttach", &F::btnDeleteAttach)
        .Field("chkAcknowledge", &F::chkAcknowledge)
        .Field("pmiCut", &F::pmiCut)
        .Field("pmiCopy", &F::pmiCopy)
        .Field("pmiPaste", &F::pmiPaste)
        .Field("pmiFont", &F::pmiFont)
        .Field("OpenDialog1", &F::OpenDialog1)
        .Field("Email1", &F::Email1)
        .Method("FormCreate", &F::FormCreate)
        .Method("FormShow", &F::FormShow)
        .Method("FormClose", &F::FormClose)
        .Method("FormDestroy", &F::FormDestroy)
        .Method("HeaderEnter", &F::HeaderEnter)
        .Method("HeaderExit", &F::HeaderExit)
        .Method("btnSendClick", &F::btnSendClick)
        .Method("BtnAttachClick", &F::BtnAttachClick)
        .Method("btnDeleteAttachClick", &F::btnDeleteAttachClick)
        .Method("btnCheckNamesClick", &F::btnCheckNamesClick)
        .Method("btnAddressClick", &F::btnAddressClick)
        .Method("chkAcknowledgeClick", &F::chkAcknowledgeClick)
        .Method("lvAttachmentsClick", &F::lvAttachmentsClick)
        .Method("lvAttachmentsExit", &F::lvAttachmentsExit)
        .Method("pmTextPopup", &F::pmTextPopup)
        .Method("pmiCutClick", &F::pmiCutClick)
        .Method("pmiCopyClick", &F::pmiCopyClick)
        .Method("pmiPasteClick", &F::pmiPasteClick)
        .Method("pmiFontClick", &F::pmiFontClick)
        .Method("pnlVSplitMouseDown", &F::pnlVSplitMouseDown)
        .Method("pnlVSplitMouseMove", &F::pnlVSplitMouseMove);
}

}  // namespace app
