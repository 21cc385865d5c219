// Helpers of the shell tests under Wine, in the tests' own prefix (testdata/shell_scratch.sh): the
// fixture drive D:, changes made from the Unix side, the message loop, and a watcher thread that acts
// on a window the program shows (a context menu, Wine's confirmation box).
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "framework/win32/winapi.h"

namespace uis::test {

// The fixture folder as the Unix side names it (SHELL_FIXTURE).
std::string FixtureUnix();
// The test's scratch folder as this prefix names it (SHELL_TMP_WIN, a \\?\unix path).
std::string ScratchWin();

// Runs a /bin/sh script on the Unix side, in the fixture folder; its exit code, or -1 when it could
// not start or did not end within 30 seconds.
int RunUnix(const std::string& script);

// Runs the application's loop until `done` or `milliseconds` passed; returns done().
bool PumpUntil(const std::function<bool()>& done, int milliseconds = 10000);
void Pump(int milliseconds);

// Does the file or folder exist (Unix side)?
bool ExistsOnDisk(const std::string& relative);

// Watches, from a thread of its own, for a visible top-level window of `windowClass` of this process
// (and, when given, a caption containing `caption`); runs `act` on it once, on the watcher's thread
// (so it may only post or send). Joins in the destructor.
class WindowWatcher {
public:
    WindowWatcher(std::string windowClass, std::string caption, std::function<void(HWND)> act,
                  int timeoutMs = 15000);
    ~WindowWatcher();
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;
    bool Acted() const { return acted_; }
    std::string Caption() const { return caption_seen_; }

private:
    struct Search {
        WindowWatcher* self;
        HWND found;
    };
    static BOOL CALLBACK Visit(HWND window, LPARAM data);

    std::string class_;
    std::string caption_;
    std::function<void(HWND)> act_;
    std::atomic<bool> acted_{false};
    std::atomic<bool> stop_{false};
    std::string caption_seen_;
    std::thread thread_;
};

// Posts a key (down and up) to the window; the menu loop and dialogs take keys from the queue.
void PostKey(HWND window, UINT vk);
// Posts a typed character.
void PostChar(HWND window, char c);

}  // namespace uis::test
