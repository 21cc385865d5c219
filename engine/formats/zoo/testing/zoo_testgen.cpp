#include "engine/formats/zoo/testing/zoo_testgen.h"

#include <map>
#include <span>

#include "engine/codec/crc16.h"

namespace engine::zoo::test {

namespace {

class BitWriter {
public:
    void Put(unsigned code, int width)
    {
        bits_ |= uint64_t(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            out += char(bits_ & 0xFF);
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    std::string Finish()
    {
        if (count_ > 0)
            out += char(bits_ & 0xFF);
        return out;
    }
    std::string out;

private:
    uint64_t bits_ = 0;
    int count_ = 0;
};

void Put16(std::string& s, uint32_t v)
{
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

std::string LzwEncode(const std::string& plain)
{
    BitWriter w;
    w.Put(256, 9);
    std::map<std::pair<unsigned, uint8_t>, unsigned> table;
    unsigned encNext = 258;
    unsigned k = 0;  // codes written since the clear
    // The width the decoder reads code number K with: it has added K - 2 entries after the first code.
    const auto widthFor = [](unsigned codeNumber) {
        const unsigned next = codeNumber < 2 ? 258 : 256 + codeNumber;
        int width = 9;
        unsigned max = 512;
        while (next >= max && width < 13) {
            ++width;
            max <<= 1;
        }
        return width;
    };
    size_t i = 0;
    while (i < plain.size()) {
        unsigned code = uint8_t(plain[i++]);
        for (; i < plain.size(); ++i) {
            const auto it = table.find({code, uint8_t(plain[i])});
            if (it == table.end())
                break;
            code = it->second;
        }
        ++k;
        w.Put(code, widthFor(k));
        if (i < plain.size() && encNext < 8192)
            table[{code, uint8_t(plain[i])}] = encNext++;
    }
    w.Put(257, widthFor(k + 1));
    return w.Finish();
}

std::string Archive(const std::vector<Member>& members)
{
    std::string a = "ZOO 2.10 Archive.\x1a";
    a.resize(20, '\0');
    Put32(a, 0xFDC4A7DC);
    Put32(a, 43);
    Put32(a, uint32_t(-43));
    a += '\x02';
    a += '\x01';
    a.resize(43, '\0');
    for (const Member& m : members) {
        const uint32_t pos = uint32_t(a.size());
        const std::string packed = !m.packed.empty() ? m.packed : m.method == 1 ? LzwEncode(m.plain) : m.plain;
        uint16_t crc = 0;
        mx::codec::UpdateCrc16(std::span(reinterpret_cast<const uint8_t*>(m.plain.data()), m.plain.size()), crc);
        if (m.crc != 0xFFFF)
            crc = m.crc;
        const std::string longName = m.longName.empty() ? "" : m.longName + '\0';
        const std::string folder = m.folder.empty() ? "" : m.folder + '\0';
        const uint32_t variable = uint32_t(2 + longName.size() + folder.size());
        const uint32_t dataPos = pos + 58 + uint32_t(longName.size() + folder.size());
        const uint32_t next = dataPos + uint32_t(packed.size());
        std::string e;
        Put32(e, 0xFDC4A7DC);
        e += '\x02';
        e += char(m.method);
        Put32(e, next);
        Put32(e, dataPos);
        Put16(e, 0x5821);  // date
        Put16(e, 0x6000);  // time
        Put16(e, crc);
        Put32(e, uint32_t(m.plain.size()));
        Put32(e, uint32_t(packed.size()));
        e += '\x02';
        e += '\x00';
        e += m.deleted ? '\x01' : '\x00';
        e += '\x00';
        Put32(e, 0);
        Put16(e, 0);
        std::string name = m.name.substr(0, 12);
        name.resize(13, '\0');
        e += name;
        Put16(e, variable);
        e += '\x7F';  // no time zone
        Put16(e, 0);
        e += char(longName.size());
        e += char(folder.size());
        a += e + longName + folder + packed;
    }
    // The terminating entry.
    std::string t;
    Put32(t, 0xFDC4A7DC);
    t += '\x02';
    t += '\x00';
    Put32(t, 0);
    t.resize(58, '\0');
    return a + t;
}

}  // namespace engine::zoo::test
