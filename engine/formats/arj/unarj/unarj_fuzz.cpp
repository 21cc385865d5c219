// Tests arbitrary bytes as an ARJ archive: the header walk and every decoder in test mode, which
// writes nothing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/arj/unarj/unarj_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterUnArjClasses();
        registered = true;
    }
    static const std::string path = "/tmp/mx_unarj_fuzz_" + std::to_string(::getpid()) + ".arj";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnARJ* unarj = fw::Make<engine::TUnARJ>(owner);
    unarj->OnGetPassword.Bind(nullptr, [](void*, fw::TObject*, const std::string&, std::string& password, bool& tryAgain) {
        password = "secret";
        tryAgain = true;
    });
    unarj->SetArchiveFile(path);
    unarj->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
