// Caption effects and the glyph-and-text layout, drawn in the system's bitmap font "MS Sans Serif" so
// that every pass of an effect is an exact shift of the plain text.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "widgets/drawgeometry.h"
#include "widgets/glyphlayout.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/testsupport/dibcanvas.h"

namespace kvx::win32 {
namespace {

using test::SysColor;
using test::TDibCanvas;

constexpr TColor kWhite = fw::clWhite;
constexpr uint32_t kLine = kDtSingleLine | kDtNoPrefix;
const std::string kText = "Hello, Caption";

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Where(const TDibCanvas& d, TColor color) {
    PixelSet out;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x)
            if (d.Pixel(x, y) == color) out.insert({x, y});
    return out;
}

PixelSet Shifted(const PixelSet& s, int d) {
    PixelSet out;
    for (const auto& [x, y] : s) out.insert({x + d, y + d});
    return out;
}

PixelSet Minus(const PixelSet& a, const PixelSet& b) {
    PixelSet out;
    for (const auto& p : a)
        if (!b.count(p)) out.insert(p);
    return out;
}

// The plain text in black with its rectangle's left-top at (X, Y).
PixelSet Plain(int x, int y, uint32_t format = kLine, int right = 200) {
    TDibCanvas d(220, 50);
    d.Canvas()->Font()->SetHandle(test::RasterSansSerif());
    d.Canvas()->Font()->SetColor(fw::clBlack);
    d.Canvas()->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    KVXDrawCaptionText(d.Canvas(), kText, nullptr, {x, y, right, 45}, format, ktfEnabled, nullptr);
    return Where(d, fw::clBlack);
}

struct Drawn {
    PixelSet text, light, shadow, gray;
};

Drawn Draw(TKVX3DCaption& caption, uint16_t flags, uint32_t format = kLine) {
    TDibCanvas d(220, 50);
    d.Canvas()->Font()->SetHandle(test::RasterSansSerif());
    d.Canvas()->Font()->SetColor(fw::clBlack);
    KVXDrawCaptionText(d.Canvas(), kText, &caption, {10, 10, 200, 45}, format, flags, nullptr);
    return {Where(d, fw::clBlack), Where(d, fw::clRed), Where(d, fw::clBlue), Where(d, SysColor(fw::clGrayText))};
}

void MakeEffect(TKVX3DCaption& c, TKVXThreeDStyle style, uint8_t light, uint8_t shadow) {
    c.SetStyle(style);
    c.SetDepth(0, light);
    c.SetDepth(1, shadow);
    c.SetColor(0, fw::clRed);
    c.SetColor(1, fw::clBlue);
}

TEST(KVXCaptions, FontIsTheBitmapFont) {
    fw::TFont font;
    font.SetHandle(test::RasterSansSerif());
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_FALSE(KVXIsTrueTypeFont(&font)) << "the bitmap fonts come with the package fonts-wine";
    ASSERT_GT(Plain(10, 10).size(), 20u);
}

TEST(KVXCaptions, RaisedAndShadowPassesAreShiftsOfOneAnother) {
    // tdRaised, LightDepth 2: the light copy at the rectangle, the text 2 right and down.
    TKVX3DCaption raised;
    MakeEffect(raised, TKVXThreeDStyle::tdRaised, 2, 1);
    const Drawn r = Draw(raised, ktfEnabled);
    const PixelSet text = Plain(12, 12);
    EXPECT_EQ(r.text, text);
    EXPECT_EQ(r.light, Minus(Shifted(text, -2), text));
    EXPECT_TRUE(r.shadow.empty());
    // tdShadow, ShadowDepth 3: the shadow 3 right and down, the text at the rectangle.
    TKVX3DCaption shadowed;
    MakeEffect(shadowed, TKVXThreeDStyle::tdShadow, 1, 3);
    const Drawn s = Draw(shadowed, ktfEnabled);
    const PixelSet at = Plain(10, 10);
    EXPECT_EQ(s.text, at);
    EXPECT_EQ(s.shadow, Minus(Shifted(at, 3), at));
    // The right edge is pulled in by the depth for right-aligned text: moved 2 right and down, the text
    // ends where plain text in the rectangle does.
    const Drawn right = Draw(raised, ktfEnabled, kLine | kDtRight);
    EXPECT_EQ(right.text, Plain(10, 12, kLine | kDtRight));
}

TEST(KVXCaptions, DisabledLooks) {
    TKVX3DCaption raised;
    MakeEffect(raised, TKVXThreeDStyle::tdRaised, 2, 1);
    // dsAuto without the 3D bit: the caption's own style, the text in clGrayText.
    const Drawn keep = Draw(raised, 0);
    EXPECT_TRUE(keep.text.empty());
    EXPECT_EQ(keep.gray, Plain(12, 12));
    EXPECT_FALSE(keep.light.empty());
    // dsAuto with the 3D bit: sunken, the light copy right and down of the gray text.
    const Drawn sunken = Draw(raised, ktf3DDisabled);
    const PixelSet at = Plain(10, 10);
    EXPECT_EQ(sunken.gray, at);
    EXPECT_EQ(sunken.light, Minus(Shifted(at, 2), at));
    // dsNone draws as if enabled.
    raised.SetDisabledStyle(TKVXDisabledStyle::dsNone);
    EXPECT_EQ(Draw(raised, 0).text, Plain(12, 12));
}

TEST(KVXCaptions, ClippingAndNoText) {
    TKVX3DCaption c;
    MakeEffect(c, TKVXThreeDStyle::tdShadow, 1, 3);
    TDibCanvas d(220, 50);
    d.Canvas()->Font()->SetColor(fw::clBlack);
    const TRect clip{10, 10, 40, 45};
    KVXDrawCaptionText(d.Canvas(), kText, &c, {10, 10, 200, 45}, kLine, ktfEnabled | ktfClip, &clip);
    for (const auto& [x, y] : Where(d, fw::clBlack)) EXPECT_LT(x, 40);
    EXPECT_FALSE(Where(d, fw::clBlack).empty());
    d.Fill(kWhite);
    KVXDrawCaptionText(d.Canvas(), "", &c, {10, 10, 200, 45}, kLine, ktfEnabled, nullptr);
    KVXDrawCaptionText(d.Canvas(), kText, &c, {10, 10, 10, 45}, kLine, ktfEnabled, nullptr);
    EXPECT_EQ(d.Pixels(), std::vector<TColor>(220 * 50, kWhite));
}

TEST(KVXCaptions, Measuring) {
    fw::TFont font;
    TRect amp{0, 0, 100, 0}, blank{0, 0, 100, 0}, plain{0, 0, 100, 0}, traced{0, 0, 100, 0};
    KVXMeasureCaption("&", nullptr, amp, &font, false, true, 0, 0);
    KVXMeasureCaption(" ", nullptr, blank, &font, false, false, 0, 0);
    EXPECT_EQ(amp, blank);  // "&" with accelerators shown measures as a blank
    KVXMeasureCaption("abc", nullptr, plain, &font, false, false, 0, 0);
    TKVX3DCaption c;
    MakeEffect(c, TKVXThreeDStyle::tdRaisedShadow, 2, 3);
    c.SetTracing(4);
    KVXMeasureCaption("abc", &c, traced, &font, false, false, 1, 0);
    EXPECT_EQ(traced.Width(), plain.Width() + 3 * 4 + 5 + 2);  // tracing, effect depth, one more margin pixel each side
    EXPECT_EQ(traced.Height(), plain.Height() + 5 + 2);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font.Handle());
    SIZE w{};
    GetTextExtentPoint32A(screen, "W", 1, &w);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(KVXCaptionLineHeight(&c, &font), w.cy + 5);
}

