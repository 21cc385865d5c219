// sfxrun EXE CAPTION FOLDER [PASSWORD]: runs a self-extractor the way a user would (the folder typed
// into "Extract to :", the password given when asked) and prints what it showed. Exit code 0 when it
// reported every file extracted, 1 otherwise.
#include <cstdio>

#include "sfx/stub/win32/testsupport/stub_driver.h"

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: sfxrun EXE CAPTION FOLDER [PASSWORD]\n");
        return 2;
    }
    sfx::test::StubDriver driver;
    driver.caption = argv[2];
    driver.folder = argv[3];
    if (argc == 5) driver.passwords = {argv[4]};
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    if (!driver.Run(argv[1], cwd)) {
        std::printf("sfxrun: %s\n", driver.error.c_str());
        return 1;
    }
    std::printf("sfxrun: %s: %zu entries listed, %d password prompts, %s\n", argv[1], driver.listed.size(),
                driver.passwordPrompts, driver.Boxes().c_str());
    return driver.Succeeded() ? 0 : 1;
}
