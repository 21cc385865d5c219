// The group box and the dock button on a real form under Wine: the caption's gap in the frame, the
// caption font that follows the parent, the children kept out of the caption's strip, the accelerator;
// the dock button following a real edit through its window's messages, and create/destroy cycles.
#include <gtest/gtest.h>

#include "framework/win32/std_edit.h"
#include "widgets/groupcaption.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/dockbutton.h"
#include "widgets/win32/groupbox.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/scrollbox.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/dibcanvas.h"

namespace kvx::win32 {
namespace {

using test::Pump;
using test::WindowPixel;

class KVXGroupBoxes : public test::TControlsTest {};

TEST_F(KVXGroupBoxes, CaptionWipesTheFrameOnlyWhereItStands) {
    auto* box = fw::Make<TKVXGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 185, 105);
    EXPECT_EQ(box->Width(), 185);
    box->SetCaption("Dates");
    Pump();
    box->Repaint();
    const int h = box->CaptionExtent() / 2 - 1;
    const fw::TColor shadow = fw::ColorToRGB(fw::clBtnShadow);
    const fw::TColor face = fw::ColorToRGB(fw::clBtnFace);
    // The frame's shadow line runs along row h, and stops two pixels before the caption at offset 8.
    EXPECT_EQ(WindowPixel(box->Handle(), 3, h), shadow);
    EXPECT_EQ(WindowPixel(box->Handle(), 7, h), face);
    EXPECT_EQ(WindowPixel(box->Handle(), 100, box->Height() - 2), shadow) << "the bottom side is whole";
    // A caption of blanks draws the whole frame at the box's edge.
    box->SetCaption("   ");
    Pump();
    box->Repaint();
    EXPECT_EQ(WindowPixel(box->Handle(), 7, 0), shadow);
    EXPECT_EQ(WindowPixel(box->Handle(), 20, 0), shadow);
    EXPECT_EQ(WindowPixel(box->Handle(), 20, h), face);
}

TEST_F(KVXGroupBoxes, ChildrenStayOutOfTheCaptionStrip) {
    auto* box = fw::Make<TKVXGroupBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 200, 120);
    auto* child = fw::Make<fw::TEdit>(form);
    child->SetParent(box);
    child->SetAlign(fw::alClient);
    const int x = box->CaptionExtent();
    const int frame = 2;  // the inset frame's width
    EXPECT_EQ(child->Top(), x + frame);
    EXPECT_EQ(child->Left(), frame);
    // On the right side a raster caption font turns into Arial; the strip moves to the right.
    ASSERT_TRUE(test::LoadWineBitmapFont()) << "Wine's bitmap fonts: install the Debian package fonts-wine";
    box->CaptionFont()->SetHandle(test::RasterSansSerif());
    EXPECT_FALSE(box->CaptionParentFont()) << "a caption font set directly no longer follows the parent";
    box->SetCaptionParentFont(true);
    fw::TFont saved;
    saved.Assign(form->Font());
    form->Font()->SetHandle(test::RasterSansSerif());
    ASSERT_FALSE(KVXIsTrueTypeFont(box->CaptionFont()));
    box->SetAlignment(TKVXGroupCaptionAlign::gcaRightCenter);
    EXPECT_EQ(box->CaptionFont()->Name(), "Arial");
    EXPECT_TRUE(box->CaptionParentFont()) << "the box's own switch keeps following the parent";
    EXPECT_EQ(child->Top(), frame);
    EXPECT_EQ(child->Left() + child->Width(), box->Width() - box->CaptionExtent() - frame);
    Pump();
    form->Font()->Assign(&saved);
}

TEST_F(KVXGroupBoxes, CaptionFontFollowsTheParentUntilSet) {
    auto* box = fw::Make<TKVXGroupBox>(form);
    box->SetParent(form);
    form->Font()->SetSize(14);
    EXPECT_EQ(box->CaptionFont()->Size(), 14);
    EXPECT_TRUE(box->CaptionParentFont());
    box->CaptionFont()->SetSize(9);
    EXPECT_FALSE(box->CaptionParentFont());
    form->Font()->SetSize(11);
    EXPECT_EQ(box->CaptionFont()->Size(), 9);
    box->SetCaptionParentFont(true);
    EXPECT_EQ(box->CaptionFont()->Size(), 11);
    form->Font()->SetSize(8);
}

