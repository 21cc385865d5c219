// Menus: the item tree, its HMENUs, command ids, popups and the form's menu messages.
#include "framework/win32/menus.h"

#include <algorithm>
#include <map>

#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/core/format.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/automation.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/hints.h"
#include "framework/win32/imagelist.h"

namespace fw {
namespace {

constexpr unsigned kFirstCommand = 0x8000;
constexpr unsigned kLastCommand = 0xFFFF;

std::map<unsigned, TMenuItem*>& Commands() {
    static std::map<unsigned, TMenuItem*> commands;
    return commands;
}

unsigned AllocateCommand(TMenuItem* item) {
    auto& commands = Commands();
    static unsigned next = kFirstCommand;
    for (unsigned tries = 0; tries <= kLastCommand - kFirstCommand; ++tries) {
        const unsigned id = next;
        next = next == kLastCommand ? kFirstCommand : next + 1;
        if (commands.emplace(id, item).second) return id;
    }
    throw EOutOfResources("Too many menu items");
}

std::vector<TPopupMenu*>& PopupStack() {
    static std::vector<TPopupMenu*> stack;
    return stack;
}

template <class F>
bool AnyItem(TMenuItem* item, F&& f) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (f(child) || AnyItem(child, f)) return true;
    }
    return false;
}

bool ShortCutIn(TMenuItem* parent, TShortCut shortCut) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        item->UpdateAction();
        if (!item->Visible() || !item->Enabled()) continue;
        if (item->ShortCut() == shortCut && item->Count() == 0) {
            item->Click();
            return true;
        }
        if (ShortCutIn(item, shortCut)) return true;
    }
    return false;
}

}  // namespace

// ---- TMenuItem ------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { command_ = AllocateCommand(this); }

TMenuItem::~TMenuItem() { Commands().erase(command_); }

void TMenuItem::BeforeDestruction() {
    Destroying();
    // Sub-items go with the item, whoever owns them.
    while (!items_.empty()) items_.back()->Free();
    if (parent_) parent_->Remove(this);
    DestroyHandle();
    SetAction(nullptr);
    TComponent::BeforeDestruction();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == action_) action_ = nullptr;
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (item->parent_) throw EInvalidOperation("Menu inserted twice");
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", {index}));
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    RebuildHandle();
    // The first sub-item turns this item into a drop-down.
    if (Count() == 1 && parent_) parent_->RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
    RebuildHandle();
    if (Count() == 0 && parent_) parent_->RebuildHandle();
}

void TMenuItem::Delete(int index) { Items(index)->Free(); }

void TMenuItem::Clear() {
    while (!items_.empty()) items_.back()->Free();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

int TMenuItem::MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int value) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    const int count = parent->Count();
    if (value < 0) value = 0;
    if (value >= count) value = count - 1;
    if (value == MenuIndex()) return;
    parent->Remove(this);
    parent->Insert(value, this);
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : items_)
        if (SameText(StripHotkey(item->caption_), wanted)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_) item = item->parent_;
    return item->menu_;
}

void TMenuItem::SetCaption(const std::string& value) {
    if (caption_ == value) return;
    caption_ = value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (shortCut_ == value) return;
    shortCut_ = value;
    Changed();
}

void TMenuItem::TurnSiblingsOff() {
    if (!parent_ || !radioItem_) return;
    for (TMenuItem* item : parent_->items_) {
        if (item != this && item->radioItem_ && item->groupIndex_ == groupIndex_ && item->checked_) {
            item->checked_ = false;
            if (TCustomAction* action = dynamic_cast<TCustomAction*>(item->action_)) action->SetChecked(false);
        }
    }
}

void TMenuItem::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    if (value) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetRadioItem(bool value) {
    if (radioItem_ == value) return;
    radioItem_ = value;
    if (checked_) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetGroupIndex(int value) {
    if (groupIndex_ == value) return;
    groupIndex_ = value;
    if (checked_) TurnSiblingsOff();
}

void TMenuItem::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value) {
    if (default_ == value) return;
    default_ = value;
    if (value && parent_) {
        for (TMenuItem* item : parent_->items_)
            if (item != this) item->default_ = false;
    }
    Changed();
}

