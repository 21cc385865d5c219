// The shape controls: transparent graphic controls that draw one of eleven shapes or a rectangle with a
// saw-tooth edge, with a drop shadow, a pen bevel, a fill and a caption (TKVXShapeControl, and
// TKVXTeethShape which starts in the teeth mode), and TKVXShadowFill, a strip that darkens its area
// with a checker pattern as a shadow beside a panel.
//
// A shape keeps its outline and rebuilds it only when a property or its size changes (lazily, at the
// next paint). In the fill modes the fill is rendered once into a picture of the shape's size, which
// every content change empties.
#pragma once

#include <memory>

#include "widgets/controltypes.h"
#include "widgets/shapegeometry.h"
#include "widgets/win32/caption.h"
#include "widgets/win32/fillobjects.h"
#include "widgets/win32/kvxcontrol.h"

namespace kvx::win32 {

class TKVXBaseShape : public TKVXBaseGraphicControl {
public:
    explicit TKVXBaseShape(TComponent* owner);

    TKVXSimpleBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(TKVXSimpleBevel* value) { bevel_->Assign(value); }
    fw::TBrush* Brush() const { return brush_.get(); }
    void SetBrush(fw::TBrush* value) { brush_->Assign(value); }
    TColor BrushBackColor() const { return brushBackColor_; }
    void SetBrushBackColor(TColor value);
    TKVXCaption* ShapeCaption() const { return caption_.get(); }
    void SetShapeCaption(TKVXCaption* value) { caption_->Assign(value); }
    bool CaptionClip() const { return captionClip_; }
    void SetCaptionClip(bool value);
    uint8_t RoundPercent() const { return roundPercent_; }
    void SetRoundPercent(uint8_t value);
    TKVXShadow* Shadow() const { return shadow_.get(); }
    void SetShadow(TKVXShadow* value) { shadow_->Assign(value); }
    TKVXShapeType Shape() const { return shape_; }
    void SetShape(TKVXShapeType value);
    bool Square() const { return square_; }
    void SetSquare(bool value);
    TKVXTeeth* Teeth() const { return teeth_.get(); }
    void SetTeeth(TKVXTeeth* value) { teeth_->Assign(value); }
    TKVXShapeControlMode Mode() const { return mode_; }
    void SetMode(TKVXShapeControlMode value);
    TKVXShapeFill* ShapeFill() const { return fill_.get(); }
    void SetShapeFill(TKVXShapeFill* value) { fill_->Assign(value); }

    // How often the outline was built (tests watch that moves and caption changes keep it).
    int OutlineBuilds() const { return outlineBuilds_; }
    HPALETTE GetPalette() override;

protected:
    ~TKVXBaseShape() override;
    void Paint() override;
    void ContentChanged(TObject* sender) override;
    void BoundsChanged(TKVXBoundsKind kind) override;
    void ImageListChanged(TObject* sender) override;
    bool NothingToPaint() override { return false; }

    virtual void DrawShapeCaption(fw::TCanvas* canvas, const TRect& rect);
    virtual void GetShapeRect(TRect& rect) { rect = ClientRect(); }
    virtual void GetCaptionText(std::string& text) { text = caption_->Caption(); }

private:
    static void ObjectChanged(void* self, TObject* sender);
    bool FillMode() const;
    void SetActiveTeeth();
    void BuildOutline();
    void RenewCache();
    void RenderCache();
    // The client rectangle less the teeth's depth on their side.
    TRect TeethCaptionRect() const;
    void PaintShapeWith(fw::TCanvas* canvas, const TRect& rect, fw::TBrush* brush, fw::TBitmap* picture, TColor color);

    std::unique_ptr<TKVXSimpleBevel> bevel_;
    std::unique_ptr<fw::TBrush> brush_;
    TColor brushBackColor_ = fw::clBtnFace;
    std::unique_ptr<TKVXCaption> caption_;
    bool captionClip_ = false;
    std::unique_ptr<TKVXPointList> outline_;
    uint8_t roundPercent_ = 33;
    std::unique_ptr<TKVXShadow> shadow_;
    TKVXShapeType shape_ = TKVXShapeType::stRectangle;
    bool square_ = false;
    std::unique_ptr<TKVXTeeth> teeth_;
    TKVXTeeth* activeTeeth_ = nullptr;
    TKVXShapeControlMode mode_ = TKVXShapeControlMode::scmShapeFast;
    bool outlineDirty_ = true;
    std::unique_ptr<TKVXShapeFill> fill_;
    std::unique_ptr<fw::TBitmap> cache_;
    int outlineBuilds_ = 0;
};

class TKVXShapeControl : public TKVXBaseShape {
public:
    using TKVXBaseShape::TKVXBaseShape;
};

class TKVXTeethShape : public TKVXShapeControl {
public:
    explicit TKVXTeethShape(TComponent* owner);
};

class TKVXShadowFill : public TKVXGraphicControl {
public:
    explicit TKVXShadowFill(TComponent* owner);

    TColor ShadowColor() const { return shadowColor_; }
    // White is stored as black: a white checker would darken nothing.
    void SetShadowColor(TColor value);
    TKVXShadowFillStyle Style() const { return style_; }
    void SetStyle(TKVXShadowFillStyle value);

protected:
    ~TKVXShadowFill() override;
    void Paint() override;
    bool NothingToPaint() override;

private:
    TColor shadowColor_ = fw::clBlack;
    std::unique_ptr<fw::TBitmap> pattern_;
    TKVXShadowFillStyle style_ = TKVXShadowFillStyle::sfShadow;
};

}  // namespace kvx::win32