TEST_F(KVXGroupBoxes, AcceleratorFocusesTheFirstChild) {
    auto* box = fw::Make<TKVXGroupBox>(form);
    box->SetParent(form);
    box->SetCaption("&Dates");
    auto* first = fw::Make<fw::TEdit>(form);
    auto* second = fw::Make<fw::TEdit>(form);
    first->SetParent(box);
    second->SetParent(box);
    first->SetBounds(10, 30, 80, 21);
    second->SetBounds(100, 30, 80, 21);
    auto* outside = fw::Make<fw::TEdit>(form);
    outside->SetParent(form);
    outside->SetLeft(300);
    outside->SetFocus();
    Pump();
    EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'd', 0), 1);
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'x', 0), 0);
    first->SetEnabled(false);
    EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'd', 0), 1);
    EXPECT_TRUE(second->Focused()) << "the first child that can take the focus";
}

// ---- dock button --------------------------------------------------------------------------------

class KVXDockButtons : public test::TControlsTest {
protected:
    void SetUp() override {
        edit = fw::Make<fw::TEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(20, 30, 80, 23);
        button = fw::Make<TKVXDockSpeedButton>(form);
        button->SetParent(form);
        button->SetControl(edit);
    }
    fw::TEdit* edit = nullptr;
    TKVXDockSpeedButton* button = nullptr;
};

TEST_F(KVXDockButtons, FollowsTheEditThroughItsWindow) {
    ASSERT_TRUE(button->Hooked());
    EXPECT_EQ(button->Left(), 101);
    EXPECT_EQ(button->Height(), 23);
    // Moved and sized by the system, not through the framework.
    SetWindowPos(edit->Handle(), nullptr, 40, 50, 100, 21, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(button->Left(), 141);
    EXPECT_EQ(button->Top(), 50);
    EXPECT_EQ(button->Width(), 22);
    EXPECT_EQ(button->Height(), 21);
    EnableWindow(edit->Handle(), FALSE);
    EXPECT_FALSE(button->Enabled());
    EnableWindow(edit->Handle(), TRUE);
    EXPECT_TRUE(button->Enabled());
    edit->SetVisible(false);
    EXPECT_FALSE(button->Visible());
    edit->SetLeft(60);
    EXPECT_EQ(button->Left(), 161) << "a hidden edit still moves its button";
    edit->SetVisible(true);
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(button->Left(), 161);
}

TEST_F(KVXDockButtons, MovingTheButtonMovesTheEditOnce) {
    button->SetBounds(300, 100, 22, 23);
    EXPECT_EQ(edit->Left(), 300 - 80 - 1);
    EXPECT_EQ(edit->Top(), 100);
    EXPECT_EQ(button->Left(), 300) << "the edit's move does not bounce back";
    button->SetFlag(2, false);
    button->SetBounds(10, 10, 22, 23);
    EXPECT_EQ(edit->Left(), 219);
    // Each position and margin per the table; without AdjustDockedSize the button keeps its size.
    button->SetFlag(0, false);
    button->SetMargin(3);
    button->SetPosition(TKVXDockPosition::dpBottom);
    EXPECT_EQ(button->BoundsRect(), (TRect{219, 126, 241, 149}));
    button->SetPosition(TKVXDockPosition::dpLeft);
    EXPECT_EQ(button->BoundsRect(), (TRect{194, 100, 216, 123}));
    button->SetFlag(0, true);
    button->SetPosition(TKVXDockPosition::dpTop);
    EXPECT_EQ(button->BoundsRect(), (TRect{219, 74, 299, 97}));
}

TEST_F(KVXDockButtons, AnAlignedControlIsNeitherMovedNorFollowed) {
    button->SetBounds(300, 100, 22, 23);
    edit->SetAlign(fw::alClient);
    const TRect client = edit->BoundsRect();
    button->SetBounds(250, 200, 22, 23);
    EXPECT_EQ(edit->BoundsRect(), client);
    form->SetWidth(form->Width() + 10);
    EXPECT_EQ(button->BoundsRect(), (TRect{250, 200, 272, 223}));
    edit->SetAlign(fw::alNone);
}

TEST_F(KVXDockButtons, PressingFocusesTheEdit) {
    auto* other = fw::Make<fw::TEdit>(form);
    other->SetParent(form);
    other->SetTop(200);
    other->SetFocus();
    Pump();
    const POINT p{button->Left() + 5, button->Top() + 5};
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(edit->Focused());
}

TEST_F(KVXDockButtons, BuiltInPicturesAndTheCustomGlyph) {
    // The resource's third cell is the folder.
    fw::TBitmap strip;
    strip.LoadFromResourceID(GetModuleHandleA(nullptr), kKVXDockGlyphsResource);
    ASSERT_EQ(strip.Width(), 8 * 13);
    ASSERT_EQ(strip.Height(), 14);
    EXPECT_EQ(button->Glyph()->Width(), 13);
    button->SetGlyphKind(TKVXGlyphKind::gkFolder);
    fw::TBitmap* glyph = button->Glyph();
    ASSERT_EQ(glyph->Width(), 13);
    int same = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 13; ++x)
            if (glyph->Canvas()->Pixels(x, y) == strip.Canvas()->Pixels(2 * 13 + x, y)) ++same;
    EXPECT_EQ(same, 13 * 14);
    EXPECT_EQ(button->NumGlyphs(), 1);
    // Back to the custom glyph: the image list's picture, or none.
    TKVXImageList* list = test::MakeImageList(form, 16, 16, {[](int, int) { return fw::clRed; }});
    button->SetImageList(list);
    EXPECT_EQ(button->Glyph()->Width(), 13) << "a built-in kind keeps its picture";
    button->SetGlyphKind(TKVXGlyphKind::gkCustom);
    EXPECT_EQ(button->Glyph()->Width(), 16);
    button->SetImageList(nullptr);
    EXPECT_TRUE(button->Glyph()->Empty());
}

