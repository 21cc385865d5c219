#include "installer/install_tree.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/install_root.h"
#include "installer/pathspec.h"

namespace inst {

namespace {

TInstallRoot* g_root = nullptr;

template <class T>
void EraseFrom(std::vector<T*>& list, const void* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

// The container of an install object, or null.
TInstallContainer* ContainerOf(TInstallContainer* node) {
    auto* object = dynamic_cast<TInstallObject*>(node);
    return object ? object->Container() : nullptr;
}

}  // namespace

void ListAdd(fw::TList& list, fw::TObject* object) { list.Add(static_cast<void*>(object)); }
fw::TObject* ListItem(const fw::TList& list, int index) { return static_cast<fw::TObject*>(list.Get(index)); }

std::vector<TInstallContainer*>& AllContainers() {
    static std::vector<TInstallContainer*> list;
    return list;
}

std::vector<TCustomInstallFile*>& AllInstallFiles() {
    static std::vector<TCustomInstallFile*> list;
    return list;
}

std::vector<TCustomInstallFile*>& FailedRegistrations() {
    static std::vector<TCustomInstallFile*> list;
    return list;
}

TQnfdCompress& SharedArchive() {
    static TQnfdCompress* shared = fw::Make<TQnfdCompress>(nullptr);
    return *shared;
}

TInstallRoot* InstallComponent() { return g_root; }
void SetInstallComponent(TInstallRoot* root) { g_root = root; }

bool IsDefinitionRoot(fw::TComponent* owner) {
    return owner && (owner->InheritsFrom("TCustomForm") || owner->InheritsFrom("TForm") ||
                     owner->InheritsFrom("TDataModule") || owner->InheritsFrom("TInstallDefinition"));
}

// ---- TInstallContainer ------------------------------------------------------------------------------------

TInstallContainer::TInstallContainer(fw::TComponent* owner) : fw::TComponent(owner) {
    if (IsDefinitionRoot(owner)) EnsureStandardSpecifiers(owner);
    AllContainers().push_back(this);
}

TInstallContainer::~TInstallContainer() { EraseFrom(AllContainers(), this); }

void TInstallContainer::BeforeDestruction() {
    const std::vector<TInstallContainer*> others = AllContainers();
    for (TInstallContainer* c : others)
        if (c != this) c->ContainerDestroyed(this);
    children_.clear();
    EraseFrom(AllContainers(), this);
    fw::TComponent::BeforeDestruction();
}

void TInstallContainer::Notification(fw::TComponent* component, fw::TOperation operation) {
    fw::TComponent::Notification(component, operation);
    if (operation == fw::opRemove && component == destDirType_) destDirType_ = nullptr;
}

void TInstallContainer::SetDestDir(const std::string& value) { destDir_ = value; }

void TInstallContainer::SetDestDirType(TCustomPathSpecifier* value) {
    destDirTypeAssigned_ = true;
    if (value && !InState(fw::csLoading)) value->Validate(this);
    if (destDirType_ == value) return;
    if (destDirType_) destDirType_->RemoveFreeNotification(this);
    destDirType_ = value;
    if (value) value->FreeNotification(this);
}

int TInstallContainer::CountFileContainers() const {
    return static_cast<int>(std::count_if(children_.begin(), children_.end(),
                                          [](TInstallContainer* c) { return dynamic_cast<TFileContainer*>(c) != nullptr; }));
}

TInstallContainer* TInstallContainer::FileContainer(int index) const { return ChildOf<inst::TFileContainer>(index); }

void TInstallContainer::ContainerDestroyed(TInstallContainer* node) {
    if (dynamic_cast<TInstallObject*>(node)) RemoveChild(node);
}

void TInstallContainer::StatusMessage(const std::string& text) {
    TMessageParameter param;
    param.Text = text;
    Broadcast(this, kNotifyStatusMessage, &param);
}

void TInstallContainer::EndStatusMessage() { Broadcast(this, kNotifyEndStatusMessage, nullptr); }

std::string TInstallContainer::GetDestPath() {
    std::string path = destDirType_ ? destDirType_->GetPath(this) + destDir_ : destDir_;
    if (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

int TInstallContainer::RegisteredType() const { throw IEInstallContainer("Class must declare a registered type"); }

void TInstallContainer::AddChild(TInstallContainer* node) {
    if (!node) throw IEInstallContainer("Cannot add a blank base helper component to %s", {Name()});
    for (TInstallContainer* up = this; up; up = ContainerOf(up))
        if (up == node) throw IEInstallContainer("Circular reference");
    size_t at = children_.size();
    if (fw::SameText(node->ClassName(), "TINSTALLBDE")) {
        at = 0;
    } else {
        const int type = node->RegisteredType();
        for (size_t i = 0; i < children_.size(); ++i)
            if (children_[i]->RegisteredType() >= type) {
                at = i;
                break;
            }
    }
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(at), node);
}

void TInstallContainer::RemoveChild(TInstallContainer* node) {
    if (node) EraseFrom(children_, node);
}

TInstallContainer* TInstallContainer::Child(int index) const {
    if (index < 0 || index >= ChildCount())
        throw IEInstallContainer(
            "Tried to reference a helper component in the following component: %s. The following index was used: %d",
            {Name(), index});
    return children_[static_cast<size_t>(index)];
}

void TInstallContainer::ChildOfError(int index, const std::string& className) const {
    throw IEInstallContainer("%s has no child number %d of the class %s", {Name(), index, className});
}

void TInstallContainer::Broadcast(TInstallContainer* sender, int code, fw::TObject* param) {
    const std::vector<TInstallContainer*> children = children_;
    for (TInstallContainer* c : children)
        if (c->RegisteredType() >= kTypeFile) c->Notify(sender, code, param);
}

void TInstallContainer::RunProcessSteps() {
    try {
        if (OnBeforeProcess) OnBeforeProcess(this);
        Broadcast(this, kNotifyBeforeProcess, nullptr);
        if (!include_) return;
        if (OnProcessing) OnProcessing(this);
        Broadcast(this, kNotifyProcessing, nullptr);
        if (!IsSelected()) return;
        InstallChildren();
        processed_ = true;
        if (TInstallRoot* root = InstallComponent(); root && uninstall_)
            WriteUninstallInfo(kUninstallKey + root->Information()->ProductName);
        if (OnAfterProcess) OnAfterProcess(this);
        Broadcast(this, kNotifyAfterProcess, nullptr);
    } catch (const fw::EAbort&) {
    }
}

void TInstallContainer::Process() { RunProcessSteps(); }

void TInstallContainer::InstallChildren() {
    processed_ = true;
    const std::vector<TInstallContainer*> children = children_;
    for (TInstallContainer* c : children)
        if (c->IsFileRelated()) c->Process();
}

bool TInstallContainer::IsSelected() const {
    return include_ && (selectedInstallType_ == 3 ||
                        installTypes_.Contains(static_cast<TInstallType>(selectedInstallType_ & 3)));
}

void TInstallContainer::SetSelectedInstallType(uint8_t type) {
    for (TInstallContainer* c : children_) c->SetSelectedInstallType(type);
    selectedInstallType_ = type;
}

// ---- TInstallObject ----------------------------------------------------------------------------------------

void TInstallObject::LinkContainer(TInstallContainer* value) {
    if (value == container_) return;
    if (value) value->AddChild(this);
    if (container_) {
        container_->RemoveChild(this);
        container_->RemoveFreeNotification(this);
    }
    container_ = value;
    if (value) value->FreeNotification(this);
}

void TInstallObject::SetContainer(TInstallContainer* value) {
    if (value == container_) return;
    LinkContainer(value);
    if (InState(fw::csLoading)) return;
    if (value) {
        SetDestDirType(FindSpecifier<TpsContainerDestDir>());
        SetDestDir(std::string());
    } else if (dynamic_cast<TpsContainerDestDir*>(DestDirType())) {
        SetDestDirType(nullptr);
    }
}

void TInstallObject::Process() {
    TInstallRoot* root = InstallComponent();
    if (!root || !root->Running() || !container_ || container_->Processed()) RunProcessSteps();
}

void TInstallObject::ContainerDestroyed(TInstallContainer* node) {
    TInstallContainer::ContainerDestroyed(node);
    if (node == container_) container_ = nullptr;
}

void TInstallObject::Notification(fw::TComponent* component, fw::TOperation operation) {
    TInstallContainer::Notification(component, operation);
    if (operation == fw::opRemove && component == container_) container_ = nullptr;
}

}  // namespace inst
