// Fuzz target "names": the output-name rule, the wildcard matcher and the volume-name routines on
// arbitrary stored names. Input: one byte of flags, then the name, "\n", the mask.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/core/output_name.h"
#include "engine/core/volume_names.h"
#include "engine/core/wildcard.h"

using namespace engine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Stored names are at most 64 KB; the matcher's cost grows with the square of the lengths, so
    // very long inputs add nothing but time.
    if (size < 1 || size > 2048)
        return 0;
    const uint8_t flags = data[0];
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t cut = rest.find('\n');
    const std::string name = rest.substr(0, cut);
    const std::string mask = cut == std::string::npos ? std::string("*.*") : rest.substr(cut + 1);

    const std::string dir = "D:\\out\\";
    if (auto out = BuildOutputName(name, dir, flags & 1)) {
        // Whatever is accepted lies below the extract folder and climbs nowhere.
        if (out->compare(0, dir.size(), dir) != 0)
            std::abort();
        const std::string tail = out->substr(dir.size());
        size_t start = 0;
        for (size_t i = 0; i <= tail.size(); ++i) {
            if (i == tail.size() || tail[i] == '\\') {
                const std::string part = tail.substr(start, i - start);
                if (part.empty() || part.find_first_not_of(". ") == std::string::npos ||
                    part.find(':') != std::string::npos || IsDeviceName(part))
                    std::abort();
                start = i + 1;
            }
        }
    }
    (void)WildcardMatch(name, mask, flags & 2);

    VolumeNaming v;
    v.ParseVolumeExt(name);
    for (int i = 0; i < 3; ++i) {
        const std::string next = v.NextVolumePath(name);
        if (!name.empty() && v.VolumeNumber >= 0 && next.empty())
            std::abort();
    }
    (void)v.VolumeExt(int(flags) * 5);
    return 0;
}
