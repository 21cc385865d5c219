// Tables of the context-help vocabulary: topic arithmetic, caption matching, the standard-topics file,
// command and window-part tables, and the help calls planned for each kind of context.
#include "uisupport/helpvocab.h"

#include <gtest/gtest.h>

#include <string>

namespace uis {
namespace {

TEST(StdHints, PartsSplitAtTheBar) {
    TStdHints hints;
    EXPECT_EQ(hints.Text(1), "Click to close the window");
    EXPECT_EQ(hints.Text(43), "Displays the list of all open windows");
    EXPECT_EQ(hints.Text(0), "");
    EXPECT_EQ(hints.Text(44), "");
    EXPECT_EQ(hints.Part(15, false), "Enlarges the window to full size");
    EXPECT_EQ(hints.Part(15, true), "This command is not available because the window is zoomed to it maximum size");
    EXPECT_EQ(hints.Part(20, true), "Closes the window");  // no bar: the whole text either way
    EXPECT_EQ(hints.Part(29, false), "Context Sensitive Help");
    for (int n = 1; n <= kStdHintCount; ++n) EXPECT_FALSE(hints.Text(n).empty()) << n;
}

TEST(StdCaptions, FirstAmpersandIgnoredCaseKept) {
    const TStdCaptions captions;
    struct Case {
        const char* caption;
        TStdButton want;
    };
    const Case cases[] = {
        {"OK", TStdButton::OK},          {"&OK", TStdButton::OK},      {"O&K", TStdButton::OK},
        {"Ok", TStdButton::None},        {"ok", TStdButton::None},     {"&&OK", TStdButton::None},
        {"&Cancel", TStdButton::Cancel}, {"Help", TStdButton::Help},   {"&Apply", TStdButton::Apply},
        {"Apply ", TStdButton::None},    {"", TStdButton::None},
    };
    for (const Case& c : cases) EXPECT_EQ(StdButtonOf(c.caption, captions), c.want) << c.caption;
    EXPECT_TRUE(SameStdCaption("What's This?", captions.WhatIsThisCmd()));
    // A menu entry with a short-cut text after a tab does not count.
    EXPECT_FALSE(SameStdCaption(MenuTextForCompare("&What's This?\tShift+F1"), captions.WhatIsThisCmd()));
    EXPECT_TRUE(SameStdCaption(MenuTextForCompare("&What's This?"), captions.WhatIsThisCmd()));
    EXPECT_EQ(StdButtonTopic(TStdButton::OK), 36);
    EXPECT_EQ(StdButtonTopic(TStdButton::Apply), 33);
    EXPECT_EQ(StdButtonHint(TStdButton::Cancel), 37);
}

TEST(StdHelpTopics, ContextArithmetic) {
    TStdHelpTopics topics;
    EXPECT_EQ(topics.ContextOf(36), 100036);
    EXPECT_EQ(topics.ContextOf(0), 100001);
    EXPECT_EQ(topics.ContextOf(1), 100001);
    topics.SetOffset(5000);
    topics.SetInterval(10);
    EXPECT_EQ(topics.ContextOf(42), 5420);
}

TEST(StdHelpTopics, FileResolution) {
    struct Case {
        const char* helpFile;
        const char* app;
        const char* want;
    };
    const Case cases[] = {
        {"", "X:\\dir\\MXZP.HLP>main", "X:\\dir\\TovkStd.hlp>main"},
        {"", "X:\\dir\\MXZP.HLP", "X:\\dir\\TovkStd.hlp"},
        {"App", "X:\\dir\\MXZP.HLP>main", "X:\\dir\\MXZP.HLP>main"},
        {"..\\help\\std.hlp", "X:\\dir\\MXZP.HLP>main", "C:\\prog\\..\\help\\std.hlp"},
        {"D:\\other\\std.hlp", "X:\\dir\\MXZP.HLP>main", "D:\\other\\std.hlp>main"},
        {"std.hlp", "X:\\dir\\MXZP.HLP>main", "X:\\dir\\std.hlp>main"},
        {"sub\\std.hlp", "X:\\dir\\MXZP.HLP", "X:\\dir\\sub\\std.hlp"},
        {"", "MXZP.HLP", "TovkStd.hlp"},
        {"", "", "TovkStd.hlp"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveStdTopicsFile(c.helpFile, c.app, "C:\\prog\\"), c.want) << c.helpFile << " / " << c.app;
}

TEST(StdHelpTopics, FollowsTheApplicationHelpFileAtEachResolve) {
    static std::string app = "X:\\dir\\MXZP.HLP>main";
    TStdHelpTopics::SetEnvironment([](std::string& appFile, std::string& folder) {
        appFile = app;
        folder = "C:\\prog\\";
    });
    TStdHelpTopics topics;
    topics.SetHelpFile("");
    EXPECT_EQ(topics.ResolvedFile(), "X:\\dir\\TovkStd.hlp>main");
    app = "Y:\\new\\A.HLP";
    EXPECT_EQ(topics.Resolve(), "Y:\\new\\TovkStd.hlp");
    TStdHelpTopics::SetEnvironment(nullptr);
}

TEST(HelpWindowSuffix, AddedOnlyWhenTheFileNamesNone) {
    EXPECT_EQ(WithHelpWindow("a.hlp", "main"), "a.hlp>main");
    EXPECT_EQ(WithHelpWindow("a.hlp>proc", "main"), "a.hlp>proc");
    EXPECT_EQ(WithHelpWindow("a.hlp", ""), "a.hlp");
}

TEST(Commands, TopicsAndHints) {
    struct Case {
        unsigned command;
        bool enabled;
        int topic;
        int hint;
    };
    const Case cases[] = {
        {cmd::SysSize, true, 5, 18},      {cmd::SysSize, false, 6, 18},     {cmd::SysMove, true, 3, 16},
        {cmd::SysMove, false, 4, 16},     {cmd::SysMinimize, true, 26, 19}, {cmd::SysMinimize, false, 8, 19},
        {cmd::SysMaximize, true, 25, 15}, {cmd::SysMaximize, false, 7, 15}, {cmd::SysRestore, true, 27, 17},
        {cmd::SysRestore, false, 9, 17},  {cmd::SysClose, true, 24, 20},    {cmd::SysClose, false, 0, 20},
        {cmd::SysNextWindow, true, 2, 21}, {cmd::SysNextWindow, false, 0, 21}, {cmd::SysVScroll, true, 41, 0},
        {cmd::SysContextHelp, true, 28, 0}, {cmd::EditUndo, true, 20, 23},  {cmd::EditUndo, false, 21, 23},
        {cmd::EditCut, true, 12, 24},     {cmd::EditCopy, false, 11, 25},   {cmd::EditPaste, true, 16, 26},
        {cmd::EditDelete, false, 15, 27}, {cmd::EditSelectAll, true, 18, 28}, {cmd::EditSelectAllAlt, false, 19, 28},
        {12345, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + (c.enabled ? " enabled" : " disabled"));
        EXPECT_EQ(CommandTopic(c.command, c.enabled), c.topic);
        EXPECT_EQ(CommandHint(c.command), c.hint);
    }
    EXPECT_EQ(SystemStdTopicContext(0), 28441);
    EXPECT_EQ(SystemStdTopicContext(36), 28443);
    EXPECT_EQ(SystemStdTopicContext(35), 28445);
    EXPECT_EQ(SystemStdTopicContext(34), 28444);
    EXPECT_EQ(SystemStdTopicContext(33), 28447);
    EXPECT_EQ(SystemStdTopicContext(37), 0);
}

TEST(WindowParts, HintsAndTopics) {
    struct Case {
        int hitTest;
        bool sizeable, minimized, maximized;
        int hint, topic;
        bool rightOnly;
    };
    const Case cases[] = {
        {ht::Caption, true, false, false, 6, 42, false},   {ht::Caption, true, false, true, 7, 42, false},
        {ht::Caption, true, true, false, 8, 42, false},    {ht::Caption, false, false, false, 9, 42, false},
        {ht::SysMenu, true, false, false, 3, 39, true},    {ht::HScroll, true, false, false, 10, 41, false},
        {ht::VScroll, true, false, false, 11, 41, false},  {ht::MinButton, true, false, false, 4, 26, false},
        {ht::MinButton, true, true, false, 2, 27, false},  {ht::MaxButton, true, false, false, 5, 25, false},
        {ht::MaxButton, true, false, true, 2, 27, false},  {ht::Left, true, false, false, 13, 40, false},
        {ht::Bottom, true, false, false, 13, 40, false},   {ht::TopLeft, true, false, false, 14, 38, false},
        {ht::BottomRight, true, false, false, 14, 38, false}, {ht::Close, true, false, false, 1, 24, false},
        {ht::Help, true, false, false, 12, 28, false},     {ht::Client, true, false, false, 0, 0, false},
        {ht::Border, true, false, false, 0, 0, false},     {ht::Menu, true, false, false, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("hit test " + std::to_string(c.hitTest));
        const TWindowPartHelp part = WindowPartHelp(c.hitTest, c.sizeable, c.minimized, c.maximized);
        EXPECT_EQ(part.hint, c.hint);
        EXPECT_EQ(part.topic, c.topic);
        EXPECT_EQ(part.rightButtonOnly, c.rightOnly);
    }
}

TEST(HelpCalls, PlannedByKindAndFlags) {
    using F = TControlFlag;
    const TControlFlags defaults = TControlFlags::FromBits(kDefaultControlFlags);
    EXPECT_TRUE(defaults.Contains(F::cfAutoHelpButton));
    EXPECT_FALSE(defaults.Contains(F::cfBeepIfNoHelp));
    EXPECT_FALSE(defaults.Contains(F::cfDlgCheckHelpButton));
    EXPECT_FALSE(defaults.Contains(F::cfNonStopHelp));
    EXPECT_FALSE(defaults.Contains(F::cfUseSystemStdTopics));
    EXPECT_TRUE(defaults.Contains(F::cfUseHelpFinderCmd));

    THelpRequest base;
    base.appHelpFile = "C:\\app\\APP.HLP";
    base.stdTopicsFile = "C:\\app\\TovkStd.hlp";
    base.windowName = "main";
    struct Case {
        const char* name;
        TContextKind kind;
        int context;
        uint32_t flags;
        const char* formFile;
        const char* file;  // "" when nothing is shown
        unsigned command;
        uintptr_t data;
    };
    const uint32_t noPopup = kDefaultControlFlags & ~(1u << 11) & ~(1u << 14);
    const uint32_t noSign = kDefaultControlFlags & ~4u;  // without cfCheckHCSign
    const Case cases[] = {
        {"std OK popup", TContextKind::StdTopic, 36, kDefaultControlFlags, "", "C:\\app\\TovkStd.hlp>main", 8, 100036},
        {"no context", TContextKind::None, 0, kDefaultControlFlags, "", "C:\\app\\TovkStd.hlp>main", 8, 100001},
        {"std in window", TContextKind::StdTopic, 42, noPopup, "", "C:\\app\\TovkStd.hlp>main", 1, 100042},
        {"system topics", TContextKind::StdTopic, 36, kDefaultControlFlags | (1u << 16), "", "Windows.hlp>main", 8, 28443},
        {"system, other", TContextKind::StdTopic, 42, kDefaultControlFlags | (1u << 16), "", "C:\\app\\TovkStd.hlp>main", 8, 100042},
        {"real popup", TContextKind::Real, 100128, kDefaultControlFlags, "", "C:\\app\\APP.HLP>main", 8, 100128},
        {"real window", TContextKind::Real, 500, noPopup, "", "C:\\app\\APP.HLP>main", 1, 500},
        {"form file", TContextKind::Real, 500, kDefaultControlFlags, "C:\\f.hlp>w", "C:\\f.hlp>w", 8, 500},
        {"unknown menu", TContextKind::UnknownMenu, 77, kDefaultControlFlags, "C:\\f.hlp", "C:\\app\\APP.HLP>main", 8, 77},
        {"sign flips", TContextKind::Real, -500, kDefaultControlFlags, "", "C:\\app\\APP.HLP>main", 1, 500},
        {"sign kept", TContextKind::Real, -500, noSign, "", "C:\\app\\APP.HLP>main", 8, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        THelpRequest r = base;
        r.kind = c.kind;
        r.context = c.context;
        r.flags = TControlFlags::FromBits(c.flags);
        r.formHelpFile = c.formFile;
        const auto call = PlanHelpCall(r);
        ASSERT_TRUE(call.has_value());
        EXPECT_EQ(call->file, c.file);
        EXPECT_EQ(call->command, c.command);
        EXPECT_EQ(call->data, c.data);
    }
    THelpRequest none = base;
    none.kind = TContextKind::Real;
    none.context = 5;
    none.appHelpFile.clear();
    EXPECT_FALSE(PlanHelpCall(none).has_value()) << "no help file: nothing shown";

    const auto finder = PlanContentsCall("C:\\app\\APP.HLP", "main", defaults);
    ASSERT_TRUE(finder.has_value());
    EXPECT_EQ(finder->file, "C:\\app\\APP.HLP>main");
    EXPECT_EQ(finder->command, 11u);
    const auto contents = PlanContentsCall("C:\\app\\APP.HLP", "", TControlFlags());
    ASSERT_TRUE(contents.has_value());
    EXPECT_EQ(contents->command, 3u);
    EXPECT_FALSE(PlanContentsCall("", "main", defaults).has_value());
}

}  // namespace
}  // namespace uis
