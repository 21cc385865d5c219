// Detects the type of arbitrary bytes under each extension rule, and reads their string table.
#include <cstddef>
#include <cstdint>

#include "engine/detect/arc_detect.h"
#include "engine/detect/pe_string_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine::SpanSource source({data, size});
    for (const char* name : {"a.zip", "a.uue", "a.tar", "a"}) {
        for (const uint32_t commentBuf : {0u, 2000u, 70000u}) {
            const engine::DetectResult r = engine::DetectArcType(source, name, commentBuf);
            if (r.arcStartPos < 0) __builtin_trap();
        }
    }
    const engine::PeStringTable strings(source);
    for (uint32_t id = 0; id < 40; ++id) (void)strings.LoadAnsi(id, 6);
    return 0;
}
