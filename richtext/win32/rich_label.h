// TZrtRichTextLabel: a windowless control that shows a rich-text document. The label owns the
// document (its text arrives as the form-data property "RtfText.Data"), a strings adapter over it and
// a font object that reads and sets the attributes at the cursor. It lays the text out with the GDI
// metrics of the screen, paints it through a paint list on its parent's DC, reports clicks on
// hyperlinks (double-underlined text, followed by hidden text as its stamp) and asks events for the
// pictures of embedded objects.
//
// The document's options stay "not configured" until the first paint; from then on Transparent,
// ShowPageBreak and UsePaperSize pass their bits to it as they change.
#pragma once

#include "framework/win32/winapi.h"

#include <memory>
#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "richtext/text_input.h"
#include "richtext/win32/gdi_fonts.h"
#include "richtext/win32/gdi_metrics.h"

namespace rt {

enum class TZrtMemoryFormat { fmRichText, fmPlainText };
enum class TStoreHTMLComment { shcNone, shcFootnote, shcComment };

// (Sender, text, stamp, LineNumber): the visible text of a clicked hyperlink, the hidden text after it
// and the index of the clicked line among all lines of the text.
using THyperLinkEvent = fw::Event<void(fw::TObject*, const std::string&, const std::string&, int)>;
// (object, var call again) after an embedded object was read.
using TTextObjectCheckPropertiesEvent = fw::Event<void(fw::TObject*, bool&)>;
// (object, stream name, state, var done): load the object's external data.
using TZrtTextObjectLoadStreamEvent = fw::Event<void(fw::TObject*, const std::string&, int, bool&)>;
// (Sender, source name, var picture): a picture for an image object; the label frees what it gets.
using THTMLBitmapRequestEvent = fw::Event<void(fw::TObject*, const std::string&, fw::TPicture*&)>;

class TZrtCustomRtfLabel : public fw::TGraphicControl, private IPaintTarget {
public:
    explicit TZrtCustomRtfLabel(fw::TComponent* owner);

    // ---- overridable operations -------------------------------------------------------------------
    virtual void SetReadOnly(bool value);
    virtual bool GetReadOnly() const;
    virtual void SetWordWrap(bool value);
    // False while read-only; otherwise the text counts as modified.
    virtual bool CanModify();
    virtual void DoChange();
    virtual void LoadFromStream(fw::TStream& stream);
    virtual void SaveToStream(fw::TStream& stream);
    // Only while a text selection exists.
    virtual void SaveSelectionToStream(fw::TStream& stream);
    virtual void SaveToFile(const std::string& name);
    virtual void LoadFromFile(const std::string& name);

    // ---- the document -----------------------------------------------------------------------------
    TZrtRTFTextInput* Document() const { return doc_.get(); }
    TZrtRTFTextIo* RtfText() const { return doc_.get(); }
    // Copies `source` into the label's document.
    void SetRtfText(TZrtRTFTextIo* source);
    TZrtRtfStrings* Lines() const { return strings_.get(); }
    const std::string& FileName() const { return fileName_; }
    bool Modified() const { return modified_; }

