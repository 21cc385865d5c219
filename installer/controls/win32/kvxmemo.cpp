#include "installer/controls/win32/kvxmemo.h"

#include <algorithm>

#include "widgets/kvxapplication.h"
#include "widgets/win32/captiondraw.h"

namespace inst::win32 {

using fw::TRect;

namespace {
constexpr char kMemoDelimiters[] = {'\n', '\r', ' ', '!', ',', '.', ';', '?'};
// Single line, tabs expanded.
constexpr uint32_t kRowFormat = DT_SINGLELINE | DT_EXPANDTABS;
}  // namespace

// ---- TKVXMarginObject ---------------------------------------------------------------------------

TKVXMarginObject::TKVXMarginObject() : fill_(std::make_unique<kvx::win32::TKVXFillObject>()) {
    fill_->OnChange = fw::TNotifyEvent(this, &TKVXMarginObject::ChildChanged);
}

TKVXMarginObject::~TKVXMarginObject() { fill_->OnChange.Reset(); }

void TKVXMarginObject::SetWidth(int value) {
    if (kvx::KVXStore(width_, value)) Change();
}

void TKVXMarginObject::SetAlignment(TKVXMarginAlignment value) {
    if (kvx::KVXStore(alignment_, value)) Change();
}

void TKVXMarginObject::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TKVXMarginObject*>(source);
    if (!other) {
        kvx::TKVXObject::Assign(source);
        return;
    }
    UpdateBatch([&] {
        fill_->Assign(other->fill_.get());
        width_ = other->width_;
        alignment_ = other->alignment_;
    });
}

// ---- TKVXMemoStrings ----------------------------------------------------------------------------

void TKVXMemoStrings::SaveToFile(const std::string& name) {
    fw::TStringList::SaveToFile(name);
    memo_->SetModified(false);
}

void TKVXMemoStrings::LoadFromFile(const std::string& name) {
    fw::TStringList::LoadFromFile(name);
    memo_->SetLines(this);
}

// ---- TKVXCustomMemo: creation -------------------------------------------------------------------

TKVXCustomMemo::TKVXCustomMemo(fw::TComponent* owner)
    : TKVXBaseEdit(owner),
      lines_(std::make_unique<TKVXMemoStrings>(this)),
      horizSettings_(std::make_unique<TKVXScrollBarObject>()),
      vertSettings_(std::make_unique<TKVXScrollBarObject>()),
      margin_(std::make_unique<TKVXMarginObject>()),
      lineStyle_(std::make_unique<fw::TPen>()) {
    const fw::TNotifyEvent changed(this, &TKVXCustomMemo::SettingsChanged);
    horizSettings_->OnChange = changed;
    vertSettings_->OnChange = changed;
    margin_->OnChange = changed;
    lineStyle_->OnChange = changed;
    for (int c = 0; c < 256; ++c) Model().SetDelimiter(static_cast<char>(c), false);
    for (char c : kMemoDelimiters) Model().SetDelimiter(c, true);
}

TKVXCustomMemo::~TKVXCustomMemo() {
    destroying_ = true;
    margin_->OnChange.Reset();
    horizSettings_->OnChange.Reset();
    vertSettings_->OnChange.Reset();
    lineStyle_->OnChange.Reset();
}

void TKVXCustomMemo::Loaded() {
    TKVXBaseEdit::Loaded();
    measured_ = false;
    // Settings read after ScrollBars created the bars (those stored without a change notification
    // among them) reach the bars now.
    if (vBar_) vertSettings_->ApplyTo(vBar_);
    if (hBar_) horizSettings_->ApplyTo(hBar_);
}

void TKVXCustomMemo::SettingsChanged(fw::TObject* sender) {
    if (destroying_) return;
    if (sender == vertSettings_.get() && vBar_) vertSettings_->ApplyTo(vBar_);
    if (sender == horizSettings_.get() && hBar_) horizSettings_->ApplyTo(hBar_);
    Invalidate();
}

// ---- metrics ------------------------------------------------------------------------------------

