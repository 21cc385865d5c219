// Volume naming of multi-volume sets (ARJ .ARJ/.A01, RAR .RAR/.R00, numbered .001).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

struct VolumeNaming {
    // The first character of the extension when it is not a digit; 255 when it is.
    uint8_t VolumeLetter = 255;
    // The number of the next volume to look for; -1 when no volume naming applies.
    int VolumeNumber = -1;

    // Reads the letter and the next number from Path's extension: .ARJ gives A and 1, .A01 gives A
    // and 2, .RAR gives R and 0, .R00 gives R and 1, .001 gives 255 and 2.
    void ParseVolumeExt(std::string_view path);
    // The extension (without dot) of volume N: "A01", "R10", "001", "123"; empty for N < 0.
    std::string VolumeExt(int n) const;
    // Path with its extension replaced by VolumeExt(VolumeNumber); VolumeNumber then grows by 1. Empty
    // when Path is empty or VolumeNumber < 0.
    std::string NextVolumePath(std::string_view path);
};

}  // namespace engine
