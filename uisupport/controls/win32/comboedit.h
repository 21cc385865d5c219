// TCustomComboEdit: a one-line edit with a small button at its right end (TEditButton in a windowed
// holder). The text never runs under the button, ClickKey (Alt+Down) clicks it, Enter and Escape reach
// the form's default and cancel buttons, and ReadOnly or DirectInput off lock typing, cut and paste.
// The window is a multi-line edit underneath (for its formatting rectangle), so line breaks are kept
// out of the text: Enter never inserts one and a paste keeps only its first line.
#pragma once

#include <memory>

#include "framework/core/exceptions.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/std_edit.h"
#include "uisupport/controls/win32/kyvctrls.h"

namespace fw {
class TBitmap;
}

namespace uis {

class EComboEditError : public fw::Exception {
public:
    using Exception::Exception;
};

enum class TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };

// The edit's button: a speed button that takes its hint setting from its parent and marks its left
// edge except while pressed.
class TEditButton : public TKyvSpeedButton {
public:
    explicit TEditButton(fw::TComponent* owner);

protected:
    void Paint() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
};

class TCustomComboEdit : public fw::TCustomEdit {
public:
    explicit TCustomComboEdit(fw::TComponent* owner);

    TEditButton* Button() const { return button_; }
    fw::TWinControl* ButtonHolder() const { return holder_; }
    int ButtonWidth() const;
    // Widths of the client width and above are refused; 1 and less hide the button.
    void SetButtonWidth(int value);
    fw::TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(fw::TShortCut value) { clickKey_ = value; }
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    fw::TBitmap* Glyph() const { return button_->Glyph(); }
    // Makes the glyph the user's own (gkCustom).
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return button_->NumGlyphs(); }
    // Only a custom glyph takes the count; the other kinds keep theirs.
    void SetNumGlyphs(int value);
    // Stored with the form only where the glyph kind does not imply them.
    bool IsButtonWidthStored() const;
    bool IsGlyphStored() const { return glyphKind_ == TGlyphKind::gkCustom; }
    std::string ButtonHint() const { return button_->Hint(); }
    void SetButtonHint(const std::string& value) { button_->SetHint(value); }

    // Runs the button's action: nothing while ReadOnly.
    void ButtonClick();
    // The least height that shows a line of text: the smaller of the system font's and the control
    // font's text heights, plus four borders and one pixel. Smaller heights are raised to it.
    int MinHeight();
    void SetBounds(int left, int top, int width, int height) override;

protected:
    ~TCustomComboEdit() override;
    void CreateParams(fw::TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(fw::TMessage& message) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    // What the button does after the edit's checks; the file and folder edits open their dialogs.
    virtual void DoButtonClick() {}
    // The class's own bitmap for gkDefault (null: none) and the count of its glyphs.
    virtual fw::TBitmap* DefaultBitmap() { return nullptr; }
    virtual int DefaultNumGlyphs() const { return 1; }

private:
    void UpdateHolder();
    void UpdateEditRect();
    void RebuildGlyph();
    void UpdateLock();
    void PasteFirstLine();
    int TextHeight();
    void CreateTextCaret();

    fw::TWinControl* holder_ = nullptr;
    TEditButton* button_ = nullptr;
    fw::TShortCut clickKey_;
    bool directInput_ = true;
    bool readOnly_ = false;
    TGlyphKind glyphKind_ = TGlyphKind::gkCustom;
    std::unique_ptr<fw::TBitmap> ownGlyph_;  // the drop-down or ellipsis bitmap made here
};

void RegisterComboEditClasses();

}  // namespace uis
