// The product's uninstall record and the uninstall program. Every installed object with Uninstall set
// writes what it put in place below HKEY_LOCAL_MACHINE
// "\Software\Microsoft\Windows\CurrentVersion\Uninstall\<product name>":
//   "Files", "Files1", ...       "Entries" and "File"n: installed files and links (install_file.h)
//   "ActiveX"                    "Entries" and "File"n: self-registered servers, "<path>;1" for a program
//   "RegistryKeys\RegistryKey"n  "Key", "Root" and the values below "Entries" (install_registry.h)
// and TUninstallEXE, the uninstall program itself, writes the two values that list the product:
// "DisplayName" and "UninstallString" ("<quoted program path> <product name>").
#pragma once

#include <string>

#include "installer/install_file.h"

namespace inst {

class TUninstallEXE : public TCustomInstallFile {
public:
    explicit TUninstallEXE(fw::TComponent* owner) : TCustomInstallFile(owner) {}
    // Instead of a "Files" entry (the program is never among the files to delete).
    void WriteUninstallInfo(const std::string& key) override;

protected:
    void BeforeDestruction() override;
};

// Where the development environment keeps the installer library (the loader and the uninstall program
// come from there): the first folder of the ";"-separated "Library Path" value of HKEY_LOCAL_MACHINE
// "\Software\Vantrell\Q32V40" that holds "Q32V40.TXT"; "$(Q32V40)" in a folder stands for the key's
// "RootDir" value. Without one: IENoQuenfordPath when raiseError, else "".
std::string FindLibraryDirectory(bool raiseError);

constexpr const char* kLibraryKey = "\\Software\\Vantrell\\Q32V40";

}  // namespace inst
