#include "engine/formats/bh/bh_header.h"

#include "engine/formats/common/le_bytes.h"

namespace engine::bh {

std::array<uint8_t, kHeaderSize> Header::Encode() const
{
    std::array<uint8_t, kHeaderSize> h{};
    PutLe32(h.data(), kSignature);
    PutLe16(h.data() + 4, headerSize);
    h[6] = kHeaderSize;
    h[7] = versionMadeBy;
    h[8] = versionNeeded;
    h[9] = flags;
    h[10] = method;
    PutLe32(h.data() + 11, dosStamp);
    PutLe32(h.data() + 15, packedSize);
    PutLe32(h.data() + 19, unpackedSize);
    PutLe32(h.data() + 23, crc);
    PutLe16(h.data() + 27, attr);
    PutLe16(h.data() + 33, uint16_t(name.size()));
    return h;
}

Read ReadHeader(ReadAtSource& source, uint64_t pos, Header& h)
{
    std::array<uint8_t, kHeaderSize> r{};
    if (!source.ReadExact(pos, r) || Le32(r.data()) != kSignature)
        return Read::End;
    h = Header{};
    h.pos = pos;
    h.headerSize = Le16(r.data() + 4);
    if (h.headerSize == 0)
        return Read::SkipRecord;
    h.versionMadeBy = r[7];
    h.versionNeeded = r[8];
    h.flags = r[9];
    h.method = r[10];
    h.dosStamp = Le32(r.data() + 11);
    h.packedSize = Le32(r.data() + 15);
    h.unpackedSize = Le32(r.data() + 19);
    h.crc = Le32(r.data() + 23);
    h.attr = Le16(r.data() + 27);
    const uint16_t nameLength = Le16(r.data() + 33);
    if (nameLength > kMaxName || h.headerSize < kHeaderSize + nameLength)
        return Read::Broken;
    h.name.assign(nameLength, '\0');
    if (!source.ReadExact(pos + kHeaderSize, std::span(reinterpret_cast<uint8_t*>(h.name.data()), nameLength)))
        return Read::Broken;
    return Read::Ok;
}

}  // namespace engine::bh
