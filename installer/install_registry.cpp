#include "installer/install_registry.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/pathspec.h"
#include "installer/strutils.h"

namespace inst {

namespace {

TCustomInstallRegistry* RequireOwner(TCustomInstallRegistry* owner) {
    if (!owner) throw IERegistryEntries("Cannot create a TRegistryEntries component with a Nil Owner");
    return owner;
}

TInstallRoot* RequireInstall() {
    TInstallRoot* root = InstallComponent();
    if (!root) throw IEInstallRegistry("There is no TInstall component in your project");
    return root;
}

}  // namespace

std::vector<TCustomInstallRegistry*>& InstallRegistryList() {
    static std::vector<TCustomInstallRegistry*> list;
    return list;
}

// ---- Entries ----------------------------------------------------------------------------------------------------------

TRegistryEntry::TRegistryEntry(fw::TCollection* collection) : fw::TCollectionItem(collection) {
    if (auto* entries = dynamic_cast<TRegistryEntries*>(collection))
        if (auto* owner = dynamic_cast<TCustomInstallRegistry*>(entries->GetOwner()); owner && !owner->InState(fw::csLoading))
            owner_ = owner;
}

bool TRegistryEntry::Applies() const { return owner_ && !owner_->InState(fw::csLoading); }

void TRegistryEntry::SetBoolValue(bool v) {
    boolValue_ = v;
    if (Applies()) entryType_ = TRegistryEntryType::retBoolean;
}

void TRegistryEntry::SetIntValue(int v) {
    intValue_ = v;
    if (Applies()) entryType_ = TRegistryEntryType::retInteger;
}

void TRegistryEntry::SetText(const std::string& v) {
    text_ = v;
    if (Applies()) entryType_ = TRegistryEntryType::retText;
}

void TRegistryEntry::SetPathSpecifier(TCustomPathSpecifier* v) {
    if (!Applies()) {
        pathSpecifier_ = v;
        return;
    }
    if (v) {
        v->Validate(owner_);
        text_ = "%p";
        v->FreeNotification(owner_);
    }
    pathSpecifier_ = v;
    entryType_ = TRegistryEntryType::retText;
}

std::string TRegistryEntry::TextValue() const {
    if (!pathSpecifier_) return text_;
    return ExpandPathMacro(text_, pathSpecifier_->GetPath(owner_));
}

void TRegistryEntry::Assign(fw::TPersistent* source) {
    if (auto* e = dynamic_cast<TRegistryEntry*>(source)) {
        boolValue_ = e->boolValue_;
        entryType_ = e->entryType_;
        ident_ = e->ident_;
        intValue_ = e->intValue_;
        pathSpecifier_ = e->pathSpecifier_;
        text_ = e->text_;
        if (pathSpecifier_ && owner_) pathSpecifier_->FreeNotification(owner_);
        return;
    }
    fw::TCollectionItem::Assign(source);
}

TRegistryEntries::TRegistryEntries(TCustomInstallRegistry* owner)
    : fw::TCollection(&fw::TCollection::MakeItem<TRegistryEntry>, RequireOwner(owner)) {}

// ---- The registry object ------------------------------------------------------------------------------------------------

TCustomInstallRegistry::TCustomInstallRegistry(fw::TComponent* owner)
    : TInstallObject(owner), entries_(new TRegistryEntries(this)) {
    InstallRegistryList().push_back(this);
}

TCustomInstallRegistry::~TCustomInstallRegistry() {
    auto& list = InstallRegistryList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    delete entries_;
}

void TCustomInstallRegistry::Loaded() {
    TInstallObject::Loaded();
    for (int i = 0; i < entries_->Count(); ++i) {
        TRegistryEntry* entry = entries_->Entry(i);
        entry->SetRegistryObject(this);
        if (entry->PathSpecifier()) entry->PathSpecifier()->FreeNotification(this);
    }
}

void TCustomInstallRegistry::Notification(fw::TComponent* component, fw::TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation != fw::opRemove) return;
    // The entries lose the specifier but keep their type.
    for (int i = 0; i < entries_->Count(); ++i)
        if (entries_->Entry(i)->PathSpecifier() == component) entries_->Entry(i)->ForgetPathSpecifier();
    if (component == InstallComponent() && keySpecifierType_ != TKeySpecifier::ksAbsolute)
        keySpecifierType_ = TKeySpecifier::ksAbsolute;
}

