#include "uisupport/win32/formstorage.h"

#include "framework/win32/forms.h"
#include "uisupport/propsstorage.h"
#include "uisupport/settingsstore.h"
#include "uisupport/storedprops.h"

namespace uis {

TFormStorage::TFormStorage(fw::TComponent* owner)
    : TFormPlacement(owner), storedProps_(std::make_unique<fw::TStringList>()) {}

void TFormStorage::SetStoredProps(fw::TStringList* value) {
    storedProps_->Assign(value);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* component = dynamic_cast<fw::TComponent*>(storedProps_->GetObject(i))) component->FreeNotification(this);
}

void TFormStorage::Loaded() {
    TFormPlacement::Loaded();
    BindStoredProps(Owner(), *storedProps_, true);
    for (int i = 0; i < storedProps_->Count(); ++i)
        if (auto* component = dynamic_cast<fw::TComponent*>(storedProps_->GetObject(i))) component->FreeNotification(this);
}

void TFormStorage::Notification(fw::TComponent* component, fw::TOperation operation) {
    TFormPlacement::Notification(component, operation);
    if (operation != fw::opRemove || !storedProps_ || InState(fw::csDestroying)) return;
    for (int i = storedProps_->Count() - 1; i >= 0; --i)
        if (storedProps_->GetObject(i) == component) storedProps_->Delete(i);
}

void TFormStorage::SavePlacementValues() {
    TFormPlacement::SavePlacementValues();
    SaveStoredProps();
}

void TFormStorage::RestorePlacementValues() {
    TFormPlacement::RestorePlacementValues();
    SetRestored(true);
    LoadStoredProps();
}

namespace {

// A property storage on the placement's open store and section.
void Attach(TPropsStorage& storage, fw::TCustomIniFile& store, const std::string& section) {
    storage.Section = section;
    storage.OnReadString = [&store](const std::string& s, const std::string& i, const std::string& d) {
        return StoreReadString(store, s, i, d);
    };
    storage.OnWriteString = [&store](const std::string& s, const std::string& i, const std::string& v) {
        StoreWriteString(store, s, i, v);
    };
    storage.OnEraseSection = [&store](const std::string& s) { StoreEraseSection(store, s); };
}

}  // namespace

void TFormStorage::SaveStoredProps() {
    if (!IniObject() || storedProps_->Count() == 0) return;
    TPropsStorage storage;
    Attach(storage, *IniObject(), IniSection());
    storage.SaveComponentProps(Owner(), *storedProps_);
}

void TFormStorage::LoadStoredProps() {
    if (!IniObject() || storedProps_->Count() == 0) return;
    TPropsStorage storage;
    Attach(storage, *IniObject(), IniSection());
    try {
        storage.LoadComponentProps(Owner(), *storedProps_);
    } catch (...) {
        // A store that cannot be read leaves the properties as designed; each property already
        // skips its own bad value.
    }
}

void RegisterFormStorageClasses() {
    RegisterFormPlacementClasses();
    fw::Class<TFormStorage, TFormPlacement>("TFormStorage")
        .Prop("StoredProps", &TFormStorage::StoredProps, &TFormStorage::SetStoredProps);
}

}  // namespace uis
