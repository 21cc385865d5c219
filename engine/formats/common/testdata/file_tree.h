// Test helper: every regular file below a folder by its relative path ("/" separators), with its
// bytes, so that two extractions can be compared whole.
#pragma once

#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include "testing/test_env.h"

namespace engine::test {

// LowerCase folds the paths, for comparing with tools that change the case of DOS names.
inline std::map<std::string, std::string> FileTree(const std::string& root, bool lowerCase = false)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::string> out;
    if (!fs::exists(root))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_regular_file())
            continue;
        std::string key = fs::relative(e.path(), root).generic_string();
        if (lowerCase)
            for (char& c : key)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out[key] = mx::test::ReadFile(e.path().string());
    }
    return out;
}

}  // namespace engine::test
