#include "engine/codec/deflate.h"

#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "engine/codec/deflate_bits.h"
#include "engine/codec/deflate_block.h"

namespace mx::codec {

namespace {

// Window: two 32 KB halves. Matches reach back at most kMaxDist bytes; when the current position
// gets to kWSize + kMaxDist the upper half moves down and the lower half is forgotten.
constexpr unsigned kWSize = 32768;
constexpr unsigned kWMask = kWSize - 1;
constexpr unsigned kWindowSize = 2 * kWSize;
// Matches of four bytes and more are found along chains of positions whose first four bytes hash
// alike; a match of three only needs the nearest position that starts with the same three bytes,
// since any of them is as long and the nearest is the cheapest to code, and it is looked for along a
// chain of its own only when the first finds nothing. (One chain of three-byte hashes holds every
// position of both kinds, and the many that start only a three-byte match each cost a step of the
// search for longer ones.)
constexpr unsigned kHash4Bits = 16;
constexpr unsigned kHash3Bits = 16;
constexpr unsigned kMinMatch = 3;
constexpr unsigned kMaxMatch = 258;
constexpr unsigned kMinLookahead = kMaxMatch + kMinMatch + 1;  // 262
constexpr unsigned kMaxDist = kWSize - kMinLookahead;          // 32,506
constexpr unsigned kTooFar = 4096;  // a 3-byte match farther back than this costs more than literals
// The match compare reads up to 8 bytes past kMaxMatch beyond the current position, and hashing
// reads two bytes past the end of the input; the padding keeps those reads inside the buffer.
constexpr unsigned kWindowPad = kMaxMatch + 16;

struct LevelConfig {
  uint16_t good;   // a previous match this long quarters the chain search
  uint16_t lazy;   // lazy: no search after a match this long; greedy: longest match fully hashed
  uint16_t nice;   // a match this long ends the search
  uint16_t chain;  // candidates examined per search
};

constexpr std::array<LevelConfig, 10> kConfig = {{
    {0, 0, 0, 0},          // 0: not used
    {4, 4, 8, 4},          // 1: greedy
    {4, 5, 16, 8},         // 2: greedy
    {4, 6, 32, 32},        // 3: greedy
    {4, 4, 16, 16},        // 4: lazy
    {8, 16, 32, 32},       // 5
    {8, 16, 128, 128},     // 6
    {8, 32, 128, 256},     // 7
    {32, 128, 258, 1024},  // 8
    {32, 258, 258, 4096},  // 9
}};

inline uint16_t Load16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// Number of equal bytes at scan and match, given that the first two are equal; at most kMaxMatch.
inline unsigned MatchLength(const uint8_t* scan, const uint8_t* match) {
  unsigned len = 2;
  if constexpr (std::endian::native == std::endian::little) {
    while (len < kMaxMatch) {
      const uint64_t x = Load64(scan + len) ^ Load64(match + len);
      if (x != 0) {
        len += static_cast<unsigned>(std::countr_zero(x)) >> 3;
        return len < kMaxMatch ? len : kMaxMatch;
      }
      len += 8;
    }
    return kMaxMatch;
  } else {
    while (len < kMaxMatch && scan[len] == match[len]) ++len;
    return len;
  }
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  if constexpr (std::endian::native == std::endian::big)
    v = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  return v;
}

// Multiplicative hashes of the first four and the first three bytes at p.
inline unsigned Hash4(const uint8_t* p) { return (Load32(p) * 0x9E3779B1u) >> (32 - kHash4Bits); }
inline unsigned Hash3(const uint8_t* p) { return ((Load32(p) & 0xFFFFFF) * 0x9E3779B1u) >> (32 - kHash3Bits); }

}  // namespace

// The compressor's state, kept by a Deflater from one input to the next. Between runs the hash heads
// are all zero; nothing else needs clearing: a previous-position entry is read only after its
// position was inserted in the same run, and window bytes only once read (or zeroed by SetEof).
class DeflateEncoder {
 public:
  DeflateEncoder() noexcept : block_(bits_) {}

