// TMRUManager: a most-recently-used list shown as numbered items under a menu item and kept with a
// form placement. The list saves and loads with its placement (IniStorage) in the section
// "<placement's IniSection>\<form class>.<manager name>" as Item_0.. (names) and User_0.. (user data,
// only when not 0).
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/inifiles.h"
#include "framework/core/object.h"
#include "framework/win32/keyboard.h"
#include "uisupport/recentstrings.h"
#include "uisupport/win32/formplacement.h"

namespace fw {
class TMenuItem;
}

namespace uis {

enum class TAccelDelimiter { adTab, adSpace };

using TClickMenuEvent =
    fw::Event<void(fw::TObject* Sender, const std::string& RecentName, const std::string& Caption, int UserData)>;
using TGetItemEvent = fw::Event<void(fw::TObject* Sender, std::string& Caption, fw::TShortCut& ShortCut, int UserData)>;
using TReadItemEvent = fw::Event<void(fw::TObject* Sender, fw::TCustomIniFile* IniFile, const std::string& Section,
                                      int Index, std::string& RecentName, int& UserData)>;
using TWriteItemEvent = fw::Event<void(fw::TObject* Sender, fw::TCustomIniFile* IniFile, const std::string& Section,
                                       int Index, const std::string& RecentName, int UserData)>;

class TMRUManager : public fw::TComponent {
public:
    explicit TMRUManager(fw::TComponent* owner);

    TAccelDelimiter AccelDelimiter() const { return accelDelimiter_; }
    void SetAccelDelimiter(TAccelDelimiter value);
    // RecentMenu is enabled only while it has sub-items.
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool value);
    // The menu is rebuilt after each change of the list or of a display property.
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool value) { autoUpdate_ = value; }
    int Capacity() const { return list_->Capacity(); }
    void SetCapacity(int value) { list_->SetCapacity(value); }
    TRecentMode Mode() const { return list_->Mode(); }
    void SetMode(TRecentMode value) { list_->SetMode(value); }
    bool RemoveOnSelect() const { return removeOnSelect_; }
    void SetRemoveOnSelect(bool value) { removeOnSelect_ = value; }
    TFormPlacement* IniStorage() const { return link_.Storage(); }
    void SetIniStorage(TFormPlacement* value);
    int SeparateSize() const { return separateSize_; }
    void SetSeparateSize(int value);
    fw::TMenuItem* RecentMenu() const { return recentMenu_; }
    void SetRecentMenu(fw::TMenuItem* value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    unsigned StartAccel() const { return startAccel_; }
    void SetStartAccel(unsigned value);

    fw::TNotifyEvent OnChange;
    TClickMenuEvent OnClick;
    TGetItemEvent OnGetItemData;
    TReadItemEvent OnReadItem;
    TWriteItemEvent OnWriteItem;

    // Adds or moves the name and sets its user data.
    void Add(const std::string& name, int userData);
    void Remove(const std::string& name);
    void Clear();
    // Rebuilds the menu items now.
    void UpdateRecentMenu();
    TRecentStrings& Strings() const { return *list_; }
    // The section the list is kept in (while the placement's store is open).
    std::string StoreSection() const;

protected:
    ~TMRUManager() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

    virtual void ListChange();
    virtual void ReadEntry(fw::TCustomIniFile* ini, const std::string& section, int index, std::string& name,
                           int& userData);
    virtual void WriteEntry(fw::TCustomIniFile* ini, const std::string& section, int index, const std::string& name,
                            int userData);
    virtual void GetEntryData(std::string& caption, fw::TShortCut& shortCut, int userData);
    virtual void EntryClick(const std::string& name, const std::string& caption, int userData);

private:
    void ListChanged(fw::TObject* sender);
    void MenuItemClick(fw::TObject* sender);
    void RemoveItems();
    void ApplyAutoEnable();
    void Rebuild() {
        if (autoUpdate_) UpdateRecentMenu();
    }
    void SaveToStore(fw::TObject* sender);
    void LoadFromStore(fw::TObject* sender);

    TRecentStrings* list_;
    std::vector<fw::TMenuItem*> items_;
    TIniLink link_;
    fw::TMenuItem* recentMenu_ = nullptr;
    TAccelDelimiter accelDelimiter_ = TAccelDelimiter::adTab;
    bool autoEnable_ = true;
    bool autoUpdate_ = true;
    bool removeOnSelect_ = false;
    int separateSize_ = 0;
    bool showAccelChar_ = true;
    unsigned startAccel_ = 1;
};

void RegisterMRUManagerClasses();

}  // namespace uis
