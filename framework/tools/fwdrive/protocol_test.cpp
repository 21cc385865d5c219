// The driver's protocol library: escaping, request and reply texts, payload rows, key
// sequences and script parsing.
#include <gtest/gtest.h>

#include <map>

#include "framework/automation/keyspec.h"
#include "framework/automation/protocol.h"
#include "framework/tools/fwdrive/script.h"

namespace fw::drive {
namespace {

TEST(FwdriveProtocol, EscapeRoundTripsEveryByte) {
    struct Case {
        const char* why;
        std::string raw;
        std::string escaped;
    } cases[] = {
        {"plain", "hello world", "hello world"},
        {"tab and line feed", "a\tb\nc", "a\\tb\\nc"},
        {"backslash before t", "C:\\temp\\x", "C:\\\\temp\\\\x"},
        {"carriage return", "a\r\n", "a\\r\\n"},
        {"trailing backslash", "x\\", "x\\\\"},
        {"empty", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Escape(c.raw), c.escaped) << c.why;
        EXPECT_EQ(Unescape(c.escaped), c.raw) << c.why;
    }
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Unescape(Escape(all)), all);
    EXPECT_EQ(Escape(all).find_first_of("\t\n"), std::string::npos);
    // Unknown pairs read as the character; a lone trailing backslash stays.
    EXPECT_EQ(Unescape("\\q\\"), "q\\");
}

TEST(FwdriveProtocol, RequestsAndRepliesRoundTrip) {
    Request r{42, "set", "frmMain.Edit1.Text a\tb\\c\nd"};
    std::string text = FormatRequest(r);
    EXPECT_EQ(text, "42\tset\tfrmMain.Edit1.Text a\\tb\\\\c\\nd");
    Request back;
    ASSERT_TRUE(ParseRequest(text, back));
    EXPECT_EQ(back.id, 42u);
    EXPECT_EQ(back.verb, "set");
    EXPECT_EQ(back.args, r.args);

    Request empty;
    ASSERT_TRUE(ParseRequest("7\tforms\t", empty));
    EXPECT_EQ(empty.args, "");

    for (const char* bad : {"", "forms", "1\tforms", "x\tforms\t", "1\t\targs", "-1\tforms\t", "1\tget\ta\tb",
                            "99999999999\tforms\t", "1\tget\ta\nb"}) {
        Request ignored;
        EXPECT_FALSE(ParseRequest(bad, ignored)) << Escape(bad);
    }

    Reply ok{3, true, "a\tb\nc\td"};
    Reply parsed;
    ASSERT_TRUE(ParseReply(FormatReply(ok), parsed));
    EXPECT_EQ(parsed.id, 3u);
    EXPECT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.payload, ok.payload);
    ASSERT_TRUE(ParseReply("4\terr\tblocked by modal dlgAsk", parsed));
    EXPECT_FALSE(parsed.ok);
    EXPECT_EQ(parsed.payload, "blocked by modal dlgAsk");
    EXPECT_FALSE(ParseReply("4\tmaybe\tx", parsed));
}

TEST(FwdriveProtocol, RowsKeepCellsWithTabsAndLineBreaks) {
    std::vector<Row> rows = {{"name", "size"}, {"a\tb.txt", "12"}, {"multi\nline", ""}, {""}};
    std::string payload = JoinRows(rows);
    EXPECT_EQ(payload, "name\tsize\na\\tb.txt\t12\nmulti\\nline\t\n");
    EXPECT_EQ(SplitRows(payload), rows);
    EXPECT_TRUE(SplitRows("").empty());
}

TEST(FwdriveProtocol, SplitWordHonoursQuotes) {
    struct Case {
        const char* text;
        const char* first;
        const char* rest;
    } cases[] = {
        {"start  app.exe -x  y", "start", "app.exe -x  y"},
        {"\"C:\\Program Files\\a.exe\" /s", "C:\\Program Files\\a.exe", "/s"},
        {"   ", "", ""},
        {"one", "one", ""},
        {"\"unclosed name", "unclosed name", ""},
    };
    for (const Case& c : cases) {
        std::string first, rest;
        SplitWord(c.text, first, rest);
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(rest, c.rest) << c.text;
    }
}

