// Fuzz target: the RAR 2.0 decoder (see rar_fuzz.h for the input layout).
#include "engine/codec/rar_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return mx::codec::RunRarFuzz(data, size, 20, nullptr);
}
