// The stream items with which the containers and the wave object store their data, plain or inside
// the compressed frame (kvxframe.h):
//
//   integer        4 bytes, little-endian
//   byte           1 byte
//   short string   a length byte n (at most 255; longer texts are cut to 255), then n characters
//   string list    plain: a 4-byte count of the bytes that follow, then the list's text form;
//                  compressed: the text form as one frame
//   bitmap         plain: a 4-byte count, then a BMP file image; compressed: the image as one frame
//
// Readers treat the bytes as untrusted: a count that is negative or larger than what is left in the
// stream raises EReadError before anything is allocated, and a short stream raises EReadError.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/streams.h"

namespace kvx {

void KVXWriteInteger(fw::TStream& stream, int32_t value);
int32_t KVXReadInteger(fw::TStream& stream);
void KVXWriteByte(fw::TStream& stream, uint8_t value);
uint8_t KVXReadByte(fw::TStream& stream);
void KVXWriteShortString(fw::TStream& stream, const std::string& text);
void KVXReadShortString(fw::TStream& stream, std::string& text);

void KVXWriteStringList(fw::TStream& stream, const fw::TStrings* list, bool compressed);
void KVXReadStringList(fw::TStream& stream, fw::TStrings* list, bool compressed);

// A stored block of bytes (a BMP file image): the 4-byte count and the bytes, or one frame.
void KVXWriteBlock(fw::TStream& stream, const uint8_t* data, size_t size, bool compressed);
std::vector<uint8_t> KVXReadBlock(fw::TStream& stream, bool compressed);

// A 4-byte count read from Stream, checked to be at least 0 and at most the bytes left (after the
// count) times Unit; raises EReadError otherwise.
int32_t KVXReadCount(fw::TStream& stream, int64_t unit = 1);

}  // namespace kvx
