#include "widgets/shapegeometry.h"

#include <algorithm>
#include <cmath>

#include "framework/core/rtti.h"

namespace kvx {

// ---- point lists ----------------------------------------------------------------------------------

uint32_t KVXPackPoint(int64_t x, int64_t y) {
    return static_cast<uint32_t>(static_cast<uint16_t>(x)) << 16 | static_cast<uint16_t>(y);
}

TPoint KVXUnpackPoint(uint32_t value) {
    return {static_cast<int16_t>(value >> 16), static_cast<int16_t>(value & 0xFFFF)};
}

void KVXGetPoint(const TKVXPointList* list, int index, TPoint& point) {
    if (list && index >= 0 && index < list->Count()) point = KVXUnpackPoint(list->Get(index));
}

void KVXSetPoint(TKVXPointList* list, int index, const TPoint& point) {
    if (list && index >= 0 && index < list->Count()) list->Put(index, KVXPackPoint(point.X, point.Y));
}

void KVXAddPoint(TKVXPointList* list, const TPoint& point) {
    if (list) list->Add(KVXPackPoint(point.X, point.Y));
}

void KVXOffsetPointList(TKVXPointList* list, int dx, int dy) {
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) {
        const TPoint p = KVXUnpackPoint(list->Get(i));
        list->Put(i, KVXPackPoint(int64_t{p.X} + dx, int64_t{p.Y} + dy));
    }
}

void KVXOffsetPoints(TPoint* points, int count, int dx, int dy) {
    if (!points) return;
    for (int i = 0; i < count; ++i) points[i] = {points[i].X + dx, points[i].Y + dy};
}

// ---- TKVXSimpleBevel and TKVXTeeth ----------------------------------------------------------------

void TKVXSimpleBevel::SetWidth(TKVXBevelWidth value) {
    if (value <= kKVXMaxBevelWidth && KVXStore(width_, value)) Change();
}

void TKVXSimpleBevel::SetStyle(TKVXSimpleBevelStyle value) {
    if (KVXStore(style_, value)) Change();
}

void TKVXSimpleBevel::SetColor(int index, TColor value) {
    if (KVXStore(index == 0 ? lightColor_ : index == 1 ? shadowColor_ : color_, value)) Change();
}

void TKVXSimpleBevel::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXSimpleBevel*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    width_ = s->width_;
    style_ = s->style_;
    color_ = s->color_;
    lightColor_ = s->lightColor_;
    shadowColor_ = s->shadowColor_;
    Change();
}

void TKVXTeeth::SetCount(int value) {
    if (value >= 0 && value <= 50 && KVXStore(count_, value)) Change();
}

void TKVXTeeth::SetDirection(TKVXDirection value) {
    if (KVXStore(direction_, value)) Change();
}

void TKVXTeeth::SetFlag(int index, bool value) {
    if (KVXStore(index == 0 ? offset_ : setPerCount_, value)) Change();
}

void TKVXTeeth::SetSize(int index, int value) {
    if (KVXStore(index == 0 ? width_ : height_, value)) Change();
}

void TKVXTeeth::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXTeeth*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    count_ = s->count_;
    direction_ = s->direction_;
    offset_ = s->offset_;
    setPerCount_ = s->setPerCount_;
    width_ = s->width_;
    height_ = s->height_;
    Change();
}

// ---- the builder ----------------------------------------------------------------------------------

TKVXShapeMetrics KVXShapeMetrics(const TRect& rect, bool teeth, bool square, uint8_t roundPercent,
                                 const TKVXSimpleBevel* bevel, const TKVXShadow* shadow) {
    TKVXShapeMetrics m;
    m.depth = shadow && shadow->Style() != TKVXShadowStyle::hssNone ? shadow->Depth() : 0;
    m.bw = teeth || !bevel ? 1 : bevel->Width();
    m.r = m.bw / 2;
    m.s = (m.bw - 1) / 2;
    const int w = rect.Width(), h = rect.Height();
    int dx = 0, dy = 0;
    if (square) {
        if (w > h)
            dx = (w - h) / 2;
        else
            dy = (h - w) / 2;
    }
    m.q = {m.depth + dx, m.depth + dy, w - dx, h - dy};
    m.corner = static_cast<int>(int64_t{std::min(w - m.depth, h - m.depth)} * roundPercent / 100);
    return m;
}

