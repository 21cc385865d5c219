#include "engine/names/output_name_rule.h"

namespace mx::names {

namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != b[i])
            return false;
    return true;
}

// The digits Windows accepts after COM and LPT: 1 to 9 and the superscript 1, 2 and 3 of the ANSI
// code page.
bool IsPortDigit(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (c >= '1' && c <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
}

}  // namespace

std::string_view TrimTrailingDotsAndBlanks(std::string_view component)
{
    while (!component.empty() && (component.back() == '.' || component.back() == ' '))
        component.remove_suffix(1);
    return component;
}

bool IsForbiddenNameChar(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return u < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*' || c == ':';
}

bool IsDeviceName(std::string_view component)
{
    std::string_view base = TrimTrailingDotsAndBlanks(component);
    // The device is named by what stands before the first dot, blanks before the dot dropped.
    size_t dot = 0;
    while (dot < base.size() && base[dot] != '.')
        ++dot;
    base = std::string_view(base.data(), dot);
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (SameNoCase(base, device))
            return true;
    if (base.size() == 4 && IsPortDigit(base[3])) {
        const std::string_view stem(base.data(), 3);
        return SameNoCase(stem, "COM") || SameNoCase(stem, "LPT");
    }
    return false;
}

bool IsWritableComponent(std::string_view component)
{
    if (TrimTrailingDotsAndBlanks(component).empty())
        return false;
    for (char c : component)
        if (IsForbiddenNameChar(c))
            return false;
    return !IsDeviceName(component);
}

}  // namespace mx::names
