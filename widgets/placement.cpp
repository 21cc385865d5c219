#include "widgets/placement.h"

#include <algorithm>
#include <cmath>

namespace kvx {

TKVXPlacement KVXPlacement(const TRect& dest, int sw, int sh, uint16_t flags) {
    TKVXPlacement out;
    if (fw::IsRectEmpty(dest)) return out;
    const int W = dest.Width(), H = dest.Height();
    if (flags & kpfTile) {
        out.painted = dest;
        if (sw > 0 && sh > 0) {
            out.cell = fw::Bounds(dest.Left, dest.Top, sw, sh);
            out.columns = W / sw + 1;
            out.rows = H / sh + 1;
        }
        return out;
    }
    TRect p = fw::Bounds(dest.Left, dest.Top, sw, sh);
    if (flags & kpfStretch) {
        p = dest;
        const bool fitWidth = (flags & kpfFitWidth) != 0, fitHeight = (flags & kpfFitHeight) != 0;
        if ((fitWidth || fitHeight) && sw > 0 && sh > 0) {
            if (fitWidth && fitHeight) {
                const double c = std::min(static_cast<double>(W) / sw, static_cast<double>(H) / sh);
                p = fw::Bounds(dest.Left, dest.Top, static_cast<int>(std::trunc(sw * c)), static_cast<int>(std::trunc(sh * c)));
            } else if (fitWidth) {
                p.Bottom = p.Top + static_cast<int>(std::lround(static_cast<double>(W) / sw * sh));
            } else {
                p.Right = p.Left + static_cast<int>(std::lround(static_cast<double>(H) / sh * sw));
            }
        } else if (fitWidth || fitHeight) {
            p = fw::Bounds(dest.Left, dest.Top, 0, 0);  // an empty source has no proportions
        }
    } else if (flags & kpfCenter) {
        p = fw::Bounds(dest.Left + (W - sw) / 2, dest.Top + (H - sh) / 2, sw, sh);
    }
    if (p.Width() <= 0 || p.Height() <= 0) {
        out.painted = dest;
        return out;
    }
    out.cell = p;
    out.columns = out.rows = 1;
    out.painted = p;
    return out;
}

std::vector<TColor> KVXShadePixels(const std::vector<TColor>& pixels, int width, int height, TColor white,
                                   TColor highlight, TColor shadow, TColor black) {
    std::vector<TColor> out(pixels);
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) return out;
    const TColor transparent = pixels[0] & 0xFFFFFF;
    auto sumOf = [](TColor c) { return fw::GetRValue(c) + fw::GetGValue(c) + fw::GetBValue(c); };
    int64_t sum = 0, count = 0;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < n; ++i) {
        if ((pixels[i] & 0xFFFFFF) == transparent) continue;
        sum += sumOf(pixels[i]);
        ++count;
    }
    const long offset = count ? -std::lround(200.0 - static_cast<double>(sum) / static_cast<double>(count)) : 0;
    for (size_t i = 0; i < n; ++i) {
        if ((pixels[i] & 0xFFFFFF) == transparent) continue;
        const int v = sumOf(pixels[i]);
        out[i] = v > offset + 550 ? white : v > offset + 250 ? highlight : v > offset + 50 ? shadow : black;
    }
    return out;
}

}  // namespace kvx
