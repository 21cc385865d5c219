#include "widgets/win32/bitmaplist.h"

#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/bitmapstreams.h"

namespace kvx::win32 {

namespace {

TKVXListItem* MakeBitmapItem(TComponent* owner) { return fw::Make<TKVXBitmapListItem>(owner); }

}  // namespace

// ---- TKVXBitmapListItem ---------------------------------------------------------------------------

TKVXBitmapListItem::TKVXBitmapListItem(TComponent* owner) : TKVXListItem(owner), bitmap_(std::make_unique<fw::TBitmap>()) {
    bitmap_->OnChange.Bind(this, &TKVXBitmapListItem::ChildChanged);
}

TKVXBitmapListItem::~TKVXBitmapListItem() { bitmap_->OnChange.Reset(); }

void TKVXBitmapListItem::SetSavePixelFormat(TKVXSavePixelFormat value) {
    if (value == pixelFormat_) return;
    pixelFormat_ = value;
    Change();
}

uint8_t TKVXBitmapListItem::StoreFlags() const {
    return static_cast<uint8_t>(TKVXListItem::StoreFlags() | KVXFlagsOfPixelFormat(pixelFormat_) |
                                (IsEmpty() ? 0 : kItemHasData));
}

void TKVXBitmapListItem::SaveToStream(fw::TStream& stream) {
    SaveHeader(stream);
    if (!IsEmpty()) KVXWriteBitmap(stream, bitmap_.get(), Compressed(), KVXPixelFormatCode(pixelFormat_));
}

void TKVXBitmapListItem::LoadFromStream(fw::TStream& stream) {
    UpdateBatch([&] {
        const uint8_t flags = LoadHeader(stream);
        pixelFormat_ = KVXPixelFormatOfFlags(flags);
        if (flags & kItemHasData)
            KVXReadBitmap(stream, bitmap_.get(), Compressed());
        else
            bitmap_->Assign(nullptr);
    });
}

void TKVXBitmapListItem::Assign(fw::TPersistent* source) {
    if (auto* s = dynamic_cast<TKVXBitmapListItem*>(source)) {
        UpdateBatch([&] {
            AssignHeader(s);
            pixelFormat_ = s->pixelFormat_;
            bitmap_->Assign(s->bitmap_.get());
        });
        return;
    }
    TKVXListItem::Assign(source);
}

// ---- TKVXBitmapList -------------------------------------------------------------------------------

TKVXBitmapList::TKVXBitmapList(TComponent* owner) : TKVXCustomImageList(owner, &MakeBitmapItem, TKVXListKind::BitmapList) {}

fw::TBitmap* TKVXBitmapList::BitmapAt(int listIndex) const { return InRange(listIndex) ? Item(listIndex)->Bitmap() : nullptr; }

fw::TCanvas* TKVXBitmapList::GetCanvas(int listIndex) {
    fw::TBitmap* b = BitmapAt(listIndex);
    return b ? b->Canvas() : nullptr;
}

void TKVXBitmapList::GetImageRect(int listIndex, int, TRect& rect) {
    fw::TBitmap* b = BitmapAt(listIndex);
    rect = b ? TRect{0, 0, b->Width(), b->Height()} : TRect{};
}

int TKVXBitmapList::GetSize(int listIndex, int which) {
    fw::TBitmap* b = BitmapAt(listIndex);
    if (!b) return 0;
    return which == 0 ? b->Width() : b->Height();
}

int TKVXBitmapList::Count(int listIndex) {
    fw::TBitmap* b = BitmapAt(listIndex);
    return b && !b->Empty() ? 1 : 0;
}

bool TKVXBitmapList::IsValid(int listIndex, int) { return Count(listIndex) == 1; }

void TKVXBitmapList::GetBitmap(int listIndex, int, fw::TBitmap* bitmap) {
    fw::TBitmap* b = BitmapAt(listIndex);
    if (b && bitmap) bitmap->Assign(b);
}

HPALETTE TKVXBitmapList::GetPalette(int listIndex) {
    fw::TBitmap* b = BitmapAt(listIndex);
    return b ? b->Palette() : nullptr;
}

TColor TKVXBitmapList::TransparentColor(int listIndex, int) {
    fw::TBitmap* b = BitmapAt(listIndex);
    return b && !b->Empty() ? b->TransparentColor() : fw::clWhite;
}

TColor TKVXBitmapList::GetPixel(const TPoint& point, int listIndex, int) {
    fw::TBitmap* b = BitmapAt(listIndex);
    return b && !b->Empty() ? b->Canvas()->Pixels(point.X, point.Y) : fw::clWhite;
}

void TKVXBitmapList::Draw(fw::TCanvas* canvas, int x, int y, int listIndex, int) {
    fw::TBitmap* b = BitmapAt(listIndex);
    if (!b || b->Empty()) return;
    TRect painted;
    KVXDrawBitmap(canvas, fw::Bounds(x, y, b->Width(), b->Height()), b, 0, fw::clNone, painted);
}

void TKVXBitmapList::DrawInRect(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int listIndex, int,
                                TRect& painted) {
    painted = {};
    fw::TBitmap* b = BitmapAt(listIndex);
    if (!b || b->Empty()) return;
    KVXDrawBitmap(canvas, dest, b, flags, b->TransparentColor(), painted);
}

void TKVXBitmapList::DrawClipped(fw::TCanvas* canvas, const TRect& dest, uint16_t flags, int32_t clipOffset,
                                 TColor transparentColor, int listIndex, int) {
    fw::TBitmap* b = BitmapAt(listIndex);
    if (!b || b->Empty()) return;
    KVXDrawBitmapClipped(canvas, dest, b, flags, clipOffset, transparentColor);
}

}  // namespace kvx::win32
