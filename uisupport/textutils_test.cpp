// Tables for the word, token, command-line and path-text routines.
#include "uisupport/textutils.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace uis {
namespace {

const CharSet kComma = MakeCharSet(",");
const CharSet kBlankComma = MakeCharSet(" ,");

TEST(Words, CountStartAndWordAt) {
    struct Case {
        const char* text;
        const CharSet* delimiters;
        int n;
        int count;
        size_t start;
        const char* word;
    };
    const Case cases[] = {
        {",,a,,b,", &kComma, 2, 2, 6, "b"},  // runs of delimiters count as one
        {",,a,,b,", &kComma, 1, 2, 3, "a"},
        {",,a,,b,", &kComma, 3, 2, 0, ""},   // fewer words: position 0, no word
        {"", &kComma, 1, 0, 0, ""},
        {",,,", &kComma, 1, 0, 0, ""},
        {"one two,three", &kBlankComma, 3, 3, 9, "three"},
        {"solo", &kComma, 1, 1, 1, "solo"},
        {"a,b", &kComma, 0, 2, 0, ""},       // there is no word 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " #" + std::to_string(c.n));
        EXPECT_EQ(CountWords(c.text, *c.delimiters), c.count);
        EXPECT_EQ(WordStart(c.n, c.text, *c.delimiters), c.start);
        EXPECT_EQ(WordAt(c.n, c.text, *c.delimiters), c.word);
    }
}

TEST(Words, NextTokenWalksAndStopsPastTheEnd) {
    const CharSet semicolon = MakeCharSet(";");
    struct Case {
        const char* text;
        size_t from;
        const char* token;
        size_t to;
    };
    const Case cases[] = {
        {"a;b", 1, "a", 3}, {"a;b", 3, "b", 4}, {"a;b", 4, "", 4},  {"a;;b", 3, "", 4},
        {";x", 1, "", 2},   {"abc", 1, "abc", 4}, {"a;b", 9, "", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.from));
        size_t position = c.from;
        EXPECT_EQ(NextToken(c.text, position, semicolon), c.token);
        EXPECT_EQ(position, c.to);
    }
}

TEST(Words, ReplaceAllDoesNotRescanReplacedText) {
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("a.b.c", ".", "\\"), "a\\b\\c");
    EXPECT_EQ(ReplaceAll("abab", "ab", ""), "");
    EXPECT_EQ(ReplaceAll("text", "", "x"), "text");
    EXPECT_EQ(ReplaceAll("xyx", "yxx", "z"), "xyx");
}

TEST(CommandLine, NextParamSkipsQuotePairsAndKeepsQuotedBlanks) {
    struct Case {
        const char* line;
        std::vector<std::string> params;
    };
    const Case cases[] = {
        {"prog a b", {"prog", "a", "b"}},
        {"  \t prog   ", {"prog"}},
        {"\"C:\\Program Files\\z.exe\" -x \"a b\"", {"C:\\Program Files\\z.exe", "-x", "a b"}},
        {"\"\" \"\" x", {"x"}},                     // empty quoted parts are skipped
        {"pre\"mid dle\"post", {"premid dlepost"}},  // a quoted part inside a parameter
        {"\"unterminated x", {"unterminated x"}},
        {"a\x01" "b", {"a", "b"}},                   // control characters separate
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::vector<std::string> got;
        size_t position = 0;
        std::string param;
        while ((position = NextParam(c.line, position, param)), !param.empty()) got.push_back(param);
        EXPECT_EQ(got, c.params);
        EXPECT_EQ(CountParams(c.line), std::max<int>(0, static_cast<int>(c.params.size()) - 1));
        for (size_t i = 0; i < c.params.size(); ++i) EXPECT_EQ(ParamAt(c.line, static_cast<int>(i)), c.params[i]);
        EXPECT_EQ(ParamAt(c.line, static_cast<int>(c.params.size())), "");
    }
}

TEST(CommandLine, LongParametersAreNeitherCutNorOverrun) {
    const std::string longName(5000, 'x');
    std::string param;
    const std::string line = "prog \"" + longName + " y\" " + longName;
    size_t position = NextParam(line, 0, param);
    position = NextParam(line, position, param);
    EXPECT_EQ(param, longName + " y");
    NextParam(line, position, param);
    EXPECT_EQ(param, longName);
}

