#pragma once
// SHA-1 (FIPS 180-4), with one extra update form that RAR's key derivation depends on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec {

class Sha1 {
 public:
  using Digest = std::array<uint8_t, 20>;

  Sha1() noexcept { Reset(); }
  void Reset() noexcept;
  void Update(std::span<const uint8_t> data) noexcept;
  // Update as the RAR 2.9-4.x key derivation hashes: every 64-byte block that is transformed straight
  // from data (not through the internal buffer) gets the last 16 words of its message schedule written
  // back into data, little-endian, and later rounds hash those changed bytes.
  void UpdateRar(std::span<uint8_t> data) noexcept;
  // The digest of everything hashed; the object is left finished (Reset to reuse it).
  Digest Final() noexcept;
  // The first five state words: the digest as big-endian words.
  const uint32_t* State() const noexcept { return h_; }

  static Digest Hash(std::span<const uint8_t> data) noexcept {
    Sha1 s;
    s.Update(data);
    return s.Final();
  }

 private:
  // Runs the compression function over one block; with writeBack, the schedule words 64..79 are
  // stored into writeBack (64 bytes).
  void Transform(const uint8_t* block, uint8_t* writeBack) noexcept;
  template <bool kRar>
  void UpdateImpl(uint8_t* data, size_t size) noexcept;

  uint32_t h_[5];
  uint64_t count_;  // bytes hashed
  uint8_t buffer_[64];
};

}  // namespace mx::codec
