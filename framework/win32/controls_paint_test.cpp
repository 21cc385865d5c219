// Painting of windowless children: z-order, clipping and offset; Invalidate and Repaint semantics;
// PaintControlBackground.
#include <gtest/gtest.h>

#include "framework/win32/controls_test_support.h"

namespace fw {
namespace {

using testing::DibSurface;
using testing::MakeHost;
using testing::Pump;
using testing::TBox;
using testing::THost;

// One host window for the suite: destroying a top-level window costs Wine a wait for the X server.
class ControlsPaint : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterControlClasses();
        sharedHost = MakeHost(40, 40, 200, 150);
    }
    static void TearDownTestSuite() {
        sharedHost->Free();
        sharedHost = nullptr;
        Pump();
    }
    void SetUp() override {
        host = sharedHost;
        host->SetColor(clWhite);
    }
    void TearDown() override {
        while (host->ControlCount() > 0) host->Controls(host->ControlCount() - 1)->Free();
        Pump();
    }
    static inline THost* sharedHost = nullptr;
    TBox* AddBox(TRect bounds, TColor fill) {
        auto* box = Make<TBox>(nullptr);
        box->SetBoundsRect(bounds);
        box->Fill = fill;
        box->SetParent(host);
        return box;
    }
    // Paints the host as Windows would (erase, then paint) into a fresh surface.
    void PaintInto(DibSurface& surface) {
        surface.Clear(clBlack);
        host->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0);
        host->Perform(WM_PAINT, reinterpret_cast<WPARAM>(surface.DC()), 0);
    }
    THost* host = nullptr;
};

TEST_F(ControlsPaint, WindowlessChildrenPaintInZOrderClippedAndOffset) {
    TBox* red = AddBox(Bounds(10, 10, 60, 40), clRed);
    TBox* green = AddBox(Bounds(40, 20, 60, 40), clLime);
    TBox* blue = AddBox(Bounds(120, 90, 30, 20), clBlue);
    blue->Overpaint = true;  // fills far beyond its rectangle; the parent clips it

    DibSurface surface(200, 150);
    PaintInto(surface);
    EXPECT_EQ(surface.Pixel(5, 5), clWhite) << "the parent's background";
    EXPECT_EQ(surface.Pixel(15, 15), clRed);
    EXPECT_EQ(surface.Pixel(50, 30), clLime) << "the later child lies above";
    EXPECT_EQ(surface.Pixel(90, 55), clLime);
    EXPECT_EQ(surface.Pixel(120, 90), clBlue) << "offset to the child's top-left";
    EXPECT_EQ(surface.Pixel(149, 109), clBlue);
    EXPECT_EQ(surface.Pixel(119, 89), clWhite) << "clipped to the child's rectangle";
    EXPECT_EQ(surface.Pixel(150, 110), clWhite);
    EXPECT_EQ(surface.Pixel(10, 100), clWhite);

    red->BringToFront();
    PaintInto(surface);
    EXPECT_EQ(surface.Pixel(50, 30), clRed);
    red->SendToBack();
    PaintInto(surface);
    EXPECT_EQ(surface.Pixel(50, 30), clLime);

    green->SetVisible(false);
    PaintInto(surface);
    EXPECT_EQ(surface.Pixel(50, 30), clRed);
    EXPECT_EQ(surface.Pixel(90, 55), clWhite) << "an invisible child is not painted";
}

TEST_F(ControlsPaint, RealWindowShowsChildrenAfterUpdate) {
    AddBox(Bounds(10, 10, 60, 40), clRed);
    AddBox(Bounds(40, 20, 60, 40), clLime);
    host->Invalidate();
    host->Update();
    HWND window = host->Handle();
    EXPECT_EQ(testing::WindowPixel(window, 5, 5), clWhite);
    EXPECT_EQ(testing::WindowPixel(window, 15, 15), clRed);
    EXPECT_EQ(testing::WindowPixel(window, 50, 30), clLime);
}

