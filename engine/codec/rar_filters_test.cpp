// The standard RAR 2.9-4.x filters: known results for x86 and delta, and for the others a round trip
// through the forward transforms written here from the format's definition (no fixture uses them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/rar_filters.h"

namespace mx::codec::rar {
namespace {

std::vector<uint8_t> Filter(FilterType type, std::vector<uint8_t> data, std::vector<uint32_t> r = {}, uint32_t pos = 0,
                         bool* ok = nullptr) {
  uint32_t regs[7] = {};
  for (size_t i = 0; i < r.size(); ++i) regs[i] = r[i];
  std::vector<uint8_t> scratch(kFilterMaxBlock);
  std::span<const uint8_t> result;
  const bool done = RunFilter(type, data.data(), static_cast<uint32_t>(data.size()), regs, pos, scratch.data(), result);
  if (ok) *ok = done;
  return done ? std::vector<uint8_t>(result.begin(), result.end()) : std::vector<uint8_t>{};
}

std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> v(n);
  for (auto& b : v) b = static_cast<uint8_t>(rng());
  return v;
}

TEST(RarFilters, X86CallsBecomeRelativeAgain) {
  // At file position 0x1000: a CALL whose absolute target 0x1234 becomes relative to the operand's
  // offset (0x1000 + 1), a negative absolute target that stays below zero is moved by the file size,
  // and E9 only counts for E8E9.
  const std::vector<uint8_t> in = {0xE8, 0x34, 0x12, 0x00, 0x00, 0xE8, 0xF0, 0xFF, 0xFF, 0xFF, 0xE9, 0x10, 0x00, 0x00, 0x00, 0x90, 0x90};
  const std::vector<uint8_t> e8 = {0xE8, 0x33, 0x02, 0x00, 0x00, 0xE8, 0xF0, 0xFF, 0xFF, 0x00, 0xE9, 0x10, 0x00, 0x00, 0x00, 0x90, 0x90};
  EXPECT_EQ(Filter(FilterType::E8, in, {}, 0x1000), e8);
  std::vector<uint8_t> e8e9 = e8;
  const uint32_t rel = 0x10 - (0x1000 + 11);
  for (int k = 0; k < 4; ++k) e8e9[11 + k] = static_cast<uint8_t>(rel >> (8 * k));
  EXPECT_EQ(Filter(FilterType::E8E9, in, {}, 0x1000), e8e9);
  // A block too short for an operand passes unchanged.
  EXPECT_EQ(Filter(FilterType::E8, {0xE8, 1, 2}), (std::vector<uint8_t>{0xE8, 1, 2}));
}

TEST(RarFilters, DeltaInterleavesChannels) {
  // Two channels stored one after the other as differences (out = previous - in).
  EXPECT_EQ(Filter(FilterType::Delta, {0xFF, 0xFF, 0xFE, 0x02, 0x01, 0x00}, {2}),
            (std::vector<uint8_t>{0x01, 0xFE, 0x02, 0xFD, 0x04, 0xFD}));
}

// Forward RGB transform: green subtracted from red and blue, then each byte replaced by the
// difference between its prediction and itself, channel by channel.
std::vector<uint8_t> RgbForward(std::vector<uint8_t> image, uint32_t width, uint32_t posR) {
  const size_t n = image.size();
  for (size_t i = posR; i + 2 < n; i += 3) {
    image[i] = static_cast<uint8_t>(image[i] - image[i + 1]);
    image[i + 2] = static_cast<uint8_t>(image[i + 2] - image[i + 1]);
  }
  std::vector<uint8_t> packed;
  for (size_t c = 0; c < 3; ++c) {
    int prev = 0;
    for (size_t i = c; i < n; i += 3) {
      int pred = prev;
      if (i >= width) {
        const int upper = image[i - width + 3], upperLeft = image[i - width];
        const int p = prev + upper - upperLeft;
        const int pa = std::abs(p - prev), pb = std::abs(p - upper), pc = std::abs(p - upperLeft);
        pred = pa <= pb && pa <= pc ? prev : pb <= pc ? upper : upperLeft;
      }
      packed.push_back(static_cast<uint8_t>(pred - image[i]));
      prev = image[i];
    }
  }
  return packed;
}

// Forward audio transform: the same adaptive predictor, run on the samples being coded.
std::vector<uint8_t> AudioForward(const std::vector<uint8_t>& samples, uint32_t channels) {
  std::vector<uint8_t> packed;
  for (uint32_t c = 0; c < channels; ++c) {
    int prevByte = 0, prevDelta = 0, d1 = 0, d2 = 0, d3 = 0, k[3] = {0, 0, 0};
    unsigned dif[7] = {};
    for (uint32_t i = c, count = 0; i < samples.size(); i += channels, ++count) {
      d3 = d2;
      d2 = prevDelta - d1;
      d1 = prevDelta;
      const int pred = ((8 * prevByte + k[0] * d1 + k[1] * d2 + k[2] * d3) >> 3) & 0xFF;
      const uint8_t cur = static_cast<uint8_t>(pred - samples[i]);
      packed.push_back(cur);
      prevDelta = static_cast<int8_t>(samples[i] - prevByte);
      prevByte = samples[i];
      const int d = static_cast<int8_t>(cur) * 8;
      const int terms[7] = {d, d - d1, d + d1, d - d2, d + d2, d - d3, d + d3};
      for (int j = 0; j < 7; ++j) dif[j] += static_cast<unsigned>(std::abs(terms[j]));
      if (count % 32 == 0) {
        int best = 0;
        for (int j = 1; j < 7; ++j)
          if (dif[j] < dif[best]) best = j;
        for (auto& x : dif) x = 0;
        if (best > 0) {
          int& coef = k[(best - 1) / 2];
          if (best % 2 == 1 && coef >= -16) --coef;
          if (best % 2 == 0 && coef < 16) ++coef;
        }
      }
    }
  }
  return packed;
}

TEST(RarFilters, RgbAndAudioUndoTheirForwardTransforms) {
  // A smooth image: 20 pixels a row, colours that drift along and down.
  std::vector<uint8_t> image;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x)
      for (int c = 0; c < 3; ++c) image.push_back(static_cast<uint8_t>(x * 3 + y * 5 + c * 40 + (x * y) % 7));
  for (uint32_t posR : {0u, 1u, 2u}) EXPECT_EQ(Filter(FilterType::Rgb, RgbForward(image, 60, posR), {60, posR}), image);
  // Two sine-like channels with noise.
  std::vector<uint8_t> sound;
  const auto noise = Noise(4000, 5);
  for (int i = 0; i < 4000; ++i) sound.push_back(static_cast<uint8_t>(128 + ((i * 37) % 200 - 100) / 2 + noise[i] % 5));
  for (uint32_t channels : {1u, 2u, 4u}) EXPECT_EQ(Filter(FilterType::Audio, AudioForward(sound, channels), {channels}), sound);
}

