#include "uisupport/controls/win32/glyphcache.h"

#include <algorithm>

#include "framework/win32/graphics.h"

namespace uis {

// ---- TGlyphList ---------------------------------------------------------------------------------

TGlyphList::TGlyphList(int width, int height) : TCustomImageList(nullptr) {
    SetWidth(width);
    SetHeight(height);
}

int TGlyphList::AllocateSlot() {
    const int slot = slots_.Allocate();
    if (slot >= Count()) {
        fw::TBitmap blank;
        blank.SetSize(Width(), Height());
        TCustomImageList::Add(&blank, nullptr);
    }
    return slot;
}

int TGlyphList::AddMasked(fw::TBitmap* image, fw::TColor maskColor) {
    const int slot = AllocateSlot();
    ReplaceMasked(slot, image, maskColor);
    return slot;
}

void TGlyphList::Delete(int slot) { slots_.Release(slot); }

// ---- TGlyphCache --------------------------------------------------------------------------------

TGlyphList* TGlyphCache::GetList(int width, int height) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height) return *it;
    auto* list = new TGlyphList(width, height);
    lists_.push_back(list);
    return list;
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->UsedCount() > 0) return;
    const auto found = std::find(lists_.begin(), lists_.end(), list);
    if (found == lists_.end()) return;
    lists_.erase(found);
    list->Free();
}

TGlyphCache::~TGlyphCache() {
    for (TGlyphList* list : lists_) list->Free();
}

namespace {

TGlyphCache* g_cache = nullptr;
int g_painters = 0;

}  // namespace

TGlyphCache* GlyphCache() { return g_cache; }

TGlyphCache* EnsureGlyphCache() {
    if (!g_cache) g_cache = new TGlyphCache;
    return g_cache;
}

void GlyphPainterCreated() { ++g_painters; }

void GlyphPainterDestroyed() {
    if (--g_painters == 0 && g_cache && g_cache->Empty()) {
        delete g_cache;
        g_cache = nullptr;
    }
}

}  // namespace uis
