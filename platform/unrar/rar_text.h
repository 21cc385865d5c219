// Text conversions: the library takes passwords as 8-bit strings in the system's code page (UTF-8
// natively), and the AES key derivation hashes them as UTF-16; names go to the caller in the OEM code
// page.
#pragma once

#include <string>

namespace unrar {

std::u16string ToUtf16(const std::string& text);

// An entry's name for the caller, in the OEM code page, from its Unicode form and its plain form.
std::string ToOemName(const std::u16string& wide, const std::string& plain);

}  // namespace unrar
