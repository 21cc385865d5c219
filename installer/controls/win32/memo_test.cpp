// The memo on a shown form under Wine: the vertical bar of skAuto appears exactly when the rows exceed
// the view, the bar's arrow scrolls the rows, keys move the cursor by rows and pages, a click lands on
// the character under it, and the painted rows are the text's.
#include <gtest/gtest.h>

#include <string>

#include "installer/controls/win32/kvxmemo.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace inst::win32 {
namespace {

using kvx::win32::test::Pump;
using kvx::win32::test::WindowPixel;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new kvx::win32::test::TSuiteEnvironment);

std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (i ? "\r\n" : "") + std::string("Line ") + std::to_string(i);
    return text;
}

class Memo : public kvx::win32::test::TControlsTest {
protected:
    void SetUp() override {
        memo = fw::Make<TKVXMemo>(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 240, 130);
        memo->SetScrollBars(TKVXMemoScrollBars::skAuto);
        Show();
    }
    void Show() {
        Pump();
        memo->Repaint();
        Pump();
    }
    int RowsFitting() { return memo->TextRect().Height() / memo->RowHeight(); }
    void Key(uint16_t vk) {
        SendMessageA(memo->Handle(), WM_KEYDOWN, vk, 0);
        SendMessageA(memo->Handle(), WM_KEYUP, vk, 0xC0000000);
    }
    TKVXMemo* memo = nullptr;
};

TEST_F(Memo, VerticalBarShownExactlyWhenRowsExceedTheView) {
    ASSERT_NE(memo->VertBar(), nullptr);
    ASSERT_NE(memo->HorzBar(), nullptr);
    EXPECT_FALSE(memo->HorzBar()->Visible()) << "wrapping: no horizontal scrolling";
    const int fit = RowsFitting();
    ASSERT_GE(fit, 3);
    memo->SetText(Lines(fit));
    Show();
    EXPECT_FALSE(memo->VertBar()->Visible()) << fit << " rows fit";
    EXPECT_EQ(memo->RowCount(), fit - 1);
    memo->SetText(Lines(fit + 1));
    Show();
    EXPECT_TRUE(memo->VertBar()->Visible()) << fit + 1 << " rows do not";
    EXPECT_EQ(memo->TextRect().Right, memo->VertBar()->Left()) << "the text makes room for the bar";
    memo->SetText("short");
    Show();
    EXPECT_FALSE(memo->VertBar()->Visible());
    EXPECT_EQ(memo->RowCount(), 0);
    // One paragraph that wraps into more rows than the view holds.
    std::string paragraph;
    for (int i = 0; i < 200; ++i) paragraph += "word ";
    memo->SetText(paragraph);
    Show();
    EXPECT_GT(memo->RowCount(), fit);
    EXPECT_TRUE(memo->VertBar()->Visible());
}

