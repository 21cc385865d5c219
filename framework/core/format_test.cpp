#include "framework/core/format.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/core/datetime.h"
#include "framework/core/exceptions.h"
#include "framework/core/platform.h"

namespace fw {
namespace {

struct Row {
    const char* name;
    std::string got;
    std::string want;
};

TEST(Format, Placeholders) {
    const int64_t big = 1234567890123LL;
    const Row rows[] = {
        {"plain text", Format("no placeholders", {}), "no placeholders"},
        {"percent", Format("100%%", {}), "100%"},
        {"string and int", Format("%s has %d entries", {"a.zip", 12}), "a.zip has 12 entries"},
        {"std::string", Format("[%s]", {std::string("x y")}), "[x y]"},
        {"negative", Format("%d", {-42}), "-42"},
        {"64-bit", Format("%d", {big}), "1234567890123"},
        {"int64 min", Format("%d", {INT64_MIN}), "-9223372036854775808"},
        {"precision zero-fills", Format("%.5d", {42}), "00042"},
        {"precision with sign", Format("%.5d", {-12}), "-00012"},
        {"width", Format("[%5d]", {42}), "[   42]"},
        {"left align", Format("[%-5d]", {42}), "[42   ]"},
        {"string width", Format("[%6s]", {"ab"}), "[    ab]"},
        {"string precision cuts", Format("[%.2s]", {"abcdef"}), "[ab]"},
        {"unsigned", Format("%u", {4000000000u}), "4000000000"},
        {"unsigned of negative int", Format("%u", {-1}), "4294967295"},
        {"hex lower", Format("%x", {255}), "ff"},
        {"hex upper", Format("%X", {0xBEEF}), "BEEF"},
        {"hex precision", Format("%.8X", {0x1F}), "0000001F"},
        {"hex negative 32-bit", Format("%x", {-1}), "ffffffff"},
        {"char", Format("%c%c", {'o', 'k'}), "ok"},
        {"char from code", Format("%c", {65}), "A"},
        {"char as string", Format("%s", {'z'}), "z"},
        {"fixed default", Format("%f", {1.5}), "1.50"},
        {"fixed precision", Format("%.3f", {2.0 / 3}), "0.667"},
        {"scientific", Format("%e", {1.5}), "1.50000000000000E+000"},
        {"scientific precision", Format("%.3e", {-12345.678}), "-1.23E+004"},
        {"general", Format("%g", {0.1}), "0.1"},
        {"general integer", Format("%g", {100.0}), "100"},
        {"general large", Format("%g", {1e20}), "1E20"},
        {"general small", Format("%g", {1.5e-7}), "1.5E-7"},
        {"index", Format("%1:s %0:s %s", {"a", "b"}), "b a b"},
        {"star width", Format("[%*d]", {4, 7}), "[   7]"},
        {"star precision", Format("[%.*d]", {3, 7}), "[007]"},
        {"surplus args ignored", Format("%d", {1, 2, 3}), "1"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.got, r.want) << r.name;
}

TEST(Format, PointerHasFixedWidth) {
    const std::string p = Format("%p", {static_cast<const void*>(nullptr)});
    EXPECT_EQ(p, std::string(sizeof(void*) * 2, '0'));
}

TEST(Format, MismatchAndMissingRaise) {
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"%d with a string", [] { Format("%d", {"x"}); }},
        {"%s with an int", [] { Format("%s", {5}); }},
        {"%f with an int", [] { Format("%f", {5}); }},
        {"%d with a double", [] { Format("%d", {1.0}); }},
        {"%x with a string", [] { Format("%x", {"ff"}); }},
        {"%p with an int", [] { Format("%p", {5}); }},
        {"%c with a string", [] { Format("%c", {"ab"}); }},
        {"missing argument", [] { Format("%s and %s", {"one"}); }},
        {"no arguments", [] { Format("%d", {}); }},
        {"unknown type", [] { Format("%q", {1}); }},
        {"trailing percent", [] { Format("50%", {}); }},
        {"index past the end", [] { Format("%5:s", {"a"}); }},
        {"star with a string", [] { Format("%*d", {"a", 1}); }},
        {"huge width", [] { Format("%99999999d", {1}); }},
    };
    for (const auto& [name, call] : rows) EXPECT_THROW(call(), EConvertError) << name;
}

TEST(Format, DecimalSeparatorFollowsSettings) {
    const char saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = ',';
    EXPECT_EQ(Format("%.2f", {1.25}), "1,25");
    EXPECT_EQ(FloatToStr(0.5), "0,5");
    EXPECT_DOUBLE_EQ(StrToFloat("2,5"), 2.5);
    FormatSettings.DecimalSeparator = saved;
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
}

TEST(Format, LoadStrUsesRegisteredTable) {
    RegisterString(25999, "Cannot open %s");
    EXPECT_EQ(LoadStr(25999), "Cannot open %s");
    EXPECT_EQ(FmtLoadStr(25999, {"x.zip"}), "Cannot open x.zip");
    EXPECT_EQ(LoadStr(25998), "");
}

}  // namespace
}  // namespace fw
