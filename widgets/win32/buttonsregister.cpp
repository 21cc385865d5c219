#include "widgets/win32/buttonsregister.h"

#include "framework/core/rtti.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/spinedit.h"

namespace kvx::win32 {

namespace {

using fw::Class;

void RegisterSpinEdit() {
    fw::RegisterEditClasses();
    using S = TKVXCustomSpinEdit;
    Class<TKVXSpinButton, fw::TGraphicControl>("TKVXSpinButton")
        .Event("OnTopClick", &TKVXSpinButton::OnTopClick)
        .Event("OnBottomClick", &TKVXSpinButton::OnBottomClick);
    Class<S, fw::TCustomEdit>("TKVXCustomSpinEdit")
        .Prop("Alignment", &S::Alignment, &S::SetAlignment)
        .Prop("EditorEnabled", &S::EditorEnabled, &S::SetEditorEnabled)
        .Prop("Interval", &S::Interval, &S::SetInterval)
        .Prop("LineSize", &S::LineSize, &S::SetLineSize)
        .Prop("MaxValue", &S::MaxValue, &S::SetMaxValue)
        .Prop("MinValue", &S::MinValue, &S::SetMinValue)
        .Prop("PageSize", &S::PageSize, &S::SetPageSize)
        .Prop("Suffix", &S::Suffix, &S::SetSuffix);
    Class<TKVXSpinEdit, S>("TKVXSpinEdit").Prop("Value", &S::Value, &S::SetValue);
}

void RegisterCheckButtons() {
    fw::RegisterButtonClasses();
    using B = TKVXButtonControl;
    Class<B, TKVXCustomPanel>("TKVXButtonControl")
        .Prop("Alignment", &B::Alignment, &B::SetAlignment)
        .Prop("Font3D", &B::Font3D, &B::SetFont3D)
        .Prop("FocusColor", &B::FocusColor, &B::SetFocusColor)
        .Prop("FocusStyle", &B::FocusStyle, &B::SetFocusStyle)
        .Prop("UseFocusColor", &B::UseFocusColor, &B::SetUseFocusColor)
        .Prop("GlyphTransparent", &B::GlyphTransparent, &B::SetGlyphTransparent)
        .Prop("GlyphTransparentColor", &B::GlyphTransparentColor, &B::SetGlyphTransparentColor)
        .Prop("GlyphFlat", &B::GlyphFlat, &B::SetGlyphFlat)
        .Prop("GlyphSize", &B::GlyphSize, &B::SetGlyphSize)
        .Prop("ImageList", &B::ImageList, &B::SetImageList)
        .Stored(&B::ImageListStored)
        .Prop("ImageIndex", 0, &B::GetImageValue, &B::SetImageValue)
        .Prop("ListIndex", 1, &B::GetImageValue, &B::SetImageValue)
        .Prop("ReadOnly", &B::ReadOnly, &B::SetReadOnly)
        .Prop("UseBitmap", &B::UseBitmap, &B::SetUseBitmap);
    using C = TKVXCustomCheckBox;
    Class<C, B>("TKVXCustomCheckBox")
        .Prop("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed)
        .Prop("GlyphNumber", &C::GlyphNumber, &C::SetGlyphNumber)
        .Event("OnChange", static_cast<fw::TNotifyEvent C::*>(&B::OnChange));
    Class<TKVXCheckBox, C>("TKVXCheckBox")
        .Prop("Checked", &C::Checked, &C::SetChecked)
        .Prop("State", &C::State, &C::SetState);
    Class<TKVXRadioButton, B>("TKVXRadioButton").Prop("Checked", &TKVXRadioButton::Checked, &TKVXRadioButton::SetChecked);
}

void RegisterGroups() {
    fw::RegisterEnum<TKVXChildHelpContextID>({"ciDefault", "ciSameAsParent", "ciAutoNumbered"}, "TKVXChildHelpContextID");
    using G = TKVXCustomButtonGroup;
    Class<G, TKVXCustomGroupBox>("TKVXCustomButtonGroup")
        .Prop("Columns", &G::Columns, &G::SetColumns)
        .Prop("FocusStyle", &G::FocusStyle, &G::SetFocusStyle)
        .Prop("FocusColor", &G::FocusColor, &G::SetFocusColor)
        .Prop("UseFocusColor", &G::UseFocusColor, &G::SetUseFocusColor)
        .Prop("Font3D", &G::Font3D, &G::SetFont3D)
        .Prop("GlyphImageList", &G::GlyphImageList, &G::SetGlyphImageList)
        .Stored(&G::GlyphImageListStored)
        .Prop("GlyphImageIndex", 0, &G::GetGlyphValue, &G::SetGlyphValue)
        .Prop("GlyphListIndex", 1, &G::GetGlyphValue, &G::SetGlyphValue)
        .Prop("GlyphFlat", &G::GlyphFlat, &G::SetGlyphFlat)
        .Prop("GlyphSize", &G::GlyphSize, &G::SetGlyphSize)
        .Prop("GlyphTransparent", &G::GlyphTransparent, &G::SetGlyphTransparent)
        .Prop("GlyphTransparentColor", &G::GlyphTransparentColor, &G::SetGlyphTransparentColor)
        .Prop("HelpContextBtn", &G::HelpContextBtn, &G::SetHelpContextBtn)
        .Prop("Items", &G::Items, &G::SetItems)
        .Prop("ItemHeight", &G::ItemHeight, &G::SetItemHeight)
        .Prop("ItemOffset", &G::ItemOffset, &G::SetItemOffset)
        .Prop("ReadOnly", &G::ReadOnly, &G::SetReadOnly)
        .Prop("UseBitmap", &G::UseBitmap, &G::SetUseBitmap)
        .Event("OnChange", &G::OnChange);
    Class<TKVXCustomRadioGroup, G>("TKVXCustomRadioGroup");
    Class<TKVXRadioGroup, TKVXCustomRadioGroup>("TKVXRadioGroup")
        .Prop("ItemIndex", &TKVXCustomRadioGroup::ItemIndex, &TKVXCustomRadioGroup::SetItemIndex);
    Class<TKVXCustomCheckGroup, G>("TKVXCustomCheckGroup")
        .Prop("GlyphNumber", &TKVXCustomCheckGroup::GlyphNumber, &TKVXCustomCheckGroup::SetGlyphNumber);
    Class<TKVXCheckGroup, TKVXCustomCheckGroup>("TKVXCheckGroup")
        .Prop("Value", &TKVXCustomCheckGroup::Value, &TKVXCustomCheckGroup::SetValue);
}

}  // namespace

void KVXRegisterButtonControlClasses() {
    RegisterSpinEdit();
    RegisterCheckButtons();
    RegisterGroups();
}

}  // namespace kvx::win32
