#include "widgets/kvxgraph.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/core/rtti.h"
#include "widgets/kvxregister.h"
#include "widgets/shapegeometry.h"

namespace kvx {
namespace {

struct Counter {
    int n = 0;
    void Hook(TKVXObject& o) {
        o.OnChange.Bind(this, [](void* p, TObject*) { ++static_cast<Counter*>(p)->n; });
    }
};

class KVXGraph : public ::testing::Test {
protected:
    void SetUp() override { KVXRegisterClasses(); }
};

// Sets the given published values, checks that each differs from a fresh object's (so the table covers
// every published value), assigns and compares every published value of the copy.
void ExpectAssignCopiesEveryValue(fw::TPersistent& source, fw::TPersistent& fresh, fw::TPersistent& dest,
                                  const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [name, text] : values) {
        const fw::PropInfo* p = fw::FindProp(&source, name);
        ASSERT_NE(p, nullptr) << name;
        fw::SetPropText(&source, *p, text);
    }
    const auto props = fw::GetPropList(&source, fw::tkProperties & ~fw::KindBit(fw::TypeKind::Object));
    ASSERT_FALSE(props.empty());
    for (const fw::PropInfo* p : props)
        EXPECT_NE(fw::GetPropText(&source, *p), fw::GetPropText(&fresh, *p)) << p->name << " is left at its default";
    dest.Assign(&source);
    for (const fw::PropInfo* p : props) EXPECT_EQ(fw::GetPropText(&dest, *p), fw::GetPropText(&source, *p)) << p->name;
}

TEST_F(KVXGraph, BevelShadowStyleCouplesBothSides) {
    TKVXBevel b;
    b.SetStyleOuter(TKVXBevelStyle::bvShadow);
    EXPECT_EQ(b.StyleInner(), TKVXBevelStyle::bvShadow);
    b.SetStyleOuter(TKVXBevelStyle::bvRaised);
    EXPECT_EQ(b.StyleInner(), TKVXBevelStyle::bvNone);
    b.SetStyleInner(TKVXBevelStyle::bvLowered);
    b.SetStyleInner(TKVXBevelStyle::bvShadow);
    EXPECT_EQ(b.StyleOuter(), TKVXBevelStyle::bvShadow);
    b.SetStyleInner(TKVXBevelStyle::bvFrameRaised);
    EXPECT_EQ(b.StyleOuter(), TKVXBevelStyle::bvNone);
}

TEST_F(KVXGraph, BevelExtents) {
    struct Case {
        const char* name;
        void (*set)(TKVXBevel&);
        int extent, farExtent;
    };
    const Case cases[] = {
        {"default", [](TKVXBevel&) {}, 0, 0},
        {"raised 2, border 1, lowered 1", [](TKVXBevel& b) {
             b.SetStyleOuter(TKVXBevelStyle::bvRaised);
             b.SetWidthOuter(2);
             b.SetBorderWidth(1);
             b.SetStyleInner(TKVXBevelStyle::bvLowered);
         }, 4, 4},
        {"etched frames take one more", [](TKVXBevel& b) {
             b.SetStyleOuter(TKVXBevelStyle::bvFrameRaised);
             b.SetStyleInner(TKVXBevelStyle::bvFrameLowered);
             b.SetWidthInner(2);
         }, 5, 5},
        {"border without styles", [](TKVXBevel& b) { b.SetBorderWidth(3); b.SetBorderInnerWidth(1); }, 4, 4},
        {"shadow", [](TKVXBevel& b) {
             b.SetStyleOuter(TKVXBevelStyle::bvShadow);
             b.SetWidthInner(2);
             b.SetWidthOuter(5);
             b.SetBorderInnerWidth(1);
             b.SetBorderWidth(9);  // not counted in the shadow look
         }, 3, 8},
        {"standard", [](TKVXBevel& b) { b.SetMode(TKVXBevelMode::bmStandard); b.SetBorderInnerWidth(1); }, 2, 2},
        {"standard lsLowered", [](TKVXBevel& b) {
             b.SetMode(TKVXBevelMode::bmStandard);
             b.SetStandardStyle(TKVXBorderStyle::lsLowered);
         }, 2, 2},
        {"edge, one side", [](TKVXBevel& b) {
             b.SetMode(TKVXBevelMode::bmEdge);
             b.SetBorderSides({TKVXFrameSide::fsBottom});
         }, 2, 2},
        {"edge, no side", [](TKVXBevel& b) {
             b.SetMode(TKVXBevelMode::bmEdge);
             b.SetBorderSides({});
             b.SetBorderInnerWidth(1);
         }, 1, 1},
        {"windows", [](TKVXBevel& b) { b.SetMode(TKVXBevelMode::bmWindows); b.SetBorderInnerWidth(1); }, 3, 3},
        {"windows, system frame", [](TKVXBevel& b) {
             b.SetMode(TKVXBevelMode::bmWindows);
             b.SetSystemFrame(true);
             b.SetBorderInnerWidth(1);
         }, 0, 0},
    };
    for (const Case& c : cases) {
        TKVXBevel b;
        c.set(b);
        EXPECT_EQ(b.Extent(), c.extent) << c.name;
        EXPECT_EQ(b.FarExtent(), c.farExtent) << c.name;
        TRect inner;
        b.InnerRect({10, 10, 50, 50}, inner);
        EXPECT_EQ(inner, (TRect{10 + c.extent, 10 + c.extent, 50 - c.farExtent, 50 - c.farExtent})) << c.name;
    }
}

TEST_F(KVXGraph, BevelSettersNotifyOnlyWhereTheyCount) {
    TKVXBevel b;
    Counter c;
    c.Hook(b);
    b.SetWidthInner(51);  // out of range: refused silently
    EXPECT_EQ(b.WidthInner(), 1);
    b.SetWidthInner(1);  // unchanged
    EXPECT_EQ(c.n, 0);
    b.SetStandardStyle(TKVXBorderStyle::lsRaised);  // stored, silent outside bmStandard
    EXPECT_EQ(c.n, 0);
    b.SetMode(TKVXBevelMode::bmStandard);
    EXPECT_EQ(c.n, 1);
    EXPECT_EQ(b.Extent(), 2);
    b.SetStandardStyle(TKVXBorderStyle::lsSingle);
    EXPECT_EQ(c.n, 2);
    EXPECT_EQ(b.Extent(), 1);
    b.SetColor(1, fw::clRed);
    EXPECT_EQ(b.LightColor(), fw::clRed);
    EXPECT_EQ(c.n, 3);
}

TEST_F(KVXGraph, BevelFrameModeLatch) {
    TKVXBevel b;
    b.SetMode(TKVXBevelMode::bmWindows);
    EXPECT_FALSE(b.FrameModeChanged());  // no system frame
    b.SetSystemFrame(true);
    EXPECT_TRUE(b.FrameModeChanged());   // the system draws the frame
    b.SetMode(TKVXBevelMode::bmCustom);  // leaving the Windows mode under a system frame
    EXPECT_TRUE(b.FrameModeChanged());
    EXPECT_FALSE(b.FrameModeChanged());  // the latch is cleared
}

TEST_F(KVXGraph, LayoutsAndCaptions) {
    TKVXButtonLayout button;
    EXPECT_EQ(button.Alignment(), TKVXAlignment::agCenter);
    EXPECT_EQ(TKVXGlyphTextLayout().Alignment(), TKVXAlignment::agTopLeft);
    Counter c;
    c.Hook(button);
    button.SetArrowSize(11);
    button.SetArrowSize(1);
    EXPECT_EQ(button.ArrowSize(), 3);
    EXPECT_EQ(c.n, 0);

    TKVXFxCaption fx;
    c.Hook(fx);
    fx.SetAngle(360);
    EXPECT_EQ(fx.Angle(), 0);
    EXPECT_EQ(c.n, 0);  // 360 is 0: unchanged
    fx.SetAngle(361);
    EXPECT_EQ(fx.Angle(), 0);
    fx.SetAngle(90);
    EXPECT_EQ(c.n, 1);
    fx.SetPosQuiet(7, 8);
    EXPECT_EQ(fx.PosX(), 7);
    EXPECT_EQ(fx.PosY(), 8);
    EXPECT_EQ(c.n, 1);
    fx.SetPos(0, 9);
    EXPECT_EQ(c.n, 2);

    TKVXShadow shadow;
    shadow.SetDepth(41);
    EXPECT_EQ(shadow.Depth(), 6);
}

TEST_F(KVXGraph, FxCaptionTakesOnlyTheThreeDValuesOfAPlainCaption) {
    TKVX3DCaption plain;
    plain.SetStyle(TKVXThreeDStyle::tdShadow);
    plain.SetDepth(1, 4);
    TKVXFxCaption fx;
    fx.SetAngle(45);
    fx.SetPos(1, 3);
    fx.Assign(&plain);
    EXPECT_EQ(fx.Style(), TKVXThreeDStyle::tdShadow);
    EXPECT_EQ(fx.ShadowDepth(), 4);
    EXPECT_EQ(fx.Angle(), 45);
    EXPECT_EQ(fx.PosY(), 3);
}

TEST_F(KVXGraph, AssignCopiesEveryPublishedValue) {
    {
        TKVXBevel s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"BorderColor", "clRed"}, {"BorderInnerWidth", "2"}, {"BorderSides", "[fsTop]"},
                                               {"BorderWidth", "3"}, {"EdgeStyle", "etBump"}, {"LightColor", "clLime"},
                                               {"Mode", "bmEdge"}, {"ShadowColor", "clNavy"}, {"StandardStyle", "lsRaised"},
                                               {"StyleInner", "bvLowered"}, {"StyleOuter", "bvRaised"},
                                               {"WidthInner", "4"}, {"WidthOuter", "5"}});
        EXPECT_EQ(d.Extent(), s.Extent());
    }
    {
        TKVXGlyphTextLayout s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"Alignment", "agBottomRight"}, {"AlignText2Glyph", "taTop"},
                                               {"OffsetX", "3"}, {"OffsetY", "-2"}, {"Spacing", "7"}});
    }
    {
        TKVXButtonLayout s, f, d;
        Counter c;
        c.Hook(d);
        ExpectAssignCopiesEveryValue(s, f, d, {{"Alignment", "agBottomRight"}, {"AlignText2Glyph", "taTop"},
                                               {"OffsetX", "3"}, {"OffsetY", "-2"}, {"Spacing", "7"}, {"Arrow", "True"},
                                               {"ArrowColor", "clRed"}, {"ArrowIndent", "5"},
                                               {"ArrowPosition", "apLeftGlyph"}, {"ArrowSize", "6"}});
        EXPECT_EQ(c.n, 1);  // one notification for the whole copy
    }
    {
        TKVXFxCaption s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"DisabledStyle", "ds3d"}, {"LightDepth", "2"}, {"ShadowDepth", "3"},
                                               {"LightColor", "clRed"}, {"ShadowColor", "clBlue"},
                                               {"Style", "tdRaisedShadow"}, {"Tracing", "1"}, {"Angle", "30"},
                                               {"PosX", "4"}, {"PosY", "5"}});
    }
    {
        TKVXShadow s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"Color", "clRed"}, {"Depth", "3"}, {"Style", "hssTracing"}});
    }
    {
        TKVXSimpleBevel s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"Width", "5"}, {"Style", "sbInset"}, {"Color", "clRed"},
                                               {"LightColor", "clYellow"}, {"ShadowColor", "clGray"}});
    }
    {
        TKVXTeeth s, f, d;
        ExpectAssignCopiesEveryValue(s, f, d, {{"Count", "4"}, {"Direction", "tdUp"}, {"Offset", "False"},
                                               {"SetPerCount", "False"}, {"Width", "7"}, {"Height", "3"}});
    }
}

TEST_F(KVXGraph, EnumerationsStreamByName) {
    TKVXBevel b;
    const fw::PropInfo* p = fw::FindProp(&b, "StandardStyle");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(fw::GetPropText(&b, *p), "lsSingleLowered");
    fw::SetPropText(&b, *p, "lsDoubleRaised");
    EXPECT_EQ(b.StandardStyle(), TKVXBorderStyle::lsDoubleRaised);
    EXPECT_THROW(fw::SetPropText(&b, *p, "lsNoSuchStyle"), fw::Exception);
    // The fill styles of the graphic objects and of the shadow fill are separate types with their own sfNone.
    const fw::NameTable* fill = fw::FindEnumTable(typeid(TKVXFillStyle));
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->IndexOf("sfNone"), 0);
    EXPECT_EQ(fill->typeName, "TKVXFillStyle");
}

}  // namespace
}  // namespace kvx
