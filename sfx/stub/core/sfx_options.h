// The extractor's run-time options, read from the option block behind its own image.
#pragma once

#include <cstdint>

#include "sfx/stub/core/stub_file.h"

namespace sfx {

inline constexpr uint32_t kTextBufferSize = 261;

// The radio buttons of the main dialog's overwrite group.
inline constexpr int kIdOverwrite = 501;
inline constexpr int kIdDontOverwrite = 502;
inline constexpr int kIdConfirmOverwrite = 503;

struct SfxRunOptions {
    uint64_t archiveStart = 0;   // the first local header
    bool showRunBox = false;
    bool hideOverwrite = false;
    int overwriteChoice = 0;     // the radio button to tick: 501, 502, 503, or 0 without a block
    bool useAssociated = false;
    bool useTempFolder = false;
    bool sortList = false;
    bool hasCaption = false;
    bool hasRoot = false;
    bool hasProgram = false;
    bool hasParams = false;
    char caption[kTextBufferSize] = {};
    char rootDir[kTextBufferSize] = {};
    char program[kTextBufferSize] = {};
    char params[kTextBufferSize] = {};
};

// Asks the system for its temporary folder; returns the length written (0 on failure).
using TempPathFn = uint32_t (*)(char* buf, uint32_t capacity);

// Reads the block at SfxStubSize. Without the "QLV" signature the archive starts at SfxStubSize and
// every option keeps its initial value. With the temp-folder flag the root folder becomes the system's
// temporary folder. Returns false only when the block was cut short (the options read so far stay).
bool ReadSfxOptions(StubFile& file, SfxRunOptions& o, TempPathFn tempPath);

}  // namespace sfx
