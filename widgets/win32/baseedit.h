// TKVXBaseEdit: the owner-drawn edit base of the suite, a bevelled panel that keeps its own 8-bit text
// (the window-less TKVXEditModel), handles keys, the mouse, the clipboard and a built-in right-click
// menu, and leaves the geometry to its descendants: which position lies under a point, where the
// caret stands and how the text is painted. TKVXCustomEdit is the one-line edit; a multi-line memo
// derives from this class too.
//
// The contract with descendants:
// - the text may hold line breaks as CR LF pairs, and no editing step splits one;
// - InsertText calls FilterInsert (with the string after the OEM conversion, so it may count or change
//   the final string), then BeforeInsert, TextDeleted with what it removes, TextChangedAt, and the
//   cursor setter (CursorPosChanged, UpdateCaret);
// - UpdateCaret, TextSet, TextRead, PaintText and PosFromPoint are the descendant's; the others have a
//   base behaviour a descendant may extend;
// - PaintBackgroundRect(Rect) fills a part of the text area; it is separate from the panel's own
//   PaintBackground().
// The edit-mode flags (insert mode, held Shift, Ctrl and Alt) are the application object's, shared by
// every suite edit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/win32/menus.h"
#include "widgets/editmodel.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/caret.h"
#include "widgets/win32/panels.h"

namespace kvx::win32 {

using TKVXTextChangeEvent = fw::Event<void(TObject* Sender, int32_t At)>;

// The built-in menu's items, in order (separators included).
enum class TKVXEditMenuItem { emUndo, emSep1, emCut, emCopy, emInsert, emDelete, emSep2, emSelectAll };

class TKVXBaseEdit : public TKVXCustomBevelPanel {
public:
    explicit TKVXBaseEdit(TComponent* owner);

    // ---- text ----
    // A copy of the buffer; then TextRead.
    std::string Text();
    // Equal text: nothing; otherwise the buffer (cut to MaxLength), cursor 1, no selection, TextSet.
    void SetText(const std::string& value);
    // The buffer without TextRead.
    const std::string& TextBuffer() const { return model_.Text(); }
    int32_t TextLength() const { return model_.Length(); }

    // ---- cursor and selection ----
    int32_t CursorPos() const { return model_.CursorPos(); }
    void SetCursorPos(int32_t value) { model_.SetCursorPos(value); }
    int32_t SelStart() const { return model_.SelStart(); }
    void SetSelStart(int32_t value) { model_.SetSelStart(value); }
    int32_t SelLength() const { return model_.SelLength(); }
    void SetSelLength(int32_t value) { model_.SetSelLength(value); }
    // Index 0 MaxLength, 1 SelStart, 2 SelLength, 5 CursorPos.
    void SetIntIndexProp(int index, int32_t value);
    int32_t MaxLength() const { return model_.MaxLength(); }
    void SetMaxLength(int32_t value) { model_.SetMaxLength(value); }

