// The canvas and its tools: pixel-exact shapes in a DIB section, text measures, fonts, foreign DCs.
#include <gtest/gtest.h>

#include "framework/win32/graphics.h"
#include "framework/win32/graphics_test_util.h"

namespace {

using namespace fw;
using gfxtest::RgbAt;

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF, kLime = 0x00FF00;

// A white 24-bit DIB section of w x h.
void WhiteBitmap(TBitmap& b, int w, int h) {
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(w, h);
}

// Every pixel of `r` (exclusive right and bottom) has colour `c`.
void ExpectArea(TBitmap& b, const TRect& r, uint32_t c) {
    BmpImage image = b.ToImage();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) ASSERT_EQ(image.Pixel(x, y) & 0xFFFFFF, c) << x << "," << y;
}

TEST(Canvas, RectanglesAndLinesArePixelExact) {
    TBitmap b;
    WhiteBitmap(b, 40, 30);
    TCanvas* c = b.Canvas();

    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(2, 3, 6, 5));  // right and bottom excluded
    ExpectArea(b, Rect(2, 3, 6, 5), kRed);
    EXPECT_EQ(RgbAt(b, 6, 3), kWhite);
    EXPECT_EQ(RgbAt(b, 2, 5), kWhite);
    EXPECT_EQ(RgbAt(b, 1, 3), kWhite);

    // Rectangle: a one-pixel pen frame inside the bounds, brush within.
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(10, 2, 20, 9);
    ExpectArea(b, Rect(10, 2, 20, 3), kBlack);
    ExpectArea(b, Rect(10, 8, 20, 9), kBlack);
    ExpectArea(b, Rect(10, 2, 11, 9), kBlack);
    ExpectArea(b, Rect(19, 2, 20, 9), kBlack);
    ExpectArea(b, Rect(11, 3, 19, 8), kBlue);
    EXPECT_EQ(RgbAt(b, 20, 5), kWhite);
    EXPECT_EQ(RgbAt(b, 15, 9), kWhite);

    // FrameRect: the brush's one-pixel border, the inside untouched.
    c->Brush()->SetColor(clLime);
    c->FrameRect(Rect(22, 2, 30, 8));
    ExpectArea(b, Rect(22, 2, 30, 3), kLime);
    ExpectArea(b, Rect(22, 7, 30, 8), kLime);
    ExpectArea(b, Rect(22, 2, 23, 8), kLime);
    ExpectArea(b, Rect(29, 2, 30, 8), kLime);
    ExpectArea(b, Rect(23, 3, 29, 7), kWhite);
    EXPECT_EQ(RgbAt(b, 30, 4), kWhite);

    // Lines leave out their end point; PenPos follows.
    c->Pen()->SetColor(clRed);
    c->MoveTo(0, 20);
    c->LineTo(10, 20);
    ExpectArea(b, Rect(0, 20, 10, 21), kRed);
    EXPECT_EQ(RgbAt(b, 10, 20), kWhite);
    EXPECT_EQ(c->PenPos(), Point(10, 20));
    c->LineTo(10, 25);
    ExpectArea(b, Rect(10, 20, 11, 25), kRed);
    EXPECT_EQ(RgbAt(b, 10, 25), kWhite);
    const TPoint poly[] = {{30, 20}, {35, 20}, {35, 24}};
    c->Polyline(poly);
    ExpectArea(b, Rect(30, 20, 35, 21), kRed);
    ExpectArea(b, Rect(35, 20, 36, 24), kRed);
    EXPECT_EQ(RgbAt(b, 35, 24), kWhite);

    // A clear pen draws no frame; a clear brush fills nothing.
    c->Pen()->SetStyle(TPenStyle::psClear);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(2, 10, 6, 14);
    ExpectArea(b, Rect(2, 10, 5, 13), kBlue);  // a null pen leaves right and bottom edge out
    c->Pen()->SetStyle(TPenStyle::psSolid);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(2, 15, 7, 19);
    ExpectArea(b, Rect(3, 16, 6, 18), kWhite);
    ExpectArea(b, Rect(2, 15, 7, 16), kBlack);
}

