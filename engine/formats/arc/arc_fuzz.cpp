// Feeds arbitrary bytes to every ARC decoder, and tests them as an archive through TUnARC's walk.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/formats/arc/arc_component.h"
#include "engine/formats/arc/arc_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int method = 1; method <= 9; ++method) {
        size_t pos = 0;
        engine::ByteInput in(
            [&](uint8_t* buf, size_t n) {
                const size_t k = std::min(n, size - pos);
                if (k)
                    std::memcpy(buf, data + pos, k);
                pos += k;
                return k;
            },
            size, 512);
        uint64_t total = 0;
        engine::ByteOutput out([&](const uint8_t*, size_t n) {
            total += n;
            return total < (64u << 20);
        });
        engine::arc::Decode(method, in, out);
        out.Flush();
    }

    static bool registered = false;
    if (!registered) {
        engine::RegisterUnArcClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_arc_fuzz_" + std::to_string(::getpid()) + ".arc";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnARC* unarc = fw::Make<engine::TUnARC>(owner);
    unarc->SetArchiveFile(path);
    unarc->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
