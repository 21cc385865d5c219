#include "engine/formats/methods/method_names.h"

namespace engine {

namespace {

using enum TArcType;

std::string DirOrUnknown(bool isFolder) { return isFolder ? "Dir" : "Unknown"; }

std::string ArcName(uint32_t m, bool isFolder) {
    switch (m) {
        case 1: case 2: return "Stored";
        case 3: return "Packed";
        case 4: return "Squeezed";
        case 5: case 6: case 7: return "crunched";
        case 8: return "Crunched";
        case 9: return "Squashed";
        case 10: return "Pack10";
        case 11: return "Pack11";
        case 12: return "Pack12";
        default: return DirOrUnknown(isFolder);
    }
}

std::string PakName(uint32_t m) {
    switch (m) {
        case 1: case 2: return "Stored";
        case 3: return "RLE";
        case 4: return "Squeezed";
        case 5: case 6: case 7: return "FIXEDLEN";
        case 8: case 9: return "VARIBLE";
        case 10: return "Crushed";
        case 11: return "Distill";
        default: return "Unknown";
    }
}

std::string ArjName(uint32_t m, bool isFolder) {
    switch (m) {
        case 0: return "Stored";
        case 1: return "Most";
        case 2: return "2nd Most";
        case 3: return "2nd Fast";
        case 4: return "Fastest";
        default: return DirOrUnknown(isFolder);
    }
}

std::string BhName(uint32_t m) {
    switch (m) {
        case 0: return "Stored";
        case 1: return "Fused";
        case 2: return "Deflate";
        default: return "Unknown";
    }
}

std::string CabName(uint32_t m) {
    switch (m & 0x0F) {
        case 0: return "Stored";
        case 1: return "MsZIP";
        case 2: return "Quantum";
        case 3: return "Lzx";
        default: return "Unknown";
    }
}

std::string GZipName(uint32_t m) {
    switch (m) {
        case 0x1E1F: return "PackMAGIC";
        case 0x8B1F: case 0x9E1F: return "Deflate";
        case 0x9D1F: return "LzwMAGIC";
        case 0xA01F: return "LzhMAGIC";
        case 0: return "Stored";
        default: return "Unknown";
    }
}

std::string HaName(uint32_t m) {
    switch (m) {
        case 0: return "Cpy";
        case 1: return "Asc";
        case 2: return "HSC";
        case 14: return "Dir";
        case 15: return "Special";
        default: return "";
    }
}

std::string LhaName(uint32_t m) {
    if (m == '0') return "Stored";
    if (m >= '1' && m <= '6') return "Frozen-" + std::string(1, static_cast<char>(m));
    return "Unknown";
}

std::string RarName(uint32_t m, bool isFolder) {
    switch (m) {
        case '0': return "Stored";
        case '1': return "Fastest";
        case '2': return "Fast";
        case '3': return "Normal";
        case '4': return "Good";
        case '5': return "Best";
        default: return DirOrUnknown(isFolder);
    }
}

std::string ZipName(uint32_t m, bool isFolder, uint16_t flags) {
    switch (m) {
        case 0: return "Stored";
        case 1: return "Shrunk";
        case 2: case 3: case 4: case 5: return "Reduce-" + std::to_string(m - 1);
        case 6: return "Imploded";
        case 7: return "Tokened";
        case 8: {
            const bool bit1 = (flags & 0x02) != 0, bit2 = (flags & 0x04) != 0;
            return bit1 && bit2 ? "DeflateS" : bit2 ? "DeflateF" : bit1 ? "DeflateX" : "DeflateN";
        }
        default: return DirOrUnknown(isFolder);
    }
}

std::string ZooName(uint32_t m) {
    switch (m) {
        case 0: return "Stored";
        case 1: return "Fastest";
        case 2: return "Greatest";
        default: return "Unknown";
    }
}

}  // namespace

std::string MethodNameOf(TArcType arcType, uint32_t method, bool isFolder, uint16_t zipFlags) {
    switch (arcType) {
        case atArc: case atArcExe: return ArcName(method, isFolder);
        case atArj: case atArjExe: return ArjName(method, isFolder);
        case atBh: case atBhExe: return BhName(method);
        case atCab: return CabName(method);
        case atGZip: return GZipName(method);
        case atHa: return HaName(method);
        case atLha: case atLhaExe: case atLzh: case atLzhExe: return LhaName(method);
        case atPak: case atPakExe: return PakName(method);
        case atRar: case atRarExe: return RarName(method, isFolder);
        case atTar: return method == 0 ? "Stored" : DirOrUnknown(isFolder);
        case atZip: case atZipExe: case atZip250: case atZip250Exe: return ZipName(method, isFolder, zipFlags);
        case atZoo: return ZooName(method);
        default: return "Unknown";
    }
}

}  // namespace engine
