// The wildcard matcher that decides which stored entries a FileSpec selects.
#pragma once

#include <string_view>

namespace engine {

// Either side may hold "*" and "?". "/" reads as "\"; with NameOnly both sides are reduced to their
// name part. A side ending in "." loses the dot; a side without "." gains ".*" when the other side holds
// ".*" (so "*.*" matches names without extension, "abc." matches only "abc"). Letters a-z compare
// without case. Two empty sides do not match.
bool WildcardMatch(std::string_view a, std::string_view b, bool nameOnly);

}  // namespace engine
