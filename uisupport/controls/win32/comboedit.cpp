// The system bitmaps (the combo box arrow) are declared only on request.
#define OEMRESOURCE
#include "uisupport/controls/win32/comboedit.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/core/rtti.h"
#include "framework/win32/clipboard.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/messages.h"
#include "uisupport/controls/comboedittext.h"

namespace uis {

namespace {

constexpr int kHolderWidth = 21;
constexpr int kHolderHeight = 17;

// The windowed holder of the button: a plain child window the button paints in.
class TButtonHolder : public fw::TWinControl {
public:
    explicit TButtonHolder(fw::TComponent* owner) : fw::TWinControl(owner) {
        SetControlStyle(ControlStyle() | fw::csAcceptsControls);
    }
};

}  // namespace

TEditButton::TEditButton(fw::TComponent* owner) : TKyvSpeedButton(owner) {
    SetControlStyle(ControlStyle() | fw::csReplicatable);
    SetParentShowHint(true);
}

void TEditButton::Paint() {
    TKyvSpeedButton::Paint();
    if (State() == TKyvButtonState::bsDown) return;
    // A line at the left edge sets the button off from the text.
    fw::TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(fw::clBtnFace);
    canvas->MoveTo(0, 0);
    canvas->LineTo(0, Height());
    canvas->Pen()->SetColor(fw::clBtnHighlight);
    canvas->MoveTo(1, 0);
    canvas->LineTo(1, Height());
}

void TEditButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    // The edit takes the focus before its button acts, as a click into its text would give it.
    if (button == fw::mbLeft) {
        auto* edit = dynamic_cast<TCustomComboEdit*>(Owner());
        if (edit && edit->TabStop() && edit->CanFocus() && !edit->Focused()) edit->SetFocus();
    }
    TKyvSpeedButton::MouseDown(button, shift, x, y);
}

TCustomComboEdit::TCustomComboEdit(fw::TComponent* owner)
    : fw::TCustomEdit(owner), clickKey_(fw::ShortCut(VK_DOWN, {fw::ssAlt})) {
    SetControlStyle(ControlStyle() | fw::csCaptureMouse);
    SetHeight(21);
    holder_ = fw::Make<TButtonHolder>(this);
    holder_->SetBounds(0, 0, kHolderWidth, kHolderHeight);
    holder_->SetVisible(true);
    holder_->SetParent(this);
    button_ = fw::Make<TEditButton>(this);
    button_->SetBounds(0, 0, kHolderWidth, kHolderHeight);
    button_->SetParent(holder_);
    button_->OnClick.Bind(this, [](void* self, fw::TObject*) { static_cast<TCustomComboEdit*>(self)->ButtonClick(); });
}

TCustomComboEdit::~TCustomComboEdit() = default;

void TCustomComboEdit::CreateParams(fw::TCreateParams& params) {
    fw::TCustomEdit::CreateParams(params);
    // Multi-line for the formatting rectangle; the button's holder is clipped out of the text.
    params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    params.Style &= ~static_cast<DWORD>(ES_WANTRETURN);
}

void TCustomComboEdit::CreateWnd() {
    fw::TCustomEdit::CreateWnd();
    UpdateHolder();
    UpdateEditRect();
}

void TCustomComboEdit::UpdateEditRect() {
    if (!HandleAllocated()) return;
    const int right = ClientWidth() - (holder_->Visible() ? holder_->Width() : 0) - 2;
    SetEditRect(fw::Rect(0, 0, std::max(0, right), ClientHeight() + 1));
}

void TCustomComboEdit::UpdateHolder() {
    const int width = holder_->Width();
    if (BorderStyle() == fw::TBorderStyle::bsSingle && Ctl3D())
        holder_->SetBounds(Width() - width - 4, 0, width, std::max(0, Height() - 4));
    else if (BorderStyle() == fw::TBorderStyle::bsSingle)
        holder_->SetBounds(Width() - width - 2, 2, width, std::max(0, Height() - 4));
    else
        holder_->SetBounds(Width() - width, 0, width, Height());
    button_->SetBounds(0, 0, width, holder_->Height());
}

int TCustomComboEdit::ButtonWidth() const { return holder_->Width(); }

