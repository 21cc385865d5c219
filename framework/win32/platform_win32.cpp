// The Win32 seams. Only the ANSI ("A") entry points are called, by explicit name.
#include "framework/win32/platform_win32.h"

#include "framework/win32/winapi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"

namespace fw {

namespace {

HANDLE H(FileHandle h) { return reinterpret_cast<HANDLE>(h); }

int64_t FromFt(const FILETIME& ft) {
    return static_cast<int64_t>((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

FILETIME ToFt(int64_t v) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(v) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(v) >> 32);
    return ft;
}

FileEntry EntryFrom(const char* name, DWORD attr, const FILETIME& write, DWORD sizeHigh, DWORD sizeLow) {
    FileEntry e;
    e.name = name;
    e.attr = attr & 0xFFu;
    if (e.attr == 0) e.attr = 0;  // FILE_ATTRIBUTE_NORMAL (0x80) alone means no attributes
    e.attr &= ~static_cast<uint32_t>(faNormal);
    e.fileTime = FromFt(write);
    e.dosTime = FileTimeToDosTime(e.fileTime);
    e.size = (attr & FILE_ATTRIBUTE_DIRECTORY) ? 0 : static_cast<int64_t>((static_cast<uint64_t>(sizeHigh) << 32) | sizeLow);
    return e;
}

class Win32Fs : public FileSystem {
public:
    FileHandle Open(const std::string& path, FileAccess access, FileShare share, FileCreate create, int* error) override {
        DWORD desired = access == FileAccess::Read ? GENERIC_READ : access == FileAccess::Write ? GENERIC_WRITE
                                                                                               : GENERIC_READ | GENERIC_WRITE;
        DWORD shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;
        switch (share) {
            case FileShare::Compat: shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
            case FileShare::Exclusive: shareMode = 0; break;
            case FileShare::DenyWrite: shareMode = FILE_SHARE_READ; break;
            case FileShare::DenyRead: shareMode = FILE_SHARE_WRITE; break;
            case FileShare::DenyNone: shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
        }
        DWORD disposition = OPEN_EXISTING;
        switch (create) {
            case FileCreate::OpenExisting: disposition = OPEN_EXISTING; break;
            case FileCreate::CreateAlways: disposition = CREATE_ALWAYS; break;
            case FileCreate::CreateNew: disposition = CREATE_NEW; break;
            case FileCreate::OpenAlways: disposition = OPEN_ALWAYS; break;
        }
        HANDLE h = CreateFileA(path.c_str(), desired, shareMode, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            lastError_ = static_cast<int>(GetLastError());
            if (error) *error = lastError_;
            return kInvalidFile;
        }
        return reinterpret_cast<FileHandle>(h);
    }

    // One CreateFile: the system says afterwards whether it cut an existing file.
    FileHandle CreateOutput(const std::string& path, FileShare share, bool& existed, int* error) override {
        const FileHandle h = Open(path, FileAccess::Write, share, FileCreate::CreateAlways, error);
        existed = h != kInvalidFile && GetLastError() == ERROR_ALREADY_EXISTS;
        return h;
    }

    bool SetHandleAttributes(FileHandle h, const std::string&, uint32_t attr) override {
        FILE_BASIC_INFO info{};  // times of 0 stay as they are
        info.FileAttributes = attr == 0 ? FILE_ATTRIBUTE_NORMAL : attr;
        return SetFileInformationByHandle(H(h), FileBasicInfo, &info, sizeof info) || Fail() > 0;
    }

    void Close(FileHandle h) override {
        if (h != kInvalidFile) CloseHandle(H(h));
    }

    int64_t Read(FileHandle h, void* buffer, int64_t count) override {
        int64_t done = 0;
        auto* out = static_cast<char*>(buffer);
        while (done < count) {
            const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
            DWORD got = 0;
            if (!ReadFile(H(h), out + done, chunk, &got, nullptr)) return Fail();
            if (got == 0) break;
            done += got;
        }
        return done;
    }

    int64_t Write(FileHandle h, const void* buffer, int64_t count) override {
        int64_t done = 0;
        const auto* in = static_cast<const char*>(buffer);
        while (done < count) {
            const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count - done, 1 << 30));
            DWORD put = 0;
            if (!WriteFile(H(h), in + done, chunk, &put, nullptr)) return Fail();
            if (put == 0) break;
            done += put;
        }
        return done;
    }