// Scribbles over the child's area straight into the window, behind the framework's back.
void Scribble(HWND window, const TRect& r) {
    HDC dc = GetDC(window);
    RECT rc{r.Left, r.Top, r.Right, r.Bottom};
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

TEST_F(ControlsPaint, NonOpaqueInvalidateErasesOpaqueDoesNot) {
    TBox* clear = AddBox(Bounds(10, 10, 40, 40), clNone);  // paints nothing
    TBox* opaque = AddBox(Bounds(100, 10, 40, 40), clNone);
    opaque->SetStyle(opaque->Style() | csOpaque);
    host->Repaint();
    HWND window = host->Handle();
    Scribble(window, clear->BoundsRect());
    Scribble(window, opaque->BoundsRect());
    ASSERT_EQ(testing::WindowPixel(window, 20, 20), clFuchsia);

    // One at a time: a window has one erase flag for its whole update region.
    const int before = opaque->paints;
    opaque->Invalidate();
    host->Update();
    EXPECT_EQ(testing::WindowPixel(window, 110, 20), clFuchsia)
        << "an opaque child paints its whole rectangle, so nobody erases below it";
    EXPECT_EQ(opaque->paints, before + 1);
    clear->Invalidate();
    host->Update();
    EXPECT_EQ(testing::WindowPixel(window, 20, 20), clWhite) << "the parent erased below a transparent child";
}

TEST_F(ControlsPaint, OpaqueRepaintPaintsAtOnce) {
    TBox* opaque = AddBox(Bounds(100, 10, 40, 40), clBlue);
    opaque->SetStyle(opaque->Style() | csOpaque);
    host->Repaint();
    HWND window = host->Handle();
    opaque->Fill = clLime;
    const int before = opaque->paints;
    opaque->Repaint();  // no message loop runs
    EXPECT_EQ(opaque->paints, before + 1);
    EXPECT_EQ(testing::WindowPixel(window, 110, 20), clLime);
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(window, &pending, FALSE)) << "painted directly, not through WM_PAINT";

    // A transparent child invalidates and updates instead: the paint still happens before Repaint returns.
    TBox* clear = AddBox(Bounds(10, 10, 40, 40), clRed);
    host->Update();
    const int clearBefore = clear->paints;
    clear->Fill = clBlue;
    clear->Repaint();
    EXPECT_EQ(clear->paints, clearBefore + 1);
    EXPECT_EQ(testing::WindowPixel(window, 20, 20), clBlue);
}

TEST_F(ControlsPaint, PaintControlBackgroundPaintsWhatLiesBelow) {
    host->SetColor(clYellow);
    AddBox(Bounds(0, 0, 30, 150), clRed);          // below the target, overlapping its left part
    TBox* target = AddBox(Bounds(20, 20, 40, 40), clBlue);
    AddBox(Bounds(50, 0, 30, 150), clLime);        // above the target: must not appear
    DibSurface surface(40, 40);
    surface.Clear(clBlack);
    PaintControlBackground(target, surface.DC());
    EXPECT_EQ(surface.Pixel(5, 5), clRed) << "sibling below, at the target's origin";
    EXPECT_EQ(surface.Pixel(15, 5), clYellow) << "the parent's background";
    EXPECT_EQ(surface.Pixel(35, 5), clYellow) << "siblings above the target are left out";
    EXPECT_EQ(target->paints, 0) << "the target itself is not painted";
    EXPECT_FALSE(target->ControlState() & csPaintCopy);
}

TEST_F(ControlsPaint, CanvasDrawsOnAWindowlessControlOutsidePaint) {
    host->Repaint();
    HWND window = host->Handle();
    std::vector<TBox*> boxes;
    for (int i = 0; i < 6; ++i) boxes.push_back(AddBox(Bounds(10 + 30 * i, 100, 20, 20), clNone));
    host->Update();
    // More canvases than the DCs held at once: each still draws in its own place, clipped to itself.
    for (TBox* box : boxes) {
        box->Canvas()->Brush()->SetColor(clRed);
        box->Canvas()->FillRect(Rect(-50, -50, 100, 100));
    }
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(testing::WindowPixel(window, 10 + 30 * i, 100), clRed) << i;
        EXPECT_EQ(testing::WindowPixel(window, 10 + 30 * i + 19, 119), clRed) << i;
        EXPECT_EQ(testing::WindowPixel(window, 10 + 30 * i + 20, 119), clWhite) << i;
        EXPECT_EQ(testing::WindowPixel(window, 10 + 30 * i, 99), clWhite) << i;
    }
}

TEST_F(ControlsPaint, EraseFillsWithColorAndColorChangeReachesChildren) {
    TBox* child = AddBox(Bounds(10, 10, 20, 20), clNone);
    child->SetParentColor(true);
    host->SetColor(clNavy);
    EXPECT_EQ(child->Color(), clNavy);
    EXPECT_TRUE(child->ParentColor());
    DibSurface surface(200, 150);
    surface.Clear(clBlack);
    host->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.DC()), 0);
    EXPECT_EQ(surface.Pixel(100, 100), clNavy);
    child->SetColor(clRed);
    EXPECT_FALSE(child->ParentColor());
    host->SetColor(clGreen);
    EXPECT_EQ(child->Color(), clRed);
}

}  // namespace
}  // namespace fw