  Status Run(ByteSource& source, ByteSink& sink, int level, DeflateResult& result) noexcept {
    source_ = &source;
    pending_ = {};
    sourceEnded_ = false;
    failed_ = Status::Ok;
    bytesIn_ = 0;
    bits_.Reset(sink);
    block_.Reset(level);
    level_ = level;
    cfg_ = kConfig[level];
    strstart_ = lookahead_ = matchStart_ = 0;
    blockStart_ = 0;
    eof_ = stored_ = slid_ = false;

    result = DeflateResult{};
    result.optionBits = DeflateOptionBits(level_);
    Start();
    if (failed_ == Status::Ok) {
      if (level_ <= 3) {
        Greedy();
      } else {
        Lazy();
      }
    }
    ClearHeads();
    result.bytesIn = bytesIn_;
    result.bytesOut = bits_.BytesOut();
    result.stored = stored_;
    if (failed_ != Status::Ok) return failed_;
    return bits_.Failed();
  }

 private:
  // Below this many positions, finding the heads a run set is cheaper than clearing the tables.
  static constexpr unsigned kRehashLimit = 4096;

  // Leaves every hash head zero for the next run, whatever way this one ended. Until a slide, every
  // head that was set holds a position below strstart_ whose four bytes are still in the window
  // (later reads only append, and bytes past the input were zeroed before any position reading them
  // was inserted), so hashing those positions again finds every head that was set.
  void ClearHeads() noexcept {
    if (slid_ || strstart_ > kRehashLimit) {
      head4_.fill(0);
      head3_.fill(0);
      return;
    }
    const uint8_t* const win = window_.data();
    for (unsigned p = 0; p < strstart_; ++p) {
      head4_[Hash4(win + p)] = 0;
      head3_[Hash3(win + p)] = 0;
    }
  }

  // The first read fills the lower half only, like every later slide does.
  void Start() noexcept {
    lookahead_ = Read(window_.data(), kWSize);
    if (lookahead_ == 0) {
      SetEof();
    } else if (lookahead_ < kMinLookahead) {
      FillWindow();
    }
  }

  // Marks the end of input. Hashing and the match compare may read up to kWindowPad bytes past the
  // last input byte; zeroing them keeps the output independent of what the buffer held before.
  void SetEof() noexcept {
    eof_ = true;
    std::memset(window_.data() + strstart_ + lookahead_, 0, kWindowPad);
  }

  // The positions before the current one where a match may start (0: none).
  struct Candidates {
    unsigned chain;    // the head of the four-byte chain
    unsigned nearest;  // the head of the three-byte chain
  };

  // Inserts the string at pos into the hash tables.
  Candidates InsertString(unsigned pos) noexcept {
    const uint8_t* const p = window_.data() + pos;
    uint16_t& head4 = head4_[Hash4(p)];
    uint16_t& head3 = head3_[Hash3(p)];
    const Candidates c{head4, head3};
    prev_[pos & kWMask] = head4;
    prev3_[pos & kWMask] = head3;
    head4 = static_cast<uint16_t>(pos);
    head3 = static_cast<uint16_t>(pos);
    return c;
  }

  // Whether a match search at strstart_ has anything to look at.
  bool Reachable(const Candidates& c, unsigned prevLength) const noexcept {
    return (c.chain != 0 && strstart_ - c.chain <= kMaxDist) ||
           (prevLength < kMinMatch && c.nearest != 0 && strstart_ - c.nearest <= kMaxDist);
  }

  // Copies up to room input bytes to dst; returns the count, 0 at the end of input or on failure.
  unsigned Read(uint8_t* dst, unsigned room) noexcept {
    unsigned got = 0;
    while (got < room && !sourceEnded_) {
      if (pending_.empty()) {
        const Status s = source_->Read(pending_);
        if (s == Status::End) {
          sourceEnded_ = true;
          pending_ = {};
          break;
        }
        if (s != Status::Ok) {
          failed_ = s;
          sourceEnded_ = true;
          pending_ = {};
          break;
        }
        continue;
      }
      const unsigned n = pending_.size() < room - got ? static_cast<unsigned>(pending_.size()) : room - got;
      std::memcpy(dst + got, pending_.data(), n);
      pending_ = pending_.subspan(n);
      got += n;
    }
    bytesIn_ += got;
    return got;
  }

  void Slide() noexcept {
    slid_ = true;
    std::memcpy(window_.data(), window_.data() + kWSize, kWSize);
    matchStart_ -= kWSize;
    strstart_ -= kWSize;
    blockStart_ -= kWSize;
    for (auto& h : head4_) h = static_cast<uint16_t>(h >= kWSize ? h - kWSize : 0);
    for (auto& h : head3_) h = static_cast<uint16_t>(h >= kWSize ? h - kWSize : 0);
    for (auto& p : prev_) p = static_cast<uint16_t>(p >= kWSize ? p - kWSize : 0);
    for (auto& p : prev3_) p = static_cast<uint16_t>(p >= kWSize ? p - kWSize : 0);
  }

