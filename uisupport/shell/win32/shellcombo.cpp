#include "uisupport/shell/win32/shellcombo.h"

#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/screen.h"
#include "uisupport/shell/shellnames.h"
#include "uisupport/shell/win32/shellbrowser.h"

namespace uis {
namespace {

// The objects the base list keeps: folders, folders with subfolders, and what holds file-system
// folders (My Computer, the network).
constexpr ULONG kContainerAttributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;

}  // namespace

TJexoShellCombo::TJexoShellCombo(fw::TComponent* owner) : TCustomComboBox(owner) {
    SetStyle(fw::TComboBoxStyle::csOwnerDrawFixed);
    browser_ = fw::Make<TShellBrowser>(this);
    images_ = fw::Make<fw::TImageList>(this);
    browser_->SetSmallImages(images_);
}

TJexoShellCombo::~TJexoShellCombo() = default;

void TJexoShellCombo::BeforeDestruction() {
    for (int i = 0; i < Items()->Count(); ++i) {
        if (fw::TObject* entry = Items()->Objects(i)) entry->Free();
        Items()->SetObjects(i, nullptr);
    }
    TCustomComboBox::BeforeDestruction();
}

std::string TJexoShellCombo::Version() const { return ShellVersionOf(ClassName()); }

void TJexoShellCombo::Notification(fw::TComponent* component, fw::TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation != fw::opRemove) return;
    link_.Forget(component);
    if (component == browser_) browser_ = nullptr;
    if (component == images_) images_ = nullptr;
}

TJexoComboItem* TJexoShellCombo::Entry(int index) const {
    if (index < 0 || index >= Items()->Count()) return nullptr;
    return dynamic_cast<TJexoComboItem*>(Items()->Objects(index));
}

void TJexoShellCombo::CreateWindowState() {
    TCustomComboBox::CreateWindowState();
    link_.WindowCreated(this);
    if (created_) return;
    created_ = true;
    BuildBaseList();
}

void TJexoShellCombo::DestroyWnd() {
    link_.WindowDestroying(this);
    TCustomComboBox::DestroyWnd();
}

// ---- entries ------------------------------------------------------------------------------------

int TJexoShellCombo::AddEntry(int position, std::string name, const std::string& display, int level, int icon,
                              LPCITEMIDLIST list, bool permanent) {
    if (name.empty()) name = display;
    if (name.empty()) return -1;
    if (position < 0 || position > Items()->Count()) position = Items()->Count();
    auto* entry = new TJexoComboItem();
    entry->name = name;
    entry->display = display;
    entry->level = level;
    entry->icon = icon;
    entry->driveRoot = IsDriveRootName(name);
    entry->permanent = permanent;
    entry->idList.reset(list ? CopyIDList(list) : nullptr);
    Items()->InsertObject(position, name, entry);
    return position;
}

void TJexoShellCombo::RemoveEntry(int index) {
    fw::TObject* entry = Items()->Objects(index);
    Items()->Delete(index);
    if (entry) entry->Free();
}

void TJexoShellCombo::RemoveTemporaryAfter(int position) {
    for (int i = Items()->Count() - 1; i > position; --i) {
        TJexoComboItem* entry = Entry(i);
        if (entry && !entry->permanent) RemoveEntry(i);
    }
}

void TJexoShellCombo::AddChildren(int position, int level) {
    struct Found {
        std::string name, display;
        int icon;
        IDListPtr list;
    };
    std::vector<Found> drives, others;
    while (browser_->FindNext()) {
        if (!browser_->GetAttributes(kContainerAttributes)) continue;
        const std::string name = browser_->ObjectName();
        bool known = false;
        for (int i = 0; i < Items()->Count() && !known; ++i) known = !name.empty() && Items()->Get(i) == name;
        if (known) continue;
        Found found{name, browser_->DisplayName(), browser_->IconNumber(), IDListPtr(CopyIDList(browser_->AbsoluteIDList()))};
        (IsDriveRootName(name) ? drives : others).push_back(std::move(found));
    }
    // The drives first, each group in the shell's order.
    for (auto* group : {&drives, &others})
        for (Found& f : *group) {
            const int added = AddEntry(position, f.name, f.display, level, f.icon, f.list.get(), true);
            if (added >= 0) position = added + 1;
        }
}

void TJexoShellCombo::BuildBaseList() {
    if (!browser_) return;
    UseIconTitleFont(this);
    for (int i = Items()->Count() - 1; i >= 0; --i) RemoveEntry(i);
    browser_->Loaded();
    const std::string desktop = browser_->DesktopName();
    AddEntry(0, "", desktop, 0, browser_->DesktopIconNumber(), DesktopIDList(), true);
    browser_->SetFileSystemOnly(false);
    browser_->SetSpecialFolder(TJexoShellFolder::SF_DESKTOP);
    AddChildren(1, 1);
    // The drives go right after My Computer, wherever the desktop lists it.
    browser_->SetSpecialFolder(TJexoShellFolder::SF_DRIVES);
    int after = -1;
    for (int i = 0; i < Items()->Count() && after < 0; ++i)
        if (TJexoComboItem* entry = Entry(i); entry && SameIDList(DesktopFolder(), entry->idList.get(), browser_->FolderIDListRef()))
            after = i;
    AddChildren(after >= 0 ? after + 1 : 2, 2);
    if (TCustomComboBox::ItemIndex() < 0) TCustomComboBox::SetItemIndex(0);
    Change();
}

