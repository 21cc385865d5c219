// What the mail component and the mail dialog decide about names without the mail service: the
// recipient lists typed with ";", the attachment names shortened for old mail clients, and the rule
// for addresses typed in brackets.
#pragma once

#include <string>
#include <vector>

namespace app {

// The text cut at each ";", each part trimmed of blanks, empty parts left out.
std::vector<std::string> SplitNames(const std::string& text);
// The names joined with ";" (no blanks).
std::string JoinNames(const std::vector<std::string>& names);

// An attachment's file name for the message: up to 12 characters as it is; a longer one whose first
// "." stands after its ninth character keeps the first eight characters before that "." and
// everything from the "." on; a result still longer than 12 keeps its last 12 characters; leading
// dots go.
std::string ShortAttachmentName(const std::string& name);

// A name typed with both "[" and "]" that the resolver answered with a name holding neither: the
// typed text without its first "[" and first "]", used as name and address. "" when the rule does
// not apply (the resolved name and address are used).
std::string BracketedAddress(const std::string& typed, const std::string& resolved);

}  // namespace app
