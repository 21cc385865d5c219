#include "widgets/labeltext.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using J = TKVXJumpModes;
using L = TKVXLabelOption;

TEST(KVXLabelText, TextFlags) {
    const uint32_t align[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (int a = 0; a < 9; ++a)
        EXPECT_EQ(KVXLabelTextFlags(static_cast<TKVXAlignment>(a), {}, true), align[a] | 0x50u) << a;
    EXPECT_EQ(KVXLabelTextFlags(TKVXAlignment::agTopLeft, {L::loPathEllipsis}, true), 0x4050u);
    EXPECT_EQ(KVXLabelTextFlags(TKVXAlignment::agTopLeft, {L::loEndEllipsis, L::loEditControl}, true), 0xA050u);
    EXPECT_EQ(KVXLabelTextFlags(TKVXAlignment::agCenter, {}, false), 0x855u);
    EXPECT_TRUE(KVXTopRowAlignment(TKVXAlignment::agTopRight));
    EXPECT_FALSE(KVXTopRowAlignment(TKVXAlignment::agCenterLeft));
}

TEST(KVXLabelText, JumpTargets) {
    struct Case {
        const char* name;
        J mode;
        const char* jump;
        const char* text;
        const char* want;
    };
    const Case cases[] = {
        {"internet: the jump", J::jmInternet, "http://example.org", "Home", "http://example.org"},
        {"blanks around the jump stay", J::jmInternet, "  http://example.org ", "Home", "  http://example.org "},
        {"blank jump: a mail address", J::jmInternet, "   ", "someone@example.org", "mailto:someone@example.org"},
        {"empty jump: the text", J::jmInternet, "", "www.example.org", "www.example.org"},
        {"application: the jump", J::jmApplication, "notepad.exe", "Edit", "notepad.exe"},
        {"application: no mailto", J::jmApplication, "", "a@b", "a@b"},
        {"none", J::jmNone, "x", "y", ""},
        {"custom", J::jmCustom, "x", "y", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXJumpTarget(c.mode, c.jump, c.text), c.want) << c.name;
}

TEST(KVXLabelText, GlyphLabelSize) {
    using T = TKVXTextArrange;
    const TPoint text{60, 14}, glyph{16, 20};
    EXPECT_EQ(KVXGlyphLabelSize(text, glyph, T::taRight, 2, 0, 0), (TPoint{78, 20}));
    EXPECT_EQ(KVXGlyphLabelSize(text, glyph, T::taLeftTop, 4, 1, 2), (TPoint{81, 22}));
    EXPECT_EQ(KVXGlyphLabelSize(text, glyph, T::taBottom, 2, 0, 0), (TPoint{60, 36}));
    EXPECT_EQ(KVXGlyphLabelSize(text, {80, 8}, T::taTopLeft, 2, 0, 0), (TPoint{80, 24}));
    EXPECT_EQ(KVXGlyphLabelSize(text, {0, 0}, T::taRight, 2, 0, 0), (TPoint{62, 14}));
}

}  // namespace
}  // namespace kvx
