// TShellBrowser: folders, objects, names, icons and the directory monitor.
#include "uisupport/shell/win32/shellbrowser.h"

#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/imagelist.h"
#include "uisupport/shell/matchmask.h"
#include "uisupport/shell/shelllink.h"
#include "uisupport/shell/shellnames.h"
#include "uisupport/shell/win32/dirmon.h"

namespace uis {
namespace {

constexpr SHCONTF kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;  // 0xE0

IDListPtr SpecialFolderList(HWND owner, int csidl) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(owner, csidl, &list))) return nullptr;
    return IDListPtr(list);
}

}  // namespace

TShellBrowser::TShellBrowser(fw::TComponent* owner) : TComponent(owner), masks_(SplitFilter("*")) {
    multiObjects_ = new fw::TStringList();
    SetFolder("");
}

TShellBrowser::~TShellBrowser() {
    ReleaseEnumerator();
    details_.Reset();
    shellFolder_.Reset();
    multiObjects_->Free();
}

std::string TShellBrowser::Version() const { return ShellVersionOf(ClassName()); }

void TShellBrowser::Loaded() { TComponent::Loaded(); }

HWND TShellBrowser::OwnerWindow() const {
    if (auto* control = dynamic_cast<fw::TWinControl*>(Owner()); control && control->HandleAllocated())
        return control->Handle();
    return fw::Application ? fw::Application->Handle() : nullptr;
}

void TShellBrowser::Notification(fw::TComponent* component, fw::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != fw::opRemove) return;
    if (component == smallImages_) smallImages_ = nullptr;
    if (component == largeImages_) largeImages_ = nullptr;
    if (component == monitor_) monitor_ = nullptr;
}

// ---- folder -------------------------------------------------------------------------------------

void TShellBrowser::SetFolder(const std::string& value) {
    if (!value.empty() && fw::SameText(value, folder_)) return;
    if (!ShellStarted()) throw EShellBrowserError("Cannot find Shell!");
    // The text becomes the folder only once the shell knows it, so a retry after a failure is tried.
    IDListPtr list = value.empty() ? SpecialFolderList(OwnerWindow(), 0x11)
                                   : IDListPtr(ParseName(nullptr, OwnerWindow(), value));
    if (!list) throw EShellBrowserError(FolderNotFoundMessage(value));
    SetFolderIDList(list.get());
}

void TShellBrowser::SetFolderIDList(LPCITEMIDLIST list) {
    details_.Reset();
    noDetails_ = false;
    if (!list) {
        ReleaseEnumerator();
        ClearObject();
        shellFolder_.Reset();
        folderList_.reset();
        folder_.clear();
        if (monitor_) monitor_->SetDirectory("");
        return;
    }
    IShellFolder* desktop = DesktopFolder();
    if (!desktop) throw EShellBrowserError("Cannot find Shell!");
    // Copy first: the list may be one of ours (OpenFolder passes the object's absolute list).
    IDListPtr copy(CopyIDList(list));
    if (!copy) throw EShellBrowserError("Could not get Folder");
    ComPtr<IShellFolder> folder;
    if (IDListSize(copy.get()) == 2 || SameIDList(desktop, DesktopIDList(), copy.get())) {
        desktop->AddRef();
        folder.Reset(desktop);
        copy.reset(CopyIDList(DesktopIDList()));
    } else if (FAILED(desktop->BindToObject(copy.get(), nullptr, IID_IShellFolder, folder.OutVoid())) || !folder) {
        throw EShellBrowserError("Could not get Folder");
    }
    ReleaseEnumerator();
    ClearObject();
    shellFolder_ = folder;
    folderList_ = std::move(copy);
    folder_ = PathOfIDList(folderList_.get());
    if (!folder_.empty()) folder_ = fw::IncludeTrailingBackslash(folder_);
    if (monitor_) monitor_->SetDirectory(folder_);
}

LPITEMIDLIST TShellBrowser::FolderIDList() const { return CopyIDList(folderList_.get()); }

bool TShellBrowser::GoUp() {
    if (!folderList_) return false;
    LPITEMIDLIST parent = nullptr, last = nullptr;
    if (!SplitLastItem(folderList_.get(), parent, last)) return false;  // the desktop has no parent
    IDListPtr parentList(parent), lastItem(last);
    SetFolderIDList(parentList.get());
    SetObjectIDList(lastItem.get());
    return true;
}

bool TShellBrowser::OpenFolder() {
    if (!IsFolder()) return false;
    IDListPtr absolute(CopyIDList(AbsoluteIDList()));
    if (!absolute) return false;
    SetFolderIDList(absolute.get());
    return static_cast<bool>(shellFolder_);
}

