// Byte layout shared by the builder and the extractor program: the option block that sits between the
// extractor and the ZIP archive of every self-extractor, and the size of the extractor itself.
//
//   offset  size  field
//   0       3     "QLV"
//   3       2     BlockLength (u16 LE) = 11 + the four text lengths
//   5       1     DisplayFlags
//   6       1     RunFlags
//   7       1     CaptionLength
//   8       1     RootDirLength
//   9       1     ProgramLength
//   10      1     ParamsLength
//   11      n     Caption, RootDir, Program, Params back to back (ANSI, no terminators)
#pragma once

#include <cstdint>

namespace sfx {

// The extractor's file size; it reads its option block at this offset of its own file.
inline constexpr uint32_t SfxStubSize = 35840;

inline constexpr char kBlockSignature[3] = {'Q', 'L', 'V'};
inline constexpr uint32_t kBlockHeadSize = 11;
inline constexpr uint32_t kOffBlockLength = 3;
inline constexpr uint32_t kOffDisplayFlags = 5;
inline constexpr uint32_t kOffRunFlags = 6;
inline constexpr uint32_t kOffCaptionLength = 7;
inline constexpr uint32_t kOffRootDirLength = 8;
inline constexpr uint32_t kOffProgramLength = 9;
inline constexpr uint32_t kOffParamsLength = 10;

// DisplayFlags bits.
inline constexpr uint8_t kShowRunBox = 0x01;
inline constexpr uint8_t kAllHilited = 0x02;
inline constexpr uint8_t kHideOverwrite = 0x04;
inline constexpr uint8_t kOverwriteAlways = 0x08;
inline constexpr uint8_t kOverwriteSkip = 0x10;
inline constexpr uint8_t kOverwriteMask = 0x18;

// RunFlags bits.
inline constexpr uint8_t kUseAssociated = 0x01;
inline constexpr uint8_t kUseTempFolder = 0x02;
inline constexpr uint8_t kSortList = 0x04;

// The configuration file (".qlv") starts with this format head (u32 LE), then the ZIP path and the
// output path, each as a length byte and its text, then one option block.
inline constexpr uint32_t kConfigFormatHead = 1;

// The extractor's executable image begins with these bytes: the DOS magic and a last-page count of 0x50.
inline constexpr uint8_t kStubMagic[4] = {'M', 'Z', 'P', 0};

}  // namespace sfx
