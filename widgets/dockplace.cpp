#include "widgets/dockplace.h"

namespace kvx {

using P = TKVXDockPosition;

TRect KVXPlaceBesideControl(const TRect& control, int width, int height, P position, bool adjustSize, int margin) {
    const int l = control.Left, t = control.Top, w = control.Width(), h = control.Height();
    switch (position) {
        case P::dpBottom: {
            const int bw = adjustSize ? w : width;
            return fw::Bounds(l, t + h + margin, bw, height);
        }
        case P::dpLeft: {
            const int bh = adjustSize ? h : height;
            return fw::Bounds(l - width - margin, t, width, bh);
        }
        case P::dpRight: {
            const int bh = adjustSize ? h : height;
            return fw::Bounds(l + w + margin, t, width, bh);
        }
        case P::dpTop: {
            const int bw = adjustSize ? w : width;
            return fw::Bounds(l, t - height - margin, bw, height);
        }
    }
    return control;
}

TRect KVXMoveControlToButton(const TRect& button, int width, int height, P position, bool adjustSize, int margin) {
    const TRect& b = button;
    switch (position) {
        case P::dpBottom: {
            const int cw = adjustSize ? b.Width() : width;
            return fw::Bounds(b.Left, b.Top - height - margin, cw, height);
        }
        case P::dpLeft: {
            const int ch = adjustSize ? b.Height() : height;
            return fw::Bounds(b.Right + margin, b.Top, width, ch);
        }
        case P::dpRight: {
            const int ch = adjustSize ? b.Height() : height;
            return fw::Bounds(b.Left - width - margin, b.Top, width, ch);
        }
        case P::dpTop: {
            const int cw = adjustSize ? b.Width() : width;
            return fw::Bounds(b.Left, b.Bottom + margin, cw, height);
        }
    }
    return fw::Bounds(b.Left, b.Top, width, height);
}

}  // namespace kvx