    int64_t Seek(FileHandle h, int64_t offset, SeekOrigin origin) override {
        LARGE_INTEGER dist, pos;
        dist.QuadPart = offset;
        const DWORD method = origin == SeekOrigin::Begin ? FILE_BEGIN : origin == SeekOrigin::Current ? FILE_CURRENT : FILE_END;
        if (!SetFilePointerEx(H(h), dist, &pos, method)) return Fail();
        return pos.QuadPart;
    }

    bool SetSize(FileHandle h, int64_t size) override {
        const int64_t pos = Seek(h, 0, SeekOrigin::Current);
        if (pos < 0 || Seek(h, size, SeekOrigin::Begin) < 0) return false;
        const bool ok = SetEndOfFile(H(h)) != 0;
        if (!ok) Fail();
        Seek(h, pos < size ? pos : size, SeekOrigin::Begin);
        return ok;
    }

    bool Flush(FileHandle h) override { return FlushFileBuffers(H(h)) || Fail() > 0; }

    bool GetHandleTime(FileHandle h, int64_t& fileTime) override {
        FILETIME w;
        if (!::GetFileTime(H(h), nullptr, nullptr, &w)) return Fail() > 0;
        fileTime = FromFt(w);
        return true;
    }

    bool SetHandleTime(FileHandle h, int64_t fileTime) override {
        const FILETIME w = ToFt(fileTime);
        return ::SetFileTime(H(h), nullptr, nullptr, &w) || Fail() > 0;
    }

    bool Stat(const std::string& path, FileEntry& entry) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return Fail() > 0;
        std::string name = path;
        while (name.size() > 1 && (name.back() == '\\' || name.back() == '/')) name.pop_back();
        const size_t cut = name.find_last_of("\\/:");
        entry = EntryFrom(cut == std::string::npos ? name.c_str() : name.c_str() + cut + 1, data.dwFileAttributes,
                          data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
        return true;
    }

    bool SetAttributes(const std::string& path, uint32_t attr) override {
        return SetFileAttributesA(path.c_str(), attr == 0 ? FILE_ATTRIBUTE_NORMAL : attr) || Fail() > 0;
    }

    bool SetFileTime(const std::string& path, int64_t fileTime) override {
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return Fail() > 0;
        const FILETIME w = ToFt(fileTime);
        const bool ok = ::SetFileTime(h, nullptr, nullptr, &w) != 0;
        if (!ok) Fail();
        CloseHandle(h);
        return ok;
    }

    bool DeleteFile(const std::string& path) override { return DeleteFileA(path.c_str()) || Fail() > 0; }

    bool MoveFile(const std::string& from, const std::string& to, bool replace) override {
        const DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        return MoveFileExA(from.c_str(), to.c_str(), flags) || Fail() > 0;
    }

    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        return CopyFileA(from.c_str(), to.c_str(), failIfExists) || Fail() > 0;
    }

