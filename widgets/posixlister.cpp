#include "widgets/posixlister.h"

#if !defined(_WIN32)

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

namespace kvx {

namespace {

fw::TDateTime LocalDateTime(time_t t) {
    struct tm local {};
    fw::TDateTime date = 0, time = 0;
    if (!localtime_r(&t, &local) || !fw::TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date) ||
        !fw::TryEncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0, time))
        return 0;
    return date + time;
}

class FdReader : public TKVXFileReader {
public:
    explicit FdReader(int fd) : fd_(fd) {}
    ~FdReader() override { close(fd_); }
    int64_t Read(char* buffer, size_t size) override { return ::read(fd_, buffer, size); }

private:
    int fd_;
};

}  // namespace

void TKVXPosixLister::List(const std::string& folder, const std::string& mask,
                           const std::function<bool(const TKVXFileEntry&)>& visit) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* d = readdir(dir)) {
        const std::string name = d->d_name;
        if (!KVXMatchMask(name, mask)) continue;
        struct stat st {};
        if (stat((folder + name).c_str(), &st) != 0) continue;
        TKVXFileEntry e;
        e.Name = name;
        const bool isDir = S_ISDIR(st.st_mode);
        e.Attr = isDir ? kFaDirectory : kFaArchive;
        if (name[0] == '.' && name != "." && name != "..") e.Attr |= kFaHidden;
        if (!isDir && !(st.st_mode & S_IWUSR)) e.Attr |= kFaReadOnly;
        e.Size = isDir ? 0 : static_cast<uint64_t>(st.st_size);
        e.Created = LocalDateTime(st.st_ctime);
        e.Accessed = LocalDateTime(st.st_atime);
        e.Modified = LocalDateTime(st.st_mtime);
        if (!visit(e)) break;
    }
    closedir(dir);
}

std::unique_ptr<TKVXFileReader> TKVXPosixLister::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return nullptr;
    return std::make_unique<FdReader>(fd);
}

}  // namespace kvx

#endif
