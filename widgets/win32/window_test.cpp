// Window placement and the explode effects on the test display.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "testing/test_env.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/startup.h"
#include "widgets/win32/testsupport/wine_support.h"
#include "widgets/win32/windowfx.h"
#include "widgets/windowplace.h"

namespace kvx::win32 {
namespace {

using test::CaseDir;

class KVXWindows : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        KVXStartApplication();
        form_ = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form_->SetBounds(40, 30, 200, 120);
    }
    void TearDown() override {
        form_->Free();
        KVXStopApplication();
        fw::DoneApplication();
    }
    TRect WindowRect() {
        RECT r{};
        GetWindowRect(form_->Handle(), &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    fw::TForm* form_ = nullptr;
};

TEST_F(KVXWindows, PlaceWindowAtNinePositions) {
    using P = TKVXDlgPosition;
    const TRect ref{100, 50, 500, 350};
    const int w = WindowRect().Width(), h = WindowRect().Height();
    ASSERT_EQ(w, 200);
    ASSERT_EQ(h, 120);
    struct Case {
        P position;
        TPoint want;
    };
    const Case cases[] = {
        {P::bpCustom, {100, 50}},       {P::bpTopLeft, {100, 50}},       {P::bpTopCenter, {200, 50}},
        {P::bpTopRight, {300, 50}},     {P::bpCenterLeft, {100, 140}},   {P::bpCenter, {200, 140}},
        {P::bpCenterRight, {300, 140}}, {P::bpBottomLeft, {100, 230}},   {P::bpBottomCenter, {200, 230}},
        {P::bpBottomRight, {300, 230}},
    };
    for (const Case& c : cases) {
        KVXPlaceWindow(form_->Handle(), ref, c.position);
        EXPECT_EQ(WindowRect().TopLeft(), c.want) << static_cast<int>(c.position);
        EXPECT_EQ(WindowRect().Width(), w);
    }
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // Below the screen: lifted to the reference's bottom edge; past the right edge: to its right edge.
    KVXPlaceWindow(form_->Handle(), {0, sh - 50, 300, sh - 10}, P::bpTopLeft);
    EXPECT_EQ(WindowRect().TopLeft(), (TPoint{0, sh - 10 - h}));
    KVXPlaceWindow(form_->Handle(), {sw - 60, 0, sw - 20, 40}, P::bpTopLeft);
    EXPECT_EQ(WindowRect().TopLeft(), (TPoint{sw - 20 - w, 0}));
    // A negative coordinate becomes 0.
    KVXPlaceWindow(form_->Handle(), {-300, -200, 100, 100}, P::bpTopLeft);
    EXPECT_EQ(WindowRect().TopLeft(), (TPoint{0, 0}));
}

TEST_F(KVXWindows, CentreAndReferenceRectangles) {
    KVXCenterOnScreen(form_);
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(form_->BoundsRect(), fw::Bounds((sw - 200) / 2, (sh - 120) / 2, 200, 120));
    TRect r;
    KVXReferenceRect(TKVXDlgPosRel::brScreen, r);
    EXPECT_EQ(r, (TRect{0, 0, sw, sh}));
    KVXReferenceRect(TKVXDlgPosRel::brScreenWorkArea, r);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(r, (TRect{work.left, work.top, work.right, work.bottom}));
    KVXReferenceRect(TKVXDlgPosRel::brActiveWindow, r);  // no active form: the screen
    EXPECT_EQ(r, (TRect{0, 0, sw, sh}));
    KVXCenterOnScreen(nullptr);
}

// The root window as the X server holds it (an independent grab), raw RGB.
std::string Grab(const CaseDir& d, const std::string& name) {
    EXPECT_EQ(test::RunUnix(d, "import -window root -depth 8 rgb:" + name + " 2>/dev/null"), 0) << "import (imagemagick)";
    return mx::test::ReadFile(d.win + "\\" + name);
}

TEST_F(KVXWindows, ExplodePassesLeaveTheScreenAsItWas) {
    const CaseDir d = test::NewCaseDir();
    form_->SetBounds(300, 200, 200, 150);
    const TRect target = WindowRect();
    const std::string before = Grab(d, "before.rgb");
    ASSERT_FALSE(before.empty());
    fw::TBitmap screenBefore, screenOne, screenTwo;
    KVXGrabScreen(&screenBefore, {0, 0, 600, 400});

    // One pass leaves its outlines on the screen; the same pass again erases them.
    const auto rects = KVXExplodeRects(20, 20, 10, target);
    KVXDrawOutlines(rects, 1);
    KVXGrabScreen(&screenOne, {0, 0, 600, 400});
    const std::string one = Grab(d, "one.rgb");
    KVXDrawOutlines(rects, 1);
    KVXGrabScreen(&screenTwo, {0, 0, 600, 400});
    EXPECT_NE(screenOne.SaveToBytes(), screenBefore.SaveToBytes());
    EXPECT_EQ(screenTwo.SaveToBytes(), screenBefore.SaveToBytes());
    EXPECT_NE(one, before) << "the outlines reached the display";
    EXPECT_EQ(Grab(d, "two.rgb"), before);

    // The whole effects: two passes each.
    KVXExplodeEffect(form_, 20, 20, 10, 1);
    KVXExplodeExtEffect(form_, 700, 500, 8, 20, 10, 1, true);
    KVXExplode(form_);
    EXPECT_EQ(Grab(d, "after.rgb"), before);
    KVXExplodeEffect(nullptr, 0, 0, 10, 1);
}

TEST_F(KVXWindows, EffectPauseIsNotOptimisedAway) {
    const auto start = std::chrono::steady_clock::now();
    KVXEffectPause(2000);  // 20 million counts of an empty loop in an optimised build
    EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2));
}

}  // namespace
}  // namespace kvx::win32
