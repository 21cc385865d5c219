#include "engine/formats/uue/uu_code.h"

namespace engine::uu {

void DecodeTable::Build(std::string_view table)
{
    values_.fill(-2);
    for (size_t i = table.size(); i-- > 0;)
        values_[uint8_t(table[i])] = int(i);
    values_[' '] = 0;
    for (size_t c = 0; c < 256; ++c)
        sextets_[c] = uint8_t(values_[c] < 0 ? 0 : values_[c]);
}

int DecodeLine(const DecodeTable& table, std::string_view line, std::vector<uint8_t>& out)
{
    if (line.empty())
        return -1;
    const int n = table.Value(uint8_t(line[0]));
    if (n < 0)
        return -1;
    const size_t start = out.size();
    out.resize(start + size_t(n));
    uint8_t* dst = out.data() + start;
    const auto* text = reinterpret_cast<const uint8_t*>(line.data());
    // Whole groups of three bytes while the line holds all four of their characters; the rest with
    // the missing characters counting as 0.
    size_t pos = 1;
    int left = n;
    for (; left >= 3 && pos + 4 <= line.size(); pos += 4, left -= 3) {
        const uint32_t a = table.Sextet(text[pos]), b = table.Sextet(text[pos + 1]), c = table.Sextet(text[pos + 2]),
                       d = table.Sextet(text[pos + 3]);
        *dst++ = uint8_t(a << 2 | b >> 4);
        *dst++ = uint8_t(b << 4 | c >> 2);
        *dst++ = uint8_t(c << 6 | d);
    }
    const auto at = [&](size_t i) { return i < line.size() ? uint32_t(table.Sextet(text[i])) : 0u; };
    for (; left > 0; pos += 4) {
        const uint32_t a = at(pos), b = at(pos + 1), c = at(pos + 2), d = at(pos + 3);
        const uint8_t bytes[3] = {uint8_t(a << 2 | b >> 4), uint8_t(b << 4 | c >> 2), uint8_t(c << 6 | d)};
        for (int k = 0; k < 3 && left > 0; ++k, --left)
            *dst++ = bytes[k];
    }
    return n;
}

std::string EncodeLine(std::string_view table, const uint8_t* data, int n)
{
    std::string line(1, table[size_t(n)]);
    for (int i = 0; i < n; i += 3) {
        const uint32_t x = data[i], y = i + 1 < n ? data[i + 1] : 0, z = i + 2 < n ? data[i + 2] : 0;
        line += table[x / 4];
        line += table[(x * 16 + y / 16) % 64];
        line += table[(y * 4 + z / 64) % 64];
        line += table[z % 64];
    }
    return line;
}

std::string_view GuessTable(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    if (line.empty())
        return {};
    for (const std::string_view table : {kUUTable, kXXTable}) {
        DecodeTable t;
        t.Build(table);
        const int n = t.Value(uint8_t(line[0]));
        if (n >= 0 && int(line.size()) == LineLengthFor(n))
            return table;
    }
    return {};
}

std::string UUVolumeName(const std::string& base, int number, TNextVolumeName mode, bool longNames)
{
    const std::string digits = std::to_string(number);
    const size_t d = digits.size();
    const size_t nameStart = base.find_last_of("\\/") == std::string::npos ? 0 : base.find_last_of("\\/") + 1;
    size_t dot = base.rfind('.');
    if (dot != std::string::npos && dot < nameStart)
        dot = std::string::npos;
    if (mode == TNextVolumeName::nvChangeExt) {
        if (dot == std::string::npos)
            return base + digits;
        const size_t keep = d < 3 ? 3 - d : 0;
        return base.substr(0, dot + 1) + base.substr(dot + 1, keep) + digits;
    }
    if (mode == TNextVolumeName::nvChangeFilename) {
        const size_t stemEnd = dot == std::string::npos ? base.size() : dot;
        const std::string ext = base.substr(stemEnd);
        if (longNames)  // long names keep the whole stem and add the digits
            return base.substr(0, stemEnd) + digits + ext;
        const size_t cut = stemEnd >= nameStart + d ? stemEnd - d : nameStart;
        return base.substr(0, cut) + digits + ext;
    }
    return base;
}

}  // namespace engine::uu
