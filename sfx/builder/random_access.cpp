#include "sfx/builder/random_access.h"

#include <cstring>

namespace sfx {

bool MemoryAccess::ReadAt(uint64_t pos, void* buf, size_t n) {
    if (pos > bytes_.size() || n > bytes_.size() - pos) return false;
    if (n) std::memcpy(buf, bytes_.data() + pos, n);
    return true;
}

bool MemoryAccess::WriteAt(uint64_t pos, const void* buf, size_t n) {
    if (pos > bytes_.size() || n > bytes_.size() - pos) return false;
    if (n) std::memcpy(bytes_.data() + pos, buf, n);
    return true;
}

FileAccess::FileAccess(const std::string& path) {
    f_.open(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!f_) return;
    f_.seekg(0, std::ios::end);
    const std::streamoff end = f_.tellg();
    if (end < 0) return;
    size_ = static_cast<uint64_t>(end);
    ok_ = true;
}

bool FileAccess::ReadAt(uint64_t pos, void* buf, size_t n) {
    if (pos > size_ || n > size_ - pos) return false;
    f_.clear();
    f_.seekg(static_cast<std::streamoff>(pos));
    return static_cast<bool>(f_.read(static_cast<char*>(buf), static_cast<std::streamsize>(n)));
}

bool FileAccess::WriteAt(uint64_t pos, const void* buf, size_t n) {
    if (pos > size_ || n > size_ - pos) return false;
    f_.clear();
    f_.seekp(static_cast<std::streamoff>(pos));
    return f_.write(static_cast<const char*>(buf), static_cast<std::streamsize>(n)) && f_.flush();
}

}  // namespace sfx
