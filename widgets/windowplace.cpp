#include "widgets/windowplace.h"

#include <cmath>
#include <cstdint>

namespace kvx {

TPoint KVXPlacePosition(int width, int height, const TRect& ref, TKVXDlgPosition position, int screenWidth,
                        int screenHeight) {
    const int l = ref.Left, t = ref.Top, r = ref.Right, b = ref.Bottom;
    const int centerX = l + (r - l - width) / 2;
    const int centerY = t + (b - t - height) / 2;
    int x = l, y = t;
    switch (position) {
        case TKVXDlgPosition::bpCustom:
        case TKVXDlgPosition::bpTopLeft: break;
        case TKVXDlgPosition::bpTopCenter: x = centerX; break;
        case TKVXDlgPosition::bpTopRight: x = r - width; break;
        case TKVXDlgPosition::bpCenterLeft: y = centerY; break;
        case TKVXDlgPosition::bpCenter: x = centerX, y = centerY; break;
        case TKVXDlgPosition::bpCenterRight: x = r - width, y = centerY; break;
        case TKVXDlgPosition::bpBottomLeft: y = b - height; break;
        case TKVXDlgPosition::bpBottomCenter: x = centerX, y = b - height; break;
        case TKVXDlgPosition::bpBottomRight: x = r - width, y = b - height; break;
    }
    if (y + height > screenHeight) y = b - height;
    if (x + width > screenWidth) x = r - width;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return {x, y};
}

int KVXEffectSteps(int steps) { return steps <= 3 ? 40 : steps; }
int KVXEffectDelay(int delay) { return delay <= 0 ? 1 : delay; }

void KVXEffectPause(int delay) {
    const int64_t count = int64_t{delay} * 10000;
    volatile int64_t i = 0;
    while (i < count) {
        i = i + 1;
    }
}

namespace {

// A + I x D / Steps, multiplied before dividing so that the last step lands exactly on A + D.
int Step(double a, int i, int d, int steps) { return static_cast<int>(std::trunc(a + static_cast<double>(i) * d / steps)); }

}  // namespace

std::vector<TRect> KVXExplodeRects(int x, int y, int steps, const TRect& target) {
    steps = KVXEffectSteps(steps);
    std::vector<TRect> rects;
    for (int i = 1; i <= steps; ++i) {
        TRect r;
        r.Left = Step(x, i, target.Left - x, steps);
        r.Top = Step(y, i, target.Top - y, steps);
        r.Right = Step(r.Left, i, target.Width(), steps);
        r.Bottom = Step(r.Top, i, target.Height(), steps);
        rects.push_back(r);
    }
    return rects;
}

std::vector<TRect> KVXExplodeExtRects(int x, int y, int steps, int startWidth, int startHeight, bool fly,
                                      const TRect& target) {
    steps = KVXEffectSteps(steps);
    const int mx = x + (target.Left - x) / 2;
    const int my = target.Bottom;
    std::vector<TRect> rects;
    if (fly) {
        for (int i = 1; i <= steps; ++i) {
            const int left = Step(x, i, mx - x, steps);
            const int top = Step(y, i, my - y, steps);
            rects.push_back({left, top, left + startWidth, top + startHeight});
        }
    }
    for (int i = 1; i <= steps; ++i) {
        TRect r;
        r.Left = Step(mx, i, target.Left - mx, steps);
        r.Top = Step(my, i, target.Top - my, steps);
        r.Right = Step(r.Left + startWidth, i, target.Width() - startWidth, steps);
        r.Bottom = Step(r.Top + startHeight, i, target.Height() - startHeight, steps);
        rects.push_back(r);
    }
    return rects;
}

}  // namespace kvx
