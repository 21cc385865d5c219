// The native seams: files through POSIX calls, the clock through clock_gettime and localtime_r, and a
// host without windows. Paths may use "\" separators; they become "/" here. The DOS attributes that
// POSIX has no bit for (hidden, system, archive) live in the extended attribute "user.DOSATTRIB" as
// "0x<hex>", the same place the compatibility layer keeps them; a name starting with "." is hidden.
#include "framework/core/platform.h"

#include "framework/core/exceptions.h"

#ifdef _WIN32

namespace fw {
FileSystem& PosixFileSystem() { throw Exception("The POSIX file system is not available on Windows"); }
}  // namespace fw

#else

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

namespace fw {

namespace {

constexpr const char* kDosAttrName = "user.DOSATTRIB";

std::string Native(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

int64_t ToFileTime(const struct timespec& ts) {
    return UnixToFileTime(ts.tv_sec) + ts.tv_nsec / 100;
}

struct timespec FromFileTime(int64_t fileTime) {
    int64_t rel = fileTime - kFileTimeUnixEpoch;
    int64_t sec = rel / 10000000, rem = rel % 10000000;
    if (rem < 0) {
        rem += 10000000;
        --sec;
    }
    struct timespec ts;
    ts.tv_sec = static_cast<time_t>(sec);
    ts.tv_nsec = static_cast<long>(rem * 100);
    return ts;
}

std::string LastName(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    const size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

bool ReadDosBits(const std::string& path, uint32_t& bits) {
    char buf[32];
    const ssize_t n = getxattr(path.c_str(), kDosAttrName, buf, sizeof buf - 1);
    if (n <= 0) return false;
    buf[n] = '\0';
    bits = static_cast<uint32_t>(std::strtoul(buf, nullptr, 16));
    return true;
}

// The permission bits for the read-only attribute: all write bits off, or the owner's on.
mode_t WithReadOnly(mode_t mode, uint32_t attr) {
    return (attr & faReadOnly) ? (mode & ~static_cast<mode_t>(0222)) : (mode | S_IWUSR);
}

// The extended attribute's text for the DOS bits that have no permission bit.
std::string DosBitsText(uint32_t attr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(attr & (faHidden | faSysFile | faArchive)));
    return buf;
}

class PosixFs : public FileSystem {
public:
    FileHandle Open(const std::string& path, FileAccess access, FileShare, FileCreate create, int* error) override {
        int flags = O_CLOEXEC;
        switch (access) {
            case FileAccess::Read: flags |= O_RDONLY; break;
            case FileAccess::Write: flags |= O_WRONLY; break;
            case FileAccess::ReadWrite: flags |= O_RDWR; break;
        }
        switch (create) {
            case FileCreate::OpenExisting: break;
            case FileCreate::CreateAlways: flags |= O_CREAT | O_TRUNC; break;
            case FileCreate::CreateNew: flags |= O_CREAT | O_EXCL; break;
            case FileCreate::OpenAlways: flags |= O_CREAT; break;
        }
        const std::string p = Native(path);
        const int fd = ::open(p.c_str(), flags, 0666);
        if (fd < 0) {
            SetError(FromErrno(errno, p), error);
            return kInvalidFile;
        }
        // A folder opens for reading here but not on Windows; for writing the open refuses it.
        struct stat st;
        if (access == FileAccess::Read && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            SetError(5, error);
            return kInvalidFile;
        }
        return fd;
    }

    // A new file is the common case: created exclusively in one request, and only when one is in
    // the way is it opened again to be cut.
    FileHandle CreateOutput(const std::string& path, FileShare, bool& existed, int* error) override {
        const std::string p = Native(path);
        int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        existed = fd < 0 && errno == EEXIST;
        if (existed) fd = ::open(p.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (fd < 0) {
            // With O_CREAT a missing name can only be a missing folder on the way.
            SetError(errno == ENOENT ? 3 : FromErrno(errno, p), error);
            return kInvalidFile;
        }
        return fd;
    }

    bool SetHandleAttributes(FileHandle h, const std::string&, uint32_t attr) override {
        const int fd = static_cast<int>(h);
        struct stat st;
        if (::fstat(fd, &st) != 0) return Fail(errno) > 0;
        const mode_t mode = WithReadOnly(st.st_mode & 07777, attr);
        if (mode != (st.st_mode & 07777) && ::fchmod(fd, mode) != 0) return Fail(errno) > 0;
        const std::string bits = DosBitsText(attr);
        if (::fsetxattr(fd, kDosAttrName, bits.data(), bits.size(), 0) != 0 && (attr & (faHidden | faSysFile)))
            return Fail(errno) > 0;
        return true;
    }

    void Close(FileHandle h) override {
        if (h >= 0) ::close(static_cast<int>(h));
    }

    int64_t Read(FileHandle h, void* buffer, int64_t count) override {
        int64_t done = 0;
        auto* out = static_cast<char*>(buffer);
        while (done < count) {
            const ssize_t n = ::read(static_cast<int>(h), out + done, static_cast<size_t>(count - done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(errno);
            }
            if (n == 0) break;
            done += n;
        }
        return done;
    }

    int64_t Write(FileHandle h, const void* buffer, int64_t count) override {
        int64_t done = 0;
        const auto* in = static_cast<const char*>(buffer);
        while (done < count) {
            const ssize_t n = ::write(static_cast<int>(h), in + done, static_cast<size_t>(count - done));
            if (n < 0) {
                if (errno == EINTR) continue;
                return Fail(errno);
            }
            done += n;
        }
        return done;
    }

    int64_t Seek(FileHandle h, int64_t offset, SeekOrigin origin) override {
        const int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
        const off_t r = ::lseek(static_cast<int>(h), static_cast<off_t>(offset), whence);
        return r < 0 ? Fail(errno) : static_cast<int64_t>(r);
    }

    bool SetSize(FileHandle h, int64_t size) override {
        return ::ftruncate(static_cast<int>(h), static_cast<off_t>(size)) == 0 || Fail(errno) > 0;
    }

    bool Flush(FileHandle h) override { return ::fsync(static_cast<int>(h)) == 0 || Fail(errno) > 0; }

    bool GetHandleTime(FileHandle h, int64_t& fileTime) override {
        struct stat st;
        if (::fstat(static_cast<int>(h), &st) != 0) return Fail(errno) > 0;
        fileTime = ToFileTime(st.st_mtim);
        return true;
    }

    bool SetHandleTime(FileHandle h, int64_t fileTime) override {
        struct timespec ts[2];
        ts[0].tv_sec = 0;
        ts[0].tv_nsec = UTIME_OMIT;
        ts[1] = FromFileTime(fileTime);
        return ::futimens(static_cast<int>(h), ts) == 0 || Fail(errno) > 0;
    }

    bool Stat(const std::string& path, FileEntry& entry) override {
        const std::string p = Native(path);
        struct stat st;
        if (::stat(p.c_str(), &st) != 0) return Fail(errno, p) > 0;
        entry.name = LastName(p);
        entry.attr = AttributesOf(p, st);
        entry.fileTime = ToFileTime(st.st_mtim);
        entry.dosTime = FileTimeToDosTime(entry.fileTime);
        entry.size = S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
        return true;
    }

    bool SetAttributes(const std::string& path, uint32_t attr) override {
        const std::string p = Native(path);
        struct stat st;
        if (::stat(p.c_str(), &st) != 0) return Fail(errno, p) > 0;
        if (::chmod(p.c_str(), WithReadOnly(st.st_mode & 07777, attr)) != 0) return Fail(errno) > 0;
        const std::string bits = DosBitsText(attr);
        if (::setxattr(p.c_str(), kDosAttrName, bits.data(), bits.size(), 0) != 0 && (attr & (faHidden | faSysFile)))
            return Fail(errno) > 0;
        return true;
    }

    bool SetFileTime(const std::string& path, int64_t fileTime) override {
        struct timespec ts[2];
        ts[0].tv_sec = 0;
        ts[0].tv_nsec = UTIME_OMIT;
        ts[1] = FromFileTime(fileTime);
        return ::utimensat(AT_FDCWD, Native(path).c_str(), ts, 0) == 0 || Fail(errno) > 0;
    }

    bool DeleteFile(const std::string& path) override {
        const std::string p = Native(path);
        struct stat st;
        if (::lstat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return Fail(EISDIR) > 0;
        return ::unlink(p.c_str()) == 0 || Fail(errno, p) > 0;
    }

    bool MoveFile(const std::string& from, const std::string& to, bool replace) override {
        const std::string f = Native(from), t = Native(to);
        struct stat st;
        if (!replace && ::lstat(t.c_str(), &st) == 0) return Fail(EEXIST) > 0;
        return ::rename(f.c_str(), t.c_str()) == 0 || Fail(errno, f) > 0;
    }

    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
        int err = 0;
        const FileHandle in = Open(from, FileAccess::Read, FileShare::DenyNone, FileCreate::OpenExisting, &err);
        if (in == kInvalidFile) return false;
        const FileHandle out = Open(to, FileAccess::Write, FileShare::Exclusive,
                                    failIfExists ? FileCreate::CreateNew : FileCreate::CreateAlways, &err);
        if (out == kInvalidFile) {
            Close(in);
            return false;
        }
        char buf[65536];
        bool ok = true;
        for (;;) {
            const int64_t n = Read(in, buf, sizeof buf);
            if (n < 0) ok = false;
            if (n <= 0) break;
            if (Write(out, buf, n) != n) {
                ok = false;
                break;
            }
        }
        int64_t ft = 0;
        if (ok && GetHandleTime(in, ft)) SetHandleTime(out, ft);
        Close(in);
        Close(out);
        if (!ok) ::unlink(Native(to).c_str());
        return ok;
    }

    bool CreateDirectory(const std::string& path) override {
        return ::mkdir(Native(path).c_str(), 0777) == 0 || Fail(errno, Native(path)) > 0;
    }

    bool RemoveDirectory(const std::string& path) override {
        return ::rmdir(Native(path).c_str()) == 0 || Fail(errno) > 0;
    }

    bool List(const std::string& folder, const std::string& mask, std::vector<FileEntry>& out) override {
        std::string dir = Native(folder);
        if (dir.empty()) dir = ".";
        DIR* d = ::opendir(dir.c_str());
        if (!d) return Fail(errno, dir) > 0;
        if (dir.back() != '/') dir += '/';
        while (struct dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (!MatchesMask(name, mask)) continue;
            FileEntry entry;
            if (!Stat(dir + name, entry)) continue;  // vanished or a dangling link
            entry.name = name;
            out.push_back(entry);
        }
        ::closedir(d);
        return true;
    }

    std::string GetCurrentDir() override {
        std::string buf(4096, '\0');
        if (!::getcwd(buf.data(), buf.size())) return std::string();
        buf.resize(std::char_traits<char>::length(buf.c_str()));
        return buf;
    }

    bool SetCurrentDir(const std::string& path) override {
        return ::chdir(Native(path).c_str()) == 0 || Fail(errno, Native(path)) > 0;
    }

    std::string FullPathName(const std::string& path) override {
        std::string p = Native(path);
        if (p.empty() || p[0] != '/') p = GetCurrentDir() + "/" + p;
        std::vector<std::string> parts;
        size_t i = 0;
        while (i <= p.size()) {
            size_t j = p.find('/', i);
            if (j == std::string::npos) j = p.size();
            const std::string part = p.substr(i, j - i);
            if (part == "..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            i = j + 1;
        }
        std::string out;
        for (const std::string& part : parts) out += "/" + part;
        if (out.empty() || (!p.empty() && p.back() == '/')) out += "/";
        return out;
    }

    std::string TempFolder() override {
        const char* env = std::getenv("TMPDIR");
        std::string dir = env && *env ? env : "/tmp";
        if (dir.back() != '/') dir += '/';
        return dir;
    }

    std::string TempFileName(const std::string& folder, const std::string& prefix) override {
        std::string dir = Native(folder);
        if (!dir.empty() && dir.back() != '/') dir += '/';
        static std::mt19937 rng(static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(std::time(nullptr)));
        for (int attempt = 0; attempt < 65536; ++attempt) {
            char name[16];
            std::snprintf(name, sizeof name, "%04X.tmp", static_cast<unsigned>(rng() & 0xFFFF));
            const std::string full = dir + prefix + name;
            const int fd = ::open(full.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                return full;
            }
            if (errno != EEXIST) {
                Fail(errno);
                return std::string();
            }
        }
        return std::string();
    }

    // The staged file has no name at all until it is committed (O_TMPFILE): a killed program leaves
    // nothing. File systems without such files get the named one of the default.
    bool CreateStaged(StagedFile& staged) override {
#ifdef O_TMPFILE
        const std::string dir = Native(StagedFolder(staged.target));
        const int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (fd >= 0) {
            staged.handle = fd;
            staged.name.clear();
            staged.vanishes = true;
            return true;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return Fail(errno, dir) > 0;
#endif
        return FileSystem::CreateStaged(staged);
    }

    // A nameless file gets a temporary name beside the target and is then renamed over it: the
    // rename is the one step that replaces the target.
    bool CommitStaged(StagedFile& staged) override {
        if (!staged.vanishes || !staged.name.empty()) return FileSystem::CommitStaged(staged);
        const int fd = static_cast<int>(staged.handle);
        staged.handle = kInvalidFile;
        const std::string target = Native(staged.target);
        const std::string dir = Native(StagedFolder(staged.target));
        bool ok = ::fsync(fd) == 0 || Fail(errno) > 0;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        static std::mt19937 rng(static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(std::time(nullptr)));
        std::string linked;
        for (int attempt = 0; ok && linked.empty() && attempt < 100; ++attempt) {
            char unique[16];
            std::snprintf(unique, sizeof unique, "%04X.tmp", static_cast<unsigned>(rng() & 0xFFFF));
            const std::string name = (dir.back() == '/' ? dir : dir + "/") + staged.prefix + unique;
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
                (errno != EEXIST && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0))
                linked = name;
            else if (errno != EEXIST)
                ok = Fail(errno, name) > 0;
        }
        ::close(fd);
        if (ok && !linked.empty() && ::rename(linked.c_str(), target.c_str()) == 0) {
            const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (d >= 0) {
                ::fsync(d);
                ::close(d);
            }
            return true;
        }
        if (ok && !linked.empty()) Fail(errno, target);
        if (!linked.empty()) ::unlink(linked.c_str());
        return false;
    }

    int64_t FreeSpace(const std::string& path) override {
        struct statvfs sv;
        if (::statvfs(Native(path).c_str(), &sv) != 0) return -1;
        return static_cast<int64_t>(sv.f_bavail) * static_cast<int64_t>(sv.f_frsize);
    }

    int LastError() override { return lastError_; }

private:
    static uint32_t AttributesOf(const std::string& path, const struct stat& st) {
        uint32_t attr = S_ISDIR(st.st_mode) ? faDirectory : faArchive;
        uint32_t bits = 0;
        if (ReadDosBits(path, bits)) attr = (attr & ~faArchive) | (bits & (faHidden | faSysFile | faArchive));
        if (!(st.st_mode & S_IWUSR)) attr |= faReadOnly;
        const std::string name = LastName(path);
        if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
        return attr;
    }

    int FromErrno(int e, const std::string& path = std::string()) {
        switch (e) {
            case ENOENT: {
                // A missing parent folder is "path not found", a missing leaf "file not found".
                const size_t slash = path.rfind('/');
                struct stat st;
                if (slash != std::string::npos && slash > 0 && ::stat(path.substr(0, slash).c_str(), &st) != 0)
                    return 3;
                return 2;
            }
            case ENOTDIR: return 3;
            case EACCES: case EPERM: case EROFS: case EISDIR: return 5;
            case EEXIST: return 80;
            case ENOTEMPTY: return 145;
            case ENOSPC: return 112;
            case EBUSY: return 32;
            default: return 31;
        }
    }

    void SetError(int code, int* error) {
        lastError_ = code;
        if (error) *error = code;
    }

    // Records the error and returns -1, so callers write "return ok || Fail(errno) > 0".
    int Fail(int e, const std::string& path = std::string()) {
        lastError_ = FromErrno(e, path);
        return -1;
    }

    int lastError_ = 0;
};

class PosixClockImpl : public Clock {
public:
    uint64_t TickCount() override {
        struct timespec ts;
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<uint64_t>(ts.tv_sec) * 1000 + static_cast<uint64_t>(ts.tv_nsec / 1000000);
    }

    SystemTime LocalNow() override { return Now(true); }
    SystemTime UtcNow() override { return Now(false); }

    int BiasMinutes(int64_t utcFileTime) override {
        const time_t t = static_cast<time_t>(FileTimeToUnix(utcFileTime));
        struct tm tm;
        if (!::localtime_r(&t, &tm)) return 0;
        return static_cast<int>(-tm.tm_gmtoff / 60);
    }

    void Sleep(uint32_t milliseconds) override {
        struct timespec ts;
        ts.tv_sec = milliseconds / 1000;
        ts.tv_nsec = static_cast<long>(milliseconds % 1000) * 1000000L;
        while (::nanosleep(&ts, &ts) != 0 && errno == EINTR) {
        }
    }

private:
    static SystemTime Now(bool local) {
        struct timespec ts;
        ::clock_gettime(CLOCK_REALTIME, &ts);
        struct tm tm;
        if (local)
            ::localtime_r(&ts.tv_sec, &tm);
        else
            ::gmtime_r(&ts.tv_sec, &tm);
        SystemTime s;
        s.year = tm.tm_year + 1900;
        s.month = tm.tm_mon + 1;
        s.day = tm.tm_mday;
        s.hour = tm.tm_hour;
        s.minute = tm.tm_min;
        s.second = tm.tm_sec;
        s.millisecond = static_cast<int>(ts.tv_nsec / 1000000);
        return s;
    }
};

// Without a desktop a message box is answered at once: with the scripted answer when one is set,
// otherwise with the first button (OK, Yes, Abort or Retry).
class NativeHostImpl : public Host {
public:
    void PumpMessages() override {}
    int MessageBox(const std::string&, const std::string&, uint32_t flags) override {
        if (answer_ != 0) return answer_;
        switch (flags & 0xF) {
            case 2: return 3;          // MB_ABORTRETRYIGNORE -> IDABORT
            case 3: case 4: return 6;  // MB_YESNOCANCEL, MB_YESNO -> IDYES
            case 5: return 4;          // MB_RETRYCANCEL -> IDRETRY
            default: return 1;         // IDOK
        }
    }
    std::string Title() override { return title_; }
    void SetTitle(const std::string& title) override { title_ = title; }

    // The arguments as the process got them, each quoted when it holds a blank.
    std::string CommandLine() override {
        std::string line;
        const int fd = ::open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
        if (fd < 0) return line;
        std::string raw;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0) raw.append(buf, static_cast<size_t>(n));
        ::close(fd);
        size_t i = 0;
        while (i < raw.size()) {
            const size_t end = raw.find('\0', i);
            const std::string arg = raw.substr(i, end == std::string::npos ? std::string::npos : end - i);
            if (!line.empty()) line += ' ';
            line += arg.find_first_of(" \t") == std::string::npos && !arg.empty() ? arg : "\"" + arg + "\"";
            if (end == std::string::npos) break;
            i = end + 1;
        }
        return line;
    }

    std::string ExeName() override {
        char buf[4096];
        const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
        return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }

    int answer_ = 0;

private:
    std::string title_;
};

NativeHostImpl& TheNativeHost() {
    static NativeHostImpl host;
    return host;
}

}  // namespace

FileSystem& PosixFileSystem() {
    static PosixFs fs;
    return fs;
}

Clock& PosixClock() {
    static PosixClockImpl clock;
    return clock;
}

Host& NativeHost() { return TheNativeHost(); }

void SetNativeMessageBoxAnswer(int id) { TheNativeHost().answer_ = id; }

}  // namespace fw

#endif
