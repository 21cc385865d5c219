// Walks arbitrary bytes as TAR headers, and tests them as an archive through TUnTAR.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/tar/tar_component.h"
#include "engine/formats/tar/tar_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    engine::SpanSource source(std::span(data, size));
    engine::tar::HeaderWalker walker(source, 0);
    engine::tar::Entry e;
    uint64_t last = 0;
    while (walker.Next(e)) {
        if (walker.Position() <= last)
            __builtin_trap();  // every step must move forward
        last = walker.Position();
    }

    static bool registered = false;
    if (!registered) {
        engine::RegisterUnTarClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_tar_fuzz_" + std::to_string(::getpid()) + ".tar";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnTAR* untar = fw::Make<engine::TUnTAR>(owner);
    untar->SetArchiveFile(path);
    untar->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
