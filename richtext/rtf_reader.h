// TZrtRtfReader: reads RTF into the document model. The input side (byte loop, groups, control words)
// is in rtf_reader.cpp; what each control word does to characters, paragraphs, tables and the document
// is in rtf_reader_props.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "richtext/rtf_keywords.h"
#include "richtext/text_header.h"
#include "richtext/text_reader.h"
#include "richtext/zrt_list.h"

namespace rt {

class TZrtObject;

class TZrtRtfReader : public TZrtTextReader {
public:
    // Where text bytes go.
    enum DestState : int {
        dsText = 0, dsSkip = 1, dsFontTable = 2, dsColorTable = 3, dsPictureData = 4, dsPictureFile = 5,
        dsTitle = 6, dsComment = 7, dsSubject = 8, dsFootnote = 9, dsFieldResult = 10,
        dsFieldInstruction = 11, dsBookmarkName = 12, dsHeader = 14, dsFooter = 15, dsStyleSheet = 16,
    };

    TZrtRtfReader();
    ~TZrtRtfReader() override;

    int Read(fw::TStream* stream, TParagraph*& first) override;
    void InsertChar(int ch) override;

    virtual void GroupBegin();
    virtual int GroupEnd();
    virtual int ControlWord();
    virtual void RouteChar(int ch);
    virtual int Dispatch(const std::string& word, int value, bool hasValue);
    virtual void DestinationEnd(int state);
    virtual void Property(RtfProp action, int value);
    virtual void Destination(RtfDest action);
    virtual void Special(RtfSpecial action);
    virtual void ObjectEnd(const std::string* fileName, int x, int y);
    virtual void FieldInstructionEnd();

private:
    // The attributes new paragraphs receive, and whether a table row is open.
    struct ParImage {
        TParagraph par;
        bool inRow = false;
    };
    struct Group {
        TAttrCell cell;
        ParImage image;
        int dest = dsText;
        int byteMode = 0;
    };
    struct CellDef {
        uint16_t border = 0;
        uint8_t width = 0;
        uint8_t colorsLR = 0;
        uint8_t colorsTB = 0;
        uint8_t space = 0;
        uint8_t shadingPercent = 0;
        uint8_t shading = 0;
        int merge = 0;
    };
    static constexpr int kMaxCells = 50;

    void RawByte(int ch);
    void ColorEntryEnd();
    void FontEntryEnd();
    void EndParagraph(bool inCell);
    void ParEnd(bool fromCell);
    void StoreTableDef();
    void StoreStyle();
    void CompleteBookmark();
    void FinishPicture();
    void InsertWithCell(int ch, const TAttrCell& cell);
    void InsertObjectPlaceholder(int number);
    void SetBorder(int value);
    void Paragraphs(void (*fn)(TParagraph&, int), int value);
    bool InText() const { return dest_ == dsText || dest_ == dsHeader || dest_ == dsFooter; }

    int depth_ = 0;
    bool groupSeen_ = false;
    std::vector<Group> groups_;
    int dest_ = dsText;
    int byteMode_ = 0;  // 0 normal, 1 counting, 2 hex digits, 3 quoted file name
    bool star_ = false;
    int lastParam_ = 0;
    bool rawMode_ = false;
    int rawMatched_ = 0;
    int hexHigh_ = -1;

    ParImage image_;
    uint8_t fontMap_[99] = {};
    int fontNumber_ = 0;
    std::string fontName_;
    int colorCounter_ = 0;
    int red_ = 0, green_ = 0, blue_ = 0;
    TRgb taken_[16];

    // Row definition.
    bool defining_ = false;
    int bounds_[kMaxCells] = {};
    int nBounds_ = 0;
    int largest_ = 0;
    CellDef cells_[kMaxCells];
    int defIdx_ = 0;
    int fillIdx_ = 0;
    int runShare_ = 0;
    int rowLeft_ = 0;
    int rowGap_ = 0;
    int tableKey_ = 0;
    int spaceRight_ = 0;
    int paperWidth_ = 0, marginLeft_ = 0, marginRight_ = 0;

    // Pending paragraph values.
    int pendingFirstIndent_ = 0;
    int pendingTabKind_ = 0;
    bool firstTab_ = true;
    int borderSide_ = 0;  // 1 top, 2 left, 3 bottom, 4 right
    bool firstBorderWord_ = true;

    // Pictures and objects.
    std::unique_ptr<fw::TMemoryStream> data_;
    int picKind_ = 0;
    int picGoalW_ = 0, picGoalH_ = 0;
    std::string picFileName_;
    bool objectData_ = false;
    bool objectJustRead_ = false;
    int objTag_ = 0, objW_ = 0, objH_ = 0;
    int anchor_ = 0, relX_ = 0, relY_ = 0;

    // Fields.
    std::string instr_;
    bool instrQuote_ = false;
    bool instrSwitch_ = false;
    int pendingIp_ = 0;
    int lastIp_ = 0;
    bool mergeField_ = false;  // the field being read is a MERGEFIELD

    // Bookmarks and footnotes.
    std::string bkName_;
    int bkIndex_ = 0;
    bool bkOpen_ = false;
    bool bkClosed_ = false;
    TFootnote* footnote_ = nullptr;
    char footnoteMark_ = '?';

    // Style sheet.
    TStyleRecord style_;
    std::string styleName_;
    int styleLevel_ = 0;

    // Header and footer texts: the main position while one is read.
    TParagraph* mainPar_ = nullptr;
    TTextLine* mainLine_ = nullptr;
};

}  // namespace rt