void TKVXCustomMemo::MeasureCharacters() {
    fw::TCanvas* canvas = MeasureCanvas();
    HDC dc = canvas->Handle();
    const int extra = SetTextCharacterExtra(dc, Font3D()->Tracing());
    widths_.fill(0);
    for (int c = 32; c < 256; ++c) widths_[c] = canvas->TextWidth(std::string(1, static_cast<char>(c)));
    SetTextCharacterExtra(dc, extra);
    measured_ = true;
}

int TKVXCustomMemo::RowHeight() {
    return TKVXBaseEdit::GetTextHeight("Qp") + (lined_ ? lineStyle_->Width() : 0);
}

MemoMetrics TKVXCustomMemo::Metrics() {
    if (!measured_) MeasureCharacters();
    MemoMetrics m;
    m.widths = widths_;
    m.textWidth = textRect_.Width();
    m.wrap = wordWrap_ || alignment_ != TMemoAlignment::taLeftJustify;
    return m;
}

void TKVXCustomMemo::Layout() {
    scroller_.metrics = Metrics();
    scroller_.textHeight = textRect_.Height();
    scroller_.rowHeight = RowHeight();
}

void TKVXCustomMemo::Recount() {
    Layout();
    const MemoRowCount count = MemoCountRows(TextBuffer(), scroller_.metrics, horzMax_);
    SetHorzMax(count.horzMax);
    SetRowCount(count.rows);
}

// ---- internal setters ---------------------------------------------------------------------------

void TKVXCustomMemo::SetRowCount(int value) {
    if (value != rowCount_) {
        rowCount_ = value;
        if (OnRowCountChanged) OnRowCountChanged(this);
    }
    if (vBar_) vBar_->SetMax(rowCount_ - scroller_.RowsFitting());
    UpdateAutoBars();
}

void TKVXCustomMemo::SetTopRowBar() {
    if (vBar_) vBar_->SetPosition(scroller_.TopRow());
}

void TKVXCustomMemo::SetHorzMax(int value) {
    horzMax_ = value;
    if (hBar_) hBar_->SetMax(value);
}

void TKVXCustomMemo::SetHorzPos(int value) {
    horzPos_ = std::max(value, 0);
    if (!hBar_) return;
    // The caret may scroll a little past HorzMax (the last row, and the caret's own width, are not in
    // it): the bar's range then grows so that it shows the true offset.
    if (horzPos_ > hBar_->Max()) hBar_->SetMax(horzPos_);
    hBar_->SetPosition(horzPos_);
}

void TKVXCustomMemo::SetCurrentRow(int value) {
    if (!kvx::KVXStore(currentRow_, value)) return;
    if (OnCurrentRowChanged) OnCurrentRowChanged(this);
}

// ---- properties ---------------------------------------------------------------------------------

fw::TStrings* TKVXCustomMemo::Lines() {
    lines_->SetText(TextBuffer());
    return lines_.get();
}

void TKVXCustomMemo::SetLines(fw::TStrings* value) {
    scroller_.Reset();
    SetSelLength(0);
    SetCursorPos(1);
    horzMax_ = 0;
    SetHorzPos(0);
    SetText(value->Text());
    Recount();
}

void TKVXCustomMemo::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    WrappingChanged();
}

void TKVXCustomMemo::SetAlignment(TMemoAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    WrappingChanged();
}

void TKVXCustomMemo::WrappingChanged() {
    horzPos_ = 0;
    horzMax_ = 0;
    if (hBar_) hBar_->SetEnabled(HorizontalScrolling());
    Recount();
    PaintText(-1);
    UpdateCaret();
}

void TKVXCustomMemo::SetLined(bool value) {
    if (value == lined_) return;
    lined_ = value;
    Invalidate();
}

void TKVXCustomMemo::SetLineStyle(fw::TPen* value) {
    lineStyle_->Assign(value);
    PaintText(-1);
}

void TKVXCustomMemo::SetHorizScrollBar(TKVXScrollBarObject* value) {
    horizSettings_->Assign(value);
    if (hBar_) horizSettings_->ApplyTo(hBar_);
}

void TKVXCustomMemo::SetVertScrollBar(TKVXScrollBarObject* value) {
    vertSettings_->Assign(value);
    if (vBar_) vertSettings_->ApplyTo(vBar_);
}