void TCustomInstallRegistry::SetEntries(TRegistryEntries* v) {
    entries_->Assign(v);
    for (int i = 0; i < entries_->Count(); ++i) entries_->Entry(i)->SetRegistryObject(this);
}

void TCustomInstallRegistry::SetKey(const std::string& v) {
    key_ = keySpecifierType_ == TKeySpecifier::ksAbsolute ? v : std::string();
}

void TCustomInstallRegistry::SetKeySpecifierType(TKeySpecifier v) {
    if (v != TKeySpecifier::ksAbsolute) {
        if (!InState(fw::csLoading)) RequireInstall()->FreeNotification(this);
        key_.clear();
        rootKey_ = TRootKeys::hkLocalMachine;
    }
    keySpecifierType_ = v;
}

std::string TCustomInstallRegistry::FullKey() {
    if (keySpecifierType_ == TKeySpecifier::ksAbsolute) return RemoveBackslash(key_);
    const TInstallInformation& info = *RequireInstall()->Information();
    std::string key = "\\SOFTWARE\\" + info.CompanyName;
    if (keySpecifierType_ == TKeySpecifier::ksCompanyName) return key;
    key += "\\" + info.ProductName;
    if (keySpecifierType_ == TKeySpecifier::ksProductName) return key;
    return key + "\\" + info.Version;
}

void TCustomInstallRegistry::Notify(TInstallContainer*, int code, fw::TObject*) {
    if (code == -968) Process();
}

void TCustomInstallRegistry::InstallChildren() {
    for (int i = 0; i < entries_->Count(); ++i) {
        TRegistryEntry* entry = entries_->Entry(i);
        bool go = true;
        if (OnBeforeWriteEntry) OnBeforeWriteEntry(this, entry, go);
        if (go) WriteEntry(*entry);
    }
    TInstallObject::InstallChildren();
}

void TCustomInstallRegistry::WriteEntry(TRegistryEntry& entry) {
    const std::string key = FullKey();
    TqnfdRegistry reg;
    reg.SetRootKey(RootHandle(rootKey_));
    bool opened = false;
    try {
        opened = reg.OpenKey(key, true);
    } catch (const fw::Exception&) {
    }
    if (!opened) throw IERegistryEntry("%s cannot create the key %s in the registry", {Name(), key});
    switch (entry.EntryType()) {
        case TRegistryEntryType::retText: reg.WriteString(entry.Ident(), entry.TextValue()); break;
        case TRegistryEntryType::retInteger: reg.WriteInteger(entry.Ident(), entry.IntValue()); break;
        case TRegistryEntryType::retBoolean: reg.WriteInteger(entry.Ident(), entry.BoolValue() ? 1 : 0); break;
    }
}

void TCustomInstallRegistry::WriteUninstallInfo(const std::string& uninstallKey) {
    const std::string keys = uninstallKey + "\\RegistryKeys";
    const int n = fw::StrToIntDef(ReadRegString(TRootKeys::hkLocalMachine, keys, "Entries", "0"), 0) + 1;
    WriteRegString(TRootKeys::hkLocalMachine, keys, "Entries", std::to_string(n));
    const std::string record = keys + "\\RegistryKey" + std::to_string(n);
    WriteRegString(TRootKeys::hkLocalMachine, record, "Key", FullKey());
    WriteRegInteger(TRootKeys::hkLocalMachine, record, "Root", static_cast<int>(rootKey_));
    for (int i = 0; i < entries_->Count(); ++i) {
        const TRegistryEntry* entry = entries_->Entry(i);
        WriteRegString(TRootKeys::hkLocalMachine, record + "\\Entries", entry->Ident(), entry->TextValue());
    }
}

}  // namespace inst
