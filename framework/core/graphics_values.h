// Graphics values that need no device: colours with their identifiers, points and rectangles.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fw {

// A colour: 0x00BBGGRR, or a system colour 0x80000000 | index, or one of the two markers below.
using TColor = int32_t;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u; }

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;

// System colours, by the system's colour index.
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
constexpr TColor clHotLight = SystemColor(26);
constexpr TColor clGradientActiveCaption = SystemColor(27);
constexpr TColor clGradientInactiveCaption = SystemColor(28);
constexpr TColor clMenuHighlight = SystemColor(29);
constexpr TColor clMenuBar = SystemColor(30);

// The identifier table, in the order names are preferred when a value has two (clGray before clDkGray).
const std::vector<std::pair<TColor, const char*>>& ColorIdents();
bool ColorToIdent(TColor color, std::string& ident);
// The identifier ignores case.
bool IdentToColor(const std::string& ident, TColor& color);
// An identifier when there is one, else "$" and eight upper-case hex digits ("$00123456").
std::string ColorToString(TColor color);
// An identifier, "$hex" or a decimal number; raises EConvertError otherwise.
TColor StringToColor(const std::string& text);

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
    TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
    TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

// Right and Bottom are exclusive, as in the system's rectangles.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
};

inline TPoint Point(int32_t x, int32_t y) { return {x, y}; }
inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

bool IsRectEmpty(const TRect& r);  // no area: Right <= Left or Bottom <= Top
bool PtInRect(const TRect& r, const TPoint& p);
// The common part; false and an all-zero rectangle when there is none.
bool IntersectRect(TRect& dest, const TRect& a, const TRect& b);
// The smallest rectangle holding both; empty inputs are ignored; false when the result is empty.
bool UnionRect(TRect& dest, const TRect& a, const TRect& b);
TRect OffsetRect(const TRect& r, int32_t dx, int32_t dy);
TRect InflateRect(const TRect& r, int32_t dx, int32_t dy);
// Left <= Right and Top <= Bottom.
TRect NormalizeRect(const TRect& r);

}  // namespace fw
