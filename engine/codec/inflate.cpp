#include "engine/codec/inflate.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/codec/inflate_decoder.h"

namespace mx::codec {

namespace inflate_detail {

namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Payloads per symbol. Literal/length symbols 286 and 287 and distance symbols 30 and 31 may be given
// lengths but are never valid in the data.
struct Payloads {
  uint32_t lit[288];
  uint32_t dist[32];
  uint32_t precode[19];
};

constexpr Payloads MakePayloads() {
  Payloads p{};
  for (unsigned s = 0; s < 256; ++s) p.lit[s] = HuffPayload(HuffLiteral, 0, s);
  p.lit[256] = HuffPayload(HuffEnd, 0, 0);
  for (unsigned s = 257; s < 286; ++s) p.lit[s] = HuffPayload(0, kLengthExtra[s - 257], kLengthBase[s - 257]);
  p.lit[286] = p.lit[287] = HuffInvalid;
  for (unsigned s = 0; s < 30; ++s) p.dist[s] = HuffPayload(0, kDistExtra[s], kDistBase[s]);
  p.dist[30] = p.dist[31] = HuffInvalid;
  for (unsigned s = 0; s < 19; ++s) p.precode[s] = HuffPayload(0, 0, s);
  return p;
}
constexpr Payloads kPayloads = MakePayloads();

// A code is usable when it is complete, or when it consists of a single code of one bit (the format
// allows that for a block with one distance, or with only the end-of-block code).
bool Usable(HuffmanResult r, std::span<const uint8_t> lens) {
  if (r == HuffmanResult::Complete) return true;
  if (r != HuffmanResult::Incomplete) return false;
  unsigned used = 0;
  for (uint8_t l : lens) {
    if (l > 1) return false;
    used += l;
  }
  return used == 1;
}

}  // namespace

InflateResult Decoder::Run() noexcept {
  InflateResult r;
  Status st = out_.MakeRoom();
  bool last = false;
  while (st == Status::Ok && !last) {
    if (!br_.Need(3)) {
      st = Fail(Status::Truncated);
      break;
    }
    last = br_.Bits(1) != 0;
    switch (br_.Bits(2)) {
      case 0:
        st = Stored();
        break;
      case 1:
        st = Codes(FixedTables(), InflateFault::BadFixedCode);
        break;
      case 2:
        st = Dynamic();
        break;
      default:
        st = Fail(Status::BadData, InflateFault::BadBlockType);
        break;
    }
  }
  // The last block must lie wholly within the input.
  if (st == Status::Ok && br_.Overrun()) st = Status::Truncated;
  Status flushed = out_.Flush();
  if (st == Status::Ok) st = flushed;
  r.status = st;
  r.fault = st == Status::BadData ? fault_ : InflateFault::None;
  r.inputUsed = br_.BytesConsumed();
  r.outputSize = out_.Total();
  return r;
}

Status Decoder::Stored() noexcept {
  br_.AlignToByte();
  if (!br_.Need(32)) return Fail(Status::Truncated);
  unsigned len = br_.Bits(16);
  unsigned nlen = br_.Bits(16);
  if (len != (~nlen & 0xFFFF)) return Fail(Status::BadData, InflateFault::StoredLength);
  while (len > 0) {
    if (out_.pos == out_.end) {
      if (Status st = out_.MakeRoom(); st != Status::Ok) return st;
      if (out_.pos == out_.end) return Status::OutputFull;
    }
    size_t n = std::min<size_t>(len, out_.end - out_.pos);
    size_t got = br_.ReadBytes(out_.base + out_.pos, n);
    out_.pos += got;
    len -= static_cast<unsigned>(got);
    if (got < n) return Fail(Status::Truncated);
  }
  return Status::Ok;
}

const CodeTables& FixedTables() noexcept {
  static const CodeTables fixed = [] {
    CodeTables t;
    uint8_t lens[288];
    std::fill(lens, lens + 144, uint8_t{8});
    std::fill(lens + 144, lens + 256, uint8_t{9});
    std::fill(lens + 256, lens + 280, uint8_t{7});
    std::fill(lens + 280, lens + 288, uint8_t{8});
    BuildHuffmanTable(lens, kPayloads.lit, kLitBits, t.lit, kLitEnough);
    // 32 distance codes of 5 bits: 30 and 31 are unassigned and decode as invalid.
    std::fill(lens, lens + 32, uint8_t{5});
    BuildHuffmanTable(std::span<const uint8_t>(lens, 32), kPayloads.dist, kDistBits, t.dist, kDistEnough);
    return t;
  }();
  return fixed;
}

Status Decoder::Dynamic() noexcept {
  if (!br_.Need(14)) return Fail(Status::Truncated);
  const unsigned nlit = br_.Bits(5) + 257;   // up to 288
  const unsigned ndist = br_.Bits(5) + 1;    // up to 32
  const unsigned ncode = br_.Bits(4) + 4;    // up to 19

  uint8_t pre[19] = {};
  for (unsigned i = 0; i < ncode; ++i) {
    if (!br_.Need(3)) return Fail(Status::Truncated);
    pre[kCodeLengthOrder[i]] = static_cast<uint8_t>(br_.Bits(3));
  }
  uint32_t precode[kPrecodeEnough];
  if (BuildHuffmanTable(pre, kPayloads.precode, kPrecodeBits, precode, kPrecodeEnough) != HuffmanResult::Complete)
    return Fail(Status::BadData, InflateFault::BadCodeLengthCode);

  // The literal/length and distance lengths, as one run-length coded sequence. The bit state lives
  // in locals here (the stores into lens could otherwise alias the reader's fields); a refill from
  // the reader itself serves only the last few bytes of an input block. Runs are written a word at
  // a time, up to 7 bytes past their end, which the array has room for.
  const unsigned total = nlit + ndist;
  uint8_t lens[288 + 32 + 8];
  BitReader::FastState bits = br_.TakeState();
  const auto need14 = [&]() noexcept {
    if (bits.count >= 14) return true;
    if (bits.end - bits.in >= 8) {
      BitReader::FastRefill(bits);
      return true;
    }
    br_.PutState(bits);
    const bool ok = br_.Refill();
    bits = br_.TakeState();
    return ok;
  };
  const auto take = [&](unsigned n) noexcept {
    const unsigned v = static_cast<unsigned>(bits.buf & ((uint64_t{1} << n) - 1));
    bits.buf >>= n;
    bits.count -= n;
    return v;
  };
  unsigned prev = 0;
  for (unsigned i = 0; i < total;) {
    if (!need14()) {
      br_.PutState(bits);
      return Fail(Status::Truncated);
    }
    // The code-length code has no sub-tables: its codes are at most 7 bits long.
    const uint32_t e = precode[bits.buf & (kPrecodeEnough - 1)];
    take(HuffTotalBits(e));
    const unsigned sym = HuffValue(e);
    if (sym < 16) {
      lens[i++] = static_cast<uint8_t>(sym);
      prev = sym;
      continue;
    }
    unsigned value = 0;
    unsigned repeat;
    if (sym == 16) {
      repeat = 3 + take(2);
      value = prev;
    } else if (sym == 17) {
      repeat = 3 + take(3);
      prev = 0;
    } else {
      repeat = 11 + take(7);
      prev = 0;
    }
    if (repeat > total - i) {
      br_.PutState(bits);
      return Fail(Status::BadData, InflateFault::BadRepeat);
    }
    const uint64_t word = value * 0x0101010101010101u;
    for (unsigned k = 0; k < repeat; k += 8) std::memcpy(lens + i + k, &word, 8);
    i += repeat;
  }
  br_.PutState(bits);

  std::span<const uint8_t> litLens(lens, nlit);
  std::span<const uint8_t> distLens(lens + nlit, ndist);
  if (lens[256] == 0) return Fail(Status::BadData, InflateFault::BadLiteralCode);
  if (!Usable(BuildHuffmanTable(litLens, kPayloads.lit, kLitBits, t_.dynamic.lit, kLitEnough), litLens))
    return Fail(Status::BadData, InflateFault::BadLiteralCode);
  HuffmanResult d = BuildHuffmanTable(distLens, kPayloads.dist, kDistBits, t_.dynamic.dist, kDistEnough);
  // No distance code at all is fine for a block of literals; a length code then fails as invalid.
  if (d != HuffmanResult::Empty && !Usable(d, distLens)) return Fail(Status::BadData, InflateFault::BadDistanceCode);
  return Codes(t_.dynamic, InflateFault::BadDynamicCode);
}

}  // namespace inflate_detail