void TMenuItem::SetImageIndex(int value) { imageIndex_ = value; }

void TMenuItem::SetAction(TComponent* value) {
    if (action_ == value) return;
    if (auto* old = dynamic_cast<TBasicAction*>(action_)) {
        old->UnRegisterChanges(this);
        RemoveFreeNotification(old);
    }
    action_ = value;
    if (auto* action = dynamic_cast<TBasicAction*>(action_)) {
        action->RegisterChanges(this);
        FreeNotification(action);
        ActionChange(action, InState(csLoading));
    }
}

void TMenuItem::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!checkDefaults || !checked_) SetChecked(action->Checked());
    if (!checkDefaults || enabled_) SetEnabled(action->Enabled());
    if (!checkDefaults || hint_.empty()) SetHint(action->Hint());
    if (!checkDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!checkDefaults || shortCut_ == 0) SetShortCut(action->ShortCut());
    if (!checkDefaults || visible_) SetVisible(action->Visible());
    if (!checkDefaults || helpContext_ == 0) SetHelpContext(action->HelpContext());
    if (!checkDefaults || !OnClick) OnClick = action->OnExecute;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    if (action_ && ExecuteClientAction(action_, OnClick)) return;
    if (OnClick) OnClick(this);
}

bool TMenuItem::UpdateAction() {
    auto* action = dynamic_cast<TBasicAction*>(action_);
    return action && action->Update();
}

HMENU TMenuItem::Handle() {
    if (!handle_) {
        handle_ = (menu_ && !menu_->IsPopupHandle()) ? CreateMenu() : CreatePopupMenu();
        if (!handle_) throw EOutOfResources("Cannot create a menu");
        RebuildHandle();
    }
    return handle_;
}

void TMenuItem::DestroyHandle() {
    if (!handle_) return;
    // Sub-menus belong to their own items: detach them before the menu goes.
    while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
    DestroyMenu(handle_);
    handle_ = nullptr;
}

