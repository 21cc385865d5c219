// The speed button under Wine: shared glyph lists freed with the last button, glyph counts, groups,
// auto-repeat, and the state images read back as pixels.
#include "uisupport/controls/win32/kyvctrls.h"

#include <gtest/gtest.h>

#include "uisupport/controls/win32/button_test_support.h"
#include "uisupport/controls/win32/controlsregister.h"
#include "uisupport/controls/win32/glyphcache.h"

namespace uis {
namespace {

// A strip of `cells` square cells of `size` pixels, fuchsia around a coloured square.
void MakeStrip(fw::TBitmap& strip, int cells, int size, fw::TColor color = fw::clNavy) {
    strip.SetSize(cells * size, size);
    strip.Canvas()->Brush()->SetColor(fw::clFuchsia);
    strip.Canvas()->FillRect(fw::Rect(0, 0, cells * size, size));
    strip.Canvas()->Brush()->SetColor(color);
    for (int i = 0; i < cells; ++i) strip.Canvas()->FillRect(fw::Bounds(i * size + 3, 3, size - 6, size - 6));
}

class SpeedButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportControlClasses();
        form = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form->SetBounds(80, 80, 320, 200);
    }
    void TearDown() override {
        if (form) form->Free();
        fw::DoneApplication();
    }
    TKyvSpeedButton* NewButton(int left, int groupIndex = 0) {
        auto* button = fw::Make<TKyvSpeedButton>(form);
        button->SetParent(form);
        button->SetBounds(left, 10, 25, 25);
        button->SetGroupIndex(groupIndex);
        return button;
    }
    void Press(TKyvSpeedButton* b) {
        test::Mouse(form->Handle(), WM_LBUTTONDOWN, b->Left() + 10, b->Top() + 10, MK_LBUTTON);
        test::Mouse(form->Handle(), WM_LBUTTONUP, b->Left() + 10, b->Top() + 10);
    }
    fw::TForm* form = nullptr;
};

TEST_F(SpeedButtonTest, SameSizeGlyphsShareOneImageListFreedWithTheLastButton) {
    fw::TBitmap strip;
    MakeStrip(strip, 1, 16);
    TKyvSpeedButton* a = NewButton(10);
    TKyvSpeedButton* b = NewButton(40);
    a->SetGlyph(&strip);
    MakeStrip(strip, 1, 16, fw::clMaroon);
    b->SetGlyph(&strip);
    fw::TBitmap shot;
    test::Snapshot(form, shot);
    ASSERT_NE(a->Painter().List(), nullptr);
    EXPECT_EQ(a->Painter().List(), b->Painter().List());
    EXPECT_EQ(a->Painter().List()->Handle(), b->Painter().List()->Handle());
    ASSERT_NE(GlyphCache(), nullptr);
    EXPECT_EQ(GlyphCache()->Count(), 1);
    TKyvSpeedButton* c = NewButton(70);
    MakeStrip(strip, 1, 20);
    c->SetGlyph(&strip);
    test::Snapshot(form, shot);
    EXPECT_EQ(GlyphCache()->Count(), 2);  // another cell size, another list
    c->Free();
    EXPECT_EQ(GlyphCache()->Count(), 1);
    a->Free();
    EXPECT_NE(GlyphCache(), nullptr);
    b->Free();
    EXPECT_EQ(GlyphCache(), nullptr);  // the last painter took the cache with it
}

TEST_F(SpeedButtonTest, GlyphStripsSetTheirCellCount) {
    TKyvSpeedButton* b = NewButton(10);
    fw::TBitmap strip;
    MakeStrip(strip, 5, 16);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 5);
    MakeStrip(strip, 6, 16);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 1);
    b->SetNumGlyphs(2);
    strip.SetSize(40, 16);
    b->SetGlyph(&strip);
    EXPECT_EQ(b->NumGlyphs(), 2);  // no whole multiple: kept
    b->SetNumGlyphs(9);
    EXPECT_EQ(b->NumGlyphs(), 5);
    b->SetNumGlyphs(0);
    EXPECT_EQ(b->NumGlyphs(), 5);
}

TEST_F(SpeedButtonTest, OneButtonOfAGroupIsDownAndStaysDownUnlessAllMayBeUp) {
    TKyvSpeedButton* b[3] = {NewButton(10, 1), NewButton(40, 1), NewButton(70, 1)};
    form->Show();
    Press(b[0]);
    EXPECT_TRUE(b[0]->Down());
    Press(b[1]);
    EXPECT_TRUE(b[1]->Down());
    EXPECT_FALSE(b[0]->Down());
    Press(b[1]);
    EXPECT_TRUE(b[1]->Down());  // a latched button cannot be released
    b[1]->SetDown(false);
    EXPECT_TRUE(b[1]->Down());  // not even by the program
    b[2]->SetAllowAllUp(true);  // tells the whole group, which stays as it is
    EXPECT_TRUE(b[1]->Down());
    Press(b[1]);
    EXPECT_FALSE(b[1]->Down());
    EXPECT_EQ(b[1]->State(), TKyvButtonState::bsUp);
}

TEST_F(SpeedButtonTest, HoldingWithAllowTimerRepeatsTheClick) {
    TKyvSpeedButton* b = NewButton(10);
    b->SetAllowTimer(true);
    int clicks = 0;
    b->OnClick.Bind(&clicks, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    form->Show();
    test::Mouse(form->Handle(), WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    test::Pump(850);  // 500 ms, then every 100 ms: 500, 600, 700, 800
    const int held = clicks;
    EXPECT_GE(held, 2);
    EXPECT_LE(held, 5);
    test::Mouse(form->Handle(), WM_LBUTTONUP, 20, 20);
    EXPECT_EQ(clicks, held + 1);
    test::Pump(300);
    EXPECT_EQ(clicks, held + 1);  // the timer stopped
}

TEST_F(SpeedButtonTest, DisabledAndInactiveImagesDifferFromTheUpImage) {
    fw::TBitmap strip;
    MakeStrip(strip, 1, 16, fw::clRed);
    TKyvSpeedButton* b = NewButton(10);
    b->SetGlyph(&strip);
    fw::TBitmap shot;
    test::Snapshot(form, shot);
    const fw::TColor up = shot.Canvas()->Pixels(10 + 12, 10 + 12);
    EXPECT_EQ(up, fw::clRed);
    b->SetFlat(true);  // no mouse over it: the grey inactive image
    test::Snapshot(form, shot);
    const fw::TColor inactive = shot.Canvas()->Pixels(10 + 12, 10 + 12);
    EXPECT_EQ(fw::GetRValue(inactive), fw::GetGValue(inactive));
    EXPECT_EQ(fw::GetRValue(inactive), GreyLevel(255, 0, 0));
    b->SetEnabled(false);  // embossed in the button colours
    test::Snapshot(form, shot);
    const fw::TColor disabled = shot.Canvas()->Pixels(10 + 12, 10 + 12);
    EXPECT_EQ(disabled, fw::ColorToRGB(fw::clBtnShadow));
}

}  // namespace
}  // namespace uis
