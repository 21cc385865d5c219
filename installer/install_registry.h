// Registry values to install (pass 8500): a list of entries written under one key. An entry holds text
// (a path specifier's path put in for "%p"), an integer or a Boolean (a DWORD 1 or 0). Each registry
// object records its key and value names in the product's uninstall record.
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/lists.h"
#include "installer/install_tree.h"
#include "installer/qnfdregistry.h"

namespace inst {

class TCustomInstallRegistry;
class TCustomPathSpecifier;

enum class TRegistryEntryType { retText, retInteger, retBoolean };
enum class TKeySpecifier { ksAbsolute, ksCompanyName, ksProductName, ksVersion };

class TRegistryEntry : public fw::TCollectionItem {
public:
    explicit TRegistryEntry(fw::TCollection* collection);

    // "Boolean" and "Integer" in form text.
    bool BoolValue() const { return boolValue_; }
    void SetBoolValue(bool v);
    TRegistryEntryType EntryType() const { return entryType_; }
    void SetEntryType(TRegistryEntryType v) { entryType_ = v; }
    const std::string& Ident() const { return ident_; }
    void SetIdent(const std::string& v) { ident_ = v; }
    int IntValue() const { return intValue_; }
    void SetIntValue(int v);
    TCustomPathSpecifier* PathSpecifier() const { return pathSpecifier_; }
    void SetPathSpecifier(TCustomPathSpecifier* v);
    // The specifier went away: the entry keeps its type.
    void ForgetPathSpecifier() { pathSpecifier_ = nullptr; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& v);

    // The registry object the entry belongs to, known once that object has loaded.
    TCustomInstallRegistry* RegistryObject() const { return owner_; }
    void SetRegistryObject(TCustomInstallRegistry* owner) { owner_ = owner; }
    // Text, with the path specifier's path put in for "%p".
    std::string TextValue() const;
    void Assign(fw::TPersistent* source) override;

private:
    // Outside loading and once the owner is known, setters apply their rules.
    bool Applies() const;

    bool boolValue_ = false;
    TRegistryEntryType entryType_ = TRegistryEntryType::retText;
    std::string ident_;
    int intValue_ = 0;
    TCustomPathSpecifier* pathSpecifier_ = nullptr;
    std::string text_;
    TCustomInstallRegistry* owner_ = nullptr;
};

class TRegistryEntries : public fw::TCollection {
public:
    // Raises IERegistryEntries without a registry object.
    explicit TRegistryEntries(TCustomInstallRegistry* owner);
    TRegistryEntry* Entry(int index) const { return static_cast<TRegistryEntry*>(Items(index)); }
};

using TBeforeWriteEntry = fw::Event<void(fw::TObject* Sender, TRegistryEntry* Entry, bool& Continue)>;

class TCustomInstallRegistry : public TInstallObject {
public:
    explicit TCustomInstallRegistry(fw::TComponent* owner);
    int RegisteredType() const override { return kTypeRegistry; }

    TRegistryEntries* Entries() const { return entries_; }
    virtual void SetEntries(TRegistryEntries* v);
    const std::string& Key() const { return key_; }
    virtual void SetKey(const std::string& v);
    TKeySpecifier KeySpecifierType() const { return keySpecifierType_; }
    virtual void SetKeySpecifierType(TKeySpecifier v);
    TRootKeys RootKey() const { return rootKey_; }
    void SetRootKey(TRootKeys v) { rootKey_ = v; }
    TBeforeWriteEntry OnBeforeWriteEntry;

    // The key the entries go under, by KeySpecifierType.
    virtual std::string FullKey();

    void Notify(TInstallContainer* sender, int code, fw::TObject* param) override;
    void InstallChildren() override;
    void WriteUninstallInfo(const std::string& key) override;
    void Loaded() override;

protected:
    ~TCustomInstallRegistry() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    void WriteEntry(TRegistryEntry& entry);

    TRegistryEntries* entries_;
    std::string key_ = "\\SOFTWARE\\MyStuff";
    TKeySpecifier keySpecifierType_ = TKeySpecifier::ksAbsolute;
    TRootKeys rootKey_ = TRootKeys::hkLocalMachine;
};

class TInstallRegistry : public TCustomInstallRegistry {
public:
    explicit TInstallRegistry(fw::TComponent* owner) : TCustomInstallRegistry(owner) {}
};

// Every registry object, in creation order.
std::vector<TCustomInstallRegistry*>& InstallRegistryList();

}  // namespace inst
