#pragma once
// Inflate: decodes the raw deflate format (stored, fixed-code and dynamic-code blocks) of ZIP method 8
// and gzip members.
//
// Two forms share one decoder:
//  - whole buffer: the input and an output buffer of known capacity (the entry's declared size);
//    the capacity is a hard limit (OutputFull);
//  - streaming: input pulled from a ByteSource and output pushed to a ByteSink through a 32 KB history
//    window, so memory stays flat however large the entry is.
// Decoding stops after the last block, or with an error when the input ends first. Every back
// reference is checked against the output produced so far; a damaged stream never reads or writes
// outside its buffers and always ends.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// Why a stream was rejected (with Status::BadData).
enum class InflateFault : uint8_t {
  None,
  BadBlockType,       // block type 3
  StoredLength,       // a stored block's NLEN is not the ones' complement of LEN
  BadFixedCode,       // literal/length code 286 or 287, or distance code 30 or 31, in a fixed-code block
  DistanceTooFar,     // a match reaches back before the first byte of output
  BadCodeLengthCode,  // the code-length code of a dynamic block is over-subscribed, incomplete or empty
  BadRepeat,          // a code-length repeat runs past the declared number of lengths
  BadLiteralCode,     // the literal/length code is over-subscribed, incomplete or has no end-of-block code
  BadDistanceCode,    // the distance code is over-subscribed or incomplete
  BadDynamicCode,     // an unassigned or missing code met in a dynamic block's data
};

// The engine's report for a failed inflate: "Bad block", "Error writing to file", "Incomplete code
// set" and "Out of memory", by message number.
enum class InflateMessage : int {
  None = 0,
  BadBlock = 25109,
  WriteError = 25136,
  IncompleteCodeSet = 25138,
  OutOfMemory = 25253,
};

struct InflateResult {
  Status status = Status::Ok;  // Ok, BadData, Truncated, OutputFull, NoMemory, or the source's/sink's failure
  InflateFault fault = InflateFault::None;
  uint64_t inputUsed = 0;      // input bytes consumed (the byte holding the last bit counts)
  uint64_t outputSize = 0;     // bytes written to the output buffer or handed to the sink

  // The message the engine reports for this result (None for Ok). Running out of input and a cancel
  // are both "Bad block"; any refusal of the output (a failed write, or the capacity reached) is
  // "Error writing to file".
  InflateMessage Message() const noexcept;
};

namespace inflate_detail {
struct Tables;
}

// A decoder that keeps its tables and its streaming window from one stream to the next, so that a
// run of small entries does not pay for setting them up each time. Each stream decodes exactly as
// with the Inflate functions, whatever came before.
class Inflater {
 public:
  Inflater() noexcept;
  ~Inflater();
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // Whole-buffer form.
  InflateResult Run(std::span<const uint8_t> in, std::span<uint8_t> out) noexcept;
  // Streaming form. outputLimit caps the bytes handed to the sink (OutputFull past it). The output
  // produced before an error has been handed to the sink when this returns.
  InflateResult Run(ByteSource& in, ByteSink& out, uint64_t outputLimit = UINT64_MAX) noexcept;

 private:
  std::unique_ptr<inflate_detail::Tables> tables_;
  std::unique_ptr<uint8_t[]> window_;  // the streaming form's buffer, made at its first use
};

// Whole-buffer form, with a decoder of its own whose tables live on the stack (about 11 KB).
InflateResult Inflate(std::span<const uint8_t> in, std::span<uint8_t> out) noexcept;

// Streaming form, with a decoder of its own: the 160 KB window is allocated for the call.
InflateResult Inflate(ByteSource& in, ByteSink& out, uint64_t outputLimit = UINT64_MAX) noexcept;

}  // namespace mx::codec
