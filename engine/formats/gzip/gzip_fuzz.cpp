// Reads arbitrary bytes as a gzip header and tests them as a file through TUnGZIP.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/gzip/gzip_component.h"
#include "engine/formats/gzip/gzip_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    engine::SpanSource source(std::span(data, size));
    engine::gz::Header h;
    if (engine::gz::ReadHeader(source, 0, h) && h.dataPos > size)
        __builtin_trap();

    static bool registered = false;
    if (!registered) {
        engine::RegisterUnGzipClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_gzip_fuzz_" + std::to_string(::getpid()) + ".gz";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnGZIP* gz = fw::Make<engine::TUnGZIP>(owner);
    gz->SetArchiveFile(path);
    gz->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
