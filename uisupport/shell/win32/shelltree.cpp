#include "uisupport/shell/win32/shelltree.h"

#include <algorithm>

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/menus.h"
#include "framework/win32/timers.h"
#include "uisupport/shell/idlist.h"
#include "uisupport/shell/shellnames.h"
#include "uisupport/shell/win32/shellbrowser.h"

namespace uis {
namespace {

constexpr unsigned kFirstDelay = 200;
constexpr unsigned kClickDelay = 100;
constexpr unsigned kKeyDelay = 800;

// The list's item `index` alone, as a relative list.
IDListPtr SingleItem(LPCITEMIDLIST list, size_t index) {
    const IDListBytes item = IDListItem(reinterpret_cast<const uint8_t*>(list), kIDListMaxBytes, index);
    if (item.empty()) return nullptr;
    std::vector<uint8_t> bytes(item.begin(), item.end());
    bytes.insert(bytes.end(), {0, 0});
    return IDListPtr(ConcatIDLists(reinterpret_cast<LPCITEMIDLIST>(bytes.data()), DesktopIDList()));
}

// The first `count` items of a list.
IDListPtr LeadingItems(LPCITEMIDLIST list, size_t count) {
    IDListPtr result(CopyIDList(DesktopIDList()));
    for (size_t i = 0; i < count && result; ++i) {
        IDListPtr item = SingleItem(list, i);
        if (!item) return nullptr;
        result.reset(ConcatIDLists(result.get(), item.get()));
    }
    return result;
}

size_t ItemCount(LPCITEMIDLIST list) { return IDListItemCount(reinterpret_cast<const uint8_t*>(list), kIDListMaxBytes); }

}  // namespace

TJexoShellTree::TJexoShellTree(fw::TComponent* owner) : TTreeView(owner) {
    SetBounds(Left(), Top(), 150, 200);
    SetHideSelection(false);
    browser_ = fw::Make<TShellBrowser>(this);
    browser_->SetFileSystemOnly(false);
    auto* images = fw::Make<fw::TImageList>(this);
    browser_->SetSmallImages(images);
    SetImages(images);
    timer_ = fw::Make<fw::TTimer>(this);
    timer_->SetEnabled(false);
    timer_->SetInterval(kFirstDelay);
    timer_->SetOnTimer(fw::TNotifyEvent(this, &TJexoShellTree::BroadcastSelection));
}

TJexoShellTree::~TJexoShellTree() = default;

void TJexoShellTree::BeforeDestruction() {
    Items()->Clear();
    data_.clear();
    TTreeView::BeforeDestruction();
}

std::string TJexoShellTree::Version() const { return ShellVersionOf(ClassName()); }

unsigned TJexoShellTree::BroadcastDelay() const { return timer_ ? timer_->Interval() : 0; }

void TJexoShellTree::Notification(fw::TComponent* component, fw::TOperation operation) {
    TTreeView::Notification(component, operation);
    if (operation != fw::opRemove) return;
    link_.Forget(component);
    if (component == browser_) browser_ = nullptr;
    if (component == timer_) timer_ = nullptr;
}

void TJexoShellTree::CreateWindowState() {
    TTreeView::CreateWindowState();
    link_.WindowCreated(this);
    if (created_) return;
    created_ = true;
    UseIconTitleFont(this);
    browser_->Loaded();
    SetShowRoot(false);
    SetRightClickSelect(true);
    // A tree whose root was never written (the default SF_DESKTOP is not in form text) still shows one.
    if (Items()->Count() == 0) BuildRoot();
}

void TJexoShellTree::DestroyWnd() {
    link_.WindowDestroying(this);
    TTreeView::DestroyWnd();
}

void TJexoShellTree::Loaded() {
    TTreeView::Loaded();
    Change(Selected());
}

// ---- nodes --------------------------------------------------------------------------------------

TJexoShellTreeItem* TJexoShellTree::DataOf(fw::TTreeNode* node) const {
    return node ? static_cast<TJexoShellTreeItem*>(node->Data()) : nullptr;
}

LPCITEMIDLIST TJexoShellTree::NodeIDList(fw::TTreeNode* node) const {
    TJexoShellTreeItem* data = DataOf(node);
    return data ? data->absolute.get() : nullptr;
}

void TJexoShellTree::FreeOrphanData() {
    std::vector<void*> live;
    for (fw::TTreeNode* node : Items()->All()) live.push_back(node->Data());
    FreeUnreferenced(data_, std::move(live));
}

void TJexoShellTree::DeleteNode(fw::TTreeNode* node) {
    node->Delete();
    FreeOrphanData();
}

fw::TTreeNode* TJexoShellTree::AddFolderNode(fw::TTreeNode* parent) {
    auto data = std::make_unique<TJexoShellTreeItem>();
    data->relative.reset(browser_->ObjectIDList());
    data->absolute.reset(CopyIDList(browser_->AbsoluteIDList()));
    fw::TTreeNode* node = Items()->AddChild(parent, browser_->DisplayName());
    node->SetImageIndex(browser_->IconNumber());
    node->SetSelectedIndex(browser_->SelectedIconNumber());
    node->SetHasChildren(browser_->HasSubFolders());
    node->SetData(data.get());
    data_.push_back(std::move(data));
    return node;
}

int TJexoShellTree::CompareNodes(fw::TTreeNode* a, fw::TTreeNode* b, LPARAM tree) {
    auto* self = reinterpret_cast<TJexoShellTree*>(tree);
    TJexoShellTreeItem* da = self->DataOf(a);
    TJexoShellTreeItem* db = self->DataOf(b);
    if (!da || !db) return 0;
    return CompareIDLists(self->browser_->ShellFolder(), 0, da->relative.get(), db->relative.get());
}

void TJexoShellTree::SortChildren(fw::TTreeNode* node) {
    // The browser's folder is the node's while its children are compared.
    browser_->SetFolderIDList(NodeIDList(node));
    node->CustomSort(&TJexoShellTree::CompareNodes, reinterpret_cast<LPARAM>(this));
}

void TJexoShellTree::BuildRoot() {
    if (!browser_) return;
    Items()->BeginUpdate();
    SetSelected(nullptr);
    Items()->Clear();
    data_.clear();
    auto data = std::make_unique<TJexoShellTreeItem>();
    fw::TTreeNode* root = nullptr;
    if (rootedAt_ == TJexoShellFolder::SF_DESKTOP) {
        data->relative.reset(CopyIDList(DesktopIDList()));
        data->absolute.reset(CopyIDList(DesktopIDList()));
        root = Items()->AddChild(nullptr, browser_->DesktopName());
        root->SetImageIndex(browser_->DesktopIconNumber());
        root->SetSelectedIndex(browser_->DesktopIconNumber());
        root->SetHasChildren(true);
    } else {
        if (rootedAt_ == TJexoShellFolder::SF_FILESYSTEMFOLDER)
            browser_->SetFolder(rootFolder_);
        else
            browser_->SetSpecialFolder(rootedAt_);
        data->relative.reset(browser_->FolderIDList());
        data->absolute.reset(browser_->FolderIDList());
        // The folder as the current object of its parent gives its icons, name and children mark.
        browser_->GoUp();
        root = Items()->AddChild(nullptr, browser_->DisplayName());
        root->SetImageIndex(browser_->IconNumber());
        root->SetSelectedIndex(browser_->SelectedIconNumber());
        root->SetHasChildren(browser_->HasSubFolders());
    }
    root->SetData(data.get());
    data_.push_back(std::move(data));
    ExpandNode(root);
    SetSelected(FirstSelection(root));
    Items()->EndUpdate();
}

fw::TTreeNode* TJexoShellTree::FirstSelection(fw::TTreeNode* root) const {
    if (rootedAt_ != TJexoShellFolder::SF_DRIVES) return root->Count() > 0 ? root->Item(0) : nullptr;
    // My Computer opens on its second drive (the first was the floppy), counted among the drives:
    // the shell may sort other objects (the Control Panel) before them.
    std::vector<fw::TTreeNode*> drives;
    for (int i = 0; i < root->Count(); ++i)
        if (IsDriveRootName(PathOfIDList(NodeIDList(root->Item(i))))) drives.push_back(root->Item(i));
    if (drives.size() >= 2) return drives[1];
    if (!drives.empty()) return drives[0];
    return root->Count() > 0 ? root->Item(0) : nullptr;
}

void TJexoShellTree::SetRootedAt(TJexoShellFolder value) {
    rootedAt_ = value;
    if (InState(fw::csLoading) && !ShellStarted()) return;
    BuildRoot();
}

void TJexoShellTree::SetRootedAtFileSystemFolder(const std::string& value) {
    rootFolder_ = value;
    SetRootedAt(TJexoShellFolder::SF_FILESYSTEMFOLDER);
}

void TJexoShellTree::FillNode(fw::TTreeNode* node) {
    if (!browser_ || !node) return;
    if (node->Count() > 0) {
        RefreshNode(node, false);
        return;
    }
    Items()->BeginUpdate();
    browser_->SetFolderIDList(NodeIDList(node));
    while (browser_->FindNext())
        if (browser_->IsFolder()) AddFolderNode(node);
    SortChildren(node);
    Items()->EndUpdate();
}

void TJexoShellTree::RefreshNode(fw::TTreeNode* node, bool recursive) {
    for (int i = 0; i < node->Count(); ++i)
        if (TJexoShellTreeItem* data = DataOf(node->Item(i))) data->seen = false;
    browser_->SetFolderIDList(NodeIDList(node));
    IShellFolder* folder = browser_->ShellFolder();
    bool added = false;
    while (browser_->FindNext()) {
        if (!browser_->IsFolder()) continue;
        // The same folder by the shell's comparison, not by its caption.
        TJexoShellTreeItem* found = nullptr;
        for (int i = 0; i < node->Count() && !found; ++i) {
            TJexoShellTreeItem* data = DataOf(node->Item(i));
            if (data && !data->seen && SameIDList(folder, data->relative.get(), browser_->ObjectIDListRef())) found = data;
        }
        if (found) {
            found->seen = true;
        } else {
            AddFolderNode(node);
            added = true;
        }
    }
    for (int i = node->Count() - 1; i >= 0; --i) {
        TJexoShellTreeItem* data = DataOf(node->Item(i));
        if (data && !data->seen) node->Item(i)->Delete();
    }
    FreeOrphanData();
    if (added) SortChildren(node);
    if (!recursive) return;
    std::vector<fw::TTreeNode*> children;
    for (int i = 0; i < node->Count(); ++i) children.push_back(node->Item(i));
    for (fw::TTreeNode* child : children)
        if (child->Expanded()) RefreshNode(child, true);
}

void TJexoShellTree::RefreshAll() {
    fw::TTreeNode* root = Items()->GetFirstNode();
    if (!root || !browser_) return;
    Items()->BeginUpdate();
    RefreshNode(root, true);
    Items()->EndUpdate();
}

void TJexoShellTree::ExpandNode(fw::TTreeNode* node) {
    // With a window the expansion asks CanExpand, which fills the node.
    if (node->Expanded()) return;
    if (!HandleAllocated() || !node->ItemId()) FillNode(node);
    node->Expand(false);
}

bool TJexoShellTree::CanExpand(fw::TTreeNode* node) {
    if (!TTreeView::CanExpand(node)) return false;
    FillNode(node);
    return true;
}

// ---- selection ----------------------------------------------------------------------------------

void TJexoShellTree::SelectByIDList(LPCITEMIDLIST absolute) {
    fw::TTreeNode* node = Items()->GetFirstNode();
    if (!absolute || !node || !browser_) return;
    Items()->BeginUpdate();
    // The walk starts below the root: a root elsewhere than the desktop covers the list's first items.
    const size_t rootItems = ItemCount(NodeIDList(node));
    const size_t count = ItemCount(absolute);
    IDListPtr lead = LeadingItems(absolute, std::min(rootItems, count));
    if (rootItems <= count && lead && SameIDList(DesktopFolder(), lead.get(), NodeIDList(node))) {
        for (size_t i = rootItems; i < count; ++i) {
            IDListPtr item = SingleItem(absolute, i);
            if (!item) break;
            ExpandNode(node);
            browser_->SetFolderIDList(NodeIDList(node));
            fw::TTreeNode* next = nullptr;
            for (int c = 0; c < node->Count() && !next; ++c) {
                TJexoShellTreeItem* data = DataOf(node->Item(c));
                if (data && SameIDList(browser_->ShellFolder(), data->relative.get(), item.get())) next = node->Item(c);
            }
            // A folder the tree does not hold ends the walk: never a same-named folder elsewhere.
            if (!next) break;
            node = next;
        }
    }
    SetSelected(node);
    node->MakeVisible();
    Items()->EndUpdate();
}

std::string TJexoShellTree::SelectedFolder() {
    fw::TTreeNode* node = Selected();
    if (!node || !browser_) return {};
    browser_->SetFolderIDList(NodeIDList(node));
    return browser_->Folder();
}

void TJexoShellTree::SetSelectedFolder(const std::string& value) {
    browser_->SetFolder(value);
    IDListPtr list(browser_->FolderIDList());
    SelectByIDList(list.get());
}

TJexoShellFolder TJexoShellTree::SpecialFolder() {
    fw::TTreeNode* node = Selected();
    if (!node || !browser_) return TJexoShellFolder::SF_FILESYSTEMFOLDER;
    browser_->SetFolderIDList(NodeIDList(node));
    const TJexoShellFolder folder = browser_->GetSpecialFolder();
    if (folder == TJexoShellFolder::SF_DRIVES && !browser_->Folder().empty()) return TJexoShellFolder::SF_FILESYSTEMFOLDER;
    return folder;
}

void TJexoShellTree::SetSpecialFolder(TJexoShellFolder value) {
    if (value == TJexoShellFolder::SF_FILESYSTEMFOLDER) {
        SetSelectedFolder("C:\\");
        return;
    }
    if (!browser_->SetSpecialFolder(value)) return;
    IDListPtr list(browser_->FolderIDList());
    SelectByIDList(list.get());
}

void TJexoShellTree::Change(fw::TTreeNode* node) {
    TTreeView::Change(node);
    if (!timer_ || answering_) return;
    timer_->SetEnabled(false);
    timer_->SetEnabled(true);
}

void TJexoShellTree::BroadcastSelection(fw::TObject*) {
    timer_->SetEnabled(false);
    fw::TTreeNode* node = Selected();
    if (ShellLink() && node) link_.ChangeFolder(this, NodeIDList(node));
}

// ---- verbs, keys and menus ----------------------------------------------------------------------

bool TJexoShellTree::SelectObjectOfNode(fw::TTreeNode* node) {
    // The node's folder as the current object of its parent.
    if (!node || !browser_) return false;
    browser_->SetFolderIDList(NodeIDList(node));
    return browser_->GoUp();
}

bool TJexoShellTree::InvokeOnSelection(const std::string& verb) {
    fw::TTreeNode* node = Selected();
    if (!node || !SelectObjectOfNode(node)) return false;
    const bool done = browser_->InvokeVerb(verb);
    if (done && fw::SameText(verb, "delete"))
        DeleteNode(node);
    else if (done && fw::SameText(verb, "paste"))
        RefreshNode(node, false);
    return done;
}

void TJexoShellTree::KeyDown(uint16_t& key, fw::TShiftState shift) {
    if (timer_) timer_->SetInterval(kKeyDelay);
    if (!IsEditing()) {
        const bool ctrl = shift.Contains(fw::ssCtrl);
        switch (key) {
            case VK_DELETE: InvokeOnSelection("delete"); break;
            case VK_F2:
                if (fw::TTreeNode* node = Selected()) node->EditText();
                break;
            case VK_F5:
                RefreshAll();
                link_.RefreshAll(this);
                break;
            case VK_BACK:
                if (fw::TTreeNode* node = Selected(); node && node->Parent()) SetSelected(node->Parent());
                key = 0;
                break;
            case 'A':
                if (ctrl) link_.SelectAll(this);
                break;
            case 'C':
                if (ctrl) InvokeOnSelection("copy");
                break;
            case 'X':
                if (ctrl) InvokeOnSelection("cut");
                break;
            case 'V':
                if (ctrl) InvokeOnSelection("paste");
                break;
            default: break;
        }
    }
    TTreeView::KeyDown(key, shift);
}

void TJexoShellTree::StartRename(fw::TObject*) {
    if (fw::TTreeNode* node = Selected()) node->EditText();
}

void TJexoShellTree::ContextMenuAt(const fw::TPoint& screen) {
    fw::TTreeNode* node = Selected();
    if (!node || !SelectObjectOfNode(node)) return;
    if (ReadOnly())
        browser_->OnRename = nullptr;
    else
        browser_->OnRename = fw::TNotifyEvent(this, &TJexoShellTree::StartRename);
    std::string verb;
    browser_->ShowContextMenu(screen, dynamic_cast<fw::TPopupMenu*>(PopupMenu()), verb);
    if (fw::SameText(verb, "delete") && Selected() == node) DeleteNode(node);
}

void TJexoShellTree::CNNotify(fw::TMessage& message) {
    auto* header = reinterpret_cast<NMHDR*>(message.LParam);
    switch (header->code) {
        case TVN_BEGINLABELEDITA: {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            auto* node = reinterpret_cast<fw::TTreeNode*>(info->item.lParam);
            bool allow = !ReadOnly() && SelectObjectOfNode(node) && browser_->CanRename();
            if (allow && OnEditing) OnEditing(this, node, allow);
            message.Result = allow ? FALSE : TRUE;
            return;
        }
        case TVN_ENDLABELEDITA: {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            auto* node = reinterpret_cast<fw::TTreeNode*>(info->item.lParam);
            TJexoShellTreeItem* data = DataOf(node);
            message.Result = FALSE;
            if (!data || !info->item.pszText || !SelectObjectOfNode(node)) return;
            std::string name = info->item.pszText;
            if (OnEdited) OnEdited(this, node, name);
            browser_->Rename(name);
            data->relative.reset(browser_->ObjectIDList());
            data->absolute.reset(ConcatIDLists(browser_->FolderIDListRef(), data->relative.get()));
            node->SetText(name);
            return;
        }
        case NM_RCLICK: {
            // The tree ran its own right-button loop: the button-up never arrives.
            message.Result = 1;
            const DWORD at = GetMessagePos();
            ContextMenuAt(fw::Point(static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))));
            return;
        }
        default: TTreeView::CNNotify(message); return;
    }
}

