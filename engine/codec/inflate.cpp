#include "engine/codec/inflate.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "engine/codec/bitreader.h"
#include "engine/codec/huffman.h"

namespace mx::codec {
namespace {

// ---- Constants of the format -------------------------------------------------------------------

constexpr unsigned kMaxMatch = 258;
constexpr size_t kHistory = 32768;      // farthest a match reaches back
constexpr size_t kStreamChunk = 131072; // output collected before each push to the sink
constexpr size_t kCopySlack = 8;        // match copies may write this far past their end

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// Root bits: most literal/length codes and nearly all distance codes resolve in one lookup.
constexpr unsigned kLitBits = 11;
constexpr unsigned kDistBits = 8;
constexpr unsigned kPrecodeBits = 7;
// Largest tables any code can need with these root bits and codes of at most 15 bits, found by
// enumerating every possible code (288 symbols / 11 root bits, 32 symbols / 8 root bits). The
// builder also checks the capacity, so a table can never overflow.
constexpr size_t kLitEnough = 2342;
constexpr size_t kDistEnough = 402;
constexpr size_t kPrecodeEnough = 128;  // 19 symbols of at most 7 bits with 7 root bits: no sub-tables
static_assert(kPrecodeEnough == size_t{1} << kPrecodeBits);

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

// ---- Output ------------------------------------------------------------------------------------
//
// The output buffer is the caller's buffer (whole-buffer form) or a history window followed by a
// chunk (streaming form). Bytes [0, pos) are the output reachable by matches; in the streaming form
// [flushed, pos) has not yet gone to the sink. end is the current writable limit.
struct Output {
  uint8_t* base = nullptr;
  size_t pos = 0;
  size_t end = 0;
  // Streaming form only.
  ByteSink* sink = nullptr;
  size_t bufSize = 0;
  size_t flushed = 0;
  uint64_t pushed = 0;  // bytes handed to the sink
  uint64_t limit = UINT64_MAX;

  Status Flush() noexcept {
    if (!sink || pos == flushed) return Status::Ok;
    Status st = sink->Write(std::span<const uint8_t>(base + flushed, pos - flushed));
    if (st != Status::Ok) return st;
    pushed += pos - flushed;
    flushed = pos;
    return Status::Ok;
  }

  // Streaming form: once the buffer runs short, pushes the pending output and keeps only the last
  // 32 KB as history, so that a whole match fits behind pos. A limit that is near is no reason to
  // push: the output gathers until the buffer is full or the stream ends, so the sink sees whole
  // chunks. The whole-buffer form keeps its capacity.
  Status MakeRoom() noexcept {
    if (!sink) return Status::Ok;
    if (bufSize - kCopySlack - pos < kMaxMatch + kCopySlack) {
      if (Status st = Flush(); st != Status::Ok) return st;
      if (pos > kHistory) {
        std::memmove(base, base + pos - kHistory, kHistory);
        pos = flushed = kHistory;
      }
    }
    uint64_t allowed = limit - Total();
    end = pos + static_cast<size_t>(std::min<uint64_t>(bufSize - kCopySlack - pos, allowed));
    return Status::Ok;
  }

  uint64_t Total() const noexcept { return sink ? pushed + (pos - flushed) : pos; }
};

// ---- Decoder -----------------------------------------------------------------------------------

class Decoder {
 public:
  Decoder(BitReader& br, Output& out) : br_(br), out_(out) {}

  InflateResult Run() noexcept;

 private:
  Status Fail(Status st, InflateFault fault = InflateFault::None) noexcept {
    // Running out of input explains any later symptom.
    Status real = br_.Fault(st);
    if (real == st) fault_ = fault;
    return real;
  }
  Status Stored() noexcept;
  Status Dynamic() noexcept;
  bool BuildFixed() noexcept;
  Status Codes(const uint32_t* lit, const uint32_t* dist, bool fixed) noexcept;

