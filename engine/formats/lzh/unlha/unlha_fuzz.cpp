// Tests arbitrary bytes as an LHA archive: the header walk and every decoder in test mode, which
// writes nothing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/lzh/unlha/unlha_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterUnLhaClasses();
        registered = true;
    }
    static const std::string path = "/tmp/mx_unlha_fuzz_" + std::to_string(::getpid()) + ".lzh";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnLHA* unlha = fw::Make<engine::TUnLHA>(owner);
    unlha->SetArchiveFile(path);
    unlha->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
