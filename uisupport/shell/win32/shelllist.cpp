#include "uisupport/shell/win32/shelllist.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "uisupport/shell/win32/shellbrowser.h"

namespace uis {
namespace {

constexpr ULONG kLinkAttribute = SFGAO_LINK;    // 0x10000
constexpr ULONG kShareAttribute = SFGAO_SHARE;  // 0x20000
// The system image list's overlays: the share hand first, the shortcut arrow second.
constexpr int kShareOverlay = 1;
constexpr int kLinkOverlay = 2;
constexpr int kRememberedWidths = 16;

}  // namespace

TJexoShellList::TJexoShellList(fw::TComponent* owner) : TListView(owner) {
    SetViewStyle(fw::TViewStyle::vsReport);
    SetMultiSelect(true);
    SetAllocBy(32);
    browser_ = fw::Make<TShellBrowser>(this);
    browser_->SetFileSystemOnly(false);
    auto* small = fw::Make<fw::TImageList>(this);
    auto* large = fw::Make<fw::TImageList>(this);
    browser_->SetSmallImages(small);
    browser_->SetLargeImages(large);
    SetSmallImages(small);
    SetLargeImages(large);
    // A directory monitor follows every file-system folder the list shows.
    browser_->SetOnFileChange(fw::TNotifyEvent(this, &TJexoShellList::FileChanged));
}

TJexoShellList::~TJexoShellList() = default;

void TJexoShellList::BeforeDestruction() {
    // The items go with the view; their data goes with them.
    Items()->Clear();
    data_.clear();
    TListView::BeforeDestruction();
}

std::string TJexoShellList::Version() const { return ShellVersionOf(ClassName()); }

void TJexoShellList::Notification(fw::TComponent* component, fw::TOperation operation) {
    TListView::Notification(component, operation);
    if (operation == fw::opRemove) {
        link_.Forget(component);
        if (component == browser_) browser_ = nullptr;
    }
}

void TJexoShellList::CreateWindowState() {
    TListView::CreateWindowState();
    link_.WindowCreated(this);
    if (created_) return;
    created_ = true;
    UseIconTitleFont(this);
    browser_->Loaded();
    if (Path().empty()) SetPath("");
}

void TJexoShellList::DestroyWnd() {
    link_.WindowDestroying(this);
    TListView::DestroyWnd();
}

void TJexoShellList::Loaded() {
    TListView::Loaded();
    if (!ShellLink()) Populate();
}

// ---- properties ---------------------------------------------------------------------------------

std::string TJexoShellList::Path() const { return browser_ ? browser_->Folder() : std::string(); }

void TJexoShellList::SetPath(const std::string& value) {
    browser_->SetFolder(value);
    FolderChanged();
}

void TJexoShellList::FolderChanged() {
    link_.ChangeFolder(this, browser_->FolderIDListRef());
    Populate();
}

std::string TJexoShellList::Filter() const { return browser_ ? browser_->Filter() : std::string(); }

void TJexoShellList::SetFilter(const std::string& value) {
    browser_->SetFilter(value);
    Populate();
}

bool TJexoShellList::FileSystemOnly() const { return browser_ && browser_->FileSystemOnly(); }

void TJexoShellList::SetFileSystemOnly(bool value) {
    browser_->SetFileSystemOnly(value);
    Populate();
}

void TJexoShellList::SetDetails(bool value) {
    if (details_ == value) return;
    details_ = value;
    Populate();
}

TJexoShellFolder TJexoShellList::SpecialFolder() {
    const TJexoShellFolder folder = browser_->GetSpecialFolder();
    if (folder == TJexoShellFolder::SF_DRIVES && !Path().empty()) return TJexoShellFolder::SF_FILESYSTEMFOLDER;
    return folder;
}

void TJexoShellList::SetSpecialFolder(TJexoShellFolder value) {
    if (value == TJexoShellFolder::SF_FILESYSTEMFOLDER) return;
    browser_->SetSpecialFolder(value);
    Populate();
    link_.ChangeFolder(this, browser_->FolderIDListRef());
}

void TJexoShellList::GoUp() {
    browser_->GoUp();
    Populate();
}

// ---- items --------------------------------------------------------------------------------------

TJexoShellListItem* TJexoShellList::DataOf(fw::TListItem* item) const {
    return item ? static_cast<TJexoShellListItem*>(item->Data()) : nullptr;
}

LPCITEMIDLIST TJexoShellList::ItemIDList(fw::TListItem* item) const {
    TJexoShellListItem* data = DataOf(item);
    return data ? data->idList.get() : nullptr;
}

void TJexoShellList::FreeOrphanData() {
    std::vector<void*> live;
    for (int i = 0; i < Items()->Count(); ++i) live.push_back(Items()->Item(i)->Data());
    FreeUnreferenced(data_, std::move(live));
}

void TJexoShellList::AddItem() {
    fw::TListItem* item = Items()->Add();
    item->SetCaption(browser_->DisplayName());
    bool canAdd = true;
    if (OnAddItem) OnAddItem(this, item, canAdd);
    if (!canAdd) {
        item->Delete();
        return;
    }
    auto data = std::make_unique<TJexoShellListItem>();
    data->idList.reset(browser_->ObjectIDList());
    item->SetData(data.get());
    data_.push_back(std::move(data));
    const ULONG attributes = browser_->GetAttributes(kLinkAttribute | kShareAttribute);
    if (attributes & kLinkAttribute)
        item->SetOverlayIndex(kLinkOverlay);
    else if (attributes & kShareAttribute)
        item->SetOverlayIndex(kShareOverlay);
    if (details_) {
        item->SubItems()->BeginUpdate();
        for (int column = 1; column < Columns()->Count(); ++column) item->SubItems()->Add(browser_->DetailText(column, false));
        item->SubItems()->EndUpdate();
    }
}

void TJexoShellList::RebuildColumns() {
    Columns()->BeginUpdate();
    if (lastHadPath_)
        for (int i = 0; i < std::min(Columns()->Count(), kRememberedWidths); ++i) widths_[i] = Columns()->Items(i)->Width();
    const bool hasPath = !Path().empty();
    lastHadPath_ = hasPath;
    Columns()->Clear();
    for (int column = 0;; ++column) {
        const std::string header = browser_->DetailText(column, true);
        if (header.empty()) break;
        int width = 0;
        const fw::TAlignment alignment = browser_->ColumnInfo(column, width);
        fw::TListColumn* added = Columns()->Add();
        added->SetCaption(header);
        added->SetAlignment(alignment);
        // Widths the user gave file-system columns stay for the next file-system folder.
        const bool remembered = hasPath && column < kRememberedWidths && widths_[column] >= 1;
        added->SetWidth(remembered ? widths_[column] : width);
        if (!details_) break;
    }
    Columns()->EndUpdate();
}

void TJexoShellList::Populate() {
    if (InState(fw::csLoading) || !browser_) return;
    const fw::TCursor saved = fw::Screen ? fw::Screen->Cursor() : fw::crDefault;
    if (fw::Screen) fw::Screen->SetCursor(fw::crHourGlass);
    Items()->BeginUpdate();
    try {
        Items()->Clear();
        data_.clear();
        RebuildColumns();
        if (OnCreateColumns) OnCreateColumns(this);
        while (browser_->FindNext()) AddItem();
        SortItems();
        if (OnPopulated) OnPopulated(this);
    } catch (...) {
        Items()->EndUpdate();
        if (fw::Screen) fw::Screen->SetCursor(saved);
        throw;
    }
    Items()->EndUpdate();
    if (fw::Screen) fw::Screen->SetCursor(saved);
}

int TJexoShellList::CompareItems(fw::TListItem* a, fw::TListItem* b, LPARAM list) {
    auto* self = reinterpret_cast<TJexoShellList*>(list);
    return CompareIDLists(self->browser_->ShellFolder(), self->sortColumn_, self->ItemIDList(a), self->ItemIDList(b));
}

void TJexoShellList::SortItems() { CustomSort(&TJexoShellList::CompareItems, reinterpret_cast<LPARAM>(this)); }

void TJexoShellList::ColumnClick(fw::TListColumn* column) {
    TListView::ColumnClick(column);
    sortColumn_ = column->Index();
    SortItems();
}

void TJexoShellList::RefreshChanged() {
    if (!browser_ || !HandleAllocated()) return;
    for (int i = 0; i < Items()->Count(); ++i)
        if (TJexoShellListItem* data = DataOf(Items()->Item(i))) data->seen = false;
    IShellFolder* folder = browser_->ShellFolder();
    while (browser_->FindNext()) {
        // The same object, by the folder's comparison: captions can repeat.
        LPCITEMIDLIST object = browser_->ObjectIDListRef();
        TJexoShellListItem* found = nullptr;
        for (int i = 0; i < Items()->Count() && !found; ++i) {
            TJexoShellListItem* data = DataOf(Items()->Item(i));
            if (data && !data->seen && SameIDList(folder, data->idList.get(), object)) found = data;
        }
        if (found)
            found->seen = true;
        else
            AddItem();
    }
    for (int i = Items()->Count() - 1; i >= 0; --i) {
        TJexoShellListItem* data = DataOf(Items()->Item(i));
        if (data && !data->seen) Items()->Delete(i);
    }
    FreeOrphanData();
}

void TJexoShellList::FileChanged(fw::TObject*) { RefreshChanged(); }

// ---- display ------------------------------------------------------------------------------------

void TJexoShellList::GetDispInfo(NMLVDISPINFOA& info) {
    fw::TListItem* item = reinterpret_cast<fw::TListItem*>(info.item.lParam);
    if (!item && info.item.iItem >= 0 && info.item.iItem < Items()->Count()) item = Items()->Item(info.item.iItem);
    TJexoShellListItem* data = DataOf(item);
    if (!data || !browser_) {
        TListView::GetDispInfo(info);
        return;
    }
    if (info.item.mask & LVIF_IMAGE) {
        browser_->SetObjectIDList(data->idList.get());
        info.item.iImage = browser_->IconNumber();
        info.item.mask |= LVIF_DI_SETITEM;  // the window keeps it
    }
    if ((info.item.mask & LVIF_TEXT) && (info.item.iSubItem == 0 || details_)) {
        browser_->SetObjectIDList(data->idList.get());
        const std::string text = browser_->DetailText(info.item.iSubItem, false);
        if (info.item.pszText && info.item.cchTextMax > 0) {
            const size_t n = std::min(text.size(), static_cast<size_t>(info.item.cchTextMax - 1));
            text.copy(info.item.pszText, n);
            info.item.pszText[n] = '\0';
        }
    } else if (info.item.mask & LVIF_TEXT) {
        TListView::GetDispInfo(info);
    }
}

// ---- verbs and keys -----------------------------------------------------------------------------

std::vector<fw::TListItem*> TJexoShellList::SelectedItems() const {
    std::vector<fw::TListItem*> selected;
    // From the first selected item to the end, in list order.
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Item(i)->Selected()) selected.push_back(Items()->Item(i));
    return selected;
}

