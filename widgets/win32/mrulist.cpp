#include "widgets/win32/mrulist.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "widgets/kvxapplication.h"
#include "widgets/kvxutils.h"
#include "widgets/mruentries.h"
#include "widgets/win32/messagedlg.h"

namespace kvx::win32 {

namespace {
constexpr const char* kClassName = "TKVXMRUList";
constexpr const char* kValuePrefix = "H";
constexpr const char* kClearQuestion = "Really clear recent files list?";
constexpr uint8_t kConfirmation = 3;
constexpr uint16_t kYesNo = 0x0003;
constexpr int kYes = 6;

bool IsVisibleSeparator(const fw::TMenuItem* item) { return item->Visible() && item->Caption() == "-"; }

}  // namespace

TKVXMRUList::TKVXMRUList(TComponent* owner) : TKVXCustomIniComponent(owner, kClassName), entries_(new fw::TStringList) {}

TKVXMRUList::~TKVXMRUList() {
    // Items left in a menu would call back into a freed list.
    ClearMenu();
    if (button_ && popup_ && button_->DropDownMenu() == popup_) button_->SetDropDownMenu(nullptr);
    if (popup_) retired_.push_back(popup_);
    popup_ = nullptr;
    menuItem_ = nullptr;
    clicking_ = 0;
    FreeRetired();
    delete entries_;
}

void TKVXMRUList::SetMaxEntries(uint8_t value) {
    if (maxEntries_ == value) return;
    maxEntries_ = value;
    KVXMRUTrim(*entries_, value);
    Rebuild();
}

void TKVXMRUList::SetMaxLength(uint8_t value) {
    if (maxLength_ == value) return;
    maxLength_ = value;
    Rebuild();
}

void TKVXMRUList::SetMenuItem(fw::TMenuItem* value) {
    if (menuItem_ == value) return;
    // The old item's menu loses the entries first.
    ClearMenu();
    menuItem_ = value;
    if (value) FreeNotification(value);
    Rebuild();
}

void TKVXMRUList::SetHelpContext(int value) {
    if (helpContext_ == value) return;
    helpContext_ = value;
    Rebuild();
}

void TKVXMRUList::SetHint(const std::string& value) {
    if (hint_ == value) return;
    hint_ = value;
    Rebuild();
}

void TKVXMRUList::SetOptions(TKVXMRUListOptions value) {
    if (options_ == value) return;
    options_ = value;
    Rebuild();
}

void TKVXMRUList::SetStyle(TKVXMRUListStyle value) {
    if (style_ == value) return;
    ClearMenu();
    style_ = value;
    Rebuild();
}

void TKVXMRUList::SetButton(TKVXBaseGraphicButton* value) {
    if (button_ == value) return;
    if (button_ && popup_ && button_->DropDownMenu() == popup_) button_->SetDropDownMenu(nullptr);
    button_ = value;
    if (value) FreeNotification(value);
    Rebuild();
}

void TKVXMRUList::SetItems(fw::TStrings* value) {
    entries_->Assign(value);
    KVXMRUTrim(*entries_, maxEntries_);
    Rebuild();
}

void TKVXMRUList::Add(const std::string& value) {
    if (KVXMRUAdd(*entries_, value, maxEntries_)) Rebuild();
}

void TKVXMRUList::Delete(const std::string& value) {
    if (KVXMRUDelete(*entries_, value)) Rebuild();
}

void TKVXMRUList::Clear() {
    ClearMenu();
    entries_->Clear();
}

void TKVXMRUList::Retire(fw::TMenuItem* item) {
    if (fw::TMenuItem* parent = item->Parent()) parent->Remove(item);
    retired_.push_back(item);
}

void TKVXMRUList::FreeRetired() {
    if (clicking_ > 0) return;
    std::vector<fw::TComponent*> gone;
    gone.swap(retired_);
    for (fw::TComponent* c : gone) c->Free();
}

void TKVXMRUList::ClearMenu() {
    FreeRetired();
    // Every item the list made, wherever it stands now: a menu item that was freed took its parent
    // link with it, so the items are not looked for beside it.
    std::vector<TKVXMRUItem*> made;
    made.swap(made_);
    for (auto it = made.rbegin(); it != made.rend(); ++it) Retire(*it);
    if (popup_ && !button_) {
        // Kept until no click runs: the popup may be showing the item that was clicked.
        retired_.push_back(popup_);
        popup_ = nullptr;
    }
    FreeRetired();
}

TKVXMRUItem* TKVXMRUList::MakeItem(const std::string& caption, int tag, bool clickable) {
    auto* item = new TKVXMRUItem(nullptr);
    made_.push_back(item);
    FreeNotification(item);
    item->SetCaption(caption);
    item->SetTag(tag);
    item->SetHelpContext(helpContext_);
    item->SetHint(hint_);
    if (clickable) item->OnClick = TNotifyEvent(this, &TKVXMRUList::ItemClick);
    return item;
}

void TKVXMRUList::AddEntries(fw::TMenuItem* parent, int& position, bool withClearItem) {
    const bool fileNameOnly = options_.Contains(TKVXMRUListOption::moFileNameOnly);
    const bool accel = options_.Contains(TKVXMRUListOption::moShowAccel);
    const auto expand = [](const std::string& path) { return fw::ExpandFileName(path); };
    for (int i = 0; i < entries_->Count(); ++i) {
        const std::string text = KVXMRUDisplayText(entries_->Get(i), maxLength_, fileNameOnly, expand);
        parent->Insert(position++, MakeItem(KVXMRUCaption(i, text, accel), i, true));
    }
    if (withClearItem && options_.Contains(TKVXMRUListOption::moSubClearOption)) {
        parent->Insert(position++, MakeItem("-", 0, false));
        TKVXMRUItem* clear = MakeItem("Clear List...", kClearItemTag, true);
        clear->SetHint("Clear recent files list");
        parent->Insert(position++, clear);
    }
}

void TKVXMRUList::Rebuild() {
    if (InState(fw::csDesigning) || InState(fw::csLoading)) return;
    ClearMenu();
    const bool empty = entries_->Count() == 0;
    if (menuItem_) {
        if (menuItem_->Count() > 0) {
            if (empty) return;
            int at = menuItem_->Count();
            menuItem_->Insert(at++, MakeItem("-", 0, false));
            AddEntries(menuItem_, at, false);
        } else if (style_ == TKVXMRUListStyle::msCreateSubMenu) {
            int at = 0;
            if (!empty) {
                // Entries arrived after the item was disabled for having none.
                menuItem_->SetEnabled(true);
                AddEntries(menuItem_, at, true);
            } else if (options_.Contains(TKVXMRUListOption::moSubIfEmpty)) {
                menuItem_->SetEnabled(true);
                TKVXMRUItem* none = MakeItem("(None)", 0, false);
                none->SetEnabled(false);
                menuItem_->Insert(at, none);
            } else {
                menuItem_->SetEnabled(false);
            }
        } else {
            if (empty) return;
            fw::TMenuItem* parent = menuItem_->Parent();
            if (parent) {
                if (style_ == TKVXMRUListStyle::msAfterItem) {
                    int at = menuItem_->MenuIndex() + 1;
                    if (!IsVisibleSeparator(menuItem_)) parent->Insert(at++, MakeItem("-", 0, false));
                    AddEntries(parent, at, false);
                    if (at < parent->Count() && !IsVisibleSeparator(parent->Items(at)))
                        parent->Insert(at, MakeItem("-", 0, false));
                } else {
                    int at = menuItem_->MenuIndex();
                    if (at > 0 && !IsVisibleSeparator(parent->Items(at - 1))) parent->Insert(at++, MakeItem("-", 0, false));
                    AddEntries(parent, at, false);
                    if (!IsVisibleSeparator(menuItem_)) parent->Insert(at, MakeItem("-", 0, false));
                }
            }
        }
    }
    if (button_) {
        if (!popup_) popup_ = fw::Make<fw::TPopupMenu>(this);
        int at = 0;
        if (empty) {
            TKVXMRUItem* none = MakeItem("(None)", 0, false);
            none->SetEnabled(false);
            popup_->Items()->Insert(at, none);
        } else {
            AddEntries(popup_->Items(), at, true);
        }
        button_->SetDropDownMenu(popup_);
    }
    if (button_ && menuItem_ && OnChange) OnChange(this);
}

void TKVXMRUList::ItemClick(TObject* sender) {
    auto* item = dynamic_cast<fw::TMenuItem*>(sender);
    if (!item) return;
    ++clicking_;
    struct Done {
        TKVXMRUList* list;
        ~Done() { --list->clicking_; }
    } done{this};
    const int tag = item->Tag();
    if (tag == kClearItemTag) {
        if (OnClearListClick) OnClearListClick(item);
        if (!Shared && KVXMessageDlg(kClearQuestion, kConfirmation, kYesNo, 0) == kYes) {
            Clear();
            Rebuild();
        }
        return;
    }
    if (tag < 0 || tag >= entries_->Count()) return;
    const std::string value = entries_->Get(tag);
    bool remove = false;
    if (OnClick) OnClick(item, value, remove);
    if (Shared) return;
    if (remove)
        Delete(value);
    else
        Add(value);
}

std::string TKVXMRUList::StoreSection() const {
    if (!KVXIsBlank(Section())) return Section();
    const std::string owner = Owner() ? Owner()->Name() : std::string();
    return owner + "." + std::string(kClassName).substr(4, 13);
}

void TKVXMRUList::SectionChanged(const std::string& section) {
    if (KVXIsBlank(section)) SetSection(StoreSection());
}

TKVXIniCtrl* TKVXMRUList::Store() const {
    switch (IniUse) {
        case TKVXIniUse::ioUseLink: return IniLink();
        case TKVXIniUse::ioUseGlobal: return KVXApplication ? KVXApplication->IniCtrl() : nullptr;
        case TKVXIniUse::ioNone: break;
    }
    return nullptr;
}

void TKVXMRUList::LoadFromIni() {
    TKVXIniCtrl* store = Store();
    if (!store) return;
    store->ReadStrings(StoreSection(), kValuePrefix, maxEntries_, *entries_);
    Rebuild();
}

void TKVXMRUList::SaveToIni() {
    if (TKVXIniCtrl* store = Store()) store->WriteStrings(StoreSection(), kValuePrefix, maxEntries_, *entries_);
}

void TKVXMRUList::Loaded() {
    TKVXCustomIniComponent::Loaded();
    Rebuild();
}

void TKVXMRUList::Notification(TComponent* component, fw::TOperation operation) {
    TKVXCustomIniComponent::Notification(component, operation);
    if (operation == fw::opInsert) {
        AutoLinkIniCtrl(component);
        return;
    }
    std::erase(made_, component);
    std::erase(retired_, component);
    if (component == popup_) {
        popup_ = nullptr;
        return;
    }
    if (component == menuItem_) {
        menuItem_ = nullptr;
        Rebuild();
    } else if (component == button_) {
        button_ = nullptr;
        Rebuild();
    }
}

}  // namespace kvx::win32
