// Splits arbitrary text into words, tokens and command-line parameters. The first byte picks the
// delimiters; every routine must stay inside the text and agree with the others.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "uisupport/textutils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string delimiterChoice[] = {",", " ,[]", ";", std::string("\0\t ", 3)};
    const uis::CharSet delimiters = uis::MakeCharSet(delimiterChoice[data[0] % 4]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const int words = uis::CountWords(text, delimiters);
    for (int n = 1; n <= words + 1 && n <= 64; ++n) {
        const size_t start = uis::WordStart(n, text, delimiters);
        const std::string word = uis::WordAt(n, text, delimiters);
        if ((start == 0) != (n > words)) std::abort();
        if (start && text.compare(start - 1, word.size(), word) != 0) std::abort();
    }
    size_t position = 1;
    for (int guard = 0; position <= text.size() && guard <= static_cast<int>(text.size()); ++guard) {
        const size_t before = position;
        uis::NextToken(text, position, delimiters);
        if (position <= before) std::abort();
    }

    std::string param;
    size_t at = 0;
    for (int guard = 0; guard <= static_cast<int>(text.size()) + 1; ++guard) {
        const size_t next = uis::NextParam(text, at, param);
        if (next > text.size() || (param.empty() && guard == 0 && next < at)) std::abort();
        if (param.empty()) break;
        at = next;
    }
    std::string program, params;
    uis::SplitProgramAndParams(text, program, params);
    if (program != uis::ParamAt(text, 0)) std::abort();
    uis::CountParams(text);
    uis::StripTrailingBackslash(text);
    uis::IsValidFileName(text);
    uis::RebuildPath(text, [](const std::string& prefix) { return prefix.size() % 3 ? std::string() : std::string("L"); });
    return 0;
}
