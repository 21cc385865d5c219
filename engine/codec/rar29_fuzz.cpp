// Fuzz target: the RAR 2.9-4.x decoder's LZ blocks, filter records included (see rar_fuzz.h for the
// input layout). The stream always starts with an LZ table block.
#include "engine/codec/rar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return mx::codec::RunRarFuzz(data, size, 29, [](std::vector<uint8_t>& s) {
    if (!s.empty()) s[0] &= 0x7F;
  });
}
