#include "engine/formats/tar/tar_header.h"

#include <array>
#include <cstring>

namespace engine::tar {

namespace {

// Metadata records larger than this are not read (a sane long name or pax header is far smaller).
constexpr uint64_t kMaxMetadata = 1u << 20;

uint64_t RoundUp(uint64_t n) { return (n + kBlock - 1) / kBlock * kBlock; }

std::string Field(const uint8_t* p, size_t length)
{
    size_t n = 0;
    while (n < length && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

// Leading and trailing blanks and control characters go.
std::string Trim(std::string s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The "path" and "size" records of a pax extended header ("LEN key=value\n" each).
void ParsePax(const std::string& data, std::string& path, std::string& linkPath, uint64_t& size, bool& haveSize)
{
    size_t pos = 0;
    while (pos < data.size()) {
        size_t len = 0, i = pos;
        while (i < data.size() && data[i] >= '0' && data[i] <= '9' && len < kMaxMetadata)
            len = len * 10 + size_t(data[i++] - '0');
        if (len == 0 || i >= data.size() || data[i] != ' ' || pos + len > data.size())
            return;
        const std::string record = data.substr(i + 1, pos + len - i - 1);
        pos += len;
        const size_t eq = record.find('=');
        if (eq == std::string::npos)
            continue;
        std::string value = record.substr(eq + 1);
        if (!value.empty() && value.back() == '\n')
            value.pop_back();
        const std::string key = record.substr(0, eq);
        if (key == "path") {
            path = value;
        } else if (key == "linkpath") {
            linkPath = value;
        } else if (key == "size") {
            uint64_t v = 0;
            bool ok = !value.empty();
            for (char c : value)
                if (c >= '0' && c <= '9')
                    v = v * 10 + uint64_t(c - '0');
                else
                    ok = false;
            if (ok) {
                size = v;
                haveSize = true;
            }
        }
    }
}

}  // namespace

uint64_t NumberField(const uint8_t* field, size_t length, bool& valid)
{
    valid = false;
    uint64_t value = 0;
    if (length > 0 && (field[0] & 0x80)) {
        // Negative numbers (bit 6 set) are not sizes or dates this reader takes.
        if (field[0] & 0x40)
            return 0;
        value = field[0] & 0x3F;
        for (size_t i = 1; i < length; ++i)
            value = (value << 8) | field[i];
        valid = true;
        return value;
    }
    for (size_t i = 0; i < length; ++i)
        if (field[i] >= '0' && field[i] <= '7') {
            value = (value << 3) | uint64_t(field[i] - '0');
            valid = true;
        }
    return value;
}

bool HeaderWalker::ReadData(uint64_t pos, uint64_t size, std::string& out)
{
    if (size > kMaxMetadata)
        return false;
    out.assign(size_t(size), '\0');
    return source_.ReadExact(pos, std::span(reinterpret_cast<uint8_t*>(out.data()), out.size()));
}

bool HeaderWalker::Next(Entry& e)
{
    std::string longName, longLink, paxPath, paxLink;
    uint64_t paxSize = 0;
    bool havePaxSize = false;
    std::array<uint8_t, kBlock> h{};
    for (;;) {
        if (!source_.ReadExact(pos_, h))
            return false;
        const std::string rawName = Field(h.data(), 100);
        if (Trim(rawName).empty())
            return false;
        bool valid = false;
        const uint64_t size = NumberField(h.data() + 124, 12, valid);
        const char type = static_cast<char>(h[156]);
        const uint64_t header = pos_;
        const uint64_t data = pos_ + kBlock;
        const uint64_t padded = RoundUp(size);
        if (padded < size || data + padded < data)
            return false;
        pos_ = data + padded;
        switch (type) {
        case 'L':
            if (!ReadData(data, size, longName))
                return false;
            longName = longName.substr(0, longName.find('\0'));
            continue;
        case 'K':
            if (!ReadData(data, size, longLink))
                return false;
            longLink = longLink.substr(0, longLink.find('\0'));
            continue;
        case 'x': {
            std::string pax;
            if (!ReadData(data, size, pax))
                return false;
            ParsePax(pax, paxPath, paxLink, paxSize, havePaxSize);
            continue;
        }
        case 'g':
        case 'V':
            continue;
        default:
            break;
        }
        e = Entry{};
        e.type = type;
        e.headerPos = header;
        e.dataPos = data;
        e.size = havePaxSize ? paxSize : size;
        e.mtime = int64_t(NumberField(h.data() + 136, 12, e.mtimeValid));
        bool checksumValid = false;
        e.checksum = uint32_t(NumberField(h.data() + 148, 8, checksumValid));
        if (!paxPath.empty()) {
            e.name = paxPath;
        } else if (!longName.empty()) {
            e.name = longName;
        } else {
            e.name = Trim(rawName);
            // ustar keeps the leading folders of a long path in the prefix field.
            if (std::memcmp(h.data() + 257, "ustar", 5) == 0) {
                const std::string prefix = Trim(Field(h.data() + 345, 155));
                if (!prefix.empty())
                    e.name = prefix + "/" + e.name;
            }
        }
        // Old (v7) archives have no folder type: a file entry whose name ends in "/" is a folder.
        if ((type == '\0' || type == '0') && !e.name.empty() && e.name.back() == '/')
            e.type = '5';
        e.linkName = !paxLink.empty() ? paxLink : !longLink.empty() ? longLink : Field(h.data() + 157, 100);
        if (havePaxSize) {
            const uint64_t p = RoundUp(e.size);
            if (p < e.size || data + p < data)
                return false;
            pos_ = data + p;
        }
        return true;
    }
}

}  // namespace engine::tar
