// Single-line edits over the system EDIT class. TCustomEdit is the base of memos and of the suite's
// own edits: a descendant changes the window through CreateParams (ES_MULTILINE, ES_WANTRETURN) and
// CreateWnd, and may set the formatting rectangle with SetEditRect (EM_SETRECTNP).
//
// The window keeps the text while it exists; RecreateWnd keeps text, selection and modified flag.
#pragma once

#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/std_types.h"

namespace fw {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);

    // 0: no limit of ours (the system's default limit stays).
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // 0: plain text.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // Selects the whole text when the edit gets the focus from the keyboard or by code.
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool value) { autoSelect_ = value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    // The edit's height follows its font (single-line edits only).
    void SetAutoSize(bool value) override;
    bool Modified() const;
    void SetModified(bool value);

    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(""); }
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void CreateWindowState() override;
    void Dispatch(TMessage& message) override;
    void DoEnter() override;
    virtual void Change();
    // The formatting rectangle, in client coordinates, without a repaint (EM_SETRECTNP; multi-line).
    void SetEditRect(const TRect& rect);
    // The height an auto-sized single-line edit takes for its font.
    void AdjustHeight();

private:
    void CNCommand(TMessage& message);

    int maxLength_ = 0;
    char passwordChar_ = 0;
    bool readOnly_ = false;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool autoSelect_ = true;
    bool hideSelection_ = true;
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
    bool modified_ = false;   // kept while the window is re-created
    int savedSelStart_ = -1;  // selection kept while the window is re-created
    int savedSelEnd_ = -1;
    bool creating_ = false;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// Registers TCustomEdit and TEdit with their enumerations.
void RegisterEditClasses();

}  // namespace fw
