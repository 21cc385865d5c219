// The messages of the GIF image (string table entries 61092 to 61100).
#pragma once

#include "framework/core/streams.h"

namespace inst {

inline constexpr int kGifTextBase = 61092;
inline constexpr const char* kGifUnknownVersion = "Unknown GIF version";                              // 61092
inline constexpr const char* kGifEncodingError = "GIF image encoding error";                         // 61093
inline constexpr const char* kGifCorrupt = "GIF encoded data is corrupt";                            // 61094
inline constexpr const char* kGifCodeSize = "GIF code size not in range 2 to 9";                     // 61095
inline constexpr const char* kGifWrongColors = "Wrong number of colors; must be a power of 2";       // 61096
inline constexpr const char* kGifUnknownExtension = "Unrecognized extension block: %.2x";            // 61097
inline constexpr const char* kGifNoData = "No GIF Data to write";                                    // 61098
inline constexpr const char* kGifCannotResize = "Cannot change the Size of a GIF image";             // 61099
inline constexpr const char* kGifDescription = "CompuServe GIF Image";                               // 61100
// The framework's read error, raised for data that ends inside a block.
inline constexpr const char* kStreamReadError = fw::SReadError;

}  // namespace inst
