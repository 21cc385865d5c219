// The bitmap list: a container whose items are whole bitmaps, one image per item.
//
// Stored item data after the header (bit 3 set when the bitmap is not empty; bits 4-6 the save pixel
// format): the bitmap as a bitmap item (win32/bitmapstreams.h) in the framework's format (spfDefault) or
// as a DIB of 1, 4 or 8 bits.
#pragma once

#include <memory>

#include "widgets/win32/imagelistbase.h"

namespace kvx::win32 {

class TKVXBitmapListItem : public TKVXListItem {
public:
    explicit TKVXBitmapListItem(TComponent* owner);

    fw::TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(fw::TBitmap* value) { bitmap_->Assign(value); }
    TKVXSavePixelFormat SavePixelFormat() const { return pixelFormat_; }
    void SetSavePixelFormat(TKVXSavePixelFormat value);

    void Clear() override { bitmap_->Assign(nullptr); }
    bool IsEmpty() const override { return bitmap_->Empty(); }
    uint8_t StoreFlags() const override;
    void LoadFromStream(fw::TStream& stream) override;
    void SaveToStream(fw::TStream& stream) override;
    void Assign(fw::TPersistent* source) override;

protected:
    ~TKVXBitmapListItem() override;

private:
    std::unique_ptr<fw::TBitmap> bitmap_;
    TKVXSavePixelFormat pixelFormat_ = TKVXSavePixelFormat::spfDefault;
};

class TKVXBitmapList : public TKVXCustomImageList {
public:
    explicit TKVXBitmapList(TComponent* owner);
    TKVXBitmapListItem* Item(int index) const { return static_cast<TKVXBitmapListItem*>(TKVXCustomContainer::Item(index)); }

    using TKVXCustomImageList::Count;
    fw::TCanvas* GetCanvas(int listIndex) override;
    void GetImageRect(int listIndex, int imageIndex, TRect& rect) override;
    int GetSize(int listIndex, int which) override;
    int Count(int listIndex) override;
    bool IsValid(int listIndex, int imageIndex) override;
    void GetBitmap(int listIndex, int imageIndex, fw::TBitmap* bitmap) override;
    bool IsMasked(int) override { return false; }
    HPALETTE GetPalette(int listIndex) override;
    TColor TransparentColor(int listIndex, int imageIndex) override;
    TColor GetPixel(const TPoint& point, int listIndex, int imageIndex) override;
    void Draw(fw::TCanvas* canvas, int x, int y, int listIndex, int imageIndex) override;
    void DrawInRect(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int listIndex, int imageIndex,
                    TRect& painted) override;
    void DrawClipped(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int32_t clipOffset, TColor transparentColor,
                     int listIndex, int imageIndex) override;

private:
    // The item's bitmap, or null when ListIndex is out of range.
    fw::TBitmap* BitmapAt(int listIndex) const;
};

}  // namespace kvx::win32
