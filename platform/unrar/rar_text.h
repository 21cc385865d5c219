// Password text for the ciphers: the library takes passwords as 8-bit strings in the system's code
// page (UTF-8 natively); the AES key derivation hashes them as UTF-16.
#pragma once

#include <string>

namespace unrar {

std::u16string ToUtf16(const std::string& text);

}  // namespace unrar
