#include "widgets/win32/shapes.h"

#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/shapepaint.h"
#include "widgets/win32/startup.h"

namespace kvx::win32 {

namespace {
using M = TKVXShapeControlMode;
using F = TKVXFillStyle;
}  // namespace

void TKVXBaseShape::ObjectChanged(void* self, TObject* sender) {
    static_cast<TKVXBaseShape*>(self)->ContentChanged(sender);
}

TKVXBaseShape::TKVXBaseShape(TComponent* owner)
    : TKVXBaseGraphicControl(owner),
      bevel_(std::make_unique<TKVXSimpleBevel>()),
      brush_(std::make_unique<fw::TBrush>()),
      caption_(std::make_unique<TKVXCaption>()),
      outline_(std::make_unique<TKVXPointList>()),
      shadow_(std::make_unique<TKVXShadow>()),
      teeth_(std::make_unique<TKVXTeeth>()),
      fill_(std::make_unique<TKVXShapeFill>()) {
    caption_->SetAlignment(TKVXAlignment::agCenter);
    SetColor(fw::clWindow);
    bevel_->OnChange.Bind(this, &ObjectChanged);
    brush_->OnChange.Bind(this, &ObjectChanged);
    caption_->OnChange.Bind(this, &ObjectChanged);
    shadow_->OnChange.Bind(this, &ObjectChanged);
    teeth_->OnChange.Bind(this, &ObjectChanged);
    fill_->OnChange.Bind(this, &ObjectChanged);
}

TKVXBaseShape::~TKVXBaseShape() {
    bevel_->OnChange.Reset();
    brush_->OnChange.Reset();
    caption_->OnChange.Reset();
    shadow_->OnChange.Reset();
    teeth_->OnChange.Reset();
    fill_->OnChange.Reset();
}

void TKVXBaseShape::SetBrushBackColor(TColor value) {
    brushBackColor_ = value;
    ContentChanged(nullptr);
}

void TKVXBaseShape::SetCaptionClip(bool value) {
    captionClip_ = value;
    ContentChanged(nullptr);
}

void TKVXBaseShape::SetRoundPercent(uint8_t value) {
    roundPercent_ = value;
    ContentChanged(nullptr);
}

void TKVXBaseShape::SetShape(TKVXShapeType value) {
    shape_ = value;
    ContentChanged(nullptr);
}

void TKVXBaseShape::SetSquare(bool value) {
    square_ = value;
    ContentChanged(nullptr);
}

void TKVXBaseShape::SetMode(TKVXShapeControlMode value) {
    mode_ = value;
    SetActiveTeeth();
    ContentChanged(nullptr);
}

bool TKVXBaseShape::FillMode() const { return mode_ == M::scmShapeFill || mode_ == M::scmTeethFill; }

void TKVXBaseShape::SetActiveTeeth() {
    activeTeeth_ = mode_ == M::scmTeethFast || mode_ == M::scmTeethFill ? teeth_.get() : nullptr;
}

void TKVXBaseShape::BuildOutline() {
    KVXBuildShapePoints(ClientRect(), shape_, activeTeeth_, square_, roundPercent_, bevel_.get(), shadow_.get(),
                        outline_.get());
    outlineDirty_ = false;
    ++outlineBuilds_;
}

void TKVXBaseShape::RenewCache() {
    cache_.reset();
    if (FillMode()) cache_ = std::make_unique<fw::TBitmap>();
}

void TKVXBaseShape::ContentChanged(TObject* sender) {
    SetActiveTeeth();
    // The caption's text and font do not touch the outline.
    if (sender != caption_.get()) BuildOutline();
    RenewCache();
    TKVXBaseGraphicControl::ContentChanged(sender);
}

void TKVXBaseShape::BoundsChanged(TKVXBoundsKind kind) {
    TKVXBaseGraphicControl::BoundsChanged(kind);
    if (kind.Contains(TKVXBoundsChange::bcSize)) outlineDirty_ = true;
}

void TKVXBaseShape::ImageListChanged(TObject* sender) {
    fill_->TakeListPicture(NoImage() ? nullptr : ImageList(), ListIndex(), ImageIndex());
    TKVXBaseGraphicControl::ImageListChanged(sender);
}

HPALETTE TKVXBaseShape::GetPalette() { return FillMode() ? fill_->FillPalette() : nullptr; }

TRect TKVXBaseShape::TeethCaptionRect() const {
    TRect r = ClientRect();
    switch (teeth_->Direction()) {
        case TKVXDirection::tdRight: r.Right -= teeth_->Width(); break;
        case TKVXDirection::tdDown: r.Bottom -= teeth_->Height(); break;
        case TKVXDirection::tdLeft: r.Left += teeth_->Width(); break;
        case TKVXDirection::tdUp: r.Top += teeth_->Height(); break;
    }
    return r;
}

void TKVXBaseShape::DrawShapeCaption(fw::TCanvas* canvas, const TRect& rect) {
    const int b = bevel_->Width();
    const int depth = shadow_->Style() != TKVXShadowStyle::hssNone ? shadow_->Depth() : 0;
    const TRect r{b, b, b + rect.Width() - 2 * b - depth, b + rect.Height() - 2 * b - depth};
    std::string text;
    GetCaptionText(text);
    caption_->DrawCaption(canvas, text, fw::OffsetRect(r, rect.Left, rect.Top), Enabled() ? ktfEnabled : 0, Color(),
                          0);
}

void TKVXBaseShape::PaintShapeWith(fw::TCanvas* canvas, const TRect& rect, fw::TBrush* brush, fw::TBitmap* picture,
                                   TColor color) {
    KVXPaintShape(rect, canvas, shape_, activeTeeth_, outline_.get(), square_, brush, roundPercent_, bevel_.get(),
                  shadow_.get(), picture, color, brushBackColor_);
}

void TKVXBaseShape::RenderCache() {
    TRect shapeRect;
    GetShapeRect(shapeRect);
    const TRect r{0, 0, shapeRect.Width(), shapeRect.Height()};
    cache_->SetSize(r.Width(), r.Height());
    TRect painted;
    switch (fill_->Style()) {
        case F::sfBrush: PaintShapeWith(cache_->Canvas(), r, brush_.get(), nullptr, Color()); break;
        case F::sfBitmap:
        case F::sfBitmapList: {
            KVXFillBitmap(cache_.get(), r, Color());
            fw::TBitmap* picture = fill_->CurrentBitmap();
            if (picture && !picture->Empty()) {
                static constexpr uint16_t kTile[] = {0, kpfCenter, kpfStretch, kpfTile};
                KVXDrawBitmap(cache_->Canvas(), r, picture, kTile[static_cast<int>(fill_->TileMode())], Color(), painted);
            }
            break;
        }
        case F::sfGradient: fill_->Gradient()->PaintGradient(cache_->Canvas(), r); break;
        default: break;
    }
    if (captionClip_) DrawShapeCaption(cache_->Canvas(), TeethCaptionRect());
}

void TKVXBaseShape::Paint() {
    if (Loading()) return;
    if (outlineDirty_) {
        BuildOutline();
        RenewCache();
    }
    fw::TCanvas* c = Canvas();
    const TRect client = ClientRect();
    if (!FillMode()) {
        if (!Transparent()) FillClient();
        cache_.reset();
        PaintShapeWith(c, client, brush_.get(), nullptr, Color());
        DrawShapeCaption(c, client);
        return;
    }
    if (!cache_) cache_ = std::make_unique<fw::TBitmap>();
    if (cache_->Empty()) RenderCache();
    const F style = fill_->Style();
    if (style == F::sfNone || style == F::sfBrushBitmap) {
        if (!Transparent()) FillClient();
        fw::TBrush brush;
        if (style == F::sfNone)
            brush.SetStyle(fw::TBrushStyle::bsClear);
        else
            brush.SetBitmap(fill_->Bitmap());
        PaintShapeWith(c, client, &brush, nullptr, Color());
    } else {
        // The shape over Color in a work picture, drawn with Color transparent: only shape and shadow show.
        fw::TBitmap work;
        KVXFillBitmap(&work, client, Color());
        if (!Transparent()) FillClient();
        if (style == F::sfGradient) fill_->Gradient()->RealizeGradientPalette(work.Canvas());
        PaintShapeWith(work.Canvas(), client, brush_.get(), cache_.get(), fw::ColorToRGB(Color()));
        TRect painted;
        KVXDrawBitmap(c, client, &work, kpfColorMask, Color(), painted);
    }
    if (!captionClip_) DrawShapeCaption(c, TeethCaptionRect());
}

TKVXTeethShape::TKVXTeethShape(TComponent* owner) : TKVXShapeControl(owner) { SetMode(M::scmTeethFast); }

// ---- TKVXShadowFill -----------------------------------------------------------------------------

TKVXShadowFill::TKVXShadowFill(TComponent* owner)
    : TKVXGraphicControl(owner), pattern_(std::make_unique<fw::TBitmap>()) {
    pattern_->Assign(KVXCheckerBitmap(shadowColor_));
}

TKVXShadowFill::~TKVXShadowFill() = default;

void TKVXShadowFill::SetShadowColor(TColor value) {
    shadowColor_ = fw::ColorToRGB(value) == 0xFFFFFF ? fw::clBlack : value;
    pattern_->Assign(KVXCheckerBitmap(shadowColor_));
    Redraw();
}

void TKVXShadowFill::SetStyle(TKVXShadowFillStyle value) {
    style_ = value;
    Redraw();
}

bool TKVXShadowFill::NothingToPaint() { return BevelWidth() == 0 && style_ == TKVXShadowFillStyle::sfNone; }

void TKVXShadowFill::Paint() {
    if (Loading()) return;
    if (NothingToPaint()) {
        TKVXGraphicControl::Paint();
        return;
    }
    TRect inner;
    Bevel()->PaintBevel(Canvas(), ClientRect(), Transparent(), inner);
    if (style_ == TKVXShadowFillStyle::sfShadow)
        KVXPatternAnd(Canvas()->Handle(), inner, pattern_.get());
    else if (style_ == TKVXShadowFillStyle::sfFullShadow)
        KVXPatternAnd(Canvas()->Handle(), {0, 0, Width() + 1, Height() + 1}, pattern_.get());
}

}  // namespace kvx::win32
