// TKVXCustomPanelFill: a parent panel whose background is a fill (brush, bitmap, a picture of an image
// list, or a gradient) rendered into the panel's own bitmap, with a caption that can carry 3D effects
// and be turned. Children that copy their background from a parent panel see the fill.
#pragma once

#include <memory>

#include "widgets/kvxgraph.h"
#include "widgets/win32/fillobjects.h"
#include "widgets/win32/panels.h"

namespace kvx::win32 {

class TKVXCustomPanelFill : public TKVXCustomParentPanel {
public:
    explicit TKVXCustomPanelFill(TComponent* owner);

    TKVXAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXAlignment value);
    TKVXFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(TKVXFxCaption* value) { fontFx_->Assign(value); }
    TKVXFillObject* FillObject() const { return fill_.get(); }
    void SetFillObject(TKVXFillObject* value) { fill_->Assign(value); }
    // Draws the bevel over the background instead of filling its frame.
    bool TransparentBorder() const { return transparentBorder_; }
    void SetTransparentBorder(bool value);

    HPALETTE GetPalette() override;
    // Renders the fill into the panel's bitmap (or drops the bitmap when the fill is empty or the panel
    // transparent); without Force a bitmap of the client size stays, unless the fill is a gradient.
    void UpdateBackground(bool force) override;

protected:
    ~TKVXCustomPanelFill() override;
    void Dispatch(fw::TMessage& message) override;
    void Loaded() override;
    void Resize() override;
    void Paint() override;
    void ContentChanged(TObject* sender) override;
    void ImageListChanged(TObject* sender) override;
    virtual void DrawCaption(const TRect& rect, TKVXAlignment alignment);

private:
    bool GradientFill() const { return fill_->Style() == TKVXFillStyle::sfGradient; }

    TKVXAlignment alignment_ = TKVXAlignment::agCenter;
    std::unique_ptr<TKVXFxCaption> fontFx_;
    std::unique_ptr<TKVXFillObject> fill_;
    bool transparentBorder_ = false;
};

class TKVXPanelFill : public TKVXCustomPanelFill {
public:
    using TKVXCustomPanelFill::TKVXCustomPanelFill;
};

}  // namespace kvx::win32
