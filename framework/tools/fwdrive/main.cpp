// fwdrive.exe [-o <dir>] [-D NAME=VALUE]... [--slow FACTOR] <script>
// --slow multiplies every timeout (a program under emulation starts and answers many times slower).
// Runs an automation script against a program built with the framework (see script.h).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/tools/fwdrive/driver.h"

int main(int argc, char** argv) {
    fw::drive::DriverOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-o" && i + 1 < argc) {
            options.outDir = fw::drive::WindowsPath(argv[++i]);
        } else if (a == "-D" && i + 1 < argc) {
            std::string d = argv[++i];
            size_t eq = d.find('=');
            if (eq == std::string::npos) {
                std::fprintf(stderr, "fwdrive: -D needs NAME=VALUE\n");
                return 2;
            }
            options.defines[d.substr(0, eq)] = d.substr(eq + 1);
        } else if (a == "--screenshot-wait") {
            options.waitForScreenshot = true;
        } else if (a == "--slow" && i + 1 < argc) {
            options.slowness = std::atof(argv[++i]);
            if (options.slowness < 1) options.slowness = 1;
        } else if (options.scriptPath.empty() && !a.empty() && a[0] != '-') {
            options.scriptPath = fw::drive::WindowsPath(a);
        } else {
            std::fprintf(stderr, "usage: fwdrive [-o dir] [-D NAME=VALUE]... [--screenshot-wait] [--slow FACTOR] script.txt\n");
            return 2;
        }
    }
    if (options.scriptPath.empty()) {
        std::fprintf(stderr, "usage: fwdrive [-o dir] [-D NAME=VALUE]... [--screenshot-wait] [--slow FACTOR] script.txt\n");
        return 2;
    }
    fw::drive::Driver driver(options);
    return driver.Run();
}
