// Test helper: builds a minimal, loadable Windows image (PE32 or PE32+) whose only section holds a
// string table resource, so tests can make self-extractor stubs with chosen strings.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace engine::test {

class PeImageBuilder {
public:
    explicit PeImageBuilder(bool pe32Plus = false) : pe32Plus_(pe32Plus) {}

    // Adds string id with an ASCII or UTF-16 text in the given language.
    void AddString(uint32_t id, const std::u16string& text, uint16_t lang = 0x0409) {
        blocks_[static_cast<uint16_t>((id >> 4) + 1)][lang][id & 15] = text;
    }
    void AddString(uint32_t id, const std::string& ascii, uint16_t lang = 0x0409) {
        AddString(id, std::u16string(ascii.begin(), ascii.end()), lang);
    }

    std::string Build() const {
        const std::string rsrc = BuildResources(kSectionRva);
        const uint32_t optSize = pe32Plus_ ? 240 : 224;
        const uint32_t rawSize = Align(static_cast<uint32_t>(rsrc.size()), kFileAlign);
        std::string img(kHeaderSize, '\0');
        // DOS header: the image end (e_cp pages, e_cblp bytes in the last) at 1168, as linkers write it.
        img[0] = 'M';
        img[1] = 'Z';
        Put16(img, 2, 0x90);
        Put16(img, 4, 3);
        Put32(img, 0x3C, 0x40);
        const uint32_t pe = 0x40;
        img.replace(pe, 4, std::string("PE\0\0", 4));
        const uint32_t coff = pe + 4;
        Put16(img, coff + 0, pe32Plus_ ? 0x8664 : 0x014C);
        Put16(img, coff + 2, 1);
        Put16(img, coff + 16, static_cast<uint16_t>(optSize));
        Put16(img, coff + 18, pe32Plus_ ? 0x0022 : 0x0102);
        const uint32_t opt = coff + 20;
        Put16(img, opt + 0, pe32Plus_ ? 0x20B : 0x10B);
        img[opt + 2] = 2;
        Put32(img, opt + 8, rawSize);       // initialised data
        Put32(img, opt + 20, kSectionRva);  // base of code
        if (pe32Plus_) {
            Put32(img, opt + 24, 0x00400000);  // image base, 64-bit field
        } else {
            Put32(img, opt + 24, kSectionRva);  // base of data
            Put32(img, opt + 28, 0x00400000);
        }
        Put32(img, opt + 32, kSectionAlign);
        Put32(img, opt + 36, kFileAlign);
        Put16(img, opt + 40, 4);  // OS version
        Put16(img, opt + 48, 4);  // subsystem version
        Put32(img, opt + 56, kSectionRva + Align(static_cast<uint32_t>(rsrc.size()), kSectionAlign));
        Put32(img, opt + 60, kHeaderSize);
        Put16(img, opt + 68, 2);  // GUI subsystem
        if (pe32Plus_) {
            Put32(img, opt + 72, 0x100000);
            Put32(img, opt + 80, 0x1000);
            Put32(img, opt + 88, 0x100000);
            Put32(img, opt + 96, 0x1000);
            Put32(img, opt + 108, 16);
        } else {
            Put32(img, opt + 72, 0x100000);
            Put32(img, opt + 76, 0x1000);
            Put32(img, opt + 80, 0x100000);
            Put32(img, opt + 84, 0x1000);
            Put32(img, opt + 92, 16);
        }
        const uint32_t dirs = opt + (pe32Plus_ ? 112 : 96);
        Put32(img, dirs + 2 * 8, kSectionRva);
        Put32(img, dirs + 2 * 8 + 4, static_cast<uint32_t>(rsrc.size()));
        const uint32_t sec = opt + optSize;
        img.replace(sec, 6, ".rsrc\0", 6);
        Put32(img, sec + 8, static_cast<uint32_t>(rsrc.size()));
        Put32(img, sec + 12, kSectionRva);
        Put32(img, sec + 16, rawSize);
        Put32(img, sec + 20, kHeaderSize);
        Put32(img, sec + 36, 0x40000040);  // initialised data, readable
        std::string body = rsrc;
        body.resize(rawSize, '\0');
        return img + body;
    }

private:
    static constexpr uint32_t kHeaderSize = 0x200, kFileAlign = 0x200, kSectionAlign = 0x1000;
    static constexpr uint32_t kSectionRva = 0x1000;

