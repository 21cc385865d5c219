#include "widgets/win32/editregister.h"

#include "framework/core/rtti.h"
#include "widgets/win32/customedit.h"

namespace kvx::win32 {

void KVXRegisterEditClasses() {
    using fw::Class;
    fw::RegisterEnum<TKVXCaretStyles>({"csDefault", "csBlock", "csUnder", "csOver", "csBitmap", "csUnderBlock"},
                                      "TKVXCaretStyles");
    fw::RegisterEnum<TKVXCaretBitmap>({"cbBmpSize", "cbTile", "cbStretch"}, "TKVXCaretBitmap");
    fw::RegisterEnum<TEditCharCase>({"ecNormal", "ecUpperCase", "ecLowerCase"}, "TKVXEditCharCase");
    Class<TKVXCaret, TKVXObject>("TKVXCaret")
        .Prop("BlinkRate", &TKVXCaret::BlinkRate, &TKVXCaret::SetBlinkRate)
        .Prop("Style", &TKVXCaret::Style, &TKVXCaret::SetStyle)
        .Prop("Width", &TKVXCaret::Width, &TKVXCaret::SetWidth)
        .Prop("Height", &TKVXCaret::Height, &TKVXCaret::SetHeight)
        .Prop("ImageIndex", 2, &TKVXCaret::GetIndexProp, &TKVXCaret::SetIndexProp)
        .Prop("ListIndex", 3, &TKVXCaret::GetIndexProp, &TKVXCaret::SetIndexProp)
        .Prop("CaretBmpMode", &TKVXCaret::CaretBmpMode, &TKVXCaret::SetCaretBmpMode)
        .Prop("Bitmap", &TKVXCaret::Bitmap, &TKVXCaret::SetBitmap);
    using B = TKVXBaseEdit;
    Class<B, TKVXCustomBevelPanel>("TKVXBaseEdit")
        .Prop("Caret", &B::Caret, &B::SetCaret)
        .Prop("FocusOnMouseAbove", &B::FocusOnMouseAbove, &B::SetFocusOnMouseAbove)
        .Prop("HighlightBack", &B::HighlightBack, &B::SetHighlightBack)
        .Prop("HighlightText", &B::HighlightText, &B::SetHighlightText)
        .Event("OnChange", &B::OnChange)
        .Event("OnCursorPosChanged", &B::OnCursorPosChanged)
        .Event("OnModified", &B::OnModified)
        .Event("OnTextChangedAt", &B::OnTextChangedAt);
    using C = TKVXCustomEdit;
    Class<C, B>("TKVXCustomEdit")
        .Prop("CharCase", &C::CharCase, &C::SetCharCase)
        .Prop("Font3D", &C::Font3D, &C::SetFont3D)
        .Prop("MaxLength", &C::MaxLength, &C::SetMaxLength)
        .Prop("HideSelection", &C::HideSelection, &C::SetHideSelection)
        .Prop("ReadOnly", &C::ReadOnly, &C::SetReadOnly)
        .Prop("AutoSelect", &C::AutoSelect, &C::SetAutoSelect)
        .Prop("OEMConvert", &C::OEMConvert, &C::SetOEMConvert);
    Class<TKVXEdit, C>("TKVXEdit")
        .Prop("PasswordChar", &TKVXEdit::PasswordChar, &TKVXEdit::SetPasswordChar)
        .Prop("Text", &TKVXEdit::EditText, &TKVXEdit::SetText)
        .Prop("AutoSize", &TKVXEdit::AutoSize, &TKVXEdit::SetAutoSize);
}

}  // namespace kvx::win32
