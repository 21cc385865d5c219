#include "engine/codec/lzhuf.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "engine/codec/legacy_output.h"
#include "engine/codec/lzh_decoder.h"

namespace mx::codec {

namespace {

constexpr int kN = 4096;         // ring size
constexpr int kF = 60;           // longest match
constexpr int kThreshold = 2;    // matches this short are sent as literals
constexpr int kNil = kN;         // no node
constexpr int kNChar = 256 - kThreshold + kF;  // 314 symbols
constexpr int kT = 2 * kNChar - 1;             // 627 tree nodes
constexpr int kR = kT - 1;                     // the root
constexpr unsigned kMaxFreq = 0x8000;

// The fixed code of a position's upper 6 bits: lengths, codes (left-aligned in 8 bits) and the
// 256-entry decoding tables, all derived from the lengths.
struct PositionCode {
  std::array<uint8_t, 64> len{};
  std::array<uint8_t, 64> code{};
  std::array<uint8_t, 256> dCode{};
  std::array<uint8_t, 256> dLen{};
  constexpr PositionCode() {
    constexpr int counts[9] = {0, 0, 0, 1, 3, 8, 12, 24, 16};  // codes per length 3..8
    int i = 0;
    for (int l = 3; l <= 8; ++l)
      for (int k = 0; k < counts[l]; ++k) len[size_t(i++)] = static_cast<uint8_t>(l);
    unsigned c = 0;
    for (size_t j = 0; j < 64; ++j) {
      code[j] = static_cast<uint8_t>(c);
      for (unsigned b = 0; b < (1u << (8 - len[j])); ++b) {
        dCode[c + b] = static_cast<uint8_t>(j);
        dLen[c + b] = len[j];
      }
      c += 1u << (8 - len[j]);
    }
  }
};
constexpr PositionCode kPos;

// The adaptive Huffman model shared by both directions.
struct Model {
  std::array<uint16_t, kT + 1> freq{};
  std::array<int16_t, kT + kNChar> prnt{};
  std::array<int16_t, kT> son{};

  void Start() {
    for (int i = 0; i < kNChar; ++i) {
      freq[size_t(i)] = 1;
      son[size_t(i)] = static_cast<int16_t>(i + kT);
      prnt[size_t(i + kT)] = static_cast<int16_t>(i);
    }
    int i = 0;
    for (int j = kNChar; j <= kR; ++j, i += 2) {
      freq[size_t(j)] = static_cast<uint16_t>(freq[size_t(i)] + freq[size_t(i + 1)]);
      son[size_t(j)] = static_cast<int16_t>(i);
      prnt[size_t(i)] = prnt[size_t(i + 1)] = static_cast<int16_t>(j);
    }
    freq[kT] = 0xFFFF;
    prnt[kR] = 0;
  }

  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kT; ++i) {
      if (son[size_t(i)] >= kT) {
        freq[size_t(j)] = static_cast<uint16_t>((freq[size_t(i)] + 1) / 2);
        son[size_t(j)] = son[size_t(i)];
        ++j;
      }
    }
    for (int i = 0, k2 = kNChar; k2 < kT; i += 2, ++k2) {
      const unsigned f = unsigned{freq[size_t(i)]} + freq[size_t(i + 1)];
      freq[size_t(k2)] = static_cast<uint16_t>(f);
      int k = k2 - 1;
      while (f < freq[size_t(k)]) --k;
      ++k;
      const size_t moved = size_t(k2 - k);
      std::memmove(&freq[size_t(k + 1)], &freq[size_t(k)], moved * sizeof(uint16_t));
      freq[size_t(k)] = static_cast<uint16_t>(f);
      std::memmove(&son[size_t(k + 1)], &son[size_t(k)], moved * sizeof(int16_t));
      son[size_t(k)] = static_cast<int16_t>(i);
    }
    for (int i = 0; i < kT; ++i) {
      const int k = son[size_t(i)];
      if (k >= kT)
        prnt[size_t(k)] = static_cast<int16_t>(i);
      else
        prnt[size_t(k)] = prnt[size_t(k + 1)] = static_cast<int16_t>(i);
    }
  }

