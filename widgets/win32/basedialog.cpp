#include "widgets/win32/basedialog.h"

#include "framework/win32/std_button.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/windowfx.h"

namespace kvx::win32 {

TKVXBaseDialog::TKVXBaseDialog(TComponent* owner)
    : TKVXContainerComponent(owner), hints_(std::make_unique<fw::TStringList>()) {}

TKVXBaseDialog::~TKVXBaseDialog() = default;

TRect KVXControlScreenRect(fw::TControl* control) {
    if (auto* windowed = dynamic_cast<fw::TWinControl*>(control); windowed && windowed->HandleAllocated()) {
        RECT r{};
        GetWindowRect(windowed->Handle(), &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    TRect r = control->BoundsRect();
    if (fw::TWinControl* parent = control->Parent(); parent && parent->HandleAllocated()) {
        POINT origin{0, 0};
        ClientToScreen(parent->Handle(), &origin);
        r = {r.Left + origin.x, r.Top + origin.y, r.Right + origin.x, r.Bottom + origin.y};
    }
    return r;
}

void TKVXBaseDialog::ApplyHint(int index, fw::TControl* control) {
    if (control && HintsWanted() && index < hints_->Count()) control->SetHint(hints_->Get(index));
}

int TKVXBaseDialog::ShowDialog(fw::TForm* form, fw::TControl* control, const std::string& defaultCaption,
                               TKVXBack* back, TKVXFormStyler* styler, fw::TButton* extraButton) {
    form->SetCaption(CaptionTitle.empty() ? defaultCaption : CaptionTitle);
    if (extraButton) {
        if (!CustomButton.empty()) {
            extraButton->SetCaption(CustomButton);
            extraButton->SetVisible(true);
            if (OnCustomClick) extraButton->OnClick = OnCustomClick;
        } else {
            extraButton->SetVisible(false);
        }
    }
    if (OnCustomize) OnCustomize(form);

    TRect reference;
    if (InState(fw::csDesigning))
        KVXReferenceRect(TKVXDlgPosRel::brScreenWorkArea, reference);
    else if (control)
        reference = KVXControlScreenRect(control);
    else
        KVXReferenceRect(RelatePos, reference);
    KVXPlaceWindow(form->Handle(), reference, Position);

    if (Effect == TKVXDlgEffect::deExplode)
        KVXExplode(form);
    else if (Effect == TKVXDlgEffect::deExplodeExt)
        KVXExplodeExt(form);

    if (styler) {
        styler->SetEnabled(CaptionFill);
        if (CaptionFill) styler->SetColors(Colors);
        styler->SetOptions(styler->Options() + TKVXFormStyleOptions{TKVXFormStyleOption::fsCheckSystemGradient});
    }
    if (back && ImageList()) {
        back->SetImageList(ImageList());
        back->SetImageValue(1, GetImageValue(1));
        back->SetImageValue(0, GetImageValue(0));
        back->SetEnabled(true);
    }
    return form->ShowModal();
}

}  // namespace kvx::win32
