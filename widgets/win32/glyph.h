// TKVXGlyph: the picture of every suite button. Its source bitmap holds up to five pictures side by
// side; the image for a button state is made on first use (a disabled or shaded look, or a copy) and
// kept in the shared strip of its size (widgets/glyphcache.h), a masked image strip here. Many buttons
// with pictures of one size thus hold one strip and one mask between them.
#pragma once

#include <memory>
#include <string>

#include "framework/win32/graphics.h"
#include "widgets/glyphcache.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/kvximagelist.h"

namespace kvx::win32 {

// A shared strip: a masked image-list item of one picture size.
class TKVXGlyphList : public TKVXGlyphStrip {
public:
    TKVXGlyphList(int width, int height);
    ~TKVXGlyphList() override;

    // Puts Bitmap into a free slot, masked by TransparentColor; returns the slot.
    int AddGlyph(fw::TBitmap* bitmap, TColor transparentColor);
    TKVXImageListItem* Item() const { return item_; }

protected:
    void AppendEmptyImage() override;

private:
    TKVXImageListItem* item_;
};

class TKVXGlyph : public fw::TObject {
public:
    TKVXGlyph();
    ~TKVXGlyph() override;

    fw::TBitmap* Bitmap() const { return bitmap_.get(); }
    // A copy of Bitmap (null clears); a strip of 1 to 5 square pictures sets NumGlyphs.
    void SetBitmap(fw::TBitmap* bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    // 1 to 5; other values are refused.
    void SetNumGlyphs(int value);
    // The shaded style: the up image is a shaded copy, and hot, latched and down show the picture.
    bool Shaded() const { return shaded_; }
    void SetShaded(bool value);
    TColor TransparentColor() const { return transparentColor_; }
    // The strip the images live in (null while none is made).
    TKVXGlyphList* List() const { return list_; }

    // The image of State in the strip, made when missing; -1 without a picture.
    int GetStateImage(TKVXButtonState state);
    // Gives every made image back to the strip, and the strip back to the cache.
    void ReleaseImages();
    // Picture and text of State in Rect (KVXDrawGlyphText, accelerators shown, the picture transparent).
    void DrawGlyph(fw::TCanvas* canvas, const std::string& text, uint32_t format, bool multiLine, uint16_t flags,
                   const TKVXGlyphTextLayout* layout, TKVXButtonState state, const TRect& rect, TKVX3DCaption* caption);

    // After the source bitmap changed; the owning button repaints.
    TNotifyEvent OnChange;

private:
    void BitmapChanged(TObject* sender);
    void MakeImage(int slot, fw::TBitmap* image, int width, int height);

    std::unique_ptr<fw::TBitmap> bitmap_;
    int indexes_[kKVXGlyphSlots];
    TKVXGlyphList* list_ = nullptr;
    bool shaded_ = false;
    int numGlyphs_ = 1;
    TColor transparentColor_ = fw::clWhite;
};

}  // namespace kvx::win32
