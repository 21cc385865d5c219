// Display names of compression methods, as the lister shows them, for every archive type.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/arc_types.h"

namespace engine {

// The method number as each format's header stores it:
//   ARC, PAK, ARJ, BH, ZIP, ZOO, TAR: the method field;
//   CAB: the folder's compression type (only its low 4 bits count);
//   GZip: the two magic bytes read as a little-endian number (1F 8B gives 0x8B1F), 0 for stored;
//   HA: the low nibble of the method byte;
//   LHA and LZH: the method letter of "-lhX-" (the character code of X);
//   RAR: the method character ("0" to "5").
// isFolder tells whether the entry is a folder by its format's rule (ARC: method 30; ARJ: file type 3;
// RAR: attribute bit 16; ZIP: external attribute bit 16; TAR: an empty name part); it decides between
// "Dir" and "Unknown" for methods a format does not name. zipFlags are the ZIP entry's general purpose
// flags, whose bits 1 and 2 name the deflate variant.
std::string MethodNameOf(TArcType arcType, uint32_t method, bool isFolder = false, uint16_t zipFlags = 0);

}  // namespace engine
