// TDriveComboBox and TDirectoryListBox.
#include "framework/win32/std_filectrls.h"

#include <algorithm>
#include <cctype>

#include "framework/core/sysutils.h"

namespace fw {

namespace {

std::string DriveRoot(char drive) { return std::string(1, drive) + ":\\"; }

// The drive's name as listed ("c:"). Volume labels are not asked for: a removable or network drive
// would spin up, ask for a disk or wait.
std::string DriveText(char drive) { return std::string(1, drive) + ":"; }

// The parts of "c:\a\b": "c:\", "a", "b".
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    if (path.size() < 2) return parts;
    parts.push_back(path.substr(0, 2) + "\\");
    size_t start = path.size() > 2 && path[2] == '\\' ? 3 : 2;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> SubFolders(const std::string& directory) {
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA((IncludeTrailingBackslash(directory) + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return folders;
    do {
        const std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != ".." &&
            !(data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            folders.push_back(name);
    } while (FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) { return AnsiCompareText(a, b) < 0; });
    return folders;
}

}  // namespace

// ---- TDriveComboBox ---------------------------------------------------------------------------------

TDriveComboBox::TDriveComboBox(TComponent* owner) : TCustomComboBox(owner) {
    SetStyle(TComboBoxStyle::csOwnerDrawFixed);
    char current[MAX_PATH] = {};
    if (GetCurrentDirectoryA(sizeof current, current) && current[0] && current[1] == ':')
        drive_ = static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])));
    BuildList();
}

void TDriveComboBox::BuildList() {
    building_ = true;
    Items()->BeginUpdate();
    Items()->Clear();
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i)
        if (drives & (1u << i)) Items()->Add(DriveText(static_cast<char>('a' + i)));
    Items()->EndUpdate();
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Get(i)[0] == drive_) TCustomComboBox::SetItemIndex(i);
    building_ = false;
}

void TDriveComboBox::SetDrive(char value) {
    value = static_cast<char>(std::tolower(static_cast<unsigned char>(value)));
    if (value < 'a' || value > 'z') return;
    if (Items()->Count() == 0) BuildList();
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Get(i)[0] == value) {
            drive_ = value;
            TCustomComboBox::SetItemIndex(i);
            if (dirList_) dirList_->SetDrive(value);
            return;
        }
}

void TDriveComboBox::SetDirList(TDirectoryListBox* value) {
    if (dirList_) dirList_->RemoveFreeNotification(this);
    dirList_ = value;
    if (value) {
        value->FreeNotification(this);
        if (!InState(csLoading)) value->SetDrive(drive_);
    }
}

void TDriveComboBox::Notification(TComponent* component, TOperation operation) {
    TCustomComboBox::Notification(component, operation);
    if (operation == opRemove && component == dirList_) dirList_ = nullptr;
}

void TDriveComboBox::Change() {
    if (building_) return;
    const int index = ItemIndex();
    if (index >= 0) {
        drive_ = Items()->Get(index)[0];
        if (dirList_) dirList_->SetDrive(drive_);
    }
    TCustomComboBox::Change();
}

void TDriveComboBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index < 0 || index >= Items()->Count()) return;
    // A small drive mark, then the name.
    const int h = rect.Height();
    TRect mark = Rect(rect.Left + 2, rect.Top + h / 2 - 4, rect.Left + 16, rect.Top + h / 2 + 4);
    canvas->Pen()->SetColor(canvas->Font()->Color());
    canvas->Rectangle(mark);
    canvas->TextOut(rect.Left + 20, rect.Top + 1, Items()->Get(index));
}

// ---- TDirectoryListBox ------------------------------------------------------------------------------

TDirectoryListBox::TDirectoryListBox(TComponent* owner) : TCustomListBox(owner) {
    SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    SetItemHeight(16);
    char current[MAX_PATH] = {};
    if (GetCurrentDirectoryA(sizeof current, current)) directory_ = current;
    BuildList();
}

void TDirectoryListBox::Loaded() {
    TCustomListBox::Loaded();
    BuildList();
    UpdateLabel();
}

char TDirectoryListBox::Drive() const {
    return directory_.empty() ? 'c' : static_cast<char>(std::tolower(static_cast<unsigned char>(directory_[0])));
}