void TJexoShellTree::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case kLinkFolderChanged:
            if (message.WParam) {
                // Another view chose the folder: a broadcast still pending from an older selection
                // would take it back.
                if (timer_) timer_->SetEnabled(false);
                answering_ = true;
                try {
                    SelectByIDList(reinterpret_cast<LPCITEMIDLIST>(message.WParam));
                } catch (...) {
                    answering_ = false;
                    throw;
                }
                answering_ = false;
            }
            message.Result = 0;
            return;
        case kLinkRefresh:
            RefreshAll();
            message.Result = 0;
            return;
        case WM_LBUTTONDOWN:
            if (timer_) timer_->SetInterval(kClickDelay);
            break;
        case WM_RBUTTONUP: {
            // Taken in every case: no mouse-up event for the right button.
            const fw::TPoint client = fw::Point(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)));
            ContextMenuAt(ClientToScreen(client));
            message.Result = 0;
            return;
        }
        case WM_CONTEXTMENU:
            // The shell's menu takes the place of the control's popup menu.
            message.Result = 0;
            return;
        case WM_INITMENUPOPUP:
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            TTreeView::Dispatch(message);
            if (browser_) browser_->HandleMenuMsg(message);
            return;
        default: break;
    }
    TTreeView::Dispatch(message);
}

void RegisterShellTreeClass() {
    fw::Class<TJexoShellTree, fw::TTreeView>("TJexoShellTree")
        .Prop("ShellLink", &TJexoShellTree::ShellLink, &TJexoShellTree::SetShellLink)
        .Prop("RootedAt", &TJexoShellTree::RootedAt, &TJexoShellTree::SetRootedAt)
        .Prop("RootedAtFileSystemFolder", &TJexoShellTree::RootedAtFileSystemFolder,
              &TJexoShellTree::SetRootedAtFileSystemFolder)
        .Prop("SelectedFolder", &TJexoShellTree::SelectedFolder, &TJexoShellTree::SetSelectedFolder)
        .Stored(false)
        .Prop("SpecialFolder", &TJexoShellTree::SpecialFolder, &TJexoShellTree::SetSpecialFolder)
        .Stored(false)
        .Prop("Version", &TJexoShellTree::Version)
        .Stored(false);
}

}  // namespace uis
