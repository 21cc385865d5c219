#pragma once
// Inflate's decoder, shared by its two files: inflate.cpp reads the block headers and runs the
// stream, inflate_codes.cpp holds the hot loop that decodes literals and matches.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/codec/bitreader.h"
#include "engine/codec/huffman.h"
#include "engine/codec/inflate.h"

namespace mx::codec::inflate_detail {

// ---- Constants of the format and of the decoder ---------------------------------------------------

inline constexpr unsigned kMaxMatch = 258;
inline constexpr size_t kHistory = 32768;       // farthest a match reaches back
inline constexpr size_t kStreamChunk = 131072;  // output collected before each push to the sink
inline constexpr size_t kCopySlack = 40;        // match copies may write this far past their end

// Root bits: most literal/length codes and nearly all distance codes resolve in one lookup.
inline constexpr unsigned kLitBits = 11;
inline constexpr unsigned kDistBits = 8;
inline constexpr unsigned kPrecodeBits = 7;
// Largest tables any code can need with these root bits and codes of at most 15 bits, found by
// enumerating every possible code (288 symbols / 11 root bits, 32 symbols / 8 root bits). The
// builder also checks the capacity, so a table can never overflow.
inline constexpr size_t kLitEnough = 2342;
inline constexpr size_t kDistEnough = 402;
inline constexpr size_t kPrecodeEnough = 128;  // 19 symbols of at most 7 bits with 7 root bits: no sub-tables
static_assert(kPrecodeEnough == size_t{1} << kPrecodeBits);

// Size of the streaming form's buffer: the history window, one chunk, and the copy slack.
inline constexpr size_t kStreamBuffer = kHistory + kStreamChunk + kCopySlack;

// ---- Output ----------------------------------------------------------------------------------------
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

// ---- Decoder ---------------------------------------------------------------------------------------

// The two tables of a block's codes, side by side, so that the hot loop reaches both from one
// register.
struct CodeTables {
  uint32_t lit[kLitEnough];
  uint32_t dist[kDistEnough];
};

// The tables of the current dynamic block; an Inflater keeps them from one stream to the next.
struct Tables {
  CodeTables dynamic;
};

// The fixed code's tables, built once for the whole process.
const CodeTables& FixedTables() noexcept;

// Decodes one stream with the given tables: the whole-buffer form, and the streaming form through
// window (kStreamBuffer bytes).
InflateResult RunWhole(Tables& tables, std::span<const uint8_t> in, std::span<uint8_t> out) noexcept;
InflateResult RunStream(Tables& tables, uint8_t* window, ByteSource& in, ByteSink& out, uint64_t limit) noexcept;

class Decoder {
 public:
  Decoder(BitReader& br, Output& out, Tables& tables) noexcept : br_(br), out_(out), t_(tables) {}

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
  Status Codes(const CodeTables& tables, InflateFault badCode) noexcept;

  BitReader& br_;
  Output& out_;
  Tables& t_;
  InflateFault fault_ = InflateFault::None;
};

}  // namespace mx::codec::inflate_detail
