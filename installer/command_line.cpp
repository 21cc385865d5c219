#include "installer/command_line.h"

#include "installer/exceptions.h"

namespace inst {

namespace {

int SlotOf(char letter) {
    switch (letter | 0x20) {
        case 'b': return kSwitchBuild;
        case 'f': return kSwitchFloppy;
        case 'd': return kSwitchDebug;
        case 'e': return kSwitchSelfExtract;
        case 'r': return kSwitchAfterReboot;
        case 's': return kSwitchSource;
        case 'c': return kSwitchCarry;
        default: return -1;
    }
}

[[noreturn]] void Invalid(const std::string& arg) {
    throw IException(
        "Invalid parameter <%s>. Valid command line parameters are: -b (Build), -d (Debug), -f (Transfer to floppies), "
        "-e (Called by self-extractor), -r (After reboot)",
        {arg});
}

}  // namespace

CommandLineSwitches ParseCommandLine(const std::vector<std::string>& args) {
    CommandLineSwitches result;
    for (const std::string& arg : args) {
        if (arg.size() < 2 || (arg[0] != '-' && arg[0] != '*')) Invalid(arg);
        const int slot = SlotOf(arg[1]);
        if (slot < 0) {
            if (arg[0] == '*') continue;
            Invalid(arg);
        }
        result.flags = static_cast<uint8_t>(result.flags | 1u << slot);
        result.values[static_cast<size_t>(slot)] = arg.substr(2);
    }
    return result;
}

}  // namespace inst
