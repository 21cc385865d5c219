// The benchmarks' corpus: every RTF fixture, each ending its paragraph, wrapped into one document
// and repeated to at least `bytes` bytes.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace rt::test {

inline std::string BenchCorpus(const std::filesystem::path& fixtures, size_t bytes) {
    std::string corpus;
    for (const auto& e : std::filesystem::directory_iterator(fixtures)) {
        if (e.path().extension() != ".rtf") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        corpus += s.str() + "\\par\n";
    }
    std::string big = "{\\rtf1\\ansi ";
    while (big.size() < bytes) big += corpus;
    return big + "}";
}

}  // namespace rt::test
