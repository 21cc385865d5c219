#pragma once
// Result of every codec call. Codecs never throw across their interface; the engine's adapter for each
// component turns a status into the product's error report.

namespace mx::codec {

enum class Status {
  Ok,          // finished (or, for a source, a block was handed out)
  End,         // a source has no more data
  BadData,     // the input is damaged or not in the expected format
  Truncated,   // the input ended before the data was complete
  OutputFull,  // the output reached its capacity, or the sink could not take more
  NoMemory,    // a working buffer could not be allocated
  Cancelled,   // the source or sink reported that the run was cancelled
};

}  // namespace mx::codec