int KVXShapeOuterCount(TKVXShapeType shape) {
    switch (shape) {
        case TKVXShapeType::stEllipse:
        case TKVXShapeType::stRectangle: return 2;
        case TKVXShapeType::stRoundRect:
        case TKVXShapeType::stDirectUp:
        case TKVXShapeType::stDirectRight:
        case TKVXShapeType::stDirectDown:
        case TKVXShapeType::stDirectLeft: return 3;
        case TKVXShapeType::stDiamond: return 4;
        case TKVXShapeType::stComb: return 6;
        case TKVXShapeType::stOctagon: return 8;
        case TKVXShapeType::stStar: return 10;
    }
    return 0;
}

namespace {

int64_t Round(double v) { return std::llround(v); }

constexpr int64_t kMaxTeethSteps = 65536;

struct Builder {
    TKVXPointList* list;
    void Add(int64_t x, int64_t y) { list->Add(KVXPackPoint(x, y)); }
};

// The step count along the toothed edge, with SetPerCount writing the pitch back; 0 when it cannot be
// computed.
int64_t TeethSteps(TKVXTeeth& teeth, int64_t length, bool horizontal) {
    const int pitchIndex = horizontal ? 0 : 1;
    if (teeth.SetPerCount()) {
        if (teeth.Count() <= 0) return 0;
        const int64_t pitch = Round(static_cast<double>(length) / (2.0 * teeth.Count()));
        teeth.BeginUpdate();
        teeth.SetSize(pitchIndex, static_cast<int>(pitch));
        teeth.EndUpdate(false);
        return 2 * int64_t{teeth.Count()};
    }
    const int pitch = teeth.GetSize(pitchIndex);
    if (pitch == 0) return 0;
    const int64_t n = 2 * Round(static_cast<double>(length) / pitch);
    // More steps than 16-bit coordinates can tell apart is no pitch either.
    return n > 0 && n <= kMaxTeethSteps ? n : 0;
}

void BuildTeeth(Builder& b, const TRect& q, TKVXTeeth& teeth) {
    const int64_t L = q.Left, T = q.Top, R = q.Right, B = q.Bottom;
    const TKVXDirection dir = teeth.Direction();
    const bool horizontal = dir == TKVXDirection::tdDown || dir == TKVXDirection::tdUp;
    const int64_t n = TeethSteps(teeth, horizontal ? R - L : B - T, horizontal);
    if (n == 0) {
        // No pitch: the toothed rectangle without its teeth.
        b.Add(R - 1, B - 1), b.Add(L, B - 1), b.Add(L, T), b.Add(R - 1, T);
        return;
    }
    const int64_t wd = teeth.Width(), ht = teeth.Height();
    const int64_t f = teeth.Offset() ? 0 : 1;
    auto p = [&](int64_t i) -> int64_t { return teeth.Offset() ? i % 2 : (i + 1) % 2; };
    switch (dir) {
        case TKVXDirection::tdRight:
            b.Add(R - f * wd - 1, B - 1), b.Add(L, B - 1), b.Add(L, T), b.Add(R - f * wd - 1, T);
            for (int64_t i = 0; i <= n; ++i) b.Add(R - p(i) * wd - 1, std::min(T + i * ht, B));
            b.Add(R - p(n) * wd - 1, B);
            break;
        case TKVXDirection::tdDown:
            b.Add(R - 1, B - f * ht), b.Add(R - 1, T), b.Add(L, T), b.Add(L, B - f * ht);
            for (int64_t i = 0; i <= n; ++i) b.Add(std::min(L + i * wd, R), B - p(i) * ht);
            b.Add(R, B - p(n) * ht);
            break;
        case TKVXDirection::tdLeft:
            b.Add(L + f * wd, B - 1), b.Add(R - 1, B - 1), b.Add(R - 1, T), b.Add(L + f * wd, T);
            for (int64_t i = 0; i <= n; ++i) b.Add(L + p(i) * wd, std::min(T + i * ht, B));
            b.Add(L + p(n) * wd, B);
            break;
        case TKVXDirection::tdUp:
            b.Add(R - 1, T + f * ht), b.Add(R - 1, B - 1), b.Add(L, B - 1), b.Add(L, T + f * ht);
            for (int64_t i = 0; i <= n; ++i) b.Add(std::min(L + i * wd, R), T + p(i) * ht);
            b.Add(R, T + p(n) * ht);
            break;
    }
}

void BuildShape(Builder& b, const TKVXShapeMetrics& m, TKVXShapeType shape) {
    const int64_t L = m.q.Left, T = m.q.Top, R = m.q.Right, B = m.q.Bottom;
    const int64_t r = m.r, s = m.s, c = m.corner, depth = m.depth;
    const int64_t mx = L + (R - L) / 2, my = T + (B - T) / 2;
    switch (shape) {
        case TKVXShapeType::stEllipse:
        case TKVXShapeType::stRectangle:
            b.Add(L, T), b.Add(R, B);
            b.Add(L + r, T + r), b.Add(R - s, B - s);
            break;
        case TKVXShapeType::stRoundRect:
            b.Add(L, T), b.Add(R, B), b.Add(c, c);
            b.Add(L + r, T + r), b.Add(R, B), b.Add(c + depth, c + depth);
            break;
        case TKVXShapeType::stDirectUp:
            b.Add(mx, T), b.Add(R, B), b.Add(L, B);
            b.Add(mx, T + r), b.Add(R - s, B - s), b.Add(L + 2 * r, B);
            break;
        case TKVXShapeType::stDirectRight:
            b.Add(L, T), b.Add(R, my), b.Add(L, B);
            b.Add(L + r, T + r), b.Add(R - s, my), b.Add(L + r, B - s);
            break;
        case TKVXShapeType::stDirectDown:
            b.Add(L, T), b.Add(R, T), b.Add(mx, B);
            b.Add(L + r, T + r), b.Add(R - s, T + r), b.Add(mx, B);
            break;
        case TKVXShapeType::stDirectLeft:
            b.Add(R, T), b.Add(L, my), b.Add(R, B);
            b.Add(R - s, T + r), b.Add(L + r, my), b.Add(R - s, B - s);
            break;
        case TKVXShapeType::stDiamond:
            b.Add(mx, T), b.Add(R, my), b.Add(mx, B), b.Add(L, my);
            b.Add(mx, T + r), b.Add(R - s, my), b.Add(mx, B - s), b.Add(L + r, my);
            break;
        case TKVXShapeType::stComb: {
            const int64_t k = Round(static_cast<double>(B - T) / 5);
            b.Add(mx, T), b.Add(R, T + k), b.Add(R, T + 4 * k), b.Add(mx, B), b.Add(L, T + 4 * k), b.Add(L, T + k);
            b.Add(mx, T + r), b.Add(R - s, T + k + r), b.Add(R - s, T + 4 * k + r), b.Add(mx, B - s),
                b.Add(L + r, T + 4 * k + r), b.Add(L + r, T + k + r);
            break;
        }
        case TKVXShapeType::stOctagon: {
            const double root2 = std::sqrt(2.0);
            const int64_t a = Round(static_cast<double>(R - L) / (2 + root2));
            const int64_t bb = Round(static_cast<double>(B - T) / (2 + root2));
            const int64_t e = Round(static_cast<double>(a) * root2);
            const int64_t g = Round(static_cast<double>(bb) * root2);
            b.Add(L + a, T), b.Add(L + a + e, T), b.Add(R, T + bb), b.Add(R, T + bb + g), b.Add(L + a + e, B),
                b.Add(L + a, B), b.Add(L, T + bb + g), b.Add(L, T + bb);
            b.Add(L + a + r, T + r), b.Add(L + a + e + r, T + r), b.Add(R - s, T + bb + r), b.Add(R - s, T + bb + g + r),
                b.Add(L + a + e + r, B - s), b.Add(L + a + r, B - s), b.Add(L + r, T + bb + g + r), b.Add(L + r, T + bb + r);
            break;
        }
        case TKVXShapeType::stStar: {
            const double w = static_cast<double>(R - L), h = static_cast<double>(B - T);
            auto x = [&](double f) { return L + Round(w * f); };
            auto y = [&](double f) { return T + Round(h * f); };
            b.Add(mx, T), b.Add(x(0.65), y(0.38)), b.Add(R, y(0.38)), b.Add(x(0.70), y(0.60)), b.Add(x(0.85), B);
            b.Add(mx, y(0.75)), b.Add(x(0.15), B), b.Add(x(0.30), y(0.60)), b.Add(L, y(0.38)), b.Add(x(0.35), y(0.38));
            b.Add(mx, T + r), b.Add(x(0.65), y(0.38)), b.Add(R - s, y(0.38)), b.Add(x(0.70), y(0.60)), b.Add(x(0.85), B - s);
            b.Add(mx, y(0.75)), b.Add(x(0.15), B - s), b.Add(x(0.30), y(0.60)), b.Add(L + s, y(0.38)), b.Add(x(0.35), y(0.38));
            break;
        }
    }
}

}  // namespace

