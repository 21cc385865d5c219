// Lists arbitrary bytes as each of the CAB, GZIP, RAR, TAR and UUE types: every header walk of these
// formats over the same input.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/list_walks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterListerClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_list_walks_fuzz_" + std::to_string(::getpid()) + ".rar";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TKrenlo* lister = fw::Make<engine::TKrenlo>(owner);
    int seen = 0;
    lister->OnRead.Bind(&seen, [](void* ctx, fw::TObject*, int64_t, int) {
        if (++*static_cast<int*>(ctx) > 1000000)
            __builtin_trap();  // a walk that does not end
    });
    lister->SetArchiveFile(path);
    lister->SetShowBlankDirs(size % 2 == 0);
    for (auto walk : {engine::ListCab, engine::ListGzip, engine::ListRar, engine::ListTar, engine::ListUue}) {
        engine::SpanSource source(std::span(data, size));
        lister->ArchiveSize = int64_t(size);
        try {
            walk(*lister, source);
        } catch (...) {
            // fatal reports leave as exceptions, as in a run
        }
    }
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