TEST(RarFilters, ItaniumBranchesBecomeRelative) {
  // A bundle of template 0x10 (slot 2 may branch) whose slot 2 has opcode 5: its 20-bit target moves
  // back by the bundle's file position in 16-byte units.
  std::vector<uint8_t> bundle(32, 0);
  bundle[0] = 0x10;
  const auto put = [&](unsigned bitPos, unsigned count, uint32_t v) {
    for (unsigned b = 0; b < count; ++b) {
      const unsigned at = bitPos + b;
      bundle[at / 8] = static_cast<uint8_t>((bundle[at / 8] & ~(1u << (at % 8))) | (((v >> b) & 1) << (at % 8)));
    }
  };
  const unsigned slot2 = 2 * 41 + 5;
  put(slot2 + 37, 4, 5);
  put(slot2 + 13, 20, 0x12345);
  std::vector<uint8_t> want = bundle;
  const auto get = [](const std::vector<uint8_t>& v, unsigned bitPos, unsigned count) {
    uint32_t r = 0;
    for (unsigned b = 0; b < count; ++b) r |= uint32_t{(v[(bitPos + b) / 8] >> ((bitPos + b) % 8)) & 1u} << b;
    return r;
  };
  const auto out = Filter(FilterType::Itanium, bundle, {}, 0x300);
  EXPECT_EQ(get(out, slot2 + 13, 20), 0x12345u - 0x30u);
  EXPECT_EQ(get(out, slot2 + 37, 4), 5u);
  // Nothing else changes.
  put(slot2 + 13, 20, 0x12345u - 0x30u);
  EXPECT_EQ(out, bundle);
}

TEST(RarFilters, RefusedParameters) {
  struct Case {
    const char* name;
    FilterType type;
    size_t size;
    std::vector<uint32_t> r;
  };
  const Case cases[] = {
      {"no delta channels", FilterType::Delta, 100, {0}},
      {"delta block above half the memory", FilterType::Delta, kFilterMaxBlock / 2 + 1, {1}},
      {"rgb row narrower than a pixel", FilterType::Rgb, 100, {2, 0}},
      {"rgb red position beyond the pixel", FilterType::Rgb, 100, {30, 3}},
      {"audio with too many channels", FilterType::Audio, 100, {129}},
      {"unknown program", FilterType::Unknown, 10, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool ok = true;
    Filter(c.type, std::vector<uint8_t>(c.size, 1), c.r, 0, &ok);
    EXPECT_FALSE(ok);
  }
}

TEST(RarFilters, ProgramsAreRecognisedByCheckByteSizeAndCrc) {
  bool intact = false;
  EXPECT_EQ(IdentifyFilter(std::vector<uint8_t>{0, 1, 2, 3}, &intact), FilterType::Unknown);
  EXPECT_TRUE(intact);
  EXPECT_EQ(IdentifyFilter(std::vector<uint8_t>{9, 1, 2, 3}, &intact), FilterType::Unknown);
  EXPECT_FALSE(intact);
  EXPECT_EQ(IdentifyFilter({}, &intact), FilterType::Unknown);
  EXPECT_FALSE(intact);
}

}  // namespace
}  // namespace mx::codec::rar
