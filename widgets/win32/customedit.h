// TKVXCustomEdit: the one-line owner-drawn edit. It shows the text itself or one PasswordChar per
// character, scrolls horizontally so the caret stays in view, maps clicks to positions, paints text
// and selection through the base edit's back buffer and can size its height to its font. TKVXEdit is
// the published component.
//
// Everything is measured on the text shown: with PasswordChar set the edit measures, hit-tests and
// highlights the password characters, and never hands the real text to the clipboard.
#pragma once

#include <string>

#include "widgets/win32/baseedit.h"

namespace kvx::win32 {

class TKVXCustomEdit : public TKVXBaseEdit {
public:
    explicit TKVXCustomEdit(TComponent* owner);

    char PasswordChar() const { return passwordChar_; }
    // The shown text changes at the next text change; copying and cutting stop at once.
    void SetPasswordChar(char value);
    void SetAutoSize(bool value) override;
    // What is painted and measured.
    const std::string& DisplayText() const { return displayText_; }
    // The text length at the last TextSet.
    int32_t TextLengthAtSet() const { return textLength_; }
    int32_t ScrollOffset() const { return scrollOffset_; }

    // Sizes the height to the font when AutoSize is set.
    virtual void AdjustHeight();

    void UpdateCaret() override;
    void TextSet() override;
    void TextRead() override {}
    void PaintText(int32_t fromPos) override;
    int32_t PosFromPoint(TPoint point) override;
    void TextChangedAt(int32_t pos) override;

protected:
    void Loaded() override;
    void Paint() override;
    void Dispatch(fw::TMessage& message) override;

private:
    int PrefixWidth(int32_t count);
    void DrawLine(fw::TCanvas* canvas);

    std::string displayText_;
    char passwordChar_ = 0;
    int32_t textLength_ = 0;
};

class TKVXEdit : public TKVXCustomEdit {
public:
    using TKVXCustomEdit::TKVXCustomEdit;
};

}  // namespace kvx::win32