TEST(KVXCaptions, GlyphAndTextLayout) {
    fw::TBitmap glyph;
    KVXFillBitmap(&glyph, {0, 0, 16, 16}, fw::clRed);
    glyph.Canvas()->SetPixels(0, 15, fw::clLime);  // the transparent corner
    TKVXGlyphTextLayout layout;  // agTopLeft, taRight
    TDibCanvas d(220, 50);
    d.Canvas()->Font()->SetColor(fw::clBlack);
    const TRect result = KVXDrawGlyphTextBitmap(d.Canvas(), kText, nullptr, {0, 0, 220, 50}, &glyph, nullptr, &layout, false,
                                                false, ktfEnabled | ktfResultUnion, kLine);
    // The glyph at the block's top-left, its transparent corner not painted; the text right of it.
    EXPECT_EQ(d.Pixel(0, 0), fw::clRed);
    EXPECT_EQ(d.Pixel(15, 14), fw::clRed);
    EXPECT_EQ(d.Pixel(0, 15), kWhite);
    EXPECT_EQ(d.Pixel(16, 5), kWhite);
    int left = 220;
    for (const auto& [x, y] : Where(d, fw::clBlack)) left = std::min(left, x);
    EXPECT_GE(left, 16 + 2 + 1);
    EXPECT_EQ(result.Left, -1);
    EXPECT_EQ(result.Top, -1);

    // Measuring only: nothing is painted, and the result is the union grown by 2.
    TDibCanvas m(220, 50);
    const TRect measured = KVXDrawGlyphTextBitmap(m.Canvas(), kText, nullptr, {0, 0, 220, 50}, &glyph, nullptr, &layout,
                                                  false, false, ktfEnabled | ktfMeasureOnly, kLine);
    EXPECT_EQ(m.Pixels(), std::vector<TColor>(220 * 50, kWhite));
    EXPECT_EQ(measured, fw::InflateRect(result, 1, 1));
}

