#include "engine/codec/explode.h"

#include <array>
#include <memory>
#include <new>

#include "engine/codec/bitreader.h"
#include "engine/codec/legacy_output.h"

namespace mx::codec {
namespace {

// One node of a Shannon-Fano decode tree: the node reached by a 0 bit and by a 1 bit, -1 for none.
// Node numbers below the tree's leaf count are the symbols themselves; inner nodes are numbered from
// the root (the highest number) downward as they are created.
struct Node {
  int32_t link[2] = {-1, -1};
};

struct TreeView {
  Node* nodes;
  int leaves;  // 256 for literals, 64 for lengths and distances
  int root;    // 2 * leaves - 1
};

// A code of at most 16 bits, read highest bit first.
struct CodeEntry {
  uint8_t bits;
  uint16_t symbol;
  uint16_t code;
};

struct ExplodeState {
  explicit ExplodeState(ByteSink& sink, uint64_t size) : out(sink, size) {}
  std::array<Node, 512> literal{};
  std::array<Node, 128> length{};
  std::array<Node, 128> distance{};
  std::array<CodeEntry, 256> codes{};
  std::array<uint8_t, 8192> window{};  // zeros, so distances before the first byte copy zeros
  LegacyOutput out;
};

// Reads one tree description and builds the tree. Description: one byte holding (number of bytes
// that follow - 1); each following byte holds (symbol count - 1) in its high nibble and (code length
// - 1) in its low nibble, for consecutive symbols starting at 0.
Status ReadTree(BitReader& br, TreeView tree, std::array<CodeEntry, 256>& codes) noexcept {
  br.Refill();
  int bytes = static_cast<int>(br.Bits(8)) + 1;
  int n = 0;
  std::array<uint8_t, 256> lengthOf{};
  for (int i = 0; i < bytes; ++i) {
    br.Need(8);
    uint32_t b = br.Bits(8);
    int bits = static_cast<int>(b & 15) + 1;
    int count = static_cast<int>(b >> 4) + 1;
    if (br.Overrun()) return br.Fault(Status::Truncated);
    if (n + count > tree.leaves) return Status::BadData;
    for (int k = 0; k < count; ++k) lengthOf[static_cast<size_t>(n++)] = static_cast<uint8_t>(bits);
  }
  // Sort by code length, equal lengths by symbol (stable by construction).
  int m = 0;
  for (int bits = 1; bits <= 16; ++bits)
    for (int s = 0; s < n; ++s)
      if (lengthOf[static_cast<size_t>(s)] == bits)
        codes[static_cast<size_t>(m++)] = CodeEntry{static_cast<uint8_t>(bits), static_cast<uint16_t>(s), 0};

  // Codes are handed out from the longest upward, in 16-bit arithmetic; an over-full description
  // wraps and then collides below.
  uint32_t code = 0;
  uint32_t increment = 0;
  int lastBits = 0;
  for (int i = n - 1; i >= 0; --i) {
    CodeEntry& e = codes[static_cast<size_t>(i)];
    code = (code + increment) & 0xFFFF;
    if (e.bits != lastBits) {
      lastBits = e.bits;
      increment = 1u << (16 - lastBits);
    }
    e.code = static_cast<uint16_t>(code >> (16 - e.bits));
  }

  int nextInner = tree.root - 1;
  for (int i = 0; i < n; ++i) {
    const CodeEntry& e = codes[static_cast<size_t>(i)];
    int node = tree.root;
    for (int b = e.bits - 1; b >= 1; --b) {
      int bit = (e.code >> b) & 1;
      int32_t& link = tree.nodes[node].link[bit];
      if (link < 0) {
        if (nextInner < tree.leaves) return Status::BadData;  // out of inner nodes
        link = nextInner--;
      } else if (link < tree.leaves) {
        return Status::BadData;  // a shorter code is a prefix of this one
      }
      node = link;
    }
    int32_t& leaf = tree.nodes[node].link[e.code & 1];
    if (leaf >= 0) return Status::BadData;  // code already taken
    leaf = e.symbol;
  }
  return Status::Ok;
}

// Walks the tree one bit per step; -1 for a missing branch. Links always lead to lower node numbers,
// so the walk ends within the tree's depth. The caller has made at least 16 bits available.
int Decode(BitReader& br, TreeView tree) noexcept {
  int node = tree.root;
  while (node >= tree.leaves) {
    node = tree.nodes[node].link[br.Bits(1)];
    if (node < 0) return -1;
  }
  return node;
}

}  // namespace

Status Explode(ByteSource& in, ByteSink& out, uint16_t flags, uint64_t outSize) noexcept {
  std::unique_ptr<ExplodeState> s(new (std::nothrow) ExplodeState(out, outSize));
  if (!s) return Status::NoMemory;

  const bool bigWindow = (flags & kImplodeFlag8KWindow) != 0;
  const bool literalTree = (flags & kImplodeFlagLiteralTree) != 0;
  const unsigned windowMask = bigWindow ? 0x1FFF : 0x0FFF;
  const unsigned lowDistanceBits = bigWindow ? 7 : 6;
  const unsigned minMatch = literalTree ? 3 : 2;

  TreeView lit{s->literal.data(), 256, 511};
  TreeView len{s->length.data(), 64, 127};
  TreeView dist{s->distance.data(), 64, 127};

  BitReader br(in);
  Status st = Status::Ok;
  if (literalTree && (st = ReadTree(br, lit, s->codes)) != Status::Ok) return st;
  if ((st = ReadTree(br, len, s->codes)) != Status::Ok) return st;
  if ((st = ReadTree(br, dist, s->codes)) != Status::Ok) return st;

  unsigned pos = 0;
  auto put = [&](uint8_t b) noexcept {
    s->window[pos] = b;
    pos = (pos + 1) & windowMask;
    return s->out.Put(b);
  };

  // One step needs at most 1 + 7 + 16 + 16 + 8 = 48 bits, within one refill.
  while (!s->out.Full()) {
    br.Refill();
    if (br.Bits(1)) {
      int b = literalTree ? Decode(br, lit) : static_cast<int>(br.Bits(8));
      if (br.Overrun()) break;
      if (b < 0) {
        st = Status::BadData;
        break;
      }
      if ((st = put(static_cast<uint8_t>(b))) != Status::Ok) break;
      continue;
    }
    unsigned low = br.Bits(lowDistanceBits);
    int high = Decode(br, dist);
    int lengthSymbol = high < 0 ? -1 : Decode(br, len);
    if (br.Overrun()) break;
    if (lengthSymbol < 0) {
      st = Status::BadData;
      break;
    }
    unsigned length = static_cast<unsigned>(lengthSymbol);
    if (length == 63) length += br.Bits(8);
    if (br.Overrun()) break;
    length += minMatch;
    unsigned distance = ((static_cast<unsigned>(high) << lowDistanceBits) | low) & windowMask;
    unsigned from = (pos - distance - 1) & windowMask;
    for (; length > 0 && !s->out.Full(); --length) {
      uint8_t b = s->window[from];
      from = (from + 1) & windowMask;
      if ((st = put(b)) != Status::Ok) break;
    }
    if (st != Status::Ok) break;
  }
  if (st == Status::Ok && br.Overrun()) st = br.Fault(Status::Truncated);
  Status flushed = s->out.Flush();
  return st != Status::Ok ? st : flushed;
}

}  // namespace mx::codec
