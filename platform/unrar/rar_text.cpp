#include "platform/unrar/rar_text.h"

#include "platform/unrar/rar_blocks.h"

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
    out = Utf8ToUtf16(text);
#endif
    return out;
}

std::string ToOemName(const std::u16string& wide, const std::string& plain)
{
    std::string out;
#ifdef _WIN32
    // Characters the OEM code page lacks become '_': the default '?' would read as a wildcard.
    const int n = WideCharToMultiByte(CP_OEMCP, 0, reinterpret_cast<const wchar_t*>(wide.data()), int(wide.size()),
                                      nullptr, 0, "_", nullptr);
    if (n > 0) {
        out.resize(size_t(n));
        WideCharToMultiByte(CP_OEMCP, 0, reinterpret_cast<const wchar_t*>(wide.data()), int(wide.size()), out.data(), n,
                            "_", nullptr);
    }
#else
    // ASCII as it is; beyond it the archiver's own code page byte where it had one, else '_'.
    const bool aligned = plain.size() == wide.size();
    for (size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] < 0x80)
            out += char(wide[i]);
        else if (aligned && uint8_t(plain[i]) >= 0x80)
            out += plain[i];
        else if (wide[i] < 0xDC00 || wide[i] > 0xDFFF)
            out += '_';
    }
#endif
    return out;
}

}  // namespace unrar
