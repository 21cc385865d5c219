#include "widgets/captionrects.h"

namespace kvx {

namespace {
// The window style bits involved (the system's values).
constexpr uint32_t kPopup = 0x80000000u;
constexpr uint32_t kBorder = 0x00800000u;
constexpr uint32_t kSysMenu = 0x00080000u;
constexpr uint32_t kThickFrame = 0x00040000u;
constexpr uint32_t kMinimizeBox = 0x00020000u;
constexpr uint32_t kMaximizeBox = 0x00010000u;
constexpr uint32_t kExDlgModalFrame = 0x00000001u;
constexpr uint32_t kExToolWindow = 0x00000080u;
constexpr uint32_t kExContextHelp = 0x00000400u;

void Move(fw::TRect& r, int l, int t, int rt, int b) {
    r.Left += l;
    r.Top += t;
    r.Right += rt;
    r.Bottom += b;
}
}  // namespace

void KVXCaptionRectsOf(const TKVXCaptionWindow& w, const TKVXCaptionMetrics& m, fw::TRect& caption, fw::TRect& text,
                       int& flags) {
    const bool newLook = m.NewLook;
    const bool tool = (w.ExStyle & kExToolWindow) != 0;
    const bool small = newLook && tool;
    const int smallCaption = newLook ? m.CYSmCaption : m.CYCaption;
    const int smallButton = newLook ? m.CXSmSize : m.CXSize;
    const int smallIcon = newLook ? m.CXSmIcon : m.CXSize;

    caption = {0, 0, w.Width, small ? smallCaption : m.CYCaption};
    if (small) flags |= kCaptionSmall;
    const fw::TRect unframed = caption;

    if (!newLook && (flags & kCaptionDialog)) {
        Move(caption, m.CXBorder, m.CYBorder, -m.CXBorder, -m.CXBorder);
    } else if (w.Style & kThickFrame) {
        Move(caption, m.CXFrame, m.CYFrame, -m.CXFrame, m.CYFrame - m.CYBorder);
        if (!newLook) caption.Bottom -= m.CXBorder;
    } else if (w.ExStyle & kExDlgModalFrame) {
        Move(caption, m.CXDlgFrame, m.CYDlgFrame, -m.CXDlgFrame, m.CYDlgFrame - m.CYBorder);
    } else if (!newLook && tool) {
        Move(caption, m.CXBorder, m.CYBorder, -m.CXBorder, -m.CXBorder);
    } else {
        Move(caption, 3 * m.CXBorder, 3 * m.CYBorder, -3 * m.CXBorder, 2 * m.CYBorder);
    }

    fw::TRect area = small ? unframed : caption;
    const int b = m.CXBorder;
    const int c = small ? smallButton : m.CXSize;
    const int d = 2 * b;
    const int e = ((w.Style & kMinimizeBox) ? c : 0) + ((w.Style & kMaximizeBox) ? c : 0);
    if (w.Visible) {
        const int startLeft = area.Left;
        if (w.Style & kSysMenu) {
            if (!newLook)
                area.Right -= d;
            else if (!w.Iconic)
                area.Right -= c + 3 * b;
            const bool icon = ((w.Style & kThickFrame) && !small) || (flags & kCaptionDialog) ||
                              (!newLook && (w.Style & (kPopup | kBorder | kSysMenu)) == (kPopup | kBorder | kSysMenu)) ||
                              (!newLook && tool);
            if (icon) {
                flags |= kCaptionSysIcon;
                if (newLook) {
                    area.Left += smallIcon + m.CXFrame;
                    if (w.Iconic)
                        flags |= kCaptionIconic;
                    else
                        area.Left += b;
                } else {
                    area.Left += d + smallIcon;
                }
            }
            if (w.Style & (kMinimizeBox | kMaximizeBox))
                area.Right -= newLook ? 2 * c : e;
            else if (w.ExStyle & kExContextHelp)
                area.Right -= c + (newLook ? b : 0);
            if (small) Move(area, 4 * b, 3 * b, -d, 0);
        } else {
            area.Left += d;
            if (!newLook) area.Right -= b + e;
        }
        if (area.Left == startLeft) area.Left += d;
    }

    text = area;
    if (flags & kCaptionIconic) caption.Bottom -= m.CYBorder;
    text.Bottom = caption.Bottom;
    if (flags & kCaptionToTextEnd) caption.Right = text.Right;
    if ((flags & kCaptionSysIcon) && ((flags & kCaptionWithIcon) || !newLook)) {
        caption.Left = text.Left;
        text.Left += d;
    }
}

}  // namespace kvx
