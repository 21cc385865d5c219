// The native Resources seam: string-table entries registered by code and RCDATA files in a folder.
#include <map>
#include <mutex>

#include "framework/core/platform.h"

namespace fw {

namespace {

class TableResourcesImpl : public Resources {
public:
    bool FindRcData(const std::string& name, std::string& bytes) override {
        std::string folder;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            folder = folder_;
        }
        if (folder.empty()) return false;
        if (folder.back() != '/' && folder.back() != '\\') folder += '/';
        int error = 0;
        FileSystem& fs = Fs();
        const FileHandle h = fs.Open(folder + name, FileAccess::Read, FileShare::DenyWrite, FileCreate::OpenExisting,
                                     &error);
        if (h == kInvalidFile) return false;
        bytes.clear();
        char buf[65536];
        int64_t n;
        while ((n = fs.Read(h, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
        fs.Close(h);
        return n == 0;
    }

    bool FindString(int id, std::string& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = strings_.find(id);
        if (it == strings_.end()) return false;
        text = it->second;
        return true;
    }

    std::mutex mutex_;
    std::map<int, std::string> strings_;
    std::string folder_;
};

TableResourcesImpl& Table() {
    static TableResourcesImpl table;
    return table;
}

}  // namespace

Resources& TableResources() { return Table(); }

void RegisterString(int id, const std::string& text) {
    std::lock_guard<std::mutex> lock(Table().mutex_);
    Table().strings_[id] = text;
}

void SetRcDataFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(Table().mutex_);
    Table().folder_ = folder;
}

}  // namespace fw
