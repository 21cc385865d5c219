#include "installer/controls/gauge_model.h"

#include <algorithm>
#include <cstdint>

namespace inst {

int GaugePercent(int progress, int minValue, int maxValue) {
    if (maxValue <= minValue) return 0;
    // In integers: a double quotient times 100 truncates 29/100 to 28.
    const int64_t share = (int64_t{progress} - minValue) * 100 / (int64_t{maxValue} - minValue);
    return static_cast<int>(std::clamp<int64_t>(share, 0, 100));
}

int GaugeBarSize(int extent, int percent) { return (extent - 8) * percent / 100; }

}  // namespace inst
