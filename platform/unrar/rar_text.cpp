#include "platform/unrar/rar_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace unrar {

std::u16string ToUtf16(const std::string& text)
{
    std::u16string out;
#ifdef _WIN32
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    if (n > 0) {
        std::wstring wide(size_t(n), L'\0');
        MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), n);
        out.assign(wide.begin(), wide.end());
    }
#else
    // UTF-8; a byte that does not start a valid sequence stands for itself (Latin-1).
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        unsigned need = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = need == 3 ? b & 0x07 : need == 2 ? b & 0x0F : b & 0x1F;
        bool valid = need > 0 && i + need < text.size();
        for (unsigned k = 1; valid && k <= need; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            valid = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!valid) {
            out.push_back(char16_t(b));
            ++i;
            continue;
        }
        i += need + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + (c >> 10)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
#endif
    return out;
}

}  // namespace unrar
