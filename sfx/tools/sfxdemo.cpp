// Builds a self-extractor from a ZIP archive on the build machine, the way the builder program does:
// the extractor program is carried at the end of a file and found there, then stub, option block and
// archive are written and the archive's offsets moved. Used by tools/run to start something real.
//   sfxdemo STUB.exe ARCHIVE.zip OUTPUT.exe [CAPTION]
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "sfx/builder/sfx_assembler.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: sfxdemo STUB.exe ARCHIVE.zip OUTPUT.exe [CAPTION]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string stub((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (stub.empty()) {
        std::fprintf(stderr, "sfxdemo: cannot read %s\n", argv[1]);
        return 1;
    }
    // A carrier shaped like the builder program: its own image first, the extractor at its end.
    const std::string carrier = std::string(argv[3]) + ".carrier";
    {
        std::ofstream out(carrier, std::ios::binary | std::ios::trunc);
        out << "MZ" << std::string(16382, '\0') << stub;
        if (!out) {
            std::fprintf(stderr, "sfxdemo: cannot write %s\n", carrier.c_str());
            return 1;
        }
    }
    const sfx::StubLocation loc = sfx::FindStub(carrier);
    sfx::SfxSettings settings;
    settings.zipPath = argv[2];
    settings.outputPath = argv[3];
    settings.caption = argc > 4 ? argv[4] : "Morvix self-extractor";
    const sfx::BuildResult r = sfx::BuildSelfExtractor(carrier, loc, argv[2], argv[3], settings);
    std::remove(carrier.c_str());
    if (!r.ok) {
        std::fprintf(stderr, "sfxdemo: %s\n", r.message.c_str());
        return 1;
    }
    return 0;
}
