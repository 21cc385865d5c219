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

fw::TForm* KVXNewDialogForm(TComponent* owner, const char* name, int fontHeight) {
    auto* form = fw::TForm::CreateNew<fw::TForm>(owner);
    form->SetName(name);
    form->SetBorderStyle(fw::TFormBorderStyle::bsDialog);
    form->Font()->SetColor(fw::clWindowText);
    form->Font()->SetName("MS Sans Serif");
    form->Font()->SetHeight(fontHeight);
    form->SetPosition(fw::poDefault);
    form->SetPixelsPerInch(96);
    return form;
}

void KVXAddDialogLook(fw::TForm* form, TKVXFormStyler*& styler, TKVXBack*& back) {
    styler = fw::Make<TKVXFormStyler>(form);
    styler->SetName("styler");
    styler->SetEnabled(false);
    styler->SetOptions({TKVXFormStyleOption::fsAdjustRect, TKVXFormStyleOption::fsUseDefaultFont,
                        TKVXFormStyleOption::fsUseFormCaption});
    back = fw::Make<TKVXBack>(form);
    back->SetName("back");
    back->SetEnabled(false);
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
