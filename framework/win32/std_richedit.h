// TRichEdit over the system rich edit control ("RichEdit20A" of riched20.dll): text as lines, plain
// or rich text, the selection, the attributes of the selected text, and the clipboard commands.
#pragma once

#include "framework/win32/std_support.h"

#include <richedit.h>

namespace fw {

class TRichEdit;

// The character format of the selection (or of what is typed next).
class TTextAttributes : public TPersistent {
public:
    explicit TTextAttributes(TRichEdit* edit) : edit_(edit) {}
    TColor Color() const;
    void SetColor(TColor value);
    std::string Name() const;
    void SetName(const std::string& value);
    // Height in pixels (the character height, as TFont.Height with the sign dropped).
    int Height() const;
    void SetHeight(int value);
    int Size() const;
    void SetSize(int value);
    TFontPitch Pitch() const;
    void SetPitch(TFontPitch value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    void Assign(TPersistent* source) override;

private:
    CHARFORMAT2A Get() const;
    void Set(CHARFORMAT2A& format) const;
    TRichEdit* edit_;
};

class TRichEdit : public TWinControl {
public:
    explicit TRichEdit(TComponent* owner);

    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    // 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    int SelStart();
    void SetSelStart(int value);
    int SelLength();
    void SetSelLength(int value);
    std::string SelText();
    void SetSelText(const std::string& value);
    void SelectAll();
    TTextAttributes* SelAttributes() const { return selAttributes_.get(); }
    void SetSelAttributes(TTextAttributes* value) { selAttributes_->Assign(value); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void Clear() { SetText(""); }

    TNotifyEvent OnChange;

protected:
    ~TRichEdit() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;

private:
    class LineStrings;
    std::unique_ptr<TStrings> lines_;
    std::unique_ptr<TTextAttributes> selAttributes_;
    bool plainText_ = false;
    bool readOnly_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    int maxLength_ = 0;
};

void RegisterRichEditClasses();

}  // namespace fw
