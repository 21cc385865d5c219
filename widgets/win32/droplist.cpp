#include "widgets/win32/droplist.h"

namespace kvx::win32 {

int KVXReadDrop(HDROP drop, const std::function<std::string(std::string)>& convert, fw::TStrings& list, POINT& point) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    if (count == 0 || count > 0x7FFFFFFF) return 0;
    DragQueryPoint(drop, &point);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length >= 255) continue;
        std::string name(length + 1, '\0');
        DragQueryFileA(drop, i, name.data(), length + 1);
        name.resize(length);
        list.Add(convert ? convert(std::move(name)) : name);
    }
    return static_cast<int>(count);
}

}  // namespace kvx::win32
