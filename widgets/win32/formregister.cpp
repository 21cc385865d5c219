#include "widgets/win32/formregister.h"

#include "framework/core/rtti.h"
#include "widgets/win32/aboutdlg.h"
#include "widgets/win32/dirdlg.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"

namespace kvx::win32 {

namespace {

using fw::Class;

void RegisterStyling() {
    fw::RegisterEnum<TKVXPaintMode>({"pcNone", "pcControl", "pcOwnerDraw"}, "TKVXPaintMode");
    fw::RegisterEnum<TKVXFormStyleOption>({"fsAdjustRect", "fsUseDefaultFont", "fsUseFontColor", "fsInactiveGradient",
                                           "fsDrawCaptionEvent", "fsUseFormCaption", "fsCheckSystemGradient"},
                                          "TKVXFormStyleOption");
    using S = TKVXFormStyler;
    Class<S, TKVXWndProcComponent>("TKVXFormStyler")
        .Data("About", &S::About)
        .Prop("Enabled", &S::Enabled, &S::SetEnabled)
        .Prop("Alignment", &S::Alignment, &S::SetAlignment)
        .Prop("Colors", &S::Colors, &S::SetColors)
        .Prop("Font", &S::Font, &S::SetFont)
        .Prop("Font3D", &S::Font3D, &S::SetFont3D)
        .Prop("PaintMode", &S::PaintMode, &S::SetPaintMode)
        .Prop("Options", &S::Options, &S::SetOptions)
        .Event("OnPaint", &S::OnPaint)
        .Event("OnCaptionPaint", &S::OnCaptionPaint);
    using F = TKVXCustomFormFill;
    Class<F, TKVXWndProcComponent>("TKVXCustomFormFill")
        .Data("About", &F::About)
        .Prop("Enabled", &F::Enabled, &F::SetEnabled)
        .Prop("DefaultFill", &F::DefaultFill, &F::SetDefaultFill)
        .Prop("ImageList", &F::ImageList, &F::SetImageList)
        .Stored(&F::ImageListStored)
        .Prop("ImageIndex", 0, &F::GetImageValue, &F::SetImageValue)
        .Prop("ListIndex", 1, &F::GetImageValue, &F::SetImageValue)
        .Prop("PaintMode", &F::PaintMode, &F::SetPaintMode)
        .Event("OnPaint", &F::OnPaint);
    Class<TKVXBack, F>("TKVXBack");
}

void RegisterDialogs() {
    fw::RegisterEnum<TKVXAboutIconStyle>({"isNone", "isStandard", "isExtended"}, "TKVXAboutIconStyle");
    fw::RegisterEnum<TKVXAboutStyle>({"bsStandard", "bsKVX"}, "TKVXAboutStyle");
    using B = TKVXBaseDialog;
    Class<B, TKVXContainerComponent>("TKVXBaseDialog")
        .Data("CaptionTitle", &B::CaptionTitle)
        .Data("CustomButton", &B::CustomButton)
        .Data("Effect", &B::Effect)
        .Prop("Hints", &B::Hints, &B::SetHints)
        .Data("ShowHints", &B::ShowHints)
        .Data("CaptionFill", &B::CaptionFill)
        .Data("Colors", &B::Colors)
        .Data("Position", &B::Position)
        .Data("RelatePos", &B::RelatePos)
        .Event("OnCustomize", &B::OnCustomize)
        .Event("OnCustomClick", &B::OnCustomClick);
    using A = TKVXAboutDlg;
    Class<A, B>("TKVXAboutDlg")
        .Data("Appname", &A::Appname)
        .Data("Copyright", &A::Copyright)
        .Data("Jump", &A::Jump)
        .Data("Description", &A::Description)
        .Data("UseDefault", &A::UseDefault)
        .Prop("Icon", &A::Icon, &A::SetIcon)
        .Data("IconStyle", &A::IconStyle)
        .Data("AppNameSize", &A::AppNameSize)
        .Data("Style", &A::Style)
        .Data("Version", &A::Version)
        .Data("UseResInfo", &A::UseResInfo);
    using D = TKVXDirDlg;
    Class<D, B>("TKVXDirDlg")
        .Data("Path", &D::Path)
        .Stored(false)
        .Data("AllowNewDir", &D::AllowNewDir)
        .Data("ShowLabelDir", &D::ShowLabelDir)
        .Event("OnFolderError", &D::OnFolderError);
}

}  // namespace

void KVXRegisterFormClasses() {
    RegisterStyling();
    RegisterDialogs();
}

}  // namespace kvx::win32
