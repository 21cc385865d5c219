// The folder browser's options and start folders as the shell's browse flags and special-folder
// numbers.
#pragma once

#include <cstdint>

#include "framework/core/rtti.h"

namespace kvx {

enum class TKVXBrowseDlgOption {
    doBrowseForComputer,
    doBrowseForPrinter,
    doDontGoBelowDomain,
    doReturnFileSysAncestors,
    doReturnFileSysDirs,
    doStatusText,
    doShowFiles,
    doAllowEdit,
    doShowPath,
    doEnableOK
};
using TKVXBrowseDlgOptions = fw::Set<TKVXBrowseDlgOption>;

enum class TKVXSystemFolders {
    bfoDesktop,
    bfoDesktopExpanded,
    bfoPrograms,
    bfoControlPanel,
    bfoPrinters,
    bfoPersonal,
    bfoFavorites,
    bfoStartup,
    bfoRecent,
    bfoSendto,
    bfoRecycleBin,
    bfoStartMenu,
    bfoDesktopDirectory,
    bfoMyComputer,
    bfoNetwork,
    bfoNetworkNeighborhood,
    bfoInternet,
    bfoFonts,
    bfoTemplates,
    bfoCommonStartMenu,
    bfoCommonPrograms,
    bfoCommonStartup,
    bfoCommonDesktopDirectory,
    bfoAppData,
    bfoPrintHood
};

// No special folder: the browser's root stays empty, which is the desktop with its tree open.
constexpr int kKVXDesktopExpanded = 0xFEFE;

// The OR of every option's browse flags (doAllowEdit gives the edit box and its validation; doShowPath
// and doEnableOK give none).
uint32_t KVXBrowseFlags(TKVXBrowseDlgOptions options);
// The special-folder number the shell is asked for.
int KVXSystemFolderNumber(TKVXSystemFolders folder);

// The names of both enumerations for form text. Harmless to repeat.
void KVXRegisterBrowseTypes();

}  // namespace kvx
