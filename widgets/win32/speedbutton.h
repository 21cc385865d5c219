// TKVXCustomSpeedButton: a graphic button with a frame in one of ten looks (KVXDrawButtonFrame) and hot
// tracking on. The explorer looks are transparent and show the parent's background; the flat ones show
// their frame only while the mouse is over them. TKVXOfficeButton is a published flat one.
#pragma once

#include "widgets/controltypes.h"
#include "widgets/win32/graphicbutton.h"

namespace kvx::win32 {

class TKVXCustomSpeedButton : public TKVXBaseGraphicButton {
public:
    explicit TKVXCustomSpeedButton(TComponent* owner);

    TKVXUserButtonStyle Style() const { return style_; }
    void SetStyle(TKVXUserButtonStyle value);
    TKVXGlyphKind GlyphKind() const { return glyphKind_; }

    // The frame width of a look: 3 for ubsWin31, 2 for ubsWin40, ubsTrevik, ubsTrevikFlat and
    // ubsNavigator, 1 for the others (ubsAutoDetect is ubsWin40).
    static int ButtonBorderWidth(TKVXUserButtonStyle style);

    bool GlyphStored() const override { return !ImageList() || glyphKind_ != TKVXGlyphKind::gkCustom; }

protected:
    bool UsesActionGlyph() override { return glyphKind_ == TKVXGlyphKind::gkCustom; }
    bool HoverNeedsRepaint() override;
    void ImageListChanged(TObject* sender) override;
    void MouseInsideFlagChanged() override;
    void Paint() override;

    TKVXGlyphKind glyphKind_ = TKVXGlyphKind::gkCustom;

private:
    TKVXUserButtonStyle style_ = TKVXUserButtonStyle::ubsAutoDetect;
};

class TKVXOfficeButton : public TKVXCustomSpeedButton {
public:
    explicit TKVXOfficeButton(TComponent* owner);
};

}  // namespace kvx::win32