void TDirectoryListBox::SetDrive(char value) {
    if (Drive() == std::tolower(static_cast<unsigned char>(value))) return;
    // The drive's current directory, as the system remembers it.
    char full[MAX_PATH] = {};
    const std::string relative = std::string(1, value) + ":.";
    if (GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr) && DirectoryExists(full))
        SetDirectory(full);
    else
        SetDirectory(DriveRoot(value));
}

void TDirectoryListBox::SetDirectory(const std::string& value) {
    std::string path = ExpandFileName(value);
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    if (SameText(path, directory_)) return;
    directory_ = path;
    if (InState(csLoading)) return;
    BuildList();
    UpdateLabel();
    if (OnChange) OnChange(this);
}

void TDirectoryListBox::BuildList() {
    const std::vector<std::string> parts = PathParts(directory_);
    openLevels_ = static_cast<int>(parts.size());
    Items()->BeginUpdate();
    Items()->Clear();
    for (const std::string& part : parts) Items()->Add(part);
    for (const std::string& folder : SubFolders(directory_)) Items()->Add(folder);
    Items()->EndUpdate();
    SetItemIndex(openLevels_ - 1);
}

std::string TDirectoryListBox::GetItemPath(int index) const {
    if (index < 0 || index >= Items()->Count()) return std::string();
    std::string path;
    const int last = std::min(index, openLevels_ - 1);
    for (int i = 0; i <= last; ++i) path = i == 0 ? Items()->Get(0) : IncludeTrailingBackslash(path) + Items()->Get(i);
    if (index >= openLevels_) path = IncludeTrailingBackslash(directory_) + Items()->Get(index);
    return path;
}

void TDirectoryListBox::OpenCurrent() {
    const int index = ItemIndex();
    if (index >= 0) SetDirectory(GetItemPath(index));
}

void TDirectoryListBox::DblClick() {
    TCustomListBox::DblClick();
    OpenCurrent();
}

void TDirectoryListBox::SetDirLabel(TComponent* value) {
    if (dirLabel_) dirLabel_->RemoveFreeNotification(this);
    dirLabel_ = value;
    if (value) value->FreeNotification(this);
    UpdateLabel();
}

void TDirectoryListBox::UpdateLabel() {
    if (!dirLabel_ || InState(csLoading)) return;
    if (const PropInfo* caption = FindProp(dirLabel_, "Caption"); caption && caption->kind == TypeKind::String)
        SetStrProp(dirLabel_, *caption, directory_);
}

void TDirectoryListBox::Notification(TComponent* component, TOperation operation) {
    TCustomListBox::Notification(component, operation);
    if (operation == opRemove && component == dirLabel_) dirLabel_ = nullptr;
}

void TDirectoryListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index < 0 || index >= Items()->Count()) return;
    // Open folders step in one level each; the subfolders sit one level below the last.
    const int level = std::min(index, openLevels_);
    const int x = rect.Left + 2 + level * 8;
    const int h = rect.Height();
    TRect folder = Rect(x, rect.Top + h / 2 - 4, x + 12, rect.Top + h / 2 + 4);
    canvas->Pen()->SetColor(canvas->Font()->Color());
    canvas->Rectangle(folder);
    canvas->TextOut(x + 16, rect.Top + 1, Items()->Get(index));
}

void RegisterFileControlClasses() {
    RegisterListBoxClasses();
    RegisterComboBoxClasses();
    Class<TDirectoryListBox, TCustomListBox>("TDirectoryListBox")
        .Prop("Directory", &TDirectoryListBox::Directory, &TDirectoryListBox::SetDirectory)
        .Prop("Drive", &TDirectoryListBox::Drive, &TDirectoryListBox::SetDrive)
        .Stored(false)
        .Prop("DirLabel", &TDirectoryListBox::DirLabel, &TDirectoryListBox::SetDirLabel)
        .Event("OnChange", &TDirectoryListBox::OnChange);
    Class<TDriveComboBox, TCustomComboBox>("TDriveComboBox")
        .Prop("Drive", &TDriveComboBox::Drive, &TDriveComboBox::SetDrive)
        .Prop("DirList", &TDriveComboBox::DirList, &TDriveComboBox::SetDirList);
}

}  // namespace fw