// ---- scroll bars --------------------------------------------------------------------------------

void TKVXCustomMemo::CreateBar(bool vertical) {
    TKVXScrollBar*& bar = vertical ? vBar_ : hBar_;
    if (bar) return;
    bar = fw::Make<TKVXScrollBar>(this);
    bar->SetParent(this);
    bar->SetCanFocusBar(false);
    if (vertical) {
        bar->SetKind(TKVXScrollBarKind::skVertical);
        bar->SetBounds(bar->Left(), bar->Top(), 16, bar->Height());
    }
    bar->SetThumbMode(TKVXThumbMode::tmAuto);
    bar->SetMin(0);
    bar->SetMax(0);
    bar->OnScroll = vertical ? TScrollEvent(this, &TKVXCustomMemo::VerticalScroll)
                             : TScrollEvent(this, &TKVXCustomMemo::HorizontalScroll);
    if (!vertical && !HorizontalScrolling()) {
        bar->SetEnabled(false);
        if (scrollBars_ == TKVXMemoScrollBars::skAuto) bar->SetVisible(false);
    }
    (vertical ? vertSettings_ : horizSettings_)->ApplyTo(bar);
}

void TKVXCustomMemo::FreeBar(bool vertical) {
    TKVXScrollBar*& bar = vertical ? vBar_ : hBar_;
    if (!bar) return;
    TKVXScrollBar* old = bar;
    bar = nullptr;
    old->Free();
}

void TKVXCustomMemo::SetScrollBars(TKVXMemoScrollBars value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    using K = TKVXMemoScrollBars;
    CreateBar(false);
    CreateBar(true);
    if (value == K::skVertical || value == K::skNone) FreeBar(false);
    if (value == K::skHorizontal || value == K::skNone) FreeBar(true);
    if (value != K::skAuto) {
        if (hBar_) hBar_->SetVisible(true);
        if (vBar_) vBar_->SetVisible(true);
    }
    UpdateAutoBars();
    if (destroying_) return;
    Realign();
    Invalidate();
}

void TKVXCustomMemo::UpdateAutoBars() {
    if (scrollBars_ != TKVXMemoScrollBars::skAuto || destroying_) return;
    bool changed = false;
    if (vBar_) {
        // Rows in all: the row breaks, plus the last row unless the text ends with its line break.
        const std::string& text = TextBuffer();
        const bool endsWithBreak = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        const int rows = rowCount_ + (text.empty() || endsWithBreak ? 0 : 1);
        const bool show = rows > scroller_.RowsFitting();
        if (vBar_->Visible() != show) {
            vBar_->SetVisible(show);
            changed = true;
        }
    }
    if (hBar_ && hBar_->Visible() != HorizontalScrolling()) {
        hBar_->SetVisible(HorizontalScrolling());
        changed = true;
    }
    if (!changed) return;
    Realign();
    Invalidate();
}

void TKVXCustomMemo::AlignControls(fw::TControl* control, TRect& rect) {
    const int bw = Bevel()->Extent();
    const int w = ClientWidth(), h = ClientHeight();
    const bool hShown = hBar_ && hBar_->Visible();
    const bool vShown = vBar_ && vBar_->Visible();
    if (vBar_)
        vBar_->SetBounds(w - vBar_->Width() - bw, bw, vBar_->Width(), h - 2 * bw - (hShown ? hBar_->Height() : 0));
    if (hBar_)
        hBar_->SetBounds(bw, h - hBar_->Height() - bw, w - 2 * bw - (vShown ? vBar_->Width() : 0), hBar_->Height());
}

void TKVXCustomMemo::VerticalScroll(fw::TObject*, TScrollCode code, int& position) {
    Layout();
    scroller_.VerticalBar(TextBuffer(), code, position);
    PaintText(-1);
    scrollingByBar_ = true;
    UpdateCaret();
    scrollingByBar_ = false;
}