TEST(Canvas, EllipseFillsInsideItsBoundsSymmetrically) {
    TBitmap b;
    WhiteBitmap(b, 30, 30);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Ellipse(5, 5, 25, 21);
    EXPECT_EQ(RgbAt(b, 15, 13), kRed);
    EXPECT_EQ(RgbAt(b, 5, 5), kWhite);   // corners of the bounds stay
    EXPECT_EQ(RgbAt(b, 24, 20), kWhite);
    EXPECT_EQ(RgbAt(b, 15, 5), kBlack);  // the frame touches the middle of each side
    EXPECT_EQ(RgbAt(b, 15, 20), kBlack);
    EXPECT_EQ(RgbAt(b, 5, 13), kBlack);
    EXPECT_EQ(RgbAt(b, 24, 13), kBlack);
    EXPECT_EQ(RgbAt(b, 15, 21), kWhite);
    EXPECT_EQ(RgbAt(b, 25, 13), kWhite);
    BmpImage image = b.ToImage();
    for (int y = 5; y < 21; ++y)
        for (int x = 5; x < 25; ++x)
            ASSERT_EQ(image.Pixel(x, y), image.Pixel(29 - x, y)) << x << "," << y;  // mirror about x = 14.5

    // FloodFill spreads over the surface colour up to the frame.
    c->Brush()->SetColor(clBlue);
    c->FloodFill(15, 13, clRed, TFillStyle::fsSurface);
    EXPECT_EQ(RgbAt(b, 15, 13), kBlue);
    EXPECT_EQ(RgbAt(b, 8, 13), kBlue);
    EXPECT_EQ(RgbAt(b, 2, 2), kWhite);
}

TEST(Canvas, PixelsReadAndWrite) {
    TBitmap b;
    WhiteBitmap(b, 8, 8);
    TCanvas* c = b.Canvas();
    c->SetPixels(3, 4, clRed);
    c->SetPixels(7, 7, fw::RGB(1, 2, 3));
    EXPECT_EQ(c->Pixels(3, 4), clRed);
    EXPECT_EQ(c->Pixels(7, 7), fw::RGB(1, 2, 3));
    EXPECT_EQ(c->Pixels(0, 0), clWhite);
    EXPECT_EQ(c->Pixels(8, 0), clNone);  // outside the picture
    EXPECT_EQ(RgbAt(b, 3, 4), kRed);
    c->SetPixels(1, 1, clBtnFace);  // system colours resolve
    EXPECT_EQ(c->Pixels(1, 1), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(c->ClipRect(), Rect(0, 0, 8, 8));
}

TEST(Canvas, ForeignDcIsHandedBackAsItCame) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, dib);
    HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ pen0 = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ brush0 = GetCurrentObject(dc, OBJ_BRUSH);

    {
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(clRed);
        canvas.Pen()->SetColor(clBlue);
        canvas.Rectangle(0, 0, 8, 8);
        canvas.Font()->SetName("Arial");
        canvas.TextOut(0, 8, "x");
        EXPECT_NE(GetCurrentObject(dc, OBJ_BRUSH), brush0);
        canvas.Brush()->SetColor(clLime);  // a change while selected puts the DC's own brush back
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
        canvas.FillRect(Rect(8, 0, 16, 8));
        GdiFlush();
        EXPECT_EQ(static_cast<uint32_t*>(bits)[4 * 16 + 4] & 0xFFFFFF, kRed);
        EXPECT_EQ(static_cast<uint32_t*>(bits)[0] & 0xFFFFFF, kBlue);
        EXPECT_EQ(static_cast<uint32_t*>(bits)[4 * 16 + 12] & 0xFFFFFF, kLime);
    }  // the canvas dies while the DC lives on
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));  // not released or deleted
    EXPECT_EQ(GetPixel(dc, 4, 4), static_cast<COLORREF>(clRed));

    TCanvas second;
    second.SetHandle(dc);
    second.Brush()->SetColor(clYellow);
    second.FillRect(Rect(0, 0, 1, 1));
    second.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    EXPECT_FALSE(second.HandleAllocated());
    EXPECT_THROW(second.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);  // no DC, and none to create

    SelectObject(dc, oldBitmap);
    DeleteObject(dib);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Canvas, ChangeEventsAndLock) {
    TBitmap b;
    WhiteBitmap(b, 4, 4);
    TCanvas* c = b.Canvas();
    struct Counter {
        int changing = 0, changed = 0;
        void Changing(TObject*) { ++changing; }
        void Changed(TObject*) { ++changed; }
    } counter;
    c->OnChanging.Bind(&counter, &Counter::Changing);
    c->OnChange.Bind(&counter, &Counter::Changed);
    int bitmapChanges = 0;
    b.OnChange.Bind(&bitmapChanges, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    c->FillRect(Rect(0, 0, 2, 2));
    c->Polygon(std::vector<TPoint>{{0, 0}, {3, 0}, {0, 3}});
    EXPECT_EQ(counter.changing, 2);
    EXPECT_EQ(counter.changed, 2);
    EXPECT_EQ(bitmapChanges, 2);
    c->Lock();
    c->Lock();
    EXPECT_EQ(c->LockCount(), 2);
    c->Unlock();
    c->Unlock();
    EXPECT_EQ(c->LockCount(), 0);
    EXPECT_TRUE(c->TryLock());
    c->Unlock();
}

TEST(Font, DefaultsAndSizeHeightConversion) {
    TFont f;
    EXPECT_EQ(f.Name(), "MS Sans Serif");
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Color(), clWindowText);
    EXPECT_EQ(f.Charset(), DEFAULT_CHARSET);
    EXPECT_TRUE(f.Style().Empty());
    f.SetPixelsPerInch(96);
    struct {
        int ppi, size, height;
    } const table[] = {{96, 8, -11}, {96, 10, -13}, {96, 12, -16}, {96, 24, -32}, {120, 8, -13}, {120, 10, -17},
                       {144, 8, -16}, {72, 9, -9}};
    for (const auto& t : table) {
        SCOPED_TRACE(std::to_string(t.ppi) + " ppi, " + std::to_string(t.size) + " pt");
        f.SetPixelsPerInch(t.ppi);
        f.SetSize(t.size);
        EXPECT_EQ(f.Height(), t.height);
        EXPECT_EQ(f.Size(), t.size);
    }
    f.SetPixelsPerInch(96);
    f.SetHeight(-11);
    EXPECT_EQ(f.Size(), 8);
    f.SetHeight(20);  // a cell height reads back as a negative size
    EXPECT_EQ(f.Size(), -15);
}

