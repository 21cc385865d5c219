#include "framework/core/format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "framework/core/datetime.h"
#include "framework/core/exceptions.h"
#include "framework/core/platform.h"

namespace fw {

namespace {

[[noreturn]] void Invalid(const std::string& fmt) {
    throw EConvertError("Format '" + fmt + "' invalid or incompatible with argument");
}

// Replaces the C library's "." by the global decimal separator.
std::string Localise(std::string s) {
    const char sep = FormatSettings.DecimalSeparator;
    if (sep != '.')
        for (char& c : s)
            if (c == '.') c = sep;
    return s;
}

// "1.5e+07" -> mantissa and a decimal exponent.
void SplitExponent(const std::string& s, std::string& mantissa, int& exponent) {
    const size_t e = s.find_first_of("eE");
    mantissa = s.substr(0, e);
    exponent = e == std::string::npos ? 0 : std::atoi(s.c_str() + e + 1);
}

std::string NonFinite(double v) {
    if (std::isnan(v)) return "NAN";
    return v < 0 ? "-INF" : "INF";
}

std::string Scientific(double v, int precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (precision < 1) precision = 1;
    if (precision > 18) precision = 18;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, v);
    std::string mantissa;
    int exponent;
    SplitExponent(buf, mantissa, exponent);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return Localise(mantissa) + exp;
}

std::string Fixed(double v, int precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (precision > 18) precision = 18;
    // Numbers too large for fixed notation fall back to scientific, as a display would.
    if (std::fabs(v) >= 1e18) return Scientific(v, 15);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", precision, v);
    return Localise(buf);
}

std::string General(double v, int precision) {
    if (!std::isfinite(v)) return NonFinite(v);
    if (precision < 1 || precision > 18) precision = 15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", precision, v);
    std::string mantissa;
    int exponent;
    SplitExponent(buf, mantissa, exponent);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0') mantissa.pop_back();
        if (mantissa.back() == '.') mantissa.pop_back();
    }
    std::string out = Localise(mantissa);
    if (std::string(buf).find('e') != std::string::npos) out += "E" + std::to_string(exponent);
    return out;
}

std::string Digits(uint64_t v, int base, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    do {
        out.insert(out.begin(), digits[v % static_cast<uint64_t>(base)]);
        v /= static_cast<uint64_t>(base);
    } while (v);
    return out;
}

std::string ZeroFill(std::string digits, int precision) {
    if (precision > 64) precision = 64;
    if (precision > static_cast<int>(digits.size())) digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
    return digits;
}

}  // namespace