  BitReader& br_;
  Output& out_;
  InflateFault fault_ = InflateFault::None;
  bool fixedBuilt_ = false;
  uint32_t fixedLit_[kLitEnough];
  uint32_t fixedDist_[kDistEnough];
  uint32_t lit_[kLitEnough];
  uint32_t dist_[kDistEnough];
};

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
        if (!fixedBuilt_ && !BuildFixed()) {
          st = Status::NoMemory;  // cannot happen: the fixed code always fits
          break;
        }
        st = Codes(fixedLit_, fixedDist_, true);
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

bool Decoder::BuildFixed() noexcept {
  uint8_t lens[288];
  std::fill(lens, lens + 144, uint8_t{8});
  std::fill(lens + 144, lens + 256, uint8_t{9});
  std::fill(lens + 256, lens + 280, uint8_t{7});
  std::fill(lens + 280, lens + 288, uint8_t{8});
  if (BuildHuffmanTable(lens, kPayloads.lit, kLitBits, fixedLit_, kLitEnough) != HuffmanResult::Complete) return false;
  // 32 distance codes of 5 bits: 30 and 31 are unassigned and decode as invalid.
  std::fill(lens, lens + 32, uint8_t{5});
  if (BuildHuffmanTable(std::span<const uint8_t>(lens, 32), kPayloads.dist, kDistBits, fixedDist_, kDistEnough) !=
      HuffmanResult::Complete)
    return false;
  fixedBuilt_ = true;
  return true;
}

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

Status Decoder::Dynamic() noexcept {
  if (!br_.Need(14)) return Fail(Status::Truncated);
  const unsigned nlit = br_.Bits(5) + 257;   // up to 288
  const unsigned ndist = br_.Bits(5) + 1;    // up to 32
  const unsigned ncode = br_.Bits(4) + 4;    // up to 19

  uint8_t lens[288 + 32] = {};
  for (unsigned i = 0; i < ncode; ++i) {
    if (!br_.Need(3)) return Fail(Status::Truncated);
    lens[kCodeLengthOrder[i]] = static_cast<uint8_t>(br_.Bits(3));
  }
  uint32_t precode[kPrecodeEnough];
  if (BuildHuffmanTable(std::span<const uint8_t>(lens, 19), kPayloads.precode, kPrecodeBits, precode, kPrecodeEnough) !=
      HuffmanResult::Complete)
    return Fail(Status::BadData, InflateFault::BadCodeLengthCode);

  // The literal/length and distance lengths, as one run-length coded sequence.
  const unsigned total = nlit + ndist;
  unsigned prev = 0;
  for (unsigned i = 0; i < total;) {
    if (!br_.Need(7 + 7)) return Fail(Status::Truncated);
    unsigned drop;
    uint32_t e = HuffDecode(precode, kPrecodeBits, br_.PeekAll(), &drop);
    br_.Drop(drop);
    unsigned sym = HuffValue(e);
    if (sym < 16) {
      lens[i++] = static_cast<uint8_t>(sym);
      prev = sym;
      continue;
    }
    unsigned value = 0;
    unsigned repeat;
    if (sym == 16) {
      repeat = 3 + br_.Bits(2);
      value = prev;
    } else if (sym == 17) {
      repeat = 3 + br_.Bits(3);
      prev = 0;
    } else {
      repeat = 11 + br_.Bits(7);
      prev = 0;
    }
    if (repeat > total - i) return Fail(Status::BadData, InflateFault::BadRepeat);
    std::fill(lens + i, lens + i + repeat, static_cast<uint8_t>(value));
    i += repeat;
  }

  std::span<const uint8_t> litLens(lens, nlit);
  std::span<const uint8_t> distLens(lens + nlit, ndist);
  if (lens[256] == 0) return Fail(Status::BadData, InflateFault::BadLiteralCode);
  if (!Usable(BuildHuffmanTable(litLens, kPayloads.lit, kLitBits, lit_, kLitEnough), litLens))
    return Fail(Status::BadData, InflateFault::BadLiteralCode);
  HuffmanResult d = BuildHuffmanTable(distLens, kPayloads.dist, kDistBits, dist_, kDistEnough);
  // No distance code at all is fine for a block of literals; a length code then fails as invalid.
  if (d != HuffmanResult::Empty && !Usable(d, distLens)) return Fail(Status::BadData, InflateFault::BadDistanceCode);
  return Codes(lit_, dist_, false);
}

// Decodes literals and matches up to the end-of-block code.
//
// Each pass refills the bit buffer to at least 56 bits, enough for a whole length/distance pair
// (15 + 5 + 15 + 13 = 48 bits), and makes sure the output has room for a whole match plus the copy
// slack; after that a literal or match needs no further check but the capacity of the caller's
// buffer, which only binds near its end.
Status Decoder::Codes(const uint32_t* lit, const uint32_t* dist, bool fixed) noexcept {
  const InflateFault badCode = fixed ? InflateFault::BadFixedCode : InflateFault::BadDynamicCode;
  // The output position lives in locals: byte stores could otherwise alias it and force reloads.
  uint8_t* base = out_.base;
  size_t pos = out_.pos;
  size_t end = out_.end;
  struct WriteBack {
    Output& out;
    size_t& pos;
    ~WriteBack() { out.pos = pos; }
  } writeBack{out_, pos};

  for (;;) {
    // Fast loop: while 8 input bytes and room for a whole match are left, bits and output position
    // stay in registers and no end checks are needed.
    if (end - pos >= kMaxMatch + kCopySlack) {
      BitReader::FastState b = br_.TakeState();
      while (b.end - b.in >= 8 && end - pos >= kMaxMatch + kCopySlack) {
        BitReader::FastRefill(b);
        unsigned drop;
        uint32_t e = HuffDecode(lit, kLitBits, b.buf, &drop);
        b.buf >>= drop;
        b.count -= drop;
        if (e & HuffLiteral) {
          base[pos++] = static_cast<uint8_t>(HuffValue(e));
          e = HuffDecode(lit, kLitBits, b.buf, &drop);
          if (e & HuffLiteral) {  // 15 + 15 bits are held after a refill
            b.buf >>= drop;
            b.count -= drop;
            base[pos++] = static_cast<uint8_t>(HuffValue(e));
          }
          continue;
        }
        if (e & (HuffEnd | HuffInvalid)) {
          br_.PutState(b);
          if (e & HuffEnd) return Status::Ok;
          return Fail(Status::BadData, badCode);
        }
        unsigned extra = HuffExtraBits(e);
        const size_t length = HuffValue(e) + static_cast<size_t>(b.buf & ((uint64_t{1} << extra) - 1));
        b.buf >>= extra;
        b.count -= extra;
        uint32_t d = HuffDecode(dist, kDistBits, b.buf, &drop);
        b.buf >>= drop;
        b.count -= drop;
        if (d & HuffInvalid) {
          br_.PutState(b);
          return Fail(Status::BadData, badCode);
        }
        extra = HuffExtraBits(d);
        const size_t distance = HuffValue(d) + static_cast<size_t>(b.buf & ((uint64_t{1} << extra) - 1));
        b.buf >>= extra;
        b.count -= extra;
        if (distance > pos) {
          br_.PutState(b);
          return Fail(Status::BadData, InflateFault::DistanceTooFar);
        }
        uint8_t* dst = base + pos;
        const uint8_t* src = dst - distance;
        uint8_t* const stop = dst + length;
        if (distance >= kCopySlack) {
          do {
            std::memcpy(dst, src, 8);
            dst += 8;
            src += 8;
          } while (dst < stop);
        } else if (distance == 1) {
          std::memset(dst, *src, length);
        } else {
          while (dst < stop) *dst++ = *src++;
        }
        pos += length;
      }
      br_.PutState(b);
    }

    // Careful loop, one symbol at a time, near the ends of input and output.
    if (!br_.Refill()) return Fail(Status::Truncated);
    if (end - pos < kMaxMatch + kCopySlack) {
      out_.pos = pos;
      if (Status st = out_.MakeRoom(); st != Status::Ok) return st;
      base = out_.base;
      pos = out_.pos;
      end = out_.end;
    }
    // Near the end of the input, symbols decoded from padding must not reach the output.
    const bool tail = br_.Padded();
    unsigned drop;
    uint32_t e = HuffDecode(lit, kLitBits, br_.PeekAll(), &drop);
    br_.Drop(drop);
    if (tail && br_.Overrun()) return Fail(Status::Truncated);
    if (e & HuffLiteral) {
      if (pos == end) return Status::OutputFull;
      base[pos++] = static_cast<uint8_t>(HuffValue(e));
      // A second literal often fits in the bits already held.
      if (!tail && br_.Available() >= 15 && pos != end) {
        uint32_t e2 = HuffDecode(lit, kLitBits, br_.PeekAll(), &drop);
        if (e2 & HuffLiteral) {
          br_.Drop(drop);
          base[pos++] = static_cast<uint8_t>(HuffValue(e2));
        }
      }
      continue;
    }
    if (e & HuffEnd) return Status::Ok;
    if (e & HuffInvalid) return Fail(Status::BadData, badCode);

    const size_t length = HuffValue(e) + br_.Bits(HuffExtraBits(e));
    uint32_t d = HuffDecode(dist, kDistBits, br_.PeekAll(), &drop);
    br_.Drop(drop);
    if (d & HuffInvalid) return Fail(Status::BadData, badCode);
    const size_t distance = HuffValue(d) + br_.Bits(HuffExtraBits(d));
    if (tail && br_.Overrun()) return Fail(Status::Truncated);
    if (distance > pos) return Fail(Status::BadData, InflateFault::DistanceTooFar);
    if (length > end - pos) return Status::OutputFull;

    uint8_t* dst = base + pos;
    const uint8_t* src = dst - distance;
    uint8_t* const stop = dst + length;
    if (distance >= kCopySlack && end - pos >= length + kCopySlack) {
      // Whole words; the source stays at least 8 bytes behind, so each word is already final.
      do {
        std::memcpy(dst, src, 8);
        dst += 8;
        src += 8;
      } while (dst < stop);
    } else if (distance == 1) {
      std::memset(dst, *src, length);
    } else {
      while (dst < stop) *dst++ = *src++;
    }
    pos += length;
  }
}

}  // namespace

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

InflateResult Inflate(std::span<const uint8_t> in, std::span<uint8_t> out) noexcept {
  BitReader br(in);
  Output o;
  o.base = out.data();
  o.end = out.size();
  auto decoder = std::unique_ptr<Decoder>(new (std::nothrow) Decoder(br, o));
  if (!decoder) return InflateResult{Status::NoMemory};
  return decoder->Run();
}

InflateResult Inflate(ByteSource& in, ByteSink& out, uint64_t outputLimit) noexcept {
  BitReader br(in);
  Output o;
  o.bufSize = kHistory + kStreamChunk + kCopySlack;
  auto buffer = std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[o.bufSize]);
  auto decoder = std::unique_ptr<Decoder>(new (std::nothrow) Decoder(br, o));
  if (!buffer || !decoder) return InflateResult{Status::NoMemory};
  o.base = buffer.get();
  o.sink = &out;
  o.limit = outputLimit;
  return decoder->Run();
}

}  // namespace mx::codec
