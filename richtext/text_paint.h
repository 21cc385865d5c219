// TZrtRTFTextPaint: showing a document. It selects the font of each run of cells, caches the measured
// widths, heights and ascents in the cells, breaks paragraphs into line nodes that fit the text width
// (tab stops, alignment, justification), paints lines as paint lists for the owner's device, maps
// points to characters, keeps the cursor and the selection and edits the selection. Everything is in
// device pixels; the device is measured through ICellMetrics and drawn on through IPaintTarget.
#pragma once

#include "richtext/cell_metrics.h"
#include "richtext/paint_list.h"
#include "richtext/text_io.h"

namespace rt {

// Options bits.
enum : uint32_t {
    poBase = 0x1,
    poNoScroll = 0x20,
    poTransparent = 0x40,
    poNoPageBreakLine = 0x80,
    poNoParBreakLine = 0x100,
    poSuspended = 0x400,
    poOwnerArea = 0x20000,
    poFirstPageOnly = 0x40000,
};

class TZrtRTFTextPaint : public TZrtRTFTextIo {
public:
    explicit TZrtRTFTextPaint(fw::TComponent* owner = nullptr);

    // The device; null: no layout (Options become poSuspended).
    void SetCanvas(ICellMetrics* metrics);
    ICellMetrics* Canvas() const { return metrics_; }
    void SetResolution(int x, int y);
    void SetZoom(int percent);
    int Zoom() const { return zoom_; }
    void SetFontZoom(int percent) { fontZoom_ = percent; }
    void SetOptions(uint32_t bits);
    uint32_t Options() const { return options_; }
    void SetClientWidth(int w);
    void SetClientHeight(int h) { clientHeight_ = h; }
    void SetWrapToWindow(bool on);
    bool WrapToWindow() const { return wrapToWindow_; }
    // True while a layout pass runs.
    bool Formatting() const { return formatting_; }

