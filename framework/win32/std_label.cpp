// TLabel: painting, automatic size and the accelerator.
#include "framework/win32/std_label.h"

#include "framework/core/rtti.h"
#include "framework/win32/caption_check.h"
#include "framework/win32/graphics.h"
#include "framework/win32/keyboard.h"

namespace fw {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ |= csOpaque | csReplicatable;
    SetParentColor(true);
    SetBounds(0, 0, 65, 17);
    TGraphicControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (layout_ == value) return;
    layout_ = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    TGraphicControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value) return;
    if (value)
        controlStyle_ &= ~csOpaque;
    else
        controlStyle_ |= csOpaque;
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (focusControl_ == value) return;
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = value;
    if (focusControl_) FreeNotification(focusControl_);
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (showAccelChar_ == value) return;
    showAccelChar_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

unsigned TCustomLabel::TextFlags() const {
    unsigned flags = DT_EXPANDTABS;
    if (wordWrap_) flags |= DT_WORDBREAK;
    if (!showAccelChar_) flags |= DT_NOPREFIX;
    if (alignment_ == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (alignment_ == TAlignment::taCenter) flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::AdjustBounds() {
    if (InState(csLoading) || !AutoSize() || !Parent()) return;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    std::string text = Caption();
    if (text.empty()) text = " ";
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, TextFlags() | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int left = Left();
    const int width = wordWrap_ ? Width() : static_cast<int>(r.right);
    if (!wordWrap_ && alignment_ == TAlignment::taRightJustify) left += Width() - width;
    if (!wordWrap_ && alignment_ == TAlignment::taCenter) left += (Width() - width) / 2;
    if (left != Left() || width != Width() || r.bottom != Height()) SetBounds(left, Top(), width, r.bottom);
}

bool TCustomLabel::MeasureCaption(int& needed, int& room) {
    const std::string caption = Caption();
    if (AutoSize() || wordWrap_ || caption.empty()) return false;
    needed = CaptionTextWidth(Font()->Handle(), caption, TextFlags());
    room = Width();
    return true;
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    std::string text = Caption();
    if (text.empty()) return;
    // Drawn straight into the DC: select the font the size was measured with.
    HDC dc = canvas->Handle();
    HGDIOBJ oldFont = SelectObject(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    const unsigned flags = TextFlags();
    if (layout_ != TTextLayout::tlTop) {
        RECT calc = r;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &calc, flags | DT_CALCRECT);
        const int h = calc.bottom - calc.top;
        r.top = layout_ == TTextLayout::tlBottom ? r.bottom - h : r.top + (r.bottom - r.top - h) / 2;
    }
    if (!Enabled()) {
        // Disabled: an embossed caption.
        OffsetRect(&r, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc, oldFont);
}

void TCustomLabel::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CM_DIALOGCHAR:
            if (focusControl_ && Enabled() && showAccelChar_ && IsAccel(static_cast<unsigned>(message.WParam), Caption()) &&
                focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                message.Result = 1;
                return;
            }
            TGraphicControl::Dispatch(message);
            break;
        case CM_TEXTCHANGED:
        case CM_FONTCHANGED:
            TGraphicControl::Dispatch(message);
            AdjustBounds();
            Invalidate();
            break;
        default: TGraphicControl::Dispatch(message); break;
    }
}

void RegisterLabelClasses() {
    RegisterStdTypes();
    RegisterEnum<TTextLayout>({"tlTop", "tlCenter", "tlBottom"}, "TTextLayout");
    Class<TCustomLabel, TGraphicControl>("TCustomLabel")
        .Prop("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Prop("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout)
        .Prop("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap)
        .Prop("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
        .Prop("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
        .Prop("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar);
    Class<TLabel, TCustomLabel>("TLabel");
}

}  // namespace fw
