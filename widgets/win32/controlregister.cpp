// Registers the suite's controls, their published properties and the enumerations they publish.
#include "framework/core/rtti.h"
#include "widgets/controltypes.h"
#include "widgets/win32/controlregister.h"
#include "widgets/win32/dockbutton.h"
#include "widgets/win32/facebutton.h"
#include "widgets/win32/groupbox.h"
#include "widgets/win32/images.h"
#include "widgets/win32/inicomponent.h"
#include "widgets/win32/labels.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/pushbutton.h"
#include "widgets/win32/scrollbox.h"
#include "widgets/win32/shapes.h"
#include "widgets/win32/speedbutton.h"

namespace kvx::win32 {

namespace {

using fw::Class;

void RegisterBases() {
    Class<TKVXBaseControl, fw::TGraphicControl>("TKVXBaseControl")
        .Data("About", &TKVXBaseControl::About)
        .Prop("ImageList", &TKVXBaseControl::ImageList, &TKVXBaseControl::SetImageList)
        .Stored(&TKVXBaseControl::ImageListStored)
        .Prop("ImageIndex", 0, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue)
        .Prop("ListIndex", 1, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue)
        .Event("OnMouseEnter", &TKVXBaseControl::OnMouseEnter)
        .Event("OnMouseExit", &TKVXBaseControl::OnMouseExit);
    Class<TKVXBaseGraphicControl, TKVXBaseControl>("TKVXBaseGraphicControl")
        .Prop("Transparent", &TKVXBaseGraphicControl::Transparent, &TKVXBaseGraphicControl::SetTransparent);
    Class<TKVXGraphicControl, TKVXBaseGraphicControl>("TKVXGraphicControl")
        .Prop("Bevel", &TKVXGraphicControl::Bevel, &TKVXGraphicControl::SetBevel);
    Class<TKVXCustomControl, fw::TCustomControl>("TKVXCustomControl")
        .Data("About", &TKVXCustomControl::About)
        .Event("OnAfterEnter", &TKVXCustomControl::OnAfterEnter)
        .Event("OnAfterExit", &TKVXCustomControl::OnAfterExit)
        .Event("OnMouseEnter", &TKVXCustomControl::OnMouseEnter)
        .Event("OnMouseExit", &TKVXCustomControl::OnMouseExit);
}

void RegisterPanels() {
    Class<TKVXCustomPanel, TKVXCustomControl>("TKVXCustomPanel")
        .Prop("Locked", &TKVXCustomPanel::Locked, &TKVXCustomPanel::SetLocked)
        .Prop("Transparent", &TKVXCustomPanel::Transparent, &TKVXCustomPanel::SetTransparent);
    Class<TKVXCustomBevelPanel, TKVXCustomPanel>("TKVXCustomBevelPanel")
        .Prop("Bevel", &TKVXCustomBevelPanel::Bevel, &TKVXCustomBevelPanel::SetBevel);
    Class<TKVXCustomParentPanel, TKVXCustomBevelPanel>("TKVXCustomParentPanel")
        .Prop("ImageList", &TKVXCustomControl::ImageList, &TKVXCustomControl::SetImageList)
        .Stored(&TKVXCustomControl::ImageListStored)
        .Prop("ImageIndex", 0, &TKVXCustomControl::GetImageValue, &TKVXCustomControl::SetImageValue)
        .Prop("ListIndex", 1, &TKVXCustomControl::GetImageValue, &TKVXCustomControl::SetImageValue)
        .Prop("QuickDraw", &TKVXCustomParentPanel::QuickDraw, &TKVXCustomParentPanel::SetQuickDraw);
    Class<TKVXSimplePanel, TKVXCustomBevelPanel>("TKVXSimplePanel");
    Class<TKVXBackPanel, TKVXCustomParentPanel>("TKVXBackPanel");
    Class<TKVXCustomStatusBar, TKVXCustomBevelPanel>("TKVXCustomStatusBar");
    using G = TKVXCustomGroupBox;
    Class<G, TKVXCustomParentPanel>("TKVXCustomGroupBox")
        .Prop("Alignment", &G::Alignment, &G::SetAlignment)
        .Prop("CaptionFont", &G::CaptionFont, &G::SetCaptionFont)
        .Prop("CaptionFont3D", &G::CaptionFont3D, &G::SetCaptionFont3D)
        .Prop("CaptionOffset", &G::CaptionOffset, &G::SetCaptionOffset)
        .Prop("CaptionParentFont", &G::CaptionParentFont, &G::SetCaptionParentFont)
        .Prop("ShowAccelChar", &G::ShowAccelChar, &G::SetShowAccelChar);
    Class<TKVXGroupBox, G>("TKVXGroupBox");
    using SB = TKVXCustomScrollBox;
    fw::RegisterScrollBoxClasses();
    Class<SB, fw::TScrollBox>("TKVXCustomScrollBox")
        .Data("About", &SB::About)
        .Prop("Bevel", &SB::Bevel, &SB::SetBevel)
        .Prop("InstantUpdate", &SB::InstantUpdate, &SB::SetInstantUpdate)
        .Prop("MouseWheelSupport", &SB::MouseWheelSupport, &SB::SetMouseWheelSupport)
        .Prop("Transparent", &SB::Transparent, &SB::SetTransparent)
        .Event("OnPaint", &SB::OnPaint);
    Class<TKVXScrollBox, SB>("TKVXScrollBox");
    Class<TKVXCustomIniComponent, TKVXComponent>("TKVXCustomIniComponent")
        .Prop("IniLink", &TKVXCustomIniComponent::IniLink, &TKVXCustomIniComponent::SetIniLink)
        .Data("IniUse", &TKVXCustomIniComponent::IniUse)
        .Prop("Section", &TKVXCustomIniComponent::Section, &TKVXCustomIniComponent::SetSection);
    Class<TKVXContainerComponent, TKVXComponent>("TKVXContainerComponent")
        .Prop("ImageList", &TKVXContainerComponent::ImageList, &TKVXContainerComponent::SetImageList)
        .Stored(&TKVXContainerComponent::ImageListStored)
        .Prop("ImageIndex", 0, &TKVXContainerComponent::GetImageValue, &TKVXContainerComponent::SetImageValue)
        .Prop("ListIndex", 1, &TKVXContainerComponent::GetImageValue, &TKVXContainerComponent::SetImageValue);
}

void RegisterLabels() {
    Class<TKVXBaseLabel, TKVXBaseGraphicControl>("TKVXBaseLabel")
        .Prop("AutoSize", 0, &TKVXBaseLabel::GetFlag, &TKVXBaseLabel::SetFlag)
        .Prop("MultiLine", 1, &TKVXBaseLabel::GetFlag, &TKVXBaseLabel::SetFlag)
        .Prop("ShowAccelChar", 2, &TKVXBaseLabel::GetFlag, &TKVXBaseLabel::SetFlag)
        .Prop("FocusControl", &TKVXBaseLabel::FocusControl, &TKVXBaseLabel::SetFocusControl)
        .Prop("Options", &TKVXBaseLabel::Options, &TKVXBaseLabel::SetOptions);
    Class<TKVXCustomSimpleLabel, TKVXBaseLabel>("TKVXCustomSimpleLabel")
        .Prop("Font3D", &TKVXCustomSimpleLabel::Font3D, &TKVXCustomSimpleLabel::SetFont3D)
        .Prop("Jump", &TKVXCustomSimpleLabel::Jump, &TKVXCustomSimpleLabel::SetJump)
        .Prop("ActiveColor", &TKVXCustomSimpleLabel::ActiveColor, &TKVXCustomSimpleLabel::SetActiveColor)
        .Idents(KVXColorIdentTable())
        .Prop("InActiveColor", &TKVXCustomSimpleLabel::InActiveColor, &TKVXCustomSimpleLabel::SetInActiveColor)
        .Idents(KVXColorIdentTable())
        .Prop("JumpUnderline", &TKVXCustomSimpleLabel::JumpUnderline, &TKVXCustomSimpleLabel::SetJumpUnderline)
        .Prop("JumpMode", &TKVXCustomSimpleLabel::JumpMode, &TKVXCustomSimpleLabel::SetJumpMode);
    Class<TKVXSimpleLabel, TKVXCustomSimpleLabel>("TKVXSimpleLabel")
        .Prop("Alignment", &TKVXBaseLabel::Alignment, &TKVXBaseLabel::SetAlignment);
    Class<TKVXCustomLabel, TKVXBaseLabel>("TKVXCustomLabel")
        .Prop("Bevel", &TKVXCustomLabel::Bevel, &TKVXCustomLabel::SetBevel)
        .Prop("FontFx", &TKVXCustomLabel::FontFx, &TKVXCustomLabel::SetFontFx);
    Class<TKVXLabel, TKVXCustomLabel>("TKVXLabel").Prop("Alignment", &TKVXBaseLabel::Alignment, &TKVXBaseLabel::SetAlignment);
    Class<TKVXCustomGlyphLabel, TKVXBaseLabel>("TKVXCustomGlyphLabel")
        .Prop("Alignment", &TKVXCustomGlyphLabel::Layout, &TKVXCustomGlyphLabel::SetLayout)
        .Prop("Font3D", &TKVXCustomGlyphLabel::Font3D, &TKVXCustomGlyphLabel::SetFont3D)
        .Prop("Bevel", &TKVXCustomGlyphLabel::Bevel, &TKVXCustomGlyphLabel::SetBevel);
    Class<TKVXGlyphLabel, TKVXCustomGlyphLabel>("TKVXGlyphLabel");
}

void RegisterButtons() {
    using B = TKVXBaseGraphicButton;
    Class<B, TKVXBaseControl>("TKVXBaseGraphicButton")
        .Prop("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp)
        .Prop("AllowMouseOver", &B::AllowMouseOver, &B::SetAllowMouseOver)
        .Prop("AllowTransparency", &B::AllowTransparency, &B::SetAllowTransparency)
        .Prop("ButtonLayout", &B::ButtonLayout, &B::SetButtonLayout)
        .Prop("FontFx", &B::FontFx, &B::SetFontFx)
        .Prop("RepeatedClick", &B::RepeatedClick, &B::SetRepeatedClick)
        .Prop("RepeatingInterval", &B::RepeatingInterval, &B::SetRepeatingInterval)
        .Event("OnDropDown", &B::OnDropDown)
        .Prop("HideHint", &B::HideHint, &B::SetHideHint)
        .Prop("DropDownMenu", &B::DropDownMenu, &B::SetDropDownMenu)
        .Prop("DropDownIndent", &B::DropDownIndent, &B::SetDropDownIndent)
        .Prop("DropDownRight", &B::DropDownRight, &B::SetDropDownRight)
        .Prop("EnterColor", &B::EnterColor, &B::SetEnterColor)
        .Idents(KVXColorIdentTable())
        .Prop("EnterColorChange", &B::EnterColorChange, &B::SetEnterColorChange)
        .Prop("Glyph", &B::Glyph, &B::SetGlyph)
        .Stored(&B::GlyphStored)
        .Prop("NumGlyphs", &B::NumGlyphs, &B::SetNumGlyphs)
        .Prop("GroupIndex", &B::GroupIndex, &B::SetGroupIndex)
        .Prop("MultiLine", &B::MultiLine, &B::SetMultiLine)
        .Prop("Pressed", &B::Pressed, &B::SetPressed);
    Class<TKVXCustomSpeedButton, B>("TKVXCustomSpeedButton")
        .Prop("Style", &TKVXCustomSpeedButton::Style, &TKVXCustomSpeedButton::SetStyle);
    Class<TKVXOfficeButton, TKVXCustomSpeedButton>("TKVXOfficeButton");
    using MM = TKVXCustomMMButton;
    Class<MM, B>("TKVXCustomMMButton")
        .Prop("ButtonFaceImageList", &MM::ButtonFaceImageList, &MM::SetButtonFaceImageList)
        .Prop("ButtonFaceStyle", &MM::ButtonFaceStyle, &MM::SetButtonFaceStyle)
        .Prop("CaptionDown", &MM::CaptionDown, &MM::SetCaptionDown)
        .Prop("ForceTransparent", &MM::ForceTransparent, &MM::SetForceTransparent)
        .Prop("QuickDraw", &MM::QuickDraw, &MM::SetQuickDraw)
        .Prop("Transparent", &MM::Transparent, &MM::SetTransparent);
    Class<TKVXMMButton, MM>("TKVXMMButton");
    using P = TKVXCustomButton;
    Class<P, fw::TButton>("TKVXCustomButton")
        .Data("About", &P::About)
        .Prop("ButtonLayout", &P::ButtonLayout, &P::SetButtonLayout)
        .Prop("FontFx", &P::FontFx, &P::SetFontFx)
        .Prop("Glyph", &P::Glyph, &P::SetGlyph)
        .Prop("HideHint", &P::HideHint, &P::SetHideHint)
        .Prop("ImageList", &P::ImageList, &P::SetImageList)
        .Stored(&P::ImageListStored)
        .Prop("ImageIndex", 0, &P::GetImageValue, &P::SetImageValue)
        .Prop("ListIndex", 1, &P::GetImageValue, &P::SetImageValue)
        .Prop("MultiLine", &P::MultiLine, &P::SetMultiLine)
        .Prop("NumGlyphs", &P::NumGlyphs, &P::SetNumGlyphs)
        .Prop("RepeatedClick", &P::RepeatedClick, &P::SetRepeatedClick)
        .Prop("RepeatingInterval", &P::RepeatingInterval, &P::SetRepeatingInterval)
        .Prop("Style", &P::Style, &P::SetStyle)
        .Event("OnMouseEnter", &P::OnMouseEnter)
        .Event("OnMouseExit", &P::OnMouseExit);
    Class<TKVXButton, P>("TKVXButton")
        .Prop("DropDownMenu", &P::DropDownMenu, &P::SetDropDownMenu)
        .Prop("DropDownIndent", &P::DropDownIndent, &P::SetDropDownIndent)
        .Prop("DropDownRight", &P::DropDownRight, &P::SetDropDownRight)
        .Event("OnDropDown", static_cast<TNotifyEvent TKVXButton::*>(&P::OnDropDown));
    using D = TKVXDockSpeedButton;
    Class<D, TKVXCustomSpeedButton>("TKVXDockSpeedButton")
        .Prop("AdjustDockedSize", 0, &D::GetFlag, &D::SetFlag)
        .Prop("Control", &D::Control, &D::SetControl)
        .Prop("Docked", 1, &D::GetFlag, &D::SetFlag)
        .Prop("GlyphKind", &D::GlyphKind, &D::SetGlyphKind)
        .Prop("Margin", &D::Margin, &D::SetMargin)
        .Prop("Position", &D::Position, &D::SetPosition)
        .Prop("ReflectOwnChanges", 2, &D::GetFlag, &D::SetFlag);
}

void RegisterShapes() {
    using S = TKVXBaseShape;
    Class<S, TKVXBaseGraphicControl>("TKVXBaseShape")
        .Prop("Bevel", &S::Bevel, &S::SetBevel)
        .Prop("Brush", &S::Brush, &S::SetBrush)
        .Prop("BrushBackColor", &S::BrushBackColor, &S::SetBrushBackColor)
        .Idents(KVXColorIdentTable())
        .Prop("Caption", &S::ShapeCaption, &S::SetShapeCaption)
        .Prop("CaptionClip", &S::CaptionClip, &S::SetCaptionClip)
        .Prop("RoundPercent", &S::RoundPercent, &S::SetRoundPercent)
        .Prop("Shadow", &S::Shadow, &S::SetShadow)
        .Prop("Shape", &S::Shape, &S::SetShape)
        .Prop("ShapeFill", &S::ShapeFill, &S::SetShapeFill)
        .Prop("Square", &S::Square, &S::SetSquare);
    Class<TKVXShapeControl, S>("TKVXShapeControl")
        .Prop("Mode", &S::Mode, &S::SetMode)
        .Prop("ImageList", &TKVXBaseControl::ImageList, &TKVXBaseControl::SetImageList)
        .Stored(&TKVXBaseControl::ImageListStored)
        .Prop("ImageIndex", 0, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue)
        .Prop("ListIndex", 1, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue)
        .Prop("Teeth", &S::Teeth, &S::SetTeeth);
    Class<TKVXTeethShape, TKVXShapeControl>("TKVXTeethShape");
    Class<TKVXBaseImage, TKVXGraphicControl>("TKVXBaseImage")
        .Prop("QuickDraw", &TKVXBaseImage::QuickDraw, &TKVXBaseImage::SetQuickDraw)
        .Prop("Style", &TKVXBaseImage::Style, &TKVXBaseImage::SetStyle);
    Class<TKVXCustomLImage, TKVXBaseImage>("TKVXCustomLImage")
        .Prop("ForceTransparent", &TKVXCustomLImage::ForceTransparent, &TKVXCustomLImage::SetForceTransparent)
        .Prop("SilentMove", &TKVXCustomLImage::SilentMove, &TKVXCustomLImage::SetSilentMove)
        .Prop("ImageList", &TKVXBaseControl::ImageList, &TKVXBaseControl::SetImageList)
        .Stored(&TKVXBaseControl::ImageListStored)
        .Prop("ListIndex", 1, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue);
    Class<TKVXLImage, TKVXCustomLImage>("TKVXLImage")
        .Prop("ImageIndex", 0, &TKVXBaseControl::GetImageValue, &TKVXBaseControl::SetImageValue);
    using A = TKVXAniCtrl;
    Class<A, TKVXCustomLImage>("TKVXAniCtrl")
        .Prop("Interval", &A::Interval, &A::SetInterval)
        .Prop("AnimationStyle", &A::AnimationStyle, &A::SetAnimationStyle)
        .Prop("MakeVisible", &A::MakeVisible, &A::SetMakeVisible)
        .Prop("Repetitions", &A::Repetitions, &A::SetRepetitions)
        .Prop("Reverse", &A::Reverse, &A::SetReverse)
        .Prop("StartFrame", &A::StartFrame, &A::SetStartFrame)
        .Prop("StopFrame", &A::StopFrame, &A::SetStopFrame)
        .Prop("TimerMode", &A::TimerMode, &A::SetTimerMode)
        .Prop("UseBitmap", &A::UseBitmap, &A::SetUseBitmap)
        .Event("OnAnimate", &A::OnAnimate)
        .Event("OnStart", &A::OnStart)
        .Event("OnStop", &A::OnStop);
    Class<TKVXShadowFill, TKVXGraphicControl>("TKVXShadowFill")
        .Prop("ShadowColor", &TKVXShadowFill::ShadowColor, &TKVXShadowFill::SetShadowColor)
        .Idents(KVXColorIdentTable())
        .Prop("Style", &TKVXShadowFill::Style, &TKVXShadowFill::SetStyle);
}

}  // namespace

void KVXRegisterControlClasses() {
    KVXRegisterControlTypes();
    RegisterBases();
    RegisterPanels();
    RegisterLabels();
    RegisterButtons();
    RegisterShapes();
}

}  // namespace kvx::win32
