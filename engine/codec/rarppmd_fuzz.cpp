// Fuzz target: the RAR 2.9-4.x decoder's PPMd blocks (see rar_fuzz.h for the input layout). The stream
// always starts with a PPM block header that starts a model of 1 or 2 MB, and at most 16 KB come out:
// the allocator's restarts stay within reach of high orders, and every input is decoded quickly.
#include "engine/codec/rar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return mx::codec::RunRarFuzz(data, size, 29, [](std::vector<uint8_t>& s) {
    if (s.size() < 2) return;
    s[0] |= 0xA0;
    s[1] &= 1;
  }, 0x3FFF);
}
