#include "engine/formats/arc/testing/arc_testenc.h"

#include <array>
#include <span>
#include <vector>

#include "engine/codec/crc16.h"

namespace engine::arc::test {

std::string RunLengthEncode(const std::string& plain)
{
    std::string out;
    for (size_t i = 0; i < plain.size();) {
        const char c = plain[i];
        if (static_cast<uint8_t>(c) == 0x90) {
            out += "\x90";
            out += '\0';
            ++i;
            continue;
        }
        size_t run = 1;
        while (i + run < plain.size() && plain[i + run] == c && run < 255)
            ++run;
        out += c;
        if (run >= 3) {
            out += "\x90";
            out += static_cast<char>(run);
            i += run;
        } else {
            ++i;
        }
    }
    return out;
}

namespace {

struct Slot {
    bool used = false;
    unsigned next = 0, pred = 0xFFFF;
    uint8_t c = 0;
};

class Table {
public:
    explicit Table(bool newHash) : newHash_(newHash), slots_(4096)
    {
        for (unsigned c = 0; c < 256; ++c)
            Insert(0xFFFF, uint8_t(c));
    }
    unsigned Hash(unsigned p, uint8_t c) const
    {
        if (newHash_)
            return ((p + c) * 15073u) & 0xFFF;
        const uint64_t k = ((p + c) | 0x800u) & 0xFFFFu;
        return unsigned((k * k) >> 6) & 0xFFF;
    }
    void Insert(unsigned p, uint8_t c)
    {
        unsigned s = Hash(p, c);
        if (slots_[s].used) {
            while (slots_[s].next != 0)
                s = slots_[s].next;
            unsigned probe = (s + 101) & 0xFFF;
            while (slots_[probe].used)
                probe = (probe + 1) & 0xFFF;
            slots_[s].next = probe;
            s = probe;
        }
        slots_[s] = Slot{true, 0, p, c};
    }
    int Find(unsigned p, uint8_t c) const
    {
        unsigned s = Hash(p, c);
        for (int guard = 0; slots_[s].used && guard < 4096; ++guard) {
            if (slots_[s].pred == p && slots_[s].c == c)
                return int(s);
            if (slots_[s].next == 0)
                break;
            s = slots_[s].next;
        }
        return -1;
    }

private:
    bool newHash_;
    std::vector<Slot> slots_;
};

}  // namespace

std::string FixedLzwEncode(const std::string& input, bool newHash)
{
    Table table(newHash);
    std::vector<unsigned> codes;
    unsigned freeSlots = 4096 - 256;
    size_t i = 0;
    while (i < input.size()) {
        unsigned code = unsigned(table.Find(0xFFFF, uint8_t(input[i++])));
        while (i < input.size()) {
            const int longer = table.Find(code, uint8_t(input[i]));
            if (longer < 0)
                break;
            code = unsigned(longer);
            ++i;
        }
        codes.push_back(code);
        // The decoder adds (previous code, first byte of this string) when it reads the next code;
        // the encoder adds the same entry once it knows that byte.
        if (i < input.size() && freeSlots > 0) {
            --freeSlots;
            table.Insert(code, uint8_t(input[i]));
        }
    }
    std::string out;
    for (size_t k = 0; k < codes.size(); k += 2) {
        const unsigned a = codes[k];
        const unsigned b = k + 1 < codes.size() ? codes[k + 1] : 0;
        out += char(a >> 4);
        out += char(((a & 0xF) << 4) | (b >> 8));
        if (k + 1 < codes.size())
            out += char(b & 0xFF);
    }
    return out;
}

std::string Pack(int method, const std::string& plain)
{
    switch (method) {
    case 3: return RunLengthEncode(plain);
    case 5: return FixedLzwEncode(plain, false);
    case 6: return FixedLzwEncode(RunLengthEncode(plain), false);
    case 7: return FixedLzwEncode(RunLengthEncode(plain), true);
    default: return plain;
    }
}

namespace {

void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += char(v >> (8 * i));
}

}  // namespace

std::string Record(int method, const std::string& name, const std::string& packed, const std::string& plain,
                   uint32_t stamp)
{
    uint16_t crc = 0;
    mx::codec::UpdateCrc16(std::span(reinterpret_cast<const uint8_t*>(plain.data()), plain.size()), crc);
    std::string h;
    h += '\x1A';
    h += char(method);
    std::string n = name.substr(0, 12);
    n.resize(13, '\0');
    h += n;
    Put32(h, uint32_t(packed.size()));
    Put32(h, stamp);
    h += char(crc & 0xFF);
    h += char(crc >> 8);
    if (method != 1)
        Put32(h, uint32_t(plain.size()));
    return h + packed;
}

std::string FolderRecord(const std::string& name)
{
    std::string r = Record(30, name, "", "");
    return r;
}

std::string FolderEnd() { return std::string("\x1A\x1F", 2); }

std::string EndMarker() { return std::string("\x1A\x00", 2); }

}  // namespace engine::arc::test
