// TBitBtn: an owner-drawn push button (a TButton) showing a glyph beside its caption. The glyph
// bitmap may hold NumGlyphs images side by side: up, disabled, down (the first is used for all states
// it lacks); the bottom-left pixel's colour is transparent.
#pragma once

#include <memory>

#include "framework/win32/std_button.h"
#include "framework/win32/std_support.h"

namespace fw {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Pixels between the edge and the glyph; -1 centres glyph and caption together.
    int Margin() const { return margin_; }
    void SetMargin(int value);
    // Pixels between the glyph and the caption.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    // Whether the last paint drew the default frame (for tests and descendants).
    bool ShowsDefault() const { return isDefault_; }

    // The block of glyph and caption that DrawItem lays out, inside the frame.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    ~TBitBtn() override;
    void CreateParams(TCreateParams& params) override;
    void SetButtonStyle(bool isDefault) override;
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void GlyphChanged(TObject* sender);
    std::unique_ptr<TBitmap> glyph_;
    std::unique_ptr<TCanvas> canvas_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool isDefault_ = false;
};

void RegisterBitBtnClasses();

}  // namespace fw
