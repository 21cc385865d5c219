// Menus: TMainMenu (the form's menu bar), TPopupMenu (a synchronous context menu) and TMenuItem.
//
// The item tree is the model; the HMENUs follow it. Every change (caption, state, items inserted,
// added or removed at run time) rebuilds the entries of the parent's HMENU, so GetMenuStringA and the
// menu bar always show the tree. Items get command ids from 0x8000 up, clear of the shell's context
// menu range 1..0x7FFF, so a shell menu merged into ours never meets them.
//
// Freeing an item frees its sub-items, whoever owns them; a popup menu built in code with items it
// owns is freed with them.
//
//   auto* menu = fw::Make<fw::TPopupMenu>(this);
//   auto* item = fw::Make<fw::TMenuItem>(menu);
//   item->SetCaption("&Open");
//   item->OnClick = fw::TNotifyEvent(this, &TfrmMain::OpenClick);
//   menu->Items()->Add(item);
//   menu->Popup(x, y);          // returns after the menu closed and the chosen item's OnClick ran
//   menu->Free();
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/winapi.h"

namespace fw {

class TMenu;
class TCustomImageList;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);

    // ---- properties ----
    // "-" makes a separator; '&' marks the accelerator.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    // Radio items of one GroupIndex under one parent are exclusive and show a bullet.
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // Shown in bold; a double click on a notification icon runs it.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The action driving Caption, Checked, Enabled, Visible, ShortCut, Hint, ImageIndex and the click.
    TComponent* Action() const { return action_; }
    void SetAction(TComponent* value);
    // The action changed: copy its values (CheckDefaults: only where the item still has its defaults).
    virtual void ActionChange(TObject* sender, bool checkDefaults);

    // ---- structure ----
    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of this one (it is not freed).
    void Remove(TMenuItem* item);
    // Frees the item at index.
    void Delete(int index);
    // Frees every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // The index under the parent (-1 without one); setting it moves the item.
    int MenuIndex() const;
    void SetMenuIndex(int value);
    // The sub-item with this caption (accelerator marks ignored), or null.
    TMenuItem* Find(const std::string& caption) const;
    bool IsLine() const { return caption_ == "-"; }
    // The TMainMenu or TPopupMenu at the top of the tree, or null.
    TMenu* GetParentMenu() const;

    // ---- handles ----
    // The item's command id (0x8000 and up), given when the item is made.
    unsigned Command() const { return command_; }
    // The drop-down HMENU of an item with sub-items (made on first use).
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }

    // Runs the action (when linked and OnClick is the action's) or OnClick.
    virtual void Click();
    // OnUpdate of the linked action; true when the action handled the update.
    bool UpdateAction();

    TNotifyEvent OnClick;

    // Streaming: items read nested in a menu or an item attach to it.
    void ReadState(TReader& reader) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(ChildProc proc, void* context, TComponent* root) override;

protected:
    ~TMenuItem() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TMenu;
    // Rebuilds this item's HMENU entries from its sub-items (when it has a handle) and tells the menu.
    void RebuildHandle();
    // Something visible changed: the parent rebuilds.
    void Changed();
    void AppendTo(HMENU menu);
    void TurnSiblingsOff();
    void DestroyHandle();

    std::string caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    std::string hint_;
    int helpContext_ = 0;
    int imageIndex_ = -1;
    TComponent* action_ = nullptr;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item of a menu
    unsigned command_ = 0;
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);

    // The root item; its sub-items are the menu's entries.
    TMenuItem* Items() const { return items_; }
    HMENU Handle() { return items_->Handle(); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);

    // The item with this command id or drop-down handle, anywhere in the tree, or null.
    TMenuItem* FindItemByCommand(unsigned command) const;
    TMenuItem* FindItemByHandle(HMENU handle) const;
    // Runs the item with this command (its OnClick); true when it was one of ours.
    bool DispatchCommand(unsigned command);
    // A drop-down of ours opens: its items' actions update first. True when it was one of ours.
    bool DispatchPopup(HMENU handle);
    // The first visible, enabled item with this shortcut, in menu order; clicked. True when one ran.
    bool IsShortCut(TShortCut shortCut);

    void GetChildren(ChildProc proc, void* context, TComponent* root) override;

protected:
    ~TMenu() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;
    // The tree changed; a main menu redraws its bar.
    virtual void MenuChanged() {}
    // The kind of handle the root item makes.
    virtual bool IsPopupHandle() const { return true; }

private:
    friend class TMenuItem;
    TMenuItem* items_ = nullptr;
    TCustomImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner);
    // Kept for form text; menus are not merged.
    bool AutoMerge() const { return autoMerge_; }
    void SetAutoMerge(bool value) { autoMerge_ = value; }

protected:
    void MenuChanged() override;
    bool IsPopupHandle() const override { return false; }

private:
    bool autoMerge_ = false;
};

enum class TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner);

    // Shows the menu at the screen point and returns once it closed, after the chosen item ran.
    virtual void Popup(int x, int y);
    // The control the menu was opened for (set by a right click; callers of Popup may set it).
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value);
    // A right click on a control using this menu opens it.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    // The window that owns the menu while it shows (the application window when unset). A menu
    // opened from a notification icon makes it the foreground window first, so the menu closes when
    // the user clicks elsewhere.
    HWND Window() const { return window_; }
    void SetWindow(HWND value) { window_ = value; }
    bool ForegroundFirst() const { return foregroundFirst_; }
    void SetForegroundFirst(bool value) { foregroundFirst_ = value; }

    TNotifyEvent OnPopup;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoPopup();

private:
    TComponent* popupComponent_ = nullptr;
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = TPopupAlignment::paLeft;
    HWND window_ = nullptr;
    bool foregroundFirst_ = false;
};

// The item with this command id, in any menu, or null.
TMenuItem* FindMenuItemByCommand(unsigned command);
// The popup menu showing now (innermost), or null.
TPopupMenu* ActivePopupMenu();
// Closes the popup menu showing now (a drop-down under a windowless button on WM_CANCELMODE).
void CancelPopupMenus();

// Registers the menu classes and installs the menus' handlers (form menu bars and commands, right
// click popups, shortcuts, automation clicks).
void RegisterMenuClasses();
void InstallMenuHandlers();

}  // namespace fw
