#include "app/command_line.h"

#include "framework/core/sysutils.h"

namespace app {

namespace {

bool EndsWithZip(const std::string& text) {
    return text.size() >= 4 && fw::UpperCase(text.substr(text.size() - 4)) == ".ZIP";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine result;
    size_t first = 0;
    if (!args.empty() && args[0] == "/CHECK") {
        result.sw = StartSwitch::Check;
        first = 1;
    } else if (!args.empty() && args[0] == "/EXTRACT") {
        result.sw = StartSwitch::Extract;
        first = 1;
    }
    std::string path;
    for (size_t i = first; i < args.size(); ++i) {
        path += args[i];
        if (EndsWithZip(fw::TrimRight(path))) break;
        path += ' ';
    }
    result.path = fw::TrimRight(path);
    // A switch without a path is a plain start.
    if (result.path.empty()) result.sw = StartSwitch::None;
    return result;
}

}  // namespace app
