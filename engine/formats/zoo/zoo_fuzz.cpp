// Feeds arbitrary bytes to ZOO's LZW decoder, and tests them as an archive through TUnZOO.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/formats/zoo/zoo_component.h"
#include "engine/formats/zoo/zoo_lzw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t pos = 0;
    engine::ByteInput in(
        [&](uint8_t* buf, size_t n) {
            const size_t k = std::min(n, size - pos);
            if (k)
                std::memcpy(buf, data + pos, k);
            pos += k;
            return k;
        },
        size, 4096);
    uint64_t total = 0;
    engine::ByteOutput out([&](const uint8_t*, size_t n) {
        total += n;
        return total < (64u << 20);
    });
    engine::zoo::LzwDecode(in, out);

    static bool registered = false;
    if (!registered) {
        engine::RegisterUnZooClasses();
        registered = true;
    }
    const std::string path = "/tmp/mx_zoo_fuzz_" + std::to_string(::getpid()) + ".zoo";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TUnZOO* unzoo = fw::Make<engine::TUnZOO>(owner);
    unzoo->SetArchiveFile(path);
    unzoo->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
