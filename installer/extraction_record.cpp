#include "installer/extraction_record.h"

#include <cstring>

namespace inst {

namespace {

constexpr char kSignature[] = "\x0eSELFEXTRACTING";
constexpr int kSignatureSize = 15;

void Put(uint8_t* p, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t Get(const uint8_t* p) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i) u = u << 8 | p[i];
    return static_cast<int32_t>(u);
}

}  // namespace

void ExtractionRecord::Encode(uint8_t out[kSize]) const {
    std::memset(out, 0, kSize);
    std::memcpy(out, kSignature, kSignatureSize);
    Put(out + 16, setupStart);
    Put(out + 20, setupEnd);
    Put(out + 24, filesStart);
    Put(out + 28, filesEnd);
}

bool ExtractionRecord::Decode(const uint8_t in[kSize]) {
    if (std::memcmp(in, kSignature, kSignatureSize) != 0) return false;
    setupStart = Get(in + 16);
    setupEnd = Get(in + 20);
    filesStart = Get(in + 24);
    filesEnd = Get(in + 28);
    return true;
}

}  // namespace inst
