#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

using app::StartSwitch;

TEST(CommandLine, SwitchAndRejoinedPath) {
    struct Case {
        std::vector<std::string> args;
        StartSwitch sw;
        const char* path;
    } cases[] = {
        {{}, StartSwitch::None, ""},
        {{"/EXTRACT"}, StartSwitch::None, ""},
        {{"/CHECK"}, StartSwitch::None, ""},
        {{"C:\\a.zip"}, StartSwitch::None, "C:\\a.zip"},
        // The shell passes the path unquoted: it arrives split at its blanks.
        {{"/CHECK", "C:\\a", "b\\x.zip"}, StartSwitch::Check, "C:\\a b\\x.zip"},
        {{"/EXTRACT", "C:\\my", "files\\x.ZIP", "more"}, StartSwitch::Extract, "C:\\my files\\x.ZIP"},
        // Only the exact upper-case spelling is a switch.
        {{"/extract", "x.zip"}, StartSwitch::None, "/extract x.zip"},
        {{"/Check", "C:\\a.zip"}, StartSwitch::None, "/Check C:\\a.zip"},
        // A RAR path followed by a ZIP path: the text first ends in ".ZIP" after the second.
        {{"C:\\x.rar", "C:\\y.zip", "z"}, StartSwitch::None, "C:\\x.rar C:\\y.zip"},
        // Other types take every argument; no trailing blank is left for type detection to trip on.
        {{"C:\\a", "b.tar"}, StartSwitch::None, "C:\\a b.tar"},
        {{"C:\\x.uue", ""}, StartSwitch::None, "C:\\x.uue"},
        {{"C:\\x.tar "}, StartSwitch::None, "C:\\x.tar"},
        // A folder whose name holds ".zip" does not end the path.
        {{"C:\\old.zips\\a", "b.rar"}, StartSwitch::None, "C:\\old.zips\\a b.rar"},
        {{"C:\\backup.zip", "files\\y.lzh"}, StartSwitch::None, "C:\\backup.zip"},
    };
    for (const Case& c : cases) {
        app::CommandLine cl = app::ParseCommandLine(c.args);
        std::string joined;
        for (const std::string& a : c.args) joined += "[" + a + "]";
        EXPECT_EQ(cl.sw, c.sw) << joined;
        EXPECT_EQ(cl.path, c.path) << joined;
    }
}

}  // namespace
