// The rule that decides whether one component of an extracted file's path (a folder or a file name,
// in the ANSI code page) may be created on disk. The engine's extractors and the stand-alone
// extractor program both follow it, so this unit uses no library that throws or allocates.
#pragma once

#include <string_view>

namespace mx::names {

// Windows drops trailing dots and blanks from every path component.
std::string_view TrimTrailingDotsAndBlanks(std::string_view component);

// Characters Windows refuses in names: controls, < > " | ? * and the drive or stream colon.
bool IsForbiddenNameChar(char c);

// True when Component opens a device instead of a file: CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM and
// LPT followed by 1 to 9 or by a superscript 1, 2 or 3 (ANSI B9, B2, B3), in any case, with or without
// an extension and with blanks before the dot or dots and blanks at the end ("aux .txt", "nul. ").
bool IsDeviceName(std::string_view component);

// True when Component may be created: something is left once trailing dots and blanks are gone (so
// never "..", ". ." or "..."), no forbidden character and no device name.
bool IsWritableComponent(std::string_view component);

}  // namespace mx::names