    bool CreateDirectory(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) || Fail() > 0;
    }

    bool RemoveDirectory(const std::string& path) override { return RemoveDirectoryA(path.c_str()) || Fail() > 0; }

    bool List(const std::string& folder, const std::string& mask, std::vector<FileEntry>& out) override {
        std::string pattern = folder;
        if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/' && pattern.back() != ':') pattern += '\\';
        pattern += mask;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = GetLastError();
            lastError_ = static_cast<int>(e);
            // An empty match is a listing with nothing in it; a missing folder is an error.
            return e == ERROR_FILE_NOT_FOUND || e == ERROR_NO_MORE_FILES;
        }
        do {
            out.push_back(EntryFrom(fd.cFileName, fd.dwFileAttributes, fd.ftLastWriteTime, fd.nFileSizeHigh, fd.nFileSizeLow));
        } while (FindNextFileA(h, &fd));
        ::FindClose(h);
        return true;
    }

    std::string GetCurrentDir() override {
        char buf[MAX_PATH + 1];
        const DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
    }

    bool SetCurrentDir(const std::string& path) override { return SetCurrentDirectoryA(path.c_str()) || Fail() > 0; }

    std::string FullPathName(const std::string& path) override {
        char buf[MAX_PATH * 4];
        char* namePart = nullptr;
        const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, &namePart);
        return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
    }

    std::string TempFolder() override {
        char buf[MAX_PATH + 1];
        const DWORD n = GetTempPathA(sizeof buf, buf);
        std::string dir = n > 0 && n < sizeof buf ? std::string(buf, n) : std::string("C:\\");
        if (dir.back() != '\\') dir += '\\';
        return dir;
    }

    std::string TempFileName(const std::string& folder, const std::string& prefix) override {
        char buf[MAX_PATH + 1];
        if (!GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, buf)) {
            Fail();
            return std::string();
        }
        return buf;
    }

    // The staged file is marked for deletion as soon as it exists: when the program dies before the
    // commit the system removes it with the last handle. The commit takes the mark off and renames
    // the file through its handle, so that no moment exists in which it stands beside the target.
    bool CreateStaged(StagedFile& staged) override {
        staged.handle = kInvalidFile;
        staged.vanishes = false;
        char buf[MAX_PATH + 1];
        if (!GetTempFileNameA(StagedFolder(staged.target).c_str(), staged.prefix.c_str(), 0, buf)) return Fail() > 0;
        HANDLE h = CreateFileA(buf, GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            Fail();
            DeleteFileA(buf);
            return false;
        }
        FILE_DISPOSITION_INFO gone{TRUE};
        staged.vanishes = SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone) != 0;
        staged.handle = reinterpret_cast<FileHandle>(h);
        staged.name = buf;
        return true;
    }

    bool CommitStaged(StagedFile& staged) override {
        HANDLE h = H(staged.handle);
        bool ok = FlushFileBuffers(h) || Fail() > 0;
        FILE_DISPOSITION_INFO keep{FALSE};
        if (ok && staged.vanishes) ok = SetFileInformationByHandle(h, FileDispositionInfo, &keep, sizeof keep) || Fail() > 0;
        if (ok && RenameByHandle(h, staged.target)) {
            CloseHandle(h);
            staged.handle = kInvalidFile;
            staged.name.clear();
            return true;
        }
        if (ok) {
            // Systems without renames through a handle: the same rename by name, within one folder.
            CloseHandle(h);
            staged.handle = kInvalidFile;
            staged.vanishes = false;
            if (MoveFileExA(staged.name.c_str(), staged.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                staged.name.clear();
                return true;
            }
            Fail();
        }
        // Still marked for deletion when the flush failed; otherwise removed by name.
        const int error = lastError_;
        DiscardStaged(staged);
        lastError_ = error;
        return false;
    }

    int64_t FreeSpace(const std::string& path) override {
        ULARGE_INTEGER avail, total, free;
        if (!GetDiskFreeSpaceExA(path.empty() ? nullptr : path.c_str(), &avail, &total, &free)) return -1;
        return static_cast<int64_t>(avail.QuadPart);
    }

    int LastError() override { return lastError_; }

private:
    int Fail() {
        lastError_ = static_cast<int>(GetLastError());
        return -1;
    }

    bool RenameByHandle(HANDLE h, const std::string& target) {
        const int n = MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, nullptr, 0);
        if (n <= 0) return false;
        std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + static_cast<size_t>(n) * sizeof(WCHAR));
        auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
        info->ReplaceIfExists = TRUE;
        info->RootDirectory = nullptr;
        info->FileNameLength = static_cast<DWORD>((n - 1) * sizeof(WCHAR));
        MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, info->FileName, n);
        return SetFileInformationByHandle(h, FileRenameInfo, info, static_cast<DWORD>(buffer.size())) != 0;
    }

    int lastError_ = 0;
};

