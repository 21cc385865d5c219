#include "widgets/win32/formregister.h"

#include "framework/core/rtti.h"
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

}  // namespace

void KVXRegisterFormClasses() { RegisterStyling(); }

}  // namespace kvx::win32
