// The shaped button on a form under Wine: its shape read back as pixels, clicks only inside the shape,
// and the glyph cell of each state.
#include "uisupport/controls/win32/shbtn.h"

#include <gtest/gtest.h>

#include "uisupport/controls/win32/button_test_support.h"
#include "uisupport/controls/win32/controlsregister.h"

namespace uis {
namespace {

class ShBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportControlClasses();
        form = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form->SetBounds(60, 60, 300, 200);
        form->SetColor(fw::clSilver);
        button = fw::Make<TShBtn>(form);
        button->SetParent(form);
        button->SetBounds(20, 30, 85, 35);
        button->SetColor(fw::clSilver);
        button->SetBtnKind(TBtnKind::bkEllipse);
        button->SetCaption("");
        button->OnClick.Bind(&clicks, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    }
    void TearDown() override {
        form->Free();
        fw::DoneApplication();
    }
    // Mouse messages reach a windowless control through its parent, in the parent's coordinates.
    void Mouse(UINT msg, int x, int y, WPARAM keys = 0) { test::Mouse(form->Handle(), msg, 20 + x, 30 + y, keys); }
    fw::TForm* form = nullptr;
    TShBtn* button = nullptr;
    int clicks = 0;
};

TEST_F(ShBtnTest, TheEllipseIsBlueInsideOverItsShadow) {
    fw::TBitmap shot;
    test::Snapshot(form, shot);
    fw::TCanvas* c = shot.Canvas();
    EXPECT_EQ(c->Pixels(20 + 41, 30 + 16), fw::clBlue);   // the middle of the face
    EXPECT_EQ(c->Pixels(20 + 1, 30 + 1), fw::clSilver);   // a corner of its rectangle
    const fw::TColor shadow = c->Pixels(20 + 60, 30 + 31); // below the face, inside the shadow
    EXPECT_LT(fw::GetRValue(shadow), 0xC0);
    EXPECT_GT(fw::GetRValue(shadow), 0x20);
}

TEST_F(ShBtnTest, OnlyTheShapeReactsAndAReleaseOutsideDoesNotClick) {
    form->Show();
    Mouse(WM_MOUSEMOVE, 3, 3);  // the corner of the rectangle, outside the ellipse
    EXPECT_FALSE(button->Inside());
    Mouse(WM_LBUTTONDOWN, 3, 3, MK_LBUTTON);
    EXPECT_FALSE(button->Pressed());
    Mouse(WM_LBUTTONUP, 3, 3);
    EXPECT_EQ(clicks, 0);

    Mouse(WM_MOUSEMOVE, 40, 15);
    EXPECT_TRUE(button->Inside());
    Mouse(WM_LBUTTONDOWN, 40, 15, MK_LBUTTON);
    EXPECT_TRUE(button->Pressed());
    Mouse(WM_MOUSEMOVE, 200, 100, MK_LBUTTON);  // dragged out
    EXPECT_FALSE(button->Inside());
    Mouse(WM_LBUTTONUP, 200, 100);
    EXPECT_EQ(clicks, 0);

    Mouse(WM_MOUSEMOVE, 40, 15);
    Mouse(WM_LBUTTONDOWN, 40, 15, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 200, 100, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 41, 16, MK_LBUTTON);  // and back in
    Mouse(WM_LBUTTONUP, 41, 16);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ShBtnTest, AFourCellGlyphShowsACellPerState) {
    fw::TBitmap strip;
    strip.SetSize(64, 16);
    const fw::TColor cells[4] = {fw::clLime, fw::clAqua, fw::clYellow, fw::clGray};
    for (int i = 0; i < 4; ++i) {
        strip.Canvas()->Brush()->SetColor(fw::clFuchsia);
        strip.Canvas()->FillRect(fw::Bounds(i * 16, 0, 16, 16));
        strip.Canvas()->Brush()->SetColor(cells[i]);
        strip.Canvas()->FillRect(fw::Bounds(i * 16 + 4, 4, 8, 8));
    }
    button->SetGlyph(&strip);
    EXPECT_EQ(button->NumGlyphs(), 4);
    button->SetBtnKind(TBtnKind::bkRndRect);
    button->SetCaption("Find");
    form->Show();
    EXPECT_EQ(button->CurrentCell(), 1);
    Mouse(WM_MOUSEMOVE, 40, 15);
    EXPECT_EQ(button->CurrentCell(), 3);
    Mouse(WM_LBUTTONDOWN, 40, 15, MK_LBUTTON);
    EXPECT_EQ(button->CurrentCell(), 2);
    Mouse(WM_LBUTTONUP, 40, 15);
    Mouse(WM_MOUSEMOVE, 200, 100);
    button->SetEnabled(false);
    EXPECT_EQ(button->CurrentCell(), 4);
    // The cell drawn is the disabled one, its corner colour left out.
    fw::TBitmap shot;
    test::Snapshot(form, shot);
    bool grey = false, lime = false, fuchsia = false;
    for (int y = 30; y < 65; ++y)
        for (int x = 20; x < 105; ++x) {
            const fw::TColor p = shot.Canvas()->Pixels(x, y);
            grey |= p == fw::clGray, lime |= p == fw::clLime, fuchsia |= p == fw::clFuchsia;
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(lime);
    EXPECT_FALSE(fuchsia);
}

}  // namespace
}  // namespace uis
