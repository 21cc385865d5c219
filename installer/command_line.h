// The setup program's command line: one switch per argument, "-" or "*" followed by a letter (either
// case) and the switch's value.
//   -b build   -f floppies   -d debug (needs -s)   -e<self-extracting file>   -r after a reboot
//   -s<source directory>   -c carried over (clean up; passed on to the run after a reboot)
// An unknown letter after "*" is ignored, so the loader's own "*TODISK" passes through.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace inst {

enum SwitchSlot : int {
    kSwitchBuild,
    kSwitchFloppy,
    kSwitchDebug,
    kSwitchSelfExtract,
    kSwitchAfterReboot,
    kSwitchSource,
    kSwitchCarry,
    kSwitchCount
};

struct CommandLineSwitches {
    std::array<std::string, kSwitchCount> values;
    uint8_t flags = 0;

    bool Has(int slot) const { return (flags >> slot) & 1; }
    // The text after the switch's first two characters ("" when not given).
    const std::string& Value(int slot) const { return values[static_cast<size_t>(slot)]; }
};

// Reads the arguments (without the program's own name). A repeated switch keeps its last value. A bad
// argument raises IException "Invalid parameter <...>. Valid command line parameters are: ...".
CommandLineSwitches ParseCommandLine(const std::vector<std::string>& args);

}  // namespace inst
