#include "widgets/win32/shapepaint.h"

#include <functional>
#include <memory>
#include <vector>

#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/dcstate.h"
#include "widgets/win32/startup.h"

namespace kvx::win32 {

namespace {

std::vector<TPoint> PointsOf(const TKVXPointList& list) {
    std::vector<TPoint> out;
    out.reserve(static_cast<size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) out.push_back(KVXUnpackPoint(list.Get(i)));
    return out;
}

TPoint At(const std::vector<TPoint>& pts, size_t i) { return i < pts.size() ? pts[i] : TPoint{}; }

std::vector<POINT> ToPOINTs(const TPoint* pts, size_t n) {
    std::vector<POINT> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = {pts[i].X, pts[i].Y};
    return out;
}

// The shape's figure from its outer or inset points (a teeth outline is one polygon).
void Figure(HDC dc, TKVXShapeType shape, bool teeth, const std::vector<TPoint>& pts, bool inset) {
    if (pts.empty()) return;
    if (teeth) {
        const std::vector<POINT> p = ToPOINTs(pts.data(), pts.size());
        Polygon(dc, p.data(), static_cast<int>(p.size()));
        return;
    }
    const size_t n = static_cast<size_t>(KVXShapeOuterCount(shape));
    const size_t base = inset ? n : 0;
    const TPoint p0 = At(pts, base), p1 = At(pts, base + 1), p2 = At(pts, base + 2);
    switch (shape) {
        case TKVXShapeType::stEllipse: Ellipse(dc, p0.X, p0.Y, p1.X, p1.Y); break;
        case TKVXShapeType::stRectangle: Rectangle(dc, p0.X, p0.Y, p1.X, p1.Y); break;
        case TKVXShapeType::stRoundRect: RoundRect(dc, p0.X, p0.Y, p1.X, p1.Y, p2.X, p2.Y); break;
        default:
            if (pts.size() >= base + n) {
                const std::vector<POINT> p = ToPOINTs(pts.data() + base, n);
                Polygon(dc, p.data(), static_cast<int>(p.size()));
            }
            break;
    }
}

// Draws with the canvas's pen and brush on its DC; a hatched brush paints its background in Back when
// OpaqueHatch is set (else its gaps stay transparent, as the canvas draws hatches).
template <class F>
void WithTools(fw::TCanvas* c, bool opaqueHatch, TColor back, F draw) {
    TDCState state(c);
    HDC dc = state.DC();
    fw::TBrush* brush = c->Brush();
    SelectObject(dc, c->Pen()->Handle());
    SetROP2(dc, c->Pen()->Rop2());
    UnrealizeObject(brush->Handle());
    SelectObject(dc, brush->Handle());
    const bool hatch = brush->Style() != fw::TBrushStyle::bsSolid && brush->Style() != fw::TBrushStyle::bsClear && !brush->Bitmap();
    const COLORREF brushColor = static_cast<COLORREF>(fw::ColorToRGB(brush->Color()));
    if (!hatch) {
        SetBkColor(dc, brushColor);
        SetBkMode(dc, OPAQUE);
    } else if (opaqueHatch) {
        SetBkColor(dc, static_cast<COLORREF>(fw::ColorToRGB(back)));
        SetBkMode(dc, OPAQUE);
    } else {
        SetBkColor(dc, ~brushColor & 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
    }
    draw(dc);
}

void Pen(fw::TCanvas* c, TColor color, int width) {
    c->Pen()->SetMode(fw::TPenMode::pmCopy);
    KVXSolidPen(c, color, width);
}

// The two-coloured bevel lines drawn over the outline of an inset or offset bevel.
void BevelLines(fw::TCanvas* c, TKVXShapeType shape, const std::vector<TPoint>& pts, int r, int s, int corner,
                TColor firstColor, TColor secondColor, int bw) {
    using Draw = std::function<void()>;
    auto poly = [c](std::vector<TPoint> line) -> Draw { return [c, line] { c->Polyline(line); }; };
    auto arc = [c](TRect box, TPoint from, TPoint to) -> Draw {
        return [c, box, from, to] { c->Arc(box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y, to.X, to.Y); };
    };
    auto P = [&](size_t i) { return At(pts, i); };
    std::vector<Draw> first, second;
    const TPoint p0 = P(0), p1 = P(1), p2 = P(2), p3 = P(3), p4 = P(4), p5 = P(5), p6 = P(6), p7 = P(7), p8 = P(8),
                 p9 = P(9);
    const int L = p0.X + r, T = p0.Y + r, R = p1.X - s, B = p1.Y - s;
    switch (shape) {
        case TKVXShapeType::stEllipse:
            first = {arc({L, T, R, B}, {R, T}, {L, B})};
            second = {arc({L, T, R, B}, {L, B}, {R, T})};
            break;
        case TKVXShapeType::stRectangle:
            first = {poly({{L, B}, {L, T}, {R, T}})};
            second = {poly({{R - 1, T}, {R - 1, B - 1}, {L, B - 1}})};
            break;
        case TKVXShapeType::stRoundRect: {
            const int h = corner / 2;
            first = {arc({L, T, L + corner, T + corner}, {L + h, T}, {L, T + h}),
                     arc({R - corner, T, R, T + corner}, {R, T}, {R - h, T}),
                     arc({L, B - corner, L + corner, B}, {L, B - h}, {L, B}), poly({{L, T + h}, {L, B - h}}),
                     poly({{L + h, T}, {R - h, T}})};
            second = {arc({R - corner, T, R, T + corner}, {R, T + h}, {R, T}),
                      arc({R - corner, B - corner, R, B}, {R - h, B}, {R, B - h}),
                      arc({L, B - corner, L + corner, B}, {L, B}, {L + h, B}), poly({{R - 1, T + h}, {R - 1, B - h}}),
                      poly({{L + h, B - 1}, {R - h, B - 1}})};
            break;
        }
        case TKVXShapeType::stDirectUp:
            first = {poly({p2, p0, p1})};
            second = {poly({p1, p2})};
            break;
        case TKVXShapeType::stDirectRight:
            first = {poly({{p0.X + r, p0.Y + r}, {p2.X + r, p2.Y - s}})};
            second = {poly({{p0.X + r, p0.Y + r}, {p1.X - s, p1.Y}, {p2.X + r, p2.Y - s}})};
            break;
        case TKVXShapeType::stDirectDown:
            first = {poly({{p0.X + r, p0.Y + r}, {p1.X - s, p1.Y - s}})};
            second = {poly({{p0.X - s, p0.Y + r}, {p2.X, p2.Y - s}, {p1.X - s, p1.Y + r}})};
            break;
        case TKVXShapeType::stDirectLeft:
            first = {poly({{p0.X - r - 1, p0.Y + r}, {p1.X + r, p1.Y + r}, {p2.X - r - 1, p2.Y - r}})};
            second = {poly({{p0.X - r - 1, p0.Y + r}, {p2.X - r - 1, p2.Y - s}})};
            break;
        case TKVXShapeType::stDiamond:
            first = {poly({{p3.X + r, p3.Y}, {p0.X, p0.Y + r}, {p1.X - s, p1.Y}})};
            second = {poly({{p1.X - s, p1.Y}, {p2.X, p2.Y - s}, {p3.X + r, p3.Y}})};
            break;
        case TKVXShapeType::stComb:
            first = {poly({{p4.X + r, p4.Y}, {p5.X + r, p5.Y}, {p0.X, p0.Y + r}, {p1.X - s - 1, p1.Y}})};
            second = {poly({{p1.X - s - 1, p1.Y}, {p2.X - s - 1, p2.Y}, {p3.X, p3.Y - s}, {p4.X + r, p4.Y}})};
            break;
        case TKVXShapeType::stOctagon:
            first = {poly({{p6.X + r, p6.Y}, {p7.X + r, p7.Y}, {p0.X, p0.Y + r}, {p1.X, p1.Y + r}, {p2.X - s - 1, p2.Y}})};
            second = {poly({{p2.X - s - 1, p2.Y}, {p3.X - s - 1, p3.Y}, {p4.X, p4.Y - s}, {p5.X, p5.Y - s}, {p6.X + r, p6.Y}})};
            break;
        case TKVXShapeType::stStar:
            first = {poly({p1, p2}), poly({p3, p4}), poly({p8, p9, p0}), poly({p6, p7})};
            second = {poly({p0, p1}), poly({p2, p3}), poly({p4, p5, p6}), poly({p7, p8})};
            break;
    }
    const bool secondFirst = shape == TKVXShapeType::stDirectDown || shape == TKVXShapeType::stDirectLeft;
    auto run = [&](const std::vector<Draw>& draws, TColor color) {
        Pen(c, color, bw);
        for (const Draw& d : draws) d();
    };
    if (secondFirst) {
        run(second, secondColor);
        run(first, firstColor);
    } else {
        run(first, firstColor);
        run(second, secondColor);
    }
}

}  // namespace

void KVXPaintShape(const TRect& rect, fw::TCanvas* canvas, TKVXShapeType shape, TKVXTeeth* teeth, TKVXPointList* list,
                   bool square, fw::TBrush* brush, uint8_t roundPercent, TKVXSimpleBevel* bevel, TKVXShadow* shadow,
                   fw::TBitmap* fillBitmap, TColor color, TColor backColor) {
    if (!canvas || !bevel) return;
    const bool hasTeeth = teeth != nullptr;
    const TKVXShapeMetrics m = KVXShapeMetrics(rect, hasTeeth, square, roundPercent, bevel, shadow);
    const TColor around = fw::ColorToRGB(color);
    std::unique_ptr<TKVXPointList> own;
    TKVXPointList* outline = list;
    if (!outline) {
        own = std::make_unique<TKVXPointList>();
        outline = own.get();
        KVXBuildShapePoints(rect, shape, teeth, square, roundPercent, bevel, shadow, outline);
    }
    // The stored outline moves to the canvas for painting and back afterwards, also after a failure.
    KVXOffsetPointList(outline, rect.Left, rect.Top);
    struct Restore {
        TKVXPointList* list;
        int dx, dy;
        bool own;
        ~Restore() {
            if (!own) KVXOffsetPointList(list, dx, dy);
        }
    } restore{outline, m.depth - rect.Left, m.depth - rect.Top, own != nullptr};

    // The outline's wide pens and the bevel lines on the outer points reach one pixel past the shape's
    // edges at some corners: the painting is clipped to the rectangle, as a control's own area.
    HDC dc = canvas->Handle();
    TGdiObject<HRGN> savedClip(CreateRectRgn(0, 0, 0, 0));
    const bool hadClip = GetClipRgn(dc, savedClip.Get()) == 1;
    IntersectClipRect(dc, rect.Left, rect.Top, rect.Right, rect.Bottom);
    struct RestoreClip {
        HDC dc;
        HRGN saved;
        ~RestoreClip() { SelectClipRgn(dc, saved); }
    } restoreClip{dc, hadClip ? savedClip.Get() : nullptr};

    const bool hasFill = fillBitmap && !fillBitmap->Empty();
    if (shadow && shadow->Style() != TKVXShadowStyle::hssNone && m.depth > 0) {
        canvas->Pen()->SetStyle(fw::TPenStyle::psClear);
        if (shadow->Style() == TKVXShadowStyle::hssSolid) {
            canvas->Brush()->SetBitmap(nullptr);
            canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(shadow->Color());
        } else {
            canvas->Brush()->SetBitmap(KVXCheckerBitmap(shadow->Color()));
            canvas->Pen()->SetMode(fw::TPenMode::pmMask);
        }
        const std::vector<TPoint> outer = PointsOf(*outline);
        WithTools(canvas, false, backColor, [&](HDC dc) { Figure(dc, shape, hasTeeth, outer, false); });
        canvas->Brush()->SetBitmap(nullptr);
    }
    KVXOffsetPointList(outline, -m.depth, -m.depth);
    const std::vector<TPoint> pts = PointsOf(*outline);

    const int bw = m.bw;
    const TKVXSimpleBevelStyle style = bevel->Style();
    const TColor brushColor = brush ? brush->Color() : fw::clWhite;
    for (int pass = 0; pass < 2; ++pass) {
        canvas->Pen()->SetMode(fw::TPenMode::pmCopy);
        if (bevel->Width() == 0) {
            canvas->Pen()->SetStyle(fw::TPenStyle::psClear);
        } else {
            // The outline colour, except under the inset and offset bevels' own lines in the first pass.
            const bool underBevelLines = pass == 0 && style != TKVXSimpleBevelStyle::sbNormal;
            Pen(canvas, underBevelLines ? brushColor : bevel->Color(), bw);
        }
        if (pass == 0 && hasFill) {
            // The silhouette: white inside the shape, the surrounding colour outside; the picture shows
            // only where the silhouette is white.
            const int w = rect.Width(), h = rect.Height();
            fw::TBitmap silhouette, picture;
            KVXFillBitmap(&silhouette, {0, 0, w, h}, around);
            fw::TCanvas* sc = silhouette.Canvas();
            if (bevel->Width() != 0) Pen(sc, fw::clWhite, bw);
            else sc->Pen()->SetStyle(fw::TPenStyle::psClear);
            sc->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
            sc->Brush()->SetColor(fw::clWhite);
            std::vector<TPoint> local = pts;
            KVXOffsetPoints(local.data(), static_cast<int>(local.size()), -rect.Left, -rect.Top);
            WithTools(sc, false, backColor, [&](HDC dc) { Figure(dc, shape, hasTeeth, local, !hasTeeth); });
            KVXFillBitmap(&picture, {0, 0, w, h}, around);
            picture.Canvas()->Draw(0, 0, fillBitmap);
            KVXDrawBitmapThroughMask(canvas, rect, &silhouette, &picture, fw::clWhite, around);
            continue;
        }
        if (brush) canvas->Brush()->Assign(brush);
        if (hasFill) canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
        WithTools(canvas, pass == 1, backColor, [&](HDC dc) { Figure(dc, shape, hasTeeth, pts, !hasTeeth); });
    }

    if (bw != 0 && bevel->Width() != 0 && style != TKVXSimpleBevelStyle::sbNormal) {
        const bool inset = style == TKVXSimpleBevelStyle::sbInset;
        const TColor firstColor = inset ? bevel->ShadowColor() : bevel->LightColor();
        const TColor secondColor = inset ? bevel->LightColor() : bevel->ShadowColor();
        BevelLines(canvas, shape, pts, m.r, m.s, m.corner, firstColor, secondColor, bw);
    }
}

}  // namespace kvx::win32
