// Inflate's hot loop: the literals and matches of one block, up to its end-of-block code.
//
// Each table entry carries everything a step needs (see huffman.h): the bits the whole symbol takes
// with its extra bits, the code length, the kind and the value, so that a literal costs one lookup,
// one store and one shift, and a length or distance one lookup, one masked add and one shift.
#include "engine/codec/inflate_decoder.h"

namespace mx::codec::inflate_detail {

namespace {

// A build for size (the self-extractor stub) leaves the fast loop out: the careful step then decodes
// every symbol, with the same checks. Compiled for size, the two run at about the same speed.
#if defined(__OPTIMIZE_SIZE__)
constexpr bool kFastLoop = false;
#else
constexpr bool kFastLoop = true;
#endif

constexpr uint64_t kLitMask = (uint64_t{1} << kLitBits) - 1;
constexpr uint64_t kDistMask = (uint64_t{1} << kDistBits) - 1;
// Room the fast loop needs ahead of each step: a whole match and the copy slack.
constexpr size_t kFastRoom = kMaxMatch + kCopySlack;

inline void Copy8(uint8_t* dst, const uint8_t* src) noexcept {
  uint64_t v;
  std::memcpy(&v, src, 8);
  std::memcpy(dst, &v, 8);
}

inline void Copy16(uint8_t* dst, const uint8_t* src) noexcept {
  uint8_t v[16];
  std::memcpy(v, src, 16);
  std::memcpy(dst, v, 16);
}

// Copies a match of length bytes from distance back (1 <= distance <= what was produced). The
// destination has kCopySlack bytes of room past the match's end, which the word copies may
// overwrite; later output overwrites them again.
inline void CopyMatch(uint8_t* dst, size_t distance, size_t length) noexcept {
  const uint8_t* src = dst - distance;
  uint8_t* const stop = dst + length;
  if (distance >= 8) {
    // Whole words; the source stays at least 8 bytes behind, so each word is already final. Most
    // matches are short: five words, without a test between them, cover them.
    for (int i = 0; i < 5; ++i) Copy8(dst + 8 * i, src + 8 * i);
    dst += 40;
    src += 40;
    if (dst >= stop) return;
    if (distance >= 16) {
      // Sixteen bytes at a time, each block's source wholly behind it.
      do {
        Copy16(dst, src);
        dst += 16;
        src += 16;
      } while (dst < stop);
      return;
    }
    do {
      Copy8(dst, src);
      Copy8(dst + 8, src + 8);
      dst += 16;
      src += 16;
    } while (dst < stop);
  } else if (distance == 1) {
    // A run of one byte: the byte spread over a word.
    const uint64_t v = uint64_t{*src} * 0x0101010101010101u;
    do {
      std::memcpy(dst, &v, 8);
      dst += 8;
    } while (dst < stop);
  } else {
    while (dst < stop) *dst++ = *src++;
  }
}

enum class FastStop { Limits, EndOfBlock, BadCode, TooFar };

// The fast loop. Entry assumption, checked before every step: at least 8 bytes of the current
// input block are left, so a refill is one word load and leaves at least 56 bits. A step takes at
// most 48 bits (a length code with its extra bits, 15 + 5, and a distance code with its extra bits,
// 15 + 13), or three literals of at most 15 bits. The entry for the next symbol is looked up before
// each refill while enough bits are held (a refill leaves the bits below the count as they are), so
// the lookup overlaps the load.
//
// Output: with kExact false the output has kFastRoom bytes of room before every step, so a step
// writes without looking. With kExact true (the last bytes of a buffer that holds exactly the
// entry) each literal and match is checked against the end first, and a match too near it is
// copied byte by byte; the loop stops, with the symbol not taken, when one does not fit.
template <bool kExact>
[[gnu::always_inline]] inline FastStop FastLoop(BitReader::FastState& state, uint8_t* const base, size_t& pos,
                                                const size_t end, const CodeTables& tables) noexcept {
  if ((!kExact && end - pos < kFastRoom) || state.end - state.in < 8) return FastStop::Limits;
  // Everything in locals, so that it stays in registers.
  const uint32_t* const lit = tables.lit;
  const uint32_t* const dist = tables.dist;
  uint64_t buf = state.buf;
  // Only the low byte of count is kept exact: a symbol's bits are taken off by subtracting its
  // whole entry, whose low byte is those bits, and what borrows into the higher bits is ignored.
  uint32_t count = state.count;
  const uint8_t* in = state.in;
  const uint8_t* const inLast = state.end - 8;  // the last place a word can be loaded from
  uint8_t* out = base + pos;
  uint8_t* const outEnd = base + end;
  uint8_t* const outLast = outEnd - (kExact ? 0 : kFastRoom);  // the last place with room for a step

  // The shift takes the low 6 bits of an entry, which are the bits the symbol takes (bit 5 is 0).
  const auto consume = [&](uint32_t e) {
    buf >>= (e & 63);
    count -= e;
  };
  // As BitReader::FastRefill, on the low byte of count.
  const auto refill = [&] {
    buf |= BitReader::Load64(in) << (count & 63);
    in += 7 - ((count >> 3) & 7);
    count |= 56;
  };
  const auto roomy = [&] { return in <= inLast && (kExact || out <= outLast); };
  // A base value plus its extra bits. A base entry has no kind bits, so bits 8..13 hold just its
  // code length, and the shift again takes them without a mask.
  const auto withExtra = [&](uint32_t e) {
    return HuffValue(e) + static_cast<size_t>((buf & ((uint64_t{1} << (e & 63)) - 1)) >> ((e >> 8) & 63));
  };

  FastStop stop = FastStop::Limits;
  refill();
  uint32_t e = lit[buf & kLitMask];
  for (;;) {
    // At least 56 bits are held and e is the root entry of the next symbol.
    if (e & HuffLiteral) {
      // Up to three literals of at most 15 bits each; after the third, 11 bits are left, enough
      // to look up the next root entry.
      int left = 3;
      do {
        if (kExact && out == outEnd) goto done;
        consume(e);
        *out++ = static_cast<uint8_t>(HuffValue(e));
        e = lit[buf & kLitMask];
      } while (--left != 0 && (e & HuffLiteral));
      if (!roomy()) break;
      refill();
      continue;
    }
    if (e & (HuffLink | HuffEnd | HuffInvalid)) {
      // The rare kinds, tested together so that a length pays for one test only.
      if (e & HuffLink) e = lit[HuffValue(e) + ((buf >> kLitBits) & ((uint64_t{1} << HuffCodeBits(e)) - 1))];
      if (e & HuffLiteral) {
        if (kExact && out == outEnd) break;
        consume(e);
        *out++ = static_cast<uint8_t>(HuffValue(e));
        if (!roomy()) break;
        refill();
        e = lit[buf & kLitMask];
        continue;
      }
      if (e & HuffEnd) {
        consume(e);
        stop = FastStop::EndOfBlock;
        break;
      }
      if (e & HuffInvalid) {
        stop = FastStop::BadCode;
        break;
      }
    }
    const size_t length = withExtra(e);
    if (kExact && length > static_cast<size_t>(outEnd - out)) break;
    consume(e);
    uint32_t d = dist[buf & kDistMask];
    if (d & (HuffLink | HuffInvalid)) {
      if (d & HuffLink) d = dist[HuffValue(d) + ((buf >> kDistBits) & ((uint64_t{1} << HuffCodeBits(d)) - 1))];
      if (d & HuffInvalid) {
        stop = FastStop::BadCode;
        break;
      }
    }
    const size_t distance = withExtra(d);
    consume(d);
    if (distance > static_cast<size_t>(out - base)) {
      stop = FastStop::TooFar;
      break;
    }
    uint8_t* const dst = out;
    out += length;
    if (kExact && static_cast<size_t>(outEnd - dst) < length + kCopySlack) {
      const uint8_t* src = dst - distance;
      for (size_t i = 0; i < length; ++i) dst[i] = src[i];
      if (!roomy()) break;
      refill();
      e = lit[buf & kLitMask];
      continue;
    }
    if (!roomy()) {
      CopyMatch(dst, distance, length);
      break;
    }
    // The next symbol's lookup goes ahead of the copy, which does not depend on it.
    refill();
    e = lit[buf & kLitMask];
    CopyMatch(dst, distance, length);
  }
done:
  state.buf = buf;
  state.count = count & 0xFF;
  state.in = in;
  pos = static_cast<size_t>(out - base);
  return stop;
}

using FastLoopFn = FastStop (*)(BitReader::FastState&, uint8_t*, size_t&, size_t, const CodeTables&) noexcept;

template <bool kExact>
FastStop FastLoopPlain(BitReader::FastState& state, uint8_t* base, size_t& pos, size_t end,
                       const CodeTables& tables) noexcept {
  return FastLoop<kExact>(state, base, pos, end, tables);
}

#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
// The same loop compiled for processors with the BMI2 shifts (shifts by a register without the
// flags, and bit-field extraction), chosen at run time where the processor has them.
template <bool kExact>
__attribute__((target("bmi2"))) FastStop FastLoopBmi2(BitReader::FastState& state, uint8_t* base, size_t& pos,
                                                      size_t end, const CodeTables& tables) noexcept {
  return FastLoop<kExact>(state, base, pos, end, tables);
}

template <bool kExact>
FastLoopFn ChooseFastLoop() noexcept {
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") ? &FastLoopBmi2<kExact> : &FastLoopPlain<kExact>;
}
#else
template <bool kExact>
FastLoopFn ChooseFastLoop() noexcept {
  return &FastLoopPlain<kExact>;
}
#endif

template <bool kExact>
FastLoopFn TheFastLoop() noexcept {
  static const FastLoopFn fn = ChooseFastLoop<kExact>();
  return fn;
}

}  // namespace

// Decodes literals and matches up to the end-of-block code: the fast loop while its assumptions
// hold (near the end of the caller's output buffer, its exact form), then one symbol at a time with
// every check near the end of the input or when a symbol does not fit, and back.
Status Decoder::Codes(const CodeTables& tables, InflateFault badCode) noexcept {
  const uint32_t* const lit = tables.lit;
  const uint32_t* const dist = tables.dist;
  // The output position lives in locals: byte stores could otherwise alias it and force reloads.
  uint8_t* base = out_.base;
  size_t pos = out_.pos;
  size_t end = out_.end;
  struct WriteBack {
    Output& out;
    size_t& pos;
    ~WriteBack() { out.pos = pos; }
  } writeBack{out_, pos};

  // Before each step: the streaming form pushes its output on and keeps the history once room runs
  // short; the whole-buffer form has only what is left of the caller's buffer.
  const auto makeRoom = [&]() noexcept {
    if (end - pos >= kFastRoom) return Status::Ok;
    out_.pos = pos;
    const Status st = out_.MakeRoom();
    base = out_.base;
    pos = out_.pos;
    end = out_.end;
    return st;
  };
  for (;;) {
    if (Status st = makeRoom(); st != Status::Ok) return st;
    if constexpr (kFastLoop) {
      BitReader::FastState b = br_.TakeState();
      const FastStop stop = end - pos >= kFastRoom ? TheFastLoop<false>()(b, base, pos, end, tables)
                                                   : TheFastLoop<true>()(b, base, pos, end, tables);
      br_.PutState(b);
      switch (stop) {
        case FastStop::Limits:
          break;
        case FastStop::EndOfBlock:
          return Status::Ok;
        case FastStop::BadCode:
          return Fail(Status::BadData, badCode);
        case FastStop::TooFar:
          return Fail(Status::BadData, InflateFault::DistanceTooFar);
      }
    }

    // Careful step, one symbol, near the ends of input and output.
    if (!br_.Refill()) return Fail(Status::Truncated);
    if (Status st = makeRoom(); st != Status::Ok) return st;
    // Near the end of the input, symbols decoded from padding must not reach the output.
    const bool tail = br_.Padded();
    const uint32_t e = HuffLookup(lit, kLitBits, br_.PeekAll());
    if (e & HuffInvalid) return Fail(Status::BadData, badCode);
    if (e & (HuffLiteral | HuffEnd)) {
      br_.Drop(HuffTotalBits(e));
      if (tail && br_.Overrun()) return Fail(Status::Truncated);
      if (e & HuffEnd) return Status::Ok;
      if (pos == end) return Status::OutputFull;
      base[pos++] = static_cast<uint8_t>(HuffValue(e));
      continue;
    }
    const size_t length = HuffValueWithExtra(e, br_.PeekAll());
    br_.Drop(HuffTotalBits(e));
    const uint32_t d = HuffLookup(dist, kDistBits, br_.PeekAll());
    if (d & HuffInvalid) return Fail(Status::BadData, badCode);
    const size_t distance = HuffValueWithExtra(d, br_.PeekAll());
    br_.Drop(HuffTotalBits(d));
    if (tail && br_.Overrun()) return Fail(Status::Truncated);
    if (distance > pos) return Fail(Status::BadData, InflateFault::DistanceTooFar);
    if (length > end - pos) return Status::OutputFull;
    if (end - pos >= length + kCopySlack) {
      CopyMatch(base + pos, distance, length);
    } else {
      // Too near the end of the caller's buffer for word copies.
      uint8_t* const dst = base + pos;
      const uint8_t* const src = dst - distance;
      for (size_t i = 0; i < length; ++i) dst[i] = src[i];
    }
    pos += length;
  }
}

}  // namespace mx::codec::inflate_detail
