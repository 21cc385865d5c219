// Decodes arbitrary bytes as a UU or XX encoded file in test mode (nothing is written), and feeds
// each line to the line decoder and the table guess directly.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/uue/uu_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterUUDecodeClasses();
        registered = true;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    engine::uu::DecodeTable uu, xx;
    uu.Build(engine::uu::kUUTable);
    xx.Build(engine::uu::kXXTable);
    std::vector<uint8_t> out;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        engine::uu::DecodeLine(uu, line, out);
        engine::uu::DecodeLine(xx, line, out);
        engine::uu::GuessTable(line);
        start = end + 1;
    }

    const std::string path = "/tmp/mx_uudecode_fuzz_" + std::to_string(::getpid()) + ".uue";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    auto* decoder = fw::Make<engine::TUUDecode>(owner);
    decoder->SetMaxHeaderLines(size % 2 ? 5 : 100);
    decoder->SetArchiveFile(path);
    decoder->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
