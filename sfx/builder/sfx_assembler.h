// Writes a self-extractor: the carried extractor, the option block and the ZIP archive, then moves the
// archive's offsets so that the result is still a valid ZIP archive.
#pragma once

#include <string>

#include "sfx/builder/sfx_settings.h"
#include "sfx/builder/stub_locator.h"

namespace sfx {

struct BuildResult {
    bool ok = false;
    std::string message;  // why it failed; empty on success
    bool openError = false;  // the message is the one for a file that could not be opened or created
};

// Copies and fix-up run in blocks of this size.
inline constexpr size_t kCopyBlock = 32768;

// `builderPath` is the file that carries the extractor at `stub`. The source archive is checked before
// the output is created: an output naming the source archive (or the builder) and archives the fix-up
// cannot handle (ZIP64, no end record) are refused with nothing written.
BuildResult BuildSelfExtractor(const std::string& builderPath, const StubLocation& stub,
                               const std::string& zipPath, const std::string& outputPath, SfxSettings& s);

}  // namespace sfx
