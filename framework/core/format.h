// Checked formatting: Format("%s has %d entries", {name, count}). Each placeholder is checked against
// its argument's kind; a missing or mismatched argument raises EConvertError and never reads memory it
// should not, so translated format strings from tables are safe.
//
//   %[index:][-][width][.precision]type      index, width and precision may be "*" (taken from the args)
//   d  signed integer (precision = minimum digits, zero-filled; 64-bit values allowed)
//   u  unsigned integer          x X  hexadecimal (lower / upper case)
//   s  string or char (precision = maximum characters)
//   c  character (a char or an integer code)
//   p  pointer, as 8 or 16 upper-case hex digits
//   f  fixed (precision default 2)  e  scientific (precision default 15 digits, "E+000" exponent)
//   g  general: the shortest of the two (precision default 15 significant digits)
//   %% a percent sign
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace fw {

class FormatArg {
public:
    enum class Kind { Int, Int64, UInt, String, Char, Float, Pointer };

    FormatArg(int v) : kind_(Kind::Int), i_(v) {}
    FormatArg(long v) : kind_(sizeof(long) == 8 ? Kind::Int64 : Kind::Int), i_(v) {}
    FormatArg(long long v) : kind_(Kind::Int64), i_(v) {}
    FormatArg(unsigned v) : kind_(Kind::UInt), i_(static_cast<int64_t>(v)) {}
    FormatArg(unsigned long v) : kind_(Kind::UInt), i_(static_cast<int64_t>(v)) {}
    FormatArg(unsigned long long v) : kind_(Kind::UInt), i_(static_cast<int64_t>(v)) {}
    FormatArg(short v) : kind_(Kind::Int), i_(v) {}
    FormatArg(unsigned short v) : kind_(Kind::Int), i_(v) {}
    FormatArg(char v) : kind_(Kind::Char), i_(static_cast<unsigned char>(v)) {}
    FormatArg(double v) : kind_(Kind::Float), d_(v) {}
    FormatArg(float v) : kind_(Kind::Float), d_(v) {}
    FormatArg(const char* v) : kind_(Kind::String), s_(v ? v : "") {}
    FormatArg(const std::string& v) : kind_(Kind::String), s_(v) {}
    FormatArg(const void* v) : kind_(Kind::Pointer), i_(static_cast<int64_t>(reinterpret_cast<uintptr_t>(v))) {}
    FormatArg(bool) = delete;  // no placeholder takes a boolean; say which text is meant

    Kind kind() const { return kind_; }
    int64_t AsInt() const { return i_; }
    double AsFloat() const { return d_; }
    const std::string& AsString() const { return s_; }

private:
    Kind kind_;
    int64_t i_ = 0;
    double d_ = 0;
    std::string s_;
};

// Raises EConvertError "Format '<fmt>' invalid or incompatible with argument" on a bad placeholder or
// argument, and "No argument for format '<fmt>'" when one is missing. Surplus arguments are ignored.
std::string Format(const std::string& fmt, std::initializer_list<FormatArg> args);

// A string-table entry by number (the Resources seam), or "" when there is none.
std::string LoadStr(int id);
// Format over a string-table entry.
std::string FmtLoadStr(int id, std::initializer_list<FormatArg> args);

// Floating-point text with "." replaced by the global decimal separator.
std::string FloatToStr(double value);
// Accepts the global decimal separator or "."; raises EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const std::string& s);
bool TryStrToFloat(const std::string& s, double& value);

}  // namespace fw