void TKVXCustomMemo::HorizontalScroll(fw::TObject* sender, TScrollCode code, int& position) {
    auto* bar = static_cast<TKVXScrollBar*>(sender);
    if (!HorizontalScrolling() || bar->Position() == horzPos_) return;
    if (static_cast<int>(code) <= static_cast<int>(TScrollCode::scPosition)) horzPos_ = bar->Position();
    PaintText(-1);
    scrollingByBar_ = true;
    UpdateCaret();
    scrollingByBar_ = false;
}

// ---- the edit base's slots ----------------------------------------------------------------------

void TKVXCustomMemo::AdjustTextRect() {
    if (vBar_ && vBar_->Visible()) textRect_.Right = std::min(textRect_.Right, vBar_->Left());
    if (hBar_ && hBar_->Visible()) textRect_.Bottom = std::min(textRect_.Bottom, hBar_->Top());
}

void TKVXCustomMemo::AfterPaintBackground() {
    const int w = margin_->Width();
    if (margin_->Alignment() == TKVXMarginAlignment::maRight) {
        marginRect_ = fw::Rect(textRect_.Right - w + 2, textRect_.Top - 2, textRect_.Right + 2, textRect_.Bottom + 2);
        textRect_.Right -= w;
    } else {
        marginRect_ = fw::Rect(textRect_.Left - 2, textRect_.Top - 2, textRect_.Left + w - 2, textRect_.Bottom + 2);
        textRect_.Left += w;
    }
    horzMax_ = 0;
    Recount();
}

void TKVXCustomMemo::TextSet() { TextChangedAt(1); }

void TKVXCustomMemo::TextChangedAt(int32_t pos) {
    scroller_.TextChanged(TextBuffer());
    // Counted over the whole text after every change: adding up the breaks of each insertion and
    // deletion drifts once an edit joins or splits rows elsewhere.
    Recount();
    TKVXBaseEdit::TextChangedAt(pos);
    BringCursorIntoView();
}

void TKVXCustomMemo::CursorPosChanged() {
    BringCursorIntoView();
    TKVXBaseEdit::CursorPosChanged();
}

void TKVXCustomMemo::BringCursorIntoView() {
    if (!HandleAllocated() || textRect_.Right <= textRect_.Left) return;
    Layout();
    const int top = scroller_.TopPos();
    scroller_.BringIntoView(TextBuffer(), CursorPos());
    if (scroller_.TopPos() != top) PaintText(-1);
}

void TKVXCustomMemo::UpdateCaret() {
    if (textRect_.Right == 0 || !Focused()) return;
    Layout();
    Caret()->Show();
    const std::string& text = TextBuffer();
    const MemoView& view = scroller_.View();
    const int cursor = CursorPos();
    const int r = std::max(scroller_.CursorRow(cursor), 0);
    if (scroller_.TopPos() <= cursor && cursor < view.At(view.rowsInView - 1)) SetCurrentRow(r + scroller_.TopRow());
    const int start = view.At(r);
    const std::string row = MemoRowText(text, start, view.At(r + 1));
    int rowWidth = 0;
    for (char c : row) rowWidth += widths_[static_cast<unsigned char>(c)];
    const int x0 = MemoRowLeft(alignment_, textRect_.Left, textRect_.Right, rowWidth);
    const int before = MemoTextWidth(text, start, cursor - start, scroller_.metrics);
    if (HorizontalScrolling()) {
        int v = x0 + before - horzPos_;
        if (v > textRect_.Right - 2) {
            if (scrollingByBar_) {
                Caret()->Hide();
                return;
            }
            v -= textRect_.Width();
            SetHorzPos(horzPos_ + v);
            PaintText(-1);
        }
        if (v < textRect_.Left && horzPos_ != 0) {
            if (scrollingByBar_) {
                Caret()->Hide();
                return;
            }
            SetHorzPos(std::max(horzPos_ - std::abs(v) - textRect_.Left, 0));
            PaintText(-1);
        }
    }
    if (scrollingByBar_) Caret()->Show();
    PlaceCaret(x0 + before - horzPos_, scroller_.rowHeight * r + textRect_.Top);
}

