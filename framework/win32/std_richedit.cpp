// TRichEdit over the system rich edit control.
#include "framework/win32/std_richedit.h"


namespace fw {

namespace {

// riched20 registers its classes when loaded; it stays for the life of the program.
void LoadRichEdit() {
    static const HMODULE module = LoadLibraryA("riched20.dll");
    if (!module) throw EOutOfResources("The rich edit control (riched20.dll) is not available");
}

}  // namespace

// The lines of the window's text: read from it and written back to it whole.
class TRichEdit::LineStrings : public TStrings {
public:
    explicit LineStrings(TRichEdit* edit) : edit_(edit) {}
    std::string Get(int index) const override {
        TStringList lines;
        Split(lines);
        return lines.Get(index);
    }
    int Count() const override {
        TStringList lines;
        Split(lines);
        return lines.Count();
    }
    void Put(int index, const std::string& s) override {
        TStringList lines;
        Split(lines);
        lines.Put(index, s);
        Join(lines);
    }
    void Insert(int index, const std::string& s) override {
        TStringList lines;
        Split(lines);
        lines.Insert(index, s);
        Join(lines);
    }
    void Delete(int index) override {
        TStringList lines;
        Split(lines);
        lines.Delete(index);
        Join(lines);
    }
    void Clear() override { edit_->SetText(""); }

private:
    void Split(TStringList& lines) const { lines.SetText(edit_->GetText()); }
    void Join(const TStringList& lines) {
        std::string text = lines.Text();
        // No line break after the last line: the window would show an empty line there.
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
        edit_->SetText(text);
    }
    TRichEdit* edit_;
};

// ---- TTextAttributes -------------------------------------------------------------------------------

CHARFORMAT2A TTextAttributes::Get() const {
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(edit_->Handle(), EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

void TTextAttributes::Set(CHARFORMAT2A& format) const {
    format.cbSize = sizeof format;
    SendMessageA(edit_->Handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

TColor TTextAttributes::Color() const {
    const CHARFORMAT2A format = Get();
    return (format.dwEffects & CFE_AUTOCOLOR) ? clWindowText : static_cast<TColor>(format.crTextColor);
}

void TTextAttributes::SetColor(TColor value) {
    CHARFORMAT2A format{};
    format.dwMask = CFM_COLOR;
    if (value == clWindowText || value == clDefault)
        format.dwEffects = CFE_AUTOCOLOR;
    else
        format.crTextColor = static_cast<COLORREF>(ColorToRGB(value));
    Set(format);
}

std::string TTextAttributes::Name() const { return Get().szFaceName; }

void TTextAttributes::SetName(const std::string& value) {
    CHARFORMAT2A format{};
    format.dwMask = CFM_FACE;
    lstrcpynA(format.szFaceName, value.c_str(), LF_FACESIZE);
    Set(format);
}

// Heights in twips (1/1440 inch) in the window; pixels at the screen's resolution here.
int TTextAttributes::Height() const { return MulDiv(Get().yHeight, ScreenLogPixels(), 1440); }

void TTextAttributes::SetHeight(int value) {
    CHARFORMAT2A format{};
    format.dwMask = CFM_SIZE;
    format.yHeight = MulDiv(std::abs(value), 1440, ScreenLogPixels());
    Set(format);
}

int TTextAttributes::Size() const { return (Get().yHeight + 10) / 20; }

void TTextAttributes::SetSize(int value) {
    CHARFORMAT2A format{};
    format.dwMask = CFM_SIZE;
    format.yHeight = value * 20;
    Set(format);
}

TFontPitch TTextAttributes::Pitch() const {
    switch (Get().bPitchAndFamily & 0x3) {
        case FIXED_PITCH: return TFontPitch::fpFixed;
        case VARIABLE_PITCH: return TFontPitch::fpVariable;
        default: return TFontPitch::fpDefault;
    }
}

void TTextAttributes::SetPitch(TFontPitch value) {
    CHARFORMAT2A format = Get();
    format.dwMask = CFM_FACE;
    format.bPitchAndFamily = static_cast<BYTE>((format.bPitchAndFamily & ~0x3) |
                                               (value == TFontPitch::fpFixed      ? FIXED_PITCH
                                                : value == TFontPitch::fpVariable ? VARIABLE_PITCH
                                                                                  : DEFAULT_PITCH));
    Set(format);
}

TFontStyles TTextAttributes::Style() const {
    const CHARFORMAT2A format = Get();
    TFontStyles style;
    if (format.dwEffects & CFE_BOLD) style.Include(TFontStyle::fsBold);
    if (format.dwEffects & CFE_ITALIC) style.Include(TFontStyle::fsItalic);
    if (format.dwEffects & CFE_UNDERLINE) style.Include(TFontStyle::fsUnderline);
    if (format.dwEffects & CFE_STRIKEOUT) style.Include(TFontStyle::fsStrikeOut);
    return style;
}

void TTextAttributes::SetStyle(TFontStyles value) {
    CHARFORMAT2A format{};
    format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    if (value.Contains(TFontStyle::fsBold)) format.dwEffects |= CFE_BOLD;
    if (value.Contains(TFontStyle::fsItalic)) format.dwEffects |= CFE_ITALIC;
    if (value.Contains(TFontStyle::fsUnderline)) format.dwEffects |= CFE_UNDERLINE;
    if (value.Contains(TFontStyle::fsStrikeOut)) format.dwEffects |= CFE_STRIKEOUT;
    Set(format);
}

void TTextAttributes::Assign(TPersistent* source) {
    if (auto* font = dynamic_cast<TFont*>(source)) {
        SetName(font->Name());
        SetHeight(font->Height());
        SetStyle(font->Style());
        SetColor(font->Color());
        SetPitch(font->Pitch());
        return;
    }
    if (auto* other = dynamic_cast<TTextAttributes*>(source)) {
        CHARFORMAT2A format = other->Get();
        format.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
        Set(format);
        return;
    }
    TPersistent::Assign(source);
}

// ---- TRichEdit -------------------------------------------------------------------------------------

TRichEdit::TRichEdit(TComponent* owner)
    : TWinControl(owner),
      lines_(std::make_unique<LineStrings>(this)),
      selAttributes_(std::make_unique<TTextAttributes>(this)) {
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(clWindow);
}

TRichEdit::~TRichEdit() = default;

void TRichEdit::CreateParams(TCreateParams& params) {
    LoadRichEdit();
    TWinControl::CreateParams(params);
    CreateSubClass(params, "RichEdit20A");
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | ES_NOHIDESEL;
    if (readOnly_) params.Style |= ES_READONLY;
    if (!wordWrap_) params.Style |= ES_AUTOHSCROLL;
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_VSCROLL;
    if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth) params.Style |= WS_HSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TRichEdit::CreateWindowState() {
    HWND window = Handle();
    // The text mode can only change while the window is empty.
    const std::string text = WindowText(window);
    SetWindowTextA(window, "");
    SendMessageA(window, EM_SETTEXTMODE, plainText_ ? TM_PLAINTEXT : TM_RICHTEXT, 0);
    SetWindowTextA(window, text.c_str());
    SendMessageA(window, EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0x7FFFFFFE);
    SendMessageA(window, EM_SETEVENTMASK, 0, ENM_CHANGE);
}

void TRichEdit::SetPlainText(bool value) {
    if (plainText_ == value) return;
    plainText_ = value;
    RecreateWnd();
}

void TRichEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, value ? TRUE : FALSE, 0);
}

void TRichEdit::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    RecreateWnd();
}

void TRichEdit::SetScrollBars(TScrollStyle value) {
    if (scrollBars_ == value) return;
    scrollBars_ = value;
    RecreateWnd();
}

void TRichEdit::SetMaxLength(int value) {
    maxLength_ = std::max(value, 0);
    if (HandleAllocated()) SendMessageA(Handle(), EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0x7FFFFFFE);
}

int TRichEdit::SelStart() {
    CHARRANGE range{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

void TRichEdit::SetSelStart(int value) {
    CHARRANGE range{value, value};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TRichEdit::SelLength() {
    CHARRANGE range{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

void TRichEdit::SetSelLength(int value) {
    CHARRANGE range{};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    range.cpMax = range.cpMin + value;
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::string TRichEdit::SelText() {
    std::string text(static_cast<size_t>(SelLength()) * 2 + 1, '\0');
    const LRESULT n = SendMessageA(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(n, 0)));
    return text;
}

void TRichEdit::SetSelText(const std::string& value) {
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(value.c_str()));
}

void TRichEdit::SelectAll() {
    CHARRANGE range{0, -1};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void TRichEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TRichEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TRichEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TRichEdit::Dispatch(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == EN_CHANGE && OnChange) OnChange(this);
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

void RegisterRichEditClasses() {
    RegisterGraphicsClasses();
    RegisterStdSupport();
    Class<TTextAttributes, TPersistent>("TTextAttributes")
        .Prop("Color", &TTextAttributes::Color, &TTextAttributes::SetColor)
        .Idents(ColorIdentTable())
        .Prop("Name", &TTextAttributes::Name, &TTextAttributes::SetName)
        .Prop("Height", &TTextAttributes::Height, &TTextAttributes::SetHeight)
        .Prop("Size", &TTextAttributes::Size, &TTextAttributes::SetSize)
        .Prop("Pitch", &TTextAttributes::Pitch, &TTextAttributes::SetPitch)
        .Prop("Style", &TTextAttributes::Style, &TTextAttributes::SetStyle)
        .Stored(false);
    Class<TRichEdit, TWinControl>("TRichEdit")
        .Prop("Lines", &TRichEdit::Lines, &TRichEdit::SetLines)
        .Prop("PlainText", &TRichEdit::PlainText, &TRichEdit::SetPlainText)
        .Prop("ReadOnly", &TRichEdit::ReadOnly, &TRichEdit::SetReadOnly)
        .Prop("WordWrap", &TRichEdit::WordWrap, &TRichEdit::SetWordWrap)
        .Prop("ScrollBars", &TRichEdit::ScrollBars, &TRichEdit::SetScrollBars)
        .Prop("MaxLength", &TRichEdit::MaxLength, &TRichEdit::SetMaxLength)
        .Event("OnChange", &TRichEdit::OnChange);
}

}  // namespace fw
