// Single-byte conversion tables between the OEM code page 437 and the ANSI code page 1252.
#pragma once

namespace engine {

extern const unsigned char kOemToAnsi[256];
extern const unsigned char kAnsiToOem[256];

}  // namespace engine
