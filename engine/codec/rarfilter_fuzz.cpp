// Fuzz target: the standard RAR 2.9-4.x filters and the program recogniser. Input: the filter type,
// registers 0 and 1 and the file position (4 bytes each, little-endian), then the block.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/codec/rar_filters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mx::codec::rar;
  if (size < 13) return 0;
  const auto le32 = [&](size_t at) {
    return uint32_t{data[at]} | uint32_t{data[at + 1]} << 8 | uint32_t{data[at + 2]} << 16 | uint32_t{data[at + 3]} << 24;
  };
  const FilterType type = static_cast<FilterType>(data[0] % 7);
  uint32_t r[7] = {le32(1), le32(5), 0, 0x3C000, 0, 0, 0};
  // Small register values are the interesting ones: fold most of the range onto them.
  if (data[0] & 0x80) r[0] %= 64;
  const uint32_t pos = le32(9);
  std::vector<uint8_t> block(data + 13, data + size);
  r[4] = static_cast<uint32_t>(block.size());
  std::vector<uint8_t> scratch(kFilterMaxBlock);
  std::span<const uint8_t> result;
  if (RunFilter(type, block.data(), static_cast<uint32_t>(block.size()), r, pos, scratch.data(), result) &&
      result.size() != block.size())
    __builtin_trap();
  bool intact = false;
  IdentifyFilter(std::span<const uint8_t>(data + 13, size - 13), &intact);
  return 0;
}
