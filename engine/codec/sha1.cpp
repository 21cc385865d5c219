#include "engine/codec/sha1.h"

#include <bit>
#include <cstring>

namespace mx::codec {

namespace {

uint32_t LoadBe32(const uint8_t* p) noexcept {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

}  // namespace

void Sha1::Reset() noexcept {
  h_[0] = 0x67452301;
  h_[1] = 0xEFCDAB89;
  h_[2] = 0x98BADCFE;
  h_[3] = 0x10325476;
  h_[4] = 0xC3D2E1F0;
  count_ = 0;
}

void Sha1::Transform(const uint8_t* block, uint8_t* writeBack) noexcept {
  uint32_t w[80];
  for (int t = 0; t < 16; ++t) w[t] = LoadBe32(block + 4 * t);
  for (int t = 16; t < 80; ++t) w[t] = std::rotl(w[t - 3] ^ w[t - 8] ^ w[t - 14] ^ w[t - 16], 1);
  uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
  for (int t = 0; t < 80; ++t) {
    uint32_t f, k;
    if (t < 20) {
      f = (b & c) | (~b & d);
      k = 0x5A827999;
    } else if (t < 40) {
      f = b ^ c ^ d;
      k = 0x6ED9EBA1;
    } else if (t < 60) {
      f = (b & c) | (b & d) | (c & d);
      k = 0x8F1BBCDC;
    } else {
      f = b ^ c ^ d;
      k = 0xCA62C1D6;
    }
    const uint32_t temp = std::rotl(a, 5) + f + e + k + w[t];
    e = d;
    d = c;
    c = std::rotl(b, 30);
    b = a;
    a = temp;
  }
  h_[0] += a;
  h_[1] += b;
  h_[2] += c;
  h_[3] += d;
  h_[4] += e;
  if (writeBack) {
    for (int k = 0; k < 16; ++k) {
      const uint32_t v = w[64 + k];
      writeBack[4 * k] = static_cast<uint8_t>(v);
      writeBack[4 * k + 1] = static_cast<uint8_t>(v >> 8);
      writeBack[4 * k + 2] = static_cast<uint8_t>(v >> 16);
      writeBack[4 * k + 3] = static_cast<uint8_t>(v >> 24);
    }
  }
}

template <bool kRar>
void Sha1::UpdateImpl(uint8_t* data, size_t size) noexcept {
  size_t used = static_cast<size_t>(count_ & 63);
  count_ += size;
  size_t i = 0;
  if (used + size >= 64) {
    // Complete the buffered block first; it is never written back.
    i = 64 - used;
    std::memcpy(buffer_ + used, data, i);
    Transform(buffer_, nullptr);
    for (; i + 64 <= size; i += 64) Transform(data + i, kRar ? data + i : nullptr);
    used = 0;
  }
  if (i < size) std::memcpy(buffer_ + used, data + i, size - i);
}

void Sha1::Update(std::span<const uint8_t> data) noexcept {
  // The plain form never writes, so the cast only shares the loop.
  UpdateImpl<false>(const_cast<uint8_t*>(data.data()), data.size());
}

void Sha1::UpdateRar(std::span<uint8_t> data) noexcept { UpdateImpl<true>(data.data(), data.size()); }

Sha1::Digest Sha1::Final() noexcept {
  const uint64_t bits = count_ * 8;
  uint8_t pad[72] = {0x80};
  const size_t used = static_cast<size_t>(count_ & 63);
  const size_t padLen = (used < 56 ? 56 : 120) - used;
  for (int k = 0; k < 8; ++k) pad[padLen + k] = static_cast<uint8_t>(bits >> (56 - 8 * k));
  Update(std::span<const uint8_t>(pad, padLen + 8));
  Digest out;
  for (int k = 0; k < 5; ++k) {
    out[4 * k] = static_cast<uint8_t>(h_[k] >> 24);
    out[4 * k + 1] = static_cast<uint8_t>(h_[k] >> 16);
    out[4 * k + 2] = static_cast<uint8_t>(h_[k] >> 8);
    out[4 * k + 3] = static_cast<uint8_t>(h_[k]);
  }
  return out;
}

}  // namespace mx::codec
