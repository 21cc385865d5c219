#include "widgets/win32/panelsregister.h"

#include "framework/core/rtti.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/mrulist.h"
#include "widgets/win32/panelfill.h"

namespace kvx::win32 {

void KVXRegisterPanelFillClasses() {
    using fw::Class;
    fw::RegisterEnum<TKVXImageBoxOption>({"lboImageListOrder", "lboCheckImageNr", "lboCalcHeight", "lboTransparentImages"},
                                         "TKVXImageBoxOption");
    fw::RegisterEnum<TKVXMRUListOption>({"moFileNameOnly", "moShowAccel", "moSubIfEmpty", "moSubClearOption"},
                                        "TKVXMRUListOption");
    fw::RegisterEnum<TKVXMRUListStyle>({"msAfterItem", "msBeforeItem", "msCreateSubMenu"}, "TKVXMRUListStyle");

    using P = TKVXCustomPanelFill;
    Class<P, TKVXCustomParentPanel>("TKVXCustomPanelFill")
        .Prop("Alignment", &P::Alignment, &P::SetAlignment)
        .Prop("FontFx", &P::FontFx, &P::SetFontFx)
        .Prop("FillObject", &P::FillObject, &P::SetFillObject)
        .Prop("TransparentBorder", &P::TransparentBorder, &P::SetTransparentBorder);
    Class<TKVXPanelFill, P>("TKVXPanelFill");

    using B = TKVXCustomImageListBox;
    Class<B, fw::TCustomListBox>("TKVXCustomImageListBox")
        .Prop("Items", &B::Items, &B::SetItems)
        .Stored(&B::ItemsStored)
        .Prop("ImageList", &B::ImageList, &B::SetImageList)
        .Stored(&B::ImageListStored)
        .Prop("ListIndex", &B::ListIndex, &B::SetListIndex)
        .Prop("DefaultItem", &B::DefaultItem, &B::SetDefaultItem)
        .Prop("Options", &B::Options, &B::SetOptions)
        .Prop("Font3D", &B::Font3D, &B::SetFont3D)
        .Prop("Layout", &B::Layout, &B::SetLayout)
        .Prop("Transparent", &B::Transparent, &B::SetTransparent)
        .Prop("Multiline", &B::Multiline, &B::SetMultiline)
        .Prop("ImagesOnly", &B::ImagesOnly, &B::SetImagesOnly);
    Class<TKVXImageListBox, B>("TKVXImageListBox");

    using M = TKVXMRUList;
    Class<M, TKVXCustomIniComponent>("TKVXMRUList")
        .Prop("MaxEntries", &M::MaxEntries, &M::SetMaxEntries)
        .Prop("MaxLength", &M::MaxLength, &M::SetMaxLength)
        .Prop("MenuItem", &M::MenuItem, &M::SetMenuItem)
        .Prop("HelpContext", &M::HelpContext, &M::SetHelpContext)
        .Prop("Hint", &M::Hint, &M::SetHint)
        .Prop("Options", &M::Options, &M::SetOptions)
        .Prop("Style", &M::Style, &M::SetStyle)
        .Data("Shared", &M::Shared)
        .Prop("Button", &M::Button, &M::SetButton)
        .Event("OnClick", &M::OnClick)
        .Event("OnChange", &M::OnChange)
        .Event("OnClearListClick", &M::OnClearListClick);
}

}  // namespace kvx::win32