TEST(CommandLine, SplitProgramAndParamsQuotesBlanksAgain) {
    std::string program, params;
    SplitProgramAndParams("\"C:\\My Tools\\mx.exe\" -e \"C:\\new folder\\a.zip\" x", program, params);
    EXPECT_EQ(program, "C:\\My Tools\\mx.exe");
    EXPECT_EQ(params, "-e \"C:\\new folder\\a.zip\" x");
    SplitProgramAndParams("solo.exe", program, params);
    EXPECT_EQ(program, "solo.exe");
    EXPECT_EQ(params, "");
}

TEST(PathTexts, StripTrailingBackslashKeepsRoots) {
    const std::map<std::string, std::string> cases = {
        {"C:\\", "C:\\"}, {"C:\\Temp\\", "C:\\Temp"}, {"\\", "\\"}, {"", ""},
        {"a\\\\", "a\\"}, {"C:\\Temp", "C:\\Temp"}, {"ab\\", "ab"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(StripTrailingBackslash(in), out) << in;
}

TEST(PathTexts, IsValidFileNameFollowsTheSystemRule) {
    const std::map<std::string, bool> cases = {
        {"report[1].txt", true}, {"a b.zip", true}, {"x", true}, {"", false},
        {"a<b", false}, {"a>b", false}, {"a:b", false}, {"a\"b", false}, {"a/b", false},
        {"a\\b", false}, {"a|b", false}, {"a?b", false}, {"a*b", false}, {"tab\there", false},
        {"\xE9t\xE9.txt", true},
    };
    for (const auto& [name, valid] : cases) EXPECT_EQ(IsValidFileName(name), valid) << name;
}

TEST(PathTexts, RebuildPathAsksForEachComponentFromTheRight) {
    std::vector<std::string> asked;
    const std::map<std::string, std::string> longNames = {
        {"C:\\PROGRA~1", "Program Files"}, {"C:\\PROGRA~1\\MYTOOL~1", "My Tools"}};
    const auto nameOf = [&](const std::string& prefix) {
        asked.push_back(prefix);
        const auto found = longNames.find(prefix);
        return found == longNames.end() ? std::string() : found->second;
    };
    EXPECT_EQ(RebuildPath("C:\\PROGRA~1\\MYTOOL~1\\x.exe", nameOf), "C:\\Program Files\\My Tools\\x.exe");
    EXPECT_EQ(asked, (std::vector<std::string>{"C:\\PROGRA~1\\MYTOOL~1\\x.exe", "C:\\PROGRA~1\\MYTOOL~1", "C:\\PROGRA~1"}));
    EXPECT_EQ(RebuildPath("nodrive", nameOf), "nodrive");
}

TEST(ScreenTexts, FitRectIntoMovesLeftAndTopLast) {
    const fw::TRect screen = fw::Rect(0, 0, 1024, 768);
    struct Case {
        fw::TRect in, out;
    };
    const Case cases[] = {
        {fw::Rect(10, 10, 110, 60), fw::Rect(10, 10, 110, 60)},
        {fw::Rect(1000, 700, 1100, 800), fw::Rect(924, 668, 1024, 768)},
        {fw::Rect(-50, -20, 50, 30), fw::Rect(0, 0, 100, 50)},
        {fw::Rect(-10, -10, 2000, 1000), fw::Rect(0, 0, 2010, 1010)},  // larger than the screen
    };
    for (const Case& c : cases) {
        fw::TRect r = c.in;
        FitRectInto(r, screen);
        EXPECT_EQ(r, c.out);
    }
}

TEST(ScreenTexts, EllipsizeToWidthCutsUntilItFits) {
    const auto width = [](const std::string& s) { return static_cast<int>(s.size()) * 5; };
    EXPECT_EQ(EllipsizeToWidth("short", 25, width), "short");
    EXPECT_EQ(EllipsizeToWidth("abcdefghij", 40, width), "abcde...");
    EXPECT_EQ(EllipsizeToWidth("abcdefghij", 16, width), "...");
    EXPECT_EQ(EllipsizeToWidth("abcdefghij", 1, width), "...");
}

}  // namespace
}  // namespace uis
