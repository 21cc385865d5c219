#include "widgets/glyphcache.h"

#include <algorithm>

namespace kvx {

int KVXGlyphSlot(TKVXButtonState state, int numGlyphs, bool shaded) {
    const int s = static_cast<int>(state);
    if (state == TKVXButtonState::bstDisabled || state == TKVXButtonState::bstLatchedDisabled) return 1;
    if (s < numGlyphs) return s;
    if (shaded) return state == TKVXButtonState::bstDropped ? 4 : 2;
    return 0;
}

TKVXSlotSource KVXSlotSource(int slot, int numGlyphs, bool shaded) {
    if (slot >= numGlyphs || (shaded && slot == 0)) {
        if (slot == 0) return TKVXSlotSource::ShadedLook;
        if (slot == 1) return TKVXSlotSource::DisabledLook;
        return TKVXSlotSource::Copy;
    }
    return TKVXSlotSource::Picture;
}

int KVXNumGlyphsOf(int width, int height, int current) {
    if (height <= 0 || width <= 0 || width % height != 0) return current;
    const int n = width / height;
    return n <= kKVXMaxGlyphs ? n : 1;
}

int TKVXGlyphStrip::TakeSlot() {
    auto free = std::find(used_.begin(), used_.end(), false);
    int index;
    if (free == used_.end()) {
        AppendEmptyImage();
        used_.push_back(false);
        index = Capacity() - 1;
    } else {
        index = static_cast<int>(free - used_.begin());
    }
    used_[index] = true;
    ++inUse_;
    return index;
}

void TKVXGlyphStrip::DeleteGlyph(int index) {
    if (!Used(index)) return;
    used_[index] = false;
    --inUse_;
}

TKVXGlyphStrip* TKVXGlyphCache::GetList(int width, int height) {
    for (auto& strip : strips_)
        if (strip->Width() == width && strip->Height() == height) return strip.get();
    strips_.push_back(factory_(width, height));
    return strips_.back().get();
}

void TKVXGlyphCache::ReturnList(TKVXGlyphStrip* strip) {
    if (!strip || strip->InUse() > 0) return;
    std::erase_if(strips_, [strip](const auto& s) { return s.get() == strip; });
}

namespace {
TKVXGlyphCache::StripFactory g_factory;
std::unique_ptr<TKVXGlyphCache> g_cache;
}  // namespace

void KVXSetGlyphStripFactory(TKVXGlyphCache::StripFactory factory) { g_factory = std::move(factory); }

TKVXGlyphCache* KVXGlyphCache() {
    if (!g_cache) g_cache = std::make_unique<TKVXGlyphCache>(g_factory);
    return g_cache.get();
}

TKVXGlyphCache* KVXGlyphCacheIfAny() { return g_cache.get(); }

void KVXReleaseGlyphCache() {
    if (g_cache && g_cache->IsEmpty()) g_cache.reset();
}

TKVXActionGlyph KVXActionGlyphUpdate(bool glyphEmpty, bool glyphFromAction, bool sameImage, bool actionHasImage) {
    if (glyphEmpty) return actionHasImage ? TKVXActionGlyph::Take : TKVXActionGlyph::Keep;
    if (glyphFromAction && sameImage && actionHasImage) return TKVXActionGlyph::Keep;
    if (glyphFromAction && actionHasImage) return TKVXActionGlyph::Take;
    return TKVXActionGlyph::Clear;
}

}  // namespace kvx
