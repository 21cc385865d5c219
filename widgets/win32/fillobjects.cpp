#include "widgets/win32/fillobjects.h"

#include "widgets/drawgeometry.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/dcstate.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/imagelistbase.h"

namespace kvx::win32 {

namespace {

void FillWith(fw::TCanvas* canvas, const TRect& rect, TColor color) {
    KVXSolidBrush(canvas, color);
    canvas->FillRect(rect);
}

}  // namespace

// ---- TKVXGradient ---------------------------------------------------------------------------------

TKVXGradient::TKVXGradient() { Rebuild(); }

TKVXGradient::~TKVXGradient() {
    if (palette_) DeleteObject(palette_);
}

void TKVXGradient::Rebuild() {
    KVXMakeGradientColors(color_, endColor_, colorCount_, &colors_);
    if (palette_) DeleteObject(palette_);
    palette_ = paletteRealize_ ? KVXMakeGradientPalette(&colors_) : nullptr;
}

void TKVXGradient::Change() {
    Rebuild();
    TKVXObject::Change();
}

void TKVXGradient::SetColorCount(TKVXColorCount value) {
    if (value >= kKVXMinColorCount && value <= kKVXMaxColorCount && KVXStore(colorCount_, value)) Change();
}

void TKVXGradient::SetColor(TColor value) {
    if (KVXStore(color_, value)) Change();
}

void TKVXGradient::SetEndColor(TColor value) {
    if (KVXStore(endColor_, value)) Change();
}

void TKVXGradient::SetPaletteRealize(bool value) {
    if (KVXStore(paletteRealize_, value)) Change();
}

void TKVXGradient::SetStyle(TKVXGradientStyle value) {
    if (KVXStore(style_, value)) Change();
}

void TKVXGradient::PaintGradient(fw::TCanvas* canvas, const TRect& rect) {
    KVXDrawGradient(canvas, rect, style_, &colors_, palette_, paletteRealize_ ? kpfPalette : 0, 0);
}

void TKVXGradient::RealizeGradientPalette(fw::TCanvas* canvas) {
    if (!paletteRealize_ || !palette_ || !canvas) return;
    HDC dc = canvas->Handle();
    SelectPalette(dc, palette_, FALSE);
    RealizePalette(dc);
}

void TKVXGradient::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXGradient*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    BeginUpdate();
    colorCount_ = s->colorCount_;
    color_ = s->color_;
    endColor_ = s->endColor_;
    paletteRealize_ = s->paletteRealize_;
    style_ = s->style_;
    EndUpdate(true);
}

// ---- TKVXShapeFill --------------------------------------------------------------------------------

TKVXShapeFill::TKVXShapeFill(TKVXFillStyle style)
    : bitmap_(std::make_unique<fw::TBitmap>()),
      listBitmap_(std::make_unique<fw::TBitmap>()),
      gradient_(std::make_unique<TKVXGradient>()),
      style_(style) {
    bitmap_->OnChange.Bind(this, &TKVXShapeFill::ChildChanged);
    listBitmap_->OnChange.Bind(this, &TKVXShapeFill::ChildChanged);
    gradient_->OnChange.Bind(this, &TKVXShapeFill::ChildChanged);
}

TKVXShapeFill::~TKVXShapeFill() {
    bitmap_->OnChange.Reset();
    listBitmap_->OnChange.Reset();
    gradient_->OnChange.Reset();
}

void TKVXShapeFill::SetStyle(TKVXFillStyle value) {
    if (KVXStore(style_, value)) Change();
}

void TKVXShapeFill::SetTileMode(TKVXTileMode value) {
    if (KVXStore(tileMode_, value)) Change();
}

fw::TBitmap* TKVXShapeFill::CurrentBitmap() const {
    if (style_ == TKVXFillStyle::sfBitmap) return bitmap_.get();
    if (style_ == TKVXFillStyle::sfBitmapList) return listBitmap_.get();
    return nullptr;
}

void TKVXShapeFill::TakeListPicture(TKVXCustomImageList* list, int listIndex, int imageIndex) {
    if (!list) {
        SetListBitmap(nullptr);
        return;
    }
    fw::TBitmap picture;
    list->GetBitmap(listIndex, imageIndex, &picture);
    SetListBitmap(&picture);
}

bool TKVXShapeFill::IsEmpty() const {
    if (style_ == TKVXFillStyle::sfNone) return true;
    if (fw::TBitmap* b = CurrentBitmap()) return b->Empty();
    return false;
}

HPALETTE TKVXShapeFill::FillPalette() const {
    switch (style_) {
        case TKVXFillStyle::sfBrushBitmap:
        case TKVXFillStyle::sfBitmap: return bitmap_->Palette();
        case TKVXFillStyle::sfBitmapList: return listBitmap_->Palette();
        case TKVXFillStyle::sfGradient: return gradient_->Palette();
        default: return nullptr;
    }
}

void TKVXShapeFill::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXShapeFill*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    BeginUpdate();
    bitmap_->Assign(s->bitmap_.get());
    listBitmap_->Assign(s->listBitmap_.get());
    gradient_->Assign(s->gradient_.get());
    SetStyle(s->style_);
    SetTileMode(s->tileMode_);
    EndUpdate(true);
}