class Win32Cp : public CodePage {
public:
    std::string OemToAnsi(const std::string& text) override {
        std::string out = text;
        if (!out.empty()) OemToCharBuffA(text.data(), out.data(), static_cast<DWORD>(text.size()));
        return out;
    }
    std::string AnsiToOem(const std::string& text) override {
        std::string out = text;
        if (!out.empty()) CharToOemBuffA(text.data(), out.data(), static_cast<DWORD>(text.size()));
        return out;
    }
    int AnsiCodePage() override { return static_cast<int>(GetACP()); }
    int OemCodePage() override { return static_cast<int>(GetOEMCP()); }
    std::string Utf8ToAnsi(const std::string& text) override {
        // Decoded here rather than by the system, so malformed input gives the same "_" everywhere;
        // a character outside the basic plane has no ANSI form either.
        std::wstring wide;
        for (char32_t c : DecodeUtf8(text)) wide.push_back(c > 0xFFFF ? wchar_t(0xFFFD) : static_cast<wchar_t>(c));
        if (wide.empty()) return {};
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                          nullptr, 0, "_", nullptr);
        std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
        if (n > 0)
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                                "_", nullptr);
        return out;
    }
};

SystemTime FromSt(const SYSTEMTIME& st) {
    SystemTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

class Win32Clock : public Clock {
public:
    uint64_t TickCount() override { return GetTickCount64(); }
    SystemTime LocalNow() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return FromSt(st);
    }
    SystemTime UtcNow() override {
        SYSTEMTIME st;
        GetSystemTime(&st);
        return FromSt(st);
    }
    int BiasMinutes(int64_t utcFileTime) override {
        const FILETIME ft = ToFt(utcFileTime);
        SYSTEMTIME utc, local;
        if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
            TIME_ZONE_INFORMATION tz;
            GetTimeZoneInformation(&tz);
            return static_cast<int>(tz.Bias);
        }
        FILETIME lft;
        SystemTimeToFileTime(&local, &lft);
        return static_cast<int>((utcFileTime - FromFt(lft)) / 600000000LL);
    }
    void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

class Win32Host : public Host {
public:
    void PumpMessages() override {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override {
        return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
    }
    std::string Title() override { return title_; }
    void SetTitle(const std::string& title) override { title_ = title; }
    std::string CommandLine() override { return GetCommandLineA(); }
    std::string ExeName() override {
        char buf[MAX_PATH * 4];
        const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
        return std::string(buf, n < sizeof buf ? n : 0);
    }

private:
    std::string title_;
};

// ---------------------------------------------------------------------------------------------

class Win32Reg : public RegistryBackend {
public:
    bool KeyExists(RegRoot root, const std::string& path) override {
        HKEY k = Open(root, path, KEY_READ);
        if (!k) return false;
        RegCloseKey(k);
        return true;
    }

    bool CreateKey(RegRoot root, const std::string& path) override {
        HKEY k = nullptr;
        if (RegCreateKeyExA(Root(root), path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
            return false;
        RegCloseKey(k);
        return true;
    }

    bool DeleteKey(RegRoot root, const std::string& path) override {
        return !path.empty() && RegDeleteKeyA(Root(root), path.c_str()) == ERROR_SUCCESS;
    }

    bool QueryValue(RegRoot root, const std::string& path, const std::string& name, uint32_t& type,
                    std::string& data) override {
        HKEY k = Open(root, path, KEY_READ);
        if (!k) return false;
        DWORD t = 0, size = 0;
        LONG r = RegQueryValueExA(k, name.c_str(), nullptr, &t, nullptr, &size);
        if (r == ERROR_SUCCESS) {
            data.assign(size, '\0');
            r = RegQueryValueExA(k, name.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(data.data()), &size);
            data.resize(size);
        }
        RegCloseKey(k);
        if (r != ERROR_SUCCESS) return false;
        type = t;
        // Strings are stored with their terminating zero; the seam's strings have none.
        if ((t == REG_SZ || t == REG_EXPAND_SZ) && !data.empty() && data.back() == '\0') data.pop_back();
        return true;
    }

    bool SetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                  const std::string& data) override {
        HKEY k = Open(root, path, KEY_WRITE);
        if (!k) return false;
        std::string bytes = data;
        if (type == REG_SZ || type == REG_EXPAND_SZ) bytes += '\0';
        const LONG r = RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size()));
        RegCloseKey(k);
        return r == ERROR_SUCCESS;
    }

    bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) override {
        HKEY k = Open(root, path, KEY_WRITE);
        if (!k) return false;
        const LONG r = RegDeleteValueA(k, name.c_str());
        RegCloseKey(k);
        return r == ERROR_SUCCESS;
    }

    bool EnumKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) override {
        HKEY k = Open(root, path, KEY_READ);
        if (!k) return false;
        char buf[512];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof buf;
            if (RegEnumKeyExA(k, i, buf, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.emplace_back(buf, len);
        }
        RegCloseKey(k);
        return true;
    }

    bool EnumValues(RegRoot root, const std::string& path, std::vector<std::string>& names) override {
        HKEY k = Open(root, path, KEY_READ);
        if (!k) return false;
        char buf[16384];
        for (DWORD i = 0;; ++i) {
            DWORD len = sizeof buf;
            if (RegEnumValueA(k, i, buf, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            names.emplace_back(buf, len);
        }
        RegCloseKey(k);
        return true;
    }

    bool KeyInfo(RegRoot root, const std::string& path, RegKeyInfo& info) override {
        HKEY k = Open(root, path, KEY_READ);
        if (!k) return false;
        DWORD subKeys = 0, maxSubKey = 0, values = 0, maxValueName = 0, maxData = 0;
        FILETIME write{};
        const LONG r = RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values,
                                        &maxValueName, &maxData, nullptr, &write);
        RegCloseKey(k);
        if (r != ERROR_SUCCESS) return false;
        info.numSubKeys = static_cast<int>(subKeys);
        info.maxSubKeyLen = static_cast<int>(maxSubKey);
        info.numValues = static_cast<int>(values);
        info.maxValueLen = static_cast<int>(maxValueName);
        info.maxDataLen = static_cast<int>(maxData);
        info.lastWriteTime = FromFt(write);
        return true;
    }

private:
    static HKEY Root(RegRoot root) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root))); }

    static HKEY Open(RegRoot root, const std::string& path, REGSAM access) {
        HKEY k = nullptr;
        if (RegOpenKeyExA(Root(root), path.c_str(), 0, access, &k) != ERROR_SUCCESS) return nullptr;
        return k;
    }
};

// ---------------------------------------------------------------------------------------------

class Win32Resources : public Resources {
public:
    bool FindRcData(const std::string& name, std::string& bytes) override {
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC res = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
        if (!res) return false;
        HGLOBAL loaded = LoadResource(module, res);
        const DWORD size = SizeofResource(module, res);
        const void* p = loaded ? LockResource(loaded) : nullptr;
        if (!p) return false;
        bytes.assign(static_cast<const char*>(p), size);
        return true;
    }

    bool FindString(int id, std::string& text) override {
        char buf[4100];
        const int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buf, sizeof buf);
        if (n <= 0) return false;
        text.assign(buf, static_cast<size_t>(n));
        return true;
    }
};

// ---------------------------------------------------------------------------------------------

std::string LocaleString(LCTYPE type, const char* fallback) {
    char buf[256];
    const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buf, sizeof buf);
    return n > 1 ? std::string(buf, static_cast<size_t>(n - 1)) : std::string(fallback);
}

// The system's picture letters to ours: M is the month (m), m and mm minutes (n, nn), H the 24-hour
// hour (h without AMPM), t and tt the AM/PM mark (AMPM), g the era (dropped).
std::string ConvertPicture(const std::string& picture) {
    std::string out;
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (c == '\'') {
            const size_t end = picture.find('\'', i + 1);
            const size_t stop = end == std::string::npos ? picture.size() : end + 1;
            out += '"' + picture.substr(i + 1, stop - i - 1 - (end == std::string::npos ? 0 : 1)) + '"';
            i = stop;
            continue;
        }
        switch (c) {
            case 'M': out += std::string(run, 'm'); break;
            case 'm': out += std::string(run > 2 ? 2 : run, 'n'); break;
            case 'H': out += std::string(run > 2 ? 2 : run, 'h'); break;
            case 't': out += "AMPM"; break;
            case 'g': break;
            default: out += std::string(run, c); break;
        }
        i += run;
    }
    return out;
}

