// TKVXMRUList: a most-recently-used list of strings (archive paths, folders) shown as menu items next
// to a menu item, before it, or as its submenu, and as the drop-down menu of a graphic button. It is
// read from the settings store when its form is created (values H0, H1, ... of its section) and written
// back when the form is destroyed.
//
// The menu items are rebuilt from scratch after every change. Items the list made are TKVXMRUItem; the
// list keeps track of them, so it removes exactly its own even when the menu item they stood beside was
// freed. Each carries its entry's index in Tag (65535: "Clear List...").
// A click may rebuild the menu that holds the clicked item, so removed items are kept until the next
// change outside a click (or the list's end) before they are freed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/win32/menus.h"
#include "widgets/win32/graphicbutton.h"
#include "widgets/win32/inicomponent.h"

namespace kvx::win32 {

enum class TKVXMRUListOption { moFileNameOnly, moShowAccel, moSubIfEmpty, moSubClearOption };
using TKVXMRUListOptions = fw::Set<TKVXMRUListOption>;
enum class TKVXMRUListStyle { msAfterItem, msBeforeItem, msCreateSubMenu };
using TKVXMRUClickEvent = fw::Event<void(TObject* Sender, const std::string& aValue, bool& Remove)>;

// A menu item made by the list.
class TKVXMRUItem : public fw::TMenuItem {
public:
    using fw::TMenuItem::TMenuItem;
};

class TKVXMRUList : public TKVXCustomIniComponent {
public:
    static constexpr int kClearItemTag = 65535;

    explicit TKVXMRUList(TComponent* owner);

    uint8_t MaxEntries() const { return maxEntries_; }
    // Entries past the new count are dropped from the end.
    void SetMaxEntries(uint8_t value);
    // Display length of an entry in the menu (255: never shortened).
    uint8_t MaxLength() const { return maxLength_; }
    void SetMaxLength(uint8_t value);
    fw::TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(fw::TMenuItem* value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    TKVXMRUListOptions Options() const { return options_; }
    void SetOptions(TKVXMRUListOptions value);
    TKVXMRUListStyle Style() const { return style_; }
    void SetStyle(TKVXMRUListStyle value);
    // A shared list only reports clicks; it leaves its entries alone.
    bool Shared = false;
    TKVXBaseGraphicButton* Button() const { return button_; }
    void SetButton(TKVXBaseGraphicButton* value);
    // The entries, newest first. After changing them directly, call Rebuild.
    fw::TStringList* Items() const { return entries_; }
    void SetItems(fw::TStrings* value);
    // The button's drop-down menu (null until a button needs it).
    fw::TPopupMenu* PopupMenu() const { return popup_; }

    TKVXMRUClickEvent OnClick;
    TNotifyEvent OnChange;
    TNotifyEvent OnClearListClick;

    // Value moves (or goes) to the top; blank values are ignored.
    void Add(const std::string& value);
    void Delete(const std::string& value);
    // Removes the menu items and empties the entries (no rebuild).
    void Clear();
    // Removes the list's menu items; the entries stay.
    void ClearMenu();
    void Rebuild();
    // Loads the entries from the store now.
    void ReadIni() { LoadFromIni(); }
    // The section values go to: Section, or "<owner name>.MRUList" while it is blank.
    std::string StoreSection() const;

protected:
    ~TKVXMRUList() override;
    void Loaded() override;
    void LoadFromIni() override;
    void SaveToIni() override;
    void SectionChanged(const std::string& section) override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    TKVXIniCtrl* Store() const;
    TKVXMRUItem* MakeItem(const std::string& caption, int tag, bool clickable);
    void AddEntries(fw::TMenuItem* parent, int& position, bool withClearItem);
    void Retire(fw::TMenuItem* item);
    void FreeRetired();
    void ItemClick(TObject* sender);

    uint8_t maxEntries_ = 4;
    uint8_t maxLength_ = 255;
    fw::TMenuItem* menuItem_ = nullptr;
    int helpContext_ = 0;
    std::string hint_;
    fw::TStringList* entries_;
    TKVXMRUListOptions options_{TKVXMRUListOption::moShowAccel, TKVXMRUListOption::moSubIfEmpty};
    TKVXMRUListStyle style_ = TKVXMRUListStyle::msAfterItem;
    TKVXBaseGraphicButton* button_ = nullptr;
    fw::TPopupMenu* popup_ = nullptr;
    // The items in the menus, and items and popups taken out of them but not yet freed (see the
    // header comment).
    std::vector<TKVXMRUItem*> made_;
    std::vector<fw::TComponent*> retired_;
    int clicking_ = 0;
};

}  // namespace kvx::win32