void TJexoShellList::InvokeSelected(const std::string& verb) {
    std::vector<fw::TListItem*> selected = SelectedItems();
    if (selected.empty()) return;
    if (selected.size() == 1) {
        LPCITEMIDLIST list = ItemIDList(selected.front());
        if (!list) return;
        browser_->SetObjectIDList(list);
        if (browser_->IsFolder() && (fw::SameText(verb, "default") || fw::SameText(verb, "open"))) {
            browser_->OpenFolder();
            FolderChanged();
            return;
        }
        if (doDblClick_) browser_->InvokeVerb(verb);
        return;
    }
    if (!doDblClick_) return;
    std::vector<LPCITEMIDLIST> lists;
    for (fw::TListItem* item : selected)
        if (LPCITEMIDLIST list = ItemIDList(item)) lists.push_back(list);
    browser_->SetMultiObjectIDLists(lists);
    if (browser_->InvokeVerb(verb) && fw::SameText(verb, "delete")) {
        for (int i = Items()->Count() - 1; i >= 0; --i)
            if (Items()->Item(i)->Selected()) Items()->Delete(i);
        FreeOrphanData();
    }
}

void TJexoShellList::SelectAllItems() {
    for (int i = 0; i < Items()->Count(); ++i) Items()->Item(i)->SetSelected(true);
    if (CanFocus()) SetFocus();
}

