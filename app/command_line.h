// The archive manager's command line: MorvixZip [/CHECK | /EXTRACT] <archive path>. The shell starts
// the program with the path unquoted, so a path with blanks may arrive split into several arguments;
// they are joined again here.
#pragma once

#include <string>
#include <vector>

namespace app {

enum class StartSwitch { None, Check, Extract };

struct CommandLine {
    StartSwitch sw = StartSwitch::None;
    // The archive path; empty for a plain start.
    std::string path;
};

// Args are the arguments after the program name. The switch is the first argument written exactly
// "/CHECK" or "/EXTRACT"; any other spelling starts the path. The arguments from the path's first on
// are joined with one blank each, stopping after the argument that ends the text in ".ZIP" (in any
// case), so later arguments are dropped; other archive paths take every argument. Trailing blanks
// are trimmed: type detection goes by the extension, and ".tar " is none. A switch without a path
// gives a plain start.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

}  // namespace app
