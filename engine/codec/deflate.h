#pragma once
// Deflate compressor (RFC 1951 raw stream) for the ZIP writer.
//
// The input is pulled from a ByteSource in whatever blocks it hands out, so a source of any size is
// compressed in a fixed amount of memory (about 400 KB); the output is pushed to a ByteSink in blocks
// of up to 64 KB. The output depends only on the input bytes and the level.
//
// Levels 1 to 9 choose the matching effort (hash-chain length and the lazy-match thresholds); levels
// 1 to 3 match greedily, 4 to 9 lazily. The writer's four settings map to levels with DeflateLevel.
//
// When the whole input ends up in one block that does not get smaller by compressing, the output is
// the input bytes themselves without any deflate framing and DeflateResult::stored is set: the entry
// must then be written with method 0 (stored). An empty input gives this case with no output.
//
// A failure of the source or the sink (Cancelled, Truncated, OutputFull, ...) ends the run at once
// and is returned unchanged; the output handed out until then is incomplete and must be discarded.
//
// The compressor keeps no CRC, reports no progress and does not encipher: the ZIP writer's source
// keeps the running CRC-32 and reports progress (and a cancel, as Cancelled) as it hands out blocks,
// and its sink enciphers and counts the bytes.

#include <cstdint>
#include <memory>

#include "engine/codec/bytestream.h"
#include "engine/codec/status.h"

namespace mx::codec {

// The ZIP writer's deflate settings, in the order of the engine's setting.
enum class DeflateType : uint8_t { dtDeflateS, dtDeflateF, dtDeflateN, dtDeflateX };

// Compression level of a setting: dtDeflateS 1 (the fastest), dtDeflateF 2, dtDeflateN 7, dtDeflateX 9.
int DeflateLevel(DeflateType type) noexcept;

// General purpose flag bits that a ZIP entry compressed at level gets: 4 (fast) at levels 1 and 2,
// 2 (maximum) at levels 8 and 9, none between.
uint16_t DeflateOptionBits(int level) noexcept;

struct DeflateResult {
  bool stored = false;       // the output is the plain input: write the entry with method 0
  uint16_t optionBits = 0;   // DeflateOptionBits of the level used
  uint64_t bytesIn = 0;      // input bytes consumed
  uint64_t bytesOut = 0;     // output bytes handed to the sink
};

class DeflateEncoder;

// A compressor that keeps its working memory from one input to the next, so that a run of small
// entries does not pay for allocating and clearing it each time. The output of every run is the same
// as Deflate's for that input and level, whatever came before.
class Deflater {
 public:
  Deflater() noexcept;
  ~Deflater();
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // As Deflate. The working memory is allocated at the first run (NoMemory when that fails).
  Status Run(ByteSource& source, ByteSink& sink, int level, DeflateResult& result) noexcept;

 private:
  std::unique_ptr<DeflateEncoder> encoder_;
};

// Compresses everything source hands out into sink at level 1..9 (values outside are clamped).
// Returns Ok, NoMemory, or the first failure of the source or the sink.
Status Deflate(ByteSource& source, ByteSink& sink, int level, DeflateResult& result) noexcept;

}  // namespace mx::codec
