#include "framework/core/object.h"

#include <algorithm>
#include <typeinfo>

#include "framework/core/filer.h"
#include "framework/core/rtti.h"

namespace fw {

// Pending cross-root references that belong to a component being freed (defined with the form reader).
void DropPendingFixups(TComponent* component);

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<TComponent*>& GlobalRoots() {
    static std::vector<TComponent*> roots;
    return roots;
}

void EraseOne(std::vector<TComponent*>& list, TComponent* c) {
    auto it = std::find(list.begin(), list.end(), c);
    if (it != list.end()) list.erase(it);
}

}  // namespace

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

bool IsValidIdent(const std::string& name) {
    if (name.empty()) return false;
    auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

// ---- TObject -----------------------------------------------------------------------------------------

const TClassInfo* TObject::ClassInfo() const { return FindClassInfo(typeid(*this)); }

std::string TObject::ClassName() const {
    if (const TClassInfo* info = ClassInfo()) return info->Name();
    return typeid(*this).name();
}

bool TObject::InheritsFrom(const TClassInfo* cls) const {
    const TClassInfo* mine = ClassInfo();
    return mine && cls && mine->InheritsFrom(cls);
}

bool TObject::InheritsFrom(const std::string& className) const {
    for (const TClassInfo* c = ClassInfo(); c; c = c->Parent())
        if (SameName(c->Name(), className)) return true;
    return false;
}

void TObject::Free() {
    BeforeDestruction();
    delete this;
}

// ---- TPersistent -------------------------------------------------------------------------------------

void TPersistent::Assign(TPersistent* source) {
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
    std::string sourceName = source ? source->ClassName() : "nil";
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

// ---- TComponent --------------------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
    // Free() has already emptied these; a component deleted another way still leaves no dangling links.
    if (owner_) owner_->Remove(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    EraseOne(components_, component);
    component->owner_ = nullptr;
}

void TComponent::NotifyInserted() {
    if (owner_) owner_->Notification(this, opInsert);
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_ == this) return;
    if (component->owner_) component->owner_->RemoveComponent(component);
    ValidateRename(component, std::string(), component->name_);
    Insert(component);
    component->SetReference(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component->owner_ != this) return;
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::SetReference(bool enable) {
    if (!owner_ || name_.empty()) return;
    const TClassInfo* cls = owner_->ClassInfo();
    const FieldInfo* field = cls ? cls->FindField(name_) : nullptr;
    if (!field) return;
    if (enable) {
        field->assign(owner_, this);  // a field of another class stays as it is
    } else if (field->get(owner_) == this) {
        field->assign(owner_, nullptr);
    }
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->name_, name)) return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName) {
    if (newName.empty() || SameName(currentName, newName)) return;
    TComponent* other = FindComponent(newName);
    if (other && other != component)
        throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::SetName(const std::string& newName) {
    if (name_ == newName) return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw EComponentError("'" + newName + "' is not a valid component name");
    if (owner_) owner_->ValidateRename(this, name_, newName);
    SetReference(false);
    name_ = newName;
    SetReference(true);
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& theirs = component->freeNotifies_;
    if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    EraseOne(freeNotifies_, component);
    EraseOne(component->freeNotifies_, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) EraseOne(freeNotifies_, component);
    // A receiver may free or create components while it is told: walk a snapshot and skip the gone.
    std::vector<TComponent*> snapshot = components_;
    for (TComponent* c : snapshot)
        if (std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::Destroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::BeforeDestruction() {
    Destroying();
    UnregisterGlobalRoot(this);
    DropPendingFixups(this);
    // Everyone who asked hears that this component goes, while it is still whole.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        EraseOne(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    if (owner_) owner_->RemoveComponent(this);
    // Owned components go in reverse creation order.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        last->Free();
        // Free() removed it from this list through RemoveComponent; guard against a subclass that did not.
        if (!components_.empty() && components_.back() == last) components_.pop_back();
    }
}

void TComponent::ReadState(TReader& reader) { reader.ReadData(this); }

void TComponent::Loaded() { state_ &= ~csLoading; }

// ---- global roots ------------------------------------------------------------------------------------

void RegisterGlobalRoot(TComponent* root) {
    auto& roots = GlobalRoots();
    if (std::find(roots.begin(), roots.end(), root) == roots.end()) roots.push_back(root);
}

void UnregisterGlobalRoot(TComponent* root) { EraseOne(GlobalRoots(), root); }

TComponent* FindGlobalComponent(const std::string& name) {
    for (TComponent* root : GlobalRoots())
        if (SameName(root->Name(), name)) return root;
    return nullptr;
}

bool IsGlobalRoot(const TComponent* c) {
    auto& roots = GlobalRoots();
    return std::find(roots.begin(), roots.end(), c) != roots.end();
}

}  // namespace fw
