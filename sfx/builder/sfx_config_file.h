// The builder's configuration file (".qlv"): the two paths and one option block.
//
//   offset   size         field
//   0        4            format head, u32 LE value 1 (not checked when read)
//   4        1            z = length of the ZIP archive path
//   5        z            ZIP archive path
//   5+z      1            o = length of the output file path
//   6+z      o            output file path
//   6+z+o    BlockLength  option block, as written into a self-extractor
#pragma once

#include <cstdint>
#include <string>

#include "sfx/builder/sfx_settings.h"

namespace sfx {

inline constexpr const char* kDefaultConfigName = "Options.qlv";

// What the builder shows when a file cannot be opened or created: the path, two carriage returns and
// "Error opening file.".
std::string OpenErrorText(const std::string& path);

// Blanks and control characters trimmed at both ends.
std::string TrimBlanks(const std::string& text);

// Replaces the extension of the file-name part of `name` by `ext`, or appends "." and `ext` when the
// file-name part has none. An empty name stays empty.
std::string ChangeExt(const std::string& name, const std::string& ext);

// Writes the configuration file (creating or truncating it). Throws fw::EFCreateError with the path,
// two carriage returns and "Error opening file." when it cannot be created, fw::EWriteError when a
// write fails. Forgets the remembered texts afterwards.
void SaveSfxConfig(const std::string& path, SfxSettings& s);

// Loads a configuration file into `s`. Fields are set as they are read; a file that ends early throws
// fw::EReadError and leaves the fields read before it. Nothing in the file is validated. Returns the
// block length read from the file.
uint16_t LoadSfxConfig(const std::string& path, SfxSettings& s);

// Whether "Create" may run on this ZIP path: the file exists and starts with a local header.
enum class ZipCheck { Ok, Empty, NotFound, NotZip };
ZipCheck CheckZipFile(const std::string& path);
// The text the builder shows for a failed check ("" for Ok and Empty).
std::string ZipCheckMessage(ZipCheck check, const std::string& path);

}  // namespace sfx