TEST_F(KVXDockButtons, CreateAndDestroyInBothOrders) {
    auto* plain = fw::Make<fw::TEdit>(form);
    plain->SetParent(form);
    HWND window = plain->Handle();
    const auto original = GetWindowLongPtrA(window, GWLP_WNDPROC);
    button->SetControl(plain);
    ASSERT_TRUE(button->Hooked());
    button->Free();
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), original) << "the edit's own procedure is back";
    EXPECT_EQ(fw::HookCount(window), 0u);
    SetWindowPos(window, nullptr, 5, 5, 60, 20, SWP_NOZORDER | SWP_NOACTIVATE);  // nothing listens any more

    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i) {
        auto* e = fw::Make<fw::TEdit>(form);
        e->SetParent(form);
        auto* b = fw::Make<TKVXDockSpeedButton>(form);
        b->SetParent(form);
        b->SetControl(e);
        ASSERT_TRUE(b->Hooked());
        if (i % 2 == 0) {
            e->Free();
            ASSERT_EQ(b->Control(), nullptr);
            b->Free();
        } else {
            HWND h = e->Handle();
            b->Free();
            SendMessageA(h, WM_MOVE, 0, 0);
            e->Free();
        }
    }
    Pump();
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 5);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 5);
}

TEST_F(KVXDockButtons, KeepsFollowingARecreatedWindow) {
    HWND old = edit->Handle();
    edit->RecreateWnd();
    ASSERT_NE(edit->Handle(), old);
    EXPECT_EQ(button->Control(), edit);
    SetWindowPos(edit->Handle(), nullptr, 70, 90, 80, 23, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(button->Left(), 151);
    EXPECT_EQ(button->Top(), 90);
}

TEST_F(KVXDockButtons, TwoButtonsOnOneEditUnhookInAnyOrder) {
    auto* second = fw::Make<TKVXDockSpeedButton>(form);
    second->SetParent(form);
    second->SetPosition(TKVXDockPosition::dpLeft);
    second->SetControl(edit);
    // The first button unhooks while the second's subclass sits above it.
    button->Free();
    SetWindowPos(edit->Handle(), nullptr, 100, 60, 80, 23, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(second->Left(), 100 - 22 - 1);
    EXPECT_TRUE(second->Hooked());
}


// ---- scroll box ---------------------------------------------------------------------------------

// A transparent scroll box on a back panel that tiles a 4-pixel checker; one edit far below makes it
// scroll.
class KVXScrollBoxes : public test::TControlsTest {
protected:
    void SetUp() override {
        TKVXImageList* list = test::MakeImageList(form, 16, 16, {test::Checker(4, fw::clRed, fw::clBlue)});
        back = fw::Make<TKVXBackPanel>(form);
        back->SetParent(form);
        back->SetBounds(10, 10, 300, 220);
        back->SetImageList(list);
        box = fw::Make<TKVXScrollBox>(form);
        box->SetParent(back);
        box->SetBounds(20, 20, 150, 100);
        box->SetTransparent(true);
        box->VertScrollBar()->SetIncrement(4);
        auto* below = fw::Make<fw::TEdit>(form);
        below->SetParent(box);
        below->SetBounds(10, 250, 60, 21);
        Pump();
        back->Repaint();
        Pump();
    }
    // The tile under a point of the box's client area (the box's client edge is 2 pixels).
    static fw::TColor Tile(int x, int y) { return test::Checker(4, fw::clRed, fw::clBlue)((22 + x) % 16, (22 + y) % 16); }
    fw::TColor At(int x, int y) { return WindowPixel(box->Handle(), x, y); }
    TKVXBackPanel* back = nullptr;
    TKVXScrollBox* box = nullptr;
};

TEST_F(KVXScrollBoxes, TransparentBackgroundFollowsInstantUpdate) {
    ASSERT_TRUE(box->ShowsParentBackground());
    EXPECT_EQ(At(60, 30), Tile(60, 30));
    EXPECT_EQ(At(61, 33), Tile(61, 33));
    // Without InstantUpdate a step moves the background with the content: stale until the end.
    box->SetInstantUpdate(false);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    Pump();
    EXPECT_EQ(box->VertScrollBar()->Position(), 4);
    EXPECT_EQ(At(60, 30), Tile(60, 34)) << "the old pixels moved up";
    EXPECT_NE(At(60, 30), Tile(60, 30));
    SendMessageA(box->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    Pump();
    EXPECT_EQ(At(60, 30), Tile(60, 30));
    // With it every step repaints the background in place.
    box->SetInstantUpdate(true);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    Pump();
    EXPECT_EQ(box->VertScrollBar()->Position(), 8);
    EXPECT_EQ(At(60, 30), Tile(60, 30));
    EXPECT_EQ(At(61, 33), Tile(61, 33));
}

TEST_F(KVXScrollBoxes, ClientAreaIsTheWindowLessTheBevel) {
    auto* plain = fw::Make<TKVXScrollBox>(form);
    plain->SetParent(form);
    plain->SetBounds(330, 10, 120, 80);
    RECT r{};
    GetClientRect(plain->Handle(), &r);
    EXPECT_EQ(r.right, 120 - 4) << "the Windows mode's client edge";
    plain->Bevel()->SetMode(TKVXBevelMode::bmStandard);
    plain->Bevel()->SetStandardStyle(TKVXBorderStyle::lsDoubleLowered);
    const int nearSide = plain->Bevel()->Extent(), farSide = plain->Bevel()->FarExtent();
    ASSERT_GT(nearSide, 0);
    GetClientRect(plain->Handle(), &r);
    EXPECT_EQ(r.right, 120 - nearSide - farSide);
    EXPECT_EQ(r.bottom, 80 - nearSide - farSide);
    EXPECT_EQ(GetWindowLongPtrA(plain->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(KVXScrollBoxes, CornerBetweenTheBarsIsPainted) {
    auto* plain = fw::Make<TKVXScrollBox>(form);
    plain->SetParent(form);
    plain->SetBounds(330, 100, 120, 80);
    plain->SetColor(fw::clRed);
    auto* wide = fw::Make<fw::TEdit>(form);
    wide->SetParent(plain);
    wide->SetBounds(200, 200, 40, 21);
    Pump();
    RedrawWindow(plain->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const LONG_PTR style = GetWindowLongPtrA(plain->Handle(), GWL_STYLE);
    ASSERT_NE(style & WS_HSCROLL, 0);
    ASSERT_NE(style & WS_VSCROLL, 0);
    HDC dc = GetWindowDC(plain->Handle());
    const COLORREF corner = GetPixel(dc, 120 - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, 80 - 2 - GetSystemMetrics(SM_CYHSCROLL) / 2);
    ReleaseDC(plain->Handle(), dc);
    EXPECT_EQ(corner, static_cast<COLORREF>(fw::clRed));
}

}  // namespace
}  // namespace kvx::win32