std::string Format(const std::string& fmt, std::initializer_list<FormatArg> argList) {
    const std::vector<const FormatArg*> args = [&] {
        std::vector<const FormatArg*> v;
        for (const FormatArg& a : argList) v.push_back(&a);
        return v;
    }();
    size_t next = 0;
    auto take = [&]() -> const FormatArg& {
        if (next >= args.size()) throw EConvertError("No argument for format '" + fmt + "'");
        return *args[next++];
    };
    auto takeInt = [&]() -> int {
        const FormatArg& a = take();
        if (a.kind() != FormatArg::Kind::Int && a.kind() != FormatArg::Kind::UInt) Invalid(fmt);
        const int64_t v = a.AsInt();
        if (v < -1000000 || v > 1000000) Invalid(fmt);  // widths beyond this are mistakes, not layouts
        return static_cast<int>(v);
    };

    std::string out;
    size_t i = 0;
    const size_t n = fmt.size();
    while (i < n) {
        const char c = fmt[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i >= n) Invalid(fmt);
        if (fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index:]
        auto number = [&](int& value) -> bool {
            if (i < n && fmt[i] == '*') {
                ++i;
                value = takeInt();
                return true;
            }
            if (i >= n || fmt[i] < '0' || fmt[i] > '9') return false;
            int64_t v = 0;
            while (i < n && fmt[i] >= '0' && fmt[i] <= '9') {
                v = v * 10 + (fmt[i++] - '0');
                if (v > 1000000) Invalid(fmt);
            }
            value = static_cast<int>(v);
            return true;
        };
        bool leftAlign = false;
        int width = -1, precision = -1;
        // An argument index "n:" moves the argument cursor.
        {
            size_t k = i;
            int64_t index = 0;
            while (k < n && fmt[k] >= '0' && fmt[k] <= '9' && index <= 1000000) index = index * 10 + (fmt[k++] - '0');
            if (k > i && k < n && fmt[k] == ':') {
                if (index > static_cast<int64_t>(args.size())) Invalid(fmt);
                next = static_cast<size_t>(index);
                i = k + 1;
            }
        }
        if (i < n && fmt[i] == '-') {
            leftAlign = true;
            ++i;
        }
        number(width);
        if (i < n && fmt[i] == '.') {
            ++i;
            if (!number(precision)) precision = 0;
        }
        if (i >= n) Invalid(fmt);
        const char type = static_cast<char>(fmt[i] | 0x20);
        const bool upperHex = fmt[i] == 'X';
        ++i;
        const FormatArg& arg = take();
        const FormatArg::Kind kind = arg.kind();
        const bool integral = kind == FormatArg::Kind::Int || kind == FormatArg::Kind::Int64 || kind == FormatArg::Kind::UInt;
        std::string text;
        switch (type) {
            case 'd': {
                if (!integral) Invalid(fmt);
                const int64_t v = arg.AsInt();
                if (kind == FormatArg::Kind::UInt) {
                    text = ZeroFill(Digits(static_cast<uint64_t>(v), 10, false), precision);
                } else {
                    const uint64_t mag = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
                    text = (v < 0 ? "-" : "") + ZeroFill(Digits(mag, 10, false), precision);
                }
                break;
            }
            case 'u': {
                if (!integral) Invalid(fmt);
                uint64_t v = static_cast<uint64_t>(arg.AsInt());
                if (kind == FormatArg::Kind::Int) v &= 0xFFFFFFFFu;  // a 32-bit value shows its bit pattern
                text = ZeroFill(Digits(v, 10, false), precision);
                break;
            }
            case 'x': {
                if (!integral) Invalid(fmt);
                uint64_t v = static_cast<uint64_t>(arg.AsInt());
                if (kind == FormatArg::Kind::Int) v &= 0xFFFFFFFFu;
                text = ZeroFill(Digits(v, 16, upperHex), precision);
                break;
            }
            case 'p': {
                if (kind != FormatArg::Kind::Pointer) Invalid(fmt);
                text = ZeroFill(Digits(static_cast<uint64_t>(arg.AsInt()), 16, true), static_cast<int>(sizeof(void*) * 2));
                break;
            }
            case 'c': {
                if (kind == FormatArg::Kind::Char)
                    text = std::string(1, static_cast<char>(arg.AsInt()));
                else if (integral && arg.AsInt() >= 0 && arg.AsInt() <= 255)
                    text = std::string(1, static_cast<char>(arg.AsInt()));
                else
                    Invalid(fmt);
                break;
            }
            case 's': {
                if (kind == FormatArg::Kind::String)
                    text = arg.AsString();
                else if (kind == FormatArg::Kind::Char)
                    text = std::string(1, static_cast<char>(arg.AsInt()));
                else
                    Invalid(fmt);
                if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(static_cast<size_t>(precision));
                break;
            }
            case 'f':
            case 'e':
            case 'g': {
                if (kind != FormatArg::Kind::Float) Invalid(fmt);
                const double v = arg.AsFloat();
                text = type == 'f' ? Fixed(v, precision < 0 ? 2 : precision)
                       : type == 'e' ? Scientific(v, precision < 0 ? 15 : precision)
                                     : General(v, precision < 0 ? 15 : precision);
                break;
            }
            default:
                Invalid(fmt);
        }
        if (width > static_cast<int>(text.size())) {
            const std::string pad(static_cast<size_t>(width) - text.size(), ' ');
            text = leftAlign ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

std::string LoadStr(int id) {
    std::string text;
    if (Res().FindString(id, text)) return text;
    // Windows programs may still carry strings registered by code (tests, tables not yet in .rc).
    if (&Res() != &TableResources() && TableResources().FindString(id, text)) return text;
    return std::string();
}

std::string FmtLoadStr(int id, std::initializer_list<FormatArg> args) { return Format(LoadStr(id), args); }

std::string FloatToStr(double value) { return General(value, 15); }

bool TryStrToFloat(const std::string& s, double& value) {
    std::string t = s;
    while (!t.empty() && t.front() == ' ') t.erase(t.begin());
    while (!t.empty() && t.back() == ' ') t.pop_back();
    if (t.empty()) return false;
    for (char& c : t)
        if (c == FormatSettings.DecimalSeparator) c = '.';
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

double StrToFloat(const std::string& s) {
    double v = 0;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + s + "' is not a valid floating point value");
    return v;
}

}  // namespace fw
