// TKVXCaption: a text with its alignment, font and effect caption, as the shapes and panels publish it.
// A rotated caption needs a TrueType font: turning a raster font's caption renames the font to "Arial",
// and choosing a raster font for a turned caption sets the angle back to 0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxgraph.h"

namespace kvx::win32 {

class TKVXCaption : public TKVXObject {
public:
    TKVXCaption();
    ~TKVXCaption() override;

    TKVXAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXAlignment value);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    fw::TFont* Font() const { return font_.get(); }
    void SetFont(fw::TFont* value) { font_->Assign(value); }
    TKVXFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(TKVXFxCaption* value) { fontFx_->Assign(value); }
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);

    // Paints Text in Rect with these settings (flags as for KVXDrawCaptionText, plus ktfShowAccel); with
    // ktfClip the clipping rectangle is Rect moved by ClipOffset.
    void DrawCaption(fw::TCanvas* canvas, const std::string& text, const TRect& rect, uint16_t flags, TColor backColor,
                     int32_t clipOffset);

    void Assign(fw::TPersistent* source) override;

private:
    void FontChanged(TObject* sender);

    TKVXAlignment alignment_ = TKVXAlignment::agCenter;
    std::string caption_;
    std::unique_ptr<fw::TFont> font_;
    std::unique_ptr<TKVXFxCaption> fontFx_;
    bool multiLine_ = false;
};

}  // namespace kvx::win32
