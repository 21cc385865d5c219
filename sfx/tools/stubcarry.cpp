// Appends the padded extractor program to the freshly linked builder, which carries it as its last
// bytes, then checks that the builder's own search finds it there: at the file's size minus
// SfxStubSize, byte for byte. Any other outcome fails the build.
//   sfx_stubcarry BUILDER.exe SFXSTUB.exe
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "sfx/builder/stub_locator.h"
#include "sfx/common/sfx_layout.h"

namespace {

std::string ReadWhole(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "sfx_stubcarry: %s\n", why.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sfx_stubcarry BUILDER.exe SFXSTUB.exe\n");
        return 2;
    }
    const std::string stub = ReadWhole(argv[2]);
    if (stub.size() != sfx::SfxStubSize) return Fail(std::string(argv[2]) + " is not " + std::to_string(sfx::SfxStubSize) + " bytes long");
    {
        std::ofstream out(argv[1], std::ios::binary | std::ios::app);
        if (!out.write(stub.data(), static_cast<std::streamsize>(stub.size())) || !out.flush())
            return Fail(std::string("cannot append the extractor to ") + argv[1]);
    }
    const std::string builder = ReadWhole(argv[1]);
    const sfx::StubLocation loc = sfx::FindStub(argv[1]);
    const uint64_t want = builder.size() - stub.size();
    if (loc.stubOffset != want || loc.stubSize != stub.size())
        return Fail(std::string(argv[1]) + ": the carried extractor is found at " + std::to_string(loc.stubOffset) +
                    " (" + std::to_string(loc.stubSize) + " bytes), not at " + std::to_string(want));
    if (builder.compare(want, stub.size(), stub) != 0) return Fail(std::string(argv[1]) + ": the carried extractor differs");
    return 0;
}
