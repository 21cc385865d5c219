// The graphic property objects that own device objects: the gradient (its colour table and palette),
// the shape fill and the fill object (a bitmap, a list bitmap, a gradient and, for the fill object, a
// brush). Changes inside an owned object reach the owner's OnChange through ChildChanged.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"
#include "widgets/gradient.h"
#include "widgets/kvxclass.h"

namespace kvx::win32 {

class TKVXCustomImageList;

class TKVXGradient : public TKVXObject {
public:
    TKVXGradient();
    ~TKVXGradient() override;

    TKVXColorCount ColorCount() const { return colorCount_; }
    void SetColorCount(TKVXColorCount value);  // 2..236
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor value);
    bool PaletteRealize() const { return paletteRealize_; }
    void SetPaletteRealize(bool value);
    TKVXGradientStyle Style() const { return style_; }
    void SetStyle(TKVXGradientStyle value);

    const TKVXColorTable& Colors() const { return colors_; }
    // Null unless PaletteRealize.
    HPALETTE Palette() const { return palette_; }
    void PaintGradient(fw::TCanvas* canvas, const TRect& rect);
    // With PaletteRealize, selects and realizes the palette in the canvas.
    void RealizeGradientPalette(fw::TCanvas* canvas);

    // Rebuilds the table and palette, then notifies.
    void Change() override;
    void Assign(fw::TPersistent* source) override;

private:
    void Rebuild();

    TKVXColorCount colorCount_ = 16;
    TColor color_ = fw::clBlue;
    TKVXColorTable colors_;
    TColor endColor_ = fw::clBlack;
    bool paletteRealize_ = false;
    HPALETTE palette_ = nullptr;
    TKVXGradientStyle style_ = TKVXGradientStyle::gstVertical;
};

class TKVXShapeFill : public TKVXObject {
public:
    TKVXShapeFill() : TKVXShapeFill(TKVXFillStyle::sfBrush) {}
    ~TKVXShapeFill() override;

    fw::TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(fw::TBitmap* value) { bitmap_->Assign(value); }
    // The picture an owning control copies from its image list for sfBitmapList (null empties it).
    fw::TBitmap* ListBitmap() const { return listBitmap_.get(); }
    void SetListBitmap(fw::TBitmap* value) { listBitmap_->Assign(value); }
    // The list bitmap becomes picture (ListIndex, ImageIndex) of List, or empty without a list.
    void TakeListPicture(TKVXCustomImageList* list, int listIndex, int imageIndex);
    TKVXGradient* Gradient() const { return gradient_.get(); }
    void SetGradient(TKVXGradient* value) { gradient_->Assign(value); }
    TKVXFillStyle Style() const { return style_; }
    void SetStyle(TKVXFillStyle value);
    TKVXTileMode TileMode() const { return tileMode_; }
    void SetTileMode(TKVXTileMode value);

    // Bitmap for sfBitmap, the list bitmap for sfBitmapList, else null.
    fw::TBitmap* CurrentBitmap() const;
    // sfNone, or an empty current bitmap for the two bitmap styles.
    bool IsEmpty() const;
    HPALETTE FillPalette() const;

    void Assign(fw::TPersistent* source) override;

protected:
    explicit TKVXShapeFill(TKVXFillStyle style);

private:
    std::unique_ptr<fw::TBitmap> bitmap_;
    std::unique_ptr<fw::TBitmap> listBitmap_;
    std::unique_ptr<TKVXGradient> gradient_;
    TKVXFillStyle style_;
    TKVXTileMode tileMode_ = TKVXTileMode::tmTile;
};

class TKVXFillObject : public TKVXShapeFill {
public:
    TKVXFillObject();
    ~TKVXFillObject() override;

    // Alignment and the offsets notify only where they count: a bitmap style with tmNone.
    TKVXAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXAlignment value);
    // Index 0 OffsetX, 1 OffsetY.
    int GetOffset(int index) const { return index == 0 ? offsetX_ : offsetY_; }
    void SetOffset(int index, int value);
    fw::TBrush* Brush() const { return brush_.get(); }
    void SetBrush(fw::TBrush* value) { brush_->Assign(value); }
    TKVXFillOptions Options() const { return options_; }
    void SetOptions(TKVXFillOptions value);

    // Fills Rect by Style; false when nothing of its own was painted (sfNone, or an empty bitmap).
    bool FillCanvas(fw::TCanvas* canvas, const TRect& rect, TColor backColor);

    void Assign(fw::TPersistent* source) override;

private:
    bool PlacementCounts() const;

    TKVXAlignment alignment_ = TKVXAlignment::agTopLeft;
    int offsetX_ = 0;
    int offsetY_ = 0;
    std::unique_ptr<fw::TBrush> brush_;
    TKVXFillOptions options_{TKVXFillOption::foFillInner, TKVXFillOption::foGrUseBitmap};
};

}  // namespace kvx::win32