int32_t TKVXCustomMemo::PosFromPoint(fw::TPoint point) {
    Layout();
    const std::string& text = TextBuffer();
    const int rowHeight = std::max(scroller_.rowHeight, 1);
    if (point.Y > textRect_.Top && point.Y < textRect_.Bottom - 3) {
        const MemoView& view = scroller_.View();
        const int pos = MemoHitRow(text, view, (point.Y - textRect_.Top) / rowHeight, point.X, horzPos_, alignment_,
                                   textRect_.Left, textRect_.Right, scroller_.metrics);
        if (pos == view.At(view.rowsInView - 1) && pos < static_cast<int>(text.size())) {
            scroller_.ScrollDown(text, 1);
            PaintText(-1);
        }
        return pos;
    }
    if (point.Y <= textRect_.Top) {
        scroller_.ScrollUp(text, 1);
        PaintText(-1);
        UpdateCaret();
        return scroller_.TopPos();
    }
    scroller_.ScrollDown(text, 1);
    PaintText(-1);
    UpdateCaret();
    const MemoView& view = scroller_.View();
    return std::min(view.At(view.rowsInView - 1) + 1, static_cast<int>(text.size()) + 1);
}

// ---- painting -----------------------------------------------------------------------------------

void TKVXCustomMemo::Paint() {
    TKVXBaseEdit::Paint();
    if (Loading()) return;
    if (lined_) {
        fw::TCanvas* canvas = PaintCanvas();
        PaintRuledLines(canvas);
        if (canvas != Canvas()) Canvas()->CopyRect(textRect_, canvas, textRect_);
    }
    PaintText(-1);
}

void TKVXCustomMemo::PaintRuledLines(fw::TCanvas* canvas) {
    const int rowHeight = RowHeight();
    if (rowHeight <= 0) return;
    canvas->SetPen(lineStyle_.get());
    const int half = lineStyle_->Width() / 2;
    for (int y = textRect_.Top + rowHeight; y < textRect_.Bottom; y += half + rowHeight) {
        y -= half;
        // Across the text rectangle (the rule's "1 to text width - 1" taken from the text's left edge,
        // so that a left margin does not push the rules short of the right edge).
        canvas->MoveTo(textRect_.Left + 1, y - 1);
        canvas->LineTo(textRect_.Right - 1, y - 1);
    }
}

void TKVXCustomMemo::PaintMargin(fw::TCanvas* canvas) {
    if (margin_->Width() == 0) return;
    kvx::win32::TKVXFillObject* fill = margin_->FillObject();
    if (fill->Style() != kvx::TKVXFillStyle::sfNone)
        fill->FillCanvas(canvas, marginRect_, Color());
    else
        FillBackgroundRect(marginRect_);
    const int x = margin_->Alignment() == TKVXMarginAlignment::maRight ? marginRect_.Left : marginRect_.Right - 1;
    const int white = margin_->Alignment() == TKVXMarginAlignment::maRight ? x + 1 : x - 1;
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(fw::clWhite);
    canvas->MoveTo(white, marginRect_.Top);
    canvas->LineTo(white, marginRect_.Bottom);
    canvas->Pen()->SetColor(static_cast<fw::TColor>(0x808080));
    canvas->MoveTo(x, marginRect_.Top);
    canvas->LineTo(x, marginRect_.Bottom);
}

void TKVXCustomMemo::PaintBands(fw::TCanvas* canvas, int from) {
    if (!lined_) {
        if (from < textRect_.Bottom) PaintBackgroundRect(fw::Rect(textRect_.Left, from, textRect_.Right, textRect_.Bottom));
        return;
    }
    const int rowHeight = RowHeight();
    if (rowHeight <= 0) return;
    for (int y = from; y + rowHeight <= textRect_.Bottom; y += rowHeight)
        PaintBackgroundRect(fw::Rect(textRect_.Left, y, textRect_.Right, y + rowHeight - lineStyle_->Width()));
}

void TKVXCustomMemo::PaintText(int32_t) {
    if (!HandleAllocated() || Loading() || textRect_.Right <= textRect_.Left || textRect_.Bottom <= textRect_.Top)
        return;
    Layout();
    const bool shown = Caret()->Shown();
    if (shown) Caret()->Hide();
    DrawNow([this] {
        PaintMargin(Canvas());
        fw::TCanvas* canvas = PaintCanvas();
        canvas->SetFont(Font());
        PaintRows(canvas);
        if (canvas != Canvas()) Canvas()->CopyRect(textRect_, canvas, textRect_);
    });
    if (shown && Focused()) Caret()->Show();
    SetTopRowBar();
    UpdateAutoBars();
}

