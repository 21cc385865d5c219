#include "engine/formats/gzip/unix_compress.h"

#include "engine/formats/entrystream/grouped_lzw.h"

namespace engine {

CompressResult UnixDecompress(ByteInput& in, ByteOutput& out)
{
    const int m0 = in.Get(), m1 = in.Get(), flags = in.Get();
    if (m0 < 0 || m1 < 0 || flags < 0)
        return CompressResult::Failed;
    if (flags & 0x60)
        return CompressResult::ReservedBits;
    const int maxBits = flags & 0x1F;
    if (maxBits > 16 || maxBits < 9)
        return CompressResult::BadWidth;
    switch (DecodeGroupedLzw(maxBits, (flags & 0x80) != 0, in, out, out)) {
    case LzwResult::Ok: return out.Flush() ? CompressResult::Ok : CompressResult::Failed;
    case LzwResult::BadFirstCode: return CompressResult::CorruptInput;
    default: out.Flush(); return CompressResult::Failed;
    }
}

}  // namespace engine
