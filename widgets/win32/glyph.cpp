#include "widgets/win32/glyph.h"

#include <algorithm>

#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

// ---- TKVXGlyphList ------------------------------------------------------------------------------

TKVXGlyphList::TKVXGlyphList(int width, int height)
    : TKVXGlyphStrip(width, height), item_(new TKVXImageListItem(nullptr, width, height)) {
    item_->SetMasked(true);
    item_->SetAllocBy(1);
}

TKVXGlyphList::~TKVXGlyphList() { item_->Free(); }

void TKVXGlyphList::AppendEmptyImage() { item_->Add(nullptr, nullptr); }

int TKVXGlyphList::AddGlyph(fw::TBitmap* bitmap, TColor transparentColor) {
    const int slot = TakeSlot();
    item_->ReplaceMasked(slot, bitmap, transparentColor);
    return slot;
}

// ---- TKVXGlyph ----------------------------------------------------------------------------------

namespace {
void UseWin32Strips() {
    if (KVXGlyphCacheIfAny()) return;
    KVXSetGlyphStripFactory([](int w, int h) { return std::make_unique<TKVXGlyphList>(w, h); });
    KVXGlyphCache();
}
}  // namespace

TKVXGlyph::TKVXGlyph() : bitmap_(std::make_unique<fw::TBitmap>()) {
    std::fill(std::begin(indexes_), std::end(indexes_), -1);
    bitmap_->OnChange = TNotifyEvent(this, &TKVXGlyph::BitmapChanged);
    UseWin32Strips();
}

TKVXGlyph::~TKVXGlyph() {
    bitmap_->OnChange.Reset();
    ReleaseImages();
    KVXReleaseGlyphCache();
}

void TKVXGlyph::SetBitmap(fw::TBitmap* bitmap) {
    ReleaseImages();
    bitmap_->Assign(bitmap);
    if (bitmap && bitmap->Height() > 0) {
        transparentColor_ = bitmap->TransparentColor();
        numGlyphs_ = KVXNumGlyphsOf(bitmap->Width(), bitmap->Height(), numGlyphs_);
    }
}

void TKVXGlyph::SetNumGlyphs(int value) {
    if (value == numGlyphs_ || value < 1 || value > kKVXMaxGlyphs) return;
    ReleaseImages();
    numGlyphs_ = value;
}

void TKVXGlyph::SetShaded(bool value) {
    if (value == shaded_) return;
    ReleaseImages();
    shaded_ = value;
}

void TKVXGlyph::ReleaseImages() {
    for (int& index : indexes_) {
        if (index >= 0 && list_) list_->DeleteGlyph(index);
        index = -1;
    }
    if (list_) {
        if (TKVXGlyphCache* cache = KVXGlyphCacheIfAny()) cache->ReturnList(list_);
        list_ = nullptr;
    }
}

void TKVXGlyph::BitmapChanged(TObject* sender) {
    if (sender != bitmap_.get()) return;
    if (!bitmap_->Empty()) transparentColor_ = bitmap_->TransparentColor();
    ReleaseImages();
    if (OnChange) OnChange(this);
}

void TKVXGlyph::MakeImage(int slot, fw::TBitmap* image, int width, int height) {
    const TRect cell{0, 0, width, height};
    auto picture = [&](int k, fw::TBitmap* into) {
        into->SetSize(width, height);
        into->Canvas()->CopyRect(cell, bitmap_->Canvas(), {k * width, 0, (k + 1) * width, height});
    };
    switch (KVXSlotSource(slot, numGlyphs_, shaded_)) {
        case TKVXSlotSource::Picture: picture(slot, image); break;
        case TKVXSlotSource::Copy: picture(0, image); break;
        case TKVXSlotSource::ShadedLook: {
            fw::TBitmap first;
            picture(0, &first);
            KVXMakeShadedBitmap(image, &first);
            break;
        }
        case TKVXSlotSource::DisabledLook: {
            fw::TBitmap first;
            picture(0, &first);
            first.SetTransparentColor(transparentColor_);
            image->SetSize(width, height);
            KVXMakeDisabledBitmap(image, &first, 0, 0);
            break;
        }
    }
}

int TKVXGlyph::GetStateImage(TKVXButtonState state) {
    const int slot = KVXGlyphSlot(state, numGlyphs_, shaded_);
    if (indexes_[slot] >= 0) return indexes_[slot];
    if (bitmap_->Empty() || bitmap_->Width() <= 0) return -1;
    const int w = bitmap_->Width() / numGlyphs_, h = bitmap_->Height();
    if (w <= 0 || h <= 0) return -1;
    if (!list_) {
        UseWin32Strips();
        list_ = static_cast<TKVXGlyphList*>(KVXGlyphCache()->GetList(w, h));
    }
    fw::TBitmap image;
    MakeImage(slot, &image, w, h);
    indexes_[slot] = list_->AddGlyph(&image, transparentColor_);
    return indexes_[slot];
}

void TKVXGlyph::DrawGlyph(fw::TCanvas* canvas, const std::string& text, uint32_t format, bool multiLine, uint16_t flags,
                          const TKVXGlyphTextLayout* layout, TKVXButtonState state, const TRect& rect,
                          TKVX3DCaption* caption) {
    const int index = GetStateImage(state);
    fw::TCanvas* image = nullptr;
    fw::TCanvas* mask = nullptr;
    TRect glyphRect{};
    if (index >= 0) {
        TKVXImageListItem* item = list_->Item();
        image = item->StripBitmap()->Canvas();
        mask = item->MaskBitmap() ? item->MaskBitmap()->Canvas() : nullptr;
        glyphRect = item->ImageRect(index);
    }
    KVXDrawGlyphText(canvas, text, caption, rect, image, glyphRect, mask, transparentColor_, layout, multiLine, true, true,
                     flags, format);
}

}  // namespace kvx::win32
