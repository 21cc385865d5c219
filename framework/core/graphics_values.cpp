#include "framework/core/graphics_values.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/format.h"
#include "framework/core/sysutils.h"

namespace fw {

const std::vector<std::pair<TColor, const char*>>& ColorIdents() {
    static const std::vector<std::pair<TColor, const char*>> idents = {
        {clBlack, "clBlack"},
        {clMaroon, "clMaroon"},
        {clGreen, "clGreen"},
        {clOlive, "clOlive"},
        {clNavy, "clNavy"},
        {clPurple, "clPurple"},
        {clTeal, "clTeal"},
        {clGray, "clGray"},
        {clSilver, "clSilver"},
        {clRed, "clRed"},
        {clLime, "clLime"},
        {clYellow, "clYellow"},
        {clBlue, "clBlue"},
        {clFuchsia, "clFuchsia"},
        {clAqua, "clAqua"},
        {clWhite, "clWhite"},
        {clScrollBar, "clScrollBar"},
        {clBackground, "clBackground"},
        {clActiveCaption, "clActiveCaption"},
        {clInactiveCaption, "clInactiveCaption"},
        {clMenu, "clMenu"},
        {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"},
        {clMenuText, "clMenuText"},
        {clWindowText, "clWindowText"},
        {clCaptionText, "clCaptionText"},
        {clActiveBorder, "clActiveBorder"},
        {clInactiveBorder, "clInactiveBorder"},
        {clAppWorkSpace, "clAppWorkSpace"},
        {clHighlight, "clHighlight"},
        {clHighlightText, "clHighlightText"},
        {clBtnFace, "clBtnFace"},
        {clBtnShadow, "clBtnShadow"},
        {clGrayText, "clGrayText"},
        {clBtnText, "clBtnText"},
        {clInactiveCaptionText, "clInactiveCaptionText"},
        {clBtnHighlight, "clBtnHighlight"},
        {cl3DDkShadow, "cl3DDkShadow"},
        {cl3DLight, "cl3DLight"},
        {clInfoText, "clInfoText"},
        {clInfoBk, "clInfoBk"},
        {clHotLight, "clHotLight"},
        {clGradientActiveCaption, "clGradientActiveCaption"},
        {clGradientInactiveCaption, "clGradientInactiveCaption"},
        {clMenuHighlight, "clMenuHighlight"},
        {clMenuBar, "clMenuBar"},
        {clNone, "clNone"},
        {clDefault, "clDefault"},
        // Second names of values that already have one: read, never written.
        {clLtGray, "clLtGray"},
        {clDkGray, "clDkGray"},
    };
    return idents;
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const auto& [value, name] : ColorIdents()) {
        if (value == color) {
            ident = name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const std::string& ident, TColor& color) {
    for (const auto& [value, name] : ColorIdents()) {
        if (SameText(ident, name)) {
            color = value;
            return true;
        }
    }
    return false;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    return "$" + IntToHex(static_cast<int64_t>(static_cast<uint32_t>(color)), 8);
}

TColor StringToColor(const std::string& text) {
    TColor color = 0;
    if (IdentToColor(text, color)) return color;
    int64_t value = 0;
    if (!TryStrToInt64(text, value) || value < INT32_MIN || value > 0xFFFFFFFFLL)
        throw EConvertError("'" + text + "' is not a valid integer value");
    return static_cast<TColor>(static_cast<uint32_t>(value));
}

bool IsRectEmpty(const TRect& r) { return r.Right <= r.Left || r.Bottom <= r.Top; }

bool PtInRect(const TRect& r, const TPoint& p) { return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom; }

bool IntersectRect(TRect& dest, const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
    if (IsRectEmpty(r) || IsRectEmpty(a) || IsRectEmpty(b)) {
        dest = TRect{};
        return false;
    }
    dest = r;
    return true;
}

bool UnionRect(TRect& dest, const TRect& a, const TRect& b) {
    if (IsRectEmpty(a)) {
        dest = IsRectEmpty(b) ? TRect{} : b;
    } else if (IsRectEmpty(b)) {
        dest = a;
    } else {
        dest = TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
    }
    return !IsRectEmpty(dest);
}

TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

TRect InflateRect(const TRect& r, int32_t dx, int32_t dy) { return {r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy}; }

TRect NormalizeRect(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right), std::max(r.Top, r.Bottom)};
}

}  // namespace fw
