#include "widgets/win32/kvximagelist.h"

#include "framework/core/filer.h"
#include "framework/core/lists.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/bitmapstreams.h"
#include "widgets/win32/dcstate.h"

namespace kvx::win32 {

namespace {

TKVXListItem* MakeImageItem(TComponent* owner) { return fw::Make<TKVXImageListItem>(owner); }

void FillBlack(fw::TBitmap* bitmap, const TRect& rect) {
    if (bitmap->Empty() || fw::IsRectEmpty(rect)) return;
    const RECT r = ToRECT(rect);
    FillRect(bitmap->Canvas()->Handle(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

// The first Width x Height of Source into Dest at (X, 0).
void CopyInto(fw::TBitmap* dest, int x, fw::TBitmap* source, int width, int height) {
    BitBlt(dest->Canvas()->Handle(), x, 0, width, height, source->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

// ---- TKVXImageListItem ----------------------------------------------------------------------------

TKVXImageListItem::TKVXImageListItem(TComponent* owner)
    : TKVXListItem(owner), image_(std::make_unique<fw::TBitmap>()), mask_(std::make_unique<fw::TBitmap>()) {
    image_->SetSize(0, height_);
}

TKVXImageListItem::TKVXImageListItem(TComponent* owner, int width, int height) : TKVXImageListItem(owner) {
    if (width < 1 || height < 1) throw fw::EInvalidGraphicOperation(SInvalidImageSize);
    width_ = width;
    height_ = height;
    image_->SetSize(0, height_);
}

TKVXImageListItem::~TKVXImageListItem() = default;

void TKVXImageListItem::SetAllocBy(int value) {
    if (value == allocBy_) return;
    allocBy_ = value;
    Change();
}

void TKVXImageListItem::SetSavePixelFormat(TKVXSavePixelFormat value) {
    if (value == pixelFormat_) return;
    pixelFormat_ = value;
    Change();
}

void TKVXImageListItem::SetSize(int index, int value) {
    int& field = index == 0 ? width_ : height_;
    if (value == field || value < 1) return;
    field = value;
    RemoveImages();
    Change();
}

void TKVXImageListItem::SetMasked(bool value) {
    if (value == masked_) return;
    masked_ = value;
    if (masked_) {
        mask_->SetMonochrome(true);
        mask_->SetSize(strip_.StripWidth(), height_);
        // The images have no mask of their own yet: they stay fully opaque.
        FillBlack(mask_.get(), {0, 0, strip_.StripWidth(), height_});
    } else {
        mask_->Assign(nullptr);
    }
    strip_.Rebuild(strip_.Count(), width_, masked_, strip_.StripWidth());
    Change();
}

void TKVXImageListItem::CheckSize(fw::TBitmap* bitmap) const {
    if (bitmap->Height() != height_ || bitmap->Width() <= 0 || bitmap->Width() % width_ != 0)
        throw fw::EInvalidGraphicOperation(SInvalidImageSize);
}

void TKVXImageListItem::ResizeStrip(int width) {
    image_->SetSize(width, height_);
    if (masked_) {
        mask_->SetMonochrome(true);
        mask_->SetSize(width, height_);
    }
}

void TKVXImageListItem::RemoveImages() {
    strip_.Reset();
    image_->SetSize(0, height_);
    if (masked_) mask_->SetSize(0, height_);
}

int TKVXImageListItem::Add(fw::TBitmap* bitmap, fw::TBitmap* mask) {
    if (!bitmap && mask) return -1;
    if (bitmap) CheckSize(bitmap);
    if (bitmap && masked_ && mask) CheckSize(mask);
    const int stripWidth = strip_.WidthFor(1, width_, allocBy_);
    if (stripWidth != strip_.StripWidth()) ResizeStrip(stripWidth);
    const int index = strip_.Add(width_, false, stripWidth);
    if (bitmap)
        Replace(index, bitmap, mask);
    else
        Change();
    return index;
}

void TKVXImageListItem::Replace(int index, fw::TBitmap* bitmap, fw::TBitmap* mask) {
    if (index < 0 || index >= Count()) fw::ListIndexError(index);
    if (!bitmap) return;
    CheckSize(bitmap);
    if (masked_ && mask) CheckSize(mask);
    const TRect r = ImageRect(index);
    CopyInto(image_.get(), r.Left, bitmap, width_, height_);
    if (masked_) {
        if (mask) {
            mask_->SetMonochrome(true);
            CopyInto(mask_.get(), r.Left, mask, width_, height_);
        } else {
            FillBlack(mask_.get(), r);
        }
        strip_.SetOwnMask(index, mask != nullptr);
    }
    Change();
}

void TKVXImageListItem::ReplaceMasked(int index, fw::TBitmap* bitmap, TColor transparentColor) {
    if (!masked_ || !bitmap) {
        Replace(index, bitmap, nullptr);
        return;
    }
    fw::TBitmap mask, image;
    KVXMakeBitmapMask(bitmap, &mask, &image, transparentColor);
    Replace(index, &image, &mask);
}

void TKVXImageListItem::AddImages(TKVXImageListItem* source) {
    if (!source) return;
    if (source->width_ != width_ || source->height_ != height_) throw fw::EInvalidGraphicOperation(SInvalidImageSize);
    const int n = source->Count();
    if (n > 0) {
        const int stripWidth = strip_.WidthFor(n, width_, allocBy_);
        if (stripWidth != strip_.StripWidth()) ResizeStrip(stripWidth);
        const int at = strip_.UsedWidth();
        const int used = n * width_;
        CopyInto(image_.get(), at, source->image_.get(), used, height_);
        if (masked_) {
            if (source->masked_)
                CopyInto(mask_.get(), at, source->mask_.get(), used, height_);
            else
                FillBlack(mask_.get(), {at, 0, at + used, height_});
        }
        for (int i = 0; i < n; ++i) strip_.Add(width_, source->strip_.OwnMask(i), stripWidth);
    }
    Change();
}

void TKVXImageListItem::DrawImage(fw::TCanvas* canvas, int x, int y, int index) {
    if (!canvas || index < 0 || index >= Count()) return;
    const TRect src = ImageRect(index);
    if (!masked_) {
        canvas->CopyRect(fw::Bounds(x, y, width_, height_), image_->Canvas(), src);
        return;
    }
    TDCState state(canvas);
    HDC dc = state.DC();
    SetBkColor(dc, RGB(255, 255, 255));
    SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, width_, height_, mask_->Canvas()->Handle(), src.Left, 0, SRCAND);
    BitBlt(dc, x, y, width_, height_, image_->Canvas()->Handle(), src.Left, 0, SRCPAINT);
}

void TKVXImageListItem::Clear() {
    RemoveImages();
    Change();
}

uint8_t TKVXImageListItem::StoreFlags() const {
    return static_cast<uint8_t>(TKVXListItem::StoreFlags() | KVXFlagsOfPixelFormat(pixelFormat_));
}

void TKVXImageListItem::SaveToStream(fw::TStream& stream) {
    SaveHeader(stream);
    TKVXImageItemData data;
    data.height = height_;
    data.width = width_;
    data.allocBy = allocBy_;
    data.masked = masked_;
    data.count = Count();
    if (data.count > 0) {
        // The strip is stored trimmed to its images.
        fw::TBitmap strip;
        strip.Assign(image_.get());
        strip.SetSize(data.count * width_, height_);
        data.strip = KVXBitmapImage(&strip, Compressed(), KVXPixelFormatCode(pixelFormat_));
        if (masked_) {
            fw::TBitmap mask;
            mask.Assign(mask_.get());
            mask.SetSize(data.count * width_, height_);
            data.mask = KVXBitmapImage(&mask, Compressed(), 2);
        }
    }
    KVXWriteImageItemData(stream, data, Compressed());
}

void TKVXImageListItem::LoadStrip(const TKVXImageItemData& data) {
    fw::TBitmap strip, mask;
    if (data.count > 0) {
        strip.LoadFromBytes(data.strip);
        if (data.masked) mask.LoadFromBytes(data.mask);
        KVXCheckStripSize(data, strip.Width(), strip.Height(), mask.Width(), mask.Height());
    }
    height_ = data.height;
    width_ = data.width;
    allocBy_ = data.allocBy;
    masked_ = data.masked;
    strip_.Reset();
    if (data.count > 0)
        image_->Assign(&strip);
    else
        image_->SetSize(0, height_);
    if (masked_) {
        mask_->Assign(data.count > 0 ? &mask : nullptr);
        mask_->SetMonochrome(true);
        if (data.count == 0) mask_->SetSize(0, height_);
    } else {
        mask_->Assign(nullptr);
    }
    strip_.Rebuild(data.count, width_, masked_, image_->Width());
}

void TKVXImageListItem::LoadFromStream(fw::TStream& stream) {
    UpdateBatch([&] {
        pixelFormat_ = KVXPixelFormatOfFlags(LoadHeader(stream));
        LoadStrip(KVXReadImageItemData(stream, Compressed()));
    });
}

void TKVXImageListItem::Assign(fw::TPersistent* source) {
    auto* s = dynamic_cast<TKVXImageListItem*>(source);
    if (!s) {
        TKVXListItem::Assign(source);
        return;
    }
    if (s == this) return;
    UpdateBatch([&] {
        AssignHeader(s);
        allocBy_ = s->allocBy_;
        width_ = s->width_;
        height_ = s->height_;
        pixelFormat_ = s->pixelFormat_;
        if (masked_ != s->masked_) {
            masked_ = s->masked_;
            if (masked_)
                mask_->SetMonochrome(true);
            else
                mask_->Assign(nullptr);
        }
        RemoveImages();
        AddImages(s);
    });
}

void TKVXImageListItem::DefineProperties(fw::TFiler& filer) {
    TKVXListItem::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Bitmap",
        [this](fw::TStream& s) {
            TKVXImageItemData data;
            data.height = height_;
            data.width = width_;
            data.allocBy = allocBy_;
            data.masked = masked_;
            KVXReadImageStripPart(s, Compressed(), data);
            LoadStrip(data);
            Change();
        },
        nullptr, false);
}

// ---- TKVXImageList --------------------------------------------------------------------------------

TKVXImageList::TKVXImageList(TComponent* owner) : TKVXCustomImageList(owner, &MakeImageItem, TKVXListKind::ImageList) {}

TKVXImageListItem* TKVXImageList::ImageAt(int listIndex, int imageIndex) const {
    if (!InRange(listIndex)) return nullptr;
    TKVXImageListItem* item = Item(listIndex);
    return imageIndex >= 0 && imageIndex < item->Count() ? item : nullptr;
}

fw::TCanvas* TKVXImageList::GetCanvas(int listIndex) { return InRange(listIndex) ? Item(listIndex)->StripBitmap()->Canvas() : nullptr; }

void TKVXImageList::GetImageRect(int listIndex, int imageIndex, TRect& rect) {
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    rect = item ? item->ImageRect(imageIndex) : TRect{};
}

int TKVXImageList::GetSize(int listIndex, int which) {
    if (!InRange(listIndex)) return 0;
    return which == 0 ? Item(listIndex)->Width() : Item(listIndex)->Height();
}

int TKVXImageList::Count(int listIndex) { return InRange(listIndex) ? Item(listIndex)->Count() : -1; }

bool TKVXImageList::IsValid(int listIndex, int imageIndex) { return ImageAt(listIndex, imageIndex) != nullptr; }

void TKVXImageList::GetBitmap(int listIndex, int imageIndex, fw::TBitmap* bitmap) {
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    if (!item || !bitmap) return;
    bitmap->SetSize(item->Width(), item->Height());
    bitmap->Canvas()->CopyRect({0, 0, item->Width(), item->Height()}, item->StripBitmap()->Canvas(), item->ImageRect(imageIndex));
}

bool TKVXImageList::IsMasked(int listIndex) { return InRange(listIndex) && Item(listIndex)->Masked(); }

HPALETTE TKVXImageList::GetPalette(int listIndex) { return InRange(listIndex) ? Item(listIndex)->StripBitmap()->Palette() : nullptr; }

TColor TKVXImageList::TransparentColor(int listIndex, int imageIndex) {
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    if (!item) return fw::clWhite;
    return item->StripBitmap()->Canvas()->Pixels(item->ImageRect(imageIndex).Left, item->Height() - 1);
}

TColor TKVXImageList::GetPixel(const TPoint& point, int listIndex, int imageIndex) {
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    if (!item) return fw::clWhite;
    return item->StripBitmap()->Canvas()->Pixels(item->ImageRect(imageIndex).Left + point.X, point.Y);
}

void TKVXImageList::Draw(fw::TCanvas* canvas, int x, int y, int listIndex, int imageIndex) {
    if (TKVXImageListItem* item = ImageAt(listIndex, imageIndex)) item->DrawImage(canvas, x, y, imageIndex);
}

void TKVXImageList::DrawInRect(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int listIndex, int imageIndex,
                               TRect& painted) {
    painted = {};
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    if (!item) return;
    const TRect src = item->ImageRect(imageIndex);
    if (item->Masked()) {
        KVXPlaceImage(canvas, dest, item->StripBitmap()->Canvas(), src, flags | kpfGivenMask, fw::clNone, nullptr,
                      item->MaskBitmap()->Canvas(), painted);
    } else {
        const TColor transparent = static_cast<TColor>(TransparentColor(listIndex, imageIndex) | kPaletteRelative);
        KVXPlaceImage(canvas, dest, item->StripBitmap()->Canvas(), src, flags, transparent, nullptr, nullptr, painted);
    }
}

void TKVXImageList::DrawClipped(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int32_t clipOffset,
                                TColor transparentColor, int listIndex, int imageIndex) {
    TKVXImageListItem* item = ImageAt(listIndex, imageIndex);
    if (!item) return;
    const bool masked = item->Masked();
    KVXDrawCanvasClipped(canvas, dest, item->StripBitmap()->Canvas(), item->ImageRect(imageIndex),
                         static_cast<uint16_t>(flags | (masked ? kpfGivenMask : 0)), clipOffset, transparentColor,
                         masked ? item->MaskBitmap() : nullptr);
}

}  // namespace kvx::win32
