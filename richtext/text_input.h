// TZrtRTFTextInput: the document that turns typed characters into model edits and reflows only what
// they changed. Every character reports how much must be painted again; a string of one character
// repaints that much itself, longer strings leave it to the caller. The typing attribute follows the
// text before the cursor.
#pragma once

#include <functional>
#include <string>

#include "richtext/text_paint.h"

namespace rt {

// ProtectOptions: the cells the typing attribute is never taken from.
enum : uint32_t {
    ptProtected = 0x1,
    ptInsertPoints = 0x2,
    ptAutomatic = 0x4,
    ptHidden = 0x8,
    ptInvisible = 0x10,  // cells of width 0
};

class TZrtRTFTextInput : public TZrtRTFTextPaint {
public:
    explicit TZrtRTFTextInput(fw::TComponent* owner = nullptr) : TZrtRTFTextPaint(owner) {}

    // Types `text` at the cursor; ignored while ReadOnly, during a layout pass or without paragraphs.
    void InputString(const std::string& text);
    // One character (8 backspace, 10 soft break, 12 page break, 13 Enter, 127 delete, others typed);
    // `more`: further characters of the string follow, so the paragraph is not reflowed yet. Answers
    // what to paint again: 0 nothing, 1 the changed lines of the cursor's paragraph, 2 all its lines,
    // 3 everything.
    int TypeChars(char ch, bool more);
    // The current cell takes the attributes of the text before the cursor.
    void UpdateCurrentAttr();

    void SetCursorFromPoint(int x, int y, bool autoscroll, bool select) override;
    void SetCursorPos(int absolute, int lineIndex, int posInParagraph, int paragraphIndex) override;
    int ReadWith(fw::TStream& stream, TZrtCustomTextReader& reader) override;
    void Clear() override;

    bool CursorPlacement = true;  // false: points never move the cursor
    uint32_t ProtectOptions = 0;
    bool DeleteObjects = false;  // Delete removes a selected object
    bool RenumberPending = false;
    std::function<void()> OnAttrChanged;

private:
    int DeleteAtCursor();
    int BreakParagraph(bool pageBreak, bool more);
    // Measures and wraps the cursor's paragraph and places the lines again; answers the repaint level.
    int Reflow(TParagraph* p, bool compare);
};

}  // namespace rt
