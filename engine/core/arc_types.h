// The vocabulary that every engine component and the application share: archive types with their
// display names, extensions and capability tests, and the enumerations published as properties.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace engine {

// The archive type; the ordinals are stored and compared, so the order is fixed.
enum class TArcType : uint8_t {
    atNA, atUnsupported, atFileOpenErr, atUnknown,
    atArc, atArcExe, atArj, atArjExe, atBh, atBhExe, atCab, atGZip, atHa, atLha, atLhaExe,
    atLzh, atLzhExe, atPak, atPakExe, atRar, atRarExe, atTar, atUue, atZip, atZipExe,
    atZip250, atZip250Exe, atZoo,
};
inline constexpr int kArcTypeCount = 28;

// Ten-character display names (blank-padded), indexed by the ordinal.
extern const std::array<std::string_view, kArcTypeCount> ArcTypeName;
// The identifiers ("atZip"), for streaming the type by name.
extern const std::array<std::string_view, kArcTypeCount> ArcTypeIdent;

const std::string_view& ArcTypeNameOf(TArcType t);

// Capability tests; the application enables its commands with them.
bool IsValidArcType(TArcType t);
bool CanWriteArcType(TArcType t);
bool CanExtractArcType(TArcType t);
bool CanTestArcType(TArcType t);

// True for the four ZIP types, which the engine treats alike.
bool IsZipArcType(TArcType t);

// Upper-case archive extensions with their dot; the index picks icons and filters.
inline constexpr int kArcExtensionCount = 18;
extern const std::array<std::string_view, kArcExtensionCount> ArcExtensions;

// The index of Ext in ArcExtensions, ignoring case; -1 when absent.
int ExtensionIndex(std::string_view ext);

enum class TCompressMethod : uint8_t {
    cmStore, cmDeflate, cmFuse, cmFrozen, cmMsZip, cmLzx, cmQuantum, cmUUEncode, cmXXEncode,
};
enum class TSwitch : uint8_t { swAdd, swMove, swDelete, swRead };
enum class TStoredDirNames : uint8_t { sdNone, sdAbsolute, sdAbsoluteNoDrv, sdRelative };
enum class TDeflateType : uint8_t { dtDeflateS, dtDeflateF, dtDeflateN, dtDeflateX };
enum class TSetDate : uint8_t { sdOrigDate, sdSysDate };
enum class TCpuType : uint8_t { cptAuto, cpt80286, cpt80386, cpt80486 };
enum class TProgressNotify : uint8_t { Five, Ten, Fifteen, Twenty, TwentyFive };

// The progress step in percent: (ordinal + 1) x 5.
inline int ProgressStepOf(TProgressNotify p) { return (static_cast<int>(p) + 1) * 5; }

// A set of compression methods, one bit per ordinal (a writer's AllowedMethods).
using TCompressMethods = uint16_t;
constexpr TCompressMethods MethodBit(TCompressMethod m) { return TCompressMethods(1u << static_cast<unsigned>(m)); }

// Identifier tables for streaming the enumerations by name (order = ordinal).
extern const std::array<std::string_view, 9> CompressMethodIdent;
extern const std::array<std::string_view, 4> SwitchIdent;
extern const std::array<std::string_view, 4> StoredDirNamesIdent;
extern const std::array<std::string_view, 4> DeflateTypeIdent;
extern const std::array<std::string_view, 2> SetDateIdent;
extern const std::array<std::string_view, 4> CpuTypeIdent;
extern const std::array<std::string_view, 5> ProgressNotifyIdent;

}  // namespace engine
