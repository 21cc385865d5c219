// Finds the extractor program that the builder carries at the end of its own executable file.
#pragma once

#include <cstdint>
#include <string>

namespace sfx {

struct StubLocation {
    uint64_t fileSize = 0;    // the builder's own size
    uint64_t stubSize = 0;    // the carried extractor runs from stubOffset to the end of the file
    uint64_t stubOffset = 0;  // 0: not found
};

// Looks for "MZP" 00 in the 32 KB that start 47,768 bytes before the end of the file; the first hit
// begins the carried extractor, which must therefore start 15,000 to 47,767 bytes before the end.
StubLocation FindStub(const std::string& builderPath);
StubLocation FindStubInBytes(const std::string& bytes);

}  // namespace sfx
