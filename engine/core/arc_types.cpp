#include "engine/core/arc_types.h"

namespace engine {

const std::array<std::string_view, kArcTypeCount> ArcTypeName = {
    "Not avail.", "Unsupport.", "File Error", "Unknown   ",
    "ARC       ", "ARC SFX   ", "ARJ       ", "ARJ SFX   ", "BH        ", "BH  SFX   ",
    "CAB       ", "GZip      ", "HA        ", "LHA       ", "LHA SFX   ", "LZH       ",
    "LZH SFX   ", "PAK       ", "PAK SFX   ", "RAR       ", "RAR SFX   ", "TAR       ",
    "UUE       ", "ZIP       ", "ZIP SFX   ", "ZIP250    ", "ZIP250 SFX", "ZOO       ",
};

const std::array<std::string_view, kArcTypeCount> ArcTypeIdent = {
    "atNA", "atUnsupported", "atFileOpenErr", "atUnknown", "atArc", "atArcExe", "atArj", "atArjExe",
    "atBh", "atBhExe", "atCab", "atGZip", "atHa", "atLha", "atLhaExe", "atLzh", "atLzhExe", "atPak",
    "atPakExe", "atRar", "atRarExe", "atTar", "atUue", "atZip", "atZipExe", "atZip250", "atZip250Exe",
    "atZoo",
};

const std::array<std::string_view, kArcExtensionCount> ArcExtensions = {
    ".UUE", ".XXE", ".ENC", ".TAR", ".Z", ".GZ", ".ZIP", ".ZOO", ".LHA", ".LZH", ".ARC", ".ARJ",
    ".BH", ".PAK", ".CAB", ".RAR", ".EXE", ".ACE",
};

const std::array<std::string_view, 9> CompressMethodIdent = {
    "cmStore", "cmDeflate", "cmFuse", "cmFrozen", "cmMsZip", "cmLzx", "cmQuantum", "cmUUEncode", "cmXXEncode",
};
const std::array<std::string_view, 4> SwitchIdent = {"swAdd", "swMove", "swDelete", "swRead"};
const std::array<std::string_view, 4> StoredDirNamesIdent = {"sdNone", "sdAbsolute", "sdAbsoluteNoDrv",
                                                             "sdRelative"};
const std::array<std::string_view, 4> DeflateTypeIdent = {"dtDeflateS", "dtDeflateF", "dtDeflateN", "dtDeflateX"};
const std::array<std::string_view, 2> SetDateIdent = {"sdOrigDate", "sdSysDate"};
const std::array<std::string_view, 4> CpuTypeIdent = {"cptAuto", "cpt80286", "cpt80386", "cpt80486"};
const std::array<std::string_view, 5> ProgressNotifyIdent = {"Five", "Ten", "Fifteen", "Twenty", "TwentyFive"};

namespace {

// The capability sets are 32-bit masks over the ordinals; no ordinal above 31 exists.
constexpr uint32_t Bit(TArcType t) { return uint32_t(1) << static_cast<unsigned>(t); }

constexpr uint32_t kInvalid = Bit(TArcType::atNA) | Bit(TArcType::atUnsupported) |
                              Bit(TArcType::atFileOpenErr) | Bit(TArcType::atUnknown);
constexpr uint32_t kAllTypes = (uint32_t(1) << kArcTypeCount) - 1;
constexpr uint32_t kValid = kAllTypes & ~kInvalid;
// Types with a writer of their own, and the UU encoder.
constexpr uint32_t kWriterBacked = Bit(TArcType::atBh) | Bit(TArcType::atCab) | Bit(TArcType::atLha) |
                                   Bit(TArcType::atLzh) | Bit(TArcType::atZip);
constexpr uint32_t kEncoderBacked = Bit(TArcType::atUue);
constexpr uint32_t kExtractable = kValid & ~(Bit(TArcType::atHa) | Bit(TArcType::atPak) | Bit(TArcType::atPakExe));
constexpr uint32_t kTestable = kExtractable & ~(Bit(TArcType::atCab) | Bit(TArcType::atUue));
constexpr uint32_t kZip = Bit(TArcType::atZip) | Bit(TArcType::atZipExe) | Bit(TArcType::atZip250) |
                          Bit(TArcType::atZip250Exe);

bool In(uint32_t set, TArcType t) { return static_cast<unsigned>(t) < 32 && (set & Bit(t)) != 0; }

}  // namespace

const std::string_view& ArcTypeNameOf(TArcType t)
{
    unsigned i = static_cast<unsigned>(t);
    return ArcTypeName[i < ArcTypeName.size() ? i : 0];
}

bool IsValidArcType(TArcType t) { return In(kValid, t); }
bool CanWriteArcType(TArcType t) { return In(kWriterBacked | kEncoderBacked, t); }
bool CanExtractArcType(TArcType t) { return In(kExtractable, t); }
bool CanTestArcType(TArcType t) { return In(kTestable, t); }
bool IsZipArcType(TArcType t) { return In(kZip, t); }

int ExtensionIndex(std::string_view ext)
{
    for (size_t i = 0; i < ArcExtensions.size(); ++i) {
        std::string_view e = ArcExtensions[i];
        if (e.size() != ext.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < e.size() && same; ++k) {
            char c = ext[k];
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
            same = c == e[k];
        }
        if (same)
            return int(i);
    }
    return -1;
}

}  // namespace engine
