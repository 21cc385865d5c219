#include "engine/codec/rar_ppmd.h"

#include <cstdlib>
#include <cstring>

namespace mx::codec::rar {

namespace {

constexpr uint32_t kTop = 1u << 24, kBot = 1u << 15;
constexpr unsigned kMaxFreq = 124;
constexpr unsigned kIntBits = 7, kPeriodBits = 7, kTotBits = kIntBits + kPeriodBits;
constexpr unsigned kBinScale = 1u << kTotBits;
constexpr unsigned kInterval = 1u << kIntBits;
constexpr uint16_t kInitBinEsc[8] = {0x3CDD, 0x1F3F, 0x59BF, 0x48F3, 0x64A1, 0x5ABC, 0x6632, 0x6051};
constexpr uint8_t kExpEscape[16] = {25, 14, 9, 7, 5, 5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 2};
// A free block in GlueFreeBlocks carries this stamp in its first two bytes: no live context (at most
// 256 symbols) or state array (a symbol 0xFF of frequency 0xFF) starts with it.
constexpr uint16_t kFreeStamp = 0xFFFF;

}  // namespace

// ---------------------------------------------------------------------------------------------------
// Range decoder

void RangeDecoder::Init(BitInput& in) noexcept {
  low_ = code_ = 0;
  range_ = 0xFFFFFFFFu;
  for (int i = 0; i < 4; ++i) code_ = (code_ << 8) | in.Byte();
}

void RangeDecoder::Normalize(BitInput& in) noexcept {
  // Four steps bring any non-zero range back above kBot; a zero range (damaged data) stops here and
  // fails the next GetFreq.
  for (int step = 0; step < 4; ++step) {
    if ((low_ ^ (low_ + range_)) >= kTop) {
      if (range_ >= kBot) break;
      range_ = (0u - low_) & (kBot - 1);
    }
    code_ = (code_ << 8) | in.Byte();
    range_ <<= 8;
    low_ <<= 8;
  }
}

// ---------------------------------------------------------------------------------------------------
// Heap and allocator

PpmModel::PpmModel() noexcept {
  unsigned k = 1, i = 0;
  for (; i < 4; ++i, k += 1) indexToUnits_[i] = static_cast<uint8_t>(k);
  for (k += 1; i < 8; ++i, k += 2) indexToUnits_[i] = static_cast<uint8_t>(k);
  for (k += 1; i < 12; ++i, k += 3) indexToUnits_[i] = static_cast<uint8_t>(k);
  for (k += 1; i < kIndexes; ++i, k += 4) indexToUnits_[i] = static_cast<uint8_t>(k);
  for (unsigned u = 0, idx = 0; u < 128; ++u) {
    if (indexToUnits_[idx] < u + 1) ++idx;
    units2Index_[u] = static_cast<uint8_t>(idx);
  }
  ns2BsIndex_[0] = 0;
  ns2BsIndex_[1] = 2;
  for (unsigned n = 2; n < 11; ++n) ns2BsIndex_[n] = 4;
  for (unsigned n = 11; n < 256; ++n) ns2BsIndex_[n] = 6;
  for (unsigned n = 0; n < 3; ++n) ns2Index_[n] = static_cast<uint8_t>(n);
  for (unsigned n = 3, m = 3, left = 1; n < 256; ++n) {
    ns2Index_[n] = static_cast<uint8_t>(m);
    if (--left == 0) left = ++m - 2;
  }
  for (unsigned n = 0; n < 256; ++n) hb2Flag_[n] = n < 0x40 ? 0 : 0x08;
  dummySee_ = {0, 7, 0};
}

PpmModel::~PpmModel() { std::free(heap_); }

uint16_t PpmModel::U16(uint32_t off) const noexcept {
  uint16_t v;
  std::memcpy(&v, heap_ + off, 2);
  return v;
}

uint32_t PpmModel::U32(uint32_t off) const noexcept {
  uint32_t v;
  std::memcpy(&v, heap_ + off, 4);
  return v;
}

void PpmModel::SetU16(uint32_t off, uint32_t v) noexcept {
  const uint16_t x = static_cast<uint16_t>(v);
  std::memcpy(heap_ + off, &x, 2);
}

void PpmModel::SetU32(uint32_t off, uint32_t v) noexcept { std::memcpy(heap_ + off, &v, 4); }

void PpmModel::SwapStates(uint32_t a, uint32_t b) noexcept {
  uint8_t t[6];
  std::memcpy(t, heap_ + a, 6);
  std::memcpy(heap_ + a, heap_ + b, 6);
  std::memcpy(heap_ + b, t, 6);
}

void PpmModel::CopyState(uint32_t to, uint32_t from) noexcept { std::memmove(heap_ + to, heap_ + from, 6); }

bool PpmModel::Start(uint32_t memBytes, unsigned maxOrder) noexcept {
  ready_ = false;
  if (memBytes != size_ || !heap_) {
    std::free(heap_);
    size_ = 0;
    // One unit below the heap keeps offset 0 null; one above is the sentinel that stops block
    // merging at the end. calloc leaves large blocks to lazily zeroed pages.
    heap_ = static_cast<uint8_t*>(std::calloc(size_t{memBytes} + 2 * kUnit, 1));
    if (!heap_) return false;
    size_ = memBytes;
  }
  heapStart_ = kUnit;
  heapEnd_ = kUnit + size_;
  SetU16(heapEnd_, 0);
  maxOrder_ = maxOrder;
  escCount_ = 1;
  RestartModel();
  ready_ = true;
  return true;
}

void PpmModel::InitHeap() noexcept {
  const uint32_t unitsBytes = kUnit * (size_ / 8 / kUnit * 7);
  pText_ = heapStart_;
  unitsStart_ = loUnit_ = heapEnd_ - unitsBytes;
  hiUnit_ = heapEnd_;
  std::memset(freeList_, 0, sizeof freeList_);
  glueCount_ = 0;
}

void PpmModel::Push(unsigned index, uint32_t block) noexcept {
  SetU32(block + 4, freeList_[index]);
  freeList_[index] = block;
}

uint32_t PpmModel::Pop(unsigned index) noexcept {
  const uint32_t block = freeList_[index];
  freeList_[index] = U32(block + 4);
  return block;
}

void PpmModel::SplitBlock(uint32_t block, unsigned oldIndex, unsigned newIndex) noexcept {
  unsigned diff = indexToUnits_[oldIndex] - indexToUnits_[newIndex];
  uint32_t tail = block + kUnit * indexToUnits_[newIndex];
  unsigned k = units2Index_[diff - 1];
  if (indexToUnits_[k] != diff) {
    --k;
    Push(k, tail);
    tail += kUnit * indexToUnits_[k];
    diff -= indexToUnits_[k];
  }
  Push(units2Index_[diff - 1], tail);
}

// Free blocks are stamped, collected in a doubly linked list (next at byte 4, previous at byte 8),
// merged with free neighbours that follow them, and handed back to the free lists. Every later
// address depends on the exact order, which is that of the encoder's allocator.
void PpmModel::GlueFreeBlocks() noexcept {
  if (loUnit_ != hiUnit_) SetU16(loUnit_, 0);  // the gap between the unit regions is not free
  uint32_t head = 0;
  for (unsigned i = 0; i < kIndexes; ++i) {
    while (freeList_[i]) {
      const uint32_t b = Pop(i);
      SetU16(b, kFreeStamp);
      SetU16(b + 2, indexToUnits_[i]);
      SetU32(b + 4, head);
      SetU32(b + 8, 0);
      if (head) SetU32(head + 8, b);
      head = b;
    }
  }
  for (uint32_t b = head; b; b = U32(b + 4)) {
    for (;;) {
      const uint32_t n = b + kUnit * U16(b + 2);
      if (U16(n) != kFreeStamp || U16(b + 2) + U16(n + 2) >= 0x10000) break;
      // Unlink n and add its units to b.
      const uint32_t next = U32(n + 4), prev = U32(n + 8);
      if (prev) SetU32(prev + 4, next);
      else head = next;
      if (next) SetU32(next + 8, prev);
      SetU16(n, 0);
      SetU16(b + 2, U16(b + 2) + U16(n + 2));
    }
  }
  while (head) {
    uint32_t b = head;
    head = U32(b + 4);
    unsigned units = U16(b + 2);
    SetU16(b, 0);
    for (; units > 128; units -= 128, b += 128 * kUnit) Push(kIndexes - 1, b);
    unsigned i = units2Index_[units - 1];
    if (indexToUnits_[i] != units) {
      --i;
      const unsigned k = units - indexToUnits_[i];
      Push(k - 1, b + kUnit * (units - k));
    }
    Push(i, b);
  }
}

uint32_t PpmModel::AllocUnitsRare(unsigned index) noexcept {
  if (glueCount_ == 0) {
    glueCount_ = 255;
    GlueFreeBlocks();
    if (freeList_[index]) return Pop(index);
  }
  for (unsigned j = index + 1; j < kIndexes; ++j) {
    if (freeList_[j]) {
      const uint32_t b = Pop(j);
      SplitBlock(b, j, index);
      return b;
    }
  }
  --glueCount_;
  const uint32_t n = kUnit * indexToUnits_[index];
  if (unitsStart_ - pText_ > n) {
    unitsStart_ -= n;
    return unitsStart_;
  }
  return 0;
}

uint32_t PpmModel::AllocUnits(unsigned units) noexcept {
  const unsigned i = units2Index_[units - 1];
  if (freeList_[i]) return Pop(i);
  const uint32_t n = kUnit * indexToUnits_[i];
  if (hiUnit_ - loUnit_ >= n) {
    const uint32_t r = loUnit_;
    loUnit_ += n;
    return r;
  }
  return AllocUnitsRare(i);
}

uint32_t PpmModel::AllocContext() noexcept {
  if (hiUnit_ != loUnit_) return hiUnit_ -= kUnit;
  if (freeList_[0]) return Pop(0);
  return AllocUnitsRare(0);
}

uint32_t PpmModel::ExpandUnits(uint32_t block, unsigned oldUnits) noexcept {
  const unsigned i0 = units2Index_[oldUnits - 1];
  if (i0 == units2Index_[oldUnits]) return block;
  const uint32_t n = AllocUnits(oldUnits + 1);
  if (n) {
    std::memcpy(heap_ + n, heap_ + block, kUnit * oldUnits);
    Push(i0, block);
  }
  return n;
}

uint32_t PpmModel::ShrinkUnits(uint32_t block, unsigned oldUnits, unsigned newUnits) noexcept {
  const unsigned i0 = units2Index_[oldUnits - 1], i1 = units2Index_[newUnits - 1];
  if (i0 == i1) return block;
  if (freeList_[i1]) {
    const uint32_t n = Pop(i1);
    std::memcpy(heap_ + n, heap_ + block, kUnit * newUnits);
    Push(i0, block);
    return n;
  }
  SplitBlock(block, i0, i1);
  return block;
}

// ---------------------------------------------------------------------------------------------------
// Model

void PpmModel::ClearMask() noexcept {
  escCount_ = 1;
  std::memset(charMask_, 0, sizeof charMask_);
}

void PpmModel::RestartModel() noexcept {
  std::memset(charMask_, 0, sizeof charMask_);
  InitHeap();
  initRl_ = -static_cast<int>(maxOrder_ < 12 ? maxOrder_ : 12) - 1;
  const uint32_t root = AllocContext();
  SetU32(root + 8, 0);
  orderFall_ = static_cast<int>(maxOrder_);
  SetU16(root, 256);
  SetU16(root + 2, 257);
  const uint32_t stats = AllocUnits(128);
  SetU32(root + 4, stats);
  for (unsigned s = 0; s < 256; ++s) {
    const uint32_t st = stats + 6 * s;
    Sym(st) = static_cast<uint8_t>(s);
    Freq(st) = 1;
    SetSucc(st, 0);
  }
  foundState_ = stats;
  runLength_ = initRl_;
  prevSuccess_ = 0;
  minContext_ = maxContext_ = root;
  for (unsigned i = 0; i < 128; ++i)
    for (unsigned k = 0; k < 8; ++k)
      for (unsigned m = 0; m < 64; m += 8) binSumm_[i][k + m] = static_cast<uint16_t>(kBinScale - kInitBinEsc[k] / (i + 2));
  for (unsigned i = 0; i < 25; ++i)
    for (unsigned k = 0; k < 16; ++k) see2_[i][k] = {static_cast<uint16_t>((5 * i + 10) << (kPeriodBits - 4)), kPeriodBits - 4, 4};
}

uint32_t PpmModel::FindState(uint32_t ctx, uint8_t symbol) noexcept {
  const unsigned n = NumStats(ctx);
  uint32_t p = Stats(ctx);
  for (unsigned i = 0; i < n; ++i, p += 6)
    if (Sym(p) == symbol) return p;
  return 0;
}

bool PpmModel::DecodeBinSymbol(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept {
  const uint32_t s = OneState(minContext_);
  const uint32_t suffix = Suffix(minContext_);
  if (!suffix) return false;
  hiBitsFlag_ = hb2Flag_[Sym(foundState_)];
  const unsigned freqIndex = Freq(s) ? (Freq(s) - 1u < 127u ? Freq(s) - 1u : 127u) : 0u;
  uint16_t& bs = binSumm_[freqIndex][prevSuccess_ + ns2BsIndex_[(NumStats(suffix) - 1) & 0xFF] + hiBitsFlag_ +
                                     2 * hb2Flag_[Sym(s)] + ((static_cast<uint32_t>(runLength_) >> 26) & 0x20)];
  const unsigned mean = (bs + (1u << (kPeriodBits - 2))) >> kPeriodBits;
  if (rc.GetFreqShift(kTotBits) < bs) {
    foundState_ = s;
    if (Freq(s) < 128) ++Freq(s);
    lo = 0;
    hi = bs;
    bs = static_cast<uint16_t>(bs + kInterval - mean);
    prevSuccess_ = 1;
    ++runLength_;
  } else {
    lo = bs;
    hi = kBinScale;
    bs = static_cast<uint16_t>(bs - mean);
    initEsc_ = kExpEscape[bs >> 10];
    numMasked_ = 1;
    charMask_[Sym(s)] = escCount_;
    prevSuccess_ = 0;
    foundState_ = 0;
  }
  return true;
}

bool PpmModel::DecodeSymbol1(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept {
  const unsigned scale = SummFreq(minContext_);
  uint32_t p = Stats(minContext_);
  const uint32_t count = rc.GetFreq(scale);
  if (count >= scale) return false;
  hi = Freq(p);
  if (count < hi) {
    lo = 0;
    prevSuccess_ = 2 * hi > scale;
    runLength_ += prevSuccess_;
    Freq(p) = static_cast<uint8_t>(hi + 4);
    SetU16(minContext_ + 2, scale + 4);
    foundState_ = p;
    if (Freq(p) > kMaxFreq) Rescale(minContext_);
    return true;
  }
  prevSuccess_ = 0;
  const unsigned n = NumStats(minContext_);
  for (unsigned i = 1; i < n; ++i) {
    p += 6;
    hi += Freq(p);
    if (hi > count) {
      lo = hi - Freq(p);
      Update1(minContext_, p);
      return true;
    }
  }
  hiBitsFlag_ = hb2Flag_[Sym(foundState_)];
  lo = hi;
  hi = scale;
  numMasked_ = n;
  p = Stats(minContext_);
  for (unsigned i = 0; i < n; ++i, p += 6) charMask_[Sym(p)] = escCount_;
  foundState_ = 0;
  return true;
}

void PpmModel::Update1(uint32_t ctx, uint32_t p) noexcept {
  Freq(p) = static_cast<uint8_t>(Freq(p) + 4);
  SetU16(ctx + 2, SummFreq(ctx) + 4);
  foundState_ = p;
  if (Freq(p) > Freq(p - 6)) {
    SwapStates(p, p - 6);
    foundState_ = p - 6;
    if (Freq(p - 6) > kMaxFreq) Rescale(ctx);
  }
}

bool PpmModel::DecodeSymbol2(RangeDecoder& rc, uint32_t& lo, uint32_t& hi) noexcept {
  const unsigned numStats = NumStats(minContext_);
  if (numStats <= numMasked_ || numStats > 256) return false;
  const unsigned diff = numStats - numMasked_;
  See* see;
  unsigned esc;
  if (numStats != 256) {
    const uint32_t suffix = Suffix(minContext_);
    const int suffixStats = suffix ? static_cast<int>(NumStats(suffix)) : 0;
    see = &see2_[ns2Index_[diff - 1]][(static_cast<int>(diff) < suffixStats - static_cast<int>(numStats)) +
                                       2 * (SummFreq(minContext_) < 11 * numStats) + 4 * (numMasked_ > diff) +
                                       hiBitsFlag_];
    esc = see->Mean();
  } else {
    see = &dummySee_;
    esc = 1;
  }
  uint32_t list[256];
  unsigned listSize = 0;
  uint32_t total = 0;
  uint32_t p = Stats(minContext_);
  for (unsigned i = 0; i < numStats && listSize < diff; ++i, p += 6) {
    if (charMask_[Sym(p)] != escCount_) {
      list[listSize++] = p;
      total += Freq(p);
    }
  }
  if (listSize != diff) return false;
  const uint32_t scale = esc + total;
  const uint32_t count = rc.GetFreq(scale);
  if (count >= scale) return false;
  if (count < total) {
    uint32_t acc = 0;
    unsigned k = 0;
    for (;; ++k) {
      acc += Freq(list[k]);
      if (acc > count) break;
    }
    lo = acc - Freq(list[k]);
    hi = acc;
    see->Update();
    Update2(minContext_, list[k]);
  } else {
    lo = total;
    hi = scale;
    for (unsigned k = 0; k < listSize; ++k) charMask_[Sym(list[k])] = escCount_;
    see->summ = static_cast<uint16_t>(see->summ + scale);
    numMasked_ = numStats;
  }
  return true;
}

void PpmModel::Update2(uint32_t ctx, uint32_t p) noexcept {
  foundState_ = p;
  Freq(p) = static_cast<uint8_t>(Freq(p) + 4);
  SetU16(ctx + 2, SummFreq(ctx) + 4);
  if (Freq(p) > kMaxFreq) Rescale(ctx);
  ++escCount_;
  runLength_ = initRl_;
}

void PpmModel::Rescale(uint32_t ctx) noexcept {
  const unsigned oldNs = NumStats(ctx);
  const uint32_t st = Stats(ctx);
  for (uint32_t p = foundState_; p != st; p -= 6) SwapStates(p, p - 6);
  Freq(st) = static_cast<uint8_t>(Freq(st) + 4);
  SetU16(ctx + 2, SummFreq(ctx) + 4);
  int esc = static_cast<int>(SummFreq(ctx)) - Freq(st);
  const unsigned adder = orderFall_ != 0 ? 1 : 0;
  Freq(st) = static_cast<uint8_t>((Freq(st) + adder) >> 1);
  unsigned summ = Freq(st);
  for (unsigned i = 1; i < oldNs; ++i) {
    const uint32_t p = st + 6 * i;
    esc -= Freq(p);
    Freq(p) = static_cast<uint8_t>((Freq(p) + adder) >> 1);
    summ += Freq(p);
    if (Freq(p) > Freq(p - 6)) {
      // Insertion step: keep the array in descending frequency order.
      uint8_t t[6];
      std::memcpy(t, heap_ + p, 6);
      uint32_t j = p;
      do {
        CopyState(j, j - 6);
        j -= 6;
      } while (j != st && t[1] > Freq(j - 6));
      std::memcpy(heap_ + j, t, 6);
    }
  }
  SetU16(ctx + 2, summ);
  if (Freq(st + 6 * (oldNs - 1)) == 0) {
    unsigned zeros = 0;
    for (uint32_t p = st + 6 * (oldNs - 1); zeros + 1 < oldNs && Freq(p) == 0; p -= 6) ++zeros;
    esc += static_cast<int>(zeros);
    const unsigned newNs = oldNs - zeros;
    SetU16(ctx, newNs);
    if (newNs == 1) {
      uint8_t t[6];
      std::memcpy(t, heap_ + st, 6);
      do {
        t[1] = static_cast<uint8_t>(t[1] - (t[1] >> 1));
        esc >>= 1;
      } while (esc > 1);
      FreeUnits(st, (oldNs + 1) >> 1);
      std::memcpy(heap_ + OneState(ctx), t, 6);
      foundState_ = OneState(ctx);
      return;
    }
  }
  esc -= esc >> 1;
  SetU16(ctx + 2, SummFreq(ctx) + static_cast<unsigned>(esc));
  const unsigned newNs = NumStats(ctx);
  if (((oldNs + 1) >> 1) != ((newNs + 1) >> 1)) SetU32(ctx + 4, ShrinkUnits(st, (oldNs + 1) >> 1, (newNs + 1) >> 1));
  foundState_ = Stats(ctx);
}

uint32_t PpmModel::CreateSuccessors(bool skip, uint32_t p1) noexcept {
  uint32_t pc = minContext_;
  const uint32_t upBranch = Succ(foundState_);
  const uint8_t foundSymbol = Sym(foundState_);
  uint32_t stack[kMaxOrder + 2];
  unsigned depth = 0;
  uint32_t p = 0;
  bool build = false;
  if (!skip) {
    stack[depth++] = foundState_;
    if (!Suffix(pc)) build = true;
  }
  if (!build) {
    bool check = false;
    if (p1) {
      p = p1;
      pc = Suffix(pc);
      check = true;
    }
    for (;;) {
      if (!check) {
        pc = Suffix(pc);
        if (!pc) return 0;
        if (NumStats(pc) != 1) {
          p = FindState(pc, foundSymbol);
          if (!p) return 0;
        } else {
          p = OneState(pc);
        }
      }
      check = false;
      if (Succ(p) != upBranch) {
        pc = Succ(p);
        break;
      }
      if (depth >= kMaxOrder + 2) return 0;
      stack[depth++] = p;
      if (!Suffix(pc)) break;
    }
  }
  if (depth == 0) return pc;
  if (upBranch >= heapEnd_) return 0;
  const uint8_t upSymbol = B(upBranch);
  const uint32_t upSucc = upBranch + 1;
  uint8_t upFreq;
  if (NumStats(pc) != 1) {
    if (pc <= pText_) return 0;
    const uint32_t q = FindState(pc, upSymbol);
    if (!q) return 0;
    const uint32_t cf = Freq(q) - 1u;
    const uint32_t s0 = SummFreq(pc) - NumStats(pc) - cf;
    uint32_t f;
    if (2 * cf <= s0) f = 5 * cf > s0;
    else f = s0 ? (2 * cf + 3 * s0 - 1) / (2 * s0) : 0;
    upFreq = static_cast<uint8_t>(1 + f);
  } else {
    upFreq = Freq(OneState(pc));
  }
  while (depth) {
    const uint32_t s = stack[--depth];
    const uint32_t c = AllocContext();
    if (!c) return 0;
    SetU16(c, 1);
    Sym(OneState(c)) = upSymbol;
    Freq(OneState(c)) = upFreq;
    SetSucc(OneState(c), upSucc);
    SetU32(c + 8, pc);
    SetSucc(s, c);
    pc = c;
  }
  return pc;
}

// Adds the symbol just decoded to the longer contexts that did not have it; false when the heap ran
// out (the model has then restarted).
bool PpmModel::UpdateModel() noexcept {
  const uint8_t fsSymbol = Sym(foundState_);
  const unsigned fsFreq = Freq(foundState_);
  uint32_t fsSucc = Succ(foundState_);
  uint32_t p = 0;
  if (fsFreq < kMaxFreq / 4 && Suffix(minContext_)) {
    const uint32_t pc = Suffix(minContext_);
    if (NumStats(pc) != 1) {
      p = FindState(pc, fsSymbol);
      if (!p) goto restart;
      if (p != Stats(pc) && Freq(p) >= Freq(p - 6)) {
        SwapStates(p, p - 6);
        p -= 6;
      }
      if (Freq(p) < kMaxFreq - 9) {
        Freq(p) = static_cast<uint8_t>(Freq(p) + 2);
        SetU16(pc + 2, SummFreq(pc) + 2);
      }
    } else {
      p = OneState(pc);
      if (Freq(p) < 32) ++Freq(p);
    }
  }
  if (orderFall_ == 0) {
    const uint32_t c = CreateSuccessors(true, p);
    SetSucc(foundState_, c);
    minContext_ = maxContext_ = c;
    if (!c) goto restart;
    return true;
  }
  {
    B(pText_++) = fsSymbol;
    uint32_t successor = pText_;
    if (pText_ >= unitsStart_) goto restart;
    if (fsSucc) {
      if (fsSucc <= pText_) {
        fsSucc = CreateSuccessors(false, p);
        if (!fsSucc) goto restart;
      }
      if (--orderFall_ == 0) {
        successor = fsSucc;
        if (maxContext_ != minContext_) --pText_;
      }
    } else {
      SetSucc(foundState_, successor);
      fsSucc = minContext_;
    }
    const unsigned ns = NumStats(minContext_);
    const uint32_t s0 = SummFreq(minContext_) - ns - (fsFreq - 1);
    for (uint32_t pc = maxContext_; pc != minContext_; pc = Suffix(pc)) {
      if (!pc) goto restart;
      const unsigned ns1 = NumStats(pc);
      if (ns1 != 1) {
        if ((ns1 & 1) == 0) {
          const uint32_t stats = ExpandUnits(Stats(pc), ns1 >> 1);
          if (!stats) goto restart;
          SetU32(pc + 4, stats);
        }
        const unsigned sf = SummFreq(pc);
        SetU16(pc + 2, sf + (2 * ns1 < ns) + 2 * ((4 * ns1 <= ns) & (sf <= 8 * ns1)));
      } else {
        const uint32_t q = AllocUnits(1);
        if (!q) goto restart;
        CopyState(q, OneState(pc));
        SetU32(pc + 4, q);
        Freq(q) = static_cast<uint8_t>(Freq(q) < kMaxFreq / 4 - 1 ? Freq(q) * 2 : kMaxFreq - 4);
        SetU16(pc + 2, Freq(q) + initEsc_ + (ns > 3));
      }
      uint32_t cf = 2 * fsFreq * (SummFreq(pc) + 6);
      const uint32_t sf = s0 + SummFreq(pc);
      if (cf < 6 * sf) {
        cf = 1 + (cf > sf) + (cf >= 4 * sf);
        SetU16(pc + 2, SummFreq(pc) + 3);
      } else {
        cf = 4 + (cf >= 9 * sf) + (cf >= 12 * sf) + (cf >= 15 * sf);
        SetU16(pc + 2, SummFreq(pc) + cf);
      }
      const uint32_t st = Stats(pc) + 6 * ns1;
      Sym(st) = fsSymbol;
      Freq(st) = static_cast<uint8_t>(cf);
      SetSucc(st, successor);
      SetU16(pc, ns1 + 1);
    }
    maxContext_ = minContext_ = fsSucc;
    return true;
  }
restart:
  RestartModel();
  escCount_ = 0;
  return false;
}

int PpmModel::DecodeChar(RangeDecoder& rc, BitInput& in) noexcept {
  if (!ready_) return -1;
  uint32_t lo = 0, hi = 0;
  const unsigned numStats = NumStats(minContext_);
  const bool ok = numStats != 1 ? DecodeSymbol1(rc, lo, hi) : DecodeBinSymbol(rc, lo, hi);
  if (!ok) {
    ready_ = false;
    return -1;
  }
  rc.Decode(lo, hi);
  while (!foundState_) {
    rc.Normalize(in);
    do {
      ++orderFall_;
      minContext_ = Suffix(minContext_);
      if (!minContext_) {
        ready_ = false;
        return -1;
      }
    } while (NumStats(minContext_) == numMasked_);
    if (!DecodeSymbol2(rc, lo, hi)) {
      ready_ = false;
      return -1;
    }
    rc.Decode(lo, hi);
  }
  const int symbol = Sym(foundState_);
  if (orderFall_ == 0 && Succ(foundState_) > pText_) {
    minContext_ = maxContext_ = Succ(foundState_);
  } else {
    UpdateModel();
    if (escCount_ == 0) ClearMask();
  }
  rc.Normalize(in);
  return symbol;
}

}  // namespace mx::codec::rar