TEST(Font, HandleFollowsAttributesAndSetHandleTakesOwnership) {
    TFont f;
    int changes = 0;
    f.OnChange.Bind(&changes, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    f.SetName("Arial");
    f.SetHeight(-20);
    f.SetStyle({TFontStyle::fsBold, TFontStyle::fsItalic});
    f.SetName("Arial");  // no change, no event
    EXPECT_EQ(changes, 3);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(f.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfHeight, -20);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);

    LOGFONTA mine{};
    mine.lfHeight = -17;
    mine.lfWeight = FW_NORMAL;
    mine.lfUnderline = 1;
    mine.lfStrikeOut = 1;
    mine.lfCharSet = ANSI_CHARSET;
    lstrcpyA(mine.lfFaceName, "Courier New");
    HFONT own = CreateFontIndirectA(&mine);
    {
        TFont g;
        struct Seen {
            TFont* font;
            HFONT handle = nullptr;
        } seen{&g};
        g.OnChange.Bind(&seen, [](void* p, TObject*) {
            auto* s = static_cast<Seen*>(p);
            s->handle = s->font->Handle();  // a listener asking during the change gets the new font
        });
        g.SetHandle(own);
        EXPECT_EQ(seen.handle, own);
        EXPECT_EQ(g.Handle(), own);
        EXPECT_EQ(g.Name(), "Courier New");
        EXPECT_EQ(g.Height(), -17);
        EXPECT_EQ(g.Charset(), ANSI_CHARSET);
        EXPECT_EQ(g.Style(), (TFontStyles{TFontStyle::fsUnderline, TFontStyle::fsStrikeOut}));
        TFont h;
        h.Assign(&g);
        EXPECT_EQ(h.Name(), "Courier New");
        EXPECT_EQ(h.Style(), g.Style());
        EXPECT_NE(h.Handle(), own);  // a copy of the attributes, with a font of its own
    }
    EXPECT_EQ(GetObjectType(own), 0u);  // the font that took it deleted it
}