void KVXBuildShapePoints(const TRect& rect, TKVXShapeType shape, TKVXTeeth* teeth, bool square, uint8_t roundPercent,
                         const TKVXSimpleBevel* bevel, const TKVXShadow* shadow, TKVXPointList* list) {
    if (!list) return;
    list->Clear();
    const TKVXShapeMetrics m = KVXShapeMetrics(rect, teeth != nullptr, square, roundPercent, bevel, shadow);
    Builder b{list};
    if (teeth)
        BuildTeeth(b, m.q, *teeth);
    else
        BuildShape(b, m, shape);
}

void KVXRegisterShapeClasses() {
    using fw::Class;
    const fw::IdentTable& colors = KVXColorIdentTable();
    Class<TKVXSimpleBevel, TKVXObject>("TKVXSimpleBevel")
        .Prop("Width", &TKVXSimpleBevel::Width, &TKVXSimpleBevel::SetWidth)
        .Prop("Style", &TKVXSimpleBevel::Style, &TKVXSimpleBevel::SetStyle)
        .Prop("Color", 2, &TKVXSimpleBevel::GetColor, &TKVXSimpleBevel::SetColor)
        .Idents(colors)
        .Prop("LightColor", 0, &TKVXSimpleBevel::GetColor, &TKVXSimpleBevel::SetColor)
        .Idents(colors)
        .Prop("ShadowColor", 1, &TKVXSimpleBevel::GetColor, &TKVXSimpleBevel::SetColor)
        .Idents(colors);
    Class<TKVXTeeth, TKVXObject>("TKVXTeeth")
        .Prop("Count", &TKVXTeeth::Count, &TKVXTeeth::SetCount)
        .Prop("Direction", &TKVXTeeth::Direction, &TKVXTeeth::SetDirection)
        .Prop("Offset", 0, &TKVXTeeth::GetFlag, &TKVXTeeth::SetFlag)
        .Prop("SetPerCount", 1, &TKVXTeeth::GetFlag, &TKVXTeeth::SetFlag)
        .Prop("Width", 0, &TKVXTeeth::GetSize, &TKVXTeeth::SetSize)
        .Prop("Height", 1, &TKVXTeeth::GetSize, &TKVXTeeth::SetSize);
}

}  // namespace kvx
