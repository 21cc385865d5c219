#include "uisupport/controls/speedlayout.h"

#include <algorithm>

namespace uis {

std::string CutLineToWidth(const std::string& line, int maxWidth, const std::function<int(const std::string&)>& width) {
    if (width(line) <= maxWidth) return line;
    std::string cut = line;
    while (!cut.empty()) {
        cut.pop_back();
        if (width(cut + "...") <= maxWidth) break;
    }
    return cut + "...";
}

namespace {

// Each line of the caption (split at CR LF, LF or CR) cut to the width.
std::string CutLines(const std::string& caption, int maxWidth, const std::function<int(const std::string&)>& width) {
    std::string result;
    size_t i = 0;
    while (i <= caption.size()) {
        size_t end = caption.find_first_of("\r\n", i);
        if (end == std::string::npos) end = caption.size();
        result += CutLineToWidth(caption.substr(i, end - i), maxWidth, width);
        if (end == caption.size()) break;
        size_t next = end + 1;
        if (caption[end] == '\r' && next < caption.size() && caption[next] == '\n') ++next;
        result += caption.substr(end, next - end);
        i = next;
    }
    return result;
}

}  // namespace

TSpeedLayout LayoutSpeedButton(const TSpeedLayoutInput& in) {
    TSpeedLayout out;
    const bool horizontal = in.Side == TGlyphSide::Left || in.Side == TGlyphSide::Right;
    const int cw = in.Content.Width();
    const int ch = in.Content.Height();
    int gw = in.GlyphWidth;
    int gh = in.GlyphHeight;
    const int marginUsed = in.Margin != -1 ? in.Margin : 0;
    const int spacingUsed = in.Spacing != -1 ? in.Spacing : 0;

    int availW = cw, availH = ch;
    if (horizontal)
        availW = cw - gw - marginUsed - spacingUsed - (in.DrawMark ? 9 : 0);
    else
        availH = ch - gh - marginUsed - spacingUsed;
    availW = std::max(0, availW);
    availH = std::max(0, availH);

    out.Caption = in.WordWrap || !in.LineWidth ? in.Caption : CutLines(in.Caption, availW, in.LineWidth);
    fw::TPoint text{0, 0};
    if (!out.Caption.empty() && in.Measure) {
        text = in.Measure(out.Caption, availW, in.WordWrap);
        text.X = std::min(text.X, availW);
        text.Y = std::min(text.Y, availH);
    }
    const fw::TPoint drawnText = text;
    const int drawnGlyphWidth = gw;
    if (in.DrawMark) {
        if (gw == 0 || in.Side == TGlyphSide::Left)
            text.X += 9;
        else
            gw += 6;
    }

    fw::TPoint glyph{0, 0}, caption{0, 0};
    if (horizontal) {
        glyph.Y = ch / 2 - gh / 2;
        caption.Y = ch / 2 - text.Y / 2;
    } else {
        glyph.X = cw / 2 - gw / 2;
        caption.X = cw / 2 - text.X / 2;
    }

    int margin = in.Margin;
    int spacing = in.Spacing;
    if (out.Caption.empty() || gw == 0) spacing = 0;
    const int size = horizontal ? cw : ch;
    const int glyphSize = horizontal ? gw : gh;
    const int textSize = horizontal ? text.X : text.Y;
    if (margin == -1 && spacing == -1) {
        margin = spacing = (size - glyphSize - textSize) / 3;
    } else if (margin == -1) {
        margin = size / 2 - (glyphSize + spacing + textSize) / 2;
    } else if (spacing == -1) {
        spacing = (size - margin - glyphSize) / 2 - textSize / 2;
    }

    switch (in.Side) {
    case TGlyphSide::Left:
        glyph.X = margin;
        caption.X = margin + gw + spacing;
        break;
    case TGlyphSide::Right:
        glyph.X = cw - margin - gw;
        caption.X = glyph.X - spacing - text.X;
        break;
    case TGlyphSide::Top:
        glyph.Y = margin;
        caption.Y = margin + gh + spacing;
        break;
    case TGlyphSide::Bottom:
        glyph.Y = ch - margin - gh;
        caption.Y = glyph.Y - spacing - text.Y;
        break;
    }
    out.Glyph = {glyph.X + in.Content.Left, glyph.Y + in.Content.Top};
    out.CaptionRect = fw::Bounds(caption.X + in.Content.Left, caption.Y + in.Content.Top, drawnText.X, drawnText.Y);

    if (in.GlyphWidth > 0 && in.Side != TGlyphSide::Left) {
        out.Mark = {out.Glyph.X + drawnGlyphWidth + 1, out.Glyph.Y + gh / 2};
    } else {
        const int x = out.Caption.empty() ? (in.Content.Left + in.Content.Right - 7) / 2 : out.CaptionRect.Right + 3;
        const int y = out.Caption.empty() ? (in.Content.Top + in.Content.Bottom) / 2
                                          : (out.CaptionRect.Top + out.CaptionRect.Bottom) / 2;
        out.Mark = {x, y};
    }
    return out;
}

std::vector<TMarkRow> DropMarkRows(int x, int y) {
    return {{x, y - 1, 7}, {x + 1, y, 5}, {x + 2, y + 1, 3}, {x + 3, y + 2, 1}};
}

int SpeedNumGlyphs(int glyphWidth, int glyphHeight, int current) {
    if (glyphHeight <= 0 || glyphWidth <= 0 || glyphWidth % glyphHeight != 0) return current;
    const int cells = glyphWidth / glyphHeight;
    return cells <= 5 ? cells : 1;
}

int GreyLevel(int red, int green, int blue) { return (77 * red + 150 * green + 29 * blue) >> 8; }

fw::TPoint DropPoint(TDropPosition position, TMenuAlign align, int width, int height) {
    if (position == TDropPosition::Bottom) {
        const int x = align == TMenuAlign::Left ? -1 : align == TMenuAlign::Right ? width + 1 : width / 2;
        return {x, height};
    }
    if (align == TMenuAlign::Center) return {width / 2, height};
    return {align == TMenuAlign::Left ? width : -1, -1};
}

int TGlyphSlots::Allocate() {
    int slot = 0;
    while (slot < Count() && used_[static_cast<size_t>(slot)]) ++slot;
    if (slot == Count()) used_.push_back(false);
    used_[static_cast<size_t>(slot)] = true;
    ++usedCount_;
    return slot;
}

bool TGlyphSlots::Release(int slot) {
    if (!Used(slot)) return false;
    used_[static_cast<size_t>(slot)] = false;
    --usedCount_;
    return true;
}

}  // namespace uis
