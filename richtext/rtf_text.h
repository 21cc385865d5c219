// TZrtRTFText: the in-memory rich-text document. The text is a chain of paragraphs, each a chain of
// line nodes, each line node a character buffer with a parallel array of attribute cells. The document
// owns the header, the keyed lists, bookmark names, object references, footnotes and the five
// attribute objects, and offers the editing primitives that readers, layout and editing use.
//
// Invariants: every paragraph has at least one line node; the body has at least one paragraph; in rich
// mode every line has as many cells as characters of capacity; Length < Capacity (room for the NUL);
// every change of a paragraph sets its pfDirty.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "richtext/character_attr.h"
#include "richtext/model_types.h"
#include "richtext/text_header.h"
#include "richtext/zrt_list.h"

namespace rt {

class TZrtObject;

// One embedded object in the text; cells refer to it by Number.
struct TObjectRef {
    uint16_t Number = 0;
    TZrtObject* Object = nullptr;
    bool Used = false;
    uint8_t Mode = 0;  // 0 in line, 1 relative to a paragraph, 2 relative to the page
    int32_t AnchorPar = 0;
    int32_t X = 0, Y = 0;
    std::string Name;  // up to 60 characters
    int32_t Width = 0, Height = 0;  // twips
    int32_t VertPos = 0;            // pixels, set by pagination
};

struct TFootnote {
    char Mark = '#';
    int32_t Value = 1;
    uint16_t Number = 0;
    std::string Text;
    uint8_t Flag = 0;
};

constexpr int kMaxLineCapacity = 10000;

class TZrtRTFText : public fw::TPersistent {
public:
    explicit TZrtRTFText(fw::TComponent* owner = nullptr);
    ~TZrtRTFText() override;

    // ---- overridable operations -------------------------------------------------------------------
    virtual bool IsHostSwitch(const std::string&) { return false; }
    virtual void UpdateCellAttr(TTextLine*, int, uint32_t, const TAttrCell&) {}
    virtual void FireFieldEvent(TParagraph*, TTextLine*, bool, int&) {}
    virtual int QueryHook(int, int) { return 0; }
    virtual void ApplyAttr(const TAttrCell& cell, uint32_t mask);
    virtual void Reformat(bool) {}
    virtual void InvalidateAll() {}
    virtual void Clear();
    virtual bool DeleteSelection() { return false; }
    virtual void RecalcTextWidth() {}
    virtual void PrepareObjectPaint() {}
    virtual void SetParagraphText(int index, const std::string& text, const TAttrCell* cell);
    virtual void ReplaceChars(TParagraph* p, TTextLine* line, const std::string& text, int count, int pos);
    virtual void RepaintObject(TZrtObject*) {}
    virtual void SelectObject(int) {}
    virtual bool ObjectScreenRect(TZrtObject*) { return false; }
    virtual bool ObjectPageRect(TZrtObject*) { return false; }

    // ---- structure ---------------------------------------------------------------------------------
    TParagraph* NewParagraph(TParagraph*& p, int capacity);
    TTextLine* NewLine(TTextLine*& l, int capacity);
    void GrowLine(TTextLine* line, int newCapacity);
    void FreeLineBuffers(TTextLine* line);
    // Deletes a line node; a selection with an end on it is dropped.
    void FreeLine(TTextLine* line);
    // Drops the selection when an end lies on the paragraph or line about to go.
    void DropSelectionOn(const TParagraph* p, const TTextLine* line);
    void FreeParagraph(TParagraph*& p);
    void DeleteParagraphRecord(TParagraph*& p);
    void FreeChain(TParagraph* first);
    TParObject* ParTable(TParagraph* p);
    void DeleteLine(TParagraph* p, TTextLine* line);
    static TTextLine* LastLine(TParagraph* p);
    static int ParagraphIndexOf(TParagraph* first, TParagraph* p);