    static uint32_t Align(uint32_t v, uint32_t a) { return (v + a - 1) / a * a; }
    static void Put16(std::string& s, size_t at, uint16_t v) {
        s[at] = static_cast<char>(v & 0xFF);
        s[at + 1] = static_cast<char>(v >> 8);
    }
    static void Put32(std::string& s, size_t at, uint32_t v) {
        Put16(s, at, static_cast<uint16_t>(v));
        Put16(s, at + 2, static_cast<uint16_t>(v >> 16));
    }
    static std::string Dir(uint16_t idCount) {
        std::string d(16, '\0');
        Put16(d, 14, idCount);
        return d;
    }

    // Root -> RT_STRING -> block -> language -> data entry -> block of 16 counted UTF-16 strings.
    std::string BuildResources(uint32_t rva) const {
        size_t langEntries = 0;
        for (const auto& [block, langs] : blocks_) langEntries += langs.size();
        const uint32_t rootSize = 16 + 8;
        const uint32_t typeSize = 16 + 8 * static_cast<uint32_t>(blocks_.size());
        uint32_t langDirsSize = 0;
        for (const auto& [block, langs] : blocks_) langDirsSize += 16 + 8 * static_cast<uint32_t>(langs.size());
        const uint32_t dataEntriesAt = rootSize + typeSize + langDirsSize;
        uint32_t stringsAt = dataEntriesAt + 16 * static_cast<uint32_t>(langEntries);

        std::string out = Dir(1);
        std::string e(8, '\0');
        Put32(e, 0, 6);
        Put32(e, 4, 0x80000000u | rootSize);
        out += e;
        out += Dir(static_cast<uint16_t>(blocks_.size()));
        uint32_t langDirAt = rootSize + typeSize;
        for (const auto& [block, langs] : blocks_) {
            Put32(e, 0, block);
            Put32(e, 4, 0x80000000u | langDirAt);
            out += e;
            langDirAt += 16 + 8 * static_cast<uint32_t>(langs.size());
        }
        uint32_t dataEntry = dataEntriesAt;
        for (const auto& [block, langs] : blocks_) {
            out += Dir(static_cast<uint16_t>(langs.size()));
            for (const auto& [lang, strings] : langs) {
                Put32(e, 0, lang);
                Put32(e, 4, dataEntry);
                out += e;
                dataEntry += 16;
            }
        }
        std::string data;
        for (const auto& [block, langs] : blocks_) {
            for (const auto& [lang, strings] : langs) {
                std::string blockBytes;
                for (uint32_t i = 0; i < 16; ++i) {
                    const auto it = strings.find(i);
                    const std::u16string text = it == strings.end() ? std::u16string() : it->second;
                    std::string len(2, '\0');
                    Put16(len, 0, static_cast<uint16_t>(text.size()));
                    blockBytes += len;
                    for (char16_t c : text) {
                        std::string ch(2, '\0');
                        Put16(ch, 0, c);
                        blockBytes += ch;
                    }
                }
                std::string entry(16, '\0');
                Put32(entry, 0, rva + stringsAt);
                Put32(entry, 4, static_cast<uint32_t>(blockBytes.size()));
                out += entry;
                blockBytes.resize(Align(static_cast<uint32_t>(blockBytes.size()), 4), '\0');
                data += blockBytes;
                stringsAt += static_cast<uint32_t>(blockBytes.size());
            }
        }
        return out + data;
    }

    bool pe32Plus_;
    std::map<uint16_t, std::map<uint16_t, std::map<uint32_t, std::u16string>>> blocks_;
};

}  // namespace engine::test