  void Update(int c) {
    if (freq[kR] == kMaxFreq) Rebuild();
    c = prnt[size_t(c + kT)];
    do {
      const unsigned k = ++freq[size_t(c)];
      int l = c + 1;
      if (k > freq[size_t(l)]) {
        while (k > freq[size_t(++l)]) {
        }
        --l;
        freq[size_t(c)] = freq[size_t(l)];
        freq[size_t(l)] = static_cast<uint16_t>(k);
        const int i = son[size_t(c)];
        prnt[size_t(i)] = static_cast<int16_t>(l);
        if (i < kT) prnt[size_t(i + 1)] = static_cast<int16_t>(l);
        const int j = son[size_t(l)];
        son[size_t(l)] = static_cast<int16_t>(i);
        prnt[size_t(j)] = static_cast<int16_t>(c);
        if (j < kT) prnt[size_t(j + 1)] = static_cast<int16_t>(c);
        son[size_t(c)] = static_cast<int16_t>(j);
        c = l;
      }
    } while ((c = prnt[size_t(c)]) != 0);
  }
};

// MSB-first bit output in 16-bit steps, bytes leaving through a 32 KB buffer.
class CodeWriter {
 public:
  explicit CodeWriter(ByteSink& sink) : sink_(sink) {}
  void Put(unsigned bits, unsigned code) {  // code left-aligned in 16 bits
    putBuf_ |= code >> putLen_;
    putLen_ += bits;
    if (putLen_ >= 8) {
      Byte(static_cast<uint8_t>(putBuf_ >> 8));
      putLen_ -= 8;
      if (putLen_ >= 8) {
        Byte(static_cast<uint8_t>(putBuf_));
        putLen_ -= 8;
        putBuf_ = (code << (bits - putLen_)) & 0xFFFF;
      } else {
        putBuf_ = (putBuf_ << 8) & 0xFFFF;
      }
    }
  }
  Status Finish() {
    if (putLen_ > 0) Byte(static_cast<uint8_t>(putBuf_ >> 8));
    return Flush();
  }
  Status Failure() const { return failure_; }

 private:
  void Byte(uint8_t b) {
    buf_[pos_++] = b;
    if (pos_ == buf_.size()) Flush();
  }
  Status Flush() {
    if (pos_ > 0 && failure_ == Status::Ok) failure_ = sink_.Write(std::span<const uint8_t>(buf_.data(), pos_));
    pos_ = 0;
    return failure_;
  }
  ByteSink& sink_;
  unsigned putBuf_ = 0;
  unsigned putLen_ = 0;
  std::array<uint8_t, 32768> buf_{};
  size_t pos_ = 0;
  Status failure_ = Status::Ok;
};

struct Encoder {
  Model model;
  std::array<uint8_t, kN + kF - 1> text{};
  std::array<int16_t, kN + 1> lson{}, dad{};
  std::array<int16_t, kN + 257> rson{};
  int matchLength = 0;
  int matchPosition = 0;

  void InitTree() {
    for (int i = kN + 1; i <= kN + 256; ++i) rson[size_t(i)] = kNil;
    for (int i = 0; i < kN; ++i) dad[size_t(i)] = kNil;
  }

