// TZrtRTFTextPaint: the layout half of showing a document. It selects the font of each run of cells,
// caches the measured widths, heights and ascents in the cells, breaks paragraphs into line nodes that
// fit the text width (tab stops, alignment, justification) and answers the geometry that painting and
// hit testing use. Everything is in device pixels; the device is reached through ICellMetrics.
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
    void SetFontZoom(int percent) { fontZoom_ = percent; }
    void SetOptions(uint32_t bits);
    uint32_t Options() const { return options_; }
    void SetClientWidth(int w);
    void SetClientHeight(int h) { clientHeight_ = h; }
    void SetWrapToWindow(bool on);

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
    void WrapParagraph(TParagraph* p, bool compare, int& change);
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

    // ---- hit testing and selection (hit_testing.cpp) ----------------------------------------------------
    // The paragraph and line at document y (and, for table cells, x; x 0 takes any cell).
    void LineAt(TParagraph*& p, TTextLine*& line, int x, int y) const;
    void UpdateCaret();
    void SetSelection(TParagraph* p, TTextLine* line, bool extend, int pos);
    // Selection by character offsets over the whole text; a length of 0 or less removes it.
    void SelectRange(int start, int length);
    void RemoveSelection();
    int CaretHeight = 0;
    int CaretWidth = 1;
    int CaretY = 0;
    bool NoBlockMarking = false;

    // ---- painting (painting.cpp) ---------------------------------------------------------------------
    // Paints every line that meets the rectangle (client pixels) into `out`.
    void PaintArea(int left, int top, int height, int width, TPaintList& out);
    void PaintLine(TParagraph* p, TTextLine* line, TPaintList& out);
    bool PaintGrayTable = false;

    // The selected font's line height and ascent.
    int FontHeight() const { return fontHeight_; }
    int FontAscent() const { return fontAscent_; }

private:
    struct Flat {
        std::vector<char> chars;
        std::vector<TAttrCell> cells;
    };
    int PxX(int twips) const { return MulDiv(twips, Header->HorzResolution, 1440); }
    int PxY(int twips) const { return MulDiv(twips, Header->VertResolution, 1440); }
    bool Suspended() const { return !metrics_ || (options_ & poSuspended) != 0; }
    void FormatChain(TParagraph* first);
    int Advance(TParagraph* p, TTextLine* line, int index, int x, int& justified) const;
    bool IsInvisible(const TAttrCell& c) const;

    ICellMetrics* metrics_ = nullptr;
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