    // ---- flags ----
    // Index 0 HideSelection, 1 ReadOnly, 2 Modified (raises OnModified), 4 AutoSelect, 5 OEMConvert,
    // 6 FocusOnMouseAbove.
    void SetBoolIndexProp(int index, bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { SetBoolIndexProp(0, value); }
    bool ReadOnly() const { return model_.ReadOnly(); }
    void SetReadOnly(bool value) { SetBoolIndexProp(1, value); }
    bool Modified() const { return model_.Modified(); }
    void SetModified(bool value) { SetBoolIndexProp(2, value); }
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { SetBoolIndexProp(4, value); }
    bool OEMConvert() const { return model_.OEMConvert(); }
    void SetOEMConvert(bool value) { SetBoolIndexProp(5, value); }
    bool FocusOnMouseAbove() const { return focusOnMouseAbove_; }
    void SetFocusOnMouseAbove(bool value) { SetBoolIndexProp(6, value); }
    TEditCharCase CharCase() const { return model_.CharCase(); }
    void SetCharCase(TEditCharCase value) { model_.SetCharCase(value); }
    bool SelectionHidden() const { return selectionHidden_; }

    TColor HighlightText() const { return highlightText_; }
    void SetHighlightText(TColor value) { highlightText_ = value; }
    TColor HighlightBack() const { return highlightBack_; }
    void SetHighlightBack(TColor value) { highlightBack_ = value; }

    // ---- sub-objects ----
    TKVXCaret* Caret() const { return caret_.get(); }
    // TKVXCaret::Assign.
    void SetCaret(TKVXCaret* value) { caret_->Assign(value); }
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    // Copies the caption, then CM_FONTCHANGED.
    void SetFont3D(TKVX3DCaption* value);
    // The text model (for descendants and tests).
    TKVXEditModel& Model() { return model_; }
    const TKVXEditModel& Model() const { return model_; }

    // ---- editing ----
    void InsertText(const std::string& text) { model_.InsertText(text); }
    std::string GetSelText() const { return model_.GetSelText(); }
    void SelectAll() { model_.SelectAll(); }
    void ClearSelection() { model_.ClearSelection(); }
    void CopyToClipboard() { model_.CopyToClipboard(); }
    void CutToClipboard() { model_.CutToClipboard(); }
    void PasteFromClipboard() { model_.PasteFromClipboard(); }
    void Undo() { model_.Undo(); }
    void MoveToLineStart() { model_.MoveToLineStart(); }
    void MoveToLineEnd() { model_.MoveToLineEnd(); }
    void MoveWordLeft() { model_.MoveWordLeft(); }
    void MoveWordRight() { model_.MoveWordRight(); }

    // ---- the edit's virtual operations, in slot order ----
    // Scroll as needed and place the caret for CursorPos.
    virtual void UpdateCaret() = 0;
    // Invalidate; also the change handler of Font3D.
    virtual void Redraw(TObject* sender);
    // The whole text was replaced.
    virtual void TextSet() = 0;
    // The text was read through Text.
    virtual void TextRead() = 0;
    // Repaint the text from a position; -1 means all.
    virtual void PaintText(int32_t fromPos) = 0;
    // The position under a client point.
    virtual int32_t PosFromPoint(TPoint point) = 0;
    // The canvas's text height of S, plus the shadow depth of a shadowed Font3D.
    virtual int GetTextHeight(const std::string& s);
    // UpdateCaret, then OnCursorPosChanged.
    virtual void CursorPosChanged();
    // PaintText(CursorPos), then OnTextChangedAt.
    virtual void TextChangedAt(int32_t pos);
    // Called by InsertText before it changes anything.
    virtual void BeforeInsert() {}
    // May change the string InsertText is about to insert.
    virtual void FilterInsert(std::string& s) {}
    // Receives the text InsertText removes.
    virtual void TextDeleted(const std::string& s) {}
    // Rect from the parent's background (transparent edit) or filled with Color, on the back buffer
    // when there is one.
    virtual void PaintBackgroundRect(const TRect& rect);
    // Called by Paint after the background.
    virtual void AfterPaintBackground() {}
    // Called by Paint before the text rectangle is taken over; may change TextRect.
    virtual void AdjustTextRect() {}
    // The word at the cursor (a double click).
    virtual void SelectWord() { model_.SelectWord(); }
    // At most BufSize-1 selected characters and a NUL; the number copied.
    virtual int32_t GetSelTextBuf(char* buffer, int32_t bufSize) { return model_.GetSelTextBuf(buffer, bufSize); }
    // SelectAll, then InsertText of nothing.
    virtual void Clear() { model_.Clear(); }
    // The edit's own key handling, after OnKeyDown; descendants add keys.
    virtual void EditKeyDown(uint16_t& key, fw::TShiftState shift);

    // The built-in right-click menu, owned by the edit, its items enabled for the present state; the
    // caller frees it.
    fw::TPopupMenu* MakeEditMenu();

    TNotifyEvent OnChange;
    TNotifyEvent OnCursorPosChanged;
    TKVXTextChangeEvent OnTextChangedAt;
    TNotifyEvent OnModified;

protected:
    ~TKVXBaseEdit() override;
    void Loaded() override;
    void Paint() override;
    void Dispatch(fw::TMessage& message) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void KeyUp(uint16_t& key, fw::TShiftState shift) override;
    void WMSetFocus(fw::TMessage& message) override;
    void WMKillFocus(fw::TMessage& message) override;
    void WMEraseBkgnd(fw::TMessage& message) override { message.Result = 1; }

    // SetCaretPos at (X, Y), lower for the underline carets.
    void PlaceCaret(int x, int y);
    // The canvas (the back buffer's when double buffering has one) that text is painted on.
    fw::TCanvas* PaintCanvas();
    // A canvas in the edit's Font for measuring text, usable at any time.
    fw::TCanvas* MeasureCanvas();
    bool DoubleBuffered() const { return doubleBuffered_; }
    fw::TBitmap* BackBuffer() const { return backBuffer_.get(); }
    // Descendants' state: the client less the bevel, and that less one pixel (AdjustTextRect may
    // change it); the horizontal scroll offset in pixels.
    TRect textArea_{};
    TRect textRect_{};
    int32_t scrollOffset_ = 0;

private:
    class Hooks;
    void MouseSelect();
    void MouseTimer(TObject* sender);
    void StartDragCursor();
    void SwitchMouseTimer(bool on);
    void EndDragMove();
    void ShowEditMenu(TPoint screen);
    void SetEditModeKeys(fw::TShiftState shift);

    std::unique_ptr<Hooks> hooks_;
    TKVXEditModel model_;
    std::unique_ptr<TKVXCaret> caret_;
    std::unique_ptr<TKVX3DCaption> font3D_;
    std::unique_ptr<fw::TBitmap> backBuffer_;
    std::unique_ptr<fw::TBitmap> measure_;
    TColor highlightText_ = fw::clHighlightText;
    TColor highlightBack_ = fw::clHighlight;
    TPoint lastMouse_{};
    fw::TCursor savedCursor_ = 0;
    uint16_t mouseTimer_ = 0;
    bool hideSelection_ = true;
    bool autoSelect_ = false;
    bool focusOnMouseAbove_ = false;
    bool selectionHidden_ = false;
    bool mouseDown_ = false;
    bool doubleBuffered_ = true;
    // When set, WM_SETTEXT and WM_GETTEXT leave TextSet and TextRead alone (never set here).
    bool textMessageGuard_ = false;
};

}  // namespace kvx::win32
