// The control words the RTF reader knows: 183 records, looked up in order by exact comparison, so
// that of two records with one keyword only the first is ever reached.
#pragma once

#include <cstdint>
#include <string_view>

namespace rt {

enum class RtfKind : uint8_t { Char = 1, Destination = 2, Property = 3, Special = 4 };

enum class RtfDest : int32_t {
    Skip, BookmarkStart, BookmarkEnd, Comment, FontTable, Footnote, Field, FieldInstruction, Picture,
    PictureFile, ObjectData, Footer, Header, Subject, Title, ColorTable, StyleSheet,
};

enum class RtfSpecial : int32_t { Binary, Star, Hex };

enum class RtfProp : int32_t {
    Plain, ParEnd, Font, FontSize, Bold, Hidden, Underline, Hyperlink, Protected, SuperScript, SubScript,
    NoSuperSub, StrikeOut, InsertPoint, Automatic, RawText, TextColor, BackColor, Italic, LeftIndent,
    RightIndent, FirstIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, Ignored, Alignment,
    PaperWidth, PaperHeight, MarginLeft, MarginRight, MarginTop, MarginBottom, PageBreak, FacingPages,
    Landscape, ObjectAnchor, ObjectX, ObjectY, FootnoteNumber, TabPosition, TabKind, Red, Green, Blue,
    RowDefaults, InTable, CellBoundary, RowEnd, CellEnd, Border, CellMerge, Keep, PatternBack, PatternFore,
    Shading, BorderWidth, BorderSpace, RowGap, RowLeft, BorderColor, ParDefault, PicBitmap, PicDib,
    PicMetafile, PicWidth, PicHeight, PicGoalWidth, PicGoalHeight, PicScaleX, PicScaleY, PicBitsPerPixel,
    PicPlanes, PicWidthBytes, PictureFileName, ObjectTag, ObjectWidth, ObjectHeight, TypoChar, Numbered,
    NumberStyle, Style, Additive, BasedOn, NextStyle, AutoUpdate, HiddenStyle, CharStyle, SectionStyle,
    StyleFn, OutlineLevel,
};

struct TRtfKeyword {
    std::string_view keyword;
    int32_t defaultValue;
    bool useDefault;  // the value is always the default, whatever parameter is given
    RtfKind kind;
    int32_t action;  // character code, RtfDest, RtfProp or RtfSpecial
};

constexpr int kRtfKeywordCount = 183;

// The first record whose keyword equals `word` exactly, or null.
const TRtfKeyword* FindRtfKeyword(std::string_view word);

}  // namespace rt
