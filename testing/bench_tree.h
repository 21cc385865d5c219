#pragma once
// Trees of text files that the end-to-end benchmarks build at run time, the same bytes on every run.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace mx::bench {

// Text-like bytes that compress about as well as source code.
inline std::string Text(size_t n, uint32_t seed)
{
    static const char* const words[] = {"engine", "archive ", "entry", " = ", "size", "(", ");\n", "return ",
                                        "0x1F", "name", "\tif ", "block", ", ", "header", "{\n", "}\n"};
    std::string s;
    s.reserve(n + 16);
    uint32_t x = seed * 2654435761u + 1;
    while (s.size() < n) {
        x = x * 1103515245u + 12345u;
        s += words[(x >> 16) & 15];
        if (((x >> 8) & 31) == 0)
            s += std::to_string(x % 100000);
    }
    s.resize(n);
    return s;
}

inline void Write(const std::filesystem::path& path, const std::string& data)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

// Files of Size bytes each, or of 200 bytes up to 200 + Spread when Size is 0.
inline void MakeTree(const std::filesystem::path& root, int files, size_t size, int perFolder, int spread = 12000)
{
    std::filesystem::remove_all(root);
    for (int i = 0; i < files; ++i)
        Write(root / ("d" + std::to_string(i / perFolder)) / ("f" + std::to_string(i) + ".txt"),
              Text(size == 0 ? 200 + size_t((i * 7919) % spread) : size, uint32_t(i)));
}

}  // namespace mx::bench
