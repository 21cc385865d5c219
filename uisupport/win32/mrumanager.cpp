#include "uisupport/win32/mrumanager.h"

#include <algorithm>

#include "framework/win32/menus.h"
#include "uisupport/settingsstore.h"

namespace uis {

TMRUManager::TMRUManager(fw::TComponent* owner) : TComponent(owner), list_(new TRecentStrings) {
    list_->OnChange = fw::TNotifyEvent(this, &TMRUManager::ListChanged);
    link_.OnSave = fw::TNotifyEvent(this, &TMRUManager::SaveToStore);
    link_.OnLoad = fw::TNotifyEvent(this, &TMRUManager::LoadFromStore);
}

TMRUManager::~TMRUManager() { delete list_; }

void TMRUManager::BeforeDestruction() {
    RemoveItems();
    link_.SetStorage(nullptr);
    list_->OnChange.Reset();
    TComponent::BeforeDestruction();
}

void TMRUManager::SetAccelDelimiter(TAccelDelimiter value) {
    if (value == accelDelimiter_) return;
    accelDelimiter_ = value;
    if (showAccelChar_) Rebuild();
}

void TMRUManager::SetAutoEnable(bool value) {
    autoEnable_ = value;
    ApplyAutoEnable();
}

void TMRUManager::SetIniStorage(TFormPlacement* value) {
    if (TFormPlacement* old = link_.Storage()) old->RemoveFreeNotification(this);
    link_.SetStorage(value);
    if (value) value->FreeNotification(this);
}

void TMRUManager::SetSeparateSize(int value) {
    if (value == separateSize_) return;
    separateSize_ = value;
    Rebuild();
}

void TMRUManager::SetRecentMenu(fw::TMenuItem* value) {
    if (value == recentMenu_) return;
    RemoveItems();
    if (recentMenu_) recentMenu_->RemoveFreeNotification(this);
    recentMenu_ = value;
    if (recentMenu_) recentMenu_->FreeNotification(this);
    UpdateRecentMenu();
}

void TMRUManager::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    Rebuild();
}

void TMRUManager::SetStartAccel(unsigned value) {
    if (value == startAccel_) return;
    startAccel_ = value;
    Rebuild();
}

void TMRUManager::Notification(fw::TComponent* component, fw::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == recentMenu_) {
        recentMenu_ = nullptr;
        items_.clear();  // they went with the menu item
    }
    if (component == link_.Storage()) link_.SetStorage(nullptr);
    std::erase(items_, component);
}

// ---- the list -----------------------------------------------------------------------------------

void TMRUManager::Add(const std::string& name, int userData) {
    list_->BeginUpdate();
    try {
        list_->SetUserData(list_->Add(name), userData);
    } catch (...) {
        list_->EndUpdate();
        throw;
    }
    list_->EndUpdate();
}

void TMRUManager::Remove(const std::string& name) { list_->Remove(name); }

void TMRUManager::Clear() { list_->Clear(); }

void TMRUManager::ListChanged(fw::TObject*) {
    ListChange();
    Rebuild();
}

void TMRUManager::ListChange() {
    if (OnChange) OnChange(this);
}

// ---- the menu -----------------------------------------------------------------------------------

void TMRUManager::RemoveItems() {
    const std::vector<fw::TMenuItem*> items(items_);
    items_.clear();
    for (fw::TMenuItem* item : items)
        if (recentMenu_ && item->Parent() == recentMenu_) item->Free();
    ApplyAutoEnable();
}

void TMRUManager::ApplyAutoEnable() {
    if (autoEnable_ && recentMenu_) recentMenu_->SetEnabled(recentMenu_->Count() > 0);
}

void TMRUManager::UpdateRecentMenu() {
    RemoveItems();
    if (!recentMenu_) return;
    const auto append = [this](fw::TMenuItem* item) {
        items_.push_back(item);
        recentMenu_->Add(item);
    };
    const auto separator = [this, &append] {
        auto* item = fw::Make<fw::TMenuItem>(this);
        item->SetCaption("-");
        append(item);
    };
    if (list_->Count() > 0 && recentMenu_->Count() > 0) separator();
    const char delimiter = accelDelimiter_ == TAccelDelimiter::adTab ? '\t' : ' ';
    for (int i = 0; i < list_->Count(); ++i) {
        if (separateSize_ > 0 && i > 0 && i % separateSize_ == 0) separator();
        std::string caption = list_->Get(i);
        fw::TShortCut shortCut = 0;
        GetEntryData(caption, shortCut, list_->UserData(i));
        std::string text, hint;
        SplitCaptionHint(caption, text, hint);
        auto* item = fw::Make<fw::TMenuItem>(this);
        item->SetCaption(RecentItemCaption(i, startAccel_, showAccelChar_, delimiter, text));
        item->SetShortCut(shortCut);
        item->SetHint(hint);
        item->SetTag(i);
        item->OnClick = fw::TNotifyEvent(this, &TMRUManager::MenuItemClick);
        append(item);
    }
    ApplyAutoEnable();
}

void TMRUManager::GetEntryData(std::string& caption, fw::TShortCut& shortCut, int userData) {
    if (OnGetItemData) OnGetItemData(this, caption, shortCut, userData);
}

