// Feeds arbitrary bytes to one ARC decoder (the first byte chooses it), and tests them as an archive
// through TUnARC's walk.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/formats/arc/arc_component.h"
#include "engine/formats/arc/arc_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0) {
        // The decoder sees at most 8 KB, enough to fill the LZW tables, and gives at most 16 KB.
        const int method = 1 + data[0] % 9;
        const size_t packed = std::min<size_t>(size - 1, 8192);
        size_t pos = 0;
        engine::ByteInput in(
            [&](uint8_t* buf, size_t n) {
                const size_t k = std::min(n, packed - pos);
                if (k)
                    std::memcpy(buf, data + 1 + pos, k);
                pos += k;
                return k;
            },
            packed, 512);
        uint64_t total = 0;
        engine::ByteOutput out([&](const uint8_t*, size_t n) {
            total += n;
            return total < (16u << 10);
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
