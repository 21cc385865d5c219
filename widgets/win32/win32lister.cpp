#include "widgets/win32/win32lister.h"

#include <algorithm>

#include "framework/win32/winapi.h"

namespace kvx::win32 {

namespace {

// A file time as a local date-time value; 0 when it cannot be converted.
fw::TDateTime LocalDateTime(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME st{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    fw::TDateTime date = 0, time = 0;
    if (!fw::TryEncodeDate(st.wYear, st.wMonth, st.wDay, date) ||
        !fw::TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time))
        return 0;
    return date + time;
}

class HandleReader : public TKVXFileReader {
public:
    explicit HandleReader(HANDLE h) : h_(h) {}
    ~HandleReader() override { CloseHandle(h_); }
    int64_t Read(char* buffer, size_t size) override {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(size, 1u << 30));
        if (!ReadFile(h_, buffer, want, &got, nullptr)) return -1;
        return got;
    }

private:
    HANDLE h_;
};

}  // namespace

void TKVXWin32Lister::List(const std::string& folder, const std::string& mask,
                           const std::function<bool(const TKVXFileEntry&)>& visit) {
    WIN32_FIND_DATAA fd{};
    HANDLE h = FindFirstFileA((folder + mask).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        TKVXFileEntry e;
        e.Name = fd.cFileName;
        e.Attr = fd.dwFileAttributes;
        e.Size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        e.Created = LocalDateTime(fd.ftCreationTime);
        e.Accessed = LocalDateTime(fd.ftLastAccessTime);
        e.Modified = LocalDateTime(fd.ftLastWriteTime);
        if (!visit(e)) break;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

std::unique_ptr<TKVXFileReader> TKVXWin32Lister::Open(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleReader>(h);
}

}  // namespace kvx::win32