InflateMessage InflateResult::Message() const noexcept {
  switch (status) {
    case Status::Ok:
      return InflateMessage::None;
    case Status::NoMemory:
      return InflateMessage::OutOfMemory;
    case Status::OutputFull:
      return InflateMessage::WriteError;
    case Status::BadData:
      switch (fault) {
        case InflateFault::BadCodeLengthCode:
        case InflateFault::BadRepeat:
        case InflateFault::BadLiteralCode:
        case InflateFault::BadDistanceCode:
        case InflateFault::BadDynamicCode:
          return InflateMessage::IncompleteCodeSet;
        default:
          return InflateMessage::BadBlock;
      }
    default:  // Truncated, Cancelled, End
      return InflateMessage::BadBlock;
  }
}

Inflater::Inflater() noexcept = default;
Inflater::~Inflater() = default;

namespace inflate_detail {

InflateResult RunWhole(Tables& tables, std::span<const uint8_t> in, std::span<uint8_t> out) noexcept {
  BitReader br(in);
  Output o;
  o.base = out.data();
  o.end = out.size();
  return Decoder(br, o, tables).Run();
}

InflateResult RunStream(Tables& tables, uint8_t* window, ByteSource& in, ByteSink& out, uint64_t limit) noexcept {
  BitReader br(in);
  Output o;
  o.bufSize = kStreamBuffer;
  o.base = window;
  o.sink = &out;
  o.limit = limit;
  return Decoder(br, o, tables).Run();
}

}  // namespace inflate_detail

