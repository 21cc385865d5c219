#include "uisupport/shell/shellfolders.h"

namespace uis {

int CsidlOf(TJexoShellFolder folder) {
    static constexpr int kCsidl[kShellFolderCount] = {
        0x11,  // SF_FILESYSTEMFOLDER
        0x0A,  // SF_BITBUCKET
        0x03,  // SF_CONTROLS
        0x00,  // SF_DESKTOP
        0x10,  // SF_DESKTOPDIRECTORY
        0x11,  // SF_DRIVES
        0x14,  // SF_FONTS
        0x13,  // SF_NETHOOD
        0x12,  // SF_NETWORK
        0x05,  // SF_PERSONAL
        0x04,  // SF_PRINTERS
        0x02,  // SF_PROGRAMS
        0x08,  // SF_RECENT
        0x09,  // SF_SENDTO
        0x0B,  // SF_STARTMENU
        0x07,  // SF_STARTUP
        0x15,  // SF_TEMPLATES
    };
    const int index = static_cast<int>(folder);
    return index >= 0 && index < kShellFolderCount ? kCsidl[index] : 0x11;
}

const std::vector<std::string>& ShellFolderNames() {
    static const std::vector<std::string> names = {
        "SF_FILESYSTEMFOLDER", "SF_BITBUCKET", "SF_CONTROLS",  "SF_DESKTOP",  "SF_DESKTOPDIRECTORY", "SF_DRIVES",
        "SF_FONTS",            "SF_NETHOOD",   "SF_NETWORK",   "SF_PERSONAL", "SF_PRINTERS",         "SF_PROGRAMS",
        "SF_RECENT",           "SF_SENDTO",    "SF_STARTMENU", "SF_STARTUP",  "SF_TEMPLATES"};
    return names;
}

}  // namespace uis
