// Finds the main header of arbitrary bytes and walks the ARJ headers after it to the end.
#include <cstddef>
#include <cstdint>

#include "engine/formats/arj/arj_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    engine::SpanSource source({data, size});
    engine::arj::ArjHeader h;
    if (!engine::arj::FindMainHeader(source, 0, 25000, h))
        return 0;
    uint64_t pos = h.dataPos;
    while (engine::arj::ReadHeader(source, pos, h) == engine::arj::HeaderStep::Entry) {
        if (h.nextPos <= pos)
            __builtin_trap();
        pos = h.nextPos;
    }
    return 0;
}