InflateResult Inflater::Run(std::span<const uint8_t> in, std::span<uint8_t> out) noexcept {
  using namespace inflate_detail;
  if (!tables_) tables_.reset(new (std::nothrow) Tables);
  if (!tables_) return InflateResult{Status::NoMemory};
  return RunWhole(*tables_, in, out);
}

InflateResult Inflater::Run(ByteSource& in, ByteSink& out, uint64_t outputLimit) noexcept {
  using namespace inflate_detail;
  if (!tables_) tables_.reset(new (std::nothrow) Tables);
  if (!window_) window_.reset(new (std::nothrow) uint8_t[kStreamBuffer]);
  if (!tables_ || !window_) return InflateResult{Status::NoMemory};
  return RunStream(*tables_, window_.get(), in, out, outputLimit);
}

// The free forms keep their tables on the stack: only the streaming window is allocated.
InflateResult Inflate(std::span<const uint8_t> in, std::span<uint8_t> out) noexcept {
  inflate_detail::Tables tables;
  return inflate_detail::RunWhole(tables, in, out);
}

InflateResult Inflate(ByteSource& in, ByteSink& out, uint64_t outputLimit) noexcept {
  using namespace inflate_detail;
  std::unique_ptr<uint8_t[]> window(new (std::nothrow) uint8_t[kStreamBuffer]);
  if (!window) return InflateResult{Status::NoMemory};
  Tables tables;
  return RunStream(tables, window.get(), in, out, outputLimit);
}

}  // namespace mx::codec
