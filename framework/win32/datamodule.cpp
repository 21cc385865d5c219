#include "framework/win32/datamodule.h"

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"

namespace fw {

TDataModule::TDataModule(TComponent* owner) : TComponent(owner) {
    if (Screen) Screen->AddDataModule(this);
}

TDataModule::~TDataModule() = default;

namespace {

// Another form or data module of that name, whoever owns it: a driver tells roots apart by name.
bool RootNameTaken(TComponent* root, const std::string& name) {
    if (!Screen) return false;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i) != root && SameName(Screen->Forms(i)->Name(), name)) return true;
    for (int i = 0; i < Screen->DataModuleCount(); ++i)
        if (Screen->DataModules(i) != root && SameName(Screen->DataModules(i)->Name(), name)) return true;
    return false;
}

}  // namespace

std::string UniqueRootName(TComponent* root, const std::string& name) {
    TComponent* owner = root->Owner();
    if (name.empty() || !root->InState(csReading)) return name;
    std::string candidate = name;
    for (int n = 1;; ++n) {
        TComponent* holder = owner ? owner->FindComponent(candidate) : nullptr;
        if ((!holder || holder == root) && !RootNameTaken(root, candidate)) return candidate;
        candidate = name + "_" + std::to_string(n);
    }
}

void TDataModule::SetName(const std::string& newName) { TComponent::SetName(UniqueRootName(this, newName)); }

void TDataModule::DoCreate() {
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        if (!Application) throw;
        Application->HandleException(this);
    }
}

void TDataModule::BeforeDestruction() {
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    if (Screen) Screen->RemoveDataModule(this);
    TComponent::BeforeDestruction();
}

void RegisterDataModuleClasses() {
    Class<TDataModule, TComponent>("TDataModule")
        .Prop("Left", &TDataModule::Left, &TDataModule::SetLeft)
        .Prop("Top", &TDataModule::Top, &TDataModule::SetTop)
        .Prop("Width", &TDataModule::Width, &TDataModule::SetWidth)
        .Prop("Height", &TDataModule::Height, &TDataModule::SetHeight)
        .Prop("OldCreateOrder", &TDataModule::OldCreateOrder, &TDataModule::SetOldCreateOrder)
        .Event("OnCreate", &TDataModule::OnCreate)
        .Event("OnDestroy", &TDataModule::OnDestroy);
}

}  // namespace fw
