// Post-link step of the extractor program: makes its file exactly SfxStubSize bytes long, marks the
// image with "MZP" 00, and refuses images that archive-type detection could mistake for an archive.
//
//   stubpad <sfxstub.exe>
//
// The checks, each fatal:
//   - the linked image is no larger than SfxStubSize (it is padded with zeros up to that size; the
//     loader ignores bytes after the last section);
//   - no local-header signature "PK" 03 04 anywhere in the file (detection probes fixed offsets, and the
//     builder's and the extractor's walks must meet the archive's first header only);
//   - the four bytes at the end of the DOS image, which detection classifies, match no archive
//     signature. The DOS header's page count is set to 1 so that this point lies in the fixed text of
//     the DOS stub program.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "sfx/common/sfx_layout.h"

namespace {

int Fail(const std::string& path, const std::string& why) {
    std::fprintf(stderr, "stubpad: %s: %s\n", path.c_str(), why.c_str());
    return 1;
}

// Whether four bytes open any archive type detection knows.
const char* ArchiveSignature(const uint8_t* b) {
    const auto two = [&](uint8_t x, uint8_t y) { return b[0] == x && b[1] == y; };
    if (two('P', 'K') && !(b[2] == 'G' && b[3] == '4')) return "ZIP";
    if (b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == 0x50) return "ZIP 2.50";
    if (std::memcmp(b, "MSCF", 4) == 0) return "CAB";
    if (two('B', 'H') && b[2] == 5 && b[3] == 7) return "BH";
    if (two('H', 'A')) return "HA";
    if (b[0] == 0x1F && (b[1] == 0x8B || b[1] == 0x9D || b[1] == 0x9E || b[1] == 0x1E || b[1] == 0xA0)) return "GZIP";
    if (two(0x60, 0xEA)) return "ARJ";
    if (two('Z', 'O')) return "ZOO";
    if (b[2] == '-' && b[3] == 'l') return "LHA";
    if (two('R', 'a')) return "RAR";
    if (b[0] == 0x1A && (b[1] == 0x0A || b[1] == 0x0B || b[1] == 0x1E || b[1] == 0x08 || b[1] == 0x09)) return "ARC/PAK";
    if (b[0] == 0xB7 && (b[1] == 0x92 || b[1] == 0xDF)) return "ARC self-extractor";
    return nullptr;
}

uint16_t Le16(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1]) << 8);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: stubpad <sfxstub.exe>\n");
        return 2;
    }
    const std::string path = argv[1];
    std::string image;
    {
        std::ifstream in(path, std::ios::binary);
        if (!in) return Fail(path, "cannot open");
        image.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (image.size() < 0x80 || image[0] != 'M' || image[1] != 'Z') return Fail(path, "not an executable image");
    if (image.size() > sfx::SfxStubSize)
        return Fail(path, "image is " + std::to_string(image.size()) + " bytes, more than the " +
                              std::to_string(sfx::SfxStubSize) + " the option block offset allows");

    image.resize(sfx::SfxStubSize, '\0');
    image[2] = static_cast<char>(sfx::kStubMagic[2]);  // last-page byte count 0x0050: "MZP" 00
    image[3] = static_cast<char>(sfx::kStubMagic[3]);
    image[4] = 1;  // page count
    image[5] = 0;

    const std::string localSig("PK\x03\x04", 4);
    if (const size_t at = image.find(localSig); at != std::string::npos)
        return Fail(path, "contains a local-header signature at offset " + std::to_string(at));

    // The end of the DOS image as detection computes it, with its step over an ARJ header id.
    size_t d = static_cast<size_t>((Le16(image, 4) - 1) * 512 + Le16(image, 2));
    if (d + 4 < image.size() && static_cast<uint8_t>(image[d + 2]) == 0x60 && static_cast<uint8_t>(image[d + 3]) == 0xEA)
        d += 2;
    if (d + 5 < image.size()) {
        if (const char* type = ArchiveSignature(reinterpret_cast<const uint8_t*>(image.data() + d)))
            return Fail(path, std::string("bytes at the end of the DOS image (") + std::to_string(d) +
                                  ") read as a " + type + " archive");
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(image.data(), static_cast<std::streamsize>(image.size())) || !out.flush())
        return Fail(path, "cannot write");
    return 0;
}
