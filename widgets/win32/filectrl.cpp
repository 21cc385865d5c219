#include "widgets/win32/filectrl.h"

#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"
#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"

namespace kvx::win32 {

namespace {

struct AttributeBit {
    TKVXFileCtrlAttribute member;
    DWORD bit;
};
constexpr AttributeBit kAttributes[] = {
    {TKVXFileCtrlAttribute::fcaArchive, FILE_ATTRIBUTE_ARCHIVE},
    {TKVXFileCtrlAttribute::fcaDirectory, FILE_ATTRIBUTE_DIRECTORY},
    {TKVXFileCtrlAttribute::fcaHidden, FILE_ATTRIBUTE_HIDDEN},
    {TKVXFileCtrlAttribute::fcaNormal, FILE_ATTRIBUTE_NORMAL},
    {TKVXFileCtrlAttribute::fcaOffline, FILE_ATTRIBUTE_OFFLINE},
    {TKVXFileCtrlAttribute::fcaReadonly, FILE_ATTRIBUTE_READONLY},
    {TKVXFileCtrlAttribute::fcaSystem, FILE_ATTRIBUTE_SYSTEM},
    {TKVXFileCtrlAttribute::fcaTemporary, FILE_ATTRIBUTE_TEMPORARY},
    {TKVXFileCtrlAttribute::fcaCompressed, FILE_ATTRIBUTE_COMPRESSED},
};

struct FlagBit {
    TKVXFileOpFlag member;
    unsigned bit;
};
constexpr FlagBit kFlags[] = {
    {TKVXFileOpFlag::ffFilesOnly, FOF_FILESONLY},
    {TKVXFileOpFlag::ffNoActionConfirm, FOF_NOCONFIRMATION},
    {TKVXFileOpFlag::ffNoMKDIRConfirm, FOF_NOCONFIRMMKDIR},
    {TKVXFileOpFlag::ffRenameFileOnCollision, FOF_RENAMEONCOLLISION},
    {TKVXFileOpFlag::ffShowNoErrors, FOF_NOERRORUI},
    {TKVXFileOpFlag::ffShowNoProgress, FOF_SILENT},
    {TKVXFileOpFlag::ffSimpleProgress, FOF_SIMPLEPROGRESS},
    {TKVXFileOpFlag::ffUseRecycleBin, FOF_ALLOWUNDO},
};

// Opened for reading (and writing) without sharing: a file another program holds open fails.
HANDLE OpenExclusive(const std::string& name, bool write) {
    return CreateFileA(name.c_str(), GENERIC_READ | (write ? GENERIC_WRITE : 0), 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// A name list for the shell: each name ended by NUL, the list by one more (c_str adds it).
std::string NameList(const std::string& names) {
    if (names.find('\0') != std::string::npos) return names;
    return fw::ExpandFileName(names) + '\0';
}

}  // namespace

bool TKVXFileCtrl::Exists() const {
    return !fileName_.empty() && GetFileAttributesA(fileName_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TKVXFileCtrl::SetFileName(const std::string& value) {
    if (!fw::FileExists(value)) return;
    fileName_ = fw::ExpandFileName(value);
}

TKVXFileCtrlAttributes TKVXFileCtrl::Attributes() const {
    TKVXFileCtrlAttributes result;
    if (fileName_.empty()) return result;
    const DWORD attr = GetFileAttributesA(fileName_.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) return result;
    for (const AttributeBit& a : kAttributes)
        if (attr & a.bit) result.Include(a.member);
    return result;
}

void TKVXFileCtrl::SetAttributes(TKVXFileCtrlAttributes value) {
    if (value == lastAttributes_ || !Exists()) return;
    lastAttributes_ = value;
    DWORD attr = 0;
    for (const AttributeBit& a : kAttributes)
        if (a.member != TKVXFileCtrlAttribute::fcaCompressed && value.Contains(a.member)) attr |= a.bit;
    SetFileAttributesA(fileName_.c_str(), attr);
}

int64_t TKVXFileCtrl::FileSize() const {
    if (!Exists()) return 0;
    HANDLE h = OpenExclusive(fileName_, false);
    if (h == INVALID_HANDLE_VALUE) return 0;
    LARGE_INTEGER size{};
    const bool ok = GetFileSizeEx(h, &size);
    CloseHandle(h);
    return ok ? size.QuadPart : 0;
}

std::string TKVXFileCtrl::GetStamp(int index) const {
    if (!Exists()) return std::string();
    HANDLE h = OpenExclusive(fileName_, false);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    FILETIME times[3] = {};
    const bool ok = GetFileTime(h, &times[0], &times[1], &times[2]);
    CloseHandle(h);
    FILETIME local{};
    SYSTEMTIME st{};
    if (!ok || !FileTimeToLocalFileTime(&times[index], &local) || !FileTimeToSystemTime(&local, &st)) return std::string();
    fw::SystemTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return fw::DateTimeToStr(fw::SystemTimeToDateTime(t));
}

void TKVXFileCtrl::SetStamp(int index, const std::string& value) {
    if (!Exists()) return;
    const fw::SystemTime t = fw::DateTimeToSystemTime(fw::StrToDateTime(value));
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    st.wMilliseconds = static_cast<WORD>(t.millisecond);
    FILETIME local{}, utc{};
    if (!SystemTimeToFileTime(&st, &local) || !LocalFileTimeToFileTime(&local, &utc)) return;
    HANDLE h = OpenExclusive(fileName_, true);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, index == 0 ? &utc : nullptr, index == 1 ? &utc : nullptr, index == 2 ? &utc : nullptr);
    CloseHandle(h);
}

std::string TKVXFileCtrl::FileType() const {
    if (!Exists()) return std::string();
    SHFILEINFOA info{};
    SHGetFileInfoA(fileName_.c_str(), 0, &info, sizeof(info), SHGFI_TYPENAME);
    if (info.szTypeName[0]) return info.szTypeName;
    return fw::UpperCase(fw::ExtractFileExt(fileName_)) + "-" + texts::SFiles;
}

void TKVXFileCtrl::GetFileIcon(fw::TIcon* icon) const {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(fileName_.c_str(), 0, &info, sizeof(info), SHGFI_ICON) && info.hIcon) icon->SetHandle(info.hIcon);
}

unsigned TKVXFileCtrl::ShellFlags(TKVXFileOpFlags options) {
    unsigned flags = 0;
    for (const FlagBit& f : kFlags)
        if (options.Contains(f.member)) flags |= f.bit;
    return flags;
}

bool TKVXFileCtrl::FileOperation(const std::string& source, const std::string& target, unsigned operation) {
    if (source.empty()) return false;
    const std::string from = NameList(source);
    const std::string to = operation == FO_DELETE ? from : NameList(target);
    SHFILEOPSTRUCTA op{};
    op.hwnd = nullptr;
    op.wFunc = operation;
    op.pFrom = from.c_str();
    op.pTo = to.c_str();
    op.fFlags = static_cast<FILEOP_FLAGS>(ShellFlags(Options));
    op.lpszProgressTitle = "";
    return SHFileOperationA(&op) == 0;
}

bool TKVXFileCtrl::CopyFile(const std::string& source, const std::string& target) {
    return FileOperation(source, target, FO_COPY);
}
bool TKVXFileCtrl::MoveFile(const std::string& source, const std::string& target) {
    return FileOperation(source, target, FO_MOVE);
}
bool TKVXFileCtrl::RenameFile(const std::string& source, const std::string& target) {
    return FileOperation(source, target, FO_RENAME);
}
bool TKVXFileCtrl::DeleteFile(const std::string& source) { return FileOperation(source, std::string(), FO_DELETE); }

}  // namespace kvx::win32