void TCustomComboEdit::SetButtonWidth(int value) {
    if (value == ButtonWidth()) return;
    holder_->SetVisible(value > 1);
    if (ControlState() & fw::csCreating) {
        holder_->SetWidth(value);
        button_->SetWidth(value);
    } else {
        // The button never takes the whole edit: the text keeps a place to show.
        if (value >= ClientWidth()) return;
        holder_->SetWidth(value);
        button_->SetWidth(value);
        if (HandleAllocated()) RecreateWnd();
    }
    UpdateHolder();
    UpdateEditRect();
    RebuildGlyph();
}

void TCustomComboEdit::SetDirectInput(bool value) {
    directInput_ = value;
    UpdateLock();
}

void TCustomComboEdit::SetReadOnly(bool value) {
    readOnly_ = value;
    UpdateLock();
}

void TCustomComboEdit::UpdateLock() { fw::TCustomEdit::SetReadOnly(readOnly_ || !directInput_); }

void TCustomComboEdit::SetGlyphKind(TGlyphKind value) {
    if (value == glyphKind_) return;
    glyphKind_ = value;
    if (value == TGlyphKind::gkCustom && (ComponentState() & fw::csLoading)) button_->SetGlyph(nullptr);
    RebuildGlyph();
    if (value == TGlyphKind::gkDefault && Glyph() && !Glyph()->Empty()) {
        const int width = Glyph()->Width() / std::max(1, NumGlyphs()) + 6;
        if (width > ButtonWidth()) SetButtonWidth(width);
    } else if (value == TGlyphKind::gkDropDown) {
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
    }
}

void TCustomComboEdit::RebuildGlyph() {
    switch (glyphKind_) {
        case TGlyphKind::gkCustom: return;
        case TGlyphKind::gkDefault:
            button_->SetGlyph(DefaultBitmap());
            button_->SetNumGlyphs(DefaultNumGlyphs());
            return;
        case TGlyphKind::gkDropDown:
            ownGlyph_ = std::make_unique<fw::TBitmap>();
            ownGlyph_->SetHandle(LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_COMBO)));
            break;
        case TGlyphKind::gkEllipsis: {
            // One bit a pixel, rows in whole words: set bits are white, the three 2 x 2 dots clear.
            const TEllipsisGeometry g = EllipsisGeometry(ButtonWidth());
            const int stride = (g.width + 15) / 16 * 2;
            std::vector<uint8_t> bits(static_cast<size_t>(stride * g.height), 0xFF);
            for (int i = 0; i < 3; ++i)
                for (int x = g.start + i * (2 + g.gap); x < g.start + i * (2 + g.gap) + 2 && x < g.width; ++x)
                    for (int y = 1; y < 3; ++y) bits[static_cast<size_t>(y * stride + x / 8)] &= ~(0x80 >> (x % 8));
            ownGlyph_ = std::make_unique<fw::TBitmap>();
            ownGlyph_->SetHandle(CreateBitmap(g.width, g.height, 1, 1, bits.data()));
            break;
        }
    }
    button_->SetGlyph(ownGlyph_.get());
    button_->SetNumGlyphs(1);
}

bool TCustomComboEdit::IsButtonWidthStored() const {
    int implied = kHolderWidth;
    if (glyphKind_ == TGlyphKind::gkDropDown)
        implied = GetSystemMetrics(SM_CXVSCROLL);
    else if (glyphKind_ == TGlyphKind::gkDefault && Glyph() && !Glyph()->Empty())
        implied = std::max(Glyph()->Width() / std::max(1, NumGlyphs()) + 6, kHolderWidth);
    return ButtonWidth() != implied;
}

void TCustomComboEdit::SetGlyph(fw::TBitmap* value) {
    glyphKind_ = TGlyphKind::gkCustom;
    button_->SetGlyph(value);
}

void TCustomComboEdit::SetNumGlyphs(int value) {
    if (glyphKind_ == TGlyphKind::gkCustom) button_->SetNumGlyphs(value);
}

int TCustomComboEdit::TextHeight() {
    HDC dc = GetDC(nullptr);
    TEXTMETRICA metrics{};
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsA(dc, &metrics);
    const int systemHeight = metrics.tmHeight;
    SelectObject(dc, Font()->Handle());
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return std::min(systemHeight, static_cast<int>(metrics.tmHeight));
}

int TCustomComboEdit::MinHeight() { return TextHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1; }

void TCustomComboEdit::SetBounds(int left, int top, int width, int height) {
    if (!(ComponentState() & fw::csLoading)) height = std::max(height, MinHeight());
    fw::TCustomEdit::SetBounds(left, top, width, height);
}

