// Reads arbitrary text as a stored placement line: a line that is taken writes back the same record, and
// applying it leaves a window whose left and top edges are on the screen.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "widgets/formplacement.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using enum kvx::TKVXFormIniSaveOption;
    const std::string text(reinterpret_cast<const char*>(data), size);
    kvx::TKVXPlacementRecord record;
    if (!kvx::KVXParsePlacement(text, record)) return 0;
    kvx::TKVXPlacementRecord again;
    if (!kvx::KVXParsePlacement(kvx::KVXPlacementText(record), again) || again.flags != record.flags ||
        again.showCmd != record.showCmd || again.normal != record.normal)
        std::abort();
    // Coordinates far beyond any screen may overflow the fit; stored lines come from real windows.
    const auto sane = [](int v) { return v > -100000 && v < 100000; };
    const fw::TRect& r = record.normal;
    if (!sane(r.Left) || !sane(r.Top) || !sane(r.Right) || !sane(r.Bottom)) return 0;
    const fw::TRect screen{0, 0, 1024, 768};
    for (const kvx::TKVXFormIniSaveOptions& saved :
         {kvx::TKVXFormIniSaveOptions{soPos, soSize}, kvx::TKVXFormIniSaveOptions{soPos},
          kvx::TKVXFormIniSaveOptions{soSize, soState}}) {
        kvx::TKVXPlacementRecord placement{0, 1, {50, 40, 350, 240}};
        kvx::KVXApplyPlacement(text, {saved, false, {50, 40, 350, 240}, screen}, placement);
        if (placement.normal.Left < screen.Left || placement.normal.Top < screen.Top || placement.showCmd != 1)
            std::abort();
    }
    return 0;
}
