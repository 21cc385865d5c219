// Reads arbitrary bytes as a compressed frame, then frames the input itself and checks that it reads
// back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "widgets/kvxframe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        fw::TMemoryStream in;
        if (size) in.WriteBuffer(data, static_cast<int64_t>(size));
        in.SetPosition(0);
        fw::TMemoryStream out;
        try {
            kvx::KVXDecompressFromStream(in, out);
        } catch (const fw::Exception&) {
        }
    }
    fw::TMemoryStream source, framed, back;
    if (size) source.WriteBuffer(data, static_cast<int64_t>(size));
    source.SetPosition(0);
    kvx::KVXCompressToStream(source, framed, source.Size());
    framed.SetPosition(0);
    kvx::KVXDecompressFromStream(framed, back);
    if (back.Size() != static_cast<int64_t>(size) || (size && std::memcmp(back.Memory(), data, size) != 0)) std::abort();
    return 0;
}
