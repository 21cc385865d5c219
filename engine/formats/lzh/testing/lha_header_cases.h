// Test helper: LHA archives made with jlha at test time whose headers a walk must not end on in
// silence. Each case names the entries that must come out and the header reported as damaged
// (25108, "at offset N"), if any. Shared by the extractor's, the lister's and the tester's tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/formats/common/testdata/tool_runner.h"
#include "testing/test_env.h"

namespace engine::test {

struct LhaHeaderCase {
    std::string label;
    std::string archive;             // its path
    std::vector<std::string> names;  // the entries that come out, in order
    int64_t damagedAt = -1;          // the offset of the header reported as damaged; -1 for none
};

// The position of the header after the one at Pos (levels 0 and 1: size byte + 2 + packed size).
inline size_t NextLhaHeader(const std::string& bytes, size_t pos)
{
    const auto b = [&](size_t i) { return uint32_t(uint8_t(bytes.at(pos + i))); };
    return pos + 2 + b(0) + (b(7) | b(8) << 8 | b(9) << 16 | b(10) << 24);
}

// Makes the cases in Dir: three small stored entries at level 0 whose second header is changed, and
// a level-2 archive whose second header is exactly 256 bytes long, so that its size byte reads 0.
inline std::vector<LhaHeaderCase> MakeLhaHeaderCases(const std::string& dir)
{
    std::vector<LhaHeaderCase> cases;
    if (!RunIn(dir, "printf one > one.txt && printf two > two.txt && printf six > six.txt && jlha c0zq three.lzh "
                    "one.txt two.txt six.txt",
               "jlha", "jlha-utils")) {
        ADD_FAILURE() << "jlha could not make the archive";
        return cases;
    }
    const std::string three = mx::test::ReadFile(dir + "/three.lzh");
    const size_t second = NextLhaHeader(three, 0);
    const auto patched = [&](const std::string& name, size_t at, char value) {
        std::string bytes = three;
        bytes.at(second + at) = value;
        mx::test::WriteFile(dir + "/" + name, bytes);
        return dir + "/" + name;
    };
    cases.push_back({"a header of level 3", patched("level3.lzh", 20, 3), {"one.txt"}, int64_t(second)});
    cases.push_back({"a header size below 22", patched("size20.lzh", 0, 20), {"one.txt"}, int64_t(second)});
    cases.push_back({"a method that is no method", patched("method.lzh", 2, 'x'), {"one.txt"}, int64_t(second)});

    // A name long enough for a 256-byte level-2 header: the header grows with the name, so one try
    // tells the length. Level-2 headers hold their whole size in their first two bytes. jlha pads
    // such a header with a zero byte to 257; other writers do not, and the pad goes again here.
    const auto makeLevel2 = [&](size_t nameLength) {
        const std::string name = std::string(nameLength - 4, 'n') + ".txt";
        RunIn(dir, "rm -f long.lzh && printf long > '" + name + "' && jlha c2zq long.lzh one.txt '" + name +
                       "' six.txt && rm '" + name + "'",
              "jlha", "jlha-utils");
        const std::string bytes = mx::test::ReadFile(dir + "/long.lzh");
        const auto u = [&](size_t i) { return i < bytes.size() ? size_t(uint8_t(bytes[i])) : 0; };
        const size_t next = (u(0) | u(1) << 8) + (u(7) | u(8) << 8 | u(9) << 16 | u(10) << 24);
        return std::make_tuple(name, u(next) | u(next + 1) << 8, next, bytes);
    };
    const size_t probe = std::get<1>(makeLevel2(100));
    auto [name, size, at, bytes] = makeLevel2(100 + 256 - probe);
    if (size == 257 && bytes.at(at + 256) == '\0') {
        bytes.erase(at + 256, 1);
        bytes[at] = 0;
        bytes[at + 1] = 1;
        mx::test::WriteFile(dir + "/long.lzh", bytes);
    } else if (size != 256) {
        ADD_FAILURE() << "jlha made a level-2 header of " << size << " bytes, not 256";
        return cases;
    }
    cases.push_back({"a level-2 header of 256 bytes", dir + "/long.lzh", {"one.txt", name, "six.txt"}, -1});
    return cases;
}

}  // namespace engine::test
