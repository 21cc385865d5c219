// How one kind of special text (insertion points, automatic text, hyperlinks, protected text,
// bookmarks) is shown: three-state overrides of the text's own style and optional colours.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/core/object.h"
#include "richtext/engine_settings.h"

namespace rt {

enum class TThreeState { tsIgnore, tsTRUE, tsFALSE };

class TCharacterAttr : public fw::TPersistent {
public:
    // Receives (code, needsReformat) after a property changed.
    using ChangeHandler = std::function<void(uint32_t code, bool needsReformat)>;

    explicit TCharacterAttr(uint32_t code = 0) : code_(code) {}

    uint32_t Code() const { return code_; }
    void SetOnChange(ChangeHandler handler) { onChange_ = std::move(handler); }

    TThreeState Bold() const { return bold_; }
    void SetBold(TThreeState v) { SetState(bold_, v, true); }
    TThreeState Italic() const { return italic_; }
    void SetItalic(TThreeState v) { SetState(italic_, v, true); }
    TThreeState Underline() const { return underline_; }
    void SetUnderline(TThreeState v) { SetState(underline_, v, false); }
    TThreeState StrikeOut() const { return strikeOut_; }
    void SetStrikeOut(TThreeState v) { SetState(strikeOut_, v, false); }
    TThreeState SuperScript() const { return superScript_; }
    void SetSuperScript(TThreeState v) { SetState(superScript_, v, true); }
    TThreeState SubScript() const { return subScript_; }
    void SetSubScript(TThreeState v) { SetState(subScript_, v, true); }
    bool Hidden() const { return hidden_; }
    void SetHidden(bool v) { SetState(hidden_, v, true); }
    bool UseUnderlineColor() const { return useUnderlineColor_; }
    void SetUseUnderlineColor(bool v);
    bool UseTextColor() const { return useTextColor_; }
    void SetUseTextColor(bool v) { SetState(useTextColor_, v, false); }
    bool UseBackgroundColor() const { return useBackgroundColor_; }
    void SetUseBackgroundColor(bool v) { SetState(useBackgroundColor_, v, false); }
    TColor UnderlineColor() const { return underlineColor_; }
    void SetUnderlineColor(TColor v) { SetColor(underlineColor_, useUnderlineColor_, v); }
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor v) { SetColor(textColor_, useTextColor_, v); }
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor v) { SetColor(backgroundColor_, useBackgroundColor_, v); }

    void Assign(fw::TPersistent* source) override;

private:
    template <class T>
    void SetState(T& field, T value, bool needsReformat) {
        if (field == value) return;
        field = value;
        Notify(needsReformat);
    }
    void SetColor(TColor& field, bool& use, TColor value);
    void Notify(bool needsReformat) {
        if (onChange_) onChange_(code_, needsReformat);
    }

    uint32_t code_ = 0;
    ChangeHandler onChange_;
    TThreeState bold_ = TThreeState::tsIgnore;
    TThreeState italic_ = TThreeState::tsIgnore;
    TThreeState underline_ = TThreeState::tsIgnore;
    TThreeState strikeOut_ = TThreeState::tsIgnore;
    TThreeState superScript_ = TThreeState::tsIgnore;
    TThreeState subScript_ = TThreeState::tsIgnore;
    bool hidden_ = false;
    bool useUnderlineColor_ = false;
    bool useTextColor_ = false;
    bool useBackgroundColor_ = false;
    TColor underlineColor_ = 0;
    TColor textColor_ = 0;
    TColor backgroundColor_ = 0;
};

// Registers TThreeState and TCharacterAttr with its published properties (form text names them).
void RegisterCharacterAttrClass();

}  // namespace rt
