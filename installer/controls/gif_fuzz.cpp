// Reads a GIF in both modes, decodes every frame into its bitmap file, and writes the file back out.
#include <cstddef>
#include <cstdint>

#include "framework/core/exceptions.h"
#include "installer/controls/gif_stream.h"

namespace {

// Frames may each be up to 16M pixels: a budget per input keeps a run's memory and time bounded
// (the decoder takes the same path for a small frame as for a huge one).
constexpr int64_t kPixelBudget = int64_t{1} << 20;

void Exercise(std::span<const uint8_t> data, bool tolerant) {
    inst::GifFile file;
    try {
        file = inst::ReadGif(data, tolerant);
    } catch (const fw::Exception&) {
        return;
    }
    int64_t budget = kPixelBudget;
    for (const inst::GifFrame& frame : file.frames) {
        budget -= static_cast<int64_t>(frame.data->width) * frame.data->height;
        if (budget < 0) break;
        try {
            const inst::GifDecodedFrame decoded = inst::DecodeGifFrame(frame, tolerant);
            inst::GifFrameBitmapFile(frame, decoded);
        } catch (const fw::Exception&) {
        }
    }
    try {
        inst::UpdateExtensions(file);
        inst::ReadGif(inst::WriteGif(file), true);
    } catch (const fw::Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> input(data, size);
    Exercise(input, true);
    Exercise(input, false);
    return 0;
}
