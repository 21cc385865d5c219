#pragma once
// The standard filters of RAR 2.9-4.x, run natively. An archive carries each filter as a program for
// a virtual machine; the archiver only ever writes six programs, recognised here by their size and
// CRC-32, and any other program is not supported.

#include <cstddef>
#include <cstdint>
#include <span>

namespace mx::codec::rar {

enum class FilterType : uint8_t { Unknown, E8, E8E9, Itanium, Delta, Rgb, Audio };

// The largest block a filter takes, the size of the machine's memory.
inline constexpr uint32_t kFilterMaxBlock = 0x40000;

// The type of a program. *intact is false when the program's check byte (the XOR of the others)
// does not match, which means damaged data rather than an unknown program.
FilterType IdentifyFilter(std::span<const uint8_t> code, bool* intact) noexcept;

// Runs a filter over data[0 .. size) with registers r[0..6] and the file position of the block.
// The result is either data itself (filters that work in place) or a block of scratch, which must
// hold kFilterMaxBlock bytes. False for parameters the filter refuses.
bool RunFilter(FilterType type, uint8_t* data, uint32_t size, const uint32_t r[7], uint32_t filePos, uint8_t* scratch,
               std::span<const uint8_t>& result) noexcept;

}  // namespace mx::codec::rar
