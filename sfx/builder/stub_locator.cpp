#include "sfx/builder/stub_locator.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "sfx/common/sfx_layout.h"

namespace sfx {

namespace {

constexpr uint64_t kSearchBack = 47768;  // the window starts this far before the end of the file
constexpr uint32_t kWindow = 32768;

template <class ReadAt>
StubLocation Locate(uint64_t size, ReadAt readAt) {
    StubLocation loc;
    loc.fileSize = size;
    // A builder smaller than the search distance starts its window at its first byte.
    const uint64_t start = size > kSearchBack ? size - kSearchBack : 0;
    std::vector<uint8_t> buf(static_cast<size_t>(std::min<uint64_t>(kWindow, size - start)));
    const size_t c = readAt(start, buf.data(), buf.size());
    for (size_t h = 1; h + 4 <= c; ++h) {
        if (std::memcmp(buf.data() + h, kStubMagic, 4) == 0) {
            loc.stubSize = size - (start + h);
            break;
        }
    }
    if (loc.stubSize == 0) return loc;
    const uint64_t off = size - loc.stubSize;
    uint8_t again[4] = {};
    if (off > 0 && off < size && readAt(off, again, 4) == 4 && std::memcmp(again, kStubMagic, 4) == 0)
        loc.stubOffset = off;
    return loc;
}

}  // namespace

StubLocation FindStub(const std::string& builderPath) {
    std::ifstream f(builderPath, std::ios::binary);
    if (!f) return {};
    f.seekg(0, std::ios::end);
    const std::streamoff end = f.tellg();
    if (end <= 0) return {};
    return Locate(static_cast<uint64_t>(end), [&](uint64_t pos, uint8_t* buf, size_t n) -> size_t {
        f.clear();
        f.seekg(static_cast<std::streamoff>(pos));
        f.read(reinterpret_cast<char*>(buf), static_cast<std::streamsize>(n));
        return static_cast<size_t>(f.gcount());
    });
}

StubLocation FindStubInBytes(const std::string& bytes) {
    return Locate(bytes.size(), [&](uint64_t pos, uint8_t* buf, size_t n) -> size_t {
        if (pos >= bytes.size()) return 0;
        const size_t k = std::min<size_t>(n, bytes.size() - static_cast<size_t>(pos));
        std::memcpy(buf, bytes.data() + pos, k);
        return k;
    });
}

}  // namespace sfx
