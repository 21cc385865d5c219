// Reads an animated cursor and touches every step's icon image.
#include <cstddef>
#include <cstdint>

#include "framework/core/exceptions.h"
#include "installer/controls/ani_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const inst::AniFile file = inst::ReadAni(std::span<const uint8_t>(data, size));
        size_t bytes = 0;
        for (const inst::AniFrame& f : file.frames) bytes += file.icons.at(static_cast<size_t>(f.icon)).file.size();
        if (bytes == 0) __builtin_trap();  // every kept step has an icon image
    } catch (const fw::Exception&) {
    }
    return 0;
}