    int TextWidth() const { return textWidth_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    int DocumentHeight() const { return documentHeight_; }
    int ScrollX = 0;
    int ScrollY = 0;
    int ClientLeft = 0;
    int ClientTop = 0;
    TColor BackColor = 0xFFFFFF;

    void Reformat(bool all) override;
    void ReformatAll();
    void FormatDirty(bool measure);
    void RecalcTextWidth() override;
    int Paginate(TParagraph* from) override;
    void ReplaceChars(TParagraph* p, TTextLine* line, const std::string& text, int count, int pos) override;
    void UpdateCellAttr(TTextLine* line, int pos, uint32_t mask, const TAttrCell& cell) override;

    void MeasureParagraph(TParagraph* p);
    virtual void WrapParagraph(TParagraph* p, bool compare, int& change);
    // The font of a cell (null: the current cell), and its metrics into the width table.
    TCellFont SelectCellFont(const TAttrCell* cell);
    void SelectCellMetrics(const TAttrCell* cell);

    int ParLeft(TParagraph* p, bool inner) const;
    int ParRight(TParagraph* p, bool inner) const;
    int LineIndent(TParagraph* p, TTextLine* line) const;
    int RightIndentPx(TParagraph* p) const;
    int LineTextWidth(TTextLine* line) const;
    int LineFreeWidth(TParagraph* p, TTextLine* line) const;
    int CharX(TParagraph* p, TTextLine* line, int index) const;
    int CharAtX(TParagraph* p, TTextLine* line, int x) const;
    int NextTabStop(TParagraph* p, TTextLine* line, int x, int index) const;

    // ---- hit testing, cursor and selection (hit_testing.cpp) -------------------------------------------
    // The paragraph and line at document y (and, for table cells, x; x 0 takes any cell).
    void LineAt(TParagraph*& p, TTextLine*& line, int x, int y) const;
    void UpdateCaret();
    // Scrolls (unless poNoScroll) so that the cursor line is visible; recomputes CursorX and the caret.
    void ShowCursor();
    // Places the cursor at a client point; `select` extends the selection from the anchor.
    virtual void SetCursorFromPoint(int x, int y, bool autoscroll, bool select);
    void SetSelection(TParagraph* p, TTextLine* line, bool extend, int pos);
    // Selection by character offsets over the whole text; a length of 0 or less removes it.
    void SelectRange(int start, int length);
    void RemoveSelection();
    // Selects the placeholder character of object reference `number` (0: no object).
    void SelectObject(int number) override;
    // A selection with both ends (a text selection; a cell selection counts in CellSelectCount).
    bool HasSelection() const { return SelStartPar && SelEndPar; }
    int CursorX = 0;
    int CaretHeight = 0;
    int CaretWidth = 1;
    int CaretY = 0;
    bool SelectAnchor = false;
    bool NoBlockMarking = false;
    bool ReadOnly = false;
    int CellSelectCount = 0;
    int SelectedObject = 0;

    // ---- editing (editing.cpp) --------------------------------------------------------------------------
    bool DeleteSelection() override;
    void ApplyAttr(const TAttrCell& cell, uint32_t mask) override;

    // ---- painting (painting.cpp) ---------------------------------------------------------------------
    // Paint lists go to the target; without one nothing is drawn.
    void SetPaintTarget(IPaintTarget* target) { paintTarget_ = target; }
    // Paints the whole client area (unless a pass runs, painting is suppressed or the owner is hidden).
    void Repaint();
    void InvalidateAll() override;
    // Paints the lines of one paragraph; with `onlyChanged` only those marked changed (the mark is
    // cleared).
    void RepaintParagraph(TParagraph* p, bool onlyChanged);
    void RepaintObject(TZrtObject* object) override;
    void RepaintPositionedObjects();
    // Paints every line that meets the rectangle (client pixels) into `out`.
    void PaintArea(int left, int top, int height, int width, TPaintList& out);
    void PaintLine(TParagraph* p, TTextLine* line, TPaintList& out);
    // Draws one embedded object or its placeholder into the rectangle, narrowed to the object's width
    // (at the left) and height (at the bottom).
    void PaintObject(int left, int top, int right, int bottom, int width, TObjectRef* ref, int height,
                     TPaintList& out);
    void Clear() override;
    bool PaintGrayTable = false;
    bool Visible = true;          // the owner's visible switch
    bool PaintSuppressed = false;

    // The objects drawn by the last paint: up to 30, then only the last one in the overflow entry.
    struct TPaintedObject {
        int reference = 0, x = 0, y = 0, width = 0, height = 0;
    };
    static constexpr int kMaxPaintedObjects = 30;
    std::vector<TPaintedObject> PaintedObjects;
    TPaintedObject PaintedOverflow;
    bool HasPaintedOverflow = false;
    void ClearPaintedObjects();

    // The selected font's line height and ascent.
    int FontHeight() const { return fontHeight_; }
    int FontAscent() const { return fontAscent_; }

protected:
    int PxX(int twips) const { return MulDiv(twips, Header->HorzResolution, 1440); }
    int PxY(int twips) const { return MulDiv(twips, Header->VertResolution, 1440); }
    bool Suspended() const { return !metrics_ || (options_ & poSuspended) != 0; }
    void FormatChain(TParagraph* first);
    // Resolution and default line height from the device, then the pages (not while suspended).
    void SetupDevice();
    // Scrolls the view by (dx, dy) pixels of the document unless poNoScroll; ScrollX stays at most 0
    // and ScrollY at least 0.
    void ScrollBy(int dx, int dy);
    // Objects placed relative to a paragraph or the page.
    void PaintPositionedObjects(TPaintList& out);
    void PaintBorders(TParagraph* p, TTextLine* line, int lineTop, int lineBottom, TPaintList& out);
    void AddPaintedObject(const TPaintedObject& entry);
    TColor BorderColor(int nibble) const;
    int Advance(TParagraph* p, TTextLine* line, int index, int x, int& justified) const;
    bool IsInvisible(const TAttrCell& c) const;

    ICellMetrics* metrics_ = nullptr;
    IPaintTarget* paintTarget_ = nullptr;
    uint32_t options_ = 0x80;
    int zoom_ = 100;
    int fontZoom_ = 100;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int textWidth_ = 0;
    bool wrapToWindow_ = false;
    int documentHeight_ = 0;
    bool formatting_ = false;
    int fontHeight_ = 16;
    int fontAscent_ = 14;
};

}  // namespace rt
