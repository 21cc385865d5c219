// The arithmetic of the 3-D gauge: the whole percentage of Progress within MinValue..MaxValue and
// the bar's size in pixels inside the gauge's 4-pixel double frame on each side.
#pragma once

namespace inst {

// trunc((progress - min) / (max - min) * 100), within 0..100. An empty range (max = min) shows 0%.
int GaugePercent(int progress, int minValue, int maxValue);
// (extent - 8) * percent div 100: the bar's width (or height) for a gauge width (or height).
int GaugeBarSize(int extent, int percent);
// A bar under 4 pixels is not drawn, not even its ring.
constexpr int kGaugeMinBar = 4;

}  // namespace inst