  void InsertNode(int r) {
    int cmp = 1;
    const uint8_t* key = &text[size_t(r)];
    int p = kN + 1 + key[0];
    rson[size_t(r)] = lson[size_t(r)] = kNil;
    matchLength = 0;
    for (;;) {
      if (cmp >= 0) {
        if (rson[size_t(p)] != kNil) {
          p = rson[size_t(p)];
        } else {
          rson[size_t(p)] = static_cast<int16_t>(r);
          dad[size_t(r)] = static_cast<int16_t>(p);
          return;
        }
      } else {
        if (lson[size_t(p)] != kNil) {
          p = lson[size_t(p)];
        } else {
          lson[size_t(p)] = static_cast<int16_t>(r);
          dad[size_t(r)] = static_cast<int16_t>(p);
          return;
        }
      }
      int i = 1;
      for (; i < kF; ++i)
        if ((cmp = key[i] - text[size_t(p + i)]) != 0) break;
      if (i > kThreshold) {
        const int position = ((r - p) & (kN - 1)) - 1;
        if (i > matchLength) {
          matchPosition = position;
          if ((matchLength = i) >= kF) break;
        } else if (i == matchLength && position < matchPosition) {
          matchPosition = position;
        }
      }
    }
    // A full-length match: the new node takes the old node's place.
    dad[size_t(r)] = dad[size_t(p)];
    lson[size_t(r)] = lson[size_t(p)];
    rson[size_t(r)] = rson[size_t(p)];
    dad[size_t(lson[size_t(p)])] = static_cast<int16_t>(r);
    dad[size_t(rson[size_t(p)])] = static_cast<int16_t>(r);
    if (rson[size_t(dad[size_t(p)])] == p)
      rson[size_t(dad[size_t(p)])] = static_cast<int16_t>(r);
    else
      lson[size_t(dad[size_t(p)])] = static_cast<int16_t>(r);
    dad[size_t(p)] = kNil;
  }

  void DeleteNode(int p) {
    if (dad[size_t(p)] == kNil) return;
    int q;
    if (rson[size_t(p)] == kNil) {
      q = lson[size_t(p)];
    } else if (lson[size_t(p)] == kNil) {
      q = rson[size_t(p)];
    } else {
      q = lson[size_t(p)];
      if (rson[size_t(q)] != kNil) {
        do {
          q = rson[size_t(q)];
        } while (rson[size_t(q)] != kNil);
        rson[size_t(dad[size_t(q)])] = lson[size_t(q)];
        dad[size_t(lson[size_t(q)])] = dad[size_t(q)];
        lson[size_t(q)] = lson[size_t(p)];
        dad[size_t(lson[size_t(p)])] = static_cast<int16_t>(q);
      }
      rson[size_t(q)] = rson[size_t(p)];
      dad[size_t(rson[size_t(p)])] = static_cast<int16_t>(q);
    }
    dad[size_t(q)] = dad[size_t(p)];
    if (rson[size_t(dad[size_t(p)])] == p)
      rson[size_t(dad[size_t(p)])] = static_cast<int16_t>(q);
    else
      lson[size_t(dad[size_t(p)])] = static_cast<int16_t>(q);
    dad[size_t(p)] = kNil;
  }

  void EncodeChar(CodeWriter& w, int c) {
    // The path from the leaf up to the root, first step in the lowest collected bit: the code is
    // the top Bits bits. An unlucky weight distribution can make it deeper than 16 bits.
    uint32_t code = 0;
    unsigned bits = 0;
    int k = model.prnt[size_t(c + kT)];
    do {
      code >>= 1;
      if (k & 1) code |= 0x80000000u;
      ++bits;
    } while ((k = model.prnt[size_t(k)]) != kR);
    if (bits > 16) {
      w.Put(16, code >> 16);
      w.Put(bits - 16, code & 0xFFFF);
    } else {
      w.Put(bits, code >> 16);
    }
    model.Update(c);
  }

  static void EncodePosition(CodeWriter& w, int position) {
    const size_t i = size_t(position >> 6);
    w.Put(kPos.len[i], unsigned{kPos.code[i]} << 8);
    w.Put(6, unsigned(position & 0x3F) << 10);
  }
};

// One byte at a time from a block source.
class ByteReader {
 public:
  explicit ByteReader(ByteSource& in) : in_(in) {}
  // False at the end of the input or on a failure.
  bool Next(uint8_t& b) {
    while (pos_ >= block_.size()) {
      if (ended_) return false;
      Status st = in_.Read(block_);
      pos_ = 0;
      if (st != Status::Ok) {
        block_ = {};
        ended_ = true;
        if (st != Status::End) failure_ = st;
        return false;
      }
    }
    b = block_[pos_++];
    return true;
  }
  Status Failure() const { return failure_; }

 private:
  ByteSource& in_;
  std::span<const uint8_t> block_;
  size_t pos_ = 0;
  bool ended_ = false;
  Status failure_ = Status::Ok;
};

}  // namespace