  // Tops the lookahead up to kMinLookahead bytes, sliding the window when the current position has
  // reached the upper limit; sets eof_ when the input is used up.
  void FillWindow() noexcept {
    do {
      unsigned more = kWindowSize - lookahead_ - strstart_;
      if (strstart_ >= kWSize + kMaxDist) {
        Slide();
        more += kWSize;
      }
      const unsigned n = Read(window_.data() + strstart_ + lookahead_, more);
      if (n == 0) {
        SetEof();
      } else {
        lookahead_ += n;
      }
    } while (lookahead_ < kMinLookahead && !eof_);
  }

  // Follows the chain from its head and returns the longest match found that beats prevLength
  // (prevLength itself when none does); matchStart_ is where it starts. When the chain gives
  // nothing, the nearest position that starts with the same three bytes is the match.
  unsigned LongestMatch(const Candidates& candidates, unsigned prevLength) noexcept {
    const uint8_t* const win = window_.data();
    const uint8_t* const scan = win + strstart_;
    const unsigned limit = strstart_ > kMaxDist ? strstart_ - kMaxDist : 0;
    unsigned best = candidates.chain > limit ? ChainMatch(candidates.chain, prevLength) : prevLength;
    if (best >= kMinMatch) return best;
    const uint32_t first3 = Load32(scan) & 0xFFFFFF;
    unsigned cur = candidates.nearest;
    for (unsigned steps = cfg_.chain; cur > limit && steps != 0; --steps) {
      if ((Load32(win + cur) & 0xFFFFFF) == first3) {
        matchStart_ = cur;
        return MatchLength(scan, win + cur);
      }
      cur = prev3_[cur & kWMask];
    }
    return best;
  }

  unsigned ChainMatch(unsigned curMatch, unsigned prevLength) noexcept {
    unsigned chain = cfg_.chain;
    const uint8_t* const win = window_.data();
    const uint8_t* const scan = win + strstart_;
    unsigned best = prevLength;
    const unsigned limit = strstart_ > kMaxDist ? strstart_ - kMaxDist : 0;
    if (prevLength >= cfg_.good) chain >>= 2;
    const unsigned nice = cfg_.nice;
    const uint16_t scanStart = Load16(scan);
    uint16_t scanEnd = Load16(scan + best - 1);
    const uint16_t* const prev = prev_.data();
    for (;;) {
      const uint8_t* match = win + curMatch;
      const unsigned next = prev[curMatch & kWMask];
      // Only a candidate that agrees at the end of the best match so far and at its first two bytes
      // can beat it.
      if (Load16(match + best - 1) == scanEnd && Load16(match) == scanStart) {
        const unsigned len = MatchLength(scan, match);
        if (len > best) {
          matchStart_ = curMatch;
          best = len;
          if (len >= nice) break;
          scanEnd = Load16(scan + best - 1);
        }
      }
      if (next <= limit || --chain == 0) break;
      curMatch = next;
    }
    return best;
  }

  // Emits the block from blockStart_ to strstart_; false when the sink has failed.
  bool EmitBlock(bool last) noexcept {
    const uint8_t* data = blockStart_ >= 0 ? window_.data() + blockStart_ : nullptr;
    if (block_.Emit(data, static_cast<uint64_t>(int64_t{strstart_} - blockStart_), last)) stored_ = true;
    blockStart_ = strstart_;
    return bits_.Failed() == Status::Ok;
  }

  int64_t BlockInput() const noexcept { return int64_t{strstart_} - blockStart_; }

  bool Refill() noexcept {
    if (lookahead_ < kMinLookahead && !eof_) FillWindow();
    return failed_ == Status::Ok;
  }

  // Levels 1-3: take the longest match at each position.
  void Greedy() noexcept {
    unsigned matchLength = 0;
    while (lookahead_ != 0) {
      const Candidates candidates = InsertString(strstart_);
      if (Reachable(candidates, kMinMatch - 1)) {
        matchLength = LongestMatch(candidates, kMinMatch - 1);
        if (matchLength > lookahead_) matchLength = lookahead_;
      }
      bool flush;
      if (matchLength >= kMinMatch) {
        flush = block_.TallyMatch(strstart_ - matchStart_, matchLength, BlockInput());
        lookahead_ -= matchLength;
        if (matchLength <= cfg_.lazy) {
          // Short match: hash every string in it.
          --matchLength;
          do {
            ++strstart_;
            InsertString(strstart_);
          } while (--matchLength != 0);
          ++strstart_;
        } else {
          // Long match: skip it without hashing the strings inside.
          strstart_ += matchLength;
          matchLength = 0;
        }
      } else {
        flush = block_.TallyLiteral(window_[strstart_], BlockInput());
        --lookahead_;
        ++strstart_;
      }
      if (flush && !EmitBlock(false)) return;
      if (!Refill()) return;
    }
    EmitBlock(true);
  }