void TKVXCustomMemo::PaintRows(fw::TCanvas* canvas) {
    const std::string& text = TextBuffer();
    scroller_.Render(text);
    if (text.empty()) {
        PaintBands(canvas, textRect_.Top);
        return;
    }
    HRGN clip = nullptr;
    int left = textRect_.Left;
    if (horzPos_ != 0) {
        clip = CreateRectRgn(textRect_.Left, textRect_.Top, textRect_.Right, textRect_.Bottom);
        SelectClipRgn(canvas->Handle(), clip);
        left -= horzPos_;
    }
    const MemoView& view = scroller_.View();
    const int n = static_cast<int>(text.size());
    int y = textRect_.Top;
    for (int i = 0; i + 1 < view.rowsInView && view.rowStarts[i] <= n; ++i) {
        PaintRow(canvas, i, y, left);
        y += scroller_.rowHeight;
    }
    if (view.reachedEnd) PaintBands(canvas, y);
    if (clip) {
        SelectClipRgn(canvas->Handle(), nullptr);
        DeleteObject(clip);
    }
}

void TKVXCustomMemo::PaintRow(fw::TCanvas* canvas, int index, int y, int left) {
    const std::string& text = TextBuffer();
    const MemoView& view = scroller_.View();
    const MemoMetrics& m = scroller_.metrics;
    const int start = view.At(index), next = view.At(index + 1);
    const std::string row = MemoRowText(text, start, next);
    const int rowWidth = MemoTextWidth(row, 1, static_cast<int>(row.size()), m);
    const int x0 = alignment_ == TMemoAlignment::taLeftJustify
                       ? left
                       : MemoRowLeft(alignment_, textRect_.Left, textRect_.Right, rowWidth);
    const int bottom = std::min(y + scroller_.rowHeight - (lined_ ? lineStyle_->Width() : 0), textRect_.Bottom);
    PaintBackgroundRect(fw::Rect(left, y, textRect_.Right, bottom));

    const int selStart = SelStart(), selEnd = SelStart() + SelLength();
    const bool selected = SelLength() != 0 && !SelectionHidden() && selStart < next && selEnd > start;
    TRect high{};
    std::string selectedText;
    if (selected) {
        const int from = std::max(selStart, start), to = std::min(selEnd, next);
        high = fw::Rect(x0 + MemoTextWidth(text, start, from - start, m), y,
                        std::min(x0 + MemoTextWidth(text, start, to - start, m), textRect_.Right), bottom);
        if (row.empty()) high.Right = x0 + 3;
        selectedText = MemoRowText(text, from, to);
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(HighlightBack());
        canvas->FillRect(high);
    }
    const uint16_t flags = Enabled() ? kvx::ktfEnabled : 0;
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    canvas->Font()->SetColor(Font()->Color());
    kvx::win32::KVXDrawCaptionText(canvas, row, Font3D(), fw::Rect(x0, y - 1, textRect_.Right, bottom), kRowFormat,
                                   flags, nullptr);
    if (selected && !selectedText.empty()) {
        canvas->Font()->SetColor(HighlightText());
        kvx::win32::KVXDrawCaptionText(canvas, selectedText, Font3D(), fw::Rect(high.Left, y - 1, high.Right, bottom),
                                       kRowFormat, flags, nullptr);
        canvas->Font()->SetColor(Font()->Color());
    }
    if (OnMarginRowPaint)
        OnMarginRowPaint(this, canvas, fw::Rect(marginRect_.Left + 2, y - 1, marginRect_.Right - 1, bottom), start,
                         static_cast<int>(row.size()));
}

// ---- keys and messages --------------------------------------------------------------------------

