#include "richtext/character_attr.h"

namespace rt {

void TCharacterAttr::SetUseUnderlineColor(bool v) {
    if (useUnderlineColor_ == v) return;
    useUnderlineColor_ = v;
    // The underline colour only shows while the underline is forced on.
    if (underline_ == TThreeState::tsTRUE) Notify(false);
}

void TCharacterAttr::SetColor(TColor& field, bool& use, TColor value) {
    if (field == value) return;
    field = value;
    use = true;
    Notify(false);
}

void TCharacterAttr::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TCharacterAttr*>(source);
    if (!other) {
        fw::TPersistent::Assign(source);
        return;
    }
    bold_ = other->bold_;
    italic_ = other->italic_;
    underline_ = other->underline_;
    strikeOut_ = other->strikeOut_;
    superScript_ = other->superScript_;
    subScript_ = other->subScript_;
    hidden_ = other->hidden_;
    useUnderlineColor_ = other->useUnderlineColor_;
    useTextColor_ = other->useTextColor_;
    useBackgroundColor_ = other->useBackgroundColor_;
    underlineColor_ = other->underlineColor_;
    textColor_ = other->textColor_;
    backgroundColor_ = other->backgroundColor_;
    Notify(true);
}

}  // namespace rt