TEST(Canvas, TextMeasuresAreSane) {
    TBitmap b;
    WhiteBitmap(b, 200, 60);
    TCanvas* c = b.Canvas();
    c->Font()->SetName("Arial");
    c->Font()->SetHeight(-16);
    const int wide = c->TextWidth("WWWW");
    const int narrow = c->TextWidth("iiii");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, narrow);
    EXPECT_NEAR(c->TextWidth("ab") + c->TextWidth("cd"), c->TextWidth("abcd"), 2);
    EXPECT_EQ(c->TextWidth(""), 0);
    const int small = c->TextHeight("Xg");
    EXPECT_GE(small, 16);
    EXPECT_EQ(c->TextHeight(""), small);
    c->Font()->SetHeight(-32);
    EXPECT_GT(c->TextHeight("Xg"), small * 3 / 2);
    EXPECT_GT(c->TextWidth("WWWW"), wide * 3 / 2);
    EXPECT_EQ(c->TextExtent("abc").cx, c->TextWidth("abc"));

    // TextOut paints the text in the font colour on the brush; a clear brush keeps the background.
    c->Font()->SetColor(clBlack);
    c->Brush()->SetColor(clYellow);
    c->TextOut(2, 2, "H");
    EXPECT_EQ(RgbAt(b, 2, 2), 0xFFFF00u);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->TextOut(100, 2, "H");
    EXPECT_EQ(RgbAt(b, 100, 2), 0xFFFFFFu);
    int black = 0;
    BmpImage image = b.ToImage();
    for (int y = 0; y < 40; ++y)
        for (int x = 100; x < 130; ++x) black += (image.Pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_GT(black, 10);
    // TextRect clips to its rectangle.
    c->Brush()->SetColor(clRed);
    c->TextRect(Rect(50, 40, 60, 50), 45, 40, "WWWWWW");
    EXPECT_EQ(RgbAt(b, 49, 45), 0xFFFFFFu);
    EXPECT_EQ(RgbAt(b, 60, 45), 0xFFFFFFu);
}

TEST(Canvas, CopyRectStretchDrawAndBrushCopy) {
    TBitmap src;
    WhiteBitmap(src, 4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 2, 4));
    TBitmap dst;
    WhiteBitmap(dst, 16, 16);
    dst.Canvas()->CopyRect(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(RgbAt(dst, 1, 1), kRed);
    EXPECT_EQ(RgbAt(dst, 3, 1), kWhite);
    dst.Canvas()->StretchDraw(Rect(8, 8, 16, 16), &src);  // twice the size
    ExpectArea(dst, Rect(8, 8, 12, 16), kRed);
    ExpectArea(dst, Rect(12, 8, 16, 16), kWhite);
    // BrushCopy paints the brush where the source has the colour.
    dst.Canvas()->Brush()->SetColor(clBlue);
    dst.Canvas()->BrushCopy(Rect(0, 8, 4, 12), &src, Rect(0, 0, 4, 4), clWhite);
    ExpectArea(dst, Rect(0, 8, 2, 12), kRed);
    ExpectArea(dst, Rect(2, 8, 4, 12), kBlue);
    dst.Canvas()->SetCopyMode(cmNotSrcCopy);
    dst.Canvas()->Draw(4, 0, &src);
    EXPECT_EQ(RgbAt(dst, 4, 0), 0x00FFFFu);  // red inverted
    EXPECT_EQ(RgbAt(dst, 7, 0), kBlack);
}

TEST(Canvas, PenModesCombinePenAndBackgroundAsNamed) {
    const uint32_t B = 0x00C0F0, P = 0x3366AA;  // background and pen, as 0xRRGGBB
    const struct {
        TPenMode mode;
        uint32_t want;
    } table[] = {
        {TPenMode::pmBlack, 0},         {TPenMode::pmWhite, 0xFFFFFF},     {TPenMode::pmNop, B},
        {TPenMode::pmNot, ~B},          {TPenMode::pmCopy, P},             {TPenMode::pmNotCopy, ~P},
        {TPenMode::pmMergePenNot, P | ~B}, {TPenMode::pmMaskPenNot, P & ~B}, {TPenMode::pmMergeNotPen, ~P | B},
        {TPenMode::pmMaskNotPen, ~P & B}, {TPenMode::pmMerge, P | B},      {TPenMode::pmNotMerge, ~(P | B)},
        {TPenMode::pmMask, P & B},      {TPenMode::pmNotMask, ~(P & B)},   {TPenMode::pmXor, P ^ B},
        {TPenMode::pmNotXor, ~(P ^ B)},
    };
    TBitmap b;
    WhiteBitmap(b, 20, 20);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(fw::RGB(P >> 16, (P >> 8) & 255, P & 255));
    int y = 1;
    for (const auto& t : table) {
        c->Pen()->SetMode(TPenMode::pmCopy);
        c->Brush()->SetColor(fw::RGB(B >> 16, (B >> 8) & 255, B & 255));
        c->FillRect(Rect(0, y, 20, y + 1));
        c->Pen()->SetMode(t.mode);
        c->MoveTo(2, y);
        c->LineTo(10, y);
        EXPECT_EQ(RgbAt(b, 5, y), t.want & 0xFFFFFF) << "mode " << static_cast<int>(t.mode);
        EXPECT_EQ(RgbAt(b, 12, y), B) << "mode " << static_cast<int>(t.mode);
        ++y;
    }
    // Xor twice gives the background back.
    c->Pen()->SetMode(TPenMode::pmXor);
    c->MoveTo(0, 19);
    c->LineTo(20, 19);
    c->MoveTo(0, 19);
    c->LineTo(20, 19);
    EXPECT_EQ(RgbAt(b, 7, 19), kWhite);
}