void TJexoShellList::KeyDown(uint16_t& key, fw::TShiftState shift) {
    // Replaces the framework's key-down: no OnKeyDown.
    if (IsEditing()) return;
    const bool ctrl = shift.Contains(fw::ssCtrl);
    switch (key) {
        case VK_RETURN:
            InvokeSelected("default");
            key = 0;
            break;
        case VK_BACK:
            browser_->GoUp();
            FolderChanged();
            key = 0;
            break;
        case VK_DELETE: InvokeSelected("delete"); break;
        case VK_F2:
            if (fw::TListItem* item = Selected()) item->EditCaption();
            break;
        case VK_F5:
            Populate();
            link_.RefreshAll(this);
            break;
        case 'A':
            if (ctrl) SelectAllItems();
            break;
        case 'C':
            if (ctrl) InvokeSelected("copy");
            break;
        case 'X':
            if (ctrl) InvokeSelected("cut");
            break;
        case 'V':
            if (ctrl) InvokeSelected("paste");
            break;
        default: break;
    }
}

// ---- context menu and renaming ------------------------------------------------------------------

void TJexoShellList::ContextMenuAt(const fw::TPoint& screen) {
    std::vector<fw::TListItem*> selected = SelectedItems();
    std::vector<LPCITEMIDLIST> lists;
    for (fw::TListItem* item : selected)
        if (LPCITEMIDLIST list = ItemIDList(item)) lists.push_back(list);
    if (lists.empty()) return;
    if (lists.size() == 1)
        browser_->SetObjectIDList(lists.front());
    else
        browser_->SetMultiObjectIDLists(lists);
    if (ReadOnly())
        browser_->OnRename = nullptr;
    else
        browser_->OnRename = fw::TNotifyEvent(this, &TJexoShellList::StartRename);
    browser_->ShowContextMenu(screen, dynamic_cast<fw::TPopupMenu*>(PopupMenu()), lastVerb_);
    if (fw::SameText(lastVerb_, "delete")) {
        for (int i = Items()->Count() - 1; i >= 0; --i)
            if (Items()->Item(i)->Selected()) Items()->Delete(i);
        FreeOrphanData();
    }
}

