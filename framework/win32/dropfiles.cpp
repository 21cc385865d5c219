#include "framework/win32/dropfiles.h"

namespace fw {

std::vector<std::string> DroppedFileNames(HDROP drop) {
    std::vector<std::string> names;
    if (!drop) return names;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        // The length excludes the terminating NUL, which the buffer must hold too.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string name(length + 1, '\0');
        const UINT copied = DragQueryFileA(drop, i, name.data(), length + 1);
        name.resize(copied <= length ? copied : length);
        names.push_back(std::move(name));
    }
    return names;
}

TDropFiles::TDropFiles(HDROP drop) : drop_(drop), names_(DroppedFileNames(drop)) {
    if (drop_) inClient_ = DragQueryPoint(drop_, &point_) != FALSE;
}

TDropFiles::~TDropFiles() { Finish(); }

HDROP TDropFiles::Release() {
    HDROP drop = drop_;
    drop_ = nullptr;
    return drop;
}

void TDropFiles::Finish() {
    if (drop_) DragFinish(drop_);
    drop_ = nullptr;
}

}  // namespace fw
