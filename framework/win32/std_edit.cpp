// TCustomEdit over the system EDIT class.
#include "framework/win32/std_edit.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"

namespace fw {

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    // No csSetCaption: an edit's text never follows its name.
    controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks | csFixedHeight;
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    TWinControl::SetAutoSize(true);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (borderStyle_ == TBorderStyle::bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
    if (readOnly_) params.Style |= ES_READONLY;
    if (!hideSelection_) params.Style |= ES_NOHIDESEL;
    if (charCase_ == TEditCharCase::ecUpperCase) params.Style |= ES_UPPERCASE;
    if (charCase_ == TEditCharCase::ecLowerCase) params.Style |= ES_LOWERCASE;
    if (passwordChar_) params.Style |= ES_PASSWORD;
}

void TCustomEdit::CreateWnd() {
    creating_ = true;
    try {
        TWinControl::CreateWnd();
    } catch (...) {
        creating_ = false;
        throw;
    }
    creating_ = false;
    HWND window = Handle();
    SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(window, EM_SETPASSWORDCHAR, static_cast<unsigned char>(passwordChar_), 0);
}

void TCustomEdit::DestroyWnd() {
    if (HandleAllocated()) {
        DWORD start = 0, end = 0;
        SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        savedSelStart_ = static_cast<int>(start);
        savedSelEnd_ = static_cast<int>(end);
        modified_ = SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0;
    }
    TWinControl::DestroyWnd();
}

void TCustomEdit::CreateWindowState() {
    HWND window = Handle();
    SendMessageA(window, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
    if (savedSelStart_ >= 0) {
        SendMessageA(window, EM_SETSEL, static_cast<WPARAM>(savedSelStart_), static_cast<LPARAM>(savedSelEnd_));
        savedSelStart_ = savedSelEnd_ = -1;
    }
    if (AutoSize()) AdjustHeight();
}

void TCustomEdit::SetMaxLength(int value) {
    if (value < 0) value = 0;
    maxLength_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetPasswordChar(char value) {
    if (passwordChar_ == value) return;
    const bool restyle = (passwordChar_ == 0) != (value == 0);
    passwordChar_ = value;
    if (!HandleAllocated()) return;
    if (restyle) {
        RecreateWnd();
    } else {
        SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(value), 0);
        Invalidate();
    }
}

void TCustomEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (borderStyle_ == value) return;
    borderStyle_ = value;
    if (AutoSize()) AdjustHeight();
    RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (hideSelection_ == value) return;
    hideSelection_ = value;
    RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (charCase_ == value) return;
    charCase_ = value;
    RecreateWnd();
}

void TCustomEdit::SetAutoSize(bool value) {
    TWinControl::SetAutoSize(value);
    if (value && !InState(csLoading)) AdjustHeight();
}

void TCustomEdit::AdjustHeight() {
    if (HandleAllocated() && (GetWindowLongPtrA(Handle(), GWL_STYLE) & ES_MULTILINE)) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int frame = borderStyle_ == TBorderStyle::bsSingle ? 2 * GetSystemMetrics(SM_CYEDGE) : 0;
    const int height = metrics.tmHeight + std::min<int>(metrics.tmHeight, 8) / 2 + frame;
    if (height != Height()) SetHeight(height);
}

bool TCustomEdit::Modified() const {
    auto* self = const_cast<TCustomEdit*>(this);
    if (HandleAllocated()) return SendMessageA(self->Handle(), EM_GETMODIFY, 0, 0) != 0;
    return modified_;
}

void TCustomEdit::SetModified(bool value) {
    modified_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETMODIFY, value ? TRUE : FALSE, 0);
}

int TCustomEdit::SelStart() const {
    DWORD start = 0;
    SendMessageA(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) {
    SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(value), static_cast<LPARAM>(value));
}

int TCustomEdit::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageA(const_cast<TCustomEdit*>(this)->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
    DWORD start = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SendMessageA(Handle(), EM_SETSEL, start, static_cast<LPARAM>(static_cast<int>(start) + value));
    SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

std::string TCustomEdit::SelText() const {
    const int start = SelStart();
    const int length = SelLength();
    const std::string text = GetText();
    if (start < 0 || start > static_cast<int>(text.size())) return {};
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
}

void TCustomEdit::SetSelText(const std::string& value) {
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::SelectAll() {
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TCustomEdit::SetEditRect(const TRect& rect) {
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TCustomEdit::DoEnter() {
    // A click places the caret where it lands; the keyboard and code select the whole text.
    if (autoSelect_ && GetKeyState(VK_LBUTTON) >= 0 &&
        !(GetWindowLongPtrA(Handle(), GWL_STYLE) & ES_MULTILINE))
        SelectAll();
    TWinControl::DoEnter();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

void TCustomEdit::CNCommand(TMessage& message) {
    if (HIWORD(message.WParam) == EN_CHANGE && !creating_) Change();
    message.Result = 0;
}

void TCustomEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_COMMAND: CNCommand(message); break;
        case CM_FONTCHANGED:
            TWinControl::Dispatch(message);
            if (AutoSize()) AdjustHeight();
            break;
        default: TWinControl::Dispatch(message); break;
    }
}

void RegisterEditClasses() {
    RegisterStdTypes();
    RegisterEnum<TEditCharCase>({"ecNormal", "ecUpperCase", "ecLowerCase"}, "TEditCharCase");
    Class<TCustomEdit, TWinControl>("TCustomEdit")
        .Prop("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
        .Prop("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength)
        .Prop("PasswordChar", &TCustomEdit::PasswordChar, &TCustomEdit::SetPasswordChar)
        .Prop("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Prop("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Prop("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect)
        .Prop("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
        .Prop("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
        .Prop("SelStart", &TCustomEdit::SelStart, &TCustomEdit::SetSelStart)
        .Stored(false)
        .Prop("SelLength", &TCustomEdit::SelLength, &TCustomEdit::SetSelLength)
        .Stored(false)
        .Event("OnChange", &TCustomEdit::OnChange);
    Class<TEdit, TCustomEdit>("TEdit");
}

}  // namespace fw
