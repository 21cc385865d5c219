// The script runner of fwdrive: starts the program under test with FW_AUTOMATION=1 (or attaches to one
// started otherwise), talks to its endpoint window and checks the replies. Any failure (a wait that times out, an expectation that
// does not hold, a refused action, the program ending early) prints the program's state, forms and
// system dialog, leaves a screenshot request for the Linux harness, ends the program it started and
// makes Run return non-zero.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "framework/automation/protocol.h"
#include "framework/tools/fwdrive/script.h"
#include "framework/win32/winapi.h"

namespace fw::drive {

struct DriverOptions {
    std::string scriptPath;
    std::string outDir = ".";                   // where screenshot requests are written
    std::map<std::string, std::string> defines;  // ${NAME} values; the environment is the fallback
    bool waitForScreenshot = false;              // a harness answers screenshot requests
    // Every timeout is multiplied by this: a program under emulation (32-bit Wine in qemu) starts and
    // answers many times slower.
    double slowness = 1.0;
};

class Driver {
public:
    explicit Driver(DriverOptions options);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // Runs the whole script; 0 when every step held.
    int Run();

private:
    static LRESULT CALLBACK ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool RunStep(const Step& step);
    bool Start(const Step& step);
    bool Attach(const Step& step);
    // The id of a running process of that file name with an endpoint, not talked to yet; 0 when none.
    DWORD FindAttachable(const std::string& fileName);
    bool Wait(const Step& step);
    bool Expect(const Step& step);
    bool Perform(const Step& step);
    bool WaitForAction(uint32_t sequence, double seconds, bool& failed);

    // Sends one request and stores the reply; false with `error_` when no reply came.
    // `answerMs` bounds the wait for a program that takes requests but answers none (a hung GUI thread).
    bool Send(const std::string& verb, const std::string& args, Reply& reply, double findSeconds = kDefaultTimeout,
              unsigned answerMs = 15000);
    bool FindEndpoint(double seconds);
    bool ProgramEnded();
    // The program and every one started or attached before it have ended.
    bool AllEnded();

    void Fail(const Step* step, const std::string& message);
    void PrintDiagnostics();
    // `name` names the picture; without one it is named after the script and the step's line.
    void RequestScreenshot(const Step* step, const std::string& name = {});
    // A visible top-level window of the class in the started program.
    bool ProgramHasWindow(const std::string& className);
    void EndProgram();

    std::string ReadExpected(const Step& step, bool& ok);

    DriverOptions options_;
    std::string scriptDir_;
    HWND replyWindow_ = nullptr;
    HWND endpoint_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    // Programs the script talked to before the current one (a launcher, say), and every process id it
    // talked to.
    std::vector<HANDLE> earlier_;
    std::vector<DWORD> seen_;
    uint32_t nextId_ = 1;
    uint32_t awaitedId_ = 0;
    // The endpoint's sequence number of the last action sent.
    uint32_t lastAction_ = 0;
    bool replied_ = false;
    Reply reply_;
    std::string error_;
};

// Turns a host path ("/tmp/x") into one the program can open ("Z:/tmp/x"); others stay.
std::string WindowsPath(const std::string& path);

}  // namespace fw::drive
