// Tests arbitrary bytes as a BH archive through TUnBH (walk, password checks, both methods), and
// lists them through the BH writer's header walk.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/bh/bh_extract.h"
#include "engine/formats/bh/bh_writer.h"
#include "framework/core/lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterUnBhClasses();
        engine::RegisterBhWriterClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_bh_fuzz_" + std::to_string(::getpid()) + ".bh";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnBH* unbh = fw::Make<engine::TUnBH>(owner);
    fw::TStringList passwords;
    passwords.Add("secret");
    unbh->SetPasswords(&passwords);
    unbh->SetArchiveFile(path);
    unbh->Test();
    engine::TBlakHole* bh = fw::Make<engine::TBlakHole>(owner);
    bh->OnRead.Bind(nullptr, [](void*, fw::TObject*, int64_t, int) {});
    bh->SetArchiveFile(path);
    bh->SetSwitch(engine::TSwitch::swRead);
    bh->Activate();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
