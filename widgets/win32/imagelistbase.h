// TKVXCustomImageList: the interface through which controls draw and measure the pictures of a list
// (ListIndex: which item; ImageIndex: which image inside it) without knowing whether the items are
// whole bitmaps (TKVXBitmapList) or image strips (TKVXImageList).
//
// Out-of-range answers: size and count 0 (an image list's count -1), validity false, palette null,
// transparent colour and pixel clWhite; drawing does nothing.
#pragma once

#include <cstdint>

#include "framework/win32/graphics.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxcont.h"

namespace kvx::win32 {

class TKVXCustomImageList : public TKVXCustomContainer {
public:
    using TKVXCustomContainer::Count;

    TKVXSavePixelFormat DefaultPixelFormat() const { return defaultPixelFormat_; }
    void SetDefaultPixelFormat(TKVXSavePixelFormat value) { defaultPixelFormat_ = value; }

    // The canvas of the item's bitmap (or strip).
    virtual fw::TCanvas* GetCanvas(int listIndex) = 0;
    // The image's rectangle inside that canvas.
    virtual void GetImageRect(int listIndex, int imageIndex, TRect& rect) = 0;
    // Which 0: width, 1: height.
    virtual int GetSize(int listIndex, int which) = 0;
    virtual int Count(int listIndex) = 0;
    virtual bool IsValid(int listIndex, int imageIndex) = 0;
    virtual void GetBitmap(int listIndex, int imageIndex, fw::TBitmap* bitmap) = 0;
    virtual bool IsMasked(int listIndex) = 0;
    virtual HPALETTE GetPalette(int listIndex) = 0;
    virtual TColor TransparentColor(int listIndex, int imageIndex) = 0;
    virtual TColor GetPixel(const TPoint& point, int listIndex, int imageIndex) = 0;
    virtual void Draw(fw::TCanvas* canvas, int x, int y, int listIndex, int imageIndex) = 0;
    // Placement flags as for KVXPlaceImage; Painted receives the painted rectangle (empty when none).
    virtual void DrawInRect(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int listIndex, int imageIndex,
                            TRect& painted) = 0;
    virtual void DrawClipped(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int32_t clipOffset,
                             TColor transparentColor, int listIndex, int imageIndex) = 0;

    // Also copies DefaultPixelFormat.
    void Assign(fw::TPersistent* source) override {
        TKVXCustomContainer::Assign(source);
        if (auto* s = dynamic_cast<TKVXCustomImageList*>(source)) defaultPixelFormat_ = s->defaultPixelFormat_;
    }

protected:
    TKVXCustomImageList(TComponent* owner, ItemFactory factory, TKVXListKind kind)
        : TKVXCustomContainer(owner, factory, kind) {}
    bool InRange(int listIndex) const { return listIndex >= 0 && listIndex < Count(); }

private:
    TKVXSavePixelFormat defaultPixelFormat_ = TKVXSavePixelFormat::spfDefault;
};

// The colour code a save pixel format stores pictures with (-1: the framework's own format).
inline int KVXPixelFormatCode(TKVXSavePixelFormat format) {
    switch (format) {
        case TKVXSavePixelFormat::spfMono: return 2;
        case TKVXSavePixelFormat::spf4bit: return 16;
        case TKVXSavePixelFormat::spf8bit: return 256;
        default: return -1;
    }
}

// The pixel format in an item header's bits 4-6 (unknown values read as spfDefault), and back.
inline TKVXSavePixelFormat KVXPixelFormatOfFlags(uint8_t flags) {
    const int v = (flags & kItemPixelFormatMask) >> kItemPixelFormatShift;
    return v <= 3 ? static_cast<TKVXSavePixelFormat>(v) : TKVXSavePixelFormat::spfDefault;
}
inline uint8_t KVXFlagsOfPixelFormat(TKVXSavePixelFormat format) {
    return static_cast<uint8_t>(static_cast<int>(format) << kItemPixelFormatShift);
}

}  // namespace kvx::win32
