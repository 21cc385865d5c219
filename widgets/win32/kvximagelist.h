// The image list: a container whose items are image strips, equal-sized images side by side in one
// bitmap with an optional monochrome mask (white where transparent). The strip grows by AllocBy images
// at a time up to 32,768 pixels. The stored form of an item is described in widgets/imagestrip.h.
#pragma once

#include <memory>

#include "widgets/imagestrip.h"
#include "widgets/win32/imagelistbase.h"

namespace kvx::win32 {

class TKVXImageListItem : public TKVXListItem {
public:
    explicit TKVXImageListItem(TComponent* owner);
    // Width or Height below 1 raise EInvalidGraphicOperation "Invalid image size".
    TKVXImageListItem(TComponent* owner, int width, int height);

    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value);
    bool Masked() const { return masked_; }
    void SetMasked(bool value);
    // Index 0 Width, 1 Height. An unchanged value or one below 1 is ignored; another removes all images.
    int GetSize(int index) const { return index == 0 ? width_ : height_; }
    void SetSize(int index, int value);
    int Width() const { return width_; }
    int Height() const { return height_; }
    TKVXSavePixelFormat SavePixelFormat() const { return pixelFormat_; }
    void SetSavePixelFormat(TKVXSavePixelFormat value);

    int Count() const { return strip_.Count(); }
    const TKVXImageStrip& Strip() const { return strip_; }
    fw::TBitmap* StripBitmap() const { return image_.get(); }
    fw::TBitmap* MaskBitmap() const { return mask_.get(); }
    // The image's rectangle in the strip.
    TRect ImageRect(int index) const { return {strip_.X(index), 0, strip_.X(index) + width_, height_}; }

    // A new image filled from Bitmap (and Mask); both null make an empty image. Returns its index, or -1
    // for a mask without a bitmap. Sizes other than Height high and a multiple of Width wide raise
    // "Invalid image size"; a strip past 32,768 pixels "Too many images".
    int Add(fw::TBitmap* bitmap, fw::TBitmap* mask);
    // The first image of Bitmap into image Index; a masked item takes Mask's first image as the image's own
    // mask, or makes it fully opaque without one.
    void Replace(int index, fw::TBitmap* bitmap, fw::TBitmap* mask);
    // With a mask made from Bitmap for TransparentColor when the item is masked.
    void ReplaceMasked(int index, fw::TBitmap* bitmap, TColor transparentColor);
    // Appends the images of an item of the same image size.
    void AddImages(TKVXImageListItem* source);
    // Draws image Index at (X, Y): a copy, or through the mask when the item is masked.
    void DrawImage(fw::TCanvas* canvas, int x, int y, int index);

    void Clear() override;
    bool IsEmpty() const override { return Count() == 0; }
    uint8_t StoreFlags() const override;
    void LoadFromStream(fw::TStream& stream) override;
    void SaveToStream(fw::TStream& stream) override;
    // Copies the settings and the images of another image item.
    void Assign(fw::TPersistent* source) override;
    // Also reads the older "Bitmap" form (the record from the image count on).
    void DefineProperties(fw::TFiler& filer) override;

protected:
    ~TKVXImageListItem() override;

private:
    void CheckSize(fw::TBitmap* bitmap) const;
    void ResizeStrip(int width);
    void RemoveImages();
    // Takes a stored record whose pictures were decoded.
    void LoadStrip(const TKVXImageItemData& data);

    int allocBy_ = 4;
    bool masked_ = false;
    int height_ = 16;
    int width_ = 16;
    TKVXSavePixelFormat pixelFormat_ = TKVXSavePixelFormat::spfDefault;
    TKVXImageStrip strip_;
    std::unique_ptr<fw::TBitmap> image_;
    std::unique_ptr<fw::TBitmap> mask_;
};

class TKVXImageList : public TKVXCustomImageList {
public:
    explicit TKVXImageList(TComponent* owner);
    TKVXImageListItem* Item(int index) const { return static_cast<TKVXImageListItem*>(TKVXCustomContainer::Item(index)); }

    using TKVXCustomImageList::Count;
    fw::TCanvas* GetCanvas(int listIndex) override;
    void GetImageRect(int listIndex, int imageIndex, TRect& rect) override;
    int GetSize(int listIndex, int which) override;
    int Count(int listIndex) override;
    bool IsValid(int listIndex, int imageIndex) override;
    void GetBitmap(int listIndex, int imageIndex, fw::TBitmap* bitmap) override;
    bool IsMasked(int listIndex) override;
    HPALETTE GetPalette(int listIndex) override;
    TColor TransparentColor(int listIndex, int imageIndex) override;
    TColor GetPixel(const TPoint& point, int listIndex, int imageIndex) override;
    void Draw(fw::TCanvas* canvas, int x, int y, int listIndex, int imageIndex) override;
    void DrawInRect(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int listIndex, int imageIndex,
                    TRect& painted) override;
    void DrawClipped(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int32_t clipOffset, TColor transparentColor,
                     int listIndex, int imageIndex) override;

private:
    // The item when both indexes name an image, else null.
    TKVXImageListItem* ImageAt(int listIndex, int imageIndex) const;
};

}  // namespace kvx::win32
