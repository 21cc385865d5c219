// Runs the offset fix-up over arbitrary bytes taken as a self-extractor's tail: it must end, stay inside
// the buffer and, when it succeeds, leave every central header it reports in place.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sfx/builder/zip_offset_fixup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const uint32_t shift = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8;
    std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const size_t before = bytes.size();
    sfx::MemoryAccess mem(bytes);
    sfx::FixCentralDir(mem, shift, false);
    sfx::FixCentralDir(mem, shift, true);
    if (bytes.size() != before) __builtin_trap();
    return 0;
}
