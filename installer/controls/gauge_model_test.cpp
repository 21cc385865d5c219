#include "installer/controls/gauge_model.h"

#include <gtest/gtest.h>

namespace inst {
namespace {

TEST(GaugeModel, PercentAndBar) {
    struct Case {
        const char* name;
        int progress, min, max, percent, bar100;
    };
    const Case cases[] = {
        {"half", 50, 0, 100, 50, 46},
        {"3% draws no bar", 3, 0, 100, 3, 2},
        {"full", 100, 0, 100, 100, 92},
        {"29 is not 28", 29, 0, 100, 29, 26},
        {"offset range truncates", 7, 5, 8, 66, 60},
        {"empty range shows 0%", 40, 40, 40, 0, 0},
        {"inverted range shows 0%", 40, 50, 40, 0, 0},
        {"beyond Max", 150, 0, 100, 100, 92},
        {"below Min", -5, 0, 100, 0, 0},
        {"wide range", 2000000000, -2000000000, 2100000000, 97, 89},
    };
    for (const Case& c : cases) {
        const int percent = GaugePercent(c.progress, c.min, c.max);
        EXPECT_EQ(percent, c.percent) << c.name;
        EXPECT_EQ(GaugeBarSize(100, percent), c.bar100) << c.name;
    }
    EXPECT_LT(GaugeBarSize(100, 3), kGaugeMinBar);
    EXPECT_LT(GaugeBarSize(6, 100), kGaugeMinBar);  // smaller than its frame
}

}  // namespace
}  // namespace inst
