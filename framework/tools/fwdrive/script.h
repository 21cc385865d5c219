// Driver scripts: one step per line; blank lines and lines starting with '#' are skipped.
//
//   start <exe> [<arguments>]          start the program with FW_AUTOMATION=1
//   attach <program> [<secs>]          talk to a running program of that file name (a program the
//                                      started one started, or one the system started, both with
//                                      FW_AUTOMATION=1 inherited): the first one with an endpoint the
//                                      script has not talked to yet
//   wait form <root> [visible] [<secs>]
//   wait modal <root> [<secs>]         the root is the innermost modal form
//   wait dialog <caption> [<secs>]     a system dialog (#32770) with that caption is up
//   wait window <class> [<secs>]       a visible top-level window of that class belongs to the program
//                                      ("#32768" for a popup menu, "THintWindow" for a hint)
//   wait file <path> [<secs>]          a file or folder of that path exists (for what the test's
//                                      harness does beside the program, such as a disk put in)
//   wait idle [<secs>]                 loop depth 1, default cursor, no action pending
//   wait done [<secs>]                 the last action has returned and the cursor is the default, at
//                                      any loop depth (a modal form's button whose work pumps messages)
//   wait exit [<secs>]                 the programs started and attached have ended
//   sleep <secs>
//   screenshot [<name>]                the harness saves the display as <name>.png (default: script and line)
//   expect <query> = <text>            the reply payload, written escaped once, or
//   expect <query> = @file(<name>)     the payload as it stands in a file beside the script
//   expect-error <request> = <text>    the request fails with this text
//   <verb> <args>                      any request; an action must be accepted
//
// Arguments are unescaped once (\t, \n, \\). An expected text is the payload as the endpoint sends
// it, written with one level of escapes: "\t" between cells, "\n" between rows, and a tab inside a
// cell (sent as \t) written "\\t".
//
// ${NAME} is replaced by a definition given to the driver (or an environment variable) before the
// line is read. Every wait takes a timeout, 20 s when none is given.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace fw::drive {

enum class StepKind {
    Start,
    Attach,
    WaitForm,
    WaitModal,
    WaitDialog,
    WaitWindow,
    WaitFile,
    WaitIdle,
    WaitDone,
    WaitExit,
    Sleep,
    Screenshot,
    Expect,
    ExpectError,
    Request
};

constexpr double kDefaultTimeout = 20.0;

struct Step {
    int line = 0;
    std::string text;  // the line after expansion, for messages
    StepKind kind = StepKind::Request;
    // Start: program and its argument text; Attach: the program's file name.
    std::string program;
    std::string arguments;
    // Waits: the root or dialog caption, and the timeout (also the length of Sleep).
    std::string name;
    bool visible = false;
    double seconds = kDefaultTimeout;
    // Requests and expectations: verb and arguments (unescaped), the expected payload (raw) or the
    // name of the file that holds it.
    std::string verb;
    std::string args;
    std::string expected;
    std::string expectedFile;
};

// Finds the value of ${NAME}; false when undefined.
using VariableLookup = std::function<bool(const std::string& name, std::string& value)>;

// Parses a whole script; false with `error` ("line N: ...") on the first bad line.
bool ParseScript(const std::string& text, const VariableLookup& lookup, std::vector<Step>& steps,
                 std::string& error);

// Replaces ${NAME}; false with `error` on an undefined name or an unclosed ${.
bool ExpandVariables(const std::string& text, const VariableLookup& lookup, std::string& out,
                     std::string& error);

// Compares a reply payload with an expected text: equal, or equal once a single trailing line
// break is dropped from either (files usually end with one). An expected cell "*" matches any cell.
bool PayloadMatches(const std::string& payload, const std::string& expected);

}  // namespace fw::drive