TEST(KVXCaptions, ArrowBesideTheText) {
    TKVXButtonLayout layout;
    layout.SetAlignment(TKVXAlignment::agTopLeft);
    layout.SetArrow(true);
    layout.SetArrowColor(fw::clBlue);
    TDibCanvas d(220, 50);
    d.Canvas()->Font()->SetColor(fw::clBlack);
    KVXDrawGlyphTextBitmap(d.Canvas(), kText, nullptr, {0, 0, 220, 50}, nullptr, nullptr, &layout, false, false, ktfEnabled,
                           kLine);
    const PixelSet arrow = Where(d, fw::clBlue);
    ASSERT_EQ(arrow.size(), 5u + 3 + 1);  // a down arrow of size 3
    int textRight = 0;
    for (const auto& [x, y] : Where(d, fw::clBlack)) textRight = std::max(textRight, x);
    EXPECT_GT(arrow.begin()->first, textRight);
}

TEST(KVXCaptions, RotatedTextRunsUp) {
    fw::TFont font;
    font.SetName("Tahoma");
    font.SetSize(12);
    ASSERT_TRUE(KVXIsTrueTypeFont(&font)) << "Wine's Tahoma is a TrueType font";
    TKVXFxCaption fx;
    fx.SetAngle(90);
    TRect measured{0, 0, 200, 0};
    KVXMeasureCaption("Turned", &fx, measured, &font, false, false, 0, 0);
    EXPECT_GT(measured.Height(), measured.Width());
    TDibCanvas d(100, 120);
    d.Canvas()->SetFont(&font);
    d.Canvas()->Font()->SetColor(fw::clBlack);
    KVXDrawCaptionText(d.Canvas(), "Turned", &fx, {10, 10, 10 + measured.Width(), 10 + measured.Height()}, kLine, ktfEnabled,
                       nullptr);
    int x0 = 100, x1 = 0, y0 = 120, y1 = 0;
    for (const auto& [x, y] : Where(d, fw::clBlack)) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    ASSERT_LT(x0, x1);
    EXPECT_GT(y1 - y0, 2 * (x1 - x0));  // taller than wide
    EXPECT_GE(x0, 10);
    EXPECT_LE(y1, 10 + measured.Height());
}

}  // namespace
}  // namespace kvx::win32
