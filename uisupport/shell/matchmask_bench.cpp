// Prints how long file masks take on long names: plain masks, and masks of many stars that would
// make a backtracking matcher run for minutes.
#include <chrono>
#include <cstdio>
#include <string>

#include "uisupport/shell/matchmask.h"

int main() {
    struct Case {
        const char* what;
        std::string name;
        std::string mask;
    };
    const Case cases[] = {
        {"plain mask, 255-char name", std::string(251, 'a') + ".zip", "*.zip"},
        {"10 stars, no match", std::string(255, 'a'), "*a*a*a*a*a*a*a*a*a*a*b"},
        {"20 stars, match", std::string(254, 'a') + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b"},
        {"? and *, 255-char name", std::string(255, 'x'), "?*?*?*?*?*?*?*?y"},
    };
    for (const Case& c : cases) {
        const int rounds = 20000;
        bool sink = false;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) sink ^= uis::MatchMask(c.name, c.mask);
        const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        std::printf("matchmask %-28s %8.3f us per match (%s)\n", c.what, us / rounds, sink ? "odd" : "even");
    }
    return 0;
}
