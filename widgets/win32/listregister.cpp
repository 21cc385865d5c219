// Registers the multi-column list box, its published properties and its enumerations.
#include "widgets/win32/listregister.h"

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"
#include "widgets/win32/kvxlistbox.h"

namespace kvx::win32 {

void KVXRegisterListClasses() {
    using fw::Class;
    using L = TKVXListBox;
    fw::RegisterEnum<TKVXLBGridLines>({"glNone", "glHorizontal", "glVertical", "glBoth"}, "TKVXLBGridLines");
    fw::RegisterHeaderClasses();
    fw::RegisterListBoxClasses();
    Class<TKVXHeaderControl, fw::THeaderControl>("TKVXHeaderControl");
    Class<L, TKVXCustomScrollBox>("TKVXListBox")
        .Prop("Delimiter", &L::Delimiter, &L::SetDelimiter)
        .Prop("GridLines", &L::GridLines, &L::SetGridLines)
        .Prop("Style", &L::Style, &L::SetStyle)
        .Prop("VirtualWidth", &L::VirtualWidth, &L::SetVirtualWidth)
        .Prop("Enabled", 0, &L::GetFlag, &L::SetFlag)
        .Prop("ExtendedSelect", 1, &L::GetFlag, &L::SetFlag)
        .Prop("HeaderVisible", 2, &L::GetFlag, &L::SetFlag)
        .Prop("MultiSelect", 3, &L::GetFlag, &L::SetFlag)
        .Prop("Sorted", 4, &L::GetFlag, &L::SetFlag)
        .Prop("AllowResize", 5, &L::GetFlag, &L::SetFlag)
        .Prop("ShowHint", 6, &L::GetFlag, &L::SetFlag)
        .Prop("ParentShowHint", 7, &L::GetFlag, &L::SetFlag)
        .Prop("TabStop", 8, &L::GetFlag, &L::SetFlag)
        .Prop("HeaderHotTrack", 12, &L::GetFlag, &L::SetFlag)
        .Prop("HeaderFlat", 13, &L::GetFlag, &L::SetFlag)
        .Prop("HeaderHeight", 0, &L::GetInt, &L::SetInt)
        .Prop("ItemHeight", 4, &L::GetInt, &L::SetInt)
        .Stored(&L::ItemHeightStored)
        .Prop("Color", 0, &L::GetColorValue, &L::SetColorValue)
        .Idents(KVXColorIdentTable())
        .Prop("SelectedColor", 1, &L::GetColorValue, &L::SetColorValue)
        .Idents(KVXColorIdentTable())
        .Prop("GridHorzColor", 2, &L::GetColorValue, &L::SetColorValue)
        .Idents(KVXColorIdentTable())
        .Prop("GridVertColor", 3, &L::GetColorValue, &L::SetColorValue)
        .Idents(KVXColorIdentTable())
        .Prop("Items", &L::Items, &L::SetItems)
        .Prop("HeaderSections", &L::HeaderSections, &L::SetHeaderSections)
        .Prop("HeaderFont", &L::HeaderFont, &L::SetHeaderFont)
        .Prop("Font", &L::ListFont, &L::SetListFont)
        .Prop("IniLink", &L::IniLink, &L::SetIniLink)
        .Data("IniUse", &L::IniUse)
        .Data("Section", &L::Section)
        .Stored(&L::SectionStored)
        .Data("IniKey", &L::IniKey)
        .Stored(&L::IniKeyStored)
        .Event("OnHeaderSized", &L::OnHeaderSized)
        .Event("OnHeaderSectionResize", &L::OnHeaderSectionResize)
        .Event("OnDrawItem", &L::OnDrawItem)
        .Event("OnIniReadData", &L::OnIniReadData)
        .Event("OnIniWriteData", &L::OnIniWriteData);
}

}  // namespace kvx::win32