void TCustomComboEdit::CreateTextCaret() {
    // As high as a line, and as wide as a bold stroke.
    const int width = Font()->Style().Contains(fw::TFontStyle::fsBold) ? 2 : 1;
    CreateCaret(Handle(), nullptr, width, TextHeight());
    ShowCaret(Handle());
}

void TCustomComboEdit::ButtonClick() {
    if (readOnly_) return;
    DoButtonClick();
}

void TCustomComboEdit::KeyDown(uint16_t& key, fw::TShiftState shift) {
    fw::TCustomEdit::KeyDown(key, shift);
    if (key && clickKey_ && fw::ShortCut(key, shift) == clickKey_ && ButtonWidth() > 0) {
        ButtonClick();
        key = 0;
        return;
    }
    if (key == VK_RETURN || key == VK_ESCAPE) {
        // The form's default and cancel buttons answer these, as for any one-line edit.
        if (fw::TWinControl* form = fw::GetParentForm(this)) form->Perform(fw::CM_DIALOGKEY, key, 0);
    }
}

void TCustomComboEdit::KeyPress(char& key) {
    fw::TCustomEdit::KeyPress(key);
    // Enter would break the line of the multi-line window underneath; it is consumed without a beep.
    if (key == '\r' || key == '\n' || key == 27) key = 0;
}

void TCustomComboEdit::DoEnter() {
    fw::TCustomEdit::DoEnter();
    // The base leaves multi-line windows alone: entered by the keyboard or by code, the name is
    // selected whole when it may be typed over.
    if (AutoSelect() && directInput_ && GetKeyState(VK_LBUTTON) >= 0 && HandleAllocated()) SelectAll();
}

void TCustomComboEdit::PasteFirstLine() {
    if (!fw::Clipboard().HasFormat(CF_TEXT)) return;
    SetSelText(FirstLineOf(fw::Clipboard().AsText()));
}

void TCustomComboEdit::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case WM_PASTE:
            if (!(readOnly_ || !directInput_)) PasteFirstLine();
            break;
        case WM_CUT:
            if (!(readOnly_ || !directInput_)) fw::TCustomEdit::Dispatch(message);
            break;
        case WM_SIZE:
        case WM_SETFONT:
            // The edit resets its formatting rectangle to the whole client area on both.
            fw::TCustomEdit::Dispatch(message);
            UpdateHolder();
            UpdateEditRect();
            break;
        case WM_SETFOCUS:
            fw::TCustomEdit::Dispatch(message);
            if (HandleAllocated()) CreateTextCaret();
            break;
        case fw::CM_ENABLEDCHANGED:
            fw::TCustomEdit::Dispatch(message);
            button_->SetEnabled(Enabled());
            break;
        default: fw::TCustomEdit::Dispatch(message); break;
    }
}

void RegisterComboEditClasses() {
    fw::RegisterEditClasses();
    fw::RegisterEnum<TGlyphKind>({"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"}, "TGlyphKind");
    fw::Class<TCustomComboEdit, fw::TCustomEdit>("TCustomComboEdit")
        .Prop("ButtonWidth", &TCustomComboEdit::ButtonWidth, &TCustomComboEdit::SetButtonWidth)
        .Stored(&TCustomComboEdit::IsButtonWidthStored)
        .Prop("Glyph", &TCustomComboEdit::Glyph, &TCustomComboEdit::SetGlyph)
        .Stored(&TCustomComboEdit::IsGlyphStored)
        .Prop("ClickKey", &TCustomComboEdit::ClickKey, &TCustomComboEdit::SetClickKey)
        .Prop("DirectInput", &TCustomComboEdit::DirectInput, &TCustomComboEdit::SetDirectInput)
        .Prop("ReadOnly", &TCustomComboEdit::ReadOnly, &TCustomComboEdit::SetReadOnly)
        .Prop("GlyphKind", &TCustomComboEdit::GlyphKind, &TCustomComboEdit::SetGlyphKind)
        .Prop("NumGlyphs", &TCustomComboEdit::NumGlyphs, &TCustomComboEdit::SetNumGlyphs)
        .Prop("ButtonHint", &TCustomComboEdit::ButtonHint, &TCustomComboEdit::SetButtonHint);
}

}  // namespace uis