Status LzhufEncode(ByteSource& in, ByteSink& out) noexcept {
  std::unique_ptr<Encoder> e(new (std::nothrow) Encoder);
  std::unique_ptr<CodeWriter> w(new (std::nothrow) CodeWriter(out));
  if (!e || !w) return Status::NoMemory;
  ByteReader src(in);
  e->model.Start();
  e->InitTree();
  int s = 0;
  int r = kN - kF;
  std::memset(e->text.data(), ' ', size_t(r));
  int len = 0;
  uint8_t c = 0;
  for (; len < kF && src.Next(c); ++len) e->text[size_t(r + len)] = c;
  if (src.Failure() != Status::Ok) return src.Failure();
  if (len == 0) return Status::Ok;
  for (int i = 1; i <= kF; ++i) e->InsertNode(r - i);
  e->InsertNode(r);
  do {
    if (e->matchLength > len) e->matchLength = len;
    if (e->matchLength <= kThreshold) {
      e->matchLength = 1;
      e->EncodeChar(*w, e->text[size_t(r)]);
    } else {
      e->EncodeChar(*w, 255 - kThreshold + e->matchLength);
      Encoder::EncodePosition(*w, e->matchPosition);
    }
    if (w->Failure() != Status::Ok) return w->Failure();
    const int last = e->matchLength;
    int i = 0;
    for (; i < last && src.Next(c); ++i) {
      e->DeleteNode(s);
      e->text[size_t(s)] = c;
      if (s < kF - 1) e->text[size_t(s + kN)] = c;
      s = (s + 1) & (kN - 1);
      r = (r + 1) & (kN - 1);
      e->InsertNode(r);
    }
    if (src.Failure() != Status::Ok) return src.Failure();
    while (i++ < last) {
      e->DeleteNode(s);
      s = (s + 1) & (kN - 1);
      r = (r + 1) & (kN - 1);
      if (--len) e->InsertNode(r);
    }
  } while (len > 0);
  return w->Finish();
}

Status LzhufDecode(ByteSource& in, ByteSink& out, uint64_t outSize) noexcept {
  if (outSize == 0) return Status::Ok;
  std::unique_ptr<Model> model(new (std::nothrow) Model);
  std::unique_ptr<std::array<uint8_t, kN>> ring(new (std::nothrow) std::array<uint8_t, kN>);
  std::unique_ptr<LegacyOutput> output(new (std::nothrow) LegacyOutput(out, outSize));
  if (!model || !ring || !output) return Status::NoMemory;
  model->Start();
  std::memset(ring->data(), ' ', kN - kF);
  std::memset(ring->data() + (kN - kF), 0, kF);
  unsigned r = kN - kF;
  LzhBitReader bits(in);
  while (!output->Full()) {
    if (bits.Failure() != Status::Ok) return bits.Failure();
    if (bits.Overrun()) {
      Status st = output->Flush();
      return st == Status::Ok ? Status::Truncated : st;
    }
    // Literal or length: walk the adaptive tree from the root (at most 627 steps).
    int c = model->son[kR];
    while (c < kT) c = model->son[size_t(c + int(bits.Get(1)))];
    c -= kT;
    model->Update(c);
    if (c < 256) {
      (*ring)[r] = static_cast<uint8_t>(c);
      r = (r + 1) & (kN - 1);
      if (Status st = output->Put(static_cast<uint8_t>(c)); st != Status::Ok) return st;
      continue;
    }
    // Position: a byte gives the upper 6 bits and the count of further bits.
    unsigned i = bits.Get(8);
    const unsigned upper = unsigned{kPos.dCode[i]} << 6;
    const unsigned extra = kPos.dLen[i] - 2u;
    i = (i << extra) | bits.Get(extra);
    const unsigned position = upper | (i & 0x3F);
    unsigned from = (r - position - 1) & (kN - 1);
    const int length = c - 255 + kThreshold;
    for (int k = 0; k < length && !output->Full(); ++k) {
      const uint8_t b = (*ring)[from];
      from = (from + 1) & (kN - 1);
      (*ring)[r] = b;
      r = (r + 1) & (kN - 1);
      if (Status st = output->Put(b); st != Status::Ok) return st;
    }
  }
  return output->Flush();
}

}  // namespace mx::codec