    // ---- properties -------------------------------------------------------------------------------
    TZrtMemoryFormat MemoryFormat() const;
    void SetMemoryFormat(TZrtMemoryFormat value);
    // The font at the cursor; changing it applies to the selection and the cursor.
    fw::TFont* CellFont() const;
    void SetCellFont(fw::TFont* value);
    int Zooming() const { return doc_->Zoom(); }
    void SetZooming(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return doc_->WrapToWindow(); }
    fw::TCursor HyperLinkCursor() const { return hyperLinkCursor_; }
    void SetHyperLinkCursor(fw::TCursor value) { hyperLinkCursor_ = value; }
    bool NoBlockMarking() const { return doc_->NoBlockMarking; }
    void SetNoBlockMarking(bool value) { doc_->NoBlockMarking = value; }
    bool OneClickHyperlink() const { return oneClickHyperlink_; }
    void SetOneClickHyperlink(bool value) { oneClickHyperlink_ = value; }
    std::string TextSaveFormat() const { return doc_->SaveFormat; }
    void SetTextSaveFormat(const std::string& value) { doc_->SaveFormat = value; }
    std::string TextLoadFormat() const { return doc_->LoadFormat; }
    void SetTextLoadFormat(const std::string& value) { doc_->LoadFormat = value; }
    // The background at the cursor; setting takes the nearest colour of the default palette, of which
    // entries 0-14 apply.
    fw::TColor BackgroundColor() const;
    void SetBackgroundColor(fw::TColor value);
    int PagNumber() const { return pagNumber_; }
    void SetPagNumber(int value);
    bool ShowPageBreak() const { return showPageBreak_; }
    void SetShowPageBreak(bool value);
    bool HideInsertpoints() const { return doc_->HideInsertPoints; }
    void SetHideInsertpoints(bool value);
    bool HideAutomatic() const { return doc_->HideAutomaticText; }
    void SetHideAutomatic(bool value);
    TCharacterAttr* InsertPointAttr() const { return &doc_->InsertPointAttr; }
    void SetInsertPointAttr(TCharacterAttr* value) { doc_->InsertPointAttr.Assign(value); }
    TCharacterAttr* AutomaticTextAttr() const { return &doc_->AutomaticTextAttr; }
    void SetAutomaticTextAttr(TCharacterAttr* value) { doc_->AutomaticTextAttr.Assign(value); }
    TCharacterAttr* HyperlinkTextAttr() const { return &doc_->HyperlinkTextAttr; }
    void SetHyperlinkTextAttr(TCharacterAttr* value) { doc_->HyperlinkTextAttr.Assign(value); }
    TCharacterAttr* ProtectedTextAttr() const { return &doc_->ProtectedTextAttr; }
    void SetProtectedTextAttr(TCharacterAttr* value) { doc_->ProtectedTextAttr.Assign(value); }
    TCharacterAttr* BookmarkTextAttr() const { return &doc_->BookmarkTextAttr; }
    void SetBookmarkTextAttr(TCharacterAttr* value) { doc_->BookmarkTextAttr.Assign(value); }
    bool DisableMouse() const { return disableMouse_; }
    void SetDisableMouse(bool value) { disableMouse_ = value; }
    bool UsePaperSize() const { return usePaperSize_; }
    void SetUsePaperSize(bool value);
    const std::string& HTMLFilePath() const { return htmlFilePath_; }
    void SetHTMLFilePath(const std::string& value) { htmlFilePath_ = value; }
    TStoreHTMLComment HTMLStoreComment() const { return htmlStoreComment_; }
    void SetHTMLStoreComment(TStoreHTMLComment value) { htmlStoreComment_ = value; }
    bool PaintGrayTable() const { return doc_->PaintGrayTable; }
    void SetPaintGrayTable(bool value);
    bool ReadOnly() const { return GetReadOnly(); }

    THyperLinkEvent HyperLinkEvent;
    TTextObjectCheckPropertiesEvent OnTextObjectCheckProperties;
    TZrtTextObjectLoadStreamEvent OnTextObjectLoadStreamEvent;
    THTMLBitmapRequestEvent OnHTMLBitmapRequest;
    fw::TNotifyEvent OnChange;

    // Looks for a hyperlink at a client point: fires HyperLinkEvent and answers true when there is one;
    // otherwise places the cursor there (or selects the word). The number of the last hyperlink found
    // is kept.
    bool HyperlinkAt(int x, int y);
    int LastHyperlinkNumber() const { return lastHyperlink_; }
    // True once the first paint configured the document's options.
    bool Configured() const;

protected:
    ~TZrtCustomRtfLabel() override;
    void BeforeDestruction() override;
    void Paint() override;
    void Resize() override;
    void Dispatch(fw::TMessage& message) override;
    void CMColorChanged(fw::TMessage& message) override;
    void CMVisibleChanged(fw::TMessage& message) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;

private:
    // IPaintTarget: while painting, the lists go to the paint DC; otherwise the label is invalidated.
    void Draw(const TPaintList& list) override;
    void ConfigureOptions();
    void AttrChanged(uint32_t code, bool needsReformat);
    void FontChanged(fw::TObject* sender);
    void ObjectRead(TZrtObject* object);
    bool PaintObjectOp(const TPaintOp& op, HDC dc);
    // The character under a client point, or false when the point lies beyond its line's text.
    bool CharAt(int x, int y, TParagraph*& p, TTextLine*& line, int& index) const;
    void SelectWordAt(int x, int y);

    HDC measureDC_ = nullptr;  // a DC of the screen's kind, for measuring at any time
    TGdiFontCache fonts_;
    std::unique_ptr<TGdiCellMetrics> metrics_;
    std::unique_ptr<fw::TFont> font_;
    std::unique_ptr<TZrtRTFTextInput> doc_;
    std::unique_ptr<TZrtRtfStrings> strings_;
    bool painting_ = false;
    bool buildingFont_ = false;
    bool transparent_ = false;
    bool showPageBreak_ = false;
    bool usePaperSize_ = false;
    bool disableMouse_ = true;
    bool oneClickHyperlink_ = true;
    fw::TCursor hyperLinkCursor_ = 0;
    bool cursorSaved_ = false;
    fw::TCursor savedCursor_ = 0;
    bool captured_ = false;
    int pagNumber_ = 0;
    int lastHyperlink_ = 0;
    bool modified_ = false;
    std::string fileName_;
    std::string htmlFilePath_;
    TStoreHTMLComment htmlStoreComment_ = TStoreHTMLComment::shcNone;
};

class TZrtRichTextLabel : public TZrtCustomRtfLabel {
public:
    using TZrtCustomRtfLabel::TZrtCustomRtfLabel;
};

// Registers the label classes, their enumerations and published properties, and the engine's classes.
void RegisterRichTextLabelClasses();

}  // namespace rt
