// TShellBrowser: the shell's context menu, verbs and renaming.
//
// The shell's commands get the numbers 1..0x7FFF. The application's items copied into the same menu
// are framework menu items, whose command numbers start at 0x8000, so a choice is never ambiguous.
#include <algorithm>
#include <cstring>

#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "uisupport/shell/win32/shellbrowser.h"

namespace uis {
namespace {

constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;

// The hourglass from here to the end of the scope.
class BusyCursor {
public:
    BusyCursor() : saved_(fw::Screen ? fw::Screen->Cursor() : fw::crDefault) {
        if (fw::Screen) fw::Screen->SetCursor(fw::crHourGlass);
    }
    ~BusyCursor() {
        if (fw::Screen) fw::Screen->SetCursor(saved_);
    }

private:
    fw::TCursor saved_;
};

// Clears the application's OnHint while a menu is up and puts it back on every path.
class HintPause {
public:
    HintPause() {
        if (fw::Application) {
            saved_ = fw::Application->OnHint;
            fw::Application->OnHint = nullptr;
        }
    }
    ~HintPause() {
        if (fw::Application) fw::Application->OnHint = saved_;
    }

private:
    fw::TNotifyEvent saved_;
};

// A copy of an application menu item and the sender its click gets.
struct CopiedItem {
    fw::TMenuItem* copy;
    fw::TMenuItem* sender;
};

fw::TMenuItem* CopyItem(fw::TComponent* owner, fw::TMenuItem* source) {
    auto* copy = fw::Make<fw::TMenuItem>(owner);
    copy->SetCaption(source->Caption());
    copy->SetShortCut(source->ShortCut());
    copy->OnClick = source->OnClick;
    if (!source->Name().empty()) copy->SetName(source->Name() + "2");
    return copy;
}

bool IsVerb(const std::string& verb, const char* name) { return fw::SameText(verb, name); }

}  // namespace

struct TShellBrowser::Objects {
    std::vector<IDListPtr> owned;
    std::vector<LPCITEMIDLIST> items;
};

TShellBrowser::Objects TShellBrowser::CollectObjects() {
    Objects objects;
    if (!multiObjectLists_.empty()) {
        objects.owned = std::move(multiObjectLists_);
        multiObjectLists_.clear();
    } else if (multiObjects_->Count() > 0) {
        // Names the user typed: parsed by the folder, else looked up as display names.
        std::vector<std::string> names;
        for (int i = 0; i < multiObjects_->Count(); ++i) names.push_back(multiObjects_->Get(i));
        multiObjects_->Clear();
        for (const std::string& name : names) {
            IDListPtr parsed(ParseName(shellFolder_.Get(), OwnerWindow(), name));
            if (!parsed) {
                SetObjectName(name);
                parsed.reset(ObjectIDList());
            }
            if (parsed) objects.owned.push_back(std::move(parsed));
        }
    } else if (objectList_) {
        objects.owned.emplace_back(ObjectIDList());
    }
    for (const IDListPtr& list : objects.owned) objects.items.push_back(list.get());
    return objects;
}

bool TShellBrowser::AnyStillExists(const Objects& objects) const {
    for (LPCITEMIDLIST item : objects.items) {
        IDListPtr absolute(ConcatIDLists(folderList_.get(), item));
        const std::string path = PathOfIDList(absolute.get());
        // A file or a folder: a declined folder deletion leaves a folder, not a file.
        if (!path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    }
    return false;
}

void TShellBrowser::ShowContextMenu(const fw::TPoint& at, fw::TPopupMenu* appMenu, std::string& verb) {
    verb.clear();
    if (!shellFolder_) return;
    HWND owner = OwnerWindow();
    auto* menu = fw::Make<fw::TPopupMenu>(this);
    std::vector<CopiedItem> copies;
    if (appMenu) {
        for (int i = 0; i < appMenu->Items()->Count(); ++i) {
            fw::TMenuItem* source = appMenu->Items()->Items(i);
            fw::TMenuItem* top = CopyItem(menu, source);
            menu->Items()->Add(top);
            copies.push_back({top, top});
            for (int j = 0; j < source->Count(); ++j) {
                fw::TMenuItem* sub = CopyItem(menu, source->Items(j));
                top->Add(sub);
                copies.push_back({sub, top});  // a sub-item's click gets its top-level copy
            }
        }
    }
    Objects objects = CollectObjects();
    std::string chosen;
    {
        HintPause hints;
        ComPtr<IContextMenu> context;
        if (!objects.items.empty() &&
            SUCCEEDED(shellFolder_->GetUIObjectOf(owner, static_cast<UINT>(objects.items.size()), objects.items.data(),
                                                  IID_IContextMenu, nullptr, context.OutVoid())) &&
            context) {
            ComPtr<IContextMenu2> context2;
            context->QueryInterface(IID_IContextMenu2, context2.OutVoid());
            HMENU handle = menu->Handle();
            const UINT flags = CMF_EXPLORE | (OnRename ? CMF_CANRENAME : 0);
            context->QueryContextMenu(handle, 0, kFirstShellCommand, kLastShellCommand, flags);
            contextMenu2_ = context2.Get();
            contextMenuHandle_ = handle;
            copiedItems_ = menu->Items()->Count();
            const auto command = static_cast<UINT>(
                TrackPopupMenu(handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.X, at.Y, 0, owner, nullptr));
            contextMenu2_ = nullptr;
            contextMenuHandle_ = nullptr;
            copiedItems_ = 0;
            auto copied = std::find_if(copies.begin(), copies.end(),
                                       [&](const CopiedItem& c) { return c.copy->Command() == command; });
            if (command && copied != copies.end()) {
                if (copied->copy->OnClick) copied->copy->OnClick(copied->sender);
            } else if (command >= kFirstShellCommand && command <= kLastShellCommand) {
                char text[MAX_PATH] = {};
                if (SUCCEEDED(context->GetCommandString(command - 1, GCS_VERBA, nullptr, text, sizeof text)))
                    chosen.assign(text, strnlen(text, sizeof text));
                if (IsVerb(chosen, "rename") && OnRename) {
                    OnRename(this);
                } else {
                    CMINVOKECOMMANDINFO invoke{};
                    invoke.cbSize = sizeof invoke;
                    invoke.hwnd = owner;
                    invoke.lpVerb = MAKEINTRESOURCEA(command - 1);
                    invoke.nShow = SW_SHOWNORMAL;
                    if (FAILED(context->InvokeCommand(&invoke))) chosen.clear();
                }
            }
        }
    }
    menu->Free();
    if (IsVerb(chosen, "delete") && AnyStillExists(objects)) chosen.clear();
    verb = chosen;
}

bool TShellBrowser::InvokeVerb(const std::string& verb) {
    if (!shellFolder_ || (!objectList_ && multiObjects_->Count() == 0 && multiObjectLists_.empty())) return false;
    BusyCursor busy;
    const std::string name = verb.empty() ? "default" : verb;
    Objects objects = CollectObjects();
    ComPtr<IContextMenu> context;
    HWND owner = OwnerWindow();
    if (objects.items.empty() ||
        FAILED(shellFolder_->GetUIObjectOf(owner, static_cast<UINT>(objects.items.size()), objects.items.data(),
                                           IID_IContextMenu, nullptr, context.OutVoid())) ||
        !context)
        return false;
    bool result = true;  // nothing to invoke still counts: the menu interface was there
    CMINVOKECOMMANDINFO invoke{};
    invoke.cbSize = sizeof invoke;
    invoke.hwnd = owner;
    invoke.nShow = SW_SHOWNORMAL;
    if (IsVerb(name, "default")) {
        HMENU menu = CreatePopupMenu();
        if (menu && SUCCEEDED(context->QueryContextMenu(menu, 0, kFirstShellCommand, kLastShellCommand, CMF_DEFAULTONLY))) {
            const UINT command = GetMenuDefaultItem(menu, FALSE, 0);
            if (command != 0 && command != static_cast<UINT>(-1)) {
                invoke.lpVerb = MAKEINTRESOURCEA(command - 1);
                result = SUCCEEDED(context->InvokeCommand(&invoke));
            }
        }
        if (menu) DestroyMenu(menu);
    } else {
        invoke.lpVerb = name.c_str();
        result = SUCCEEDED(context->InvokeCommand(&invoke));
    }
    if (IsVerb(name, "delete") && AnyStillExists(objects)) result = false;
    return result;
}

void TShellBrowser::Rename(std::string& name) {
    if (!shellFolder_ || !objectList_) return;
    BusyCursor busy;
    const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (length > 0) {
        std::vector<WCHAR> wide(static_cast<size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
        LPITEMIDLIST renamed = nullptr;
        if (SUCCEEDED(shellFolder_->SetNameOf(OwnerWindow(), objectList_.get(), wide.data(), 0x20, &renamed)) && renamed) {
            IDListPtr owned(renamed);
            SetObjectIDList(owned.get());
        }
    }
    name = DisplayName();
}

void TShellBrowser::HandleMenuMsg(fw::TMessage& message) {
    if (!contextMenu2_) return;
    if (message.Msg != WM_DRAWITEM && message.Msg != WM_MEASUREITEM && message.Msg != WM_INITMENUPOPUP) return;
    if (message.Msg == WM_INITMENUPOPUP && contextMenuHandle_) {
        // The application's items sit at the end of the menu; their submenus are ours.
        const int position = LOWORD(message.LParam);
        if (position >= GetMenuItemCount(contextMenuHandle_) - copiedItems_) return;
    }
    contextMenu2_->HandleMenuMsg(message.Msg, message.WParam, message.LParam);
    message.Msg = 0;
}

}  // namespace uis