  // Levels 4-9: a match is only taken when the match found at the next position is not longer.
  void Lazy() noexcept {
    unsigned matchLength = kMinMatch - 1;
    bool matchAvailable = false;
    while (lookahead_ != 0) {
      const Candidates candidates = InsertString(strstart_);
      const unsigned prevLength = matchLength;
      const unsigned prevMatch = matchStart_;
      matchLength = kMinMatch - 1;
      if (prevLength < cfg_.lazy && Reachable(candidates, prevLength)) {
        matchLength = LongestMatch(candidates, prevLength);
        if (matchLength > lookahead_) matchLength = lookahead_;
        if (matchLength == kMinMatch && strstart_ - matchStart_ > kTooFar) matchLength = kMinMatch - 1;
      }
      if (prevLength >= kMinMatch && matchLength <= prevLength) {
        // The match at the previous position wins.
        const bool flush = block_.TallyMatch(strstart_ - 1 - prevMatch, prevLength, BlockInput());
        lookahead_ -= prevLength - 1;
        unsigned left = prevLength - 2;
        do {
          ++strstart_;
          InsertString(strstart_);
        } while (--left != 0);
        matchAvailable = false;
        matchLength = kMinMatch - 1;
        ++strstart_;
        if (flush && !EmitBlock(false)) return;
      } else if (matchAvailable) {
        // The previous position goes out as a literal; this one may start a better match.
        if (block_.TallyLiteral(window_[strstart_ - 1], BlockInput()) && !EmitBlock(false)) return;
        ++strstart_;
        --lookahead_;
      } else {
        matchAvailable = true;
        ++strstart_;
        --lookahead_;
      }
      if (!Refill()) return;
    }
    if (matchAvailable) block_.TallyLiteral(window_[strstart_ - 1], BlockInput());
    EmitBlock(true);
  }

  ByteSource* source_ = nullptr;
  std::span<const uint8_t> pending_;
  bool sourceEnded_ = false;
  Status failed_ = Status::Ok;
  uint64_t bytesIn_ = 0;

  DeflateBitWriter bits_;
  DeflateBlock block_;
  int level_ = 1;
  LevelConfig cfg_ = kConfig[1];

  unsigned strstart_ = 0;
  unsigned lookahead_ = 0;
  unsigned matchStart_ = 0;
  int64_t blockStart_ = 0;  // negative once the block's start has slid out of the window
  bool eof_ = false;
  bool stored_ = false;
  bool slid_ = false;  // the window slid in this run

  std::array<uint8_t, kWindowSize + kWindowPad> window_;
  std::array<uint16_t, size_t{1} << kHash4Bits> head4_{};
  std::array<uint16_t, size_t{1} << kHash3Bits> head3_{};
  std::array<uint16_t, kWSize> prev_;
  std::array<uint16_t, kWSize> prev3_;
};

int DeflateLevel(DeflateType type) noexcept {
  switch (type) {
    case DeflateType::dtDeflateS:
      return 1;
    case DeflateType::dtDeflateF:
      return 2;
    case DeflateType::dtDeflateN:
      return 7;
    case DeflateType::dtDeflateX:
      return 9;
  }
  return 7;
}

uint16_t DeflateOptionBits(int level) noexcept {
  if (level <= 2) return 4;
  if (level >= 8) return 2;
  return 0;
}

Deflater::Deflater() noexcept = default;
Deflater::~Deflater() = default;

Status Deflater::Run(ByteSource& source, ByteSink& sink, int level, DeflateResult& result) noexcept {
  if (level < 1) level = 1;
  if (level > 9) level = 9;
  result = DeflateResult{};
  if (!encoder_) encoder_.reset(new (std::nothrow) DeflateEncoder());
  if (!encoder_) return Status::NoMemory;
  return encoder_->Run(source, sink, level, result);
}

Status Deflate(ByteSource& source, ByteSink& sink, int level, DeflateResult& result) noexcept {
  return Deflater().Run(source, sink, level, result);
}

}  // namespace mx::codec
