// TKVXEditModel: the text, cursor and selection of the suite's owner-drawn edits, without a window.
//
// Positions are 1-based: position p lies before character p, so the cursor runs from 1 to Length+1.
// Line breaks are CR LF pairs and no editing step splits one: a deletion that starts on the LF or ends
// on the CR of a pair takes the whole pair, an insertion between CR and LF goes before the CR. A bare
// LF or CR (set through Text) is an ordinary character.
//
// InsertText is the one editing primitive; keys, typing, the clipboard, mouse selection and drag-move
// are built on it and on the cursor setter, whose UpdateSelection extends the selection while Shift
// (or the mouse) extends it. Everything the model cannot decide alone (painting, the clipboard, the
// shared edit-mode flags, the OEM code page, and the descendants' hooks) goes through TKVXEditHooks.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

namespace kvx {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// What the owner of a model is told and asked. The defaults do nothing, keep insert mode and leave
// the clipboard empty, so a bare model works on its own.
class TKVXEditHooks {
public:
    virtual ~TKVXEditHooks() = default;

    // The descendants' slots, in the order InsertText calls them. FilterInsert receives the string
    // after the OEM conversion, so what it leaves is exactly what gets inserted.
    virtual void FilterInsert(std::string& text) {}
    virtual void BeforeInsert() {}
    virtual void TextDeleted(const std::string& text) {}
    virtual void TextChangedAt(int32_t pos) {}
    virtual void CursorPosChanged() {}
    virtual void TextSet() {}
    virtual void Modified() {}
    // Repaint the text from a position; -1 means all.
    virtual void PaintText(int32_t fromPos) {}

    // The edit-mode flags shared by all edits (kEditInsert, kEditShift, kEditCtrl, kEditAlt).
    virtual uint8_t EditMode() { return 1; }
    virtual void SetEditMode(uint8_t value) {}

    // The clipboard's text; "" when it holds none.
    virtual std::string ClipboardText() { return {}; }
    virtual void SetClipboardText(const std::string& text) {}

    // The text through the OEM code page and back: characters the OEM page lacks are replaced.
    virtual std::string OemRoundTrip(const std::string& text) { return text; }
};

class TKVXEditModel {
public:
    // Hooks may be null (a bare model); they must outlive the model.
    explicit TKVXEditModel(TKVXEditHooks* hooks = nullptr);

    // ---- text ----
    const std::string& Text() const { return text_; }
    // Equal text: nothing. Otherwise the text (cut to MaxLength, never between CR and LF), cursor 1,
    // no selection, then TextSet.
    void SetText(const std::string& value);
    int32_t Length() const { return static_cast<int32_t>(text_.size()); }
    // The character at a 1-based position; 0 outside the text.
    char CharAt(int32_t pos) const;

    // ---- cursor and selection ----
    int32_t CursorPos() const { return cursorPos_; }
    // Cut to 1..Length+1; UpdateSelection, then CursorPosChanged.
    void SetCursorPos(int32_t value);
    int32_t PrevCursorPos() const { return prevCursorPos_; }
    int32_t SelStart() const { return selStart_; }
    int32_t SelLength() const { return selLength_; }
    // Both keep the selection inside the text: SelStart in 1..Length+1, SelLength in 0..Length+1-SelStart.
    void SetSelStart(int32_t value);
    void SetSelLength(int32_t value);
    std::string GetSelText() const;
    // Copies at most BufSize-1 selected characters and a terminating NUL; returns the characters copied.
    int32_t GetSelTextBuf(char* buffer, int32_t bufSize) const;

    // ---- settings ----
    int32_t MaxLength() const { return maxLength_; }
    void SetMaxLength(int32_t value) { maxLength_ = value < 0 ? 0 : value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool value) { oemConvert_ = value; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value) { charCase_ = value; }
    // A secret text (password characters shown) is never copied or cut to the clipboard.
    bool Secret() const { return secret_; }
    void SetSecret(bool value) { secret_ = value; }
    bool Modified() const { return modified_; }
    // Stores, then the Modified hook.
    void SetModified(bool value);
    const std::string& PreviousText() const { return previousText_; }
    bool IsDelimiter(char c) const { return delimiters_[static_cast<unsigned char>(c)]; }
    void SetDelimiter(char c, bool value) { delimiters_[static_cast<unsigned char>(c)] = value; }

    // ---- editing ----
    // Replaces the selection (in overwrite mode the character at the cursor) with Text.
    void InsertText(std::string text);
    // A typed character (codes above 31 only), case-mapped by CharCase; Shift does not extend the
    // selection meanwhile.
    void TypeChar(char c);
    void SelectAll();
    void ClearSelection() { InsertText({}); }
    void Clear();
    // The text before the last insertion, cursor at 1.
    void Undo() { SetText(previousText_); }
    void CopyToClipboard();
    void CutToClipboard();
    // Line breaks of the clipboard's text become CR LF pairs.
    void PasteFromClipboard();

    // ---- keys ----
    // The edit's own key handling (virtual-key codes; the modifiers come from the edit-mode flags).
    // Key becomes 0 for the Ctrl+letter commands. The text is repainted when the selection changed.
    void EditKeyDown(uint16_t& key);
    void MoveToLineStart();
    void MoveToLineEnd();
    void MoveWordLeft();
    void MoveWordRight();
    // Selects the word at the cursor; on a delimiter, nothing.
    void SelectWord();

    // ---- mouse ----
    bool MouseExtend() const { return mouseExtend_; }
    bool DragMoving() const { return dragMoving_; }
    // A button press (or a timer tick) at Pos: a press strictly inside the selection starts a
    // drag-move (true); then the cursor goes to Pos.
    bool MouseSelect(int32_t pos);
    // The mouse timer: extends a selection while the button is held beyond the text; true when it
    // started a drag-move (as MouseSelect).
    bool MouseTimer(int32_t pos);
    // A move with the left button held: the selection follows the cursor.
    void MouseMoveTo(int32_t pos);
    // The button went up during a drag-move: a drop on the selection collapses it, elsewhere the
    // selected text moves to the drop point and the cursor stands before it.
    void EndDragMove();

private:
    uint8_t Mode() const;
    void UpdateSelection();
    // Widens the selection over the CR LF pairs at its ends.
    void WidenSelection();
    bool PairAt(int32_t pos) const { return CharAt(pos) == '\r' && CharAt(pos + 1) == '\n'; }

    TKVXEditHooks* hooks_;
    TKVXEditHooks none_;
    std::string text_;
    std::string previousText_;
    int32_t cursorPos_ = 1;
    int32_t prevCursorPos_ = 1;
    int32_t selStart_ = 1;
    int32_t selLength_ = 0;
    int32_t maxLength_ = 0;
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
    std::bitset<256> delimiters_;
    bool modified_ = false;
    bool readOnly_ = false;
    bool oemConvert_ = false;
    bool secret_ = false;
    bool typing_ = false;
    bool dragMoving_ = false;
    bool mouseExtend_ = false;
    bool forceInsert_ = false;
};

}  // namespace kvx