void TKVXCustomMemo::EditKeyDown(uint16_t& key, fw::TShiftState shift) {
    const std::string& text = TextBuffer();
    const int n = static_cast<int>(text.size());
    BringCursorIntoView();
    UpdateCaret();
    Layout();
    const int oldSel = SelLength();
    const MemoView& view = scroller_.View();
    const int cursor = CursorPos();
    bool rerender = false;
    switch (key) {
        case VK_BACK:
            if (SelLength() == 0) {
                if (cursor == scroller_.TopPos() && scroller_.TopPos() > 1) {
                    scroller_.ScrollUp(text, 1);
                    PaintText(-1);
                }
            } else if (SelStart() < scroller_.TopPos()) {
                const int start = SelStart(), length = SelLength();
                SetCursorPos(start);
                SetSelStart(start);
                SetSelLength(length);
            }
            break;
        case VK_RETURN:
            if (cursor == n) SetCursorPos(cursor + 1);
            // A break at the end of the view's last row: the view moves on by that one row.
            if (view.At(scroller_.RowsFitting()) == CursorPos() + 2) {
                scroller_.ScrollDown(text, 1);
                PaintText(-1);
            }
            InsertText("\r\n");
            UpdateCaret();
            key = 0;
            return;
        case VK_PRIOR:
            SetCursorPos(scroller_.PageUp(text, cursor));
            rerender = true;
            break;
        case VK_NEXT:
            SetCursorPos(scroller_.PageDown(text, cursor));
            rerender = true;
            break;
        case VK_END:
            if (!kvx::KVXApplication || !(kvx::KVXApplication->EditMode() & kvx::kEditCtrl)) break;
            SetCursorPos(n);
            // Up by one row less than the view holds: the text's last row ends the view.
            scroller_.ScrollUp(text, scroller_.RowsFitting() - 1);
            PaintText(-1);
            break;
        case VK_LEFT:
            if (cursor == scroller_.TopPos() && scroller_.TopPos() > 1) {
                scroller_.ScrollUp(text, 1);
                PaintText(-1);
            }
            break;
        case VK_UP: {
            const MemoRowOf row = MemoRowOfPosition(text, cursor, scroller_.metrics);
            if (row.start <= 1) {
                key = 0;
                return;
            }
            if (cursor < view.At(1) && scroller_.TopPos() > 1) {
                scroller_.ScrollUp(text, 1);
                PaintText(-1);
                UpdateCaret();
            }
            const int previous = MemoPreviousRow(text, row.start, scroller_.metrics);
            const int column = std::max(std::min(cursor - row.start, row.start - previous - 2), 0);
            SetCursorPos(previous + column);
            rerender = true;
            key = 0;
            break;
        }
        case VK_RIGHT:
            if (view.At(view.rowsInView - 1) <= cursor + 2 && cursor <= n) {
                scroller_.ScrollDown(text, 1);
                PaintText(-1);
                UpdateCaret();
            }
            break;
        case VK_DOWN: {
            key = 0;
            if (cursor > n) break;
            const int start = MemoRowOfPosition(text, cursor, scroller_.metrics).start;
            const MemoRow current = MemoNextRow(text, start, scroller_.metrics);
            if (current.end == TMemoRowEnd::TextEnd || current.end == TMemoRowEnd::NoProgress) break;
            const int next = current.next;
            if (next == view.At(view.rowsInView - 1)) {
                scroller_.ScrollDown(text, 1);
                PaintText(-1);
                UpdateCaret();
            }
            const MemoRow following = MemoNextRow(text, next, scroller_.metrics);
            const int column = std::min(cursor - start, following.next - next - 2);
            if (column < 0) break;
            SetCursorPos(std::min(next + column, n));
            rerender = true;
            break;
        }
        default: break;
    }
    if (rerender && SelLength() != oldSel) PaintText(-1);
    TKVXBaseEdit::EditKeyDown(key, shift);
}

void TKVXCustomMemo::Dispatch(fw::TMessage& message) {
    TKVXBaseEdit::Dispatch(message);
    switch (message.Msg) {
        case WM_GETDLGCODE:
            if (wantTabs_)
                message.Result |= DLGC_WANTTAB;
            else
                message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
            break;
        case fw::CM_FONTCHANGED:
            measured_ = false;
            Invalidate();
            break;
        default: break;
    }
}

}  // namespace inst::win32
