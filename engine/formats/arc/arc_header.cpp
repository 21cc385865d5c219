#include "engine/formats/arc/arc_header.h"

#include <array>

#include "engine/formats/common/le_bytes.h"

namespace engine::arc {

namespace {

// Bounds the folder nesting a hostile archive can build.
constexpr int kMaxDepth = 64;

void DropLastFolder(std::string& folder)
{
    if (folder.empty())
        return;
    folder.pop_back();
    const size_t cut = folder.find_last_of('\\');
    folder.erase(cut == std::string::npos ? 0 : cut + 1);
}

}  // namespace

bool HeaderWalker::Next(Header& h)
{
    std::array<uint8_t, kHeaderSize> raw{};
    for (;;) {
        if (pos_ + 2 > source_.Size() || !source_.ReadExact(pos_, std::span(raw.data(), 2)) || raw[0] != kMarker)
            return false;
        if (raw[1] != kMethodFolderEnd)
            break;
        // An end-of-folder record is the two bytes alone.
        DropLastFolder(folder_);
        if (depth_ > 0)
            --depth_;
        pos_ += 2;
    }
    if (raw[1] == 0 || pos_ + kHeaderSize >= source_.Size() || !source_.ReadExact(pos_, raw))
        return false;
    h = Header{};
    h.method = raw[1];
    // Method 1 records are the old short form without the unpacked size.
    const int size = h.method == 1 ? kHeaderSize - 4 : kHeaderSize;
    h.headerPos = pos_;
    h.dataPos = pos_ + uint64_t(size);
    size_t len = 0;
    while (len < 13 && raw[2 + len] != 0)
        ++len;
    h.name.assign(reinterpret_cast<const char*>(raw.data() + 2), len);
    h.packedSize = Le32(raw.data() + 15);
    h.dosStamp = Le32(raw.data() + 19);
    h.crc = Le16(raw.data() + 23);
    h.unpackedSize = h.method == 1 ? h.packedSize : Le32(raw.data() + 25);
    if (h.IsFolder()) {
        // The folder's records follow directly.
        h.fullName = folder_ + h.name;
        if (depth_ < kMaxDepth) {
            folder_ += h.name + "\\";
            ++depth_;
        }
        h.packedSize = h.unpackedSize = 0;
        pos_ = h.dataPos;
        return true;
    }
    h.fullName = folder_ + h.name;
    pos_ = h.dataPos + h.packedSize;
    return true;
}

}  // namespace engine::arc