void TJexoShellList::StartRename(fw::TObject*) {
    if (fw::TListItem* item = Selected()) item->EditCaption();
}

bool TJexoShellList::BeginEdit(fw::TListItem* item) {
    LPCITEMIDLIST list = ItemIDList(item);
    if (ReadOnly() || !list) return false;
    browser_->SetObjectIDList(list);
    bool allow = browser_->CanRename();
    if (allow && OnEditing) OnEditing(this, item, allow);
    return allow;
}

void TJexoShellList::EndEdit(fw::TListItem* item, const char* text) {
    TJexoShellListItem* data = DataOf(item);
    if (!item || !text || !data) return;
    std::string name = text;
    if (OnEdited) OnEdited(this, item, name);
    // The object made current when editing began.
    browser_->SetObjectIDList(data->idList.get());
    browser_->Rename(name);
    data->idList.reset(browser_->ObjectIDList());
    item->SetCaption(name);
}

// ---- messages -----------------------------------------------------------------------------------

void TJexoShellList::CNNotify(fw::TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    auto itemAt = [this](int index) { return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr; };
    switch (header->code) {
        case LVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            message.Result = BeginEdit(itemAt(info->item.iItem)) ? FALSE : TRUE;
            return;
        }
        case LVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            EndEdit(itemAt(info->item.iItem), info->item.pszText);
            message.Result = FALSE;
            return;
        }
        case NM_DBLCLK:
            TListView::CNNotify(message);
            InvokeSelected("default");
            return;
        case NM_RCLICK: {
            // The list view ran its own right-button loop: the button-up never arrives. The
            // notification says where the click was and on which item.
            message.Result = 1;
            const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
            const fw::TPoint client = fw::Point(click->ptAction.x, click->ptAction.y);
            if (doRightClick_ && (click->iItem >= 0 || GetItemAt(client.X, client.Y))) ContextMenuAt(ClientToScreen(client));
            return;
        }
        default: TListView::CNNotify(message); return;
    }
}

void TJexoShellList::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case kLinkFolderChanged:
            if (message.WParam) {
                browser_->SetFolderIDList(reinterpret_cast<LPCITEMIDLIST>(message.WParam));
                Populate();
            }
            message.Result = 0;
            return;
        case kLinkSelectAll:
            SelectAllItems();
            message.Result = 0;
            return;
        case kLinkRefresh:
            Populate();
            message.Result = 0;
            return;
        case WM_RBUTTONUP: {
            // Taken in every case: no mouse-up event for the right button.
            const fw::TPoint client = fw::Point(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)));
            if (doRightClick_ && GetItemAt(client.X, client.Y)) ContextMenuAt(ClientToScreen(client));
            message.Result = 0;
            return;
        }
        case WM_CONTEXTMENU:
            // The shell's menu takes the place of the control's popup menu after a right click.
            if (doRightClick_) {
                message.Result = 0;
                return;
            }
            break;
        case WM_INITMENUPOPUP:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            TListView::Dispatch(message);
            if (browser_) browser_->HandleMenuMsg(message);
            return;
        default: break;
    }
    TListView::Dispatch(message);
}

void RegisterShellListClass() {
    fw::Class<TJexoShellList, fw::TListView>("TJexoShellList")
        .Prop("Filter", &TJexoShellList::Filter, &TJexoShellList::SetFilter)
        .Prop("Path", &TJexoShellList::Path, &TJexoShellList::SetPath)
        .Prop("SpecialFolder", &TJexoShellList::SpecialFolder, &TJexoShellList::SetSpecialFolder)
        .Stored(false)
        .Prop("FileSystemOnly", &TJexoShellList::FileSystemOnly, &TJexoShellList::SetFileSystemOnly)
        .Prop("Details", &TJexoShellList::Details, &TJexoShellList::SetDetails)
        .Prop("DoDblClick", &TJexoShellList::DoDblClick, &TJexoShellList::SetDoDblClick)
        .Prop("DoRightClick", &TJexoShellList::DoRightClick, &TJexoShellList::SetDoRightClick)
        .Prop("ShellLink", &TJexoShellList::ShellLink, &TJexoShellList::SetShellLink)
        .Prop("Version", &TJexoShellList::Version)
        .Stored(false)
        .Event("OnAddItem", &TJexoShellList::OnAddItem)
        .Event("OnCreateColumns", &TJexoShellList::OnCreateColumns)
        .Event("OnPopulated", &TJexoShellList::OnPopulated);
}

}  // namespace uis
