#include "sfx/builder/stub_locator.h"

#include <gtest/gtest.h>

#include "sfx/common/sfx_layout.h"
#include "testing/test_env.h"

namespace sfx {
namespace {

std::string Filler(size_t n, char seed) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + static_cast<size_t>(seed)) % 251);
    return s;
}

std::string FakeStub(size_t size) {
    std::string s = Filler(size, 3);
    s.replace(0, 4, reinterpret_cast<const char*>(kStubMagic), 4);
    return s;
}

TEST(StubLocator, FindsTheCarriedStubAtTheEnd) {
    const struct {
        const char* name;
        size_t builder;
        size_t stub;
        bool found;
    } cases[] = {
        {"usual builder", 400000, SfxStubSize, true},
        {"builder smaller than the search window", 5000, SfxStubSize, true},
        {"smallest stub", 100000, 15004, true},
        {"largest stub", 100000, 47767, true},
        {"stub too large for the window", 100000, 47768 + 10, false},
        {"stub too small", 100000, 15003, false},
    };
    for (const auto& c : cases) {
        const std::string bytes = "MZ" + Filler(c.builder - 2, 1) + FakeStub(c.stub);
        const StubLocation loc = FindStubInBytes(bytes);
        EXPECT_EQ(loc.fileSize, bytes.size()) << c.name;
        if (c.found) {
            EXPECT_EQ(loc.stubSize, c.stub) << c.name;
            EXPECT_EQ(loc.stubOffset, c.builder) << c.name;
        } else {
            EXPECT_EQ(loc.stubOffset, 0u) << c.name;
        }
    }
}

TEST(StubLocator, NoStubAndTheFileVersionAgree) {
    const std::string dir = mx::test::FreshDir();
    const std::string plain = "MZ" + Filler(60000, 2);
    EXPECT_EQ(FindStubInBytes(plain).stubOffset, 0u);
    mx::test::WriteFile(dir + "/b.exe", plain + FakeStub(SfxStubSize));
    const StubLocation loc = FindStub(dir + "/b.exe");
    EXPECT_EQ(loc.stubOffset, plain.size());
    EXPECT_EQ(loc.stubSize, SfxStubSize);
    EXPECT_EQ(FindStub(dir + "/missing.exe").stubOffset, 0u);
}

}  // namespace
}  // namespace sfx
