// The records of a rich-text document: the character cell, the line node, the paragraph and its
// attached objects. All positions, sizes and indents inside paragraphs are twips unless a field says
// pixels. Characters are single bytes of the ANSI code page; inside the text byte 9 is a tab, byte 10 a
// soft line break and byte 1 the placeholder of an embedded object.
#pragma once

#include <cstdint>
#include <vector>

namespace rt {

// TAttrCell.Flags
enum : uint32_t {
    afBold = 0x1,
    afItalic = 0x2,
    afUnderline = 0x4,
    afStrikeOut = 0x8,
    afHyperlink = 0x10,     // written and read as double underline
    afSuperScript = 0x20,
    afSubScript = 0x40,
    afHidden = 0x80,
    afProtected = 0x100,    // written and read as shadow
    afRawRtf = 0x200,       // written without escaping
    afFootnote = 0x400,     // Number: the footnote
    afInsertPoint = 0x800,  // Number: the insertion point
    afAutomatic = 0x1000,
    afObject = 0x2000,      // byte 1; Number: the object reference
    afNumbered = 0x4000,
    afLayoutMark = 0x8000,  // owned by line formatting
    afWrapMark = 0x10000,   // owned by line formatting; cleared beside a paragraph split
    afLayoutMark2 = 0x20000,
    afBookmark = 0x40000,   // Number: index into the bookmark names
    afPaintMark = 0x80000,  // owned by painting; ignored when runs are compared
};

// The attribute of one character; copied as one unit.
struct TAttrCell {
    uint16_t Width = 0;   // pixels, layout cache
    uint16_t Height = 0;  // pixels, layout cache
    uint16_t Ascent = 0;  // pixels, layout cache
    uint8_t FontIndex = 0;
    uint8_t Colors = 0;  // low nibble text colour, high nibble background colour
    uint32_t Flags = 0;
    uint8_t Size = 0;  // points; 0 counts as 10
    uint16_t Number = 0;

    uint8_t TextColor() const { return Colors & 0x0F; }
    uint8_t BackColor() const { return Colors >> 4; }
};

// TTextLine.LineFlags
enum : uint8_t {
    lfChanged = 0x1,
    lfPageBegin = 0x2,
    lfHasObjects = 0x8,
};

// One line node: a NUL-terminated buffer of Capacity bytes and, in rich mode, as many cells.
struct TTextLine {
    uint16_t Height = 0;
    uint16_t Ascent = 0;
    int32_t Top = 0;
    uint8_t LineFlags = 0;
    uint8_t SelState = 0;
    std::vector<char> Chars;       // Capacity bytes
    std::vector<TAttrCell> Cells;  // Capacity cells; empty in plain mode
    uint16_t Length = 0;
    uint16_t PageNumber = 0;
    uint16_t LineWidth = 0;
    uint16_t SpaceWidth = 0;
    uint16_t SpaceRemainder = 0;
    TTextLine* Next = nullptr;
    TTextLine* Prev = nullptr;

    int Capacity() const { return static_cast<int>(Chars.size()); }
    bool HasCells() const { return !Cells.empty(); }
};

// TParagraph.ParFlags
enum : uint16_t {
    pfPageBreak = 0x1,
    pfNotFirstCell = 0x2,
    pfMoreCells = 0x4,
    pfInTable = 0x8,
    pfMultiple = 0x40,
    pfPartial = 0x80,
    pfLayout = 0x100,  // owned by layout: the cell lies in a rectangular cell selection
    pfCellSelected = pfLayout,
    pfKeep = 0x200,
    pfOutline = 0x800,
    pfDirty = 0x1000,
};

// TParagraph.Borders
enum : uint16_t {
    brHas = 0x1,
    brEnds = 0x2,  // the bordered block ends after this paragraph
    brTop = 0x4,
    brBottom = 0x8,
    brLeft = 0x10,
    brRight = 0x20,
    brBox = 0x40,
    brDouble = 0x80,
    brDotted = 0x100,
    brHairline = 0x200,
    brBar = 0x400,
    brTableLines = 0x4000,
};

enum class TParObjectKind : uint8_t { Table, Rect };

// An object attached to a paragraph. The table-cell object keeps the cell geometry in Data: width and
// start (both in 255ths of the row width), the layout's typing counter and one spare byte; Key refers
// to the row's table definition. The rectangle object receives the paragraph's vertical extent.
struct TParObject {
    TParObjectKind Kind = TParObjectKind::Table;
    uint8_t Data[4] = {};
    int32_t Key = 0;
    int32_t Top = 0;
    int32_t Bottom = 0;
    TParObject* Next = nullptr;
};
using TParObjectTable = TParObject;
using TParRectObject = TParObject;

enum : int { kCellWidth = 0, kCellStart = 1, kCellCounter = 2, kCellSpare = 3 };

struct TParagraph {
    uint32_t Number = 0;
    int16_t FirstIndent = 0;
    int16_t LeftIndent = 0;
    int16_t RightIndent = 0;
    int16_t SpaceBefore = 0;
    int16_t SpaceAfter = 0;
    int16_t LineSpacing = 0;
    uint16_t Borders = 0;
    uint8_t BorderWidth = 0;
    uint8_t BorderColorsLR = 0;  // low nibble left, high nibble right
    uint8_t BorderColorsTB = 0;  // low nibble top, high nibble bottom
    uint8_t BorderSpace = 0;     // units of 56 twips
    uint8_t Alignment = 0;       // 0 left, 1 centred, 2 right, 3 justified
    uint16_t ParFlags = 0;
    uint8_t Outline = 0;  // low nibble: outline level + 1; the byte: numbering style
    uint8_t Style = 0;
    uint8_t Shading = 0;  // low nibble pattern colour, high nibble background colour
    uint8_t ShadingPercent = 0;
    TTextLine* FirstLine = nullptr;
    TParagraph* Next = nullptr;
    TParagraph* Prev = nullptr;
    uint64_t Tabs = 0;  // bit i: tab i of the header's table applies
    TParObject* Objects = nullptr;
    TAttrCell ParCell;

    bool IsCell() const { return (ParFlags & pfInTable) != 0; }
    void MarkDirty() { ParFlags |= pfDirty; }
};

// Twips to pixels and back, rounded as the system's MulDiv rounds (half away from zero).
int MulDiv(int number, int numerator, int denominator);

}  // namespace rt
