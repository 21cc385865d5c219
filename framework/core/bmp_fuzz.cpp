// Fuzz target: the BMP reader on any bytes, as a file and as a packed DIB; whatever decodes must
// encode and decode again to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/core/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> in(data, size);
    fw::BmpImage image;
    for (int pass = 0; pass < 2; ++pass) {
        const bool ok = pass == 0 ? fw::DecodeBmp(in, image) : fw::DecodeDib(in, image);
        if (!ok) continue;
        if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) std::abort();
        if (static_cast<int64_t>(image.pixels.size()) > 4096) continue;  // keep each run quick
        const std::vector<uint8_t> again = fw::EncodeBmp(image, 32);
        fw::BmpImage back;
        if (!fw::DecodeBmp(again, back) || back.pixels != image.pixels) std::abort();
    }
    return 0;
}