TEST(Canvas, PenStylesWidthsAndHatchedBrushes) {
    TBitmap b;
    WhiteBitmap(b, 60, 40);
    TCanvas* c = b.Canvas();
    c->Pen()->SetColor(clBlack);
    c->Pen()->SetStyle(TPenStyle::psDash);
    c->MoveTo(0, 1);
    c->LineTo(60, 1);
    int black = 0;
    for (int x = 0; x < 60; ++x) black += RgbAt(b, x, 1) == kBlack;
    EXPECT_GT(black, 10);  // dashes...
    EXPECT_LT(black, 55);  // ...with gaps
    c->Pen()->SetStyle(TPenStyle::psClear);
    c->MoveTo(0, 3);
    c->LineTo(60, 3);
    ExpectArea(b, Rect(0, 3, 60, 4), kWhite);

    // A wide inside-frame pen keeps the frame within the bounds.
    c->Pen()->SetStyle(TPenStyle::psInsideFrame);
    c->Pen()->SetWidth(3);
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(10, 10, 30, 30);
    ExpectArea(b, Rect(13, 10, 27, 13), kBlack);  // corners are round with a wide pen
    ExpectArea(b, Rect(13, 27, 27, 30), kBlack);
    ExpectArea(b, Rect(10, 13, 13, 27), kBlack);
    EXPECT_EQ(RgbAt(b, 9, 20), kWhite);
    EXPECT_EQ(RgbAt(b, 30, 20), kWhite);
    EXPECT_EQ(RgbAt(b, 20, 9), kWhite);
    EXPECT_EQ(RgbAt(b, 20, 20), kWhite);

    // A hatched brush paints its lines in the colour and leaves the rest.
    c->Brush()->SetColor(clRed);
    c->Brush()->SetStyle(TBrushStyle::bsHorizontal);
    EXPECT_EQ(c->Brush()->Style(), TBrushStyle::bsHorizontal);
    c->FillRect(Rect(40, 10, 56, 26));
    int red = 0, white = 0;
    for (int y = 10; y < 26; ++y) {
        uint32_t p = RgbAt(b, 45, y);
        red += p == kRed;
        white += p == kWhite;
        EXPECT_EQ(RgbAt(b, 50, y), p);  // horizontal lines: the same along a row
    }
    EXPECT_GT(red, 0);
    EXPECT_GT(white, 0);
    EXPECT_EQ(red + white, 16);
    // A colour makes a clear brush solid again.
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Brush()->SetColor(clBlue);
    EXPECT_EQ(c->Brush()->Style(), TBrushStyle::bsSolid);
}

TEST(Bitmap, PaletteSetsTheColourTable) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf4bit);
    b.SetSize(4, 1);
    ASSERT_NE(b.Palette(), nullptr);
    struct {
        WORD version, count;
        PALETTEENTRY entries[4];
    } lp{0x300, 4, {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}, {200, 210, 220, 0}}};
    b.SetPalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
    BmpImage image = b.ToImage();
    ASSERT_GE(image.palette.size(), 4u);
    EXPECT_EQ(image.palette[0], 0x0A141Eu);
    EXPECT_EQ(image.palette[3], 0xC8D2DCu);
    b.Canvas()->SetPixels(2, 0, fw::RGB(70, 80, 90));
    EXPECT_EQ(b.ToImage().indices[2], 2);
}

TEST(Colors, ColorToRgbResolvesSystemColours) {
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_EQ(ColorToRGB(clWindow), static_cast<TColor>(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clNone), clBlack);
}

}  // namespace
