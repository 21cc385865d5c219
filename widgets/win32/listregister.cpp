// Registers the multi-column list box and the file search, their published properties and enumerations.
#include "widgets/win32/listregister.h"

#include "framework/core/rtti.h"
#include "widgets/drawtypes.h"
#include "widgets/win32/filegrep.h"
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

    using G = TKVXFileGrep;
    fw::RegisterThreadClasses();
    fw::RegisterEnum<TKVXFileGrepAttribute>({"fmReadOnly", "fmArchive", "fmAnyfile", "fmSystem", "fmHidden"},
                                            "TKVXFileGrepAttribute");
    fw::RegisterEnum<TKVXLookFor>({"lfCreateAfter", "lfCreateBefore", "lfAccessedAfter", "lfAccessedBefore",
                                   "lfModifiedAfter", "lfModifiedBefore"},
                                  "TKVXLookFor");
    fw::RegisterEnum<TKVXReturnValue>(
        {"rvDir", "rvFilename", "rvAttr", "rvSize", "rvCreateDate", "rvLastAccessDate", "rvLastModifiedDate"},
        "TKVXReturnValue");
    Class<G, TKVXComponent>("TKVXFileGrep")
        .Data("FileMasks", &G::FileMasks)
        .Data("Dirs", &G::Dirs)
        .Data("Content", &G::Content)
        .Data("MinSize", &G::MinSize)
        .Data("MaxSize", &G::MaxSize)
        .Data("Attributes", &G::Attributes)
        .Prop("CreatedAfter", 0, &G::GetDate, &G::SetDate)
        .Prop("CreatedBefore", 1, &G::GetDate, &G::SetDate)
        .Prop("AccessedAfter", 2, &G::GetDate, &G::SetDate)
        .Prop("AccessedBefore", 3, &G::GetDate, &G::SetDate)
        .Prop("ModifiedAfter", 4, &G::GetDate, &G::SetDate)
        .Prop("ModifiedBefore", 5, &G::GetDate, &G::SetDate)
        .Prop("OutStringList", &G::OutStringList, &G::SetOutStringList)
        .Data("RecurseSubDirs", &G::RecurseSubDirs)
        .Data("ThreadedSearch", &G::ThreadedSearch)
        .Prop("ThreadPriority", &G::ThreadPriority, &G::SetThreadPriority)
        .Data("ReturnValues", &G::ReturnValues)
        .Data("LookForDates", &G::LookForDates)
        .Data("ReturnDelimiter", &G::ReturnDelimiter)
        .Event("OnCancel", &G::OnCancel)
        .Event("OnFinished", &G::OnFinished)
        .Event("OnFound", &G::OnFound)
        .Event("OnDirChange", &G::OnDirChange)
        .Event("OnFileChange", &G::OnFileChange);
}

}  // namespace kvx::win32
