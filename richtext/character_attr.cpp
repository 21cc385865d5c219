#include "richtext/character_attr.h"

#include "framework/core/graphics_values.h"
#include "framework/core/rtti.h"

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

namespace {

// Colours are written by their identifiers (clBlue) where they have one, else as $hex.
const fw::IdentTable& ColorIdentifiers() {
    static const fw::IdentTable table = [] {
        fw::IdentTable t;
        t.hexFallback = true;
        for (const auto& [value, name] : fw::ColorIdents()) t.idents.emplace_back(name, static_cast<int64_t>(value));
        return t;
    }();
    return table;
}

}  // namespace

void RegisterCharacterAttrClass() {
    fw::RegisterClasses();
    fw::RegisterEnum<TThreeState>({"tsIgnore", "tsTRUE", "tsFALSE"}, "TThreeState");
    using A = TCharacterAttr;
    fw::Class<A, fw::TPersistent>("TCharacterAttr")
        .Prop("Bold", &A::Bold, &A::SetBold)
        .Prop("Italic", &A::Italic, &A::SetItalic)
        .Prop("Underline", &A::Underline, &A::SetUnderline)
        .Prop("StrikeOut", &A::StrikeOut, &A::SetStrikeOut)
        .Prop("SuperScript", &A::SuperScript, &A::SetSuperScript)
        .Prop("SubScript", &A::SubScript, &A::SetSubScript)
        .Prop("Hidden", &A::Hidden, &A::SetHidden)
        .Prop("UnderlineColor", &A::UnderlineColor, &A::SetUnderlineColor)
        .Idents(ColorIdentifiers())
        .Prop("UseUnderlineColor", &A::UseUnderlineColor, &A::SetUseUnderlineColor)
        .Prop("TextColor", &A::TextColor, &A::SetTextColor)
        .Idents(ColorIdentifiers())
        .Prop("UseTextColor", &A::UseTextColor, &A::SetUseTextColor)
        .Prop("BackgroundColor", &A::BackgroundColor, &A::SetBackgroundColor)
        .Idents(ColorIdentifiers())
        .Prop("UseBackgroundColor", &A::UseBackgroundColor, &A::SetUseBackgroundColor);
}

}  // namespace rt