void TMRUManager::EntryClick(const std::string& name, const std::string& caption, int userData) {
    if (OnClick) OnClick(this, name, caption, userData);
}

void TMRUManager::MenuItemClick(fw::TObject* sender) {
    auto* item = dynamic_cast<fw::TMenuItem*>(sender);
    if (!item || item->Tag() < 0 || item->Tag() >= list_->Count()) return;
    const std::string name = list_->Get(item->Tag());
    try {
        EntryClick(name, item->Caption(), list_->UserData(item->Tag()));
    } catch (...) {
        if (removeOnSelect_) Remove(name);
        throw;
    }
    if (removeOnSelect_) Remove(name);
}

// ---- the store ----------------------------------------------------------------------------------

std::string TMRUManager::StoreSection() const { return link_.RootSection() + DefaultSection(const_cast<TMRUManager*>(this)); }

void TMRUManager::WriteEntry(fw::TCustomIniFile* ini, const std::string& section, int index, const std::string& name,
                             int userData) {
    if (OnWriteItem) {
        OnWriteItem(this, ini, section, index, name, userData);
        return;
    }
    const std::string suffix = std::to_string(index);
    StoreWriteString(*ini, section, "Item_" + suffix, name);
    if (userData != 0)
        StoreWriteInteger(*ini, section, "User_" + suffix, userData);
    else
        StoreDeleteKey(*ini, section, "User_" + suffix);
}

void TMRUManager::ReadEntry(fw::TCustomIniFile* ini, const std::string& section, int index, std::string& name,
                            int& userData) {
    if (OnReadItem) {
        OnReadItem(this, ini, section, index, name, userData);
        return;
    }
    const std::string suffix = std::to_string(index);
    name = StoreReadString(*ini, section, "Item_" + suffix, "");
    userData = StoreReadInteger(*ini, section, "User_" + suffix, 0);
}

void TMRUManager::SaveToStore(fw::TObject*) {
    fw::TCustomIniFile* ini = link_.IniObject();
    if (Name().empty() || !ini) return;
    const std::string section = StoreSection();
    StoreEraseSection(*ini, section);
    for (int i = 0; i < list_->Count(); ++i) WriteEntry(ini, section, i, list_->Get(i), list_->UserData(i));
}

void TMRUManager::LoadFromStore(fw::TObject*) {
    fw::TCustomIniFile* ini = link_.IniObject();
    if (Name().empty() || !ini) return;
    const std::string section = StoreSection();
    const TRecentMode mode = list_->Mode();
    list_->BeginUpdate();
    try {
        list_->Clear();
        // From the highest index down in insert mode, so that the stored order is kept.
        list_->SetMode(TRecentMode::rmInsert);
        for (int i = list_->Capacity() - 1; i >= 0; --i) {
            std::string name;
            int userData = 0;
            ReadEntry(ini, section, i, name, userData);
            if (!name.empty()) list_->SetUserData(list_->Add(name), userData);
        }
    } catch (...) {
        list_->SetMode(mode);
        list_->EndUpdate();
        throw;
    }
    list_->SetMode(mode);
    list_->EndUpdate();
}

void RegisterMRUManagerClasses() {
    RegisterFormPlacementClasses();
    fw::RegisterMenuClasses();
    fw::RegisterEnum<TAccelDelimiter>({"adTab", "adSpace"}, "TAccelDelimiter");
    fw::RegisterEnum<TRecentMode>({"rmInsert", "rmAppend"}, "TRecentMode");
    fw::Class<TMRUManager, fw::TComponent>("TMRUManager")
        .Prop("AccelDelimiter", &TMRUManager::AccelDelimiter, &TMRUManager::SetAccelDelimiter)
        .Prop("AutoEnable", &TMRUManager::AutoEnable, &TMRUManager::SetAutoEnable)
        .Prop("AutoUpdate", &TMRUManager::AutoUpdate, &TMRUManager::SetAutoUpdate)
        .Prop("Capacity", &TMRUManager::Capacity, &TMRUManager::SetCapacity)
        .Prop("Mode", &TMRUManager::Mode, &TMRUManager::SetMode)
        .Prop("RemoveOnSelect", &TMRUManager::RemoveOnSelect, &TMRUManager::SetRemoveOnSelect)
        .Prop("IniStorage", &TMRUManager::IniStorage, &TMRUManager::SetIniStorage)
        .Prop("SeparateSize", &TMRUManager::SeparateSize, &TMRUManager::SetSeparateSize)
        .Prop("RecentMenu", &TMRUManager::RecentMenu, &TMRUManager::SetRecentMenu)
        .Prop("ShowAccelChar", &TMRUManager::ShowAccelChar, &TMRUManager::SetShowAccelChar)
        .Prop("StartAccel", &TMRUManager::StartAccel, &TMRUManager::SetStartAccel)
        .Event("OnChange", &TMRUManager::OnChange)
        .Event("OnClick", &TMRUManager::OnClick)
        .Event("OnGetItemData", &TMRUManager::OnGetItemData)
        .Event("OnReadItem", &TMRUManager::OnReadItem)
        .Event("OnWriteItem", &TMRUManager::OnWriteItem);
}

}  // namespace uis
