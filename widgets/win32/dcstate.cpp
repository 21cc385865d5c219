#include "widgets/win32/dcstate.h"

#include "widgets/kvxapplication.h"
#include "widgets/win32/sysinfo.h"

namespace kvx::win32 {

fw::TRect KVXClipOffsetRect(const fw::TRect& rect, int32_t clipOffset) {
    if (clipOffset == 0) return rect;
    const uint32_t v = static_cast<uint32_t>(clipOffset);
    return fw::OffsetRect(rect, static_cast<int>(v & 0xFFFF), static_cast<int>(v >> 16));
}

bool KVXPaletteWanted(uint16_t flags) {
    if (!(flags & kpfPalette)) return false;
    const bool automatic = KVXApplication && KVXApplication->Options.Contains(TKVXApplicationOption::aoAutoRealizePalette);
    return !(automatic && KVXColorDepth() < 9);
}

}  // namespace kvx::win32
