#include "widgets/dibformat.h"

namespace kvx {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

}  // namespace

int KVXDIBBits(int code, int deviceBits) {
    switch (code) {
        case kDibMono: return 1;
        case kDib16: return 4;
        case kDib256: return 8;
        default: return deviceBits == 16 || deviceBits == 32 || deviceBits == 15 ? 24 : deviceBits;
    }
}

int KVXDIBHeaderSize(int bits) { return bits >= 24 ? 40 : 40 + 4 * (1 << bits); }

uint64_t KVXDIBImageSize(int width, int height, int bits) {
    if (width <= 0 || height <= 0) return 0;
    return ((static_cast<uint64_t>(width) * static_cast<uint64_t>(bits) + 31) / 32) * 4 * static_cast<uint64_t>(height);
}

std::array<uint8_t, 14> KVXBMPFileHeader(int headerSize, uint32_t imageSize) {
    std::array<uint8_t, 14> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], static_cast<uint32_t>(headerSize) + 14 + imageSize);
    Put32(&h[10], static_cast<uint32_t>(headerSize) + 14);
    return h;
}

std::array<uint8_t, 40> KVXBMPInfoHeader(int width, int height, int bits, uint32_t imageSize) {
    std::array<uint8_t, 40> h{};
    Put32(&h[0], 40);
    Put32(&h[4], static_cast<uint32_t>(width));
    Put32(&h[8], static_cast<uint32_t>(height));
    Put16(&h[12], 1);
    Put16(&h[14], static_cast<uint32_t>(bits));
    Put32(&h[16], 0);  // BI_RGB
    Put32(&h[20], imageSize);
    return h;
}

}  // namespace kvx
