#pragma once
// One deflate block in the making: the symbols the matcher has chosen since the last block, their
// frequencies, and the emission of the block as stored, static-tree or dynamic-tree data.
//
// The matcher records each literal or match with Tally*, which also says when the block should end:
// when the symbol buffer is full, or (at levels above 2) at every 4,096 symbols when the block is
// mostly literals and already looks well compressed, so that a change in the data starts a fresh
// block with fresh trees. Emit builds the Huffman trees, picks the cheapest block type and writes it.

#include <array>
#include <cstdint>

#include "engine/codec/deflate_bits.h"
#include "engine/codec/deflate_tables.h"

namespace mx::codec {

class DeflateBlock {
 public:
  explicit DeflateBlock(DeflateBitWriter& out) noexcept;
  DeflateBlock(const DeflateBlock&) = delete;
  DeflateBlock& operator=(const DeflateBlock&) = delete;

  // Starts the first block of a new stream at level.
  void Reset(int level) noexcept;

  // Records a literal byte. inLength is the number of input bytes the block covers so far. Returns
  // true when the block should be emitted now.
  bool TallyLiteral(uint8_t c, int64_t inLength) noexcept {
    lc_[count_] = c;
    dist_[count_] = 0;
    ++lfreq_[c];
    return EndOfSymbol(inLength);
  }

  // Records a match: distance 1..32768, length 3..258.
  bool TallyMatch(unsigned distance, unsigned length, int64_t inLength) noexcept {
    const unsigned lc = length - 3;
    lc_[count_] = static_cast<uint8_t>(lc);
    dist_[count_] = static_cast<uint16_t>(distance);
    ++matches_;
    ++lfreq_[deflate_tables::kLength.code[lc] + deflate_tables::kLiterals + 1];
    ++dfreq_[deflate_tables::DistCode(distance - 1)];
    return EndOfSymbol(inLength);
  }

  // Writes the block. data points at the block's input bytes when they are still in the window, else
  // it is null and the block cannot be stored; storedLen is the count of those bytes. When the whole
  // entry fits in this one last block and storing is no larger than compressing, the bytes are written
  // without any block header and the result is true: the entry must then be marked stored.
  bool Emit(const uint8_t* data, uint64_t storedLen, bool last) noexcept;

 private:
  static constexpr unsigned kLitBufSize = 0x8000;

  struct Tree {
    std::array<uint32_t, deflate_tables::kHeapSize> freq{};
    std::array<uint16_t, deflate_tables::kHeapSize> code{};
    std::array<uint16_t, deflate_tables::kHeapSize> dad{};
    std::array<uint8_t, deflate_tables::kHeapSize> len{};
    int maxCode = 0;
  };

  struct TreeKind {
    const uint8_t* staticLen;  // null for the code-length tree
    const uint8_t* extraBits;
    int extraBase;
    int elems;
    int maxLength;
  };

  bool EndOfSymbol(int64_t inLength) noexcept {
    ++count_;
    if (level_ > 2 && (count_ & 0xFFF) == 0 && MostlyLiteralsAndSmall(inLength)) return true;
    return count_ == kLitBufSize - 1;
  }
  bool MostlyLiteralsAndSmall(int64_t inLength) const noexcept;

  void ClearSymbols() noexcept;
  void BuildTree(Tree& t, const TreeKind& kind) noexcept;
  void GenBitLengths(Tree& t, const TreeKind& kind) noexcept;
  void GenCodes(Tree& t, int maxCode) noexcept;
  void ScanTree(const Tree& t, int maxCode) noexcept;
  void SendTree(const Tree& t, int maxCode) noexcept;
  int BuildBlTree() noexcept;
  void SendAllTrees(int lcodes, int dcodes, int blcodes) noexcept;
  void CompressBlock(const uint16_t* lcode, const uint8_t* llen, const uint16_t* dcode,
                     const uint8_t* dlen) noexcept;

  DeflateBitWriter& out_;
  int level_ = 1;
  bool emittedAny_ = false;

  // Symbols of the block: lc_ holds a literal, or a match length - 3 when dist_ is not 0.
  unsigned count_ = 0;
  unsigned matches_ = 0;
  std::array<uint8_t, kLitBufSize> lc_;
  std::array<uint16_t, kLitBufSize> dist_;

  // Symbol frequencies, counted as the symbols arrive and copied into the trees at Emit.
  std::array<uint32_t, deflate_tables::kLCodes> lfreq_{};
  std::array<uint32_t, deflate_tables::kDCodes> dfreq_{};

  Tree ltree_;
  Tree dtree_;
  Tree bltree_;
  int64_t optLen_ = 0;     // bits of the block with dynamic trees
  int64_t staticLen_ = 0;  // bits of the block with the static trees

  // Tree-building: order_[orderStart_..] lists the nodes of the tree just built, the root first and
  // then in order of falling frequency, parents before their children.
  std::array<int, deflate_tables::kHeapSize> order_{};
  int orderStart_ = 0;
  std::array<int, deflate_tables::kMaxBits + 1> blCount_{};
};

}  // namespace mx::codec