void TJexoShellCombo::SetItemIndex(int value) {
    if (value == ItemIndex()) return;
    TCustomComboBox::SetItemIndex(value);
    TJexoComboItem* entry = Entry(value);
    if (ShellLink()) link_.ChangeFolder(this, entry ? entry->idList.get() : nullptr);
}

void TJexoShellCombo::SelectPath(const std::string& path) {
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (Items()->Get(i) == path.substr(0, 3)) found = i;
    TJexoComboItem* drive = Entry(found);
    RemoveTemporaryAfter(-1);
    if (!drive || !drive->idList) return;
    found = Items()->IndexOfObject(drive);
    browser_->SetFolderIDList(drive->idList.get());
    int position = found;
    int level = drive->level + 2;
    for (const std::string& step : ComboPathSteps(path)) {
        try {
            browser_->SetObjectName(step);
        } catch (const EShellBrowserError&) {
            break;  // the rest of the path is not there (any more)
        }
        const int icon = browser_->IconNumber();
        if (!browser_->OpenFolder()) break;
        position = AddEntry(position + 1, step, step, level++, icon, browser_->FolderIDListRef(), false);
    }
    TCustomComboBox::SetItemIndex(position);
}

void TJexoShellCombo::FolderMessage(LPCITEMIDLIST list) {
    const std::string path = PathOfIDList(list);
    if (!path.empty() && !SameIDList(DesktopFolder(), DesktopIDList(), list)) {
        SelectPath(path);
        return;
    }
    RemoveTemporaryAfter(-1);
    for (int i = 0; i < Items()->Count(); ++i) {
        TJexoComboItem* entry = Entry(i);
        if (entry && entry->idList && SameIDList(DesktopFolder(), entry->idList.get(), list)) {
            SetItemIndex(i);  // the link's guard keeps this from going round again
            return;
        }
    }
}

void TJexoShellCombo::DroppedUp() {
    const int index = ItemIndex();
    TJexoComboItem* entry = Entry(index);
    if (!entry) return;
    RemoveTemporaryAfter(index);
    link_.ChangeFolder(this, entry->idList.get());
}

// ---- drawing and menus --------------------------------------------------------------------------

void TJexoShellCombo::DrawItem(int index, const fw::TRect& rect, fw::TOwnerDrawState state) {
    if (OnDrawItem) {
        TCustomComboBox::DrawItem(index, rect, state);
        return;
    }
    TJexoComboItem* entry = Entry(index);
    if (!entry && index >= 0 && index < Items()->Count()) {
        // A plain string added by the program: the shell's name and icon of it as a path.
        auto* made = new TJexoComboItem();
        made->name = Items()->Get(index);
        SHFILEINFOA info{};
        if (SHGetFileInfoA(made->name.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) {
            made->display = info.szDisplayName;
            made->icon = info.iIcon;
        }
        made->driveRoot = IsDriveRootName(made->name);
        made->permanent = true;
        Items()->SetObjects(index, made);
        entry = made;
    }
    fw::TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (!entry) return;
    const bool inEdit = state.Contains(fw::TOwnerDrawStateItem::odComboBoxEdit);
    const int indent = inEdit ? 0 : entry->level * kIndent;
    int textLeft = rect.Left + indent + 6;
    if (images_) {
        const int y = rect.Top + (rect.Height() - images_->Height()) / 2;
        const bool selected = state.Contains(fw::TOwnerDrawStateItem::odSelected);
        images_->Draw(canvas, rect.Left + indent + 2, y, entry->icon, selected ? fw::dsSelected : fw::dsTransparent);
        textLeft += images_->Width();
    }
    const std::string& text = entry->driveRoot ? entry->display : entry->name;
    const int textY = rect.Top + (rect.Height() - canvas->TextHeight(text)) / 2;
    canvas->TextOut(textLeft, textY, text);
}

void TJexoShellCombo::ShowMenu(const fw::TPoint& screen) {
    TJexoComboItem* entry = Entry(ItemIndex());
    if (!entry || !entry->idList || !browser_) return;
    browser_->SetFolderIDList(entry->idList.get());
    if (!browser_->GoUp()) return;
    std::string verb;
    browser_->ShowContextMenu(screen, nullptr, verb);
    if (fw::Screen) fw::Screen->SetCursor(fw::crDefault);
}

void TJexoShellCombo::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case kLinkFolderChanged:
            if (message.WParam) FolderMessage(reinterpret_cast<LPCITEMIDLIST>(message.WParam));
            message.Result = 0;
            return;
        case fw::CN_COMMAND:
            if (HIWORD(message.WParam) == CBN_CLOSEUP) {
                DroppedUp();
                message.Result = 0;
                return;
            }
            break;
        case WM_RBUTTONDOWN:
            if (!PopupMenu()) {
                const fw::TPoint client =
                    fw::Point(static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam)));
                ShowMenu(ClientToScreen(client));
                message.Result = 0;
                return;
            }
            break;
        default: break;
    }
    TCustomComboBox::Dispatch(message);
}

void RegisterShellComboClass() {
    fw::Class<TJexoShellCombo, fw::TCustomComboBox>("TJexoShellCombo")
        .Prop("ShellLink", &TJexoShellCombo::ShellLink, &TJexoShellCombo::SetShellLink)
        .Prop("ItemIndex", &TJexoShellCombo::ItemIndex, &TJexoShellCombo::SetItemIndex)
        .Stored(false)
        .Prop("Version", &TJexoShellCombo::Version)
        .Stored(false);
}

}  // namespace uis