bool TShellBrowser::SetSpecialFolder(TJexoShellFolder folder) {
    IDListPtr list = SpecialFolderList(OwnerWindow(), CsidlOf(folder));
    if (!list) return false;
    SetFolderIDList(list.get());
    return true;
}

TJexoShellFolder TShellBrowser::GetSpecialFolder() {
    if (!folderList_) return TJexoShellFolder::SF_FILESYSTEMFOLDER;
    // SF_FILESYSTEMFOLDER shares My Computer's number; My Computer is SF_DRIVES.
    for (int i = 1; i < kShellFolderCount; ++i) {
        const auto value = static_cast<TJexoShellFolder>(i);
        IDListPtr list = SpecialFolderList(OwnerWindow(), CsidlOf(value));
        if (list && SameIDList(DesktopFolder(), list.get(), folderList_.get())) return value;
    }
    return TJexoShellFolder::SF_FILESYSTEMFOLDER;
}

// ---- object -------------------------------------------------------------------------------------

void TShellBrowser::ClearObject() {
    objectList_.reset();
    absoluteList_.reset();
}

void TShellBrowser::ReleaseEnumerator() { enumerator_.Reset(); }

void TShellBrowser::SetObjectIDList(LPCITEMIDLIST relative) {
    IDListPtr copy(relative ? CopyIDList(relative) : nullptr);
    ClearObject();
    objectList_ = std::move(copy);
}

LPITEMIDLIST TShellBrowser::ObjectIDList() const { return CopyIDList(objectList_.get()); }

LPCITEMIDLIST TShellBrowser::AbsoluteIDList() {
    if (!absoluteList_ && folderList_ && objectList_)
        absoluteList_.reset(ConcatIDLists(folderList_.get(), objectList_.get()));
    return absoluteList_.get();
}

void TShellBrowser::SetMultiObjectIDLists(const std::vector<LPCITEMIDLIST>& relative) {
    multiObjectLists_.clear();
    for (LPCITEMIDLIST list : relative)
        if (IDListPtr copy{CopyIDList(list)}) multiObjectLists_.push_back(std::move(copy));
}

void TShellBrowser::SetMultiObjects(fw::TStrings* value) { multiObjects_->Assign(value); }

std::string TShellBrowser::ObjectName() {
    if (!shellFolder_ || !objectList_) return {};
    return ObjectNameOfPath(PathOfIDList(AbsoluteIDList()));
}

void TShellBrowser::SetObjectName(const std::string& value) {
    if (value.empty()) {
        ClearObject();
        return;
    }
    std::string name = value;
    if (name.size() > 3 && name.back() == '\\') name.pop_back();
    if (name.find('\\') == std::string::npos) {
        if (IDListPtr parsed{ParseName(shellFolder_.Get(), OwnerWindow(), name)}) {
            SetObjectIDList(parsed.get());
            return;
        }
        // Not a parsing name: a display name the user typed.
        ReleaseEnumerator();
        bool found = false;
        while (FindNext())
            if (DisplayName() == name || ObjectName() == name) {
                found = true;
                break;
            }
        ReleaseEnumerator();
        if (!found) throw EShellBrowserError(ObjectNotFoundMessage(name, folder_));
        return;
    }
    if (name.size() <= 3) {  // a drive root: the drive inside My Computer
        SetFolder(name);
        GoUp();
        return;
    }
    SetFolder(fw::ExtractFilePath(name));
    SetObjectName(fw::ExtractFileName(name));
}

std::string TShellBrowser::DisplayName() {
    if (!shellFolder_ || !objectList_) return {};
    STRRET ret{};
    std::string name;
    if (SUCCEEDED(shellFolder_->GetDisplayNameOf(objectList_.get(), SHGDN_NORMAL, &ret)))
        name = StrRetToString(objectList_.get(), ret);
    return name.empty() ? ObjectName() : name;
}

ULONG TShellBrowser::GetAttributes(ULONG mask) {
    if (!shellFolder_ || !objectList_) return 0;
    LPCITEMIDLIST items[1] = {objectList_.get()};
    ULONG attributes = mask;
    if (FAILED(shellFolder_->GetAttributesOf(1, items, &attributes))) return 0;
    return attributes & mask;
}