// ---- TKVXFillObject -------------------------------------------------------------------------------

TKVXFillObject::TKVXFillObject() : TKVXShapeFill(TKVXFillStyle::sfNone), brush_(std::make_unique<fw::TBrush>()) {
    brush_->OnChange.Bind(this, &TKVXFillObject::ChildChanged);
}

TKVXFillObject::~TKVXFillObject() { brush_->OnChange.Reset(); }

bool TKVXFillObject::PlacementCounts() const {
    return (Style() == TKVXFillStyle::sfBitmap || Style() == TKVXFillStyle::sfBitmapList) &&
           TileMode() == TKVXTileMode::tmNone;
}

void TKVXFillObject::SetAlignment(TKVXAlignment value) {
    if (KVXStore(alignment_, value) && PlacementCounts()) Change();
}

void TKVXFillObject::SetOffset(int index, int value) {
    if (KVXStore(index == 0 ? offsetX_ : offsetY_, value) && PlacementCounts()) Change();
}

void TKVXFillObject::SetOptions(TKVXFillOptions value) {
    if (KVXStore(options_, value)) Change();
}

bool TKVXFillObject::FillCanvas(fw::TCanvas* canvas, const TRect& rect, TColor backColor) {
    if (!canvas) return false;
    const bool fillInner = options_.Contains(TKVXFillOption::foFillInner);
    switch (Style()) {
        case TKVXFillStyle::sfNone: return false;
        case TKVXFillStyle::sfBrush: {
            canvas->Brush()->Assign(brush_.get());
            canvas->Pen()->SetColor(backColor);
            // A hatch brush paints its background in the DC's background colour.
            TDCState state(canvas);
            if (brush_->Style() != fw::TBrushStyle::bsSolid)
                SetBkColor(state.DC(), static_cast<COLORREF>(fw::ColorToRGB(backColor)));
            const RECT r = ToRECT(rect);
            FillRect(state.DC(), &r, canvas->Brush()->Handle());
            return true;
        }
        case TKVXFillStyle::sfBrushBitmap: {
            if (!Bitmap()->Empty()) canvas->Brush()->SetBitmap(Bitmap());
            struct Release {
                fw::TCanvas* canvas;
                ~Release() { canvas->Brush()->SetBitmap(nullptr); }
            } release{canvas};
            canvas->FillRect(rect);
            return true;
        }
        case TKVXFillStyle::sfBitmap:
        case TKVXFillStyle::sfBitmapList: {
            fw::TBitmap* bitmap = CurrentBitmap();
            if (bitmap->Empty()) {
                if (fillInner) FillWith(canvas, rect, backColor);
                return false;
            }
            const uint16_t quality = options_.Contains(TKVXFillOption::foQuickDraw) ? 0 : kpfPalette;
            TRect painted;
            switch (TileMode()) {
                case TKVXTileMode::tmNone: {
                    if (fillInner) FillWith(canvas, rect, backColor);
                    TRect placed;
                    KVXAlignRect(alignment_, {0, 0, bitmap->Width(), bitmap->Height()}, rect, placed);
                    placed = fw::OffsetRect(placed, offsetX_, offsetY_);
                    KVXDrawBitmap(canvas, placed, bitmap, quality, fw::clNone, painted);
                    break;
                }
                case TKVXTileMode::tmCenter:
                    if (fillInner) FillWith(canvas, rect, backColor);
                    KVXDrawBitmap(canvas, rect, bitmap, quality | kpfCenter, fw::clNone, painted);
                    break;
                case TKVXTileMode::tmStretch: KVXDrawBitmap(canvas, rect, bitmap, quality | kpfStretch, fw::clNone, painted); break;
                case TKVXTileMode::tmTile: KVXDrawBitmap(canvas, rect, bitmap, quality | kpfTile, fw::clNone, painted); break;
            }
            return true;
        }
        case TKVXFillStyle::sfGradient: {
            TKVXGradient* g = Gradient();
            const uint16_t flags = static_cast<uint16_t>((options_.Contains(TKVXFillOption::foGrUseBitmap) ? kpfOffscreen : 0) |
                                                         (g->PaletteRealize() ? kpfPalette : 0));
            KVXDrawGradient(canvas, rect, g->Style(), &g->Colors(), g->Palette(), flags, 0);
            return true;
        }
    }
    return false;
}

void TKVXFillObject::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXFillObject*>(source);
    if (!s) {
        TKVXShapeFill::Assign(source);
        return;
    }
    BeginUpdate();
    brush_->Assign(s->brush_.get());
    options_ = s->options_;
    Bitmap()->Assign(s->Bitmap());
    ListBitmap()->Assign(s->ListBitmap());
    Gradient()->Assign(s->Gradient());
    alignment_ = s->alignment_;
    offsetX_ = s->offsetX_;
    offsetY_ = s->offsetY_;
    SetStyle(s->Style());
    SetTileMode(s->TileMode());
    EndUpdate(true);
}

}  // namespace kvx::win32
