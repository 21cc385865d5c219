// The image lists behind the speed buttons' state images: one TGlyphList per cell size, shared by every
// button through the program's TGlyphCache. A list keeps a bit per slot: a deleted image's slot is
// reused by the next one, and a list with no used slot leaves the cache.
#pragma once

#include <vector>

#include "framework/win32/imagelist.h"
#include "uisupport/controls/speedlayout.h"

namespace uis {

class TGlyphList : public fw::TCustomImageList {
public:
    TGlyphList(int width, int height);

    // A free slot with the image, transparent where it has `maskColor`; returns the slot.
    int AddMasked(fw::TBitmap* image, fw::TColor maskColor);
    // Frees the slot (its image stays until the slot is reused).
    void Delete(int slot);
    int UsedCount() const { return slots_.UsedCount(); }

protected:
    ~TGlyphList() override = default;

private:
    int AllocateSlot();

    TGlyphSlots slots_;
};

class TGlyphCache {
public:
    // The list of exactly that size, searched from the newest to the oldest; made when there is none.
    TGlyphList* GetList(int width, int height);
    // A list with no used slot is removed and freed.
    void ReturnList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    int Count() const { return static_cast<int>(lists_.size()); }
    ~TGlyphCache();

private:
    std::vector<TGlyphList*> lists_;
};

// The program's cache: made by the first painter that needs it, freed when the last painter goes while
// it is empty. Null when there is none.
TGlyphCache* GlyphCache();
TGlyphCache* EnsureGlyphCache();
// Painters count themselves in and out.
void GlyphPainterCreated();
void GlyphPainterDestroyed();

}  // namespace uis
