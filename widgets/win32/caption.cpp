#include "widgets/win32/caption.h"

#include "widgets/drawgeometry.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/dcstate.h"

namespace kvx::win32 {

TKVXCaption::TKVXCaption() : font_(std::make_unique<fw::TFont>()), fontFx_(std::make_unique<TKVXFxCaption>()) {
    font_->OnChange.Bind(this, &TKVXCaption::FontChanged);
    fontFx_->OnChange.Bind(this, &TKVXCaption::FontChanged);
}

TKVXCaption::~TKVXCaption() {
    font_->OnChange.Reset();
    fontFx_->OnChange.Reset();
}

void TKVXCaption::SetAlignment(TKVXAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Change();
}

void TKVXCaption::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    Change();
}

void TKVXCaption::SetMultiLine(bool value) {
    if (value == multiLine_) return;
    multiLine_ = value;
    Change();
}

void TKVXCaption::FontChanged(TObject* sender) {
    // Only TrueType fonts turn: a raster font gives up the angle, a turned caption gives up the font.
    if (fontFx_->Angle() != 0 && !KVXIsTrueTypeFont(font_.get())) {
        if (sender == font_.get())
            fontFx_->SetAngle(0);
        else if (sender == fontFx_.get())
            font_->SetName("Arial");
    }
    ChildChanged(sender);
}

void TKVXCaption::DrawCaption(fw::TCanvas* canvas, const std::string& text, const TRect& rect, uint16_t flags,
                              TColor backColor, int32_t clipOffset) {
    if (!canvas) return;
    const bool showAccel = (flags & ktfShowAccel) != 0;
    TRect clip = KVXClipOffsetRect(rect, clipOffset);
    uint32_t format = KVXAlignmentFormat(alignment_) | kDtWordBreak | kDtExpandTabs;
    if (!showAccel) format |= kDtNoPrefix;
    TRect r = rect;
    if (fontFx_->Angle() > 0) {
        format |= kDtSingleLine;
        if (alignment_ != TKVXAlignment::agTopLeft)
            KVXCaptionRect(alignment_, text, fontFx_.get(), rect, font_.get(), multiLine_, showAccel, format, r);
    } else if (!multiLine_) {
        format |= kDtSingleLine;
    } else if (static_cast<int>(alignment_) >= static_cast<int>(TKVXAlignment::agCenterLeft)) {
        // Multi-line text is placed by measuring: the system aligns only single lines vertically.
        KVXCaptionRect(alignment_, text, fontFx_.get(), rect, font_.get(), multiLine_, showAccel, format, r);
    }
    canvas->Brush()->SetColor(backColor);
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    canvas->SetFont(font_.get());
    KVXDrawCaptionText(canvas, text, fontFx_.get(), r, format, flags, (flags & ktfClip) ? &clip : nullptr);
}

void TKVXCaption::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXCaption*>(source);
    if (!s) {
        TKVXObject::Assign(source);
        return;
    }
    BeginUpdate();
    font_->Assign(s->font_.get());
    fontFx_->Assign(s->fontFx_.get());
    alignment_ = s->alignment_;
    caption_ = s->caption_;
    multiLine_ = s->multiLine_;
    EndUpdate(true);
}

}  // namespace kvx::win32