TEST(FwdriveProtocol, KeySpecifications) {
    std::vector<KeyStroke> keys;
    std::string error;
    ASSERT_TRUE(ParseKeys("ab{Enter}+a^o%{F4}{+}{{}{}}{tab}{Alt}", keys, error)) << error;
    ASSERT_EQ(keys.size(), 11u);
    EXPECT_EQ(keys[0].ch, 'a');
    EXPECT_EQ(keys[0].vk, 0);
    EXPECT_EQ(keys[2].vk, 0x0D);
    EXPECT_EQ(keys[2].ch, '\r');
    EXPECT_TRUE(keys[3].shift);
    EXPECT_EQ(keys[3].ch, 'a');
    EXPECT_TRUE(keys[4].ctrl);
    EXPECT_FALSE(keys[4].shift);
    EXPECT_EQ(keys[4].ch, 'o');
    EXPECT_TRUE(keys[5].alt);
    EXPECT_EQ(keys[5].vk, 0x73);
    EXPECT_EQ(keys[6].ch, '+');
    EXPECT_FALSE(keys[6].shift);
    EXPECT_EQ(keys[7].ch, '{');
    EXPECT_EQ(keys[8].ch, '}');
    EXPECT_EQ(keys[9].vk, 0x09);
    EXPECT_EQ(keys[10].vk, 0x12);  // Alt alone
    EXPECT_FALSE(keys[10].alt);

    for (const char* bad : {"{Nope}", "{Enter", "abc^", "{F25}"}) {
        EXPECT_FALSE(ParseKeys(bad, keys, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

VariableLookup Vars(std::map<std::string, std::string> vars) {
    return [vars](const std::string& name, std::string& value) {
        auto it = vars.find(name);
        if (it == vars.end()) return false;
        value = it->second;
        return true;
    };
}

TEST(FwdriveProtocol, ScriptStepsAndTimeouts) {
    const char* text =
        "# comment\r\n"
        "start ${APP} --flag \"two words\"\r\n"
        "\n"
        "wait form frmMain visible 5\n"
        "wait form frmOther\n"
        "wait modal dlgAsk 2.5\n"
        "wait dialog \"Save as\" 3\n"
        "wait dialog Confirm\n"
        "wait idle\n"
        "wait exit 4\n"
        "set frmMain.Edit1.Text a\\tb\n"
        "expect get frmMain.Edit1.Text = a\\tb\n"
        "expect rows frmMain.List1 = @file(list.tsv)\n"
        "expect get frmMain.Edit1.Text =\n"
        "expect-error click frmMain.Button1 = blocked by modal dlgAsk\n"
        "keys frmMain.Edit1 ^o{Enter}\n"
        "sleep 0.5\n"
        "screenshot\n"
        "attach MxInstall.exe 30\n"
        "attach \"My Setup.exe\"\n"
        "wait file A:\\\\files.2 30\n"
        "wait done 7\n";
    std::vector<Step> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(text, Vars({{"APP", "Z:/build/app.exe"}}), steps, error)) << error;
    ASSERT_EQ(steps.size(), 20u);
    EXPECT_EQ(steps[0].kind, StepKind::Start);
    EXPECT_EQ(steps[0].line, 2);
    EXPECT_EQ(steps[0].program, "Z:/build/app.exe");
    EXPECT_EQ(steps[0].arguments, "--flag \"two words\"");
    EXPECT_EQ(steps[1].kind, StepKind::WaitForm);
    EXPECT_EQ(steps[1].name, "frmMain");
    EXPECT_TRUE(steps[1].visible);
    EXPECT_EQ(steps[1].seconds, 5.0);
    EXPECT_FALSE(steps[2].visible);
    EXPECT_EQ(steps[2].seconds, kDefaultTimeout);
    EXPECT_EQ(steps[3].kind, StepKind::WaitModal);
    EXPECT_EQ(steps[3].seconds, 2.5);
    EXPECT_EQ(steps[4].kind, StepKind::WaitDialog);
    EXPECT_EQ(steps[4].name, "Save as");
    EXPECT_EQ(steps[4].seconds, 3.0);
    EXPECT_EQ(steps[5].name, "Confirm");
    EXPECT_EQ(steps[6].kind, StepKind::WaitIdle);
    EXPECT_EQ(steps[7].kind, StepKind::WaitExit);
    EXPECT_EQ(steps[7].seconds, 4.0);
    EXPECT_EQ(steps[8].kind, StepKind::Request);
    EXPECT_EQ(steps[8].verb, "set");
    EXPECT_EQ(steps[8].args, "frmMain.Edit1.Text a\tb");
    EXPECT_EQ(steps[9].kind, StepKind::Expect);
    EXPECT_EQ(steps[9].verb, "get");
    EXPECT_EQ(steps[9].args, "frmMain.Edit1.Text");
    EXPECT_EQ(steps[9].expected, "a\tb");
    EXPECT_EQ(steps[10].expectedFile, "list.tsv");
    EXPECT_EQ(steps[11].expected, "");
    EXPECT_EQ(steps[12].kind, StepKind::ExpectError);
    EXPECT_EQ(steps[12].verb, "click");
    EXPECT_EQ(steps[12].expected, "blocked by modal dlgAsk");
    EXPECT_EQ(steps[13].args, "frmMain.Edit1 ^o{Enter}");
    EXPECT_EQ(steps[14].kind, StepKind::Sleep);
    EXPECT_EQ(steps[14].seconds, 0.5);
    EXPECT_EQ(steps[15].kind, StepKind::Screenshot);
    EXPECT_EQ(steps[16].kind, StepKind::Attach);
    EXPECT_EQ(steps[16].program, "MxInstall.exe");
    EXPECT_EQ(steps[16].seconds, 30.0);
    EXPECT_EQ(steps[17].program, "My Setup.exe");
    EXPECT_EQ(steps[17].seconds, kDefaultTimeout);
    EXPECT_EQ(steps[18].kind, StepKind::WaitFile);
    EXPECT_EQ(steps[18].name, "A:\\files.2");
    EXPECT_EQ(steps[18].seconds, 30.0);
    EXPECT_EQ(steps[19].kind, StepKind::WaitDone);
    EXPECT_EQ(steps[19].seconds, 7.0);
}

TEST(FwdriveProtocol, ScriptErrorsNameTheLine) {
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"forms\nfrobnicate x\n", "line 2: unknown command \"frobnicate\""},
        {"start ${NOPE}\n", "line 1: undefined variable ${NOPE}"},
        {"start ${APP\n", "line 1: unclosed ${"},
        {"wait form\n", "line 1: wait form <root> [visible] [<secs>]"},
        {"wait form a b\n", "line 1: wait form <root> [visible] [<secs>]"},
        {"wait later\n", "line 1: wait form|modal|dialog|window|file|idle|done|exit"},
        {"expect get a.b.c\n", "line 1: expect needs \" = <text>\""},
        {"expect click a.b = x\n", "line 1: expect takes a query, not the action \"click\""},
        {"\n\nsleep soon\n", "line 3: sleep needs a number of seconds"},
        {"start\n", "line 1: start needs a program"},
        {"attach\n", "line 1: attach <program file name> [<secs>]"},
        {"attach C:\\Setup\\MxInstall.exe\n", "line 1: attach <program file name> [<secs>]"},
    };
    for (const Case& c : cases) {
        std::vector<Step> steps;
        std::string error;
        EXPECT_FALSE(ParseScript(c.text, Vars({}), steps, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(FwdriveProtocol, PayloadComparisonForgivesOneFinalLineBreak) {
    EXPECT_TRUE(PayloadMatches("a\tb\nc", "a\tb\nc\n"));
    EXPECT_TRUE(PayloadMatches("a\tb\nc\n", "a\tb\nc"));
    EXPECT_TRUE(PayloadMatches("a\r\n", "a"));
    EXPECT_FALSE(PayloadMatches("a\n\n", "a"));
    EXPECT_FALSE(PayloadMatches("a", "A"));
    // "*" cells match any cell, but rows and cells must still line up.
    EXPECT_TRUE(PayloadMatches("frmMain\tTForm\t1\t1A2B", "frmMain\tTForm\t1\t*\n"));
    EXPECT_FALSE(PayloadMatches("frmMain\tTForm\t1", "frmMain\tTForm\t1\t*"));
    EXPECT_FALSE(PayloadMatches("a\nb", "*"));
    EXPECT_FALSE(PayloadMatches("x\t2", "*\t1"));
    EXPECT_TRUE(IsQueryVerb("rows"));
    EXPECT_FALSE(IsQueryVerb("click"));
    EXPECT_TRUE(IsKnownVerb("answer"));
    EXPECT_FALSE(IsKnownVerb("Forms"));
}

}  // namespace
}  // namespace fw::drive
