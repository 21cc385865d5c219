// Walks arbitrary bytes as LHA headers from the archive start to the end: every header level and
// extended-header chain, never backwards.
#include <cstddef>
#include <cstdint>

#include "engine/formats/lzh/lha_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    engine::SpanSource source({data, size});
    uint64_t pos = engine::lha::FirstHeaderPos(source, 0);
    engine::lha::LhaEntry e;
    int steps = 0;
    while (engine::lha::ReadHeader(source, pos, e) == engine::lha::HeaderStep::Entry) {
        if (e.nextPos <= pos || e.dataPos > e.nextPos || e.name.size() > 70000)
            __builtin_trap();
        pos = e.nextPos;
        if (++steps > 100000)
            __builtin_trap();
    }
    return 0;
}
