#include "installer/controls/win32/controls_register.h"

#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"
#include "installer/controls/win32/gauge3d.h"
#include "installer/controls/win32/kvxmemo.h"
#include "installer/controls/win32/kvxsbar.h"
#include "widgets/win32/register.h"

namespace inst::win32 {

namespace {

void RegisterGauge() {
    using fw::Class;
    using G = TGauge3D;
    const fw::IdentTable& colors = fw::ColorIdentTable();
    fw::RegisterEnum<TGaugeKind>({"gkHorizontalBar", "gkVerticalBar"}, "TGaugeKind");
    Class<G, fw::TGraphicControl>("TGauge3D")
        .Prop("Kind", &G::Kind, &G::SetKind)
        .Prop("MinValue", &G::MinValue, &G::SetMinValue)
        .Prop("MaxValue", &G::MaxValue, &G::SetMaxValue)
        .Prop("Progress", &G::Progress, &G::SetProgress)
        .Prop("ShowText", &G::ShowText, &G::SetShowText)
        .Prop("BarColor", &G::BarColor, &G::SetBarColor)
        .Idents(colors)
        .Prop("FrameLightColor", &G::FrameLightColor, &G::SetFrameLightColor)
        .Idents(colors)
        .Prop("FrameShadowColor", &G::FrameShadowColor, &G::SetFrameShadowColor)
        .Idents(colors)
        .Prop("UseGlyph", &G::UseGlyph, &G::SetUseGlyph)
        .Prop("ProgressGlyph", &G::ProgressGlyph, &G::SetProgressGlyph)
        .Prop("Transparent", &G::Transparent, &G::SetTransparent);
}

void RegisterScrollBar() {
    using fw::Class;
    using B = TKVXScrollBar;
    using O = TKVXScrollBarObject;
    using S = TKVXScrollSpinButton;
    fw::RegisterEnum<TKVXScrollBarKind>({"skVertical", "skHorizontal"}, "TKVXScrollBarKind");
    fw::RegisterEnum<TKVXThumbMode>({"tmFixed", "tmAuto"}, "TKVXThumbMode");
    fw::RegisterEnum<TKVXBackStyle>({"bsDefault", "bsUser"}, "TKVXBackStyle");
    fw::RegisterEnum<TScrollCode>({"scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition", "scTrack",
                                   "scTop", "scBottom", "scEndScroll"},
                                  "TScrollCode");
    // Its arrow set is chosen by the bar that owns it; forms do not place it on their own.
    Class<S, kvx::win32::TKVXGraphicControl>("TKVXScrollSpinButton")
        .Event("OnTopClick", &S::OnTopClick)
        .Event("OnBottomClick", &S::OnBottomClick)
        .Event("OnLeftClick", &S::OnLeftClick)
        .Event("OnRightClick", &S::OnRightClick);
    Class<B, kvx::win32::TKVXCustomBevelPanel>("TKVXScrollBar")
        .Prop("Kind", &B::Kind, &B::SetKind)
        .Prop("Min", &B::Min, &B::SetMin)
        .Prop("Max", &B::Max, &B::SetMax)
        .Prop("Position", &B::Position, &B::SetPosition)
        .Prop("SmallChange", &B::SmallChange, &B::SetSmallChange)
        .Prop("LargeChange", &B::LargeChange, &B::SetLargeChange)
        .Prop("ThumbMode", &B::ThumbMode, &B::SetThumbMode)
        .Prop("ThumbLength", &B::ThumbLength, &B::SetThumbLength)
        .Prop("ButtonWidth", &B::ButtonWidth, &B::SetButtonWidth)
        .Prop("Back", &B::Back, &B::SetBack)
        .Prop("BackStyle", &B::BackStyle, &B::SetBackStyle)
        .Prop("AllowMousePos", &B::AllowMousePos, &B::SetAllowMousePos)
        .Event("OnScroll", &B::OnScroll);
    Class<O, kvx::TKVXObject>("TKVXScrollBarObject")
        .Prop("Back", &O::Back, &O::SetBack)
        .Prop("Bevel", &O::Bevel, &O::SetBevel)
        .Prop("ButtonWidth", &O::ButtonWidth, &O::SetButtonWidth)
        .Prop("SmallChange", &O::SmallChange, &O::SetSmallChange)
        .Prop("LargeChange", &O::LargeChange, &O::SetLargeChange)
        .Prop("Transparent", &O::Transparent, &O::SetTransparent)
        .Prop("Ctl3D", &O::Ctl3D, &O::SetCtl3D)
        .Prop("ParentCtl3D", &O::ParentCtl3D, &O::SetParentCtl3D)
        .Data("AllowMousePos", &O::AllowMousePos)
        .Data("BackStyle", &O::BackStyle)
        .Data("Cursor", &O::Cursor);
}

void RegisterMemo() {
    using fw::Class;
    using M = TKVXCustomMemo;
    using E = kvx::win32::TKVXBaseEdit;
    using G = TKVXMarginObject;
    fw::RegisterEnum<TKVXMemoScrollBars>({"skHorizontal", "skVertical", "skBoth", "skAuto", "skNone"},
                                         "TKVXMemoScrollBars");
    fw::RegisterEnum<TKVXMarginAlignment>({"maLeft", "maRight"}, "TKVXMarginAlignment");
    fw::RegisterEnum<TMemoAlignment>({"taLeftJustify", "taRightJustify", "taCenter"}, "TMemoAlignment");
    Class<G, kvx::TKVXObject>("TKVXMarginObject")
        .Prop("FillObject", &G::FillObject, &G::SetFillObject)
        .Prop("Width", &G::Width, &G::SetWidth)
        .Prop("Alignment", &G::Alignment, &G::SetAlignment);
    // The edit base's own published properties that the memo's forms set.
    Class<M, kvx::win32::TKVXCustomBevelPanel>("TKVXCustomMemo")
        .Prop("Text", &E::Text, &E::SetText)
        .Prop("HideSelection", &E::HideSelection, &E::SetHideSelection)
        .Prop("ReadOnly", &E::ReadOnly, &E::SetReadOnly)
        .Prop("ScrollBars", &M::ScrollBars, &M::SetScrollBars)
        .Prop("WordWrap", &M::WordWrap, &M::SetWordWrap)
        .Prop("Alignment", &M::Alignment, &M::SetAlignment)
        .Prop("Lined", &M::Lined, &M::SetLined)
        .Prop("LineStyle", &M::LineStyle, &M::SetLineStyle)
        .Prop("Margin", &M::Margin, &M::SetMargin)
        .Prop("HorizScrollBar", &M::HorizScrollBar, &M::SetHorizScrollBar)
        .Prop("VertScrollBar", &M::VertScrollBar, &M::SetVertScrollBar)
        .Prop("WantTabs", &M::WantTabs, &M::SetWantTabs)
        .Prop("WantReturns", &M::WantReturns, &M::SetWantReturns)
        .Prop("TabChars", &M::TabChars, &M::SetTabChars)
        .Event("OnChange", static_cast<fw::TNotifyEvent M::*>(&E::OnChange))
        .Event("OnCursorPosChanged", static_cast<fw::TNotifyEvent M::*>(&E::OnCursorPosChanged))
        .Event("OnModified", static_cast<fw::TNotifyEvent M::*>(&E::OnModified))
        .Event("OnCurrentRowChanged", &M::OnCurrentRowChanged)
        .Event("OnRowCountChanged", &M::OnRowCountChanged);
    Class<TKVXMemo, M>("TKVXMemo");
}

}  // namespace

void RegisterInstallerControls() {
    kvx::win32::KVXRegisterWin32Classes();
    RegisterGauge();
    RegisterScrollBar();
    RegisterMemo();
}

}  // namespace inst::win32
