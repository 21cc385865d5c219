#include "engine/codec/rar_filters.h"

#include <cstdlib>
#include <cstring>

#include "engine/codec/crc32.h"
#include "engine/codec/le_bytes.h"
#include "engine/codec/rar_audio.h"

namespace mx::codec::rar {

namespace {

struct KnownProgram {
  uint32_t size;
  uint32_t crc;
  FilterType type;
};

constexpr KnownProgram kPrograms[] = {
    {53, 0xAD576887, FilterType::E8},      {57, 0x3CD7E57E, FilterType::E8E9}, {120, 0x3769893F, FilterType::Itanium},
    {29, 0x0E06077D, FilterType::Delta},   {149, 0x1C2C5DC8, FilterType::Rgb}, {216, 0xBC85E701, FilterType::Audio},
};



// x86 CALL (and JMP) targets were made absolute by the archiver; this turns them back into relative
// ones. The operand follows the opcode, so its offset in the file is pos + i.
void E8(uint8_t* data, uint32_t size, uint32_t pos, bool e9) noexcept {
  constexpr uint32_t kFileSize = 0x1000000;
  for (uint32_t i = 0; i + 4 < size;) {
    const uint8_t b = data[i++];
    if (b != 0xE8 && !(e9 && b == 0xE9)) continue;
    const uint32_t offset = pos + i;
    const uint32_t addr = LoadLe32(data + i);
    if (addr & 0x80000000u) {
      if (((addr + offset) & 0x80000000u) == 0) StoreLe32(data + i, addr + kFileSize);
    } else if ((addr - kFileSize) & 0x80000000u) {
      StoreLe32(data + i, addr - offset);
    }
    i += 4;
  }
}

uint32_t GetBits(const uint8_t* p, unsigned bitPos, unsigned count) noexcept {
  return (LoadLe32(p + bitPos / 8) >> (bitPos % 8)) & ((1u << count) - 1);
}

void SetBits(uint8_t* p, unsigned bitPos, unsigned count, uint32_t value) noexcept {
  const uint32_t mask = ((1u << count) - 1) << (bitPos % 8);
  StoreLe32(p + bitPos / 8, (LoadLe32(p + bitPos / 8) & ~mask) | ((value << (bitPos % 8)) & mask));
}

// IA-64 bundles: branch targets in the slots that the template marks were made absolute.
void Itanium(uint8_t* data, uint32_t size, uint32_t pos) noexcept {
  static constexpr uint8_t kMasks[16] = {4, 4, 6, 6, 0, 0, 7, 7, 4, 4, 0, 0, 4, 4, 0, 0};
  uint32_t fileOffset = pos >> 4;
  for (uint32_t i = 0; i + 21 < size; i += 16, ++fileOffset) {
    const int t = (data[i] & 0x1F) - 0x10;
    if (t < 0) continue;
    const unsigned mask = kMasks[t];
    for (unsigned slot = 0; slot < 3; ++slot) {
      if (!(mask & (1u << slot))) continue;
      const unsigned bitPos = slot * 41 + 5;
      if (GetBits(data + i, bitPos + 37, 4) != 5) continue;
      const uint32_t v = GetBits(data + i, bitPos + 13, 20);
      SetBits(data + i, bitPos + 13, 20, (v - fileOffset) & 0xFFFFF);
    }
  }
}

// Channels stored one after another, each as differences; out = prev - in.
void Delta(const uint8_t* in, uint8_t* out, uint32_t size, uint32_t channels) noexcept {
  uint32_t src = 0;
  for (uint32_t c = 0; c < channels; ++c) {
    uint8_t prev = 0;
    for (uint32_t d = c; d < size; d += channels) out[d] = prev = static_cast<uint8_t>(prev - in[src++]);
  }
}

// 24-bit pixels predicted from the left, upper and upper-left neighbours (the one whose value is
// nearest the gradient), then green added back to red and blue.
void Rgb(const uint8_t* in, uint8_t* out, uint32_t size, uint32_t width, uint32_t posR) noexcept {
  uint32_t src = 0;
  for (uint32_t c = 0; c < 3; ++c) {
    unsigned prev = 0;
    for (uint32_t i = c; i < size; i += 3) {
      unsigned pred = prev;
      if (i >= width) {
        const unsigned upper = out[i - width + 3], upperLeft = out[i - width];
        const int p = static_cast<int>(prev + upper) - static_cast<int>(upperLeft);
        const int pa = std::abs(p - static_cast<int>(prev)), pb = std::abs(p - static_cast<int>(upper)),
                  pc = std::abs(p - static_cast<int>(upperLeft));
        pred = (pa <= pb && pa <= pc) ? prev : (pb <= pc ? upper : upperLeft);
      }
      prev = out[i] = static_cast<uint8_t>(pred - in[src++]);
    }
  }
  for (uint32_t i = posR; i + 2 < size; i += 3) {
    const uint8_t g = out[i + 1];
    out[i] = static_cast<uint8_t>(out[i] + g);
    out[i + 2] = static_cast<uint8_t>(out[i + 2] + g);
  }
}

// Sound samples of each channel predicted from the last three deltas, with weights that adapt every
// 32 samples towards the one that would have erred least.
void Audio(const uint8_t* in, uint8_t* out, uint32_t size, uint32_t channels) noexcept {
  uint32_t src = 0;
  for (uint32_t c = 0; c < channels; ++c) {
    unsigned prevByte = 0;
    int prevDelta = 0, d1 = 0, d2 = 0, d3 = 0, k1 = 0, k2 = 0, k3 = 0;
    unsigned dif[7] = {};
    for (uint32_t i = c, count = 0; i < size; i += channels, ++count) {
      d3 = d2;
      d2 = prevDelta - d1;
      d1 = prevDelta;
      const int pred = ((8 * static_cast<int>(prevByte) + k1 * d1 + k2 * d2 + k3 * d3) >> 3) & 0xFF;
      const unsigned cur = in[src++];
      const uint8_t v = static_cast<uint8_t>(pred - static_cast<int>(cur));
      out[i] = v;
      prevDelta = static_cast<int8_t>(v - prevByte);
      prevByte = v;
      const int d = static_cast<int8_t>(cur) * 8;
      dif[0] += static_cast<unsigned>(std::abs(d));
      dif[1] += static_cast<unsigned>(std::abs(d - d1));
      dif[2] += static_cast<unsigned>(std::abs(d + d1));
      dif[3] += static_cast<unsigned>(std::abs(d - d2));
      dif[4] += static_cast<unsigned>(std::abs(d + d2));
      dif[5] += static_cast<unsigned>(std::abs(d - d3));
      dif[6] += static_cast<unsigned>(std::abs(d + d3));
      if ((count & 0x1F) == 0) {
        int* const k[3] = {&k1, &k2, &k3};
        AdaptCoefficients(dif, 7, k);
      }
    }
  }
}

}  // namespace

FilterType IdentifyFilter(std::span<const uint8_t> code, bool* intact) noexcept {
  uint8_t x = 0;
  for (size_t i = 1; i < code.size(); ++i) x ^= code[i];
  *intact = !code.empty() && x == code[0];
  if (!*intact) return FilterType::Unknown;
  const uint32_t crc = Crc32(code);
  for (const KnownProgram& p : kPrograms)
    if (p.size == code.size() && p.crc == crc) return p.type;
  return FilterType::Unknown;
}

bool RunFilter(FilterType type, uint8_t* data, uint32_t size, const uint32_t r[7], uint32_t filePos, uint8_t* scratch,
               std::span<const uint8_t>& result) noexcept {
  if (size > kFilterMaxBlock) return false;
  switch (type) {
    case FilterType::E8:
    case FilterType::E8E9:
      E8(data, size, filePos, type == FilterType::E8E9);
      result = {data, size};
      return true;
    case FilterType::Itanium:
      Itanium(data, size, filePos);
      result = {data, size};
      return true;
    case FilterType::Delta:
      if (size > kFilterMaxBlock / 2 || r[0] == 0 || r[0] > 1024) return false;
      Delta(data, scratch, size, r[0]);
      break;
    case FilterType::Rgb:
      if (size > kFilterMaxBlock / 2 || size < 3 || r[0] < 3 || r[0] - 3 > size || r[1] > 2) return false;
      // A row width of 3 would read the byte being produced: start from zeros, not stale data.
      std::memset(scratch, 0, size);
      Rgb(data, scratch, size, r[0], r[1]);
      break;
    case FilterType::Audio:
      if (size > kFilterMaxBlock / 2 || r[0] == 0 || r[0] > 128) return false;
      Audio(data, scratch, size, r[0]);
      break;
    default:
      return false;
  }
  result = {scratch, size};
  return true;
}

}  // namespace mx::codec::rar
