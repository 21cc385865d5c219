#include "widgets/shapegeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace kvx {
namespace {

std::vector<TPoint> Points(const TKVXPointList& list, int from = 0, int count = -1) {
    std::vector<TPoint> out;
    const int end = count < 0 ? list.Count() : from + count;
    for (int i = from; i < end; ++i) {
        TPoint p;
        KVXGetPoint(&list, i, p);
        out.push_back(p);
    }
    return out;
}

TEST(KVXShapeGeometry, PointListPacksSignedSixteenBitCoordinates) {
    TKVXPointList list;
    KVXAddPoint(&list, {5, -1});
    KVXAddPoint(&list, {-32768, 32767});
    KVXAddPoint(&list, {40000, 0});  // wraps to 16 bits
    EXPECT_EQ(list.Get(0), 0x0005FFFFu);
    EXPECT_EQ(Points(list), (std::vector<TPoint>{{5, -1}, {-32768, 32767}, {40000 - 65536, 0}}));
    TPoint p{1, 2};
    KVXGetPoint(&list, 3, p);  // past the end: untouched
    EXPECT_EQ(p, (TPoint{1, 2}));
    KVXSetPoint(&list, 3, {9, 9});
    EXPECT_EQ(list.Count(), 3);
    KVXSetPoint(&list, 1, {9, -9});
    KVXOffsetPointList(&list, 10, -20);
    EXPECT_EQ(Points(list), (std::vector<TPoint>{{15, -21}, {19, -29}, {40010 - 65536, -20}}));
    KVXOffsetPointList(nullptr, 1, 1);
    TPoint arr[2] = {{1, 1}, {2, 2}};
    KVXOffsetPoints(arr, 2, -1, 3);
    EXPECT_EQ(arr[1], (TPoint{1, 5}));
}

TEST(KVXShapeGeometry, TeethDownTheRightEdge) {
    TKVXTeeth teeth;  // Count 10, SetPerCount, Offset, Width 10
    int notified = 0;
    teeth.OnChange.Bind(&notified, [](void* p, TObject*) { ++*static_cast<int*>(p); });
    TKVXPointList list;
    KVXBuildShapePoints({0, 0, 100, 60}, TKVXShapeType::stRectangle, &teeth, false, 0, nullptr, nullptr, &list);
    EXPECT_EQ(teeth.Height(), 3);  // the pitch, written back ...
    EXPECT_EQ(notified, 0);        // ... without a notification
    const auto pts = Points(list);
    ASSERT_EQ(pts.size(), 4u + 21 + 1);
    EXPECT_EQ((std::vector<TPoint>(pts.begin(), pts.begin() + 4)), (std::vector<TPoint>{{99, 59}, {0, 59}, {0, 0}, {99, 0}}));
    for (int i = 0; i <= 20; ++i) EXPECT_EQ(pts[4 + i], (TPoint{i % 2 ? 89 : 99, 3 * i})) << i;
    EXPECT_EQ(pts.back(), (TPoint{99, 60}));
}

TEST(KVXShapeGeometry, TeethInEveryDirection) {
    struct Case {
        TKVXDirection dir;
        bool offset;
        std::vector<TPoint> first;  // fixed points and the first two steps
        TPoint closing;
    };
    // 40 x 20, Count 2: pitch 10 along a horizontal edge, 5 along a vertical one; depth 4.
    const Case cases[] = {
        {TKVXDirection::tdDown, true, {{39, 20}, {39, 0}, {0, 0}, {0, 20}, {0, 20}, {10, 16}}, {40, 20}},
        {TKVXDirection::tdUp, false, {{39, 4}, {39, 19}, {0, 19}, {0, 4}, {0, 4}, {10, 0}}, {40, 4}},
        {TKVXDirection::tdLeft, true, {{0, 19}, {39, 19}, {39, 0}, {0, 0}, {0, 0}, {4, 5}}, {0, 20}},
        {TKVXDirection::tdRight, false, {{35, 19}, {0, 19}, {0, 0}, {35, 0}, {35, 0}, {39, 5}}, {35, 20}},
    };
    for (const Case& c : cases) {
        TKVXTeeth teeth;
        teeth.SetCount(2);
        teeth.SetDirection(c.dir);
        teeth.SetFlag(0, c.offset);
        teeth.SetSize(0, 4);
        teeth.SetSize(1, 4);
        TKVXPointList list;
        KVXBuildShapePoints({0, 0, 40, 20}, TKVXShapeType::stRectangle, &teeth, false, 0, nullptr, nullptr, &list);
        const auto pts = Points(list);
        ASSERT_EQ(pts.size(), 4u + 5 + 1) << static_cast<int>(c.dir);
        EXPECT_EQ((std::vector<TPoint>(pts.begin(), pts.begin() + 6)), c.first) << static_cast<int>(c.dir);
        EXPECT_EQ(pts.back(), c.closing) << static_cast<int>(c.dir);
    }
}

TEST(KVXShapeGeometry, TeethWithoutAPitchAreThePlainShape) {
    struct Case {
        const char* name;
        int count;
        bool perCount;
        int width, height;
    };
    const Case cases[] = {{"Count 0", 0, true, 10, 0}, {"zero pitch", 5, false, 10, 0}, {"negative pitch", 5, false, 10, -4}};
    for (const Case& c : cases) {
        TKVXTeeth teeth;
        teeth.SetCount(c.count);
        teeth.SetFlag(1, c.perCount);
        teeth.SetSize(0, c.width);
        teeth.SetSize(1, c.height);
        TKVXPointList list;
        KVXBuildShapePoints({0, 0, 100, 60}, TKVXShapeType::stRectangle, &teeth, false, 0, nullptr, nullptr, &list);
        EXPECT_EQ(Points(list), (std::vector<TPoint>{{99, 59}, {0, 59}, {0, 0}, {99, 0}})) << c.name;
    }
}

TEST(KVXShapeGeometry, Outlines) {
    TKVXSimpleBevel bevel;  // width 2: r 1, s 0
    TKVXPointList list;
    KVXBuildShapePoints({0, 0, 50, 60}, TKVXShapeType::stComb, nullptr, false, 0, &bevel, nullptr, &list);
    ASSERT_EQ(list.Count(), 12);
    EXPECT_EQ(Points(list, 0, 6), (std::vector<TPoint>{{25, 0}, {50, 12}, {50, 48}, {25, 60}, {0, 48}, {0, 12}}));
    EXPECT_EQ(Points(list, 6, 6), (std::vector<TPoint>{{25, 1}, {50, 13}, {50, 49}, {25, 60}, {1, 49}, {1, 13}}));

    KVXBuildShapePoints({0, 0, 100, 40}, TKVXShapeType::stRectangle, nullptr, true, 0, nullptr, nullptr, &list);
    EXPECT_EQ(Points(list, 0, 2), (std::vector<TPoint>{{30, 0}, {70, 40}}));  // a square in the middle

    TKVXShadow shadow;  // depth 6
    KVXBuildShapePoints({0, 0, 40, 30}, TKVXShapeType::stDiamond, nullptr, false, 0, &bevel, &shadow, &list);
    EXPECT_EQ(Points(list, 0, 4), (std::vector<TPoint>{{23, 6}, {40, 18}, {23, 30}, {6, 18}}));
    shadow.SetStyle(TKVXShadowStyle::hssNone);  // no shadow, whatever the depth
    KVXBuildShapePoints({0, 0, 40, 30}, TKVXShapeType::stDiamond, nullptr, false, 0, &bevel, &shadow, &list);
    EXPECT_EQ(Points(list, 0, 1), (std::vector<TPoint>{{20, 0}}));

    KVXBuildShapePoints({0, 0, 80, 40}, TKVXShapeType::stRoundRect, nullptr, false, 25, &bevel, nullptr, &list);
    EXPECT_EQ(Points(list), (std::vector<TPoint>{{0, 0}, {80, 40}, {10, 10}, {1, 1}, {80, 40}, {10, 10}}));

    // A square octagon is regular: sides a*sqrt(2) = 29 long at 100 / (2 + sqrt 2) = 29 from the corners.
    KVXBuildShapePoints({0, 0, 100, 100}, TKVXShapeType::stOctagon, nullptr, false, 0, nullptr, nullptr, &list);
    EXPECT_EQ(Points(list, 0, 8), (std::vector<TPoint>{{29, 0}, {70, 0}, {100, 29}, {100, 70}, {70, 100}, {29, 100},
                                                        {0, 70}, {0, 29}}));

    KVXBuildShapePoints({0, 0, 100, 100}, TKVXShapeType::stStar, nullptr, false, 0, &bevel, nullptr, &list);
    ASSERT_EQ(list.Count(), 20);
    EXPECT_EQ(Points(list, 0, 3), (std::vector<TPoint>{{50, 0}, {65, 38}, {100, 38}}));
    EXPECT_EQ(Points(list, 10, 3), (std::vector<TPoint>{{50, 1}, {65, 38}, {100, 38}}));

    for (int s = 0; s <= static_cast<int>(TKVXShapeType::stStar); ++s) {
        KVXBuildShapePoints({0, 0, 30, 30}, static_cast<TKVXShapeType>(s), nullptr, false, 10, &bevel, nullptr, &list);
        EXPECT_EQ(list.Count(), 2 * KVXShapeOuterCount(static_cast<TKVXShapeType>(s))) << s;
    }
}

}  // namespace
}  // namespace kvx
