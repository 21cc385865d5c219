// Writes the option block of a self-extractor, and the configuration file that wraps the same block.
#pragma once

#include <cstdint>
#include <string>

#include "sfx/builder/sfx_settings.h"

namespace sfx {

struct OptionBytes {
    std::string bytes;          // what goes into the file
    uint16_t blockLength = 0;   // the size of the option block alone; the archive moves by it
};

// With blockOnly the option block alone (building); otherwise the configuration file's head and its two
// paths first (saving). Reconciles the run settings of `s` first, as the form does before writing.
OptionBytes WriteOptions(SfxSettings& s, bool blockOnly);

}  // namespace sfx
