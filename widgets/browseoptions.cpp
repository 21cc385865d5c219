#include "widgets/browseoptions.h"

#include <iterator>

namespace kvx {

namespace {

// By option, in declaration order.
constexpr uint32_t kFlags[] = {0x1000, 0x2000, 0x2, 0x8, 0x1, 0x4, 0x4000, 0x10 | 0x20, 0, 0};
// By start folder, in declaration order.
constexpr int kNumbers[] = {0,  kKVXDesktopExpanded, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 16,
                            17, 18,                  19, 1,  20, 21, 22, 23, 24, 25, 26, 27};

}  // namespace

uint32_t KVXBrowseFlags(TKVXBrowseDlgOptions options) {
    uint32_t flags = 0;
    for (size_t i = 0; i < std::size(kFlags); ++i)
        if (options.Contains(static_cast<TKVXBrowseDlgOption>(i))) flags |= kFlags[i];
    return flags;
}

int KVXSystemFolderNumber(TKVXSystemFolders folder) {
    const auto index = static_cast<size_t>(folder);
    return index < std::size(kNumbers) ? kNumbers[index] : kKVXDesktopExpanded;
}

void KVXRegisterBrowseTypes() {
    fw::RegisterEnum<TKVXBrowseDlgOption>({"doBrowseForComputer", "doBrowseForPrinter", "doDontGoBelowDomain",
                                           "doReturnFileSysAncestors", "doReturnFileSysDirs", "doStatusText",
                                           "doShowFiles", "doAllowEdit", "doShowPath", "doEnableOK"},
                                          "TKVXBrowseDlgOption");
    fw::RegisterEnum<TKVXSystemFolders>(
        {"bfoDesktop", "bfoDesktopExpanded", "bfoPrograms", "bfoControlPanel", "bfoPrinters", "bfoPersonal",
         "bfoFavorites", "bfoStartup", "bfoRecent", "bfoSendto", "bfoRecycleBin", "bfoStartMenu",
         "bfoDesktopDirectory", "bfoMyComputer", "bfoNetwork", "bfoNetworkNeighborhood", "bfoInternet", "bfoFonts",
         "bfoTemplates", "bfoCommonStartMenu", "bfoCommonPrograms", "bfoCommonStartup", "bfoCommonDesktopDirectory",
         "bfoAppData", "bfoPrintHood"},
        "TKVXSystemFolders");
}

}  // namespace kvx
