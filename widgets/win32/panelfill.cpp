#include "widgets/win32/panelfill.h"

#include "framework/win32/messages.h"
#include "widgets/imageboxrules.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

TKVXCustomPanelFill::TKVXCustomPanelFill(TComponent* owner)
    : TKVXCustomParentPanel(owner), fontFx_(std::make_unique<TKVXFxCaption>()), fill_(std::make_unique<TKVXFillObject>()) {
    const auto changed = [](void* self, TObject* sender) { static_cast<TKVXCustomPanelFill*>(self)->ContentChanged(sender); };
    fontFx_->OnChange.Bind(this, changed);
    fill_->OnChange.Bind(this, changed);
}

TKVXCustomPanelFill::~TKVXCustomPanelFill() {
    fontFx_->OnChange.Reset();
    fill_->OnChange.Reset();
}

void TKVXCustomPanelFill::SetAlignment(TKVXAlignment value) {
    if (alignment_ == value) return;
    alignment_ = value;
    ContentChanged(Font());
}

void TKVXCustomPanelFill::SetTransparentBorder(bool value) {
    if (transparentBorder_ == value) return;
    transparentBorder_ = value;
    Invalidate();
}

HPALETTE TKVXCustomPanelFill::GetPalette() { return fill_->FillPalette(); }

void TKVXCustomPanelFill::UpdateBackground(bool force) {
    if (Loading()) return;
    if (fill_->IsEmpty() || transparent_) {
        DropOwnBitmap();
        return;
    }
    fw::TBitmap* bitmap = MakeOwnBitmap();
    const TPoint size = WindowSize();
    const int width = size.X, height = size.Y;
    if (!force && !GradientFill() && bitmap->Width() == width && bitmap->Height() == height) return;
    bitmap->SetSize(width, height);
    fill_->FillCanvas(bitmap->Canvas(), {0, 0, width, height}, Color());
}

void TKVXCustomPanelFill::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_ENABLEDCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            ContentChanged(nullptr);
            break;
        case fw::CM_FONTCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            SetParentFont(false);
            ContentChanged(fontFx_.get());
            break;
        case fw::CM_TEXTCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            ContentChanged(nullptr);
            break;
        default: TKVXCustomParentPanel::Dispatch(message); break;
    }
}

void TKVXCustomPanelFill::Loaded() {
    TKVXCustomParentPanel::Loaded();
    UpdateBackground(true);
}

void TKVXCustomPanelFill::Resize() {
    TKVXCustomParentPanel::Resize();
    // A gradient is stretched over the new size, so whatever shows it must repaint.
    if (GradientFill()) NotifyChildren(fw::CM_COLORCHANGED);
}

void TKVXCustomPanelFill::ContentChanged(TObject* sender) {
    TKVXCustomParentPanel::ContentChanged(sender);
    if (sender == fontFx_.get()) {
        Canvas()->SetFont(Font());
        // A raster font cannot be turned.
        if (fontFx_->Angle() != 0 && !KVXIsTrueTypeFont(Font())) Font()->SetName("Arial");
        NotifyChildren(fw::CM_FONTCHANGED);
        return;
    }
    if (Loading()) return;
    if (sender == fill_.get()) {
        UpdateBackground(true);
        NotifyChildren(fw::CM_KVXPARENTBACKCHANGED);
    } else if (sender == Bevel()) {
        NotifyChildren(fw::CM_COLORCHANGED);
    }
}

void TKVXCustomPanelFill::ImageListChanged(TObject*) {
    fill_->TakeListPicture(NoImage() ? nullptr : ImageList(), ListIndex(), ImageIndex());
    ContentChanged(fill_.get());
}

void TKVXCustomPanelFill::Paint() {
    if (Loading()) return;
    PaintBackground();
    if (Caption().empty() && fill_->IsEmpty()) return;
    TRect inner;
    Bevel()->PaintBevel(Canvas(), ClientRect(), transparentBorder_, inner);
    DrawCaption(inner, alignment_);
}

void TKVXCustomPanelFill::DrawCaption(const TRect& rect, TKVXAlignment alignment) {
    fw::TCanvas* c = Canvas();
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    c->SetFont(Font());
    const uint32_t flags = KVXPanelCaptionFlags(alignment, false);
    TRect r = rect;
    if (fontFx_->Angle() != 0 && alignment != TKVXAlignment::agTopLeft)
        KVXCaptionRect(alignment, Caption(), fontFx_.get(), rect, Font(), false, false, flags, r);
    const uint16_t look = Enabled() ? ktfEnabled : 0;
    KVXDrawCaptionText(c, Caption(), fontFx_.get(), r, flags, static_cast<uint16_t>(look | ktfClip), nullptr);
}

}  // namespace kvx::win32
