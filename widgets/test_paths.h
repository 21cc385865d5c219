// Native tests of the suite: the suite builds Windows paths, which the tests' own file calls read
// with "/" separators.
#pragma once

#include <string>

#include "testing/test_env.h"

namespace kvx::test {

inline std::string Unix(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}
inline std::string ReadHost(const std::string& path) { return mx::test::ReadFile(Unix(path)); }
inline void WriteHost(const std::string& path, const std::string& bytes) { mx::test::WriteFile(Unix(path), bytes); }

}  // namespace kvx::test