    // ---- editing primitives ------------------------------------------------------------------------
    bool InsertChar(TParagraph* p, TTextLine* line, char ch, int pos);
    bool DeleteChar(TParagraph* p, TTextLine* line, int pos);
    bool SplitParagraph(TParagraph* p, TTextLine* line, int pos);
    bool InsertChain(TParagraph*& p, TTextLine*& line, TParagraph* chain, int& pos);
    int ReplaceRange(TParagraph* p, TTextLine* line, const TAttrCell* cell, int newCount, const char* text,
                     int oldCount, int pos);
    void InsertString(TParagraph* p, int offset, const TAttrCell* cell, const std::string& text);
    void DeleteRange(TParagraph* p, int offset, int count);
    bool IsProtected(TParagraph*, TTextLine*, int) { return false; }

    // ---- paragraph-level access --------------------------------------------------------------------
    int ParagraphCount() const;
    std::string GetParagraphText(int index) const;
    int ParagraphLength(int index) const;
    void InsertParagraph(int index, const std::string& text, const TAttrCell* cell);
    void DeleteParagraph(int index);
    TParagraph* ParagraphAt(int index) const;

    bool MarkByAttr(uint32_t codes);
    void SetMemoryFormat(int format);  // 0 rich, 1 plain
    void PurgeTabs();
    static std::string NumberText(int style, int n);
    int ToTarget(int n) const { return n; }
    int FromTarget(int n) const { return n; }

    // ---- footnotes ---------------------------------------------------------------------------------
    TFootnote* AddFootnote(char mark, int32_t value, const std::string& text);
    TFootnote* FindFootnote(int number);
    void ClearFootnotes();

    // ---- object references -------------------------------------------------------------------------
    TObjectRef* AddObjectRef(TZrtObject* object);
    TObjectRef* FindObjectRef(int number);
    TObjectRef* FindObjectByName(const std::string& name);
    void DeleteObjectRef(int number);
    void ReleaseObject(TZrtObject* object);
    void ClearObjectMarks();
    void PurgeObjectRefs();
    void ShiftObjectAnchors(int from, bool up);

    // ---- state -------------------------------------------------------------------------------------
    fw::TComponent* Owner = nullptr;
    TParagraph* Body = nullptr;
    TParagraph* HeaderText = nullptr;
    TParagraph* FooterText = nullptr;

    TParagraph* CurPar = nullptr;
    TTextLine* CurLine = nullptr;
    int CurPos = 0;
    TParagraph* SelStartPar = nullptr;
    TTextLine* SelStartLine = nullptr;
    int SelStartPos = 0;
    TParagraph* SelEndPar = nullptr;
    TTextLine* SelEndLine = nullptr;
    int SelEndPos = 0;
    bool SelBackwards = false;

    TAttrCell CurrentCell;
    TAttrCell DefaultCell;  // for inserted strings given no cell
    int DefaultLineHeight = 16;
    int PlainLineHeight = 16;
    int PlainAscent = 14;
    uint16_t WidthTable[256] = {};

    std::unique_ptr<TTextHeader> Header;
    TZrtList TableDefs{sizeof(TTableDef)};
    TZrtList InsertPointNames{0};
    TZrtStyleList Styles;
    fw::TStringList Bookmarks;
    std::vector<std::unique_ptr<TObjectRef>> ObjectRefs;
    std::vector<std::unique_ptr<TFootnote>> Footnotes;

    TCharacterAttr InsertPointAttr{afInsertPoint};
    TCharacterAttr AutomaticTextAttr{afAutomatic};
    TCharacterAttr HyperlinkTextAttr{afHyperlink};
    TCharacterAttr ProtectedTextAttr{0};
    TCharacterAttr BookmarkTextAttr{afBookmark};

    // Called for every embedded object a reader made (the object-read notification).
    std::function<void(TZrtObject*)> OnObjectRead;

    bool HideInsertPoints = false;
    bool HideAutomaticText = false;
    bool Zoomed = false;
    int ScreenResolution = 96;
    bool NoPagination = false;

    bool IsRich() const { return Header->rich; }

protected:
    void NewBody(int capacity);
    static void CopyParagraphAttrs(TParagraph& to, const TParagraph& from);
    static void CopyBorders(TParagraph& to, const TParagraph& from);

    bool clearing_ = false;
    bool marking_ = false;
    TParObject* currentTable_ = nullptr;
};

// The cell i of a line, or null in plain mode.
inline TAttrCell* CellAt(TTextLine* line, int i) {
    return line && line->HasCells() ? &line->Cells[static_cast<size_t>(i)] : nullptr;
}

}  // namespace rt