void TMenuItem::AppendTo(HMENU menu) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    std::string text;
    if (IsLine()) {
        info.fMask = MIIM_FTYPE | MIIM_ID;
        info.fType = MFT_SEPARATOR;
    } else {
        text = caption_;
        if (shortCut_) text += "\t" + ShortCutToText(shortCut_);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU;
        info.fType = MFT_STRING | (radioItem_ ? MFT_RADIOCHECK : 0u);
        info.fState = (enabled_ ? 0u : MFS_DISABLED | MFS_GRAYED) | (checked_ ? MFS_CHECKED : 0u) |
                      (default_ ? MFS_DEFAULT : 0u);
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
        info.hSubMenu = items_.empty() ? nullptr : Handle();
    }
    info.wID = command_;
    InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::RebuildHandle() {
    if (handle_) {
        while (GetMenuItemCount(handle_) > 0) RemoveMenu(handle_, 0, MF_BYPOSITION);
        for (TMenuItem* item : items_)
            if (item->visible_) item->AppendTo(handle_);
    }
    if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Changed() {
    if (parent_)
        parent_->RebuildHandle();
    else if (menu_)
        menu_->MenuChanged();
}

void TMenuItem::ReadState(TReader& reader) {
    SetParentComponent(reader.Parent());
    TComponent::ReadState(reader);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (!parent_) return nullptr;
    if (parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (parent_) return;
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::GetChildren(ChildProc proc, void* context, TComponent* root) {
    for (TMenuItem* item : items_)
        if (item->Owner() == root) proc(context, item);
}

// ---- TMenu ---------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
    items_ = Make<TMenuItem>(nullptr);
    items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::BeforeDestruction() {
    Destroying();
    for (auto& stack = PopupStack(); auto*& popup : stack)
        if (popup == this) popup = nullptr;
    TMenuItem* items = items_;
    items_ = nullptr;
    items->menu_ = nullptr;
    items->Free();
    TComponent::BeforeDestruction();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

void TMenu::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = value;
    if (images_) FreeNotification(images_);
}

TMenuItem* TMenu::FindItemByCommand(unsigned command) const {
    TMenuItem* found = nullptr;
    AnyItem(items_, [&](TMenuItem* item) {
        if (item->Command() != command) return false;
        found = item;
        return true;
    });
    return found;
}

TMenuItem* TMenu::FindItemByHandle(HMENU handle) const {
    if (!handle) return nullptr;
    if (items_->handle_ == handle) return items_;
    TMenuItem* found = nullptr;
    AnyItem(items_, [&](TMenuItem* item) {
        if (item->handle_ != handle) return false;
        found = item;
        return true;
    });
    return found;
}

bool TMenu::DispatchCommand(unsigned command) {
    TMenuItem* item = FindItemByCommand(command);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU handle) {
    TMenuItem* parent = FindItemByHandle(handle);
    if (!parent) return false;
    for (int i = 0; i < parent->Count(); ++i) parent->Items(i)->UpdateAction();
    return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) { return shortCut != 0 && ShortCutIn(items_, shortCut); }

void TMenu::GetChildren(ChildProc proc, void* context, TComponent* root) {
    items_->GetChildren(proc, context, root);
}

// ---- TMainMenu -----------------------------------------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

void TMainMenu::MenuChanged() {
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form || InState(csDestroying) || form->InState(csDestroying) || form->Menu() != this || !form->HandleAllocated() || form->Parent()) return;
    HWND window = form->Handle();
    if (GetMenu(window) != Handle()) ::SetMenu(window, Handle());
    DrawMenuBar(window);
}

// ---- TPopupMenu ----------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (popupComponent_ == value) return;
    if (popupComponent_) RemoveFreeNotification(popupComponent_);
    popupComponent_ = value;
    if (popupComponent_) FreeNotification(popupComponent_);
}

void TPopupMenu::DoPopup() {
    if (OnPopup) OnPopup(this);
}

void TPopupMenu::Popup(int x, int y) {
    DoPopup();
    for (int i = 0; i < Items()->Count(); ++i) Items()->Items(i)->UpdateAction();
    HWND owner = window_;
    if (!owner) {
        auto* control = dynamic_cast<TControl*>(popupComponent_);
        if (TWinControl* form = control ? GetParentForm(control) : nullptr) owner = form->Handle();
    }
    if (!owner && Application) owner = Application->Handle();
    if (foregroundFirst_) SetForegroundWindow(owner);
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    if (alignment_ == TPopupAlignment::paRight) flags |= TPM_RIGHTALIGN;
    if (alignment_ == TPopupAlignment::paCenter) flags |= TPM_CENTERALIGN;
    if (Application) Application->CancelHint();
    const bool foregroundFirst = foregroundFirst_;
    // The item runs after the menu closed; the menu may be freed by then (its free notification
    // clears the stack entry), so the item is looked up by command.
    PopupStack().push_back(this);
    const auto command = static_cast<unsigned>(TrackPopupMenu(Handle(), flags, x, y, 0, owner, nullptr));
    PopupStack().pop_back();
    if (foregroundFirst) PostMessageA(owner, WM_NULL, 0, 0);
    if (command) {
        if (TMenuItem* item = FindMenuItemByCommand(command)) item->Click();
    }
}

// ---- unit ----------------------------------------------------------------------------------------

TMenuItem* FindMenuItemByCommand(unsigned command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

TPopupMenu* ActivePopupMenu() {
    for (auto it = PopupStack().rbegin(); it != PopupStack().rend(); ++it)
        if (*it) return *it;
    return nullptr;
}

void CancelPopupMenus() {
    if (!PopupStack().empty()) EndMenu();
}

namespace {

HMENU FormMenu(TComponent* menu) {
    auto* main = dynamic_cast<TMainMenu*>(menu);
    return main ? main->Handle() : nullptr;
}

TMenuItem* ItemOfHandle(HMENU handle) {
    for (const auto& [command, item] : Commands())
        if (item->HandleAllocated() && item->Handle() == handle) return item;
    return nullptr;
}

bool FormMenuMessage(TForm* form, TMessage& message) {
    switch (message.Msg) {
        case WM_COMMAND:
            // From a menu: no control window, notification code 0.
            if (message.LParam == 0 && HIWORD(message.WParam) == 0) {
                if (TMenuItem* item = FindMenuItemByCommand(LOWORD(message.WParam))) {
                    item->Click();
                    message.Result = 0;
                    return true;
                }
            }
            return false;
        case WM_INITMENUPOPUP:
            if (TMenuItem* parent = ItemOfHandle(reinterpret_cast<HMENU>(message.WParam))) {
                for (int i = 0; i < parent->Count(); ++i) parent->Items(i)->UpdateAction();
            }
            return false;
        case WM_MENUSELECT: {
            // The selected item's hint becomes the application's hint (a status bar shows it).
            TMenuItem* item = nullptr;
            if (HIWORD(message.WParam) & MF_POPUP) {
                HMENU menu = reinterpret_cast<HMENU>(message.LParam);
                if (menu) item = ItemOfHandle(GetSubMenu(menu, LOWORD(message.WParam)));
            } else {
                item = FindMenuItemByCommand(LOWORD(message.WParam));
            }
            if (Application) Application->SetHint(item ? GetLongHint(item->Hint()) : std::string());
            (void)form;
            return false;
        }
        default: return false;
    }
}

bool ControlPopup(TControl* control, TComponent* menu, TPoint screenPos) {
    auto* popup = dynamic_cast<TPopupMenu*>(menu);
    if (!popup || !popup->AutoPopup()) return false;
    popup->SetPopupComponent(control);
    popup->Popup(screenPos.X, screenPos.Y);
    return true;
}

// The form's window menu first, then the other menus the form owns: pop-up menus, and a main menu
// that a menu bar shows in place of a window menu.
bool MenuShortCut(TForm* form, TShortCut shortCut) {
    auto* main = dynamic_cast<TMainMenu*>(form->Menu());
    if (main && main->IsShortCut(shortCut)) return true;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* menu = dynamic_cast<TMenu*>(form->Components(i));
        if (menu && menu != main && menu->IsShortCut(shortCut)) return true;
    }
    return false;
}

bool AutomationMenuClick(TComponent* component) {
    auto* item = dynamic_cast<TMenuItem*>(component);
    if (!item) return false;
    item->Click();
    return true;
}

}  // namespace

void RegisterMenuClasses() {
    RegisterClasses();
    RegisterEnum<TPopupAlignment>({"paLeft", "paRight", "paCenter"}, "TPopupAlignment");
    Class<TMenuItem, TComponent>("TMenuItem")
        .Prop("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Prop("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .Prop("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Prop("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
        .Prop("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
        .Prop("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Prop("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Prop("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
        .Prop("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
        .Prop("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext)
        .Prop("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Prop("Action", &TMenuItem::Action, &TMenuItem::SetAction)
        .Prop("MenuIndex", &TMenuItem::MenuIndex, &TMenuItem::SetMenuIndex)
        .Stored(false)
        .Event("OnClick", &TMenuItem::OnClick);
    Class<TMenu, TComponent>("TMenu").Prop("Images", &TMenu::Images, &TMenu::SetImages);
    Class<TMainMenu, TMenu>("TMainMenu").Prop("AutoMerge", &TMainMenu::AutoMerge, &TMainMenu::SetAutoMerge);
    Class<TPopupMenu, TMenu>("TPopupMenu")
        .Prop("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
        .Prop("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
        .Event("OnPopup", &TPopupMenu::OnPopup);
}

void InstallMenuHandlers() {
    SetFormMenuHandler(&FormMenu);
    SetFormMenuMessageHandler(&FormMenuMessage);
    SetPopupMenuHandler(&ControlPopup);
    AddShortCutHandler(&MenuShortCut);
    automation::SetMenuClickHandler(&AutomationMenuClick);
}

}  // namespace fw
