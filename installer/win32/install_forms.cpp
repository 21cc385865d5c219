#include "installer/win32/install_forms.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/core/streams.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_panel.h"
#include "framework/win32/std_tabcontrol.h"
#include "installer/container.h"
#include "installer/install.h"
#include "installer/net_location.h"
#include "installer/translator.h"
#include "installer/win32/form_container.h"

namespace inst {

// ---- TBaseQuenfordForm -----------------------------------------------------------------------------------------

std::vector<TBaseQuenfordForm*>& LibraryForms() {
    static std::vector<TBaseQuenfordForm*> forms;
    return forms;
}

TBaseQuenfordForm::TBaseQuenfordForm(fw::TComponent* owner) : fw::TForm(owner) {
    Font()->SetCharset(fw::TFontCharset{ANSI_CHARSET});
    LibraryForms().push_back(this);
}

TBaseQuenfordForm::~TBaseQuenfordForm() = default;

void TBaseQuenfordForm::BeforeDestruction() {
    auto& forms = LibraryForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    fw::TForm::BeforeDestruction();
}

void TBaseQuenfordForm::Notification(fw::TComponent* component, fw::TOperation operation) {
    fw::TForm::Notification(component, operation);
    if (operation == fw::opRemove && component == subject_) subject_ = nullptr;
}

void TBaseQuenfordForm::ApplyLanguage() {
    TTranslator* translator = GlobalTranslator();
    if (!translator) return;
    if (applyFont_) {
        if (useFixedLanguage_)
            translator->ApplyLanguageFontInto(fixedLanguage_, this, false);
        else
            translator->ApplyLanguageFont(this, false);
    }
    if (translateTexts_)
        formLanguage_ = useFixedLanguage_ ? translator->TranslateControlInto(formLanguage_, fixedLanguage_, this)
                                          : translator->TranslateControl(formLanguage_, this);
    if (fw::Application) fw::Application->ProcessMessages();
}

void TBaseQuenfordForm::UseInstallTheme(fw::TImage* image) {
    auto* install = dynamic_cast<TCustomInstall*>(InstallComponent());
    if (!image || !install || install->DialogThemeBitmap()->Empty()) return;
    if (fw::TGraphic* own = image->Picture()->Graphic(); own && !own->Empty()) return;
    const std::string& bytes = install->DialogThemeBitmap()->Data();
    fw::TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    image->Picture()->Bitmap()->LoadFromStream(stream);
}

// ---- TBaseInstallForm ------------------------------------------------------------------------------------------

TBaseInstallForm::TBaseInstallForm(fw::TComponent* owner) : TBaseQuenfordForm(owner) {
    if (auto* host = dynamic_cast<fw::TForm*>(owner)) SetParentWindow(host->Handle());
}

TBaseFormContainer* TBaseInstallForm::Host() const { return dynamic_cast<TBaseFormContainer*>(Owner()); }

bool TBaseInstallForm::IsFirstPage() { return Host() && Host()->IsFirstPage(); }

bool TBaseInstallForm::IsLastPage() { return Host() && Host()->IsLastPage(); }

void TBaseInstallForm::CloseCancelled() {
    if (TBaseFormContainer* host = Host())
        host->SetModalResult(kPageAbort);
    else
        SetModalResult(kPageAbort);
}

void TBaseInstallForm::GoNext() {
    if (TBaseFormContainer* host = Host()) host->GoNext();
}

void TBaseInstallForm::GoBack() {
    if (TBaseFormContainer* host = Host()) host->GoBack();
}

void TBaseInstallForm::ActivatePage() {
    if (!Host()) return;
    UpdateControls();
    BringToFront();
}

void TBaseInstallForm::CancelInstall() {
    if (UserWantsToAbort()) CloseCancelled();
}

// ---- Copy and change-disk pages --------------------------------------------------------------------------------

void TBaseDuringCopyForm::CancelInstall() {
    if (UserWantsToAbort()) {
        SharedArchive().SetAbort(true);
        DownloadAbortFlag() = true;
    }
    SetModalResult(kPageAbort);
}

void TBaseChangeDiskForm::CancelInstall() {
    if (UserWantsToAbort()) SetModalResult(kPageAbort);
}

bool UserWantsToAbort() {
    auto* install = dynamic_cast<TCustomInstall*>(InstallComponent());
    return !install || install->UserAbortQuery();
}

void RegisterInstallForms() {
    using fw::Class;
    using Q = TBaseQuenfordForm;
    Class<Q, fw::TForm>("TBaseQuenfordForm")
        .Prop("ApplyFont", &Q::ApplyFont, &Q::SetApplyFont)
        .Prop("TranslateTexts", &Q::TranslateTexts, &Q::SetTranslateTexts)
        .Prop("FormLanguage", &Q::FormLanguage, &Q::SetFormLanguage)
        .Prop("UseFixedLanguage", &Q::UseFixedLanguage, &Q::SetUseFixedLanguage)
        .Prop("FixedLanguage", &Q::FixedLanguage, &Q::SetFixedLanguage);
    Class<TBaseInstallForm, Q>("TBaseInstallForm")
        .Prop("DC", &TBaseInstallForm::DC, &TBaseInstallForm::SetDC)
        .Prop("DM", &TBaseInstallForm::DM, &TBaseInstallForm::SetDM)
        .Prop("Order", &TBaseInstallForm::Order, &TBaseInstallForm::SetOrder);
    Class<TBaseDuringCopyForm, Q>("TBaseDuringCopyForm").Prop("DM", &TBaseDuringCopyForm::DM, &TBaseDuringCopyForm::SetDM);
    Class<TBaseChangeDiskForm, Q>("TBaseChangeDiskForm").Prop("DM", &TBaseChangeDiskForm::DM, &TBaseChangeDiskForm::SetDM);
    using H = TBaseFormContainer;
    Class<H, fw::TForm>("TBaseFormContainer")
        .Field("Tabs", &H::Tabs)
        .Field("DisplayPanel", &H::DisplayPanel)
        .Method("FormShow", &H::FormShow)
        .Method("FormResize", &H::FormResize)
        .Method("FormCloseQuery", &H::FormCloseQuery)
        .Method("TabsChanging", &H::TabsChanging)
        .Method("TabsChange", &H::TabsChange);
    InstallWin32DialogPages();
}

}  // namespace inst
