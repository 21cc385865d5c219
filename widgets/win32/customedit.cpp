#include "widgets/win32/customedit.h"

#include <algorithm>

#include "widgets/editscroll.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

TKVXCustomEdit::TKVXCustomEdit(TComponent* owner) : TKVXBaseEdit(owner) {}

void TKVXCustomEdit::SetPasswordChar(char value) {
    passwordChar_ = value;
    Model().SetSecret(value != 0);
}

void TKVXCustomEdit::SetAutoSize(bool value) {
    if (value == AutoSize()) return;
    TKVXBaseEdit::SetAutoSize(value);
    AdjustHeight();
}

void TKVXCustomEdit::AdjustHeight() {
    if (!AutoSize()) return;
    const int height = KVXEditAutoHeight(GetTextHeight("Qp"), WindowsBevel(), Bevel()->Extent());
    SetBounds(Left(), Top(), Width(), height);
}

void TKVXCustomEdit::Loaded() {
    TKVXBaseEdit::Loaded();
    AdjustHeight();
}

void TKVXCustomEdit::Paint() {
    TKVXBaseEdit::Paint();
    PaintText(-1);
}

void TKVXCustomEdit::Dispatch(fw::TMessage& message) {
    TKVXBaseEdit::Dispatch(message);
    if (message.Msg == fw::CM_FONTCHANGED || message.Msg == fw::CM_KVXBEVELCHANGED) AdjustHeight();
}

int TKVXCustomEdit::PrefixWidth(int32_t count) {
    count = std::clamp<int32_t>(count, 0, static_cast<int32_t>(displayText_.size()));
    return count == 0 ? 0 : MeasureCanvas()->TextWidth(displayText_.substr(0, static_cast<size_t>(count)));
}

void TKVXCustomEdit::UpdateCaret() {
    if (!Focused() || !Caret()->Shown()) return;
    const TKVXCaretScroll scroll =
        KVXScrollToCaret(CursorPos(), static_cast<int32_t>(displayText_.size()), scrollOffset_, textRect_.Left,
                         textRect_.Right, [this](int32_t n) { return PrefixWidth(n); });
    if (scroll.scrolled) {
        scrollOffset_ = scroll.offset;
        PaintText(-1);
    }
    PlaceCaret(scroll.x, textRect_.Top);
}

void TKVXCustomEdit::TextSet() {
    textLength_ = TextLength();
    SetSelLength(0);
    TextChangedAt(1);
}

void TKVXCustomEdit::TextChangedAt(int32_t pos) {
    displayText_ = passwordChar_ ? std::string(static_cast<size_t>(TextLength()), passwordChar_) : TextBuffer();
    TKVXBaseEdit::TextChangedAt(pos);
}

int32_t TKVXCustomEdit::PosFromPoint(TPoint point) {
    return KVXPosFromX(point.X, static_cast<int32_t>(displayText_.size()), scrollOffset_, textRect_.Left,
                       [this](int32_t n) { return PrefixWidth(n); });
}

void TKVXCustomEdit::PaintText(int32_t fromPos) {
    if (!HandleAllocated() || Loading() || textRect_.Right <= textRect_.Left) return;
    const bool shown = Caret()->Shown();
    if (shown) Caret()->Hide();
    try {
        DrawNow([this] {
            fw::TCanvas* canvas = PaintCanvas();
            DrawLine(canvas);
            if (canvas != Canvas()) Canvas()->CopyRect(textRect_, canvas, textRect_);
        });
    } catch (...) {
        if (shown) Caret()->Show();
        throw;
    }
    if (shown) Caret()->Show();
}

void TKVXCustomEdit::DrawLine(fw::TCanvas* canvas) {
    canvas->SetFont(Font());
    canvas->Font()->SetColor(Font()->Color());
    TRect r = textRect_;
    PaintBackgroundRect(r);
    HRGN clip = nullptr;
    if (scrollOffset_ != 0) {
        clip = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
        SelectClipRgn(canvas->Handle(), clip);
        r.Left -= scrollOffset_;
    }
    const uint16_t flags = Enabled() ? ktfEnabled : 0;
    const bool selection = SelLength() > 0 && !SelectionHidden();
    TRect high{};
    if (selection) {
        high.Left = r.Left + PrefixWidth(SelStart() - 1);
        high.Right = std::min<int>(r.Left + PrefixWidth(SelStart() + SelLength() - 1), textRect_.Right);
        high.Top = textRect_.Top;
        high.Bottom = textRect_.Top + GetTextHeight(displayText_);
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(HighlightBack());
        canvas->FillRect(high);
        canvas->FrameRect(high);
    }
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    KVXDrawCaptionText(canvas, displayText_, Font3D(), r, DT_SINGLELINE, flags, nullptr);
    if (selection) {
        canvas->Font()->SetColor(HighlightText());
        const TRect into = fw::Rect(high.Left, r.Top, high.Right, r.Bottom);
        const size_t from = std::min(static_cast<size_t>(SelStart() - 1), displayText_.size());
        const std::string selected = displayText_.substr(from, static_cast<size_t>(SelLength()));
        KVXDrawCaptionText(canvas, selected, Font3D(), into, DT_SINGLELINE, flags, nullptr);
        canvas->Font()->SetColor(Font()->Color());
    }
    if (clip) {
        SelectClipRgn(canvas->Handle(), nullptr);
        DeleteObject(clip);
    }
}

}  // namespace kvx::win32