bool TShellBrowser::FindNext() {
    if (!shellFolder_) return false;
    if (!enumerator_) {
        if (shellFolder_->EnumObjects(OwnerWindow(), kEnumFlags, enumerator_.Out()) != S_OK || !enumerator_) {
            enumerator_.Reset();
            return false;
        }
    }
    for (;;) {
        LPITEMIDLIST next = nullptr;
        ULONG fetched = 0;
        if (enumerator_->Next(1, &next, &fetched) != S_OK || !next) {
            ReleaseEnumerator();
            return false;
        }
        ClearObject();
        objectList_.reset(next);
        if (fileSystemOnly_ && !GetAttributes(SFGAO_FILESYSTEM) &&
            fw::UpperCase(ObjectName().substr(0, 7)) != "RECYCLE")
            continue;
        if (MatchesFilter()) return true;
    }
}

bool TShellBrowser::MatchesFilter() { return IsFolder() || MatchesAnyMask(ObjectName(), masks_); }

std::string TShellBrowser::Filter() const { return JoinFilter(masks_); }

void TShellBrowser::SetFilter(const std::string& value) { masks_ = SplitFilter(value); }

// ---- icons and images ---------------------------------------------------------------------------

int TShellBrowser::IconIndex(LPCITEMIDLIST absolute, UINT flags) const {
    if (!absolute) return -1;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolute), 0, &info, sizeof info, flags)) return -1;
    return info.iIcon;
}

int TShellBrowser::IconNumber() { return IconIndex(AbsoluteIDList(), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON); }

int TShellBrowser::SelectedIconNumber() {
    return IconIndex(AbsoluteIDList(), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
}

int TShellBrowser::DesktopIconNumber() { return IconIndex(DesktopIDList(), SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON); }

std::string TShellBrowser::DesktopName() {
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(reinterpret_cast<LPCSTR>(DesktopIDList()), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
        return {};
    return info.szDisplayName;
}

void TShellBrowser::AttachImages(fw::TCustomImageList* list, UINT sizeFlag) {
    if (!list) return;
    SHFILEINFOA info{};
    auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | sizeFlag));
    // Shared: freeing the list must never destroy the system's images.
    list->SetShareImages(true);
    if (system) list->SetHandle(system);
}

void TShellBrowser::SetSmallImages(fw::TCustomImageList* value) {
    if (smallImages_) smallImages_->RemoveFreeNotification(this);
    smallImages_ = value;
    if (value) value->FreeNotification(this);
    AttachImages(value, SHGFI_SMALLICON);
}

void TShellBrowser::SetLargeImages(fw::TCustomImageList* value) {
    if (largeImages_) largeImages_->RemoveFreeNotification(this);
    largeImages_ = value;
    if (value) value->FreeNotification(this);
    AttachImages(value, SHGFI_LARGEICON);
}

// ---- monitor ------------------------------------------------------------------------------------

void TShellBrowser::SetOnFileChange(const fw::TNotifyEvent& value) {
    if (monitor_) {
        TDirMon* old = monitor_;
        monitor_ = nullptr;
        if (old->Running()) old->Stop();
        old->Free();
    }
    onFileChange_ = value;
    if (!value) return;
    monitor_ = fw::Make<TDirMon>(this);
    monitor_->SetNotifyFilter({TDirMonValue::dmcFileName, TDirMonValue::dmcDirName});
    monitor_->OnDirChange = fw::TNotifyEvent(this, &TShellBrowser::MonitorChanged);
    monitor_->SetDirectory(folder_);
}

void TShellBrowser::MonitorChanged(fw::TObject*) {
    if (onFileChange_) onFileChange_(this);
}

void RegisterShellBrowserClass() {
    fw::Class<TShellBrowser, fw::TComponent>("TShellBrowser")
        .Prop("Filter", &TShellBrowser::Filter, &TShellBrowser::SetFilter)
        .Prop("Folder", &TShellBrowser::Folder, &TShellBrowser::SetFolder)
        .Prop("ObjectName", &TShellBrowser::ObjectName, &TShellBrowser::SetObjectName)
        .Stored(false)
        .Prop("IconNumber", &TShellBrowser::IconNumber)
        .Prop("SelectedIconNumber", &TShellBrowser::SelectedIconNumber)
        .Prop("SmallImages", &TShellBrowser::SmallImages, &TShellBrowser::SetSmallImages)
        .Prop("LargeImages", &TShellBrowser::LargeImages, &TShellBrowser::SetLargeImages)
        .Prop("FileSystemOnly", &TShellBrowser::FileSystemOnly, &TShellBrowser::SetFileSystemOnly)
        .Prop("MultiObjects", &TShellBrowser::MultiObjects, &TShellBrowser::SetMultiObjects)
        .Prop("Version", &TShellBrowser::Version)
        .Stored(false)
        .Event("OnRename", &TShellBrowser::OnRename);
}

}  // namespace uis