TEST_F(Memo, BarArrowScrollsRowsAndKeysMoveByRows) {
    memo->SetText(Lines(30));
    Show();
    ASSERT_TRUE(memo->VertBar()->Visible());
    // The bar's lower arrow: one row down.
    TKVXScrollBar* bar = memo->VertBar();
    const fw::TRect second = bar->SecondButton()->BoundsRect();
    const LPARAM at = MAKELPARAM((second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2);
    SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(bar->Handle(), WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(memo->TopPos(), 9) << "\"Line 0\\r\\n\" is 8 characters";
    EXPECT_EQ(memo->TopRow(), 2);
    EXPECT_EQ(bar->Position(), 2);

    memo->SetFocus();
    memo->SetCursorPos(4);  // "Lin|e 0", scrolls back to the top
    Pump();
    EXPECT_EQ(memo->TopPos(), 1);
    Key(VK_DOWN);
    EXPECT_EQ(memo->CursorPos(), 8 + 4);
    Key(VK_UP);
    EXPECT_EQ(memo->CursorPos(), 4);
    Key(VK_UP);  // the first row of a text at its start: nothing at all
    EXPECT_EQ(memo->CursorPos(), 4);
    Key(VK_NEXT);
    EXPECT_GT(memo->TopPos(), 1);
    EXPECT_GE(memo->CursorPos(), memo->TopPos());
    Key(VK_PRIOR);
    EXPECT_EQ(memo->TopPos(), 1);
    EXPECT_EQ(memo->CursorPos(), 4);
    Key(VK_RETURN);  // inserts CR LF, also with WantReturns off
    EXPECT_EQ(memo->TextBuffer().substr(0, 5), "Lin\r\n");
}

TEST_F(Memo, CtrlEndShowsTheTextEndAtTheBottomAndTabsFollowWantTabs) {
    memo->SetText(Lines(40));
    Show();
    memo->SetFocus();
    Pump();
    // Ctrl held as the keyboard state reports it (the edit reads its modifiers from there).
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(memo->Handle(), WM_KEYDOWN, VK_END, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    SendMessageA(memo->Handle(), WM_KEYUP, VK_CONTROL, 0xC0000000);
    EXPECT_EQ(memo->CursorPos(), static_cast<int>(memo->TextBuffer().size()) + 1) << "the text end";
    const MemoView& view = memo->View();
    EXPECT_TRUE(view.reachedEnd) << "the last row is in the view";
    EXPECT_EQ(view.rowsInView - 2, RowsFitting()) << "and ends it: a full view";
    // The thumb released at a position: the top row is that many rows from the start.
    int position = 5;
    memo->VertBar()->OnScroll(memo->VertBar(), TScrollCode::scPosition, position);
    EXPECT_EQ(memo->TopPos(), 1 + 5 * 8);  // "Line n\r\n" is 8 characters
    EXPECT_EQ(memo->TopRow(), 5);
    const LRESULT without = SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0);
    memo->SetWantTabs(true);
    const LRESULT with = SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(without & DLGC_WANTTAB, 0);
    EXPECT_EQ(with & DLGC_WANTTAB, DLGC_WANTTAB);
    EXPECT_EQ(with & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(Memo, ReturnAtTheLastVisibleRowScrollsByOneRow) {
    memo->SetText(Lines(40));
    Show();
    memo->SetFocus();
    const int fit = RowsFitting();
    const int lastRowEnd = 1 + (fit - 1) * 8 + 6;  // before the CR LF of the view's last row
    memo->SetCursorPos(lastRowEnd);
    Pump();
    ASSERT_EQ(memo->TopPos(), 1);
    Key(VK_RETURN);
    EXPECT_EQ(memo->TopPos(), 9) << "one row on, not a jump";
    EXPECT_EQ(memo->CursorPos(), lastRowEnd + 2);
    EXPECT_EQ(memo->RowCount(), 40);
}

TEST_F(Memo, ClickLandsOnTheCharacterUnderThePoint) {
    memo->SetText("abc def\r\nxyz");
    Show();
    const fw::TRect text = memo->TextRect();
    const int row = memo->RowHeight();
    // Far right of the second row: after its last character, the text end.
    SendMessageA(memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(text.Right - 2, text.Top + row + row / 2));
    SendMessageA(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(text.Right - 2, text.Top + row + row / 2));
    Pump();
    EXPECT_EQ(memo->CursorPos(), 13);
    // The left edge of the first row: position 1.
    SendMessageA(memo->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(text.Left, text.Top + row / 2));
    SendMessageA(memo->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(text.Left, text.Top + row / 2));
    Pump();
    EXPECT_EQ(memo->CursorPos(), 1);
}

TEST_F(Memo, RowsArePaintedAndTheRestIsBackground) {
    memo->SetColor(fw::clWhite);
    memo->Font()->SetColor(fw::clBlack);
    memo->SetText("MMMM\r\n\r\nMMMM");
    Show();
    const fw::TRect text = memo->TextRect();
    const int row = memo->RowHeight();
    auto inkIn = [&](int top) {
        int ink = 0;
        for (int y = top; y < top + row; ++y)
            for (int x = text.Left; x < text.Left + 40; ++x)
                if (WindowPixel(memo->Handle(), x, y) != fw::clWhite) ++ink;
        return ink;
    };
    EXPECT_GT(inkIn(text.Top), 10) << "the first row";
    EXPECT_EQ(inkIn(text.Top + row), 0) << "the empty row";
    EXPECT_GT(inkIn(text.Top + 2 * row), 10) << "the third row";
    EXPECT_EQ(inkIn(text.Top + 3 * row), 0) << "below the text";
    EXPECT_EQ(memo->View().rowsInView, 5);  // three rows, the text end's entry 2 beyond, and one more
}

TEST_F(Memo, SelectionIsHighlightedAcrossRows) {
    memo->SetColor(fw::clWhite);
    memo->SetHideSelection(false);
    memo->SetHighlightBack(fw::clRed);
    memo->SetText("aaaa\r\nbbbb\r\ncccc");
    memo->SetSelStart(3);
    memo->SetSelLength(7);  // "aa\r\nbbb"
    Show();
    const fw::TRect text = memo->TextRect();
    const int row = memo->RowHeight();
    HWND h = memo->Handle();
    int red[3] = {};
    for (int r = 0; r < 3; ++r)
        for (int x = text.Left; x < text.Left + 60; ++x)
            if (WindowPixel(h, x, text.Top + r * row) == fw::clRed) ++red[r];
    EXPECT_GT(red[0], 0) << "the end of the first row";
    EXPECT_GT(red[1], red[0]) << "three characters of the second row";
    EXPECT_EQ(red[2], 0) << "the third row is not selected";
    EXPECT_EQ(WindowPixel(h, text.Left, text.Top), fw::clWhite) << "the first row's start is not";
}

TEST_F(Memo, RuledLinesAndMargin) {
    memo->SetColor(fw::clWhite);
    memo->LineStyle()->SetColor(fw::clRed);
    memo->SetLined(true);
    memo->Margin()->SetWidth(20);
    memo->Margin()->FillObject()->SetStyle(kvx::TKVXFillStyle::sfBrush);
    memo->Margin()->FillObject()->Brush()->SetColor(fw::clYellow);
    memo->SetText("abc\r\ndef");
    Show();
    const fw::TRect text = memo->TextRect();
    const int row = memo->RowHeight();
    HWND h = memo->Handle();
    // The margin strip left of the text with its divider: white, then grey at its right edge.
    EXPECT_EQ(WindowPixel(h, text.Left - 12, text.Top + 10), fw::clYellow);
    EXPECT_EQ(WindowPixel(h, text.Left - 4, text.Top + 10), fw::clWhite);
    EXPECT_EQ(WindowPixel(h, text.Left - 3, text.Top + 10), static_cast<fw::TColor>(0x808080));
    // A rule under every row, also below the text, and none inside a row.
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(WindowPixel(h, text.Right - 10, text.Top + k * row - 1), fw::clRed) << k;
    EXPECT_EQ(WindowPixel(h, text.Right - 10, text.Top + row / 2), fw::clWhite);
}

TEST_F(Memo, WithoutWrappingTheViewScrollsSideways) {
    memo->SetWordWrap(false);
    Show();
    ASSERT_TRUE(memo->HorzBar()->Visible());
    EXPECT_TRUE(memo->HorzBar()->Enabled());
    memo->SetText(std::string(120, 'x') + "\r\nshort");
    Show();
    EXPECT_EQ(memo->RowCount(), 1) << "one line break, no wrapping";
    EXPECT_GT(memo->HorzMax(), 0) << "the long line is wider than the text";
    EXPECT_EQ(memo->HorzBar()->Max(), memo->HorzMax());
    memo->SetFocus();
    memo->SetCursorPos(121);  // the long line's end
    Pump();
    EXPECT_GT(memo->HorzPos(), 0) << "the caret scrolled the view";
    EXPECT_EQ(memo->HorzBar()->Position(), memo->HorzPos());
    memo->SetCursorPos(1);
    Pump();
    EXPECT_EQ(memo->HorzPos(), 0);
    // Centred rows wrap again and the horizontal bar goes.
    memo->SetAlignment(TMemoAlignment::taCenter);
    Show();
    EXPECT_FALSE(memo->HorzBar()->Visible());
    EXPECT_FALSE(memo->HorzBar()->Enabled());
}

TEST_F(Memo, LinesAdapter) {
    fw::TStringList list;
    list.Add("first");
    list.Add("second");
    memo->SetLines(&list);
    EXPECT_EQ(memo->TextBuffer(), "first\r\nsecond\r\n");
    EXPECT_EQ(memo->RowCount(), 2);
    EXPECT_EQ(memo->CursorPos(), 1);
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Get(1), "second");
    memo->SetModified(true);
    const std::string file = kvx::win32::test::NewCaseDir().win + "\\lines.txt";
    static_cast<TKVXMemoStrings*>(memo->Lines())->SaveToFile(file);
    EXPECT_FALSE(memo->Modified());
    memo->SetText("other");
    static_cast<TKVXMemoStrings*>(memo->Lines())->LoadFromFile(file);
    EXPECT_EQ(memo->TextBuffer(), "first\r\nsecond\r\n");
}

}  // namespace
}  // namespace inst::win32
