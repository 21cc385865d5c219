// The geometry behind the shape controls: a list of points packed into 32-bit items, the pen-drawn
// bevel and the saw-tooth edge of a shape, and the builder that turns a shape type and a rectangle into
// an outline. The controls keep one outline per control and rebuild it only when their size or a
// property changes; the Win32 painter (win32/shapepaint.h) draws from it.
#pragma once

#include <cstdint>
#include <vector>

#include "widgets/drawtypes.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxgraph.h"

namespace kvx {

// Each item one point: X in the high 16 bits, Y in the low 16 bits, each a signed 16-bit number
// (coordinates wrap to -32768..32767).
class TKVXPointList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    uint32_t Get(int index) const { return items_.at(static_cast<size_t>(index)); }
    void Put(int index, uint32_t value) { items_.at(static_cast<size_t>(index)) = value; }
    void Add(uint32_t value) { items_.push_back(value); }
    void Clear() { items_.clear(); }

private:
    std::vector<uint32_t> items_;
};

uint32_t KVXPackPoint(int64_t x, int64_t y);
TPoint KVXUnpackPoint(uint32_t value);
// Reading or writing past the last item does nothing.
void KVXGetPoint(const TKVXPointList* list, int index, TPoint& point);
void KVXSetPoint(TKVXPointList* list, int index, const TPoint& point);
void KVXAddPoint(TKVXPointList* list, const TPoint& point);
// Every item moved; nothing for a missing list.
void KVXOffsetPointList(TKVXPointList* list, int dx, int dy);
void KVXOffsetPoints(TPoint* points, int count, int dx, int dy);

class TKVXSimpleBevel : public TKVXObject {
public:
    TKVXSimpleBevel() = default;

    TKVXBevelWidth Width() const { return width_; }
    void SetWidth(TKVXBevelWidth value);  // 0..50
    TKVXSimpleBevelStyle Style() const { return style_; }
    void SetStyle(TKVXSimpleBevelStyle value);
    // Index 0 LightColor, 1 ShadowColor, 2 Color (the outline).
    TColor GetColor(int index) const { return index == 0 ? lightColor_ : index == 1 ? shadowColor_ : color_; }
    void SetColor(int index, TColor value);
    TColor Color() const { return color_; }
    TColor LightColor() const { return lightColor_; }
    TColor ShadowColor() const { return shadowColor_; }

    void Assign(fw::TPersistent* source) override;

private:
    TKVXBevelWidth width_ = 2;
    TKVXSimpleBevelStyle style_ = TKVXSimpleBevelStyle::sbNormal;
    TColor color_ = fw::clBlack;
    TColor lightColor_ = fw::clBtnHighlight;
    TColor shadowColor_ = fw::clBtnShadow;
};

// The saw-tooth edge. Along a vertical edge (tdRight, tdLeft) Width is the tooth depth and Height the
// pitch; along a horizontal one (tdDown, tdUp) Height is the depth and Width the pitch.
class TKVXTeeth : public TKVXObject {
public:
    TKVXTeeth() = default;

    int Count() const { return count_; }
    void SetCount(int value);  // 0..50
    TKVXDirection Direction() const { return direction_; }
    void SetDirection(TKVXDirection value);
    // Index 0 Offset (the zigzag starts on the edge line), 1 SetPerCount (the pitch comes from Count).
    bool GetFlag(int index) const { return index == 0 ? offset_ : setPerCount_; }
    void SetFlag(int index, bool value);
    bool Offset() const { return offset_; }
    bool SetPerCount() const { return setPerCount_; }
    // Index 0 Width, 1 Height.
    int GetSize(int index) const { return index == 0 ? width_ : height_; }
    void SetSize(int index, int value);
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Assign(fw::TPersistent* source) override;

private:
    int count_ = 10;
    TKVXDirection direction_ = TKVXDirection::tdRight;
    bool offset_ = true;
    bool setPerCount_ = true;
    int width_ = 10;
    int height_ = 0;
};

// The common values of builder and painter.
struct TKVXShapeMetrics {
    int depth = 0;  // the shadow's depth (0 without a shadow or with hssNone)
    int bw = 1;     // the pen width: 1 with teeth or without a bevel, else the bevel's width
    int r = 0;      // bw div 2
    int s = 0;      // (bw - 1) div 2
    TRect q;        // the shape rectangle (L, T, R, B)
    int corner = 0; // the rounded rectangle's corner size
};
TKVXShapeMetrics KVXShapeMetrics(const TRect& rect, bool teeth, bool square, uint8_t roundPercent,
                                 const TKVXSimpleBevel* bevel, const TKVXShadow* shadow);

// Clears List and fills it with the outline of the shape in Rect: the closed toothed polygon when Teeth
// is given (the shape type is then ignored, and with SetPerCount the pitch is written back into Teeth
// without a notification), else the outer points followed by the inset points. A pitch that cannot be
// computed (Count 0, or a zero pitch) gives the plain rectangle without teeth.
void KVXBuildShapePoints(const TRect& rect, TKVXShapeType shape, TKVXTeeth* teeth, bool square, uint8_t roundPercent,
                         const TKVXSimpleBevel* bevel, const TKVXShadow* shadow, TKVXPointList* list);

// The number of outer points of a shape's outline (the inset points follow them).
int KVXShapeOuterCount(TKVXShapeType shape);

// Registers TKVXSimpleBevel and TKVXTeeth (KVXRegisterClasses calls it).
void KVXRegisterShapeClasses();

}  // namespace kvx
