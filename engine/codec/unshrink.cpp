#include "engine/codec/unshrink.h"

#include <array>
#include <memory>
#include <new>

#include "engine/codec/bitreader.h"
#include "engine/codec/legacy_output.h"

namespace mx::codec {
namespace {

constexpr int kTableSize = 8192;  // codes of up to 13 bits
constexpr int kEscape = 256;      // followed by 1 (grow the code size) or 2 (partial clear)
constexpr int kFirstFree = 257;
constexpr unsigned kMaxCodeSize = 13;

// The code table. Codes 0 to 255 stand for their byte; the string of a code above 256 is its
// parent's string followed by its character.
//
// A partial clear only marks a code free: its parent and character stay until the code is handed
// out again. Writers send the clear right after the code that the next entry hangs on, and that code
// is often a leaf that the clear frees, so its string must still be there when the entry is added.
// The price is that a hostile stream can make a code its own ancestor; the walk is therefore
// bounded by the stack size, which no string of a sound table reaches.
struct UnshrinkState {
  UnshrinkState(ByteSink& sink, uint64_t size) : out(sink, size) {
    parent.fill(-1);
    for (int c = 0; c < 256; ++c) character[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
    for (int c = kFirstFree; c < kTableSize; ++c) {
      freeList[static_cast<size_t>(c)] = static_cast<uint16_t>(c);
      isFree[static_cast<size_t>(c)] = 1;
    }
  }
  bool Defined(int code) const noexcept { return code <= kEscape || !isFree[static_cast<size_t>(code)]; }

  std::array<int16_t, kTableSize> parent{};
  std::array<uint8_t, kTableSize> character{};
  std::array<uint8_t, kTableSize> hasChild{};  // scratch of PartialClear
  std::array<uint8_t, kTableSize> isFree{};
  // Free codes, handed out from index nextFree upward; indexes 257 to 8191 are used, 8192 means full.
  std::array<uint16_t, kTableSize> freeList{};
  int nextFree = kFirstFree;
  std::array<uint8_t, kTableSize> stack{};  // a string's bytes, last byte first
  LegacyOutput out;
};

// Frees every code above 256 that is not the parent of a code in use; a code that loses its last
// child here stays until the next clear. All free codes are handed out again in ascending order.
// The whole table is looked at, also above the code handed out last: writers clear when every code
// below their limit is taken, and then a look that stops at the last code gives the same result.
void PartialClear(UnshrinkState& s) noexcept {
  s.hasChild.fill(0);
  for (int c = kFirstFree; c < kTableSize; ++c) {
    size_t i = static_cast<size_t>(c);
    if (!s.isFree[i] && s.parent[i] > kEscape) s.hasChild[static_cast<size_t>(s.parent[i])] = 1;
  }
  s.nextFree = kTableSize;
  for (int c = kTableSize - 1; c >= kFirstFree; --c) {
    size_t i = static_cast<size_t>(c);
    if (s.hasChild[i] && !s.isFree[i]) continue;
    s.isFree[i] = 1;
    s.freeList[static_cast<size_t>(--s.nextFree)] = static_cast<uint16_t>(c);
  }
}

}  // namespace

Status Unshrink(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept {
  std::unique_ptr<UnshrinkState> sp(new (std::nothrow) UnshrinkState(out, outSize));
  if (!sp) return Status::NoMemory;
  UnshrinkState& s = *sp;
  if (s.out.Full()) return Status::Ok;

  BitReader br(in);
  unsigned codeSize = 9;
  br.Refill();
  int prev = static_cast<int>(br.Bits(codeSize));
  if (br.Overrun()) return br.Fault(Status::Truncated);
  uint8_t prevFirst = static_cast<uint8_t>(prev);
  Status st = s.out.Put(prevFirst);

  while (st == Status::Ok && !s.out.Full()) {
    br.Refill();  // an escape and its argument take at most 26 bits
    int code = static_cast<int>(br.Bits(codeSize));
    if (br.Overrun()) break;
    if (code == kEscape) {
      unsigned what = br.Bits(codeSize);
      if (br.Overrun()) break;
      if (what == 1 && codeSize < kMaxCodeSize) {
        ++codeSize;
      } else if (what == 2) {
        PartialClear(s);
      } else {
        st = Status::BadData;
      }
      continue;
    }

    // Collect the string backwards on the stack. A code that is not defined yet can only be the
    // one about to be defined: the previous string followed by its own first byte.
    int depth = 0;
    int node = code;
    if (!s.Defined(code)) {
      if (s.nextFree >= kTableSize || code != s.freeList[static_cast<size_t>(s.nextFree)]) {
        st = Status::BadData;
        break;
      }
      s.stack[static_cast<size_t>(depth++)] = prevFirst;
      node = prev;
    }
    while (node > kEscape) {
      int p = s.parent[static_cast<size_t>(node)];
      if (p < 0 || depth == kTableSize) break;  // never defined, or a loop
      s.stack[static_cast<size_t>(depth++)] = s.character[static_cast<size_t>(node)];
      node = p;
    }
    if (node > kEscape) {
      st = Status::BadData;
      break;
    }
    uint8_t first = s.character[static_cast<size_t>(node)];
    st = s.out.Put(first);
    while (st == Status::Ok && depth > 0) {
      if (s.out.Full()) {
        st = Status::OutputFull;
        break;
      }
      st = s.out.Put(s.stack[static_cast<size_t>(--depth)]);
    }

    // Define the next code as the previous string plus this string's first byte. When the table
    // is full nothing is added until the next partial clear.
    if (s.nextFree < kTableSize) {
      size_t c = s.freeList[static_cast<size_t>(s.nextFree++)];
      s.parent[c] = static_cast<int16_t>(prev);
      s.character[c] = first;
      s.isFree[c] = 0;
    }
    prev = code;
    prevFirst = first;
  }
  if (st == Status::Ok && br.Overrun()) st = br.Fault(Status::Truncated);
  Status flushed = s.out.Flush();
  return st != Status::Ok ? st : flushed;
}

}  // namespace mx::codec
