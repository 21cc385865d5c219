#include "installer/winqueries.h"

#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/system.h"

namespace inst {

int WindowsPlatform() {
    uint32_t platform = 0, major = 0, minor = 0;
    if (!Sys().GetVersion(platform, major, minor))
        throw EAPIRoutines("Could not get information about the current version of Windows");
    switch (platform) {
        case 0: return 0;
        case 1: return 1;
        case 2: {
            const std::string version = std::to_string(major) + "." + std::to_string(minor);
            return version.find("3.5") != std::string::npos ? 3 : 2;
        }
        default: return 4;
    }
}

std::string ShortPathName(const std::string& path) {
    return Sys().ShortPathName(path.size() > 400 ? path.substr(0, 400) : path);
}

std::string TempFileName(bool keep) {
    std::string name;
    try {
        name = fw::Fs().TempFileName(fw::Fs().TempFolder(), "bat");
    } catch (const fw::Exception&) {
        name.clear();
    }
    if (name.empty()) throw EAPIRoutines("Cannot create a temporary file");
    if (!keep) fw::DeleteFile(name);
    return name;
}

std::string SystemDir() {
    std::string dir = Sys().SystemDirectory();
    if (dir.empty()) throw EAPIRoutines("Could not retrieve the system directroy from windows");
    return dir;
}

std::string WindowsDir() {
    std::string dir = Sys().WindowsDirectory();
    if (dir.empty()) throw EAPIRoutines("Could not retrieve the windows directory from windows");
    return dir;
}

}  // namespace inst
