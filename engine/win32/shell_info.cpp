#include "engine/win32/shell_info.h"

#include "engine/core/routines.h"
#include "framework/win32/winapi.h"

namespace engine::win32 {

namespace {

// Asks the shell about a name that need not exist: only its extension and the normal-file
// attribute count.
bool AskShell(const std::string& name, UINT what, SHFILEINFOA& info)
{
    info = SHFILEINFOA{};
    return SHGetFileInfoA(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, what | SHGFI_USEFILEATTRIBUTES) != 0;
}

}  // namespace

int GetIconIndex(const std::string& fileName)
{
    SHFILEINFOA info;
    if (!AskShell(ExtractFileName(fileName), SHGFI_SYSICONINDEX | SHGFI_SMALLICON, info) || info.iIcon < 0)
        return 0;
    return info.iIcon;
}

std::string GetFileTypeName(const std::string& fileName)
{
    SHFILEINFOA info;
    if (!AskShell(ExtractFileName(fileName), SHGFI_TYPENAME, info))
        return std::string();
    info.szTypeName[sizeof info.szTypeName - 1] = '\0';
    return info.szTypeName;
}

}  // namespace engine::win32
