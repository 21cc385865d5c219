#include "uisupport/win32/helpbutton.h"

#include "framework/win32/graphics.h"

namespace uis {

namespace {

// The owner of a new help button, once it is known to hold no other.
fw::TComponent* SingleButtonOwner(fw::TComponent* owner) {
    if (owner) {
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (dynamic_cast<TqhlHelpButton*>(owner->Components(i)))
                throw EHADisignTimeError("Only one instance of the qhlHelpButton is allowed for any form");
    }
    return owner;
}

}  // namespace

TqhlHelpButton::TqhlHelpButton(fw::TComponent* owner) : TKyvSpeedButton(SingleButtonOwner(owner)) {
    SetBounds(Left(), Top(), 23, 23);
    SetFlat(true);
    SetGroupIndex(kHelpButtonGroupIndex);
    SetAllowAllUp(true);
    LoadDefaultGlyph();
}

void TqhlHelpButton::SetGlyph(fw::TBitmap* value) {
    if (!value || value->Empty()) {
        LoadDefaultGlyph();
        return;
    }
    TKyvSpeedButton::SetGlyph(value);
    SetNumGlyphs(2);
}

void TqhlHelpButton::LoadDefaultGlyph() {
    fw::TBitmap glyph;
    try {
        glyph.LoadFromResourceName(GetModuleHandleA(nullptr), "HELPBUTTONGLYPH");
    } catch (const fw::EInvalidGraphic&) {
        return;  // a program without the resource shows the button without a glyph
    }
    TKyvSpeedButton::SetGlyph(&glyph);
    SetNumGlyphs(2);
}

void RegisterHelpButtonClasses() {
    RegisterSpeedButtonClasses();
    // The monitor owns the group, the state, the hint and the mouse events: read-only here.
    fw::Class<TqhlHelpButton, TKyvSpeedButton>("TqhlHelpButton")
        .Prop("Glyph", &TqhlHelpButton::Glyph, &TqhlHelpButton::SetGlyph)
        .Prop("GroupIndex", &TqhlHelpButton::GroupIndex)
        .Prop("AllowAllUp", &TqhlHelpButton::AllowAllUp)
        .Prop("NumGlyphs", &TqhlHelpButton::NumGlyphs)
        .Prop("Down", &TqhlHelpButton::Down)
        .Prop("Hint", &TqhlHelpButton::Hint);
}

}  // namespace uis
