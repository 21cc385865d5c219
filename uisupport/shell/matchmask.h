// File masks of the shell views: "*" stands for any run of characters, "?" for any one character,
// everything else for itself ignoring case (the fixed 1252 case table). A filter is a list of masks
// separated by ";".
#pragma once

#include <string>
#include <vector>

namespace uis {

// Whether `name` matches `mask`. The rules, read as a recursion over both strings:
//   the mask "*" matches anything;
//   a used-up name matches only a used-up mask;
//   "*" matches when the rest of the mask matches the same name, or the whole mask the name less
//   its first character;
//   "?" takes any one character, any other character must equal the name's ignoring case.
// So a name used up before a run of two or more trailing stars does not match ("a**" against "a"),
// while one trailing star does ("a*" against "a").
//
// The match runs without recursion and backtracks only to the last star seen, so it takes at most
// name length x mask length steps, however many stars the mask holds.
bool MatchMask(const std::string& name, const std::string& mask);

// The masks of a filter text: an empty text is "*"; every ";"-separated piece is a mask, empty
// pieces included, and a trailing ";" ends the last piece ("*.zip;" is one mask, ";" is one empty one).
std::vector<std::string> SplitFilter(const std::string& filter);

// The masks joined with ";" (no trailing ";").
std::string JoinFilter(const std::vector<std::string>& masks);

// Whether the name matches any of the masks.
bool MatchesAnyMask(const std::string& name, const std::vector<std::string>& masks);

}  // namespace uis
