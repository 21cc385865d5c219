// The extractor's view of its own executable file: positioned, block-wise reads only.
#pragma once

#include <cstdint>

namespace sfx {

class StubFile {
public:
    virtual ~StubFile() = default;
    // False when the position cannot be reached.
    virtual bool Seek(uint64_t pos) = 0;
    // Bytes read into buf; 0 at the end of the file or on a read error.
    virtual uint32_t Read(void* buf, uint32_t n) = 0;
};

// Reads exactly n bytes or fails.
inline bool ReadExact(StubFile& f, void* buf, uint32_t n) {
    uint8_t* p = static_cast<uint8_t*>(buf);
    while (n) {
        const uint32_t got = f.Read(p, n);
        if (got == 0) return false;
        p += got;
        n -= got;
    }
    return true;
}

}  // namespace sfx
