// Encryption headers from random bytes. Kept in a file of its own so that programs which only decrypt
// (the self-extractor) never link the random device, the mutex and their exception handling.
#include <chrono>
#include <iterator>
#include <mutex>
#include <random>

#include "engine/codec/zipcrypt.h"

namespace mx::codec {

void ZipCrypto::MakeEncryptionHeader(std::string_view password, uint32_t crc,
                                     std::span<uint8_t, kHeaderSize> header) noexcept {
  // Seeded once: reseeding per header from a clock would repeat headers made in the same tick.
  static std::mutex lock;
  uint8_t random[10];
  {
    std::lock_guard<std::mutex> guard(lock);
    static std::mt19937 engine = [] {
      uint32_t seed[4] = {0, 0, 0, 0};
      try {
        std::random_device device;
        for (uint32_t& s : seed) s = device();
      } catch (...) {
        // No system source: fall back to the clock and this process's addresses.
        auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
        seed[0] = static_cast<uint32_t>(now);
        seed[1] = static_cast<uint32_t>(now >> 32);
        seed[2] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&seed));
      }
      std::seed_seq seq(std::begin(seed), std::end(seed));
      return std::mt19937(seq);
    }();
    for (uint8_t& r : random) r = static_cast<uint8_t>(engine() >> 24);
  }
  MakeEncryptionHeader(password, crc, std::span<const uint8_t, 10>(random), header);
}

}  // namespace mx::codec
