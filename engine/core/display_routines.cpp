#include "engine/core/display_routines.h"

#include "engine/core/routines.h"

namespace engine {

std::string ShortenPath(const std::string& path, int width, const std::function<int(const std::string&)>& measure)
{
    std::string drive, rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        drive = rest.substr(0, 2);
        rest = rest.substr(2);
    }
    std::string folder = ExtractFilePath(rest);
    const std::string file = rest.substr(folder.size());
    const size_t dot = file.rfind('.');
    const std::string name = dot == std::string::npos ? file : file.substr(0, dot);
    const std::string ext = dot == std::string::npos ? std::string() : file.substr(dot);

    auto joined = [&] { return drive + folder + name + ext; };
    while (measure(joined()) > width && (!drive.empty() || !folder.empty())) {
        if (folder == "\\...\\") {
            folder = "...\\";
            drive.clear();
        } else if (!folder.empty()) {
            const bool lead = folder[0] == '\\';
            std::string f = lead ? folder.substr(1) : folder;
            if (f.compare(0, 4, "...\\") == 0)
                f = f.substr(4);
            const size_t slash = f.find('\\');
            const std::string after = slash == std::string::npos ? std::string() : f.substr(slash + 1);
            folder = after.empty() ? std::string() : (lead ? "\\" : "") + std::string("...\\") + after;
        } else {
            drive.clear();
        }
    }
    return joined();
}

}  // namespace engine
