#pragma once
// PPMd variant H with RAR's range decoder, as RAR 2.9-4.x codes its text blocks.
//
// The model lives in one byte heap addressed by 32-bit offsets (0 is null). The bottom of the heap
// holds the text history, which grows upwards; 12-byte units for contexts and state arrays are taken
// from the top and from a middle region, and recycled through free lists. Decoding must match the
// encoder's model bit for bit, allocator included: when the heap runs out, both restart the model at
// the same symbol.

#include <cstddef>
#include <cstdint>

#include "engine/codec/rar_input.h"

namespace mx::codec::rar {

// The carry-less range decoder of RAR's PPMd blocks.
class RangeDecoder {
 public:
  void Init(BitInput& in) noexcept;
  // The count within total for the next symbol; at least total when the coder is broken.
  uint32_t GetFreq(uint32_t total) noexcept {
    range_ /= total;
    return range_ ? (code_ - low_) / range_ : 0xFFFFFFFFu;
  }
  uint32_t GetFreqShift(unsigned bits) noexcept {
    range_ >>= bits;
    return range_ ? (code_ - low_) / range_ : 0xFFFFFFFFu;
  }
  void Decode(uint32_t lo, uint32_t hi) noexcept {
    low_ += range_ * lo;
    range_ *= hi - lo;
  }
  void Normalize(BitInput& in) noexcept;

 private:
  uint32_t low_ = 0, code_ = 0, range_ = 0;
};

class PpmModel {
 public:
  PpmModel() noexcept;
  ~PpmModel();
  PpmModel(const PpmModel&) = delete;
  PpmModel& operator=(const PpmModel&) = delete;

  // Gives the model memBytes of heap (reallocated only when the size changes) and starts it with the
  // given maximum order. False when the memory cannot be had.
  bool Start(uint32_t memBytes, unsigned maxOrder) noexcept;
  // True while a started model can go on (a block header without the reset flag continues it).
  bool Ready() const noexcept { return ready_; }
  void Invalidate() noexcept { ready_ = false; }
  // The next byte, or -1 for damaged data (the model is then invalid).
  int DecodeChar(RangeDecoder& rc, BitInput& in) noexcept;

 private:
  static constexpr uint32_t kUnit = 12;
  static constexpr unsigned kIndexes = 38;
  static constexpr unsigned kMaxOrder = 64;

  struct See {
    uint16_t summ;
    uint8_t shift;
    uint8_t count;
    unsigned Mean() noexcept {
      unsigned r = summ >> shift;
      summ = static_cast<uint16_t>(summ - r);
      return r + (r == 0);
    }
    void Update() noexcept {
      if (shift < 7 && --count == 0) {
        summ = static_cast<uint16_t>(summ * 2);
        count = static_cast<uint8_t>(3 << shift);
        ++shift;
      }
    }
  };

  // Heap access. A context is NumStats u16, SummFreq u16, Stats u32, Suffix u32; with one symbol its
  // state sits inline at byte 2. A state is Symbol u8, Freq u8, Successor u32.
  uint16_t U16(uint32_t off) const noexcept;
  uint32_t U32(uint32_t off) const noexcept;
  void SetU16(uint32_t off, uint32_t v) noexcept;
  void SetU32(uint32_t off, uint32_t v) noexcept;
  uint8_t& B(uint32_t off) noexcept { return heap_[off]; }
  unsigned NumStats(uint32_t c) const noexcept { return U16(c); }
  unsigned SummFreq(uint32_t c) const noexcept { return U16(c + 2); }
  uint32_t Stats(uint32_t c) const noexcept { return U32(c + 4); }
  uint32_t Suffix(uint32_t c) const noexcept { return U32(c + 8); }
  static uint32_t OneState(uint32_t c) noexcept { return c + 2; }
  uint8_t& Sym(uint32_t s) noexcept { return heap_[s]; }
  uint8_t& Freq(uint32_t s) noexcept { return heap_[s + 1]; }
  uint32_t Succ(uint32_t s) const noexcept { return U32(s + 2); }
  void SetSucc(uint32_t s, uint32_t v) noexcept { SetU32(s + 2, v); }
  void SwapStates(uint32_t a, uint32_t b) noexcept;
  void CopyState(uint32_t to, uint32_t from) noexcept;

  // The unit allocator.
  void InitHeap() noexcept;
  void Push(unsigned index, uint32_t block) noexcept;
  uint32_t Pop(unsigned index) noexcept;
  void SplitBlock(uint32_t block, unsigned oldIndex, unsigned newIndex) noexcept;
  void GlueFreeBlocks() noexcept;
  uint32_t AllocUnitsRare(unsigned index) noexcept;
  uint32_t AllocUnits(unsigned units) noexcept;
  uint32_t AllocContext() noexcept;
  uint32_t ExpandUnits(uint32_t block, unsigned oldUnits) noexcept;
  uint32_t ShrinkUnits(uint32_t block, unsigned oldUnits, unsigned newUnits) noexcept;
  void FreeUnits(uint32_t block, unsigned units) noexcept { Push(units2Index_[units - 1], block); }

  // The model.
  void RestartModel() noexcept;
  void ClearMask() noexcept;
  bool DecodeBinSymbol(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept;
  bool DecodeSymbol1(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept;
  bool DecodeSymbol2(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept;
  void Update1(uint32_t ctx, uint32_t p) noexcept;
  void Update2(uint32_t ctx, uint32_t p) noexcept;
  void Rescale(uint32_t ctx) noexcept;
  bool UpdateModel() noexcept;
  uint32_t CreateSuccessors(bool skip, uint32_t p1) noexcept;
  uint32_t FindState(uint32_t ctx, uint8_t symbol) noexcept;

  uint8_t* heap_ = nullptr;
  uint32_t size_ = 0;  // heap bytes for the model
  bool ready_ = false;

  uint32_t heapStart_ = 0, heapEnd_ = 0;
  uint32_t pText_ = 0, unitsStart_ = 0, loUnit_ = 0, hiUnit_ = 0;
  uint32_t freeList_[kIndexes] = {};
  uint8_t glueCount_ = 0;
  uint8_t indexToUnits_[kIndexes];
  uint8_t units2Index_[128];

  uint32_t minContext_ = 0, maxContext_ = 0, foundState_ = 0;
  unsigned numMasked_ = 0, initEsc_ = 0, maxOrder_ = 0;
  int orderFall_ = 0, runLength_ = 0, initRl_ = 0;
  uint8_t escCount_ = 0, prevSuccess_ = 0, hiBitsFlag_ = 0;
  uint8_t charMask_[256] = {};
  uint8_t ns2Index_[256], ns2BsIndex_[256], hb2Flag_[256];
  uint16_t binSumm_[128][64];
  See see2_[25][16];
  See dummySee_;
};

}  // namespace mx::codec::rar
