#include "widgets/editmodel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/kvxapplication.h"

namespace kvx {
namespace {

// Edit mode and clipboard of their own, and a log of the hooks called.
struct Hooks : TKVXEditHooks {
    uint8_t mode = kEditInsert;
    std::string clipboard;
    std::vector<std::string> log;
    std::string deleted;
    void FilterInsert(std::string& text) override { log.push_back("filter:" + text); }
    void BeforeInsert() override { log.push_back("before"); }
    void TextDeleted(const std::string& text) override { deleted += text; }
    void TextChangedAt(int32_t pos) override { log.push_back("changed:" + std::to_string(pos)); }
    void TextSet() override { log.push_back("set"); }
    uint8_t EditMode() override { return mode; }
    void SetEditMode(uint8_t value) override { mode = value; }
    std::string ClipboardText() override { return clipboard; }
    void SetClipboardText(const std::string& text) override { clipboard = text; }
    // Characters above 0x7F the fake OEM page lacks become '?'.
    std::string OemRoundTrip(const std::string& text) override {
        std::string out = text;
        for (char& c : out)
            if (static_cast<unsigned char>(c) > 0x7F) c = '?';
        return out;
    }
};

class EditModel : public ::testing::Test {
protected:
    Hooks hooks;
    TKVXEditModel model{&hooks};
    void Start(const std::string& text, int32_t cursor, int32_t selStart = 0, int32_t selLength = 0) {
        model.SetText(text);
        model.SetCursorPos(cursor);
        if (selStart) {
            model.SetSelStart(selStart);
            model.SetSelLength(selLength);
        }
    }
    void Key(uint16_t key, uint8_t modifiers = 0) {
        hooks.mode = static_cast<uint8_t>((hooks.mode & kEditInsert) | modifiers);
        model.EditKeyDown(key);
        hooks.mode &= kEditInsert;
    }
};

// The key table: start text and cursor (and selection), one key with modifiers, then the text, the
// cursor and the selection.
struct KeyCase {
    const char* name;
    std::string text;
    int32_t cursor, selStart, selLength;
    uint16_t key;
    uint8_t modifiers;
    bool overwrite;
    std::string wantText;
    int32_t wantCursor, wantSelStart, wantSelLength;
};

TEST_F(EditModel, KeysFollowTheTable) {
    const KeyCase cases[] = {
        {"back at 1 does nothing", "abc", 1, 0, 0, 8, 0, false, "abc", 1, 1, 0},
        {"back deletes the character before", "abc", 3, 0, 0, 8, 0, false, "ac", 2, 2, 0},
        {"back after CR LF deletes the pair", "a\r\nb", 4, 0, 0, 8, 0, false, "ab", 2, 2, 0},
        {"back after a bare LF deletes it alone", "a\nb", 3, 0, 0, 8, 0, false, "ab", 2, 2, 0},
        {"back on a text starting with LF", "\nb", 2, 0, 0, 8, 0, false, "b", 1, 1, 0},
        {"back deletes the selection", "abcd", 4, 2, 2, 8, 0, false, "ad", 2, 2, 0},
        {"delete at the end does nothing", "abc", 4, 0, 0, 46, 0, false, "abc", 4, 4, 0},
        {"delete on CR takes the pair", "a\r\nb", 2, 0, 0, 46, 0, false, "ab", 2, 2, 0},
        {"delete on a bare LF keeps the character before", "a\nb", 2, 0, 0, 46, 0, false, "ab", 2, 2, 0},
        {"left over CR LF", "a\r\nb", 4, 0, 0, 37, 0, false, "a\r\nb", 2, 2, 0},
        {"left over a bare LF", "a\nb", 3, 0, 0, 37, 0, false, "a\nb", 2, 2, 0},
        {"right over CR LF", "a\r\nb", 2, 0, 0, 39, 0, false, "a\r\nb", 4, 4, 0},
        {"right at the end does nothing", "ab", 3, 0, 0, 39, 0, false, "ab", 3, 3, 0},
        {"shift right selects", "abcde", 3, 0, 0, 39, kEditShift, false, "abcde", 4, 3, 1},
        {"ctrl right stops before the space", "aa bb", 1, 0, 0, 39, kEditCtrl, false, "aa bb", 3, 3, 0},
        {"ctrl right from the space to the end", "aa bb", 3, 0, 0, 39, kEditCtrl, false, "aa bb", 6, 6, 0},
        {"ctrl left from the end", "aa bb", 6, 0, 0, 37, kEditCtrl, false, "aa bb", 3, 3, 0},
        {"ctrl left from the space", "aa bb", 3, 0, 0, 37, kEditCtrl, false, "aa bb", 1, 1, 0},
        {"home goes to the line start", "ab\r\ncd", 6, 0, 0, 36, 0, false, "ab\r\ncd", 5, 5, 0},
        {"ctrl home goes to 1", "ab\r\ncd", 6, 0, 0, 36, kEditCtrl, false, "ab\r\ncd", 1, 1, 0},
        {"end stops before CR", "ab\r\ncd", 1, 0, 0, 35, 0, false, "ab\r\ncd", 3, 3, 0},
        {"shift end selects to the line end", "ab\r\ncd", 1, 0, 0, 35, kEditShift, false, "ab\r\ncd", 3, 1, 2},
        {"escape drops the selection", "abcd", 4, 2, 2, 27, 0, false, "abcd", 4, 2, 0},
        {"ctrl A selects all", "abcd", 2, 0, 0, 'A', kEditCtrl, false, "abcd", 2, 1, 4},
        {"A without ctrl is left alone", "abcd", 2, 0, 0, 'A', 0, false, "abcd", 2, 2, 0},
        {"overwrite back deletes like insert", "abc", 3, 0, 0, 8, 0, true, "ac", 2, 2, 0},
    };
    for (const KeyCase& c : cases) {
        hooks.mode = c.overwrite ? 0 : kEditInsert;
        model.SetText("");
        Start(c.text, c.cursor, c.selStart, c.selLength);
        Key(c.key, c.modifiers);
        EXPECT_EQ(model.Text(), c.wantText) << c.name;
        EXPECT_EQ(model.CursorPos(), c.wantCursor) << c.name;
        EXPECT_EQ(model.SelStart(), c.wantSelStart) << c.name;
        EXPECT_EQ(model.SelLength(), c.wantSelLength) << c.name;
    }
}

TEST_F(EditModel, ShiftRightThenShiftLeftSelectsNothingAgain) {
    Start("abcde", 3);
    Key(39, kEditShift);
    EXPECT_EQ(model.SelStart(), 3);
    EXPECT_EQ(model.SelLength(), 1);
    Key(37, kEditShift);
    EXPECT_EQ(model.SelStart(), 3);
    EXPECT_EQ(model.SelLength(), 0);
    // Growing to the left from a selection made to the right gives it back first.
    Key(39, kEditShift);
    Key(39, kEditShift);
    Key(37, kEditShift);
    EXPECT_EQ(model.SelStart(), 3);
    EXPECT_EQ(model.SelLength(), 1);
}

TEST_F(EditModel, TypingWithShiftDoesNotSelect) {
    Start("ab", 3);
    hooks.mode = kEditInsert | kEditShift;
    model.TypeChar('C');
    model.TypeChar('D');
    EXPECT_EQ(model.Text(), "abCD");
    EXPECT_EQ(model.CursorPos(), 5);
    EXPECT_EQ(model.SelLength(), 0);
    model.TypeChar('\t');  // control characters are not typed
    EXPECT_EQ(model.Text(), "abCD");
}

TEST_F(EditModel, OverwriteReplacesWholePairsAndAppendsAtTheEnd) {
    hooks.mode = 0;
    Start("a\r\nb", 2);
    model.TypeChar('x');
    EXPECT_EQ(model.Text(), "axb");
    model.SetCursorPos(4);
    model.TypeChar('y');
    EXPECT_EQ(model.Text(), "axby");
    // A bare CR is one character.
    Start("a\rb", 2);
    model.TypeChar('z');
    EXPECT_EQ(model.Text(), "azb");
}

TEST_F(EditModel, InsertionNeverGoesBetweenCrAndLf) {
    Start("a\r\nb", 1);
    model.SetSelStart(3);  // between CR and LF
    model.InsertText("x");
    EXPECT_EQ(model.Text(), "ax\r\nb");
    EXPECT_EQ(model.CursorPos(), 3);
    // A text that starts with LF: the position stays 1.
    Start("\nb", 1);
    model.InsertText("x");
    EXPECT_EQ(model.Text(), "x\nb");
}

TEST_F(EditModel, DeletionWidensOverPairsOnly) {
    const struct {
        const char* name;
        std::string text;
        int32_t start, length;
        std::string want;
    } cases[] = {
        {"ends on CR", "ab\r\ncd", 2, 2, "acd"},
        {"starts on LF", "ab\r\ncd", 4, 2, "abd"},
        {"both ends", "a\r\nb\r\nc", 3, 3, "ac"},
        {"bare CR at the end", "ab\r", 3, 1, "ab"},
        {"bare LF first", "\nab", 1, 2, "b"},
        {"bare LF after a letter", "a\nb", 2, 1, "ab"},
    };
    for (const auto& c : cases) {
        Start(c.text, 1, c.start, c.length);
        model.ClearSelection();
        EXPECT_EQ(model.Text(), c.want) << c.name;
    }
}

TEST_F(EditModel, MaxLengthRefusesOnlyAFullText) {
    model.SetMaxLength(5);
    Start("abc", 4);
    hooks.clipboard = "0123456789";
    model.PasteFromClipboard();
    EXPECT_EQ(model.Text(), "abc0123456789");
    Start("abcde", 3);
    model.TypeChar('x');
    EXPECT_EQ(model.Text(), "abcde");
    EXPECT_EQ(model.CursorPos(), 3);
    // Text is cut, never between CR and LF.
    model.SetText("abcdefg");
    EXPECT_EQ(model.Text(), "abcde");
    model.SetText("abcd\r\nx");
    EXPECT_EQ(model.Text(), "abcd");
}

TEST_F(EditModel, CharCaseMapsOnlyAsciiLetters) {
    model.SetCharCase(TEditCharCase::ecUpperCase);
    for (char c : std::string("az\xe9!")) model.TypeChar(c);
    EXPECT_EQ(model.Text(), "AZ\xe9!");
    model.SetText("");
    model.SetCharCase(TEditCharCase::ecLowerCase);
    for (char c : std::string("AZ\xc9")) model.TypeChar(c);
    EXPECT_EQ(model.Text(), "az\xc9");
}

TEST_F(EditModel, OemConversionGoesThroughTheCodePage) {
    model.SetOEMConvert(true);
    model.InsertText("a\xa9");
    EXPECT_EQ(model.Text(), "a?");
    // The filter sees the converted string.
    EXPECT_EQ(hooks.log.front(), "filter:a?");
    model.SetOEMConvert(false);
    model.InsertText("\xa9");
    EXPECT_EQ(model.Text(), "a?\xa9");
}

TEST_F(EditModel, InsertCallsTheHooksInOrder) {
    Start("ab\r\ncd", 5, 2, 2);
    hooks.log.clear();
    model.InsertText("X");
    EXPECT_EQ(hooks.log, (std::vector<std::string>{"filter:X", "before", "changed:2"}));
    EXPECT_EQ(hooks.deleted, "b\r\n");
    EXPECT_EQ(model.Text(), "aXcd");
    EXPECT_TRUE(model.Modified());
}

TEST_F(EditModel, UndoRestoresOnceAndReadOnlyRefuses) {
    Start("abc", 4);
    model.TypeChar('d');
    model.Undo();
    EXPECT_EQ(model.Text(), "abc");
    EXPECT_EQ(model.CursorPos(), 1);
    model.Undo();
    EXPECT_EQ(model.Text(), "abc");
    model.SetReadOnly(true);
    model.TypeChar('x');
    uint16_t back = 8;
    model.EditKeyDown(back);
    EXPECT_EQ(model.Text(), "abc");
}

TEST_F(EditModel, SettingTheSameTextChangesNothing) {
    Start("abc", 3);
    hooks.log.clear();
    model.SetText("abc");
    EXPECT_EQ(model.CursorPos(), 3);
    EXPECT_TRUE(hooks.log.empty());
    model.SetText("abd");
    EXPECT_EQ(model.CursorPos(), 1);
    EXPECT_EQ(hooks.log, std::vector<std::string>{"set"});
}

TEST_F(EditModel, SelectWordTable) {
    const struct {
        const char* name;
        std::string text;
        int32_t cursor, wantStart, wantLength;
    } cases[] = {
        {"second word", "aa bb", 5, 4, 2},
        {"first word", "aa bb", 2, 1, 2},
        {"on the delimiter", "aa bb", 3, 3, 0},
        {"at the end", "aa bb", 6, 4, 2},
        {"leading delimiter", " ab", 1, 1, 0},
    };
    for (const auto& c : cases) {
        Start(c.text, c.cursor);
        model.SelectWord();
        EXPECT_EQ(model.SelStart(), c.wantStart) << c.name;
        EXPECT_EQ(model.SelLength(), c.wantLength) << c.name;
    }
}

TEST_F(EditModel, SelectionSettersStayInsideTheText) {
    Start("abcd", 1);
    model.SetSelStart(9);
    EXPECT_EQ(model.SelStart(), 5);
    model.SetSelStart(-3);
    EXPECT_EQ(model.SelStart(), 1);
    model.SetSelLength(-1);
    EXPECT_EQ(model.SelLength(), 0);
    model.SetSelStart(3);
    model.SetSelLength(100);
    EXPECT_EQ(model.SelLength(), 2);
    EXPECT_EQ(model.GetSelText(), "cd");
    char buffer[2];
    EXPECT_EQ(model.GetSelTextBuf(buffer, 2), 1);
    EXPECT_STREQ(buffer, "c");
}

TEST_F(EditModel, ClipboardCommands) {
    Start("hello world", 1, 7, 5);
    Key('C', kEditCtrl);
    EXPECT_EQ(hooks.clipboard, "world");
    Key('X', kEditCtrl);
    EXPECT_EQ(model.Text(), "hello ");
    hooks.clipboard = "big\nworld";
    Key('V', kEditCtrl);
    EXPECT_EQ(model.Text(), "hello big\r\nworld");
    // Shift+Insert pastes, Ctrl+Insert copies, Shift+Delete cuts.
    Start("abc", 1, 1, 1);
    Key(45, kEditCtrl);
    EXPECT_EQ(hooks.clipboard, "a");
    model.SetCursorPos(4);
    Key(45, kEditShift);
    EXPECT_EQ(model.Text(), "abca");
    Start("abc", 1, 2, 2);
    Key(46, kEditShift);
    EXPECT_EQ(model.Text(), "a");
    EXPECT_EQ(hooks.clipboard, "bc");
    // A secret text is neither copied nor cut.
    model.SetSecret(true);
    Start("secret", 1, 1, 6);
    Key('C', kEditCtrl);
    Key('X', kEditCtrl);
    EXPECT_EQ(hooks.clipboard, "bc");
    EXPECT_EQ(model.Text(), "secret");
}

TEST_F(EditModel, InsertKeyTogglesInsertMode) {
    Key(45);
    EXPECT_EQ(hooks.mode & kEditInsert, 0);
    Key(45, kEditAlt);
    EXPECT_EQ(hooks.mode & kEditInsert, 0);
    Key(45);
    EXPECT_EQ(hooks.mode & kEditInsert, kEditInsert);
}

TEST_F(EditModel, DragMoveTable) {
    const struct {
        const char* name;
        std::string text;
        int32_t selStart, selLength, press, drop;
        std::string want;
        int32_t wantCursor;
    } cases[] = {
        {"drop on itself collapses", "abcdef", 2, 3, 3, 4, "abcdef", 4},
        {"drop after the end", "abcdef", 2, 2, 3, 6, "adebcf", 4},
        {"drop before the start", "abcdef", 4, 2, 5, 2, "adebcf", 2},
        {"a selection ending on CR moves the whole pair", "ab\r\ncd", 2, 2, 3, 6, "acb\r\nd", 3},
        {"a selection starting on LF moves the whole pair", "ab\r\ncd", 4, 2, 5, 1, "\r\ncabd", 1},
        {"a drop between CR and LF goes before the CR", "abxy\r\nc", 1, 2, 2, 6, "xyab\r\nc", 3},
    };
    for (const auto& c : cases) {
        Start(c.text, 1, c.selStart, c.selLength);
        // The press inside the selection starts the drag; moves do not extend while it lasts.
        ASSERT_TRUE(model.MouseSelect(c.press)) << c.name;
        model.MouseMoveTo(c.drop);
        model.EndDragMove();
        EXPECT_FALSE(model.DragMoving()) << c.name;
        EXPECT_EQ(model.Text(), c.want) << c.name;
        EXPECT_EQ(model.CursorPos(), c.wantCursor) << c.name;
        EXPECT_EQ(model.SelLength(), 0) << c.name;
    }
}

TEST_F(EditModel, DragMoveInOverwriteModeInserts) {
    hooks.mode = 0;
    Start("abcdef", 1, 1, 2);
    ASSERT_TRUE(model.MouseSelect(2));
    model.MouseMoveTo(5);
    model.EndDragMove();
    EXPECT_EQ(model.Text(), "cdabef");
}

TEST_F(EditModel, MouseMovesExtendTheSelection) {
    Start("abcdef", 1);
    model.MouseSelect(2);
    model.MouseMoveTo(5);
    EXPECT_EQ(model.SelStart(), 2);
    EXPECT_EQ(model.SelLength(), 3);
    // The timer keeps extending while there is a selection.
    model.MouseTimer(7);
    EXPECT_EQ(model.SelLength(), 5);
    // A plain press elsewhere collapses it.
    EXPECT_FALSE(model.MouseSelect(1));
    EXPECT_EQ(model.SelLength(), 0);
}

}  // namespace
}  // namespace kvx
