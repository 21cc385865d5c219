// The table builder on random codes: complete codes decode every symbol back, and no set of lengths,
// complete, incomplete or over-subscribed, writes outside the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/codec/huffman.h"

namespace mx::codec {
namespace {

// Random lengths; about half of the sets are made complete by the Kraft sum.
std::vector<uint8_t> RandomLengths(std::mt19937& rng, size_t n, unsigned maxLen, bool complete) {
  std::vector<uint8_t> lens(n);
  if (!complete) {
    for (auto& l : lens) l = rng() % 3 == 0 ? static_cast<uint8_t>(1 + rng() % maxLen) : 0;
    return lens;
  }
  // Split leaves of a random binary tree until there are enough or the depth limit is hit.
  std::vector<unsigned> depths = {1, 1};
  for (int step = 0; step < 400 && depths.size() < n; ++step) {
    size_t k = rng() % depths.size();
    if (depths[k] >= maxLen) continue;
    unsigned d = ++depths[k];
    depths.push_back(d);
  }
  std::vector<size_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), rng);
  for (size_t i = 0; i < depths.size(); ++i) lens[order[i]] = static_cast<uint8_t>(depths[i]);
  return lens;
}

TEST(Huffman, RandomCodesStayInsideTheTableAndDecodeBack) {
  std::mt19937 rng(5);
  for (int round = 0; round < 3000; ++round) {
    const bool complete = round % 2 == 0;
    const size_t n = round % 3 == 0 ? 32 : 288;
    const unsigned root = n == 32 ? 8 : 11;
    const size_t capacity = n == 32 ? 402 : 2342;
    std::vector<uint8_t> lens = RandomLengths(rng, n, 15, complete);
    std::vector<uint32_t> payload(n);
    for (size_t s = 0; s < n; ++s) payload[s] = HuffPayload(HuffLiteral, 0, static_cast<unsigned>(s));
    std::vector<uint32_t> table(capacity);  // exact size: ASan sees any write past it
    size_t used = 0;
    HuffmanResult r = BuildHuffmanTable(lens, payload.data(), root, table.data(), table.size(), &used);
    ASSERT_LE(used, capacity);
    if (!complete || r != HuffmanResult::Complete) continue;
    // Canonical codes, fed bit-reversed as the reader hands them out.
    unsigned count[16] = {}, next[16] = {};
    for (uint8_t l : lens) ++count[l];
    count[0] = 0;
    for (unsigned b = 1, code = 0; b < 16; ++b) next[b] = code = (code + count[b - 1]) << 1;
    for (size_t s = 0; s < n; ++s) {
      if (!lens[s]) continue;
      uint32_t code = next[lens[s]]++, rev = 0;
      for (unsigned b = 0; b < lens[s]; ++b) rev |= ((code >> b) & 1) << (lens[s] - 1 - b);
      unsigned drop;
      uint32_t e = HuffDecode(table.data(), root, rev | (uint64_t{rng()} << lens[s]), &drop);
      ASSERT_EQ(HuffValue(e), s);
      ASSERT_EQ(drop, lens[s]);
    }
  }
}

TEST(Huffman, ResultsForSpecialSets) {
  uint32_t payload[4] = {HuffPayload(HuffLiteral, 0, 0), HuffPayload(HuffLiteral, 0, 1), HuffPayload(HuffLiteral, 0, 2),
                         HuffPayload(HuffLiteral, 0, 3)};
  uint32_t table[16];
  const uint8_t empty[4] = {0, 0, 0, 0}, one[4] = {0, 1, 0, 0}, over[4] = {1, 1, 1, 0}, bad[4] = {16, 1, 1, 0};
  EXPECT_EQ(BuildHuffmanTable(empty, payload, 4, table, 16), HuffmanResult::Empty);
  EXPECT_EQ(table[5], HuffInvalid);
  EXPECT_EQ(BuildHuffmanTable(one, payload, 4, table, 16), HuffmanResult::Incomplete);
  EXPECT_EQ(HuffValue(table[0]), 1u);
  EXPECT_EQ(table[1], HuffInvalid);  // the unused one-bit code
  EXPECT_EQ(BuildHuffmanTable(over, payload, 4, table, 16), HuffmanResult::OverSubscribed);
  EXPECT_EQ(BuildHuffmanTable(bad, payload, 4, table, 16), HuffmanResult::BadLength);
}

}  // namespace
}  // namespace mx::codec
