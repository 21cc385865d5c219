#include "widgets/win32/inicomponent.h"

#include "framework/core/exceptions.h"

namespace kvx::win32 {

TKVXCustomIniComponent::TKVXCustomIniComponent(TComponent* owner, const char* className) : TKVXComponent(owner) {
    if (!dynamic_cast<fw::TForm*>(owner)) throw fw::Exception(std::string(className) + "\rInvalid Owner (<>TForm)");
}

void TKVXCustomIniComponent::SetIniLink(TKVXIniCtrl* value) {
    iniLink_ = value;
    if (value) FreeNotification(value);
}

void TKVXCustomIniComponent::SetSection(const std::string& value) {
    if (value == section_) return;
    section_ = value;
    SectionChanged(section_);
}

void TKVXCustomIniComponent::AutoLinkIniCtrl(TComponent* component) {
    if (IniUse == TKVXIniUse::ioUseLink && !iniLink_)
        if (auto* ini = dynamic_cast<TKVXIniCtrl*>(component)) SetIniLink(ini);
    auto* form = dynamic_cast<fw::TForm*>(Owner());
    if (!form || component != this || IniUse != TKVXIniUse::ioUseLink) return;
    TKVXIniCtrl* only = nullptr;
    int count = 0;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* ini = dynamic_cast<TKVXIniCtrl*>(form->Components(i))) {
            only = ini;
            ++count;
        }
    if (count == 1) SetIniLink(only);
}

void TKVXCustomIniComponent::ReadState(fw::TReader& reader) {
    TKVXComponent::ReadState(reader);
    auto* form = dynamic_cast<fw::TForm*>(Owner());
    if (!form) return;
    savedCreate_ = form->OnCreate;
    savedDestroy_ = form->OnDestroy;
    form->OnCreate = TNotifyEvent(this, &TKVXCustomIniComponent::FormCreate);
    form->OnDestroy = TNotifyEvent(this, &TKVXCustomIniComponent::FormDestroy);
}

void TKVXCustomIniComponent::FormCreate(TObject* sender) {
    LoadFromIni();
    if (savedCreate_) savedCreate_(sender);
}

void TKVXCustomIniComponent::FormDestroy(TObject* sender) {
    SaveToIni();
    if (savedDestroy_) savedDestroy_(sender);
}

void TKVXCustomIniComponent::Notification(TComponent* component, fw::TOperation operation) {
    TKVXComponent::Notification(component, operation);
    if (operation == fw::opRemove && component == iniLink_) iniLink_ = nullptr;
}

TKVXContainerComponent::TKVXContainerComponent(TComponent* owner)
    : TKVXComponent(owner), image_(this, [this](TObject* sender) { ImageChanged(sender); }) {}

void TKVXContainerComponent::Notification(TComponent* component, fw::TOperation operation) {
    TKVXComponent::Notification(component, operation);
    image_.Notification(component, operation);
}

void TKVXContainerComponent::DefineProperties(fw::TFiler& filer) {
    TKVXComponent::DefineProperties(filer);
    image_.DefineProperties(filer);
}

}  // namespace kvx::win32
