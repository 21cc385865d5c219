// The special folders a shell view can show, and the shell's folder number (CSIDL) of each.
#pragma once

#include <string>
#include <vector>

namespace uis {

enum class TJexoShellFolder {
    SF_FILESYSTEMFOLDER,  // a folder given by its path; shares My Computer's number
    SF_BITBUCKET,
    SF_CONTROLS,
    SF_DESKTOP,
    SF_DESKTOPDIRECTORY,
    SF_DRIVES,
    SF_FONTS,
    SF_NETHOOD,
    SF_NETWORK,
    SF_PERSONAL,
    SF_PRINTERS,
    SF_PROGRAMS,
    SF_RECENT,
    SF_SENDTO,
    SF_STARTMENU,
    SF_STARTUP,
    SF_TEMPLATES,
};

constexpr int kShellFolderCount = 17;

// The CSIDL of a special folder (SF_FILESYSTEMFOLDER and SF_DRIVES both give 0x11, My Computer).
int CsidlOf(TJexoShellFolder folder);

// The value names in declaration order, for form text.
const std::vector<std::string>& ShellFolderNames();

}  // namespace uis