class Win32LocaleImpl : public Locale {
public:
    LocaleInfo Info() override {
        LocaleInfo info;
        info.dateSeparator = LocaleString(LOCALE_SDATE, "/")[0];
        info.timeSeparator = LocaleString(LOCALE_STIME, ":")[0];
        info.decimalSeparator = LocaleString(LOCALE_SDECIMAL, ".")[0];
        info.thousandSeparator = LocaleString(LOCALE_STHOUSAND, ",")[0];
        info.shortDateFormat = ConvertPicture(LocaleString(LOCALE_SSHORTDATE, "M/d/yyyy"));
        info.longDateFormat = ConvertPicture(LocaleString(LOCALE_SLONGDATE, "dddd, MMMM d, yyyy"));
        info.longTimeFormat = ConvertPicture(LocaleString(LOCALE_STIMEFORMAT, "h:mm:ss tt"));
        // The short time is the long one without seconds.
        std::string shortTime = info.longTimeFormat;
        for (const char* sec : {":ss", ":s"}) {
            const size_t at = shortTime.find(sec);
            if (at != std::string::npos) {
                shortTime.erase(at, std::char_traits<char>::length(sec));
                break;
            }
        }
        info.shortTimeFormat = shortTime;
        info.timeAMString = LocaleString(LOCALE_S1159, "AM");
        info.timePMString = LocaleString(LOCALE_S2359, "PM");
        return info;
    }

    int CompareText(const std::string& a, const std::string& b) override {
        const int r = CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                                     b.data(), static_cast<int>(b.size()));
        return r == 0 ? ::fw::CompareText(a, b) : r - CSTR_EQUAL;
    }
};

// ---------------------------------------------------------------------------------------------

// Splits a list of zero-terminated names ending in an empty one.
std::vector<std::string> SplitNames(const char* buf, size_t size) {
    std::vector<std::string> names;
    size_t i = 0;
    while (i < size && buf[i]) {
        const size_t len = strnlen(buf + i, size - i);
        names.emplace_back(buf + i, len);
        i += len + 1;
    }
    return names;
}

class Win32Profiles : public ProfileStore {
public:
    bool ReadString(const std::string& file, const std::string& section, const std::string& key,
                    std::string& value) override {
        // A default no file holds tells a missing key from an empty value.
        static const char kMissing[] = "\x01\x02<missing>\x02\x01";
        std::vector<char> buf(4096);
        for (;;) {
            const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buf.data(),
                                                     static_cast<DWORD>(buf.size()), file.c_str());
            if (n + 1 < buf.size() || buf.size() >= (1u << 24)) {
                const std::string text(buf.data(), n);
                if (text == kMissing) return false;
                value = text;
                return true;
            }
            buf.resize(buf.size() * 4);
        }
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
    }

    bool ReadKeys(const std::string& file, const std::string& section, std::vector<std::string>& keys) override {
        return List(section.c_str(), file, keys);
    }

    bool ReadSections(const std::string& file, std::vector<std::string>& sections) override {
        return List(nullptr, file, sections);
    }

    bool EraseSection(const std::string& file, const std::string& section) override {
        return WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str()) != 0;
    }

    bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != 0;
    }

    void Flush(const std::string& file) override { WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()); }

private:
    static bool List(const char* section, const std::string& file, std::vector<std::string>& names) {
        std::vector<char> buf(16384);
        for (;;) {
            const DWORD n = GetPrivateProfileStringA(section, nullptr, "", buf.data(), static_cast<DWORD>(buf.size()),
                                                     file.c_str());
            if (n + 2 < buf.size() || buf.size() >= (1u << 24)) {
                names = SplitNames(buf.data(), n);
                return true;
            }
            buf.resize(buf.size() * 4);
        }
    }
};

}  // namespace

ProfileStore& Win32ProfileStore() {
    static Win32Profiles profiles;
    return profiles;
}

FileSystem& Win32FileSystem() {
    static Win32Fs fs;
    return fs;
}

CodePage& Win32CodePage() {
    static Win32Cp cp;
    return cp;
}

RegistryBackend& Win32Registry() {
    static Win32Reg reg;
    return reg;
}

Locale& Win32Locale() {
    static Win32LocaleImpl locale;
    return locale;
}

void InstallWin32Platform() {
    static Win32Clock clock;
    static Win32Host host;
    static Win32Resources resources;
    SetFileSystem(&Win32FileSystem());
    SetCodePage(&Win32CodePage());
    SetClock(&clock);
    SetHost(&host);
    SetRegistryBackend(&Win32Registry());
    SetResources(&resources);
    SetLocale(&Win32Locale());
    SetProfileStore(&Win32ProfileStore());
    InitFormatSettings();
}

}  // namespace fw
