// The scroll bar and the gauge on a shown form under Wine: a held arrow button repeats on the suite's
// timer pool, track clicks and keys page the bar through the real message path, and the gauge's pixels
// follow its percentage.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/formtext.h"
#include "framework/win32/forms.h"
#include "installer/controls/win32/controls_register.h"
#include "installer/controls/win32/gauge3d.h"
#include "installer/controls/win32/kvxsbar.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/dibcanvas.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace inst::win32 {
namespace {

using kvx::win32::test::Pump;
using kvx::win32::test::PumpFor;
using kvx::win32::test::WindowPixel;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new kvx::win32::test::TSuiteEnvironment);

struct Event {
    TScrollCode code;
    int position;
    DWORD tick;
};

class ScrollBar : public kvx::win32::test::TControlsTest {
protected:
    void SetUp() override {
        bar = fw::Make<TKVXScrollBar>(form);
        bar->SetParent(form);
        bar->SetKind(TKVXScrollBarKind::skVertical);
        bar->SetBounds(20, 20, 18, 200);
        bar->OnScroll.Bind(this, [](void* self, fw::TObject*, TScrollCode code, int& position) {
            static_cast<ScrollBar*>(self)->events.push_back({code, position, GetTickCount()});
        });
        Pump();
    }
    std::vector<TScrollCode> Codes() const {
        std::vector<TScrollCode> codes;
        for (const Event& e : events) codes.push_back(e.code);
        return codes;
    }
    // A press at a point of the bar's client area as the window gets it.
    void Press(int x, int y) {
        SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        SendMessageA(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    }
    void Release(int x, int y) { SendMessageA(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

    TKVXScrollBar* bar = nullptr;
    std::vector<Event> events;
};

TEST_F(ScrollBar, LaysOutButtonsAndThumbInsideTheBevel) {
    // 18 x 200 with a 1-pixel single bevel: buttons of 16 at both ends, thumb 16 long at position 0.
    EXPECT_EQ(bar->FirstButton()->BoundsRect(), (fw::TRect{1, 1, 17, 17}));
    EXPECT_EQ(bar->SecondButton()->BoundsRect(), (fw::TRect{1, 183, 17, 199}));
    EXPECT_EQ(bar->Thumb()->BoundsRect(), (fw::TRect{1, 17, 17, 33}));
    bar->SetPosition(100);
    EXPECT_EQ(bar->Thumb()->Top(), 183 - 16);
    bar->SetMax(-3);  // below Min
    EXPECT_EQ(bar->Max(), 0);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_NE(bar->PageTimerIdent(), 0);
    EXPECT_NE(bar->FirstButton()->TimerIdent(), 0);
    // Disabled: no thumb, both buttons in their disabled state.
    bar->SetEnabled(false);
    EXPECT_FALSE(bar->Thumb()->Visible());
    EXPECT_EQ(bar->FirstButton()->State(), 5);
    EXPECT_EQ(bar->SecondButton()->State(), 5);
    bar->SetEnabled(true);
    EXPECT_TRUE(bar->Thumb()->Visible());
    EXPECT_EQ(bar->SecondButton()->State(), 0);
}

TEST_F(ScrollBar, HeldArrowFiresAtOnceThenAfter300ThenEvery100) {
    const fw::TRect second = bar->SecondButton()->BoundsRect();
    const int x = (second.Left + second.Right) / 2, y = (second.Top + second.Bottom) / 2;
    const DWORD start = GetTickCount();
    Press(x, y);
    ASSERT_EQ(events.size(), 2u) << "the press steps once at once";
    EXPECT_EQ(Codes(), (std::vector<TScrollCode>{TScrollCode::scEndScroll, TScrollCode::scLineUp}));
    EXPECT_EQ(bar->SecondButton()->State(), 2);
    PumpFor(720);
    Release(x, y);
    const size_t held = events.size();
    PumpFor(250);
    EXPECT_EQ(events.size(), held) << "nothing repeats after the release";

    // Every step is scEndScroll then scLineUp, one unit further each time.
    std::vector<DWORD> steps;
    for (size_t i = 0; i + 1 < events.size(); i += 2) {
        EXPECT_EQ(events[i].code, TScrollCode::scEndScroll);
        EXPECT_EQ(events[i + 1].code, TScrollCode::scLineUp);
        EXPECT_EQ(events[i + 1].position, static_cast<int>(i / 2) + 1);
        steps.push_back(events[i + 1].tick - start);
    }
    // Loose counts: at 0, at about 300, then about every 100 ms up to 720: 4 to 7 steps in all.
    ASSERT_GE(steps.size(), 4u);
    EXPECT_LE(steps.size(), 7u);
    EXPECT_GE(steps[1] - steps[0], 200u) << "the first repeat waits about 300 ms";
    for (size_t i = 2; i < steps.size(); ++i) EXPECT_LT(steps[i] - steps[i - 1], steps[1] - steps[0]);
}

TEST_F(ScrollBar, LeavingTheHeldArrowStopsTheRepeat) {
    const fw::TRect first = bar->FirstButton()->BoundsRect();
    bar->SetPosition(50);
    Press(first.Left + 4, first.Top + 4);
    SendMessageA(bar->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first.Left + 4, 100));
    PumpFor(500);
    Release(first.Left + 4, 100);
    EXPECT_EQ(bar->Position(), 49) << "one step, no repeats";
}

TEST_F(ScrollBar, TrackClickPagesAndKeysPage) {
    bar->SetPosition(5);
    // Above the thumb: scEndScroll, scPageDown, then at Min scEndScroll, scTop.
    const int x = 8, above = bar->Thumb()->Top() - 1;
    Press(x, above);
    Release(x, above);
    EXPECT_EQ(Codes(), (std::vector<TScrollCode>{TScrollCode::scEndScroll, TScrollCode::scPageDown,
                                                 TScrollCode::scEndScroll, TScrollCode::scTop}));
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_TRUE(bar->Focused());
    events.clear();
    SendMessageA(bar->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Codes(), (std::vector<TScrollCode>{TScrollCode::scPageUp}));
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(SendMessageA(bar->Handle(), WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS),
              DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(ScrollBar, HeldTrackPagesUntilTheThumbIsUnderThePointer) {
    const int x = 8, y = 150;
    Press(x, y);
    PumpFor(900);
    Release(x, y);
    // Pages of 10 until the thumb covers y = 150: it stops there, well before Max.
    EXPECT_GT(bar->Position(), 60);
    EXPECT_LT(bar->Position(), 100);
    EXPECT_LE(bar->Thumb()->Top(), y);
    EXPECT_GE(bar->Thumb()->Top() + bar->Thumb()->Height(), y);
}

TEST_F(ScrollBar, SettingsObjectAssignsAndApplies) {
    TKVXScrollBarObject a, b;
    a.SetButtonWidth(20);
    a.SetLargeChange(7);
    a.AllowMousePos = false;
    a.Back()->Brush()->SetColor(fw::clRed);
    int changes = 0;
    b.OnChange.Bind(&changes, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    b.Assign(&a);
    EXPECT_EQ(b.ButtonWidth(), 20);
    EXPECT_EQ(b.LargeChange(), 7);
    EXPECT_FALSE(b.AllowMousePos);
    EXPECT_EQ(b.Back()->Brush()->Color(), fw::clRed);
    b.ApplyTo(bar);
    EXPECT_EQ(bar->ButtonWidth(), 20);
    EXPECT_EQ(bar->LargeChange(), 7);
    EXPECT_FALSE(bar->AllowMousePos());
    EXPECT_EQ(bar->FirstButton()->Height(), 20);
}

TEST_F(ScrollBar, DraggingTheThumbTracksThenReportsThePosition) {
    bar->SetMax(168);  // 168 units over the thumb's span of 198 - 2 * 16 - 16 = 150 pixels
    const fw::TRect thumb = bar->Thumb()->BoundsRect();
    HWND t = bar->Thumb()->Handle();
    SendMessageA(t, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(t, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 15));
    // The pointer 10 pixels further down the bar, in the coordinates of the thumb that has moved.
    const int y = 25 - (bar->Thumb()->Top() - thumb.Top);
    SendMessageA(t, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, y));
    SendMessageA(t, WM_LBUTTONUP, 0, MAKELPARAM(5, y));
    EXPECT_EQ(Codes(), (std::vector<TScrollCode>{TScrollCode::scTrack, TScrollCode::scTrack, TScrollCode::scEndScroll,
                                                 TScrollCode::scPosition}));
    // 166 units over a span of 150 pixels: R(166 / 150 * 10) = 11 per 10 pixels.
    EXPECT_EQ(bar->Position(), 22);
    EXPECT_GT(bar->Thumb()->Top(), thumb.Top);
    EXPECT_TRUE(bar->Focused()) << "a press on the thumb focuses the bar";
    POINT caret{};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, 1);
    EXPECT_EQ(caret.y, 1);
}

TEST_F(ScrollBar, ArrowLayoutsAndThePressedLook) {
    struct Case {
        uint8_t arrows;
        int x, y;  // a pixel of the arrow
    };
    // On 20 x 20: up at R(8), R(8) with its apex at x + 1; left apex R(8), R(9); right apex R(10), R(9);
    // down at R(7), R(8).
    const Case cases[] = {{sbUp, 9, 8}, {sbLeft, 8, 9}, {sbRight, 10, 9}, {sbDown, 8, 8}};
    auto* button = fw::Make<TKVXScrollSpinButton>(form);
    button->SetParent(form);
    button->SetBounds(0, 0, 20, 20);
    button->SetColor(fw::clWhite);
    for (const Case& c : cases) {
        button->SetSpinButtons(c.arrows);
        kvx::win32::test::TDibCanvas normal(20, 20), pressed(20, 20);
        button->DrawCell(normal.Canvas(), 0);
        button->DrawCell(pressed.Canvas(), 1 + (c.arrows == sbDown) + 2 * (c.arrows == sbLeft) + 3 * (c.arrows == sbRight));
        EXPECT_EQ(normal.Pixel(c.x, c.y), fw::clBlack) << int(c.arrows);
        EXPECT_EQ(normal.Pixel(3, 16), fw::clWhite) << int(c.arrows);
        EXPECT_NE(normal.Pixels(), pressed.Pixels()) << "the pressed cell looks lowered " << int(c.arrows);
    }
    // Two arrows: both drawn, with the divider through the cell.
    button->SetSpinButtons(sbUp | sbDown);
    kvx::win32::test::TDibCanvas both(20, 20);
    button->DrawCell(both.Canvas(), 0);
    EXPECT_EQ(both.Pixel(4, 3), fw::clBlack);
    EXPECT_EQ(both.Pixel(14, 14), fw::clBlack);
    EXPECT_EQ(both.Pixel(10, 10), fw::clBlack) << "the divider";
}

TEST_F(ScrollBar, FullTimerPoolMeansNoRepeatAndNoFailure) {
    std::vector<uint16_t> taken;
    while (const uint16_t ident = kvx::KVXApplication->AddTimer(50, fw::TNotifyEvent())) taken.push_back(ident);
    auto* full = fw::Make<TKVXScrollBar>(form);
    full->SetParent(form);
    full->SetKind(TKVXScrollBarKind::skVertical);
    full->SetBounds(60, 20, 18, 200);
    Pump();
    EXPECT_EQ(full->PageTimerIdent(), 0);
    EXPECT_EQ(full->SecondButton()->TimerIdent(), 0);
    // A held track click and a held arrow each step once.
    SendMessageA(full->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 150));
    kvx::win32::test::PumpFor(400);
    SendMessageA(full->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 150));
    EXPECT_EQ(full->Position(), 10);
    const fw::TRect second = full->SecondButton()->BoundsRect();
    const LPARAM at = MAKELPARAM((second.Left + second.Right) / 2, (second.Top + second.Bottom) / 2);
    SendMessageA(full->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    kvx::win32::test::PumpFor(400);
    SendMessageA(full->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(full->Position(), 11);
    full->Free();
    for (uint16_t ident : taken) kvx::KVXApplication->RemoveTimer(ident);
}

// ---- gauge --------------------------------------------------------------------------------------

class Gauge : public kvx::win32::test::TControlsTest {
protected:
    void SetUp() override {
        gauge = fw::Make<TGauge3D>(form);
        gauge->SetParent(form);
        gauge->SetBounds(kLeft, kTop, 100, 50);
        gauge->SetParentColor(false);
        gauge->SetColor(fw::clYellow);
        gauge->SetBarColor(fw::clRed);
        gauge->SetFrameLightColor(fw::clLime);
        gauge->SetFrameShadowColor(fw::clBlue);
        gauge->SetShowText(false);
        Pump();
    }
    fw::TColor At(int x, int y) { return WindowPixel(form->Handle(), kLeft + x, kTop + y); }
    // The colours of row Y from x = 0 to 99.
    std::vector<fw::TColor> Row(int y) {
        std::vector<fw::TColor> row;
        for (int x = 0; x < 100; ++x) row.push_back(At(x, y));
        return row;
    }
    static constexpr int kLeft = 40, kTop = 40;
    TGauge3D* gauge = nullptr;
};

TEST_F(Gauge, HalfIsA46PixelBarInsideTheDoubleFrame) {
    gauge->SetProgress(50);
    Pump();
    EXPECT_EQ(gauge->BarWidth(), 46);
    const std::vector<fw::TColor> row = Row(25);
    // Background, the two frame rings (light outside-left, shadow inside-left), background, the bar's
    // ring and fill from 5 to 46 + 3, background up to the rings on the right.
    EXPECT_EQ(row[0], fw::clYellow);
    EXPECT_EQ(row[1], fw::clYellow);
    EXPECT_EQ(row[2], fw::clLime);
    EXPECT_EQ(row[3], fw::clBlue);
    EXPECT_EQ(row[4], fw::clYellow);
    EXPECT_EQ(row[5], fw::clLime);
    for (int x = 6; x < 48; ++x) EXPECT_EQ(row[x], fw::clRed) << x;
    EXPECT_EQ(row[48], fw::clBlue);
    EXPECT_EQ(row[49], fw::clYellow);
    EXPECT_EQ(row[95], fw::clYellow);
    EXPECT_EQ(row[96], fw::clLime);
    EXPECT_EQ(row[97], fw::clBlue);
    EXPECT_EQ(row[98], fw::clYellow);
    // The bar's ring: light on top, shadow at the bottom.
    EXPECT_EQ(At(20, 5), fw::clLime);
    EXPECT_EQ(At(20, 44), fw::clBlue);
    EXPECT_EQ(At(20, 45), fw::clYellow);
}

TEST_F(Gauge, ThreePercentDrawsNoBarAndNoRing) {
    gauge->SetProgress(3);
    Pump();
    EXPECT_EQ(gauge->BarWidth(), 2);
    const std::vector<fw::TColor> row = Row(25);
    for (int x = 4; x < 96; ++x) EXPECT_EQ(row[x], fw::clYellow) << x;
    EXPECT_EQ(At(6, 5), fw::clYellow);
}

TEST_F(Gauge, UnchangedProgressDoesNotRepaint) {
    gauge->SetProgress(40);
    Pump();
    const int paints = gauge->PaintCount();
    gauge->SetProgress(40);
    gauge->SetProgress(400);  // clamped to 100: a change
    gauge->SetProgress(100);
    Pump();
    EXPECT_EQ(gauge->PaintCount(), paints + 1);
    EXPECT_EQ(gauge->Percent(), 100);
    EXPECT_EQ(gauge->BarWidth(), 92);
}

TEST_F(Gauge, EmptyRangeShowsZeroAndVerticalGrowsFromTheBottom) {
    gauge->SetProgress(30);
    gauge->SetMaxValue(0);  // MaxValue = MinValue
    Pump();
    gauge->Repaint();
    EXPECT_EQ(gauge->Percent(), 0);
    EXPECT_EQ(At(10, 25), fw::clYellow);
    gauge->SetMaxValue(100);
    gauge->SetKind(TGaugeKind::gkVerticalBar);
    gauge->SetProgress(50);
    Pump();
    EXPECT_EQ(gauge->BarHeight(), 21);  // (50 - 8) * 50 div 100
    EXPECT_EQ(At(50, 44), fw::clBlue);   // the bar's bottom ring
    EXPECT_EQ(At(50, 30), fw::clRed);
    EXPECT_EQ(At(50, 20), fw::clYellow);
}

TEST_F(Gauge, GlyphTilesTheBarAndAnEmptyGlyphLeavesOnlyTheRing) {
    gauge->SetUseGlyph(true);
    gauge->SetProgress(50);
    Pump();
    gauge->Repaint();
    EXPECT_EQ(At(20, 25), fw::clYellow) << "an empty glyph fills nothing";
    EXPECT_EQ(At(5, 25), fw::clLime) << "the ring is still drawn";
    EXPECT_EQ(At(48, 25), fw::clBlue);
    fw::TBitmap glyph;
    kvx::win32::test::PaintPicture(&glyph, 4, 4, [](int x, int) { return x < 2 ? fw::clNavy : fw::clFuchsia; });
    gauge->SetProgressGlyph(&glyph);
    Pump();
    gauge->Repaint();
    // Tiles from the bar's corner at (5, 5): columns 0-1 of each tile navy, 2-3 fuchsia.
    EXPECT_EQ(At(6, 20), fw::clNavy);
    EXPECT_EQ(At(7, 20), fw::clFuchsia);
    EXPECT_EQ(At(9, 20), fw::clNavy);
    EXPECT_EQ(At(47, 20), fw::clFuchsia);  // 42 = 10 tiles + 2: a cut tile
    EXPECT_EQ(At(49, 20), fw::clYellow);
}

TEST_F(Gauge, TransparentShowsTheParentBeneath) {
    auto* panel = fw::Make<kvx::win32::TKVXSimplePanel>(form);
    panel->SetParent(form);
    panel->SetBounds(200, 40, 140, 80);
    panel->SetColor(fw::clAqua);
    gauge->SetParent(panel);
    gauge->SetBounds(10, 10, 100, 50);
    gauge->SetTransparent(true);
    gauge->SetProgress(50);
    Pump();
    gauge->Repaint();
    EXPECT_EQ(WindowPixel(panel->Handle(), 10 + 1, 10 + 25), fw::clAqua);
    EXPECT_EQ(WindowPixel(panel->Handle(), 10 + 20, 10 + 25), fw::clRed);
}

TEST(InstallerControls, LoadFromFormText) {
    RegisterInstallerControls();
    auto* f = fw::TForm::CreateNew<fw::TForm>(nullptr);
    fw::ReadComponentText(f,
                          "object CopyPage: TForm\n"
                          "  object ProgressBar1: TGauge3D\n    Progress = 40\n    BarColor = clBtnFace\n"
                          "    FrameLightColor = clBtnHighlight\n    UseGlyph = False\n  end\n"
                          "  object Bar1: TKVXScrollBar\n    Kind = skVertical\n    Max = 50\n    Position = 20\n"
                          "    ThumbMode = tmAuto\n    BackStyle = bsUser\n  end\n"
                          "end\n",
                          "CopyPage");
    auto* gauge = dynamic_cast<TGauge3D*>(f->FindComponent("ProgressBar1"));
    auto* bar = dynamic_cast<TKVXScrollBar*>(f->FindComponent("Bar1"));
    ASSERT_NE(gauge, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(gauge->Progress(), 40);
    EXPECT_EQ(gauge->BarColor(), fw::clBtnFace);
    EXPECT_EQ(bar->Kind(), TKVXScrollBarKind::skVertical);
    EXPECT_EQ(bar->Max(), 50);
    EXPECT_EQ(bar->Position(), 20);
    EXPECT_EQ(bar->ThumbMode(), TKVXThumbMode::tmAuto);
    EXPECT_EQ(bar->BackStyle(), TKVXBackStyle::bsUser);
    const std::string written = fw::WriteComponentText(f);
    EXPECT_NE(written.find("Progress = 40"), std::string::npos) << written;
    f->Free();
}

}  // namespace
}  // namespace inst::win32
