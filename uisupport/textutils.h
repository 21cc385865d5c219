// Word and token handling of strings, command-line splitting and file-name texts.
//
// A delimiter set holds any of the 256 byte values. A word of a text is a maximal run of characters
// that are not delimiters. Positions are 1-based, as the users of these routines count them.
#pragma once

#include <bitset>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "framework/core/graphics_values.h"

namespace uis {

using CharSet = std::bitset<256>;

// The set of the characters in `chars`.
CharSet MakeCharSet(std::string_view chars);
inline bool InSet(const CharSet& set, char c) { return set.test(static_cast<unsigned char>(c)); }

// ---- Strings ------------------------------------------------------------------------------------

// Every occurrence of `search`, left to right, replaced by `replacement`; replaced text is not searched
// again; an empty `search` changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& search, const std::string& replacement);

int CountWords(const std::string& text, const CharSet& delimiters);
// The position of the n-th word (n from 1), or 0 when the text has fewer words.
size_t WordStart(int n, const std::string& text, const CharSet& delimiters);
// The n-th word, or "" when the text has fewer words.
std::string WordAt(int n, const std::string& text, const CharSet& delimiters);

// The text from `position` up to (not including) the next delimiter or the end; `position` then points
// after that delimiter, or past the end (length + 1). A position past the end gives "".
std::string NextToken(const std::string& text, size_t& position, const CharSet& delimiters);

// ---- Command lines ------------------------------------------------------------------------------

// Reads one parameter of `commandLine` from `position` (0-based): blanks and control characters (codes
// 1 to 32) and pairs of double quotes are skipped first; then the characters up to the next blank or
// control character form the parameter, where a part in double quotes is copied with its blanks and
// without the quotes. A NUL ends the text. Returns the position after the parameter; `param` is ""
// when none is left. Parameters of any length are read whole.
size_t NextParam(const std::string& commandLine, size_t position, std::string& param);
// The number of parameters after the program.
int CountParams(const std::string& commandLine);
// Parameter `index` (0 is the program), or "" when there are fewer.
std::string ParamAt(const std::string& commandLine, int index);
// The program is parameter 0; the parameters are the others joined by one blank, each one that holds a
// blank enclosed in double quotes.
void SplitProgramAndParams(const std::string& commandLine, std::string& program, std::string& params);

// ---- Path texts ---------------------------------------------------------------------------------

// Removes one final "\" from a path longer than one character, except from a drive root of three
// characters ("C:\").
std::string StripTrailingBackslash(const std::string& path);
bool ContainsAnyOf(const std::string& text, const std::string& characters);
// A name the system accepts for a file: not empty, no control character and none of < > : " / \ | ? *.
// Square brackets are legal.
bool IsValidFileName(const std::string& name);
// Rebuilds `path` from the right: for each "\" from the last one back, the last component of the
// prefix up to there is replaced by `nameOf(prefix)` (kept as it is when that is empty); the part
// before the first "\" (the drive) is kept as is. The long- and short-path routines run on it.
std::string RebuildPath(const std::string& path, const std::function<std::string(const std::string& prefix)>& nameOf);

// ---- Screen texts and rectangles ----------------------------------------------------------------

// Moves `rect`, keeping its size, into `screen`: first the right edge, then the left edge, then the
// bottom, then the top (so the left and top edges win when the rectangle is larger than the screen).
void FitRectInto(fw::TRect& rect, const fw::TRect& screen);
// The text when `measure(text)` fits `maxWidth`; otherwise, for i from 1, the first max(0, length - i - 1)
// characters followed by "..." until that fits or i reaches the length.
std::string EllipsizeToWidth(const std::string& text, int maxWidth, const std::function<int(const std::string&)>& measure);

}  // namespace uis
