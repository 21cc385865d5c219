// The graphic property objects that paint or own device objects: the bevel's painting, the gradient,
// the fill object, the caption and its TrueType rule, and Assign over every published value.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/core/rtti.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/caption.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/fillobjects.h"
#include "widgets/win32/testsupport/dibcanvas.h"

namespace kvx::win32 {
namespace {

using test::SysColor;
using test::TDibCanvas;

constexpr TColor kWhite = fw::clWhite;

TEST(KVXGraphObjects, BevelPainting) {
    TDibCanvas d(40, 40);
    d.Fill(fw::clYellow);  // the etched edge's light line is white
    TRect inner;
    TKVXBevel edge;
    edge.SetMode(TKVXBevelMode::bmEdge);
    edge.SetBorderSides({TKVXFrameSide::fsBottom});
    edge.PaintBevel(d.Canvas(), {0, 0, 40, 40}, false, inner);
    EXPECT_EQ(inner, (TRect{2, 2, 38, 38}));  // 2 on every side, whatever sides were drawn
    EXPECT_EQ(d.Pixel(20, 0), fw::clYellow);
    EXPECT_NE(d.Pixel(20, 39), fw::clYellow);
    EXPECT_NE(d.Pixel(20, 38), fw::clYellow);

    d.Fill(kWhite);
    TKVXBevel border;
    border.SetBorderWidth(3);
    border.SetColor(0, fw::clRed);
    border.PaintBevel(d.Canvas(), {0, 0, 40, 40}, true, inner);
    EXPECT_EQ(inner, (TRect{3, 3, 37, 37}));  // transparent: no lines, but their room
    EXPECT_EQ(d.Pixels(), std::vector<TColor>(40 * 40, kWhite));
    border.PaintBevel(d.Canvas(), {0, 0, 40, 40}, false, inner);
    EXPECT_EQ(d.Pixel(2, 20), fw::clRed);
    EXPECT_EQ(d.Pixel(3, 20), kWhite);

    d.Fill(kWhite);
    TKVXBevel custom;
    custom.SetStyleOuter(TKVXBevelStyle::bvRaised);
    custom.SetWidthOuter(2);
    custom.SetBorderWidth(1);
    custom.SetColor(0, fw::clRed);
    custom.SetStyleInner(TKVXBevelStyle::bvLowered);
    custom.PaintBevel(d.Canvas(), {0, 0, 40, 40}, false, inner);
    EXPECT_EQ(inner, (TRect{4, 4, 36, 36}));
    EXPECT_EQ(inner.Left, custom.Extent());
    EXPECT_EQ(d.Pixel(20, 2), fw::clRed);                         // the border line between the bevels
    EXPECT_EQ(d.Pixel(20, 3), SysColor(fw::clBtnShadow));        // the lowered inner bevel's top
    EXPECT_EQ(d.Pixel(20, 0), SysColor(fw::clBtnHighlight));     // the raised outer bevel's top

    d.Fill(kWhite);
    TKVXBevel shadow;
    shadow.SetStyleOuter(TKVXBevelStyle::bvShadow);
    shadow.SetWidthOuter(4);
    shadow.SetColor(2, fw::clBlue);
    shadow.PaintBevel(d.Canvas(), {0, 0, 40, 40}, false, inner);
    EXPECT_EQ(inner, (TRect{1, 1, 35, 35}));
    EXPECT_EQ(d.Pixel(38, 20), fw::clBlue);
}

TEST(KVXGraphObjects, GradientObject) {
    TKVXGradient g;
    int n = 0;
    g.OnChange.Bind(&n, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    EXPECT_EQ(g.Colors().size(), 16u);
    EXPECT_EQ(g.Palette(), nullptr);
    g.SetColorCount(1);  // refused: 2..236
    g.SetColorCount(237);
    EXPECT_EQ(n, 0);
    g.SetStyle(TKVXGradientStyle::gstHorizontal);
    g.SetColorCount(4);
    g.SetEndColor(fw::clRed);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(g.Colors(), (TKVXColorTable{fw::clBlue, fw::RGB(85, 0, 170), fw::RGB(170, 0, 85), fw::clRed}));
    g.SetPaletteRealize(true);
    EXPECT_NE(g.Palette(), nullptr);
    TDibCanvas d(40, 10);
    g.PaintGradient(d.Canvas(), {0, 0, 40, 10});
    EXPECT_EQ(d.RunOf(0, 5, fw::clBlue), 10);
    EXPECT_EQ(d.RunOf(30, 5, fw::clRed), 10);
}

TEST(KVXGraphObjects, FillObject) {
    TKVXFillObject fill;
    EXPECT_EQ(fill.Style(), TKVXFillStyle::sfNone);
    EXPECT_TRUE(fill.IsEmpty());
    TDibCanvas d(30, 30);
    EXPECT_FALSE(fill.FillCanvas(d.Canvas(), {0, 0, 30, 30}, fw::clRed));
    EXPECT_EQ(d.Pixel(5, 5), kWhite);
    // An empty bitmap with foFillInner fills with the back colour and reports false.
    fill.SetStyle(TKVXFillStyle::sfBitmap);
    EXPECT_FALSE(fill.FillCanvas(d.Canvas(), {0, 0, 30, 30}, fw::clRed));
    EXPECT_EQ(d.Pixel(5, 5), fw::clRed);
    // Alignment and offsets notify only for a bitmap placed without tiling.
    int n = 0;
    fill.OnChange.Bind(&n, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    fill.SetOffset(0, 4);
    EXPECT_EQ(n, 0);  // tmTile
    fill.SetTileMode(TKVXTileMode::tmNone);
    fill.SetOffset(1, 3);
    EXPECT_EQ(n, 2);
    // A bitmap placed bottom-right and moved by the offsets.
    fw::TBitmap b;
    b.SetSize(4, 4);
    b.Canvas()->Brush()->SetColor(fw::clBlue);
    b.Canvas()->FillRect({0, 0, 4, 4});
    fill.SetBitmap(&b);
    fill.SetAlignment(TKVXAlignment::agBottomRight);
    fill.SetOffset(0, -2);
    fill.SetOffset(1, -1);
    d.Fill(kWhite);
    EXPECT_TRUE(fill.FillCanvas(d.Canvas(), {0, 0, 30, 30}, fw::clRed));
    EXPECT_EQ(d.Pixel(24, 25), fw::clBlue);
    EXPECT_EQ(d.Pixel(28, 25), fw::clRed);
    // A hatched brush paints its background in the back colour.
    fill.SetStyle(TKVXFillStyle::sfBrush);
    fill.Brush()->SetColor(fw::clBlack);
    fill.Brush()->SetStyle(fw::TBrushStyle::bsHorizontal);
    d.Fill(kWhite);
    EXPECT_TRUE(fill.FillCanvas(d.Canvas(), {0, 0, 30, 30}, fw::clLime));
    int black = 0, lime = 0;
    for (TColor c : d.Pixels()) black += c == fw::clBlack, lime += c == fw::clLime;
    EXPECT_GT(black, 0);
    EXPECT_GT(lime, black);
    // A gradient fill.
    fill.SetStyle(TKVXFillStyle::sfGradient);
    d.Fill(kWhite);
    EXPECT_TRUE(fill.FillCanvas(d.Canvas(), {0, 0, 30, 30}, fw::clLime));
    EXPECT_EQ(d.Pixel(15, 0), fw::clBlue);
}

TEST(KVXGraphObjects, RotatedCaptionsNeedTrueType) {
    TKVXCaption caption;
    caption.Font()->SetHandle(test::RasterSansSerif());
    ASSERT_FALSE(KVXIsTrueTypeFont(caption.Font()));
    caption.FontFx()->SetAngle(45);  // turning a raster font's caption renames the font
    EXPECT_EQ(caption.Font()->Name(), "Arial");
    ASSERT_TRUE(KVXIsTrueTypeFont(caption.Font()));
    EXPECT_EQ(caption.FontFx()->Angle(), 45);
    caption.Font()->SetHandle(test::RasterSansSerif());  // a raster font for a turned caption resets the angle
    EXPECT_EQ(caption.FontFx()->Angle(), 0);
    EXPECT_EQ(caption.Font()->Name(), "MS Sans Serif");
}

TEST(KVXGraphObjects, CaptionDrawsAlignedText) {
    TKVXCaption caption;
    caption.Font()->SetColor(fw::clBlack);
    caption.SetAlignment(TKVXAlignment::agBottomRight);
    TDibCanvas d(120, 40);
    caption.DrawCaption(d.Canvas(), "Text", {0, 0, 120, 40}, ktfEnabled, fw::clRed, 0);
    int x1 = 0, y1 = 0, x0 = 120;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            if (d.Pixel(x, y) == fw::clBlack) x0 = std::min(x0, x), x1 = std::max(x1, x), y1 = std::max(y1, y);
    EXPECT_GT(x0, 90);
    EXPECT_GT(y1, 30);
    EXPECT_EQ(d.Pixel(0, 0), kWhite);  // the brush stays clear
}

// Every published value, object values included (bitmaps by their pictures), as text.
void Values(fw::TPersistent* o, const std::string& prefix, std::vector<std::pair<std::string, std::string>>& out) {
    if (auto* b = dynamic_cast<fw::TBitmap*>(o)) {
        const auto bytes = b->Empty() ? std::vector<uint8_t>{} : b->SaveToBytes();
        out.push_back({prefix + "picture", std::string(bytes.begin(), bytes.end())});
        return;
    }
    for (const fw::PropInfo* p : fw::GetPropList(o)) {
        if (p->kind == fw::TypeKind::Object) {
            if (auto* sub = dynamic_cast<fw::TPersistent*>(fw::GetObjectProp(o, *p))) Values(sub, prefix + p->name + ".", out);
            continue;
        }
        out.push_back({prefix + p->name, fw::GetPropText(o, *p)});
    }
}

void SetValues(fw::TPersistent* o, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [path, text] : values) {
        fw::TPersistent* target = o;
        std::string name = path;
        for (size_t dot; (dot = name.find('.')) != std::string::npos; name = name.substr(dot + 1))
            target = dynamic_cast<fw::TPersistent*>(fw::GetObjectProp(target, *fw::FindProp(target, name.substr(0, dot))));
        const fw::PropInfo* p = fw::FindProp(target, name);
        ASSERT_NE(p, nullptr) << path;
        fw::SetPropText(target, *p, text);
    }
}

template <class T>
void ExpectAssignCopiesEveryValue(const std::vector<std::pair<std::string, std::string>>& values,
                                  void (*more)(T&) = nullptr) {
    T source, fresh, dest;
    SetValues(&source, values);
    if (more) more(source);
    std::vector<std::pair<std::string, std::string>> s, f, d;
    Values(&source, "", s);
    Values(&fresh, "", f);
    ASSERT_EQ(s.size(), f.size());
    for (size_t i = 0; i < s.size(); ++i) EXPECT_NE(s[i].second, f[i].second) << s[i].first << " is left at its default";
    dest.Assign(&source);
    Values(&dest, "", d);
    EXPECT_EQ(d, s);
}

void RedBitmaps(TKVXShapeFill& fill) {
    fw::TBitmap b;
    b.SetSize(3, 2);
    b.Canvas()->Brush()->SetColor(fw::clRed);
    b.Canvas()->FillRect({0, 0, 3, 2});
    fill.SetBitmap(&b);
}

TEST(KVXGraphObjects, AssignCopiesEveryPublishedValue) {
    ExpectAssignCopiesEveryValue<TKVXGradient>(
        {{"Color", "clRed"}, {"ColorCount", "40"}, {"EndColor", "clLime"}, {"PaletteRealize", "True"}, {"Style", "gstSquare"}});
    ExpectAssignCopiesEveryValue<TKVXCaption>({{"Alignment", "agTopRight"}, {"Caption", "x"}, {"MultiLine", "True"},
                                               {"Font.Name", "Tahoma"}, {"Font.Color", "clRed"}, {"Font.Height", "-20"},
                                               {"Font.Style", "[fsBold]"}, {"Font.Charset", "ANSI_CHARSET"},
                                               {"Font.Pitch", "fpFixed"}, {"FontFx.Angle", "30"},
                                               {"FontFx.DisabledStyle", "ds3d"}, {"FontFx.LightDepth", "3"},
                                               {"FontFx.ShadowDepth", "2"}, {"FontFx.LightColor", "clRed"},
                                               {"FontFx.ShadowColor", "clRed"}, {"FontFx.Style", "tdShadow"},
                                               {"FontFx.Tracing", "2"}, {"FontFx.PosX", "1"}, {"FontFx.PosY", "2"}});
    ExpectAssignCopiesEveryValue<TKVXShapeFill>(
        {{"Style", "sfGradient"}, {"TileMode", "tmCenter"}, {"Gradient.Color", "clRed"}, {"Gradient.ColorCount", "40"},
         {"Gradient.EndColor", "clLime"}, {"Gradient.PaletteRealize", "True"}, {"Gradient.Style", "gstSquare"}},
        &RedBitmaps);
    ExpectAssignCopiesEveryValue<TKVXFillObject>(
        {{"Style", "sfBitmap"}, {"TileMode", "tmNone"}, {"Alignment", "agCenter"}, {"OffsetX", "3"}, {"OffsetY", "4"},
         {"Options", "[foQuickDraw]"}, {"Brush.Color", "clRed"}, {"Brush.Style", "bsCross"}, {"Gradient.Color", "clRed"},
         {"Gradient.ColorCount", "40"}, {"Gradient.EndColor", "clLime"}, {"Gradient.PaletteRealize", "True"},
         {"Gradient.Style", "gstSquare"}},
        [](TKVXFillObject& f) { RedBitmaps(f); });
}

}  // namespace
}  // namespace kvx::win32
