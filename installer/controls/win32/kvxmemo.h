// TKVXMemo: the setup program's owner-drawn multi-line text control over the suite's edit base. It
// wraps the text into rows at word delimiters (installer/controls/memo_layout.h), paints the rows of
// the view itself with the selection, optional ruled lines and a margin strip, and scrolls with the
// owner-drawn scroll bars (kvxsbar.h). TKVXMarginObject holds the margin's settings and
// TKVXMemoStrings is the Lines adapter.
#pragma once

#include <array>
#include <memory>

#include "framework/core/lists.h"
#include "installer/controls/memo_scroll.h"
#include "installer/controls/win32/kvxsbar.h"
#include "widgets/win32/baseedit.h"

namespace inst::win32 {

enum class TKVXMemoScrollBars { skHorizontal, skVertical, skBoth, skAuto, skNone };
enum class TKVXMarginAlignment { maLeft, maRight };
using TKVXOnMarginRowPaint =
    fw::Event<void(fw::TObject* Sender, fw::TCanvas* Canvas, fw::TRect aRect, int firstChar, int length)>;

class TKVXMarginObject : public kvx::TKVXObject {
public:
    TKVXMarginObject();
    ~TKVXMarginObject() override;
    kvx::win32::TKVXFillObject* FillObject() const { return fill_.get(); }
    void SetFillObject(kvx::win32::TKVXFillObject* value) { fill_->Assign(value); }
    int Width() const { return width_; }
    void SetWidth(int value);
    TKVXMarginAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXMarginAlignment value);
    // The memo's Margin writes go through here (the object has no copy of its own in form text).
    void Assign(fw::TPersistent* source) override;

private:
    std::unique_ptr<kvx::win32::TKVXFillObject> fill_;
    int width_ = 0;
    TKVXMarginAlignment alignment_ = TKVXMarginAlignment::maLeft;
};

class TKVXCustomMemo;

class TKVXMemoStrings : public fw::TStringList {
public:
    explicit TKVXMemoStrings(TKVXCustomMemo* memo) : memo_(memo) {}
    // Saves, then clears the memo's Modified flag.
    void SaveToFile(const std::string& name);
    // Loads, then gives the lines to the memo.
    void LoadFromFile(const std::string& name);

private:
    TKVXCustomMemo* memo_;
};

class TKVXCustomMemo : public kvx::win32::TKVXBaseEdit {
public:
    explicit TKVXCustomMemo(fw::TComponent* owner);

    // ---- published ----
    // The lines of the text (the adapter, filled from Text).
    fw::TStrings* Lines();
    void SetLines(fw::TStrings* value);
    TKVXMemoScrollBars ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TKVXMemoScrollBars value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TMemoAlignment Alignment() const { return alignment_; }
    void SetAlignment(TMemoAlignment value);
    bool Lined() const { return lined_; }
    void SetLined(bool value);
    fw::TPen* LineStyle() const { return lineStyle_.get(); }
    void SetLineStyle(fw::TPen* value);
    TKVXMarginObject* Margin() const { return margin_.get(); }
    void SetMargin(TKVXMarginObject* value) { margin_->Assign(value); }
    TKVXScrollBarObject* HorizScrollBar() const { return horizSettings_.get(); }
    void SetHorizScrollBar(TKVXScrollBarObject* value);
    TKVXScrollBarObject* VertScrollBar() const { return vertSettings_.get(); }
    void SetVertScrollBar(TKVXScrollBarObject* value);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value) { wantTabs_ = value; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    int TabChars() const { return tabChars_; }
    void SetTabChars(int value) { tabChars_ = value; }

    TKVXOnMarginRowPaint OnMarginRowPaint;
    fw::TNotifyEvent OnCurrentRowChanged;
    fw::TNotifyEvent OnRowCountChanged;

    // ---- state ----
    int TopRow() const { return scroller_.TopRow(); }
    int TopPos() const { return scroller_.TopPos(); }
    int RowCount() const { return rowCount_; }
    int CurrentRow() const { return currentRow_; }
    int HorzMax() const { return horzMax_; }
    int HorzPos() const { return horzPos_; }
    int RowsInView() const { return scroller_.RowsInView(); }
    const MemoView& View() const { return scroller_.View(); }
    int RowHeight();
    TKVXScrollBar* HorzBar() const { return hBar_; }
    TKVXScrollBar* VertBar() const { return vBar_; }
    const fw::TRect& TextRect() const { return textRect_; }

    // ---- the edit base's slots ----
    void UpdateCaret() override;
    void TextSet() override;
    void TextRead() override {}
    void PaintText(int32_t fromPos) override;
    int32_t PosFromPoint(fw::TPoint point) override;
    int GetTextHeight(const std::string& s) override { return RowHeight(); }
    void CursorPosChanged() override;
    void TextChangedAt(int32_t pos) override;
    void AfterPaintBackground() override;
    void AdjustTextRect() override;
    void EditKeyDown(uint16_t& key, fw::TShiftState shift) override;

protected:
    ~TKVXCustomMemo() override;
    void Loaded() override;
    void Paint() override;
    void AlignControls(fw::TControl* control, fw::TRect& rect) override;
    void Dispatch(fw::TMessage& message) override;

private:
    void MeasureCharacters();
    MemoMetrics Metrics();
    void Layout();
    void SetRowCount(int value);
    void SetTopRowBar();
    void SetHorzMax(int value);
    void SetHorzPos(int value);
    void SetCurrentRow(int value);
    void Recount();
    // Wrapping or alignment changed: no horizontal scroll, rows counted and painted again.
    void WrappingChanged();
    void BringCursorIntoView();
    void PaintRows(fw::TCanvas* canvas);
    void PaintRow(fw::TCanvas* canvas, int index, int y, int left);
    void PaintBands(fw::TCanvas* canvas, int from);
    void PaintMargin(fw::TCanvas* canvas);
    void PaintRuledLines(fw::TCanvas* canvas);
    void CreateBar(bool vertical);
    void FreeBar(bool vertical);
    void UpdateAutoBars();
    void VerticalScroll(fw::TObject* sender, TScrollCode code, int& position);
    void HorizontalScroll(fw::TObject* sender, TScrollCode code, int& position);
    void SettingsChanged(fw::TObject* sender);
    bool HorizontalScrolling() const { return alignment_ == TMemoAlignment::taLeftJustify && !wordWrap_; }

    MemoScroller scroller_;
    std::array<int32_t, 256> widths_{};
    std::unique_ptr<TKVXMemoStrings> lines_;
    std::unique_ptr<TKVXScrollBarObject> horizSettings_;
    std::unique_ptr<TKVXScrollBarObject> vertSettings_;
    std::unique_ptr<TKVXMarginObject> margin_;
    std::unique_ptr<fw::TPen> lineStyle_;
    TKVXScrollBar* hBar_ = nullptr;
    TKVXScrollBar* vBar_ = nullptr;
    TKVXMemoScrollBars scrollBars_ = TKVXMemoScrollBars::skNone;
    TMemoAlignment alignment_ = TMemoAlignment::taLeftJustify;
    fw::TRect marginRect_{};
    int rowCount_ = 0;
    int currentRow_ = 0;
    int horzMax_ = 0;
    int horzPos_ = 0;
    int tabChars_ = 0;
    bool scrollingByBar_ = false;
    bool lined_ = false;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    bool wordWrap_ = true;
    bool destroying_ = false;
    bool measured_ = false;
};

class TKVXMemo : public TKVXCustomMemo {
public:
    using TKVXCustomMemo::TKVXCustomMemo;
};

}  // namespace inst::win32
