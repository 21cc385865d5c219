// The extractor's archive walk over arbitrary bytes: a list pass, then an extract pass of everything
// listed. Every pass must end, and nothing may be written outside the extraction folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sfx/stub/core/memory_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sfx::MemoryFile file(std::string(reinterpret_cast<const char*>(data), size));
    sfx::MemoryHost host;
    host.passwordsToGive = {"secret", "wrong", "secret"};
    host.mode = size % 3 == 0 ? sfx::kModeConfirm : sfx::kModeOverwrite;
    sfx::WalkState state;
    std::strcpy(state.folder, "C:\\out");
    sfx::WalkArchive(host, file, 0, true, state);
    host.SelectAll();
    sfx::WalkArchive(host, file, 0, false, state);
    sfx::WalkArchive(host, file, 0, false, state);  // a second pass, with files now present
    for (const auto& [path, content] : host.files) {
        if (path.compare(0, 7, "C:\\out\\") != 0) __builtin_trap();
        if (!sfx::IsSafeEntryName(path.c_str() + 7)) __builtin_trap();
    }
    return 0;
}
