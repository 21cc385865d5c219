// Parses an icon or cursor directory and reads every image it names.
#include <cstddef>
#include <cstdint>

#include "installer/controls/icon_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> file(data, size);
    inst::IconDirectory dir;
    if (!inst::ParseIconDirectory(file, dir)) return 0;
    unsigned sum = 0;
    for (const inst::IconDirEntry& e : dir.entries)
        for (uint8_t b : file.subspan(e.offset, e.size)) sum += b;
    return sum == 0xFFFFFFFF ? 1 : 0;
}
